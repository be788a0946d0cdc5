#include "document.h"

#include "codecs/mapfiles.h"
#include "codecs/projectfile.h"
#include "codecs/waypointimport.h"
#include "io/filestore.h"
#include "io/gpxfile.h"
#include "messages/quote.h"
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

void ReportWaypointFile(const QString& path, const QString& reason) {
    ShowFileMessage("File Error", "Error with Dat File", ShownPath(path), reason.toStdString());
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

void Document::SetModified(FilePlace& place, bool modified) {
    if (place.modified == modified)
        return;
    place.modified = modified;
    emit modifiedChanged();
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
    SetModified(project_, true);
}

void Document::SetThermalData(Thermal& thermal, const ThermalSettings& values) {
    thermal.SetData(values);
    SetModified(project_, true);
}

Waypoint& Document::AddWaypoint(GeoPoint at, const std::string& name) {
    auto w = std::make_unique<Waypoint>();
    w->SetPosition(at);
    w->SetGroundHeight(0);
    // Two waypoints of one name cannot be told apart in a list.
    const std::string free = FreeWaypointName(waypoints_, name);
    w->SetName(free);
    w->SetText(free);
    w->SetID(NextWaypointID(waypoints_));
    w->SetAttributes("T");
    waypoints_.push_back(std::move(w));
    // Unsaved waypoints are protected by the close and load questions.
    SetModified(waypointFile_, true);
    emit waypointsAdded(waypoints_.size() - 1);
    return *waypoints_.back();
}

bool Document::RenameWaypoint(const Waypoint* waypoint, const std::string& name) {
    const auto it = FindByIdentity(waypoints_, waypoint);
    if (it == waypoints_.end())
        return false;
    if (WaypointFieldText(name) != name) {
        prompts().message("Error", WithDetail("A waypoint's name cannot hold a comma or a line "
                                              "break: they separate the waypoint file's values.",
                                              "\"" + QuotedText(name) + '"'));
        return false;
    }
    (*it)->SetName(name);
    SetModified(waypointFile_, true);
    return true;
}

bool Document::DeleteThermal(const Thermal* thermal) {
    const auto it = FindByIdentity(thermals_, thermal);
    if (it == thermals_.end())
        return false;
    emit thermalRemoving(thermal);
    thermals_.erase(it);
    SetModified(project_, true);
    return true;
}

bool Document::DeleteWaypoint(const Waypoint* waypoint) {
    const auto it = FindByIdentity(waypoints_, waypoint);
    if (it == waypoints_.end())
        return false;
    emit waypointRemoving(waypoint);
    waypoints_.erase(it);
    SetModified(waypointFile_, true);
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
    const auto read = ReadTextFile(path);
    if (const auto* failure = std::get_if<ReadFailure>(&read)) {
        ShowFileMessage("File Error",
                        failure->kind == ReadFailure::CannotOpen ? "Error opening Project File"
                                                                 : "Error opening Project File 2",
                        ShownPath(path), failure->reason.toStdString());
        // The lists were cleared for it: the file named now no longer matches them.
        project_.incomplete = project_.incomplete || !add;
        return false;
    }
    const std::string_view data = ByteView(std::get<QByteArray>(read));
    std::size_t offset = 0;
    // The file's bad lines are told in one message.
    Messages messages;
    ProjectHeader header;
    if (add) {
        messages = SkipProjectHeader(data, offset);
    } else {
        Read<ProjectHeader> read = ReadProjectHeader(data, offset);
        header = std::move(read.value);
        messages = std::move(read.messages);
    }
    Read<ThermalLines> thermals = ReadThermalLines(data, offset);
    messages.insert(messages.end(), thermals.messages.begin(), thermals.messages.end());
    bool complete = messages.empty();
    if (!add) {
        newMap_.reset();
        projectHeader_ = std::move(header.text);
        project_.Set(path);
        SetModified(project_, false);
        // The map's message comes first, as its line does.
        complete =
            map_.Load(QString::fromStdString(header.mapFile), project_.folder, header.edges) &&
            complete;
    }
    ShowMessages(messages, ShownPath(path));
    if (const long long line = thermals.value.firstCutLine)
        emit note(tr("Line %1 of %2 ends inside its values: those missing read as -1")
                      .arg(line)
                      .arg(SplitFilePath(path).fileName));
    AppendThermals(std::move(thermals.value.thermals));
    if (!add)
        project_.incomplete = !complete;
    return complete;
}

bool Document::NewProjectFromMap(const QString& picturePath, const GeoBounds& edges) {
    const QFileInfo picture(picturePath);
    if (picture.fileName().contains(QLatin1Char('\n')) ||
        picture.fileName().contains(QLatin1Char('\r'))) {
        ShowFileMessage("File Error", "Error with Map File", ShownPath(picturePath),
                        "its name holds a line break, which the project file cannot hold");
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
    SetModified(waypointFile_, false);
    projectHeader_ =
        ProjectHeaderText(QFileInfo(map.picturePath).fileName().toStdString(), map.edges);
    newMap_ = std::move(map);
    project_.Set(QDir(folder).absolutePath() + QLatin1Char('/'));
    SetModified(project_, true);
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
    const SaveResult saved = newMap_->unsaved.save(&buffer, "PNG")
                                 ? SaveFileBytes(picturePath, ByteView(png))
                                 : SaveResult{tr("the map picture cannot be made")};
    if (!saved) {
        ShowFileMessage("File Error", "Error with Project File", ShownPath(picturePath),
                        saved.failure.toStdString());
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
    if (const SaveResult saved = SaveFileBytes(path, ProjectFileBytes(header, thermals_, saveAll));
        !saved) {
        ShowFileMessage("File Error", "Error with Project File", ShownPath(path),
                        saved.failure.toStdString());
        return false;
    }
    projectHeader_ = std::move(header);
    project_.incomplete = false;
    project_.Set(path);
    SetModified(project_, false);
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
    const auto read = ReadTextFile(path);
    if (const auto* failure = std::get_if<ReadFailure>(&read)) {
        ReportWaypointFile(path, failure->reason);
        // The list was cleared for it: the file named now no longer matches it.
        waypointFile_.incomplete = true;
        return;
    }
    waypointFile_.Set(path);
    SetModified(waypointFile_, false);
    Read<WaypointFileContent> content = ReadWaypointFile(ByteView(std::get<QByteArray>(read)));
    ShowMessages(content.messages, ShownPath(path));
    waypointFrame_ = std::move(content.value.frame);
    const std::size_t first = waypoints_.size();
    std::move(content.value.waypoints.begin(), content.value.waypoints.end(),
              std::back_inserter(waypoints_));
    emit waypointsAdded(first);
    waypointFile_.incomplete = !content.complete();
}

void Document::ImportWaypoints(const QString& path) {
    const auto report = [&path](const std::string& text) {
        prompts().message("File Error", WithDetail(text, ShownPath(path)));
    };
    const auto read = ReadTextFile(path);
    const auto* bytes = std::get_if<QByteArray>(&read);
    if (const auto* failure = std::get_if<ReadFailure>(&read)) {
        ShowFileMessage("File Error", "The waypoints cannot be imported.", ShownPath(path),
                        failure->reason.toStdString());
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
        ShowMessages(content.messages, ShownPath(path));
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
        SetModified(waypointFile_, true);
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
    if (const SaveResult saved = SaveFileBytes(path, WaypointFileBytes(frame, waypoints_));
        !saved) {
        ReportWaypointFile(path, saved.failure);
        return;
    }
    waypointFrame_ = std::move(frame);
    if (toUtf8)
        emit note(tr("%1 is saved in UTF-8: a name in it has letters that Windows-1252 lacks")
                      .arg(SplitFilePath(path).fileName));
    waypointFile_.incomplete = false;
    waypointFile_.Set(path);
    SetModified(waypointFile_, false);
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
