#include "project.h"

#include "filestore.h"
#include "geo/coordtext.h"
#include "geo/textfields.h"
#include "map/map.h"
#include "prompts/prompts.h"
#include "scene/mapview.h"
#include "thermalline.h"

#include <array>

namespace {

const QString kCaption = QStringLiteral("File Error");
constexpr int kHeaderLines = 5;

void Report(const char* text) {
    prompts().message(kCaption, QString::fromLatin1(text));
}

// The next line, or nothing when the data has ended before it.
std::optional<std::string> NextLine(std::string_view data, std::size_t& offset) {
    if (offset >= data.size())
        return std::nullopt;
    return ReadLine(data, offset);
}

} // namespace

Project::Project(Map& map, ThermalList& thermals)
    : map(map)
    , thermals(thermals) {}

void Project::Load(const QString& path, MapView& panel, bool add) {
    const auto read = ReadFileBytes(path);
    if (const auto* failure = std::get_if<ReadFailure>(&read)) {
        Report(*failure == ReadFailure::CannotOpen ? "Error opening Project File"
                                                   : "Error opening Project File 2");
        return;
    }
    const std::string_view data = ByteView(std::get<QByteArray>(read));
    std::size_t offset = ByteOrderMarkLength(data);

    if (!add) {
        LoadHeader(data, offset, panel, path);
    } else {
        for (int i = 0; i < kHeaderLines; ++i) {
            if (!NextLine(data, offset)) {
                Report("Error reading additional Project data map");
                break;
            }
        }
    }

    for (std::string line = ReadLine(data, offset); line.size() >= kShortestThermalLine;
         line = ReadLine(data, offset)) {
        const auto thermal = ParseThermalLine(line);
        if (!thermal) {
            Report("Error reading thermal data from Project File map");
            break;
        }
        AddThermal(*thermal, panel);
    }
}

void Project::LoadHeader(std::string_view data, std::size_t& offset, MapView& panel,
                         const QString& path) {
    // A header line that the file does not hold counts as a failed read; it stays empty.
    // A byte order mark before line 1 stays with the header.
    std::string bytes(data.substr(0, offset));
    std::array<std::string, kHeaderLines> lines;
    std::array<bool, kHeaderLines> present{};
    for (int i = 0; i < kHeaderLines; ++i) {
        if (auto line = NextLine(data, offset)) {
            lines[i] = std::move(*line);
            present[i] = true;
        }
    }
    for (const auto& line : lines)
        bytes += line + '\n';
    headerEncoding_ = DetectEncoding(bytes);
    header = DecodeText(bytes, headerEncoding_);

    if (!present[0])
        Report("Error reading Project File header 1");
    std::array<double, kHeaderLines> degrees{};
    if (present[1])
        degrees[1] = ParseDegrees(lines[1]);
    else
        Report("Error reading Project File header 2:readline");
    for (int i = 2; i < kHeaderLines; ++i) {
        if (!present[i]) {
            Report("Error reading Project File header");
            break;
        }
        degrees[i] = ParseDegrees(lines[i]);
    }

    modified = false;
    SetPlace(path);
    map.Load(DecodeText(lines[0], headerEncoding_), folder, degrees[1], degrees[2], degrees[3],
             degrees[4]);
    map.Resize(panel.width(), panel.height());
}

void Project::AddThermal(const ThermalLine& line, MapView& panel) {
    auto t = std::make_unique<TThermal>();
    t->map = &map;
    t->SetLat(line.lat);
    t->SetLon(line.lon);
    t->SetType(line.type);
    t->SetBottom(line.bottom);
    t->SetTop(line.top);
    t->SetRadius(line.radius);
    t->SetWindDir(line.windDir);
    t->SetFactor(line.factor);
    t->SetCloud(line.cloud);
    t->SetSpare(line.groundHeight);
    t->SetGroundHeight(line.groundHeight);
    t->SetCloudBase(line.cloudBase);
    t->SetCloudRadius(line.cloudRadius);
    t->SetCloudType(line.cloudType);
    if (const auto& c = line.cumulus) {
        t->SetCuHs(c->hs);
        t->SetCuVs(c->vs);
        t->SetCuRotation(c->rotation);
        t->SetCuCloud(c->cloud);
        t->SetCuStart(c->start);
        t->SetCuEnd(c->end);
        t->SetGroundHeight(c->groundHeight);
    }
    if (const auto& p = line.profile) {
        t->SetStrengthPercent(p->strengthPercent);
        t->SetCorePercent(p->corePercent);
        t->SetCoreBasePercent(p->coreBasePercent);
        t->SetCoreTopPercent(p->coreTopPercent);
    }
    t->setVisible(true);
    panel.scene()->addItem(t.get());
    thermals.push_back(std::move(t));
}

void Project::SaveTo(const QString& path, bool saveAll) {
    std::string out = TextModeBytes(EncodeText(header, headerEncoding_));
    // About 110 bytes per thermal line with both sections.
    out.reserve(out.size() + thermals.size() * 112);
    for (const auto& thermal : thermals)
        WriteThermal(out, *thermal, saveAll);
    if (!SaveFileBytes(path, out)) {
        Report("Error with Project File");
        return;
    }
    modified = false;
    SetPlace(path);
}

void Project::Save(bool saveAll) {
    SaveTo(folder + fileName, saveAll);
}

void Project::SaveAs(bool saveAll) {
    const auto chosen = prompts().saveFile(
        {QStringLiteral("Project files (*.prj)|*.PRJ"), QStringLiteral("prj"), folder});
    if (chosen)
        SaveTo(*chosen, saveAll);
}

void Project::WriteThermal(std::string& out, const TThermal& t, bool saveAll) const {
    ThermalLine line;
    line.lat = t.lat;
    line.lon = t.lon;
    line.type = t.type;
    line.bottom = t.bottom;
    line.top = t.top;
    line.radius = t.radius;
    line.windDir = t.windDir;
    line.factor = t.factor;
    line.cloud = t.cloud;
    line.groundHeight = t.tGroundHeight;
    line.cloudBase = t.cloudBase;
    line.cloudRadius = t.cloudRadius;
    line.cloudType = t.cloudType;
    line.cumulus = CumulusSection{t.tCuHS,    t.tCuVS,  t.tCuRotation,  t.tCuCloud,
                                  t.tCuStart, t.tCuEnd, t.tGroundHeight};
    line.profile =
        ProfileSection{t.tStrengthPercent, t.tCorePercent, t.tCoreBasePercent, t.tCoreTopPercent};
    AppendThermalLine(out, line, saveAll);
}

void Project::SetPlace(const QString& path) {
    const FilePlace place = SplitFilePath(path);
    folder = place.folder;
    fileName = place.fileName;
}
