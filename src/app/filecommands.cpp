// The main window's file commands: loading projects and waypoint files with their questions,
// files dropped on the window, the captions and the recent files.
#include "dialogs/mapedgesdialog.h"
#include "dialogs/thermaldata.h"
#include "droppedfiles.h"
#include "io/filestore.h"
#include "io/georeference.h"
#include "mainform.h"
#include "prompts/prompts.h"

#include <cmath>
#include <functional>

#include <QAction>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QScreen>
#include <QSettings>

void TMainForm::showCaption(bool withWaypoints) {
    captionNamesWaypoints_ = withWaypoints;
    refreshCaption();
}

void TMainForm::refreshCaption() {
    QString names = document_.projectFileName();
    // A new project has no file until it is saved: it is named by its map.
    if (names.isEmpty() && document_.map().loaded())
        names = tr("new project on %1").arg(document_.map().mapFile());
    if (captionNamesWaypoints_)
        names += QStringLiteral("   ") + document_.waypointFileName();
    const bool unsaved = document_.projectModified() || document_.waypointsModified();
    setWindowTitle(BaseCaption() + names + (unsaved ? QStringLiteral(" *") : QString()));
}

namespace {

// Save saves as the menu would; a save that fails or is cancelled keeps the work, and so
// whatever was about to replace it is cancelled too.
bool MayDiscard(const char* caption, const QString& what, const std::function<bool()>& save) {
    switch (prompts().askUnsaved(caption, "Save the changes to " + what.toStdString() +
                                              " before they are lost?")) {
    case Prompts::Unsaved::save:
        return save();
    case Prompts::Unsaved::discard:
        return true;
    case Prompts::Unsaved::cancel:
        break;
    }
    return false;
}

QString Named(const QString& fileName, const char* otherwise) {
    return fileName.isEmpty() ? QString::fromLatin1(otherwise) : fileName;
}

} // namespace

bool TMainForm::MayDiscardProject() {
    return !document_.projectModified() ||
           MayDiscard("Project Modified", Named(document_.projectFileName(), "the new project"),
                      [this] { return document_.SaveProject(ThermalData->GetSaveCuData()); });
}

bool TMainForm::MayDiscardWaypoints() {
    return !document_.waypointsModified() ||
           MayDiscard("Waypoints Modified", Named(document_.waypointFileName(), "the waypoints"),
                      [this] { return document_.SaveWaypoints(); });
}

void TMainForm::LoadProject(bool add) {
    if (!add && !(MayDiscardProject() && MayDiscardWaypoints()))
        return;
    const auto file = prompts().openFile(
        {"Project files (*.prj)|*.PRJ", "prj", document_.projectFolder().toStdString()});
    if (file)
        LoadProjectFile(QString::fromStdString(*file), add);
}

void TMainForm::NewProjectFromMap() {
    if (!(MayDiscardProject() && MayDiscardWaypoints()))
        return;
    const auto picture =
        prompts().openFile({kMapPictureFilter, "png", document_.projectFolder().toStdString()});
    if (!picture)
        return;
    const QString path = QString::fromStdString(*picture);
    const std::optional<GeoBounds> edges = FindMapEdges(path, [this] { return AskMapEdges(this); });
    if (!edges)
        return;
    zoom = 1;
    ImagePanelResize();
    document_.NewProjectFromMap(path, *edges);
    EnableProjectCommands();
    showCaption(false);
}

void TMainForm::EnableProjectCommands() {
    for (Command c : {Command::SaveProject, Command::SaveProjectAs, Command::ClearAllThermals,
                      Command::AddProjectThermals, Command::LoadDat1, Command::SaveDatAs,
                      Command::ImportWaypoints})
        action(c)->setEnabled(true);
    menu(Place::create)->setEnabled(true);
    action(Command::SaveDat)->setEnabled(false);
    ThermalData->SetProjectOpen(true);
}

void TMainForm::LoadProjectFile(const QString& path, bool add) {
    if (!add) {
        document_.ClearThermals();
        document_.ClearWaypoints();
        document_.ForgetWaypointChanges();
        zoom = 1;
        // The new map is fitted into the panel as it is now.
        ImagePanelResize();
    }
    document_.LoadProject(path, add);
    EnableProjectCommands();
    showCaption(false);
    if (!add && !document_.projectIncomplete())
        NoteRecent(path, recentProjects_);
    fillRecentMenu();
}

void TMainForm::LoadDat() {
    if (!MayDiscardWaypoints())
        return;
    const auto file = prompts().openFile(
        {"Dat files (*.dat)|*.DAT", "dat", document_.waypointFolder().toStdString()});
    if (file)
        LoadDatFile(QString::fromStdString(*file));
}

void TMainForm::LoadDatFile(const QString& path) {
    document_.ClearWaypoints();
    document_.LoadWaypoints(path);
    action(Command::SaveDat)->setEnabled(true);
    action(Command::SaveDatAs)->setEnabled(true);
    showCaption(true);
    if (!document_.waypointsIncomplete())
        NoteRecent(path, recentWaypoints_);
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
    const DroppedFiles files = ClassifyDroppedFiles(event->mimeData()->urls());
    // Waypoints need a project's map, as "Load Dat" does.
    if (!files.project.isEmpty() || !files.log.isEmpty() ||
        (!files.waypoints.isEmpty() && action(Command::LoadDat1)->isEnabled()))
        event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event) {
    const DroppedFiles files = ClassifyDroppedFiles(event->mimeData()->urls());
    event->acceptProposedAction();
    // The questions and error messages must not run inside the drag and drop exchange.
    QMetaObject::invokeMethod(
        this, [this, files] { OpenDroppedFiles(files); }, Qt::QueuedConnection);
}

void TMainForm::OpenDroppedFiles(const DroppedFiles& files) {
    // Dropped files open as when named on the command line, after the same questions as
    // the load commands; waypoints only once a project has enabled "Load Dat". A log comes
    // last, over the project.
    if (!files.project.isEmpty()) {
        if (!MayDiscardProject() || !MayDiscardWaypoints())
            return;
        LoadProjectFile(files.project, false);
        if (!files.waypoints.isEmpty())
            LoadDatFile(files.waypoints);
    } else if (!files.waypoints.isEmpty() && action(Command::LoadDat1)->isEnabled() &&
               MayDiscardWaypoints()) {
        LoadDatFile(files.waypoints);
    }
    if (!files.log.isEmpty())
        LoadLogFile(files.log);
}

namespace {

constexpr int kRecentFiles = 5;

} // namespace

void TMainForm::NoteRecent(const QString& path, QStringList& recent) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    recent.removeAll(absolute);
    recent.prepend(absolute);
    while (recent.size() > kRecentFiles)
        recent.removeLast();
    fillRecentMenu();
    rememberChoices();
}

void TMainForm::NoteSaved(bool project) {
    // A file saved is one the user may want back, whatever name it was saved under.
    if (project && !document_.projectModified() && !document_.projectFileName().isEmpty())
        NoteRecent(document_.projectPath(), recentProjects_);
    if (!project && !document_.waypointsModified() && !document_.waypointFileName().isEmpty())
        NoteRecent(document_.waypointFolder() + document_.waypointFileName(), recentWaypoints_);
}

bool TMainForm::RecentFileIsThere(const QString& path, const std::string& text,
                                  QStringList& recent) {
    if (QFileInfo(path).isFile())
        return true;
    // Gone: said before anything is cleared for it, and dropped from the list.
    ShowFileMessage("File Error", text, ShownPath(path),
                    QFileInfo::exists(path) ? "is not a plain file" : "not found");
    recent.removeAll(path);
    fillRecentMenu();
    rememberChoices();
    return false;
}

QStringList TMainForm::recentFiles(bool projects) const {
    return projects ? recentProjects_ : recentWaypoints_;
}

void TMainForm::fillRecentMenu() {
    recentMenu_->clear();
    recentMenu_->setToolTipsVisible(true);
    // Files of the same name in two folders are told apart by the folder; the full path is
    // the hint.
    const auto add = [this](const QString& path) {
        const QFileInfo file(path);
        QAction* item = recentMenu_->addAction(file.fileName() + QStringLiteral(" \u2014 ") +
                                               QDir::toNativeSeparators(file.absolutePath()));
        item->setToolTip(QDir::toNativeSeparators(path));
        return item;
    };
    for (const QString& path : recentProjects_) {
        connect(add(path), &QAction::triggered, this, [this, path] {
            if (RecentFileIsThere(path, "Error opening Project File", recentProjects_) &&
                MayDiscardProject() && MayDiscardWaypoints())
                LoadProjectFile(path, false);
        });
    }
    recentMenu_->addSeparator();
    for (const QString& path : recentWaypoints_) {
        QAction* item = add(path);
        // Waypoints need a project's map, as "Load Dat" does.
        item->setEnabled(action(Command::LoadDat1)->isEnabled());
        connect(item, &QAction::triggered, this, [this, path] {
            if (RecentFileIsThere(path, "Error with Dat File", recentWaypoints_) &&
                MayDiscardWaypoints())
                LoadDatFile(path);
        });
    }
    recentMenu_->addSeparator();
    for (const QString& path : recentLogs_) {
        connect(add(path), &QAction::triggered, this, [this, path] {
            if (RecentFileIsThere(path, "The flight log cannot be read.", recentLogs_))
                LoadLogFile(path);
        });
    }
    recentMenu_->setEnabled(!recentProjects_.isEmpty() || !recentWaypoints_.isEmpty() ||
                            !recentLogs_.isEmpty());
}

void TMainForm::restoreChoices() {
    bool restored = false;
    if (!statePath_.isEmpty()) {
        const QSettings state(statePath_, QSettings::IniFormat);
        for (const auto& [key, list] : {std::pair{"Recent/Projects", &recentProjects_},
                                        std::pair{"Recent/Waypoints", &recentWaypoints_},
                                        std::pair{"Recent/Logs", &recentLogs_}})
            *list = state.value(QLatin1String(key)).toStringList().mid(0, kRecentFiles);
        const int format =
            state.value(QStringLiteral("View/LatLong"), int(units_.position)).toInt();
        if (format >= decDegrees && format <= degMinSec)
            SetLatLonFormat(static_cast<latLonDispType>(format));
        if (state.value(QStringLiteral("View/Feet"), false).toBool())
            ApplyHeightUnits(feet);
        if (state.value(QStringLiteral("View/ClickAddsWaypoints"), false).toBool())
            action(Command::ClickToAddWaypoint)->setChecked(true);
        action(Command::FollowAircraft)
            ->setChecked(state.value(QStringLiteral("View/Follow"), true).toBool());
        restored = restoreGeometry(state.value(QStringLiteral("Window/Geometry")).toByteArray());
        restoreState(state.value(QStringLiteral("Window/State")).toByteArray());
        RestoreLiftModel(state);
        for (const auto& [key, name] : {std::pair{"Record/Pilot", &recordingNames_.pilot},
                                        std::pair{"Record/GliderType", &recordingNames_.gliderType},
                                        std::pair{"Record/GliderId", &recordingNames_.gliderId}})
            *name = state.value(QLatin1String(key)).toString().toStdString();
    }
    if (!restored) {
        // The first start takes most of the screen, centred: the map is what the pilot
        // came for.
        const QRect area = screen()->availableGeometry();
        resize(area.size() * 0.8);
        move(area.center() - rect().center());
    }
    fillRecentMenu();
}

void TMainForm::rememberChoices() {
    if (statePath_.isEmpty())
        return;
    QSettings state(statePath_, QSettings::IniFormat);
    state.setValue(QStringLiteral("View/LatLong"), int(units_.position));
    state.setValue(QStringLiteral("View/Feet"), units_.height == feet);
    state.setValue(QStringLiteral("View/ClickAddsWaypoints"),
                   action(Command::ClickToAddWaypoint)->isChecked());
    state.setValue(QStringLiteral("View/Follow"), action(Command::FollowAircraft)->isChecked());
    state.setValue(QStringLiteral("Window/Geometry"), saveGeometry());
    state.setValue(QStringLiteral("Window/State"), saveState());
    state.setValue(QStringLiteral("Recent/Projects"), recentProjects_);
    state.setValue(QStringLiteral("Recent/Waypoints"), recentWaypoints_);
    const LiftModel lift = ThermalData->liftModel();
    state.setValue(QStringLiteral("Lift/Shape"), int(lift.shape));
    state.setValue(QStringLiteral("Lift/WindMs"), lift.windMs);
    state.setValue(QStringLiteral("Recent/Logs"), recentLogs_);
    state.setValue(QStringLiteral("Record/Pilot"), QString::fromStdString(recordingNames_.pilot));
    state.setValue(QStringLiteral("Record/GliderType"),
                   QString::fromStdString(recordingNames_.gliderType));
    state.setValue(QStringLiteral("Record/GliderId"),
                   QString::fromStdString(recordingNames_.gliderId));
}

void TMainForm::RestoreLiftModel(const QSettings& state) {
    LiftModel lift;
    const int shape = state.value(QStringLiteral("Lift/Shape"), int(lift.shape)).toInt();
    if (shape >= int(LiftShape::plateau) && shape <= int(LiftShape::gaussian))
        lift.shape = static_cast<LiftShape>(shape);
    bool number = false;
    const double windMs = state.value(QStringLiteral("Lift/WindMs")).toDouble(&number);
    // An edited file's nonsense is no wind.
    if (number && std::isfinite(windMs) && windMs > 0)
        lift.windMs = windMs;
    ThermalData->ShowLiftModel(lift);
}
