#include "mainform.h"

#include "aboutform.h"
#include "dialogs/randomize.h"
#include "dialogs/thermaldata.h"
#include "droppedfiles.h"
#include "map/accursor.h"
#include "profiler/profiler.h"
#include "prompts/prompts.h"
#include "scene/mapview.h"
#include "settings.h"
#include "simlink/simlink.h"
#include "toolbaricons.h"

#include <algorithm>

#include <QActionGroup>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>

namespace {

// Glyphs leave the scene fastest newest first: oldest first costs the scene a search per
// glyph, about a second for 100,000 thermals.
template <class List> void DestroyNewestFirst(List& list) {
    while (!list.empty())
        list.pop_back();
}

// The zoom buttons carry their hints but never show them.
class SwallowToolTips : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        return event->type() == QEvent::ToolTip || QObject::eventFilter(watched, event);
    }
};

QAction* makeAction(QObject* parent, const char* name, const QString& text) {
    auto* action = new QAction(text, parent);
    action->setObjectName(QLatin1String(name));
    return action;
}

} // namespace

TMainForm::TMainForm(std::unique_ptr<SimLink> simLink, const QString& settingsPath, QWidget* parent)
    : QMainWindow(parent)
    , link(std::move(simLink))
    , profiler(std::make_unique<TProfiler>(thermals, *link))
    , project(map, thermals)
    , dat(map, waypoints) {
    setObjectName(QStringLiteral("MainForm"));
    setAcceptDrops(true);
    move(161, 135);
    resize(544, 354);
    cumulusDir = QDir::currentPath();
    thermikDir = cumulusDir;

    ImagePanel = new MapView(map, this);
    ImagePanel->setObjectName(QStringLiteral("ImagePanel"));
    // The map is fitted to the panel's outer size; without a frame that is the visible
    // area, so a fitted map needs no scroll bar.
    ImagePanel->setFrameShape(QFrame::NoFrame);
    // Beyond the map's edges the panel shows the window's colour, not a white page.
    ImagePanel->setBackgroundBrush(palette().window());
    setCentralWidget(ImagePanel);
    createActions();
    createMenus();
    createToolBar();
    createStatusBar();
    createPopupMenus();
    connectView();

    QSettings settings(settingsPath, QSettings::IniFormat);
    createTimers(settings);

    setWindowTitle(BaseCaption());
    DecMins->trigger();
    acCursor = new TacCursor(settings);
    ImagePanel->scene()->addItem(acCursor);
    BringCursorToFront();

    ThermalData = new TThermalData(this);
    // Beside the main window rather than over the map, as far as the screen allows.
    const QRect screenArea = screen()->availableGeometry();
    ThermalData->move(
        std::max(screenArea.left(),
                 std::min(x() + width() + 16, screenArea.right() - ThermalData->width())),
        y());
    // Shown from the start, unlike the About and Randomize Thermals windows.
    ThermalData->show();
    About = new TAbout(this);
    RandomizeForm = new TRandomizeForm(this);
}

TMainForm::~TMainForm() {
    // No timer event may reach the objects released below.
    stopTimers();
    ClearThermals();
    ClearWaypoints();
}

void TMainForm::createActions() {
    LoadProject1 = makeAction(this, "LoadProject1", tr("Load &Project"));
    SaveProject = makeAction(this, "SaveProject", tr("&Save Project"));
    SaveProjectAs = makeAction(this, "SaveProjectAs", tr("Save Project &As"));
    AddProjectThermals = makeAction(this, "AddProjectThermals", tr("A&dd Project Thermals"));
    LoadDat1 = makeAction(this, "LoadDat1", tr("Load &Dat"));
    SaveDat = makeAction(this, "SaveDat", tr("Sa&ve Dat"));
    SaveDatAs = makeAction(this, "SaveDatAs", tr("Save Dat As"));
    LoadLog1 = makeAction(this, "LoadLog1", tr("Load &Log"));
    Exit1 = makeAction(this, "Exit1", tr("&Exit"));
    LoadProject1->setShortcut(QKeySequence::Open);
    SaveProject->setShortcut(QKeySequence::Save);
    SaveProjectAs->setShortcut(QKeySequence(tr("Ctrl+Shift+S")));
    // Where the platform names no quit key (Windows leaves it to Alt+F4), Ctrl+Q.
    const QList<QKeySequence> quitKeys = QKeySequence::keyBindings(QKeySequence::Quit);
    Exit1->setShortcuts(quitKeys.isEmpty() ? QList{QKeySequence(Qt::CTRL | Qt::Key_Q)} : quitKeys);
    for (QAction* off :
         {SaveProject, SaveProjectAs, AddProjectThermals, LoadDat1, SaveDat, SaveDatAs, LoadLog1})
        off->setEnabled(false);
    connect(LoadProject1, &QAction::triggered, this, [this] { LoadProject(false); });
    connect(AddProjectThermals, &QAction::triggered, this, [this] { LoadProject(true); });
    connect(SaveProject, &QAction::triggered, this, &TMainForm::SaveProjectClick);
    connect(SaveProjectAs, &QAction::triggered, this, &TMainForm::SaveProjectAsClick);
    connect(LoadDat1, &QAction::triggered, this, &TMainForm::LoadDat);
    connect(SaveDat, &QAction::triggered, this, &TMainForm::SaveDatClick);
    connect(SaveDatAs, &QAction::triggered, this, &TMainForm::SaveDatAsClick);
    connect(Exit1, &QAction::triggered, this, &QWidget::close);

    // Menu hints are kept as tooltips, which menus do not show.
    DecDegrees = makeAction(this, "DecDegrees", tr("Dec Degrees"));
    DecDegrees->setToolTip(QStringLiteral("+-ddd.ddddd"));
    DecMins = makeAction(this, "DecMins", tr("Dec Mins"));
    DecMins->setToolTip(QStringLiteral("E10*10.72"));
    DegMinSec = makeAction(this, "DegMinSec", tr("Deg Min Sec"));
    DegMinSec->setToolTip(QStringLiteral("W10*51'21\""));
    auto* formats = new QActionGroup(this);
    for (QAction* item : {DecDegrees, DecMins, DegMinSec}) {
        item->setCheckable(true);
        formats->addAction(item);
    }
    connect(DecDegrees, &QAction::triggered, this, [this] { SetLatLonFormat(decDegrees); });
    connect(DecMins, &QAction::triggered, this, [this] { SetLatLonFormat(decMins); });
    connect(DegMinSec, &QAction::triggered, this, [this] { SetLatLonFormat(degMinSec); });

    Meters = makeAction(this, "Meters", tr("Meters"));
    Feet = makeAction(this, "Feet", tr("Feet"));
    auto* units = new QActionGroup(this);
    for (QAction* item : {Meters, Feet}) {
        item->setCheckable(true);
        units->addAction(item);
    }
    Meters->setChecked(true);
    connect(Meters, &QAction::triggered, this, [this] { ApplyHeightUnits(meters); });
    connect(Feet, &QAction::triggered, this, [this] { ApplyHeightUnits(feet); });

    ClickToAddThermal = makeAction(this, "ClickToAddThermal", tr("Thermal"));
    ClickToAddWaypoint = makeAction(this, "ClickToAddWaypoint", tr("Waypoint"));
    auto* clickModes = new QActionGroup(this);
    for (QAction* item : {ClickToAddThermal, ClickToAddWaypoint}) {
        item->setCheckable(true);
        clickModes->addAction(item);
    }
    ClickToAddThermal->setChecked(true);

    ShowThermalData = makeAction(this, "ShowThermalData", tr("&Data ..."));
    ClearAllThermals = makeAction(this, "ClearAllThermals", tr("Clear All"));
    ClearAllThermals->setEnabled(false);
    Thermik = makeAction(this, "Thermik", tr("Thermik"));
    Cumulus = makeAction(this, "Cumulus", tr("Cumulus"));
    Randomize1 = makeAction(this, "Randomize1", tr("Randomize"));
    ClearAllWaypoints = makeAction(this, "ClearAllWaypoints", tr("ClearAll"));
    OpenLog = makeAction(this, "OpenLog", tr("&Open"));
    About1 = makeAction(this, "About1", tr("&About"));
    connect(ShowThermalData, &QAction::triggered, this, [this] {
        ThermalData->show();
        ThermalData->raise();
    });
    connect(ClearAllThermals, &QAction::triggered, this, &TMainForm::ClearAllThermalsClick);
    connect(Thermik, &QAction::triggered, this, &TMainForm::ThermikClick);
    connect(Cumulus, &QAction::triggered, this, &TMainForm::CumulusClick);
    connect(Randomize1, &QAction::triggered, this, &TMainForm::Randomize1Click);
    connect(ClearAllWaypoints, &QAction::triggered, this, &TMainForm::ClearAllWaypointsClick);
    connect(OpenLog, &QAction::triggered, this, &TMainForm::OpenLogClick);
    connect(About1, &QAction::triggered, this, [this] {
        About->show();
        About->raise();
    });

    openProjectButton = makeAction(this, "openProjectButton", tr("Load Project"));
    openProjectButton->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    openProjectButton->setToolTip(tr("Load Project File"));
    saveProjectButton = makeAction(this, "saveProjectButton", tr("Save Project"));
    saveProjectButton->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    saveProjectButton->setToolTip(tr("Save Project File"));
    addACThermal = makeAction(this, "addACThermal", tr("Thermal"));
    addACThermal->setToolTip(tr("Add thermal at aircraft position"));
    addACWaypoint = makeAction(this, "addACWaypoint", tr("Waypoint"));
    addACWaypoint->setToolTip(tr("Add waypoint at aircraft position"));
    ToolButton3 = makeAction(this, "ToolButton3", tr("Zoom In"));
    ToolButton3->setIcon(ZoomIcon(true));
    ToolButton3->setToolTip(tr("Zoom In"));
    ToolButton3->setShortcut(QKeySequence::ZoomIn);
    ToolButton5 = makeAction(this, "ToolButton5", tr("Zoom Out"));
    ToolButton5->setIcon(ZoomIcon(false));
    ToolButton5->setToolTip(tr("Zoom Out"));
    ToolButton5->setShortcut(QKeySequence::ZoomOut);
    connect(openProjectButton, &QAction::triggered, this, [this] { LoadProject(false); });
    connect(saveProjectButton, &QAction::triggered, this, &TMainForm::SaveProjectClick);
    connect(addACThermal, &QAction::triggered, this, [this] { ThermalAtAircraft(); });
    connect(addACWaypoint, &QAction::triggered, this, [this] { WaypointAtAircraft(); });
    connect(ToolButton3, &QAction::triggered, this, &TMainForm::Button1Click);
    connect(ToolButton5, &QAction::triggered, this, &TMainForm::Button2Click);
}

void TMainForm::createMenus() {
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->setObjectName(QStringLiteral("File1"));
    file->addActions({LoadProject1, SaveProject, SaveProjectAs, AddProjectThermals, LoadDat1,
                      SaveDat, SaveDatAs, LoadLog1});
    file->addSeparator();
    file->addAction(Exit1);

    QMenu* options = menuBar()->addMenu(tr("&Options"));
    options->setObjectName(QStringLiteral("Options1"));
    QMenu* latLong = options->addMenu(tr("Lat Long Units"));
    latLong->setObjectName(QStringLiteral("LatLongUnits"));
    latLong->addActions({DecDegrees, DecMins, DegMinSec});
    QMenu* height = options->addMenu(tr("Height Units"));
    height->setObjectName(QStringLiteral("HeightUnits"));
    height->addActions({Meters, Feet});
    QMenu* clickToAdd = options->addMenu(tr("Click To Add"));
    clickToAdd->setObjectName(QStringLiteral("ClickToAdd"));
    clickToAdd->addActions({ClickToAddThermal, ClickToAddWaypoint});

    QMenu* thermal = menuBar()->addMenu(tr("&Thermal"));
    thermal->setObjectName(QStringLiteral("Thermal1"));
    thermal->addActions({ShowThermalData, ClearAllThermals});
    CreateThermals = thermal->addMenu(tr("Create"));
    CreateThermals->setObjectName(QStringLiteral("CreateThermals"));
    CreateThermals->addActions({Thermik, Cumulus});
    CreateThermals->setEnabled(false);
    thermal->addAction(Randomize1);

    QMenu* waypointMenu = menuBar()->addMenu(tr("&Waypoints"));
    waypointMenu->setObjectName(QStringLiteral("Waypoints1"));
    waypointMenu->addAction(ClearAllWaypoints);

    QMenu* log = menuBar()->addMenu(tr("&Log"));
    log->setObjectName(QStringLiteral("Log1"));
    log->addAction(OpenLog);

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    help->setObjectName(QStringLiteral("Help1"));
    help->addAction(About1);
}

void TMainForm::createToolBar() {
    ToolBar1 = addToolBar(tr("Tools"));
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setIconSize(QSize(16, 16));
    ToolBar1->setContextMenuPolicy(Qt::PreventContextMenu);
    ToolBar1->addAction(openProjectButton);
    ToolBar1->addAction(saveProjectButton);
    ToolBar1->addSeparator();
    ToolBar1->addAction(addACThermal);
    ToolBar1->addSeparator();
    ToolBar1->addAction(addACWaypoint);
    waypointDescription = new QLineEdit(QStringLiteral("Waypoint 1"), ToolBar1);
    waypointDescription->setObjectName(QStringLiteral("waypointDescription"));
    waypointDescription->setToolTip(tr("Waypoint description"));
    waypointDescription->setFixedWidth(178);
    ToolBar1->addWidget(waypointDescription);
    ToolBar1->addSeparator();
    ToolBar1->addAction(ToolButton3);
    ToolBar1->addAction(ToolButton5);
    auto* swallow = new SwallowToolTips(this);
    for (QAction* zoomButton : {ToolButton3, ToolButton5})
        ToolBar1->widgetForAction(zoomButton)->installEventFilter(swallow);
}

void TMainForm::createStatusBar() {
    static constexpr int widths[5] = {100, 100, 50, 100, 100};
    for (int i = 0; i < 5; ++i) {
        statusPanels[i] = new QLabel(statusBar());
        statusPanels[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        statusPanels[i]->setFixedWidth(widths[i]);
        statusPanels[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        statusBar()->addWidget(statusPanels[i]);
    }
}

void TMainForm::createPopupMenus() {
    MapPopupMenu = new QMenu(this);
    MapPopupMenu->setObjectName(QStringLiteral("MapPopupMenu"));
    connect(MapPopupMenu->addAction(tr("Move AC Here")), &QAction::triggered, this,
            &TMainForm::MoveACHere1Click);
    connect(MapPopupMenu->addAction(tr("Add Thermal")), &QAction::triggered, this,
            &TMainForm::Thermal2Click);
    connect(MapPopupMenu->addAction(tr("Add Waypoint")), &QAction::triggered, this,
            &TMainForm::AddWaypoint1Click);

    ThermalPopup = new QMenu(this);
    ThermalPopup->setObjectName(QStringLiteral("ThermalPopup"));
    connect(ThermalPopup->addAction(tr("Delete")), &QAction::triggered, this,
            &TMainForm::Delete1Click);
    connect(ThermalPopup->addAction(tr("Get Data")), &QAction::triggered, this,
            &TMainForm::GetDataClick);
    connect(ThermalPopup->addAction(tr("Set Data")), &QAction::triggered, this,
            &TMainForm::SetData1Click);

    WaypointPopup = new QMenu(this);
    WaypointPopup->setObjectName(QStringLiteral("WaypointPopup"));
    connect(WaypointPopup->addAction(tr("Delete")), &QAction::triggered, this,
            &TMainForm::DeleteWaypointClick);
}

void TMainForm::createTimers(QSettings& settings) {
    const TimerIntervals intervals = ReadTimerIntervals(settings);
    const auto makeTimer = [this](const char* name, int interval, void (TMainForm::*handler)()) {
        auto* timer = new QTimer(this);
        timer->setObjectName(QLatin1String(name));
        timer->setInterval(interval);
        connect(timer, &QTimer::timeout, this, handler);
        // An interval of 0 means the timer does not run (Qt would fire it continuously).
        if (interval > 0)
            timer->start();
        return timer;
    };
    Profiler = makeTimer("Profiler", intervals.profiler, &TMainForm::ProfilerTimer);
    DisplayUpdateTimer =
        makeTimer("DisplayUpdateTimer", intervals.display, &TMainForm::DisplayUpdateTimerTimer);
    ReadDataTimer = makeTimer("ReadDataTimer", intervals.dataRead, &TMainForm::ReadDataTimerTimer);
}

void TMainForm::connectView() {
    connect(ImagePanel, &MapView::imageMouseMoved, this, &TMainForm::mainImageMouseMove);
    connect(ImagePanel, &MapView::imageClicked, this, &TMainForm::mainImageClick);
    connect(ImagePanel, &MapView::imageContextMenu, this, &TMainForm::mainImageContextPopup);
    connect(ImagePanel, &MapView::thermalContextMenu, this,
            [this](TThermal* t, const QPoint& globalPos) {
                popupThermal = t;
                ThermalPopup->popup(globalPos);
            });
    connect(ImagePanel, &MapView::waypointContextMenu, this,
            [this](TWaypoint* w, const QPoint& globalPos) {
                popupWaypoint = w;
                WaypointPopup->popup(globalPos);
            });
    connect(ImagePanel, &MapView::resized, this, &TMainForm::ImagePanelResize);
}

void TMainForm::stopTimers() {
    ReadDataTimer->stop();
    DisplayUpdateTimer->stop();
    Profiler->stop();
}

QString TMainForm::statusText(int panel) const {
    return statusPanels[panel]->text();
}

void TMainForm::BringCursorToFront() {
    // Glyphs stay at the default z of 0.
    acCursor->setZValue(1);
}

void TMainForm::closeEvent(QCloseEvent* event) {
    // Both questions are asked, each only when its flag is set; a No to either keeps the
    // window open.
    const bool projectMayGo = MayDiscardProject();
    const bool waypointsMayGo = MayDiscardWaypoints();
    if (!projectMayGo || !waypointsMayGo) {
        event->ignore();
        return;
    }
    stopTimers();
    for (QWidget* window : {static_cast<QWidget*>(ThermalData), static_cast<QWidget*>(About),
                            static_cast<QWidget*>(RandomizeForm)})
        window->close();
    event->accept();
}

// File commands.

bool TMainForm::MayDiscardProject() {
    return !project.modified || prompts().ask(QStringLiteral("Project Modified"),
                                              QStringLiteral("Project Modified, Continue?"));
}

bool TMainForm::MayDiscardWaypoints() {
    return !dat.modified || prompts().ask(QStringLiteral("Waypoints Modified"),
                                          QStringLiteral("Waypoints Modified, Continue?"));
}

void TMainForm::LoadProject(bool add) {
    if (!add && !(MayDiscardProject() && MayDiscardWaypoints()))
        return;
    const auto file = prompts().openFile(
        {QStringLiteral("Project files (*.prj)|*.PRJ"), QStringLiteral("prj"), project.folder});
    if (!file)
        return;
    LoadProjectFile(*file, add);
}

void TMainForm::LoadProjectFile(const QString& path, bool add) {
    if (!add) {
        ClearThermals();
        ClearWaypoints();
        // The waypoints were given up with the old project: nothing of them is unsaved now.
        dat.modified = false;
        zoom = 1;
    }
    project.Load(path, *ImagePanel, add);
    for (QAction* item :
         {SaveProject, SaveProjectAs, ClearAllThermals, AddProjectThermals, LoadDat1, SaveDatAs})
        item->setEnabled(true);
    CreateThermals->setEnabled(true);
    SaveDat->setEnabled(false);
    setWindowTitle(BaseCaption() + project.fileName);
    BringCursorToFront();
    ThermalData->thermals = &thermals;
}

void TMainForm::LoadDat() {
    if (!MayDiscardWaypoints())
        return;
    const auto file = prompts().openFile(
        {QStringLiteral("Dat files (*.dat)|*.DAT"), QStringLiteral("dat"), dat.folder});
    if (!file)
        return;
    LoadDatFile(*file);
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
    const DroppedFiles files = ClassifyDroppedFiles(event->mimeData()->urls());
    // Waypoints need a project's map, as "Load Dat" does.
    if (!files.project.isEmpty() || (!files.waypoints.isEmpty() && LoadDat1->isEnabled()))
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
    // the load commands; waypoints only once a project has enabled "Load Dat".
    if (!files.project.isEmpty()) {
        if (!MayDiscardProject() || !MayDiscardWaypoints())
            return;
        LoadProjectFile(files.project, false);
    } else if (files.waypoints.isEmpty() || !LoadDat1->isEnabled() || !MayDiscardWaypoints()) {
        return;
    }
    if (!files.waypoints.isEmpty())
        LoadDatFile(files.waypoints);
}

void TMainForm::LoadDatFile(const QString& path) {
    ClearWaypoints();
    dat.Load(path, *ImagePanel);
    SaveDat->setEnabled(true);
    SaveDatAs->setEnabled(true);
    setWindowTitle(BaseCaption() + project.fileName + QStringLiteral("   ") + dat.fileName);
    BringCursorToFront();
}

void TMainForm::ClearThermals() {
    // The profiler must never reach a removed thermal.
    profiler->Forget(nullptr);
    popupThermal = nullptr;
    DestroyNewestFirst(thermals);
}

void TMainForm::ClearWaypoints() {
    popupWaypoint = nullptr;
    DestroyNewestFirst(waypoints);
}

void TMainForm::SaveProjectClick() {
    project.Save(ThermalData->GetSaveCuData());
}

void TMainForm::SaveProjectAsClick() {
    project.SaveAs(ThermalData->GetSaveCuData());
    setWindowTitle(BaseCaption() + project.fileName);
}

void TMainForm::SaveDatClick() {
    dat.Save();
}

void TMainForm::SaveDatAsClick() {
    dat.SaveAs();
    setWindowTitle(BaseCaption() + project.fileName + QStringLiteral("   ") + dat.fileName);
}
