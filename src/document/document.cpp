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
#include <iterator>

#include <QBuffer>
#include <QDir>
#include <QFileInfo>

namespace {

// Glyphs leave the scene fastest oldest first.
template <class List> void DestroyOldestFirst(List& list) {
    for (auto& value : list)
        value.reset();
    list.clear();
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

Document::Document(QObject* parent)
    : QObject(parent) {
    connect(&history_, &QUndoStack::indexChanged, this, &Document::modifiedChanged);
}

Document::~Document() {
    // The history goes after this body, with nobody left to tell.
    history_.disconnect(this);
    DestroyOldestFirst(thermals_);
    DestroyOldestFirst(waypoints_);
}

bool Document::Modified(const FilePlace& place, DocumentStep::File file) const {
    if (!place.savedAt)
        return true;
    const int now = history_.index();
    for (int i = std::min(now, *place.savedAt); i < std::max(now, *place.savedAt); ++i) {
        const auto* step = static_cast<const DocumentStep*>(history_.command(i));
        if (!step || step->file == file)
            return true;
    }
    return false;
}

void Document::MarkSaved(FilePlace& place) {
    place.savedAt = history_.index();
    emit modifiedChanged();
}

void Document::ForgetHistory() {
    const auto kept = [](bool modified) {
        return modified ? std::nullopt : std::optional<int>(0);
    };
    project_.savedAt = kept(projectModified());
    waypointFile_.savedAt = kept(waypointsModified());
    history_.clear();
    emit modifiedChanged();
}

void Document::ForgetWaypointChanges() {
    MarkSaved(waypointFile_);
}

void Document::Push(DocumentStep* step) {
    // A step done after undos drops the steps undone: a saved state among them is gone.
    for (FilePlace* place : {&project_, &waypointFile_}) {
        if (place->savedAt && *place->savedAt > history_.index())
            place->savedAt.reset();
    }
    history_.push(step);
}

template <class T> void Document::Put(std::vector<std::unique_ptr<T>>& run, std::size_t at) {
    auto& list = ListOf<T>();
    const std::size_t count = run.size();
    if (list.empty()) {
        // A whole list comes back at once (the undo of a Clear All).
        list.swap(run);
    } else {
        list.insert(list.begin() + static_cast<std::ptrdiff_t>(at),
                    std::make_move_iterator(run.begin()), std::make_move_iterator(run.end()));
        run.clear();
    }
    if constexpr (std::is_same_v<T, Thermal>)
        emit thermalsAdded(at, count);
    else
        emit waypointsAdded(at, count);
}

template <class T>
void Document::Take(std::vector<std::unique_ptr<T>>& run, std::size_t at, std::size_t count) {
    auto& list = ListOf<T>();
    if constexpr (std::is_same_v<T, Thermal>)
        emit thermalsRemoving(at, count);
    else
        emit waypointsRemoving(at, count);
    // Oldest first, as glyphs leave the scene fastest.
    for (std::size_t i = at; i < at + count; ++i)
        list[i]->Detach();
    const auto first = list.begin() + static_cast<std::ptrdiff_t>(at);
    if (count == list.size()) {
        run.swap(list);
    } else {
        run.assign(std::make_move_iterator(first), std::make_move_iterator(first + count));
        list.erase(first, first + static_cast<std::ptrdiff_t>(count));
    }
}

template void Document::Put(ThermalList&, std::size_t);
template void Document::Put(WaypointList&, std::size_t);
template void Document::Take(ThermalList&, std::size_t, std::size_t);
template void Document::Take(WaypointList&, std::size_t, std::size_t);

template <class T>
void Document::Append(const QString& what, std::vector<std::unique_ptr<T>> added) {
    if (!added.empty())
        Push(new ListStep<T>(*this, what, ListOf<T>().size(), std::move(added)));
}

template <class T> bool Document::Delete(const QString& what, const T* value) {
    auto& list = ListOf<T>();
    const auto it = FindByIdentity(list, value);
    if (it == list.end())
        return false;
    Push(new ListStep<T>(*this, what, static_cast<std::size_t>(it - list.begin()), 1));
    return true;
}

template <class T, class Edit>
bool Document::ChangeOne(const QString& what, const T* value, Edit edit) {
    auto& list = ListOf<T>();
    const auto it = FindByIdentity(list, value);
    if (it == list.end())
        return false;
    T changed = **it;
    if (!edit(changed))
        return false;
    Change<T>(what, {{static_cast<std::size_t>(it - list.begin()), std::move(changed)}});
    return true;
}

namespace {

// An edit that moves a value; nothing when it is there already.
auto MoveTo(GeoPoint to) {
    return [to](auto& value) {
        if (value.Position() == to)
            return false;
        value.SetPosition(to);
        return true;
    };
}

} // namespace

template <class T>
void Document::Change(const QString& what, std::vector<std::pair<std::size_t, T>> values) {
    if (values.empty())
        return;
    const auto& list = ListOf<T>();
    std::vector<typename ValueStep<T>::Change> changes;
    changes.reserve(values.size());
    for (auto& [index, after] : values)
        changes.push_back({index, *list[index], std::move(after)});
    Push(new ValueStep<T>(*this, what, std::move(changes)));
}

template <class T> void Document::DestroyAll() {
    if constexpr (std::is_same_v<T, Thermal>)
        emit thermalsRemoving(0, thermals_.size());
    else
        emit waypointsRemoving(0, waypoints_.size());
    DestroyOldestFirst(ListOf<T>());
}

Thermal& Document::AddThermal(GeoPoint at, const ThermalSettings& values, int groundHeightM) {
    ThermalList added;
    added.push_back(std::make_unique<Thermal>());
    Thermal& thermal = *added.back();
    thermal.SetData(values);
    thermal.SetPosition(at);
    thermal.SetGroundHeight(groundHeightM);
    Append(tr("Add Thermal"), std::move(added));
    return thermal;
}

void Document::AddThermals(const std::vector<ClimbThermal>& thermals) {
    ThermalList added;
    for (const ClimbThermal& made : thermals) {
        auto thermal = std::make_unique<Thermal>();
        thermal->SetData(made.settings);
        thermal->SetPosition(made.position);
        thermal->SetGroundHeight(made.groundHeightM);
        added.push_back(std::move(thermal));
    }
    Append(tr("Add as Thermals"), std::move(added));
}

void Document::SetThermalData(const Thermal& thermal, const ThermalSettings& values) {
    ChangeOne(tr("Set Data"), &thermal, [&values](Thermal& t) {
        t.SetData(values);
        return true;
    });
}

Waypoint& Document::AddWaypoint(GeoPoint at, const std::string& name, int groundHeightM) {
    WaypointList added;
    added.push_back(std::make_unique<Waypoint>());
    Waypoint& w = *added.back();
    w.SetPosition(at);
    w.SetGroundHeight(groundHeightM);
    // Two waypoints of one name cannot be told apart in a list.
    const std::string free = FreeWaypointName(waypoints_, name);
    w.SetName(free);
    w.SetText(free);
    w.SetID(NextWaypointID(waypoints_));
    w.SetAttributes("T");
    Append(tr("Add Waypoint"), std::move(added));
    return w;
}

bool Document::RenameWaypoint(const Waypoint* waypoint, const std::string& name) {
    if (WaypointFieldText(name) != name) {
        prompts().message("Error", WithDetail("A waypoint's name cannot hold a comma or a line "
                                              "break: they separate the waypoint file's values.",
                                              "\"" + QuotedText(name) + '"'));
        return false;
    }
    return ChangeOne(tr("Rename Waypoint"), waypoint, [&name](Waypoint& w) {
        if (w.tName == name)
            return false;
        w.SetName(name);
        return true;
    });
}

bool Document::DeleteThermal(const Thermal* thermal) {
    return Delete(tr("Delete Thermal"), thermal);
}

bool Document::DeleteWaypoint(const Waypoint* waypoint) {
    return Delete(tr("Delete Waypoint"), waypoint);
}

bool Document::MoveThermal(const Thermal* thermal, GeoPoint to) {
    return ChangeOne(tr("Move Thermal"), thermal, MoveTo(to));
}

bool Document::MoveWaypoint(const Waypoint* waypoint, GeoPoint to) {
    return ChangeOne(tr("Move Waypoint"), waypoint, MoveTo(to));
}

void Document::ClearAllThermals() {
    if (!thermals_.empty())
        Push(new ListStep<Thermal>(*this, tr("Clear All Thermals"), 0, thermals_.size()));
}

void Document::ClearAllWaypoints() {
    if (!waypoints_.empty())
        Push(new ListStep<Waypoint>(*this, tr("Clear All Waypoints"), 0, waypoints_.size()));
}

void Document::ChangeThermals(const QString& what, ThermalValues values) {
    Change(what, std::move(values));
}

void Document::ClearThermals() {
    ForgetHistory();
    DestroyAll<Thermal>();
}

void Document::ClearWaypoints() {
    ForgetHistory();
    DestroyAll<Waypoint>();
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
        ForgetHistory();
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
        MarkSaved(project_);
        project_.Set(path);
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
    if (add)
        Append(tr("Add Project Thermals"), std::move(thermals.value.thermals));
    else
        Put(thermals.value.thermals, thermals_.size());
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
    waypointFile_.savedAt = history_.index();
    projectHeader_ =
        ProjectHeaderText(QFileInfo(map.picturePath).fileName().toStdString(), map.edges);
    newMap_ = std::move(map);
    project_.Set(QDir(folder).absolutePath() + QLatin1Char('/'));
    project_.savedAt.reset();
    project_.incomplete = false;
    emit modifiedChanged();
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
    MarkSaved(project_);
    return true;
}

bool Document::SaveProject(bool saveAll) {
    if (newMap_ && project_.fileName.isEmpty())
        return SaveProjectAs(saveAll);
    return SaveProjectTo(project_.Path(), saveAll);
}

bool Document::SaveProjectAs(bool saveAll) {
    const auto chosen =
        prompts().saveFile({"Project files (*.prj)|*.PRJ", "prj", project_.folder.toStdString()});
    return chosen && SaveProjectTo(QString::fromStdString(*chosen), saveAll);
}

void Document::LoadWaypoints(const QString& path) {
    const auto read = ReadTextFile(path);
    if (const auto* failure = std::get_if<ReadFailure>(&read)) {
        ReportWaypointFile(path, failure->reason);
        // The list was cleared for it: the file named now no longer matches it.
        waypointFile_.incomplete = true;
        return;
    }
    ForgetHistory();
    MarkSaved(waypointFile_);
    waypointFile_.Set(path);
    Read<WaypointFileContent> content = ReadWaypointFile(ByteView(std::get<QByteArray>(read)));
    ShowMessages(content.messages, ShownPath(path));
    waypointFrame_ = std::move(content.value.frame);
    Put(content.value.waypoints, waypoints_.size());
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
    int id = NextWaypointID(waypoints_);
    for (auto& w : imported.waypoints) {
        w->SetID(id);
        // The highest possible ID is shared rather than wrapped, as for a placed waypoint.
        if (id < INT_MAX)
            ++id;
    }
    const bool none = imported.waypoints.empty();
    Append(tr("Import Waypoints"), std::move(imported.waypoints));
    if (imported.problemCount > 0)
        report(imported.Report());
    else if (none && !told)
        report("the file holds no waypoints.");
}

bool Document::SaveWaypointsTo(const QString& path) {
    if (!waypointFile_.MaySaveTo(path, "Waypoints"))
        return false;
    // A name that Windows-1252 cannot hold would be written as "?": the whole file goes to
    // UTF-8 instead.
    WaypointFileFrame frame = waypointFrame_;
    const bool toUtf8 = !FitsEncoding(frame, waypoints_);
    if (toUtf8)
        frame = InUtf8(frame);
    if (const SaveResult saved = SaveFileBytes(path, WaypointFileBytes(frame, waypoints_));
        !saved) {
        ReportWaypointFile(path, saved.failure);
        return false;
    }
    waypointFrame_ = std::move(frame);
    if (toUtf8)
        emit note(tr("%1 is saved in UTF-8: a name in it has letters that Windows-1252 lacks")
                      .arg(SplitFilePath(path).fileName));
    waypointFile_.incomplete = false;
    waypointFile_.Set(path);
    MarkSaved(waypointFile_);
    return true;
}

bool Document::SaveWaypoints() {
    if (waypointFile_.fileName.isEmpty())
        return SaveWaypointsAs();
    return SaveWaypointsTo(waypointFile_.Path());
}

bool Document::SaveWaypointsAs() {
    const auto chosen =
        prompts().saveFile({"Dat files (*.dat)|*.DAT", "dat", waypointFile_.folder.toStdString()});
    return chosen && SaveWaypointsTo(QString::fromStdString(*chosen));
}
