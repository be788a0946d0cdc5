#include "dat.h"

#include "filestore.h"
#include "geo/textfields.h"
#include "prompts/prompts.h"
#include "scene/mapview.h"
#include "waypointline.h"

namespace {

void Report() {
    prompts().message(QStringLiteral("File Error"), QStringLiteral("Error with Dat File"));
}

} // namespace

Dat::Dat(Map& map, WaypointList& waypoints)
    : map(map)
    , waypoints(waypoints) {}

void Dat::Load(const QString& path, MapView& panel) {
    const auto read = ReadFileBytes(path);
    if (!std::holds_alternative<QByteArray>(read)) {
        Report();
        return;
    }
    const std::string_view data = ByteView(std::get<QByteArray>(read));
    modified = false;
    const FilePlace place = SplitFilePath(path);
    folder = place.folder;
    fileName = place.fileName;
    encoding_ = DetectEncoding(data);

    std::size_t offset = ByteOrderMarkLength(data);
    std::size_t lineStart = offset;
    std::string line;
    const auto next = [&] {
        lineStart = offset;
        line = ReadLine(data, offset);
    };
    next();
    while (IsCommentLine(line))
        next();
    header = data.substr(0, lineStart);
    while (IsWaypointLine(line)) {
        const auto waypoint = ParseWaypointLine(line);
        if (!waypoint) {
            Report();
            break;
        }
        AddWaypoint(*waypoint, panel);
        next();
    }
    // From the first line that is not a waypoint (or the one that could not be read) to
    // the end, so that a save loses nothing of the file.
    trailer = data.substr(lineStart);
}

void Dat::AddWaypoint(const WaypointLine& line, MapView& panel) {
    auto w = std::make_unique<TWaypoint>();
    w->map = &map;
    w->SetID(line.id);
    w->SetLat(line.lat);
    w->SetLon(line.lon);
    w->SetGroundHeight(line.groundHeight);
    w->SetAttributes(DecodeText(line.attributes, encoding_));
    w->SetName(DecodeText(line.name, encoding_));
    w->SetText(DecodeText(line.text, encoding_));
    w->setVisible(true);
    panel.scene()->addItem(w.get());
    waypoints.push_back(std::move(w));
}

void Dat::SaveTo(const QString& path) {
    std::string out = header;
    for (const auto& waypoint : waypoints)
        WriteWaypoint(out, *waypoint);
    out += trailer;
    if (!SaveFileBytes(path, out)) {
        Report();
        return;
    }
    modified = false;
    const FilePlace place = SplitFilePath(path);
    folder = place.folder;
    fileName = place.fileName;
}

void Dat::Save() {
    SaveTo(folder + fileName);
}

void Dat::SaveAs() {
    const auto chosen = prompts().saveFile(
        {QStringLiteral("Dat files (*.dat)|*.DAT"), QStringLiteral("dat"), folder});
    if (chosen)
        SaveTo(*chosen);
}

void Dat::WriteWaypoint(std::string& out, const TWaypoint& w) const {
    AppendWaypointLine(out,
                       {w.tID, w.lat, w.lon, w.tGroundHeight, EncodeText(w.tAttributes, encoding_),
                        EncodeText(w.tName, encoding_), EncodeText(w.tText, encoding_)});
}
