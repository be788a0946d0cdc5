#include "appfixture.h"
#include "dialogs/thermaldata.h"
#include "geo/coordtext.h"
#include "geo/distance.h"
#include "map/accursor.h"
#include "profiler/profiler.h"
#include "scene/mapview.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <QToolBar>

namespace {

// The latitude north of lat at which Distance() gives exactly metres (to a millimetre).
double LatitudeAtDistance(double lat, double lon, double metres) {
    double low = lat;
    double high = lat + 1;
    for (int i = 0; i < 100; ++i) {
        const double mid = (low + high) / 2;
        (Distance(lat, lon, mid, lon) * 1000 < metres ? low : high) = mid;
    }
    return high;
}

} // namespace

class LiveTracking : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        loadProject(writeProject(QStringLiteral("alps.prj"), {}));
        rec.clear();
    }
    void tick(const char* box) {
        auto* check = form->thermalData().findChild<QCheckBox*>(QLatin1String(box));
        ASSERT_NE(check, nullptr) << box;
        check->click();
        ASSERT_TRUE(check->isChecked()) << box;
    }
    void type(const char* edit, const QString& text) {
        auto* field = form->thermalData().findChild<QLineEdit*>(QLatin1String(edit));
        ASSERT_NE(field, nullptr) << edit;
        field->selectAll();
        QTest::keyClicks(field, text);
    }
};

TEST_F(LiveTracking, GroundElevationInPanelTwo) {
    link->ground = 412.7;
    form->DisplayUpdateTimerTimer();
    EXPECT_EQ(form->statusText(2), QStringLiteral("412m"));
    link->ground = -3.7;
    form->DisplayUpdateTimerTimer();
    EXPECT_EQ(form->statusText(2), QStringLiteral("-3m"));

    action("Feet")->trigger();
    link->ground = 100;
    form->DisplayUpdateTimerTimer();
    EXPECT_EQ(form->statusText(2), QStringLiteral("328ft"));
    link->ground = 412.7;
    form->DisplayUpdateTimerTimer();
    EXPECT_EQ(form->statusText(2), QStringLiteral("1354ft"));
}

TEST_F(LiveTracking, AircraftPositionInPanelsZeroAndOne) {
    link->lat = 47.25;
    link->lon = 8.125;
    form->DisplayUpdateTimerTimer();
    EXPECT_EQ(form->statusText(0), QString::fromStdString(LatText(47.25, decMins)));
    EXPECT_EQ(form->statusText(1), QString::fromStdString(LonText(8.125, decMins)));
}

TEST_F(LiveTracking, CursorCentredOnTheAircraftWhateverTheScroll) {
    form->imagePanel().resize(534, 263);
    action("ToolButton3")->trigger();
    action("ToolButton3")->trigger();
    const Map& map = form->mapObject();
    // The aircraft at map pixel x 200.
    link->lon = map.XToLon(200);
    link->lat = map.YToLat(100);
    ASSERT_EQ(map.LonToX(link->lon), 200);
    form->imagePanel().horizontalScrollBar()->setValue(50);
    ASSERT_EQ(form->imagePanel().horizontalScrollBar()->value(), 50);
    form->DisplayUpdateTimerTimer();
    ASSERT_EQ(form->cursor().width(), 20);
    const QPoint onScreen = form->imagePanel().mapFromScene(form->cursor().pos());
    EXPECT_EQ(onScreen.x(), 140);
    EXPECT_EQ(form->cursor().pos().y(), map.LatToY(link->lat) - 10);

    // Off the map the cursor still follows.
    link->lon = 0;
    link->lat = 0;
    form->DisplayUpdateTimerTimer();
    EXPECT_EQ(form->cursor().pos().toPoint(), QPoint(map.LonToX(0) - 10, map.LatToY(0) - 10));
}

TEST_F(LiveTracking, AutomaticThermalsAfterTheDistance) {
    tick("autoThermals");
    ASSERT_TRUE(form->thermalData().GetAutoThermals());
    ASSERT_EQ(form->thermalData().autoThermalDistValue, 800);
    link->lat = 47.2;
    link->lon = 8.0;
    // The first check of a run measures from 0, 0 and adds at once.
    form->DisplayUpdateTimerTimer();
    ASSERT_EQ(form->thermalList().size(), 1u);
    form->DisplayUpdateTimerTimer();
    EXPECT_EQ(form->thermalList().size(), 1u);

    link->lat = LatitudeAtDistance(47.2, 8.0, 799);
    form->DisplayUpdateTimerTimer();
    EXPECT_EQ(form->thermalList().size(), 1u);
    link->lat = LatitudeAtDistance(47.2, 8.0, 800.5);
    form->DisplayUpdateTimerTimer();
    ASSERT_EQ(form->thermalList().size(), 2u);
    EXPECT_DOUBLE_EQ(form->thermalList()[1]->lat, link->lat);
    // The new thermal is the reference now.
    form->DisplayUpdateTimerTimer();
    EXPECT_EQ(form->thermalList().size(), 2u);
}

TEST_F(LiveTracking, NoAutomaticThermalsWhenOff) {
    link->lat = 47.2;
    link->lon = 8.0;
    form->DisplayUpdateTimerTimer();
    EXPECT_TRUE(form->thermalList().empty());
}

TEST_F(LiveTracking, ThermalAtAircraftWithWindFromTheRight) {
    tick("windRight");
    link->lat = 47.3;
    link->lon = 8.2;
    link->heading = 10;
    const int readsBefore = link->readCycles;
    QTest::mouseClick(form->findChild<QToolBar*>(QStringLiteral("ToolBar1"))
                          ->widgetForAction(action("addACThermal")),
                      Qt::LeftButton);
    ASSERT_EQ(form->thermalList().size(), 1u);
    const TThermal& t = *form->thermalList()[0];
    EXPECT_EQ(link->readCycles, readsBefore + 1);
    EXPECT_DOUBLE_EQ(t.lat, 47.3);
    EXPECT_DOUBLE_EQ(t.lon, 8.2);
    EXPECT_EQ(t.windDir, 100);
    EXPECT_TRUE(form->projectFile().modified);

    // A heading of 190 degrees reads -170: the remainder keeps its sign.
    link->heading = -170;
    EXPECT_EQ(form->ThermalAtAircraft().windDir, -80);
}

TEST_F(LiveTracking, ThermalAtAircraftWithWindFromTheLeft) {
    tick("windLeft");
    link->heading = 10;
    EXPECT_EQ(form->ThermalAtAircraft().windDir, 280);
    link->heading = -170;
    EXPECT_EQ(form->ThermalAtAircraft().windDir, 100);
}

TEST_F(LiveTracking, WindFromTheDialogWithoutABox) {
    link->heading = 10;
    EXPECT_EQ(form->ThermalAtAircraft().windDir, form->thermalData().windDirValue);
    EXPECT_EQ(link->headingReads, 0);
}

TEST_F(LiveTracking, TopsAboveSeaLevelBecomeHeightsAboveGround) {
    tick("TopsMSL");
    type("top", QStringLiteral("1500"));
    type("cloudBase", QStringLiteral("1500"));
    link->ground = 612.4;
    const TThermal& t = form->ThermalAtAircraft();
    EXPECT_EQ(t.top, 887);
    EXPECT_EQ(t.cloudBase, 887);
    EXPECT_EQ(t.tGroundHeight, 612);
}

TEST_F(LiveTracking, HeightsStayWithoutTopsAboveSeaLevel) {
    link->ground = 612.4;
    const TThermal& t = form->ThermalAtAircraft();
    EXPECT_EQ(t.top, form->thermalData().topValue);
    EXPECT_EQ(t.tGroundHeight, 612);
}

TEST_F(LiveTracking, WaypointAtAircraft) {
    link->lat = 47.1;
    link->lon = 7.9;
    link->ground = 455.9;
    QTest::mouseClick(form->findChild<QToolBar*>(QStringLiteral("ToolBar1"))
                          ->widgetForAction(action("addACWaypoint")),
                      Qt::LeftButton);
    ASSERT_EQ(form->waypointList().size(), 1u);
    const TWaypoint& w = *form->waypointList()[0];
    EXPECT_DOUBLE_EQ(w.lat, 47.1);
    EXPECT_EQ(w.tGroundHeight, 455);
    EXPECT_EQ(w.tName, QStringLiteral("Waypoint 1"));
    EXPECT_EQ(link->readCycles, 1);
}

TEST_F(LiveTracking, MoveAircraftToThePopupPoint) {
    popupCommand(90, 30, "MapPopupMenu", QStringLiteral("Move AC Here"));
    ASSERT_EQ(link->moves.size(), 1u);
    EXPECT_DOUBLE_EQ(link->moves[0].first, form->mapObject().YToLat(30));
    EXPECT_DOUBLE_EQ(link->moves[0].second, form->mapObject().XToLon(90));
    form->DisplayUpdateTimerTimer();
    const Map& map = form->mapObject();
    EXPECT_EQ(form->cursor().pos().toPoint(),
              QPoint(map.LonToX(link->lon) - 10, map.LatToY(link->lat) - 10));
}

TEST_F(LiveTracking, ProfilerTimerTicksStopsOrLeavesAlone) {
    TThermal& t = form->AddThermal(47.2, 8.0);
    link->lat = 47.2;
    link->lon = 8.0;
    link->altitude = 700;
    link->msStrength = 50;
    link->block = true;
    ASSERT_TRUE(form->thermalData().GetProfileOnOff());
    form->ProfilerTimer();
    EXPECT_EQ(form->profilerObject().current(), &t);
    EXPECT_FALSE(link->strengthWrites.empty());

    // The block is gone: every tick stops the profiler.
    link->block = false;
    form->ProfilerTimer();
    EXPECT_EQ(form->profilerObject().current(), nullptr);

    // With the profiler box off the profiler is not touched at all.
    link->block = true;
    form->ProfilerTimer();
    ASSERT_EQ(form->profilerObject().current(), &t);
    auto* onOff = form->thermalData().findChild<QCheckBox*>(QStringLiteral("ProfileOnOff"));
    onOff->click();
    ASSERT_FALSE(form->thermalData().GetProfileOnOff());
    const size_t writes = link->strengthWrites.size();
    link->block = false;
    form->ProfilerTimer();
    EXPECT_EQ(form->profilerObject().current(), &t);
    EXPECT_EQ(link->strengthWrites.size(), writes);
}

TEST_F(LiveTracking, DeletedThermalIsNeverUsedByTheProfiler) {
    form->AddThermal(47.25, 8.0);
    TThermal& near = form->AddThermal(47.2, 8.0);
    link->lat = 47.2;
    link->lon = 8.0;
    link->altitude = 700;
    link->msStrength = 50;
    link->block = true;
    form->ProfilerTimer();
    ASSERT_EQ(form->profilerObject().current(), &near);

    const QPoint pixel = near.pos().toPoint() + near.glyph().centre;
    popupCommand(pixel.x(), pixel.y(), "ThermalPopup", QStringLiteral("Delete"));
    ASSERT_EQ(form->thermalList().size(), 1u);
    EXPECT_EQ(form->profilerObject().current(), nullptr);
    form->ProfilerTimer();
    EXPECT_EQ(form->profilerObject().current(), form->thermalList()[0].get());

    rec.answers = {true};
    action("ClearAllThermals")->trigger();
    EXPECT_EQ(form->profilerObject().current(), nullptr);
    form->ProfilerTimer();
    EXPECT_EQ(form->profilerObject().current(), nullptr);

    // A project load replaces the thermals the profiler may hold.
    form->AddThermal(47.2, 8.0);
    form->ProfilerTimer();
    ASSERT_NE(form->profilerObject().current(), nullptr);
    rec.answers = {true};
    loadProject(writeProject(QStringLiteral("other.prj"), {}));
    EXPECT_TRUE(form->thermalList().empty());
    EXPECT_EQ(form->profilerObject().current(), nullptr);
}
