#include "mainform.h"

#include "aboutform.h"
#include "dialogs/climbswindow.h"
#include "dialogs/randomize.h"
#include "dialogs/thermaldata.h"
#include "droppedfiles.h"
#include "flightrecorder.h"
#include "glyphlegend.h"
#include "io/scenerytool.h"
#include "io/settings.h"
#include "livetracking.h"
#include "prompts/prompts.h"
#include "scene/accursor.h"
#include "scene/flighttrackitem.h"
#include "scene/layers.h"
#include "scene/mapview.h"
#include "scene/trailitem.h"
#include "simlink/simlink.h"
#include "toolbaricons.h"

#include <algorithm>
#include <cmath>

#include <QActionGroup>
#include <QCloseEvent>
#include <QDir>
#include <QDockWidget>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QSettings>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QUndoStack>

namespace {

// The zoom buttons carry their hints but never show them.
class SwallowToolTips : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        return event->type() == QEvent::ToolTip || QObject::eventFilter(watched, event);
    }
};

QString Caption(const char* text) {
    return QString::fromUtf8(text);
}

} // namespace

TMainForm::TMainForm(const LiveTracking::LinkFactory& makeLink, const QString& settingsPath,
                     const QString& statePath, QWidget* parent)
    : QMainWindow(parent)
    , toolDir(QDir::currentPath())
    , statePath_(statePath) {
    setObjectName(QStringLiteral("MainForm"));
    setAcceptDrops(true);
    move(161, 135);
    resize(544, 354);

    ImagePanel = new MapView(document_.map(), units_, this);
    ImagePanel->setObjectName(QStringLiteral("ImagePanel"));
    // The map is fitted to the panel's outer size; without a frame that is the visible
    // area, so a fitted map needs no scroll bar.
    ImagePanel->setFrameShape(QFrame::NoFrame);
    // Beyond the map's edges the panel shows the window's colour, not a white page.
    ImagePanel->setBackgroundBrush(palette().window());
    setCentralWidget(ImagePanel);
    createCommands();
    createToolBar();
    createFlightData();
    createStatusBar();
    createPopupMenus();
    // Wide enough for the status bar's panels, high enough for the flight data as well.
    resize(std::max(width(), statusBar()->sizeHint().width()),
           height() + findChild<QToolBar*>(QStringLiteral("FlightData"))->sizeHint().height());

    QSettings settings(settingsPath, QSettings::IniFormat);
    // Thermal Data is a panel of this window: it cannot fall behind it, and a click meant
    // for it cannot reach the map.
    ThermalData = new TThermalData(units_);
    thermalDock_ = new QDockWidget(ThermalData->windowTitle(), this);
    thermalDock_->setObjectName(QStringLiteral("ThermalDataDock"));
    thermalDock_->setWidget(ThermalData);
    addDockWidget(Qt::RightDockWidgetArea, thermalDock_);
    live_ = std::make_unique<LiveTracking>(makeLink, document_, ReadTimerIntervals(settings));
    live_->SetSettings(ThermalData->liveSettings());
    connect(ThermalData, &TThermalData::liveSettingsChanged, live_.get(),
            &LiveTracking::SetSettings);
    connect(ThermalData, &TThermalData::liftModelChosen, this, &TMainForm::rememberChoices);
    connect(live_.get(), &LiveTracking::aircraftShown, this, &TMainForm::showAircraft);
    connect(live_.get(), &LiveTracking::note, this, &TMainForm::ShowNote);
    connect(&document_, &Document::note, this, &TMainForm::ShowNote);
    connect(&document_, &Document::modifiedChanged, this, &TMainForm::refreshCaption);
    // Apply To All and Randomize change thermals the windows know nothing of.
    connect(ThermalData, &TThermalData::applyProfileToAll, this,
            [this](const ThermalSettings& values) {
                document_.ChangeThermals(tr("Apply Profile To All"),
                                         ProfileToAll(document_.thermals(), values));
            });
    connect(ThermalData, &TThermalData::applyCumulusToAll, this,
            [this](const ThermalSettings& values) {
                document_.ChangeThermals(tr("Apply Cumulus To All"),
                                         CumulusToAll(document_.thermals(), values));
            });
    connectDocument();

    setWindowTitle(BaseCaption());
    SetLatLonFormat(decMins);
    acCursor = new TacCursor(ReadCursorSettings(settings));
    ImagePanel->scene()->addItem(acCursor);
    thermalAreas_ = new ThermalAreas(document_.thermals(), document_.map());
    ImagePanel->scene()->addItem(thermalAreas_);
    ImagePanel->scene()->addItem(new WaypointLabels(document_.waypoints(), document_.map()));
    trail_ = new TrailItem(live_->trail(), document_.map());
    ImagePanel->scene()->addItem(trail_);
    connect(&document_.map(), &Map::displayChanged, this, [this] { trail_->Relayout(); });

    About = new TAbout(this);
    RandomizeForm = new TRandomizeForm(this);
    connect(RandomizeForm, &TRandomizeForm::randomized, this, [this](const ThermalValues& values) {
        document_.ChangeThermals(tr("Randomize"), values);
    });
    Legend = NewGlyphLegend(this);
    Climbs = new ClimbsWindow(this);
    connect(Climbs, &ClimbsWindow::climbsChosen, this, &TMainForm::ShowChosenClimbs);
    connect(Climbs, &ClimbsWindow::addAsThermals, this, &TMainForm::AddClimbsAsThermals);
    connect(&document_.map(), &Map::displayChanged, this, [this] {
        if (track_)
            track_->Relayout();
    });
    recorder_ = new FlightRecorder(live_->link(), this);
    connect(recorder_, &FlightRecorder::stopped, this,
            [this] { action(Command::RecordFlight)->setChecked(false); });
    restoreChoices();
}

TMainForm::~TMainForm() {
    // No timer event may reach the objects released below.
    live_->StopTimers();
    recorder_->Stop();
    rememberChoices();
    // The map's items draw from the document and the trail, which go before the child widgets.
    delete ImagePanel;
}

QMenu* TMainForm::menu(Place place) {
    QMenu*& slot = menus_[static_cast<std::size_t>(place)];
    if (!slot) {
        const MenuEntry& entry = MenuOf(place);
        slot = entry.parent == place ? menuBar()->addMenu(Caption(entry.caption))
                                     : menu(entry.parent)->addMenu(Caption(entry.caption));
        slot->setObjectName(QLatin1String(entry.name));
    }
    return slot;
}

void TMainForm::createCommands() {
    std::array<QActionGroup*, 5> groups{};
    for (const CommandEntry& entry : CommandTable()) {
        auto* item = new QAction(Caption(entry.caption), this);
        item->setObjectName(QLatin1String(entry.name));
        item->setEnabled(entry.enabled);
        // Menu hints are kept as tooltips, which menus do not show.
        if (entry.hint)
            item->setToolTip(Caption(entry.hint));
        QList<QKeySequence> keys = QKeySequence::keyBindings(entry.key);
        if (keys.isEmpty() && entry.otherwise)
            keys = {QKeySequence(QLatin1String(entry.otherwise))};
        item->setShortcuts(keys);
        if (entry.group == CheckGroup::own) {
            item->setCheckable(true);
        } else if (entry.group != CheckGroup::none) {
            QActionGroup*& group = groups[static_cast<std::size_t>(entry.group)];
            if (!group)
                group = new QActionGroup(this);
            item->setCheckable(true);
            group->addAction(item);
        }
        if (entry.place != Place::toolBar) {
            if (entry.separatorBefore)
                menu(entry.place)->addSeparator();
            menu(entry.place)->addAction(item);
        }
        connect(item, &QAction::triggered, this, [this, c = entry.command] { runCommand(c); });
        actions_[static_cast<std::size_t>(entry.command)] = item;
    }
    action(Command::Redo)
        ->setShortcuts(
            {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    action(Command::Undo)
        ->setIcon(QIcon::fromTheme(QStringLiteral("edit-undo"),
                                   style()->standardIcon(QStyle::SP_ArrowBack)));
    action(Command::Redo)
        ->setIcon(QIcon::fromTheme(QStringLiteral("edit-redo"),
                                   style()->standardIcon(QStyle::SP_ArrowForward)));
    action(Command::Meters)->setChecked(true);
    action(Command::ClickToAddThermal)->setChecked(true);
    action(Command::FollowAircraft)->setChecked(true);
    // The last files opened, kept with the user's choices.
    recentMenu_ = new QMenu(tr("&Recent"), this);
    recentMenu_->setObjectName(QStringLiteral("RecentFiles"));
    menu(Place::file)->insertMenu(action(Command::Exit1), recentMenu_);
    menu(Place::file)->insertSeparator(action(Command::Exit1));
    menu(Place::create)->setEnabled(false);
    action(Command::openProjectButton)->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    action(Command::saveProjectButton)->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    action(Command::ToolButton3)->setIcon(ZoomIcon(true));
    action(Command::ToolButton5)->setIcon(ZoomIcon(false));
}

void TMainForm::createToolBar() {
    QToolBar* bar = addToolBar(tr("Tools"));
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(16, 16));
    bar->setContextMenuPolicy(Qt::PreventContextMenu);
    for (const CommandEntry& entry : CommandTable()) {
        if (entry.place != Place::toolBar)
            continue;
        if (entry.separatorBefore)
            bar->addSeparator();
        bar->addAction(action(entry.command));
        if (entry.command == Command::addACWaypoint) {
            waypointDescription = new QLineEdit(QStringLiteral("Waypoint 1"), bar);
            waypointDescription->setObjectName(QStringLiteral("waypointDescription"));
            waypointDescription->setToolTip(tr("Waypoint description"));
            waypointDescription->setFixedWidth(178);
            // A comma or a line break, typed or pasted, would cut the waypoint apart in its
            // file: they never enter the box.
            connect(waypointDescription, &QLineEdit::textEdited, this, [this](const QString& text) {
                const QString field = QString::fromStdString(WaypointFieldText(text.toStdString()));
                if (field == text)
                    return;
                const int cursor = waypointDescription->cursorPosition();
                waypointDescription->setText(field);
                waypointDescription->setCursorPosition(
                    std::max(0, cursor - int(text.size() - field.size())));
            });
            bar->addWidget(waypointDescription);
        }
    }
    auto* swallow = new SwallowToolTips(this);
    for (Command zoomButton : {Command::ToolButton3, Command::ToolButton5})
        bar->widgetForAction(action(zoomButton))->installEventFilter(swallow);
    // Menu commands with a button too, at the end.
    bar->addSeparator();
    for (const CommandEntry& entry : CommandTable()) {
        if (entry.onToolBarToo)
            bar->addAction(action(entry.command));
    }
}

void TMainForm::createFlightData() {
    // The flight as a pilot reads it, in a strip of its own under the toolbar.
    addToolBarBreak();
    QToolBar* strip = addToolBar(tr("Flight Data"));
    strip->setObjectName(QStringLiteral("FlightData"));
    strip->setMovable(false);
    strip->setFloatable(false);
    strip->setContextMenuPolicy(Qt::PreventContextMenu);
    for (std::size_t i = 0; i < flightData_.size(); ++i) {
        flightData_[i] = new QLabel(strip);
        flightData_[i]->setContentsMargins(4, 0, 8, 0);
        strip->addWidget(flightData_[i]);
    }
    // The open flight log's line, at the strip's end.
    flightLine_ = new QLabel(strip);
    flightLine_->setObjectName(QStringLiteral("FlightLine"));
    flightLine_->setContentsMargins(12, 0, 8, 0);
    strip->addWidget(flightLine_);
    flightLine_->hide();
}

QString TMainForm::flightDataText() const {
    QStringList parts;
    for (const QLabel* label : flightData_)
        parts << label->text();
    return parts.join(QLatin1Char('|'));
}

void TMainForm::createStatusBar() {
    // The aircraft's position and ground, the pointer's position, then the link's state. A
    // position panel holds the longest text of the three formats; the full text is its hint.
    const QFontMetrics metrics(statusBar()->font());
    const int position = metrics.horizontalAdvance(QStringLiteral("W179\u00B059'59.9\"")) + 8;
    const int ground = metrics.horizontalAdvance(QStringLiteral("-12345ft")) + 8;
    const std::array<int, 6> widths = {
        position, position, std::max(50, ground),
        position, position, metrics.horizontalAdvance(QStringLiteral("Not answering 9999 s")) + 8};
    for (std::size_t i = 0; i < statusPanels.size(); ++i) {
        statusPanels[i] = new QLabel(statusBar());
        statusPanels[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        statusPanels[i]->setFixedWidth(widths[i]);
        statusPanels[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        statusBar()->addWidget(statusPanels[i]);
    }
    note_ = new QLabel(statusBar());
    note_->setObjectName(QStringLiteral("StatusNote"));
    statusBar()->addWidget(note_, 1);
    noteTimer_ = new QTimer(this);
    noteTimer_->setSingleShot(true);
    noteTimer_->setInterval(6000);
    connect(noteTimer_, &QTimer::timeout, note_, &QLabel::clear);
}

void TMainForm::ShowNote(const QString& text) {
    note_->setText(text);
    noteTimer_->start();
}

QString TMainForm::noteText() const {
    return note_->text();
}

void TMainForm::createPopupMenus() {
    MapPopupMenu = new QMenu(this);
    MapPopupMenu->setObjectName(QStringLiteral("MapPopupMenu"));
    // Each at the map point under the pointer when the popup opened.
    connect(MapPopupMenu->addAction(tr("Move AC Here")), &QAction::triggered, this, [this] {
        live_->MoveAircraft(document_.map().PositionAt({popupX, popupY}));
    });
    connect(MapPopupMenu->addAction(tr("Add Thermal")), &QAction::triggered, this, [this] {
        if (ThermalData->CheckValues(ValueUse::thermal))
            live_->AddThermal(document_.map().PositionAt({popupX, popupY}));
    });
    connect(MapPopupMenu->addAction(tr("Add Waypoint")), &QAction::triggered, this, [this] {
        AddWaypoint(document_.map().PositionAt({popupX, popupY}));
    });

    ThermalPopup = new QMenu(this);
    ThermalPopup->setObjectName(QStringLiteral("ThermalPopup"));
    connect(ThermalPopup->addAction(tr("Delete")), &QAction::triggered, this,
            [this] { document_.DeleteThermal(popupThermal); });
    connect(ThermalPopup->addAction(tr("Get Data")), &QAction::triggered, this,
            &TMainForm::GetData);
    connect(ThermalPopup->addAction(tr("Set Data")), &QAction::triggered, this, [this] {
        if (popupThermal && ThermalData->CheckValues(ValueUse::thermal))
            document_.SetThermalData(*popupThermal, ThermalData->values());
    });

    WaypointPopup = new QMenu(this);
    WaypointPopup->setObjectName(QStringLiteral("WaypointPopup"));
    connect(WaypointPopup->addAction(tr("Delete")), &QAction::triggered, this,
            [this] { document_.DeleteWaypoint(popupWaypoint); });
    connect(WaypointPopup->addAction(tr("Rename...")), &QAction::triggered, this,
            [this] { RenameWaypoint(popupWaypoint); });

    connect(ImagePanel, &MapView::imageMouseMoved, this, &TMainForm::mainImageMouseMove);
    connect(ImagePanel, &MapView::imageClicked, this, &TMainForm::mainImageClick);
    connect(ImagePanel, &MapView::imageContextMenu, this,
            [this](int x, int y, const QPoint& globalPos) {
                popupX = x;
                popupY = y;
                MapPopupMenu->popup(globalPos);
            });
    connect(ImagePanel, &MapView::thermalContextMenu, this,
            [this](const Thermal* t, const QPoint& globalPos) {
                popupThermal = t;
                ThermalPopup->popup(globalPos);
            });
    connect(ImagePanel, &MapView::waypointContextMenu, this,
            [this](const Waypoint* w, const QPoint& globalPos) {
                popupWaypoint = w;
                WaypointPopup->popup(globalPos);
            });
    connect(ImagePanel, &MapView::waypointDoubleClicked, this, [this](const Waypoint* w) {
        popupWaypoint = w; // cleared as the popup's is, should the waypoint go meanwhile
        RenameWaypoint(popupWaypoint);
    });
    connect(ImagePanel, &MapView::thermalDragged, this, [this](const Thermal* t, QPoint by) {
        document_.MoveThermal(t, document_.map().frame().MovedBy(t->Position(), by.x(), by.y()));
    });
    connect(ImagePanel, &MapView::waypointDragged, this, [this](const Waypoint* w, QPoint by) {
        document_.MoveWaypoint(w, document_.map().frame().MovedBy(w->Position(), by.x(), by.y()));
    });
    connect(ImagePanel, &MapView::resized, this, &TMainForm::ImagePanelResize);
    // Files dropped on the map open as anywhere else on the window.
    connect(ImagePanel, &MapView::dragEntered, this, &TMainForm::dragEnterEvent);
    connect(ImagePanel, &MapView::dropped, this, &TMainForm::dropEvent);
    // The wheel zooms about the pointer by a quarter a notch; moving the map by hand ends
    // following the aircraft.
    connect(ImagePanel, &MapView::wheelZoom, this,
            [this](double steps, QPoint at) { ZoomAbout(zoom * std::pow(1.25, steps), at); });
    connect(ImagePanel, &MapView::panStarted, this,
            [this] { action(Command::FollowAircraft)->setChecked(false); });
}

void TMainForm::connectDocument() {
    connect(&document_, &Document::thermalsAdded, this, [this](std::size_t first, std::size_t n) {
        ImagePanel->AdoptThermals(document_.thermals(), first, n);
    });
    connect(&document_, &Document::waypointsAdded, this, [this](std::size_t first, std::size_t n) {
        ImagePanel->AdoptWaypoints(document_.waypoints(), first, n);
    });
    // A popup pointer is compared by identity; a new value could take a removed one's place.
    connect(&document_, &Document::thermalsRemoving, this,
            [this](std::size_t first, std::size_t n) {
                for (std::size_t i = first; i < first + n; ++i) {
                    if (document_.thermals()[i].get() == popupThermal)
                        popupThermal = nullptr;
                }
            });
    connect(&document_, &Document::waypointsRemoving, this,
            [this](std::size_t first, std::size_t n) {
                for (std::size_t i = first; i < first + n; ++i) {
                    if (document_.waypoints()[i].get() == popupWaypoint)
                        popupWaypoint = nullptr;
                }
            });
    // The Edit menu follows the history.
    QUndoStack& history = document_.history();
    const auto name = [this](Command command, const QString& step) {
        action(command)->setText(step.isEmpty()
                                     ? Caption(CommandTable()[std::size_t(command)].caption)
                                     : Caption(CommandTable()[std::size_t(command)].caption) +
                                           QLatin1Char(' ') + step);
    };
    connect(&history, &QUndoStack::undoTextChanged, this,
            [name](const QString& step) { name(Command::Undo, step); });
    connect(&history, &QUndoStack::redoTextChanged, this,
            [name](const QString& step) { name(Command::Redo, step); });
    connect(&history, &QUndoStack::canUndoChanged, action(Command::Undo), &QAction::setEnabled);
    connect(&history, &QUndoStack::canRedoChanged, action(Command::Redo), &QAction::setEnabled);
}

QString TMainForm::statusText(int panel) const {
    return statusPanels[static_cast<std::size_t>(panel)]->text();
}

void TMainForm::closeEvent(QCloseEvent* event) {
    // One question per file with unsaved changes; a Cancel, or a save that does not happen,
    // keeps the window open.
    if (!MayDiscardProject() || !MayDiscardWaypoints()) {
        event->ignore();
        return;
    }
    live_->StopTimers();
    recorder_->Stop();
    for (QWidget* window : {static_cast<QWidget*>(About), static_cast<QWidget*>(RandomizeForm),
                            static_cast<QWidget*>(Climbs)})
        window->close();
    event->accept();
}
