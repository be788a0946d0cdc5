#include "app/waypointid.h"
#include "appfixture.h"
#include "dialogs/randomize.h"
#include "dialogs/thermaldata.h"
#include "geo/coordtext.h"
#include "map/accursor.h"
#include "scene/mapview.h"

#include <climits>

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

namespace {

const QString kFullLine = QStringLiteral("4712345,812345,4,0,1500,300,270,5,1,450,1800,800,2,1,7,-"
                                         "1,-1,0,-0.5,-1,-1,450,2,4,100,50,10,90");
const QString kOtherLine = QStringLiteral("4720000,780000,2,100,2000,700,90,3,0,0,2500,1200,3,1,7,"
                                          "1.5,0.75,45,0.25,10,20,0,2,4,70,30,15,85");

QString latText(double lat, latLonDispType f) {
    return QString::fromStdString(LatText(lat, f));
}
QString lonText(double lon, latLonDispType f) {
    return QString::fromStdString(LonText(lon, f));
}

} // namespace

class MapEditing : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        loadProject(writeProject(QStringLiteral("alps.prj"), {}));
        rec.clear();
    }
    const Map& map() const { return form->mapObject(); }
    // The glyph's map pixel: where the item's anchor sits in scene coordinates.
    QPoint pixelOf(const TThermal& t) const { return (t.pos().toPoint() + t.glyph().centre); }
};

TEST_F(MapEditing, PointerReadoutInPanelsThreeAndFour) {
    ASSERT_GT(map().displayWidth(), 100);
    moveMouseTo(50, 30);
    EXPECT_EQ(form->statusText(3), latText(map().YToLat(30), decMins));
    EXPECT_EQ(form->statusText(4), lonText(map().XToLon(50), decMins));
    EXPECT_TRUE(form->statusText(3).startsWith('N'));
    EXPECT_TRUE(form->statusText(4).startsWith('E'));
}

TEST_F(MapEditing, ClickAddsAThermalAtTheLastReadoutPosition) {
    clickMap(60, 40);
    ASSERT_EQ(form->thermalList().size(), 1u);
    const TThermal& t = *form->thermalList()[0];
    EXPECT_DOUBLE_EQ(t.lat, map().YToLat(40));
    EXPECT_DOUBLE_EQ(t.lon, map().XToLon(60));
    // Back from degrees to pixels the map truncates, so the glyph may sit a pixel up or left.
    EXPECT_EQ(pixelOf(t), QPoint(map().LonToX(t.lon), map().LatToY(t.lat)));
    EXPECT_LE((pixelOf(t) - QPoint(60, 40)).manhattanLength(), 2);
    const TThermalData& data = form->thermalData();
    EXPECT_EQ(t.type, data.GetType());
    EXPECT_EQ(t.top, data.topValue);
    EXPECT_EQ(t.radius, data.radiusValue);
    EXPECT_EQ(t.tStrengthPercent, data.strengthValue);
    EXPECT_EQ(t.heightUnits, meters);
    EXPECT_TRUE(form->projectFile().modified);
    EXPECT_TRUE(t.isVisible());
    EXPECT_GT(form->cursor().zValue(), t.zValue());

    // A click on the glyph itself adds nothing.
    clickMap(60, 40);
    EXPECT_EQ(form->thermalList().size(), 1u);
}

TEST_F(MapEditing, ClickInWaypointModeAddsAWaypoint) {
    action("ClickToAddWaypoint")->trigger();
    EXPECT_TRUE(action("ClickToAddWaypoint")->isChecked());
    EXPECT_FALSE(action("ClickToAddThermal")->isChecked());
    clickMap(70, 20);
    ASSERT_EQ(form->waypointList().size(), 1u);
    const TWaypoint& w = *form->waypointList()[0];
    EXPECT_EQ(w.tID, 1);
    EXPECT_EQ(w.tAttributes, QStringLiteral("T"));
    EXPECT_EQ(w.tName, QStringLiteral("Waypoint 1"));
    EXPECT_EQ(w.tText, QStringLiteral("Waypoint 1"));
    EXPECT_EQ(w.tGroundHeight, 0);
    EXPECT_DOUBLE_EQ(w.lat, map().YToLat(20));
    EXPECT_DOUBLE_EQ(w.lon, map().XToLon(70));
    EXPECT_TRUE(form->thermalList().empty());
    EXPECT_FALSE(form->projectFile().modified);

    auto* description = form->findChild<QLineEdit*>(QStringLiteral("waypointDescription"));
    description->clear();
    QTest::keyClicks(description, QStringLiteral("Ridge"));
    clickMap(90, 50);
    ASSERT_EQ(form->waypointList().size(), 2u);
    EXPECT_EQ(form->waypointList()[1]->tName, QStringLiteral("Ridge"));
    EXPECT_EQ(form->waypointList()[1]->tID, 2);
}

TEST_F(MapEditing, WaypointIdIsOneAboveTheHighest) {
    rec.files.push_back(writeDat(QStringLiteral("ids.dat"), {"5,47:20.000N,8:00.000E,0M,T,A,A",
                                                             "2,47:10.000N,8:10.000E,0M,T,B,B",
                                                             "9,47:15.000N,8:05.000E,0M,T,C,C"}));
    action("LoadDat1")->trigger();
    ASSERT_EQ(form->waypointList().size(), 3u);
    EXPECT_EQ(form->AddWaypoint(47.2, 8.0).tID, 10);

    rec.files.push_back(writeDat(QStringLiteral("zeros.dat"), {"0,47:20.000N,8:00.000E,0M,T,A,A",
                                                               "0,47:10.000N,8:10.000E,0M,T,B,B"}));
    rec.answers = {true};
    action("LoadDat1")->trigger();
    ASSERT_EQ(form->waypointList().size(), 2u);
    EXPECT_EQ(form->AddWaypoint(47.2, 8.0).tID, 1);
}

TEST_F(MapEditing, MapPopupAddsAtThePopupPoint) {
    moveMouseTo(10, 10);
    popupCommand(80, 20, "MapPopupMenu", QStringLiteral("Add Thermal"));
    ASSERT_EQ(form->thermalList().size(), 1u);
    EXPECT_LE((pixelOf(*form->thermalList()[0]) - QPoint(80, 20)).manhattanLength(), 2);
    EXPECT_DOUBLE_EQ(form->thermalList()[0]->lat, map().YToLat(20));

    popupCommand(120, 60, "MapPopupMenu", QStringLiteral("Add Waypoint"));
    ASSERT_EQ(form->waypointList().size(), 1u);
    EXPECT_DOUBLE_EQ(form->waypointList()[0]->lat, map().YToLat(60));
    EXPECT_DOUBLE_EQ(form->waypointList()[0]->lon, map().XToLon(120));
}

TEST_F(MapEditing, PopupDeleteRemovesTheGlyphItWasOpenedOn) {
    clickMap(40, 40);
    clickMap(100, 60);
    const TThermal* second = form->thermalList()[1].get();
    popupCommand(40, 40, "ThermalPopup", QStringLiteral("Delete"));
    ASSERT_EQ(form->thermalList().size(), 1u);
    EXPECT_EQ(form->thermalList()[0].get(), second);
    EXPECT_FALSE(form->imagePanel().glyphAt(viewportPoint(40, 40)));

    action("ClickToAddWaypoint")->trigger();
    clickMap(150, 30);
    clickMap(20, 80);
    popupCommand(150, 30, "WaypointPopup", QStringLiteral("Delete"));
    ASSERT_EQ(form->waypointList().size(), 1u);
    EXPECT_EQ(form->waypointList()[0]->tID, 2);
}

TEST_F(MapEditing, PopupOnAGlyphThatIsGoneDoesNothing) {
    clickMap(40, 40);
    QWidget* viewport = form->imagePanel().viewport();
    const QPoint pos = viewportPoint(40, 40);
    QContextMenuEvent event(QContextMenuEvent::Mouse, pos, viewport->mapToGlobal(pos));
    QApplication::sendEvent(viewport, &event);
    auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(popup, nullptr);
    popup->close();

    // The thermal goes while the popup is pending; a new one may even take its place.
    form->ClearThermals();
    clickMap(40, 40);
    ASSERT_EQ(form->thermalList().size(), 1u);
    for (QAction* item : popup->actions())
        item->trigger();
    EXPECT_EQ(form->thermalList().size(), 1u);
}

TEST_F(MapEditing, GetDataThenSetDataCopiesTheTwentyValues) {
    loadProject(writeProject(QStringLiteral("two.prj"), {kFullLine, kOtherLine}));
    ASSERT_EQ(form->thermalList().size(), 2u);
    ASSERT_FALSE(form->projectFile().modified);
    const TThermal& source = *form->thermalList()[0];
    const TThermal& target = *form->thermalList()[1];
    const double targetLat = target.lat;

    popupCommand(pixelOf(source).x(), pixelOf(source).y(), "ThermalPopup",
                 QStringLiteral("Get Data"));
    EXPECT_FALSE(form->projectFile().modified);
    EXPECT_EQ(form->thermalData().topValue, 1500);
    EXPECT_EQ(form->thermalData().GetType(), 4);

    popupCommand(pixelOf(target).x(), pixelOf(target).y(), "ThermalPopup",
                 QStringLiteral("Set Data"));
    EXPECT_TRUE(form->projectFile().modified);
    EXPECT_EQ(target.type, source.type);
    EXPECT_EQ(target.bottom, source.bottom);
    EXPECT_EQ(target.top, source.top);
    EXPECT_EQ(target.radius, source.radius);
    EXPECT_EQ(target.windDir, source.windDir);
    EXPECT_EQ(target.factor, source.factor);
    EXPECT_EQ(target.cloud, source.cloud);
    EXPECT_EQ(target.cloudBase, source.cloudBase);
    EXPECT_EQ(target.cloudRadius, source.cloudRadius);
    EXPECT_EQ(target.cloudType, source.cloudType);
    EXPECT_EQ(target.tCuHS, source.tCuHS);
    EXPECT_EQ(target.tCuVS, source.tCuVS);
    EXPECT_EQ(target.tCuRotation, source.tCuRotation);
    EXPECT_EQ(target.tCuCloud, source.tCuCloud);
    EXPECT_EQ(target.tCuStart, source.tCuStart);
    EXPECT_EQ(target.tCuEnd, source.tCuEnd);
    EXPECT_EQ(target.tStrengthPercent, source.tStrengthPercent);
    EXPECT_EQ(target.tCorePercent, source.tCorePercent);
    EXPECT_EQ(target.tCoreBasePercent, source.tCoreBasePercent);
    EXPECT_EQ(target.tCoreTopPercent, source.tCoreTopPercent);
    // Not the position or the ground height.
    EXPECT_DOUBLE_EQ(target.lat, targetLat);
    EXPECT_EQ(target.tGroundHeight, 0);
}

TEST_F(MapEditing, ClearAllAnsweredNoChangesNothing) {
    clickMap(40, 40);
    form->AddWaypoint(47.2, 8.0);
    rec.answers = {false, false};
    action("ClearAllThermals")->trigger();
    action("ClearAllWaypoints")->trigger();
    EXPECT_EQ(rec.questions(), (QStringList{"Clear All Thermals|Clear All Thermals, Continue?",
                                            "Clear All Waypoints|Clear All Waypoints, Continue?"}));
    EXPECT_EQ(form->thermalList().size(), 1u);
    EXPECT_EQ(form->waypointList().size(), 1u);

    rec.answers = {true, true};
    action("ClearAllThermals")->trigger();
    action("ClearAllWaypoints")->trigger();
    EXPECT_TRUE(form->thermalList().empty());
    EXPECT_TRUE(form->waypointList().empty());
    EXPECT_TRUE(form->imagePanel().scene()->items().contains(&form->cursor()));
    EXPECT_EQ(form->imagePanel().scene()->items().size(), 1);
}

TEST_F(MapEditing, FormatSwitchReachesTheStatusBar) {
    action("DegMinSec")->trigger();
    EXPECT_TRUE(action("DegMinSec")->isChecked());
    EXPECT_FALSE(action("DecMins")->isChecked());
    EXPECT_FALSE(action("DecDegrees")->isChecked());
    EXPECT_EQ(form->latLonFormatValue(), degMinSec);
    moveMouseTo(33, 22);
    EXPECT_EQ(form->statusText(3), latText(map().YToLat(22), degMinSec));
    EXPECT_EQ(form->statusText(4), lonText(map().XToLon(33), degMinSec));
    EXPECT_TRUE(form->statusText(3).endsWith('"'));

    action("DecDegrees")->trigger();
    moveMouseTo(33, 22);
    EXPECT_EQ(form->statusText(3), latText(map().YToLat(22), decDegrees));
    form->DisplayUpdateTimerTimer();
    EXPECT_EQ(form->statusText(0), latText(0, decDegrees));
}

TEST_F(MapEditing, HeightUnitsReachEveryHint) {
    loadProject(writeProject(QStringLiteral("two.prj"), {kFullLine, kOtherLine}));
    form->AddWaypoint(47.2, 8.0);
    action("Feet")->trigger();
    EXPECT_TRUE(action("Feet")->isChecked());
    EXPECT_FALSE(action("Meters")->isChecked());
    EXPECT_EQ(form->thermalData().heightUnits, feet);
    EXPECT_TRUE(form->thermalList()[0]->Hint().contains(QStringLiteral("4921ft")));
    for (const auto& t : form->thermalList()) {
        EXPECT_EQ(t->heightUnits, feet);
        EXPECT_TRUE(t->Hint().contains(QStringLiteral("ft"))) << qPrintable(t->Hint());
    }
    EXPECT_EQ(form->waypointList()[0]->heightUnits, feet);
    link->ground = 100;
    form->DisplayUpdateTimerTimer();
    EXPECT_EQ(form->statusText(2), QStringLiteral("328ft"));

    action("Meters")->trigger();
    for (const auto& t : form->thermalList())
        EXPECT_FALSE(t->Hint().contains(QStringLiteral("ft")));
    EXPECT_EQ(form->waypointList()[0]->heightUnits, meters);
    form->DisplayUpdateTimerTimer();
    EXPECT_EQ(form->statusText(2), QStringLiteral("100m"));
}

TEST_F(MapEditing, ZoomFitsTheMapAndKeepsGlyphsOverTheirPositions) {
    loadProject(writeProject(QStringLiteral("two.prj"), {kFullLine, kOtherLine}));
    form->AddWaypoint(47.3, 7.9);
    form->imagePanel().resize(534, 263);
    ASSERT_EQ(form->imagePanel().size(), QSize(534, 263));
    // A new panel size refits the 2:1 picture by itself.
    EXPECT_EQ(map().displayWidth(), 526);
    EXPECT_EQ(map().displayHeight(), 263);

    action("ToolButton5")->trigger();
    EXPECT_EQ(form->zoomFactor(), 1);
    action("ToolButton3")->trigger();
    action("ToolButton3")->trigger();
    EXPECT_EQ(form->zoomFactor(), 3);
    // The 2:1 picture fits a 1602 x 789 box.
    EXPECT_EQ(map().displayWidth(), 1578);
    EXPECT_EQ(map().displayHeight(), 789);
    for (const auto& t : form->thermalList())
        EXPECT_EQ(pixelOf(*t), QPoint(map().LonToX(t->lon), map().LatToY(t->lat)));
    const TWaypoint& w = *form->waypointList()[0];
    EXPECT_EQ(w.pos().toPoint() + QPoint(4, 4), QPoint(map().LonToX(w.lon), map().LatToY(w.lat)));

    action("ToolButton5")->trigger();
    EXPECT_EQ(form->zoomFactor(), 2);
    EXPECT_EQ(map().displayHeight(), 526);
}

TEST_F(MapEditing, SceneryCommandsRefuseAnEmptyList) {
    action("Thermik")->trigger();
    action("Cumulus")->trigger();
    const QStringList messages = rec.messages();
    ASSERT_EQ(messages.size(), 2);
    EXPECT_TRUE(messages[0].startsWith(QStringLiteral("Error|")));
    EXPECT_TRUE(messages[1].startsWith(QStringLiteral("Error|")));
}

TEST_F(MapEditing, ThermikWritesTheBoundsOfTheThermals) {
    form->AddThermal(46.1, 7.2);
    form->AddThermal(46.9, 7.0);
    form->AddThermal(46.5, 7.9);
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    action("Thermik")->trigger();
    QDir::setCurrent(previous);

    QFile source(dir.filePath(QStringLiteral("alps.sca")));
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    const QByteArray text = source.readAll();
    // The bounds 46.1, 7.0, 46.9, 7.9 with the generator's margin of 0.2 degrees.
    EXPECT_TRUE(text.startsWith("Header( 1 47.1 45.9 8.1 6.8 )")) << text.left(60).toStdString();
    EXPECT_TRUE(text.contains("LatRange( 45.9 47.1 )"));
}

TEST_F(MapEditing, RandomizeAndLogOpen) {
    action("Randomize1")->trigger();
    EXPECT_TRUE(form->randomizeForm().isVisible());

    action("OpenLog")->trigger();
    ASSERT_EQ(rec.entries.size(), 1u);
    EXPECT_EQ(rec.entries[0].kind, RecordingPrompts::Entry::OpenDialog);
    EXPECT_EQ(rec.entries[0].caption, QStringLiteral("Project files (*.log)|*.LOG"));
    EXPECT_EQ(rec.entries[0].text, QStringLiteral("log"));
}

TEST(NextWaypointIDTest, OneAboveTheHighest) {
    WaypointList waypoints;
    EXPECT_EQ(NextWaypointID(waypoints), 1);
    for (const int id : {5, 2, 9}) {
        waypoints.push_back(std::make_unique<TWaypoint>());
        waypoints.back()->SetID(id);
    }
    EXPECT_EQ(NextWaypointID(waypoints), 10);
    for (const auto& w : waypoints)
        w->SetID(-4);
    EXPECT_EQ(NextWaypointID(waypoints), 1);
    waypoints[1]->SetID(INT_MAX);
    EXPECT_EQ(NextWaypointID(waypoints), INT_MAX);
}
