#include "document.h"

#include "codecs/mapfiles.h"
#include "codecs/projectfile.h"
#include "codecs/waypointimport.h"
#include "io/filestore.h"
#include "io/gpxfile.h"
#include "prompts/prompts.h"

#include <algorithm>
#include <climits>

#include <QBuffer>
#include <QDir>
#include <QFileInfo>

namespace {

// Items leave the scene fastest newest first: oldest first costs the scene a search per
// glyph, about a second for 100,000 thermals.
template <class List> void DestroyNewestFirst(List& list) {
    while (!list.empty())
        list.pop_back();
}

template <typename List, typename Item> auto FindByIdentity(List& list, const Item* item) {
    return std::find_if(list.begin(), list.end(),
                        [item](const auto& owned) { return owned.get() == item; });
}

void ReportWaypointFile() {
    prompts().message("File Error", "Error with Dat File");
}

} // namespace

void Document::FilePlace::Set(const QString& path) {
    const FileLocation location = SplitFilePath(path);
    folder = location.folder;
    fileName = location.fileName;
}

bool Document::FilePlace::MaySaveTo(const QString& path, const char* what) const {
    if (!incomplete || SplitFilePath(path).fileName != fileName ||
        SplitFilePath(path).folder != folder)
        return true;
    return prompts().ask(std::string("Save ") + what,
                         fileName.toStdString() +
                             " was not read completely when it was loaded: saving replaces it "
                             "with what is shown now, and the rest of it is lost. Save anyway?",
                         Prompts::Preferred::no);
}

Document::Document(QObject* parent)
    : QObject(parent) {}

Document::~Document() {
    DestroyNewestFirst(thermals_);
    DestroyNewestFirst(waypoints_);
}

Thermal& Document::AddThermal(GeoPoint at, const ThermalSettings& values) {
    auto thermal = std::make_unique<Thermal>();
    SetThermalData(*thermal, values);
    thermal->SetPosition(at);
    thermals_.push_back(std::move(thermal));
    emit thermalsAdded(thermals_.size() - 1);
    return *thermals_.back();
}

void Document::AddThermals(const std::vector<ClimbThermal>& thermals) {
    if (thermals.empty())
        return;
    ThermalList added;
    for (const ClimbThermal& made : thermals) {
        auto thermal = std::make_unique<Thermal>();
        thermal->SetData(made.settings);
        thermal->SetPosition(made.position);
        thermal->SetGroundHeight(made.groundHeightM);
        added.push_back(std::move(thermal));
    }
    AppendThermals(std::move(added));
    project_.modified = true;
}

void Document::SetThermalData(Thermal& thermal, const ThermalSettings& values) {
    thermal.SetData(values);
    project_.modified = true;
}

Waypoint& Document::AddWaypoint(GeoPoint at, const std::string& name) {
    auto w = std::make_unique<Waypoint>();
    w->SetPosition(at);
    w->SetGroundHeight(0);
    w->SetName(name);
    w->SetText(name);
    w->SetID(NextWaypointID(waypoints_));
    w->SetAttributes("T");
    waypoints_.push_back(std::move(w));
    // Unsaved waypoints are protected by the close and load questions.
    waypointFile_.modified = true;
    emit waypointsAdded(waypoints_.size() - 1);
    return *waypoints_.back();
}

bool Document::DeleteThermal(const Thermal* thermal) {
    const auto it = FindByIdentity(thermals_, thermal);
    if (it == thermals_.end())
        return false;
    emit thermalRemoving(thermal);
    thermals_.erase(it);
    project_.modified = true;
    return true;
}

bool Document::DeleteWaypoint(const Waypoint* waypoint) {
    const auto it = FindByIdentity(waypoints_, waypoint);
    if (it == waypoints_.end())
        return false;
    emit waypointRemoving(waypoint);
    waypoints_.erase(it);
    waypointFile_.modified = true;
    return true;
}

void Document::ClearThermals() {
    emit thermalRemoving(nullptr);
    DestroyNewestFirst(thermals_);
}

void Document::ClearWaypoints() {
    emit waypointRemoving(nullptr);
    DestroyNewestFirst(waypoints_);
}

void Document::AppendThermals(ThermalList added) {
    const std::size_t first = thermals_.size();
    thermals_.reserve(first + added.size());
    std::move(added.begin(), added.end(), std::back_inserter(thermals_));
    emit thermalsAdded(first);
}

bool Document::LoadProject(const QString& path, bool add) {
    const auto read = ReadFileBytes(path);
    if (const auto* failure = std::get_if<ReadFailure>(&read)) {
        prompts().message("File Error", *failure == ReadFailure::CannotOpen
                                            ? "Error opening Project File"
                                            : "Error opening Project File 2");
        // The lists were cleared for it: the file named now no longer matches them.
        project_.incomplete = project_.incomplete || !add;
        return false;
    }
    const std::string_view data = ByteView(std::get<QByteArray>(read));
    std::size_t offset = 0;
    bool complete = true;
    if (add) {
        const Messages skipped = SkipProjectHeader(data, offset);
        ShowMessages(skipped);
        complete = skipped.empty();
    } else {
        newMap_.reset();
        Read<ProjectHeader> header = ReadProjectHeader(data, offset);
        ShowMessages(header.messages);
        projectHeader_ = std::move(header.value.text);
        project_.modified = false;
        project_.Set(path);
        const bool mapLoaded = map_.Load(QString::fromStdString(header.value.mapFile),
                                         project_.folder, header.value.edges);
        complete = header.complete() && mapLoaded;
    }
    Read<ThermalList> thermals = ReadThermalLines(data, offset);
    ShowMessages(thermals.messages);
    complete = complete && thermals.complete();
    AppendThermals(std::move(thermals.value));
    if (!add)
        project_.incomplete = !complete;
    return complete;
}

bool Document::NewProjectFromMap(const QString& picturePath, const GeoBounds& edges) {
    const QFileInfo picture(picturePath);
    if (picture.fileName().contains(QLatin1Char('\n')) ||
        picture.fileName().contains(QLatin1Char('\r'))) {
        // The header's first line could not hold the name.
        prompts().message("File Error", "Error with Map File");
        return false;
    }
    if (!map_.Load(picture.fileName(), picture.absolutePath(), edges))
        return false;
    StartNewProject({picture.absoluteFilePath(), edges, {}}, picture.absolutePath());
    return true;
}

void Document::NewProjectOnPicture(const QImage& picture, const GeoBounds& edges,
                                   const QString& folder) {
    map_.SetPicture(picture, edges);
    StartNewProject({{}, edges, picture}, folder);
}

void Document::StartNewProject(NewMap map, const QString& folder) {
    ClearThermals();
    ClearWaypoints();
    waypointFile_.modified = false;
    projectHeader_ =
        ProjectHeaderText(QFileInfo(map.picturePath).fileName().toStdString(), map.edges);
    newMap_ = std::move(map);
    project_.Set(QDir(folder).absolutePath() + QLatin1Char('/'));
    project_.modified = true;
    project_.incomplete = false;
}

bool Document::SaveNewPicture(const QString& path) {
    const QFileInfo project(path);
    // Never over a file of the pilot's: the first free name.
    QString picturePath = project.absoluteDir().filePath(project.completeBaseName() + ".png");
    for (int n = 2; QFileInfo::exists(picturePath); ++n)
        picturePath = project.absoluteDir().filePath(
            QStringLiteral("%1-%2.png").arg(project.completeBaseName()).arg(n));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!newMap_->unsaved.save(&buffer, "PNG") || !SaveFileBytes(picturePath, ByteView(png))) {
        prompts().message("File Error", "Error with Project File\n" + picturePath.toStdString() +
                                            ": the map picture cannot be written there.");
        return false;
    }
    newMap_->picturePath = picturePath;
    newMap_->unsaved = QImage();
    return true;
}

bool Document::SaveProjectTo(const QString& path, bool saveAll) {
    if (!project_.MaySaveTo(path, "Project"))
        return false;
    if (newMap_ && !newMap_->unsaved.isNull() && !SaveNewPicture(path))
        return false;
    std::string header = projectHeader_;
    if (newMap_) {
        const QString picture =
            QDir(SplitFilePath(path).folder).relativeFilePath(newMap_->picturePath);
        header = ProjectHeaderText(picture.toStdString(), newMap_->edges);
    }
    if (!SaveFileBytes(path, ProjectFileBytes(header, thermals_, saveAll))) {
        prompts().message("File Error", "Error with Project File");
        return false;
    }
    projectHeader_ = std::move(header);
    project_.modified = false;
    project_.incomplete = false;
    project_.Set(path);
    return true;
}

void Document::SaveProject(bool saveAll) {
    if (newMap_ && project_.fileName.isEmpty())
        SaveProjectAs(saveAll);
    else
        SaveProjectTo(project_.Path(), saveAll);
}

void Document::SaveProjectAs(bool saveAll) {
    const auto chosen =
        prompts().saveFile({"Project files (*.prj)|*.PRJ", "prj", project_.folder.toStdString()});
    if (chosen)
        SaveProjectTo(QString::fromStdString(*chosen), saveAll);
}

void Document::LoadWaypoints(const QString& path) {
    const auto read = ReadFileBytes(path);
    if (!std::holds_alternative<QByteArray>(read)) {
        ReportWaypointFile();
        // The list was cleared for it: the file named now no longer matches it.
        waypointFile_.incomplete = true;
        return;
    }
    waypointFile_.modified = false;
    waypointFile_.Set(path);
    Read<WaypointFileContent> content = ReadWaypointFile(ByteView(std::get<QByteArray>(read)));
    ShowMessages(content.messages);
    waypointFrame_ = std::move(content.value.frame);
    const std::size_t first = waypoints_.size();
    std::move(content.value.waypoints.begin(), content.value.waypoints.end(),
              std::back_inserter(waypoints_));
    emit waypointsAdded(first);
    waypointFile_.incomplete = !content.complete();
}

void Document::ImportWaypoints(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    const auto report = [&name](const std::string& text) {
        prompts().message("File Error", name.toStdString() + ": " + text);
    };
    const auto read = ReadFileBytes(path);
    const auto* bytes = std::get_if<QByteArray>(&read);
    if (!bytes) {
        report("the file cannot be read.");
        return;
    }
    const QString suffix = QFileInfo(path).suffix().toLower();
    ImportedWaypoints imported;
    // A waypoint file that gave its own message needs no "holds no waypoints" after it.
    bool told = false;
    if (suffix == QLatin1String("cup")) {
        imported = ReadCupFile(ByteView(*bytes));
    } else if (suffix == QLatin1String("gpx")) {
        imported = ReadGpxFile(*bytes);
    } else if (suffix == QLatin1String("dat")) {
        Read<WaypointFileContent> content = ReadWaypointFile(ByteView(*bytes));
        ShowMessages(content.messages);
        told = !content.complete();
        imported.waypoints = std::move(content.value.waypoints);
    } else {
        report("waypoints are imported from SeeYou (.cup), GPX (.gpx) and waypoint (.dat) "
               "files.");
        return;
    }
    const std::size_t first = waypoints_.size();
    int id = NextWaypointID(waypoints_);
    for (auto& w : imported.waypoints) {
        w->SetID(id);
        // The highest possible ID is shared rather than wrapped, as for a placed waypoint.
        if (id < INT_MAX)
            ++id;
        waypoints_.push_back(std::move(w));
    }
    if (waypoints_.size() > first) {
        waypointFile_.modified = true;
        emit waypointsAdded(first);
    }
    if (imported.problemCount > 0)
        report(imported.Report());
    else if (waypoints_.size() == first && !told)
        report("the file holds no waypoints.");
}

void Document::SaveWaypointsTo(const QString& path) {
    if (!waypointFile_.MaySaveTo(path, "Waypoints"))
        return;
    // A name that Windows-1252 cannot hold would be written as "?": the whole file goes to
    // UTF-8 instead.
    WaypointFileFrame frame = waypointFrame_;
    const bool toUtf8 = !FitsEncoding(frame, waypoints_);
    if (toUtf8)
        frame = InUtf8(frame);
    if (!SaveFileBytes(path, WaypointFileBytes(frame, waypoints_))) {
        ReportWaypointFile();
        return;
    }
    waypointFrame_ = std::move(frame);
    if (toUtf8)
        emit note(tr("%1 is saved in UTF-8: a name in it has letters that Windows-1252 lacks")
                      .arg(SplitFilePath(path).fileName));
    waypointFile_.modified = false;
    waypointFile_.incomplete = false;
    waypointFile_.Set(path);
}

void Document::SaveWaypoints() {
    SaveWaypointsTo(waypointFile_.Path());
}

void Document::SaveWaypointsAs() {
    const auto chosen =
        prompts().saveFile({"Dat files (*.dat)|*.DAT", "dat", waypointFile_.folder.toStdString()});
    if (chosen)
        SaveWaypointsTo(QString::fromStdString(*chosen));
}
