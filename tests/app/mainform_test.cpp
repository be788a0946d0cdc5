#include "app/aboutform.h"
#include "appfixture.h"
#include "dialogs/randomize.h"
#include "dialogs/thermaldata.h"

#include <QAction>
#include <QFile>
#include <QHelpEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>

namespace {

QStringList captions(const QList<QAction*>& actions) {
    QStringList out;
    for (const QAction* a : actions)
        out << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return out;
}

} // namespace

using MainFormStart = AppTest;

TEST_F(MainFormStart, CaptionAndMenuBar) {
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Brevan Talvor 1.0 beta 1   "));
    EXPECT_EQ(captions(form->menuBar()->actions()),
              (QStringList{"&File", "&Options", "&Thermal", "&Waypoints", "&Log", "&Help"}));
    EXPECT_EQ(
        captions(menu("File1")->actions()),
        (QStringList{"Load &Project", "&Save Project", "Save Project &As", "A&dd Project Thermals",
                     "Load &Dat", "Sa&ve Dat", "Save Dat As", "Load &Log", "-", "&Exit"}));
    EXPECT_EQ(captions(menu("Options1")->actions()),
              (QStringList{"Lat Long Units", "Height Units", "Click To Add"}));
    EXPECT_EQ(captions(menu("LatLongUnits")->actions()),
              (QStringList{"Dec Degrees", "Dec Mins", "Deg Min Sec"}));
    EXPECT_EQ(captions(menu("HeightUnits")->actions()), (QStringList{"Meters", "Feet"}));
    EXPECT_EQ(captions(menu("ClickToAdd")->actions()), (QStringList{"Thermal", "Waypoint"}));
    EXPECT_EQ(captions(menu("Thermal1")->actions()),
              (QStringList{"&Data ...", "Clear All", "Create", "Randomize"}));
    EXPECT_EQ(captions(menu("CreateThermals")->actions()), (QStringList{"Thermik", "Cumulus"}));
    EXPECT_EQ(captions(menu("Waypoints1")->actions()), (QStringList{"ClearAll"}));
    EXPECT_EQ(captions(menu("Log1")->actions()), (QStringList{"&Open"}));
    EXPECT_EQ(captions(menu("Help1")->actions()), (QStringList{"&About"}));
}

TEST_F(MainFormStart, EnabledAndCheckedStates) {
    for (const char* off : {"SaveProject", "SaveProjectAs", "AddProjectThermals", "LoadDat1",
                            "SaveDat", "SaveDatAs", "LoadLog1", "ClearAllThermals"})
        EXPECT_FALSE(action(off)->isEnabled()) << off;
    EXPECT_FALSE(menu("CreateThermals")->menuAction()->isEnabled());
    for (const char* on : {"LoadProject1",
                           "Exit1",
                           "DecDegrees",
                           "DecMins",
                           "DegMinSec",
                           "Meters",
                           "Feet",
                           "ClickToAddThermal",
                           "ClickToAddWaypoint",
                           "ShowThermalData",
                           "Thermik",
                           "Cumulus",
                           "Randomize1",
                           "ClearAllWaypoints",
                           "OpenLog",
                           "About1",
                           "openProjectButton",
                           "saveProjectButton",
                           "addACThermal",
                           "addACWaypoint",
                           "ToolButton3",
                           "ToolButton5"})
        EXPECT_TRUE(action(on)->isEnabled()) << on;
    for (const char* on : {"File1", "Options1", "LatLongUnits", "HeightUnits", "ClickToAdd",
                           "Thermal1", "Waypoints1", "Log1", "Help1"})
        EXPECT_TRUE(menu(on)->menuAction()->isEnabled()) << on;
    EXPECT_TRUE(form->findChild<QLineEdit*>(QStringLiteral("waypointDescription"))->isEnabled());

    const QStringList ticked{"DecMins", "Meters", "ClickToAddThermal"};
    for (const char* item : {"DecDegrees", "DecMins", "DegMinSec", "Meters", "Feet",
                             "ClickToAddThermal", "ClickToAddWaypoint"})
        EXPECT_EQ(action(item)->isChecked(), ticked.contains(QLatin1String(item))) << item;
    EXPECT_EQ(form->latLonFormatValue(), decMins);
    EXPECT_EQ(form->zoomFactor(), 1);
}

TEST_F(MainFormStart, FormatHintsAreKeptButMenusShowNone) {
    EXPECT_EQ(action("DecDegrees")->toolTip(), QStringLiteral("+-ddd.ddddd"));
    EXPECT_EQ(action("DecMins")->toolTip(), QStringLiteral("E10*10.72"));
    EXPECT_EQ(action("DegMinSec")->toolTip(), QStringLiteral("W10*51'21\""));
    EXPECT_FALSE(menu("LatLongUnits")->toolTipsVisible());
    EXPECT_TRUE(action("DecMins")->statusTip().isEmpty());
}

TEST_F(MainFormStart, ToolBarLeftToRight) {
    auto* bar = form->findChild<QToolBar*>(QStringLiteral("ToolBar1"));
    ASSERT_NE(bar, nullptr);
    QStringList names;
    for (QAction* a : bar->actions()) {
        if (a->isSeparator())
            names << QStringLiteral("-");
        else if (QWidget* w = bar->widgetForAction(a); qobject_cast<QLineEdit*>(w))
            names << w->objectName();
        else
            names << a->objectName();
    }
    EXPECT_EQ(names, (QStringList{"openProjectButton", "saveProjectButton", "-", "addACThermal",
                                  "-", "addACWaypoint", "waypointDescription", "-", "ToolButton3",
                                  "ToolButton5"}));
    EXPECT_EQ(action("openProjectButton")->toolTip(), QStringLiteral("Load Project File"));
    EXPECT_EQ(action("saveProjectButton")->toolTip(), QStringLiteral("Save Project File"));
    EXPECT_EQ(action("addACThermal")->text(), QStringLiteral("Thermal"));
    EXPECT_EQ(action("addACThermal")->toolTip(),
              QStringLiteral("Add thermal at aircraft position"));
    EXPECT_EQ(action("addACWaypoint")->text(), QStringLiteral("Waypoint"));
    EXPECT_EQ(action("addACWaypoint")->toolTip(),
              QStringLiteral("Add waypoint at aircraft position"));
    EXPECT_FALSE(action("openProjectButton")->icon().isNull());
    EXPECT_FALSE(action("ToolButton3")->icon().isNull());

    auto* description = form->findChild<QLineEdit*>(QStringLiteral("waypointDescription"));
    ASSERT_NE(description, nullptr);
    EXPECT_EQ(description->text(), QStringLiteral("Waypoint 1"));
    EXPECT_EQ(description->toolTip(), QStringLiteral("Waypoint description"));
    EXPECT_EQ(description->width(), 178);
}

TEST_F(MainFormStart, OnlyTheZoomButtonsHideTheirHints) {
    auto* bar = form->findChild<QToolBar*>(QStringLiteral("ToolBar1"));
    const auto showsTip = [&](const char* name) {
        QToolTip::hideText();
        QWidget* button = bar->widgetForAction(action(name));
        const QPoint centre = button->rect().center();
        QHelpEvent help(QEvent::ToolTip, centre, button->mapToGlobal(centre));
        QApplication::sendEvent(button, &help);
        return QToolTip::isVisible() && QToolTip::text() == action(name)->toolTip();
    };
    EXPECT_TRUE(showsTip("addACThermal"));
    EXPECT_FALSE(showsTip("ToolButton3"));
    EXPECT_FALSE(showsTip("ToolButton5"));
    EXPECT_EQ(action("ToolButton3")->toolTip(), QStringLiteral("Zoom In"));
    EXPECT_EQ(action("ToolButton5")->toolTip(), QStringLiteral("Zoom Out"));
    QToolTip::hideText();
}

TEST_F(MainFormStart, StatusBarHasFiveFixedPanels) {
    const QList<QLabel*> panels =
        form->statusBar()->findChildren<QLabel*>(QRegularExpression("^StatusPanel\\d$"));
    ASSERT_EQ(panels.size(), 5);
    const int widths[] = {100, 100, 50, 100, 100};
    for (int i = 0; i < 5; ++i) {
        auto* panel = form->statusBar()->findChild<QLabel*>(QStringLiteral("StatusPanel%1").arg(i));
        ASSERT_NE(panel, nullptr);
        EXPECT_EQ(panel->minimumWidth(), widths[i]);
        EXPECT_EQ(panel->maximumWidth(), widths[i]);
    }
    // Left to right in panel order.
    for (int i = 1; i < 5; ++i)
        EXPECT_LT(
            form->statusBar()->findChild<QLabel*>(QStringLiteral("StatusPanel%1").arg(i - 1))->x(),
            form->statusBar()->findChild<QLabel*>(QStringLiteral("StatusPanel%1").arg(i))->x());
}

TEST_F(MainFormStart, PopupMenus) {
    EXPECT_EQ(captions(menu("MapPopupMenu")->actions()),
              (QStringList{"Move AC Here", "Add Thermal", "Add Waypoint"}));
    EXPECT_EQ(captions(menu("ThermalPopup")->actions()),
              (QStringList{"Delete", "Get Data", "Set Data"}));
    EXPECT_EQ(captions(menu("WaypointPopup")->actions()), (QStringList{"Delete"}));
}

TEST_F(MainFormStart, OtherWindows) {
    TThermalData& data = form->thermalData();
    EXPECT_EQ(data.windowTitle(), QStringLiteral("Thermal Data"));
    EXPECT_TRUE(data.isWindow());
    EXPECT_TRUE(data.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(data.isVisible());
    EXPECT_EQ(form->randomizeForm().windowTitle(), QStringLiteral("Randomize Thermals"));
    EXPECT_TRUE(form->randomizeForm().isWindow());
    EXPECT_FALSE(form->randomizeForm().isVisible());
    EXPECT_FALSE(form->aboutForm().isVisible());

    // Created after the main window in the order Thermal Data, About, Randomize Thermals.
    const QObjectList& children = form->children();
    const auto created = [&](const QObject* window) {
        return children.indexOf(window);
    };
    EXPECT_GE(created(&data), 0);
    EXPECT_LT(created(&data), created(&form->aboutForm()));
    EXPECT_LT(created(&form->aboutForm()), created(&form->randomizeForm()));

    // Closing it only hides it; "&Data ..." brings it back.
    EXPECT_TRUE(data.close());
    EXPECT_FALSE(data.isVisible());
    EXPECT_TRUE(form->isVisible());
    action("ShowThermalData")->trigger();
    EXPECT_TRUE(data.isVisible());
}

TEST_F(MainFormStart, StandardShortcuts) {
    EXPECT_EQ(action("LoadProject1")->shortcut(), QKeySequence(QKeySequence::Open));
    EXPECT_EQ(action("SaveProject")->shortcut(), QKeySequence(QKeySequence::Save));
    EXPECT_EQ(action("SaveProjectAs")->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+S")));
    EXPECT_EQ(action("ToolButton3")->shortcut(), QKeySequence(QKeySequence::ZoomIn));
    EXPECT_EQ(action("ToolButton5")->shortcut(), QKeySequence(QKeySequence::ZoomOut));
    for (const char* name : {"LoadProject1", "SaveProject", "Exit1", "ToolButton3", "ToolButton5"})
        EXPECT_FALSE(action(name)->shortcut().isEmpty()) << name;

    // Typed in the main window they run their commands.
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    QTest::keySequence(form.get(), QKeySequence::ZoomIn);
    EXPECT_EQ(form->zoomFactor(), 2);
    QTest::keySequence(form.get(), QKeySequence::ZoomOut);
    EXPECT_EQ(form->zoomFactor(), 1);
    QTest::keySequence(form.get(), QKeySequence::Open);
    ASSERT_EQ(rec.entries.size(), 1u);
    EXPECT_EQ(rec.entries[0].kind, RecordingPrompts::Entry::OpenDialog);

    loadProject(writeProject(QStringLiteral("alps.prj"), {}));
    rec.clear();
    rec.files.push_back(dir.filePath(QStringLiteral("copy.prj")));
    QTest::keyClick(form.get(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_EQ(rec.entries.size(), 1u);
    EXPECT_EQ(rec.entries[0].kind, RecordingPrompts::Entry::SaveDialog);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Brevan Talvor 1.0 beta 1   copy.prj"));

    QTest::keySequence(form.get(), action("Exit1")->shortcut());
    EXPECT_FALSE(form->isVisible());
}

TEST_F(MainFormStart, AboutWindow) {
    TAbout& about = form->aboutForm();
    EXPECT_TRUE(about.isWindow());
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About"));
    EXPECT_EQ(about.size(), QSize(426, 120));
    EXPECT_EQ(about.minimumSize(), about.maximumSize());

    auto* title = about.findChild<QLabel*>(QStringLiteral("Label1"));
    auto* credit = about.findChild<QLabel*>(QStringLiteral("Label2"));
    ASSERT_NE(title, nullptr);
    ASSERT_NE(credit, nullptr);
    EXPECT_EQ(title->text(), QStringLiteral("Brevan Talvor 1.0 (First Beta)"));
    EXPECT_EQ(title->font().pixelSize(), 32);
    EXPECT_EQ(title->palette().color(QPalette::WindowText), QColor(Qt::red));
    EXPECT_EQ(credit->font().pixelSize(), 19);
    EXPECT_EQ(credit->palette().color(QPalette::WindowText), QColor(0, 128, 128));

    action("About1")->trigger();
    EXPECT_TRUE(about.isVisible());
    EXPECT_FALSE(about.isModal());
}

using Closing = AppTest;

TEST_F(Closing, UnmodifiedClosesWithoutQuestions) {
    action("Exit1")->trigger();
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(rec.questions().isEmpty());
}

TEST_F(Closing, ModifiedProjectAnsweredNoStaysOpen) {
    loadProject(writeProject(QStringLiteral("alps.prj"), {}));
    form->AddThermal(47.2, 8.0);
    rec.answers = {false};
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(rec.questions(), QStringList{"Project Modified|Project Modified, Continue?"});
    EXPECT_EQ(form->thermalList().size(), 1u);
    EXPECT_TRUE(form->projectFile().modified);
}

TEST_F(Closing, BothQuestionsAreAskedEvenAfterANo) {
    loadProject(writeProject(QStringLiteral("alps.prj"), {}));
    form->AddThermal(47.2, 8.0);
    form->AddWaypoint(47.3, 8.1);
    rec.answers = {false, true};
    EXPECT_FALSE(form->close());
    EXPECT_EQ(rec.questions(), (QStringList{"Project Modified|Project Modified, Continue?",
                                            "Waypoints Modified|Waypoints Modified, Continue?"}));

    rec.clear();
    rec.answers = {true, false};
    EXPECT_FALSE(form->close());
    EXPECT_EQ(rec.questions().size(), 2);
    EXPECT_TRUE(form->isVisible());
}

TEST_F(Closing, TimersRunTheirHandlersUntilTheWindowCloses) {
    QFile settings(settingsPath());
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly | QIODevice::Truncate));
    settings.write("[Timers]\nDataRead=1\nProfiler=1\nDisplay=1\n");
    settings.close();
    createForm();
    link->lat = 47.2;
    link->lon = 8.0;
    link->altitude = 700;
    link->ground = 412.7;
    link->msStrength = 50;
    link->block = true;
    form->AddThermal(47.2, 8.0);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return link->readCycles > 0 && !link->strengthWrites.empty() &&
                   form->statusText(2) == QStringLiteral("412m");
        },
        5000));

    rec.answers = {true};
    action("Exit1")->trigger();
    ASSERT_FALSE(form->isVisible());
    const int reads = link->readCycles;
    const size_t writes = link->strengthWrites.size();
    link->ground = 100;
    QTest::qWait(20);
    EXPECT_EQ(link->readCycles, reads);
    EXPECT_EQ(link->strengthWrites.size(), writes);
    EXPECT_EQ(form->statusText(2), QStringLiteral("412m"));
}

TEST_F(Closing, YesClosesAndStopsTheTimers) {
    QFile::remove(settingsPath());
    createForm();
    form->AddWaypoint(47.3, 8.1);
    rec.answers = {true};
    action("Exit1")->trigger();
    EXPECT_FALSE(form->isVisible());
    for (const char* name : {"ReadDataTimer", "DisplayUpdateTimer", "Profiler"})
        EXPECT_FALSE(form->findChild<QTimer*>(QLatin1String(name))->isActive()) << name;
}
