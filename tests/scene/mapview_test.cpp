#include "map/accursor.h"
#include "map/map.h"
#include "recordingprompts.h"
#include "scene/mapview.h"
#include "scene/thermal.h"
#include "scene/waypoint.h"
#include "scenetesting.h"

#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QScrollBar>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

namespace {

// The map panel as the main window drives it: a 400 x 200 map of 47-46 N, 8-10 E whose
// left half is red and right half green, thermals and waypoints made the way the
// commands make them, and zoom steps that resize the map and then every glyph.
class MapPanel : public ::testing::Test {
protected:
    void SetUp() override {
        QImage picture(400, 200, QImage::Format_RGB32);
        picture.fill(Qt::red);
        for (int y = 0; y < 200; ++y) {
            for (int x = 200; x < 400; ++x)
                picture.setPixelColor(x, y, Qt::green);
        }
        ASSERT_TRUE(picture.save(dir.filePath("map.bmp")));
        view.resize(300, 150);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
        map.Load("map.bmp", dir.path(), 47, 46, 8, 10);
        zoom(1);
    }

    void zoom(int factor) {
        map.Resize(view.width() * factor, view.height() * factor);
        for (auto& t : thermals)
            t->resize();
        for (auto& w : waypoints)
            w->resize();
    }

    TThermal* addThermal(double lat, double lon, int type = 4) {
        auto t = std::make_unique<TThermal>();
        t->map = &map;
        view.scene()->addItem(t.get());
        t->SetType(type);
        t->SetLat(lat);
        t->SetLon(lon);
        t->setVisible(true);
        thermals.push_back(std::move(t));
        return thermals.back().get();
    }

    TWaypoint* addWaypoint(double lat, double lon) {
        auto w = std::make_unique<TWaypoint>();
        w->map = &map;
        view.scene()->addItem(w.get());
        w->SetLat(lat);
        w->SetLon(lon);
        w->setVisible(true);
        waypoints.push_back(std::move(w));
        return waypoints.back().get();
    }

    // Where a map-image pixel is on the screen's viewport just now.
    QPoint onViewport(int x, int y) const { return view.mapFromScene(QPointF(x, y)); }
    QPoint glyphCentre(const TThermal* t) const {
        return view.mapFromScene(t->pos() + t->glyph().centre);
    }

    QColor shownAt(const QPoint& viewportPos) {
        return view.viewport()->grab().toImage().pixelColor(viewportPos);
    }

    void scrollTo(int x, int y) {
        view.horizontalScrollBar()->setValue(x);
        view.verticalScrollBar()->setValue(y);
    }

    QTemporaryDir dir;
    RecordingPrompts prompts;
    Map map;
    ThermalList thermals;
    WaypointList waypoints;
    MapView view{map};
};

TEST_F(MapPanel, SceneIsTheDisplayedMap) {
    EXPECT_EQ(view.sceneRect(), QRectF(0, 0, map.displayWidth(), map.displayHeight()));
    zoom(3);
    EXPECT_EQ(view.sceneRect(), QRectF(0, 0, map.displayWidth(), map.displayHeight()));
    EXPECT_GT(map.displayWidth(), view.viewport()->width());
    EXPECT_EQ(view.viewportUpdateMode(), QGraphicsView::FullViewportUpdate);
}

TEST_F(MapPanel, PictureIsDrawnStretchedFromTheTopLeft) {
    zoom(2);
    scrollTo(0, 0);
    EXPECT_EQ(shownAt(onViewport(5, 5)), QColor(Qt::red));
    const int middle = map.displayWidth() / 2;
    view.centerOn(middle, 50);
    EXPECT_EQ(shownAt(onViewport(middle - 2, 50)), QColor(Qt::red));
    EXPECT_EQ(shownAt(onViewport(middle + 2, 50)), QColor(Qt::green));
    scrollTo(map.displayWidth(), map.displayHeight());
    EXPECT_EQ(shownAt(onViewport(map.displayWidth() - 3, map.displayHeight() - 3)),
              QColor(Qt::green));
}

TEST_F(MapPanel, GlyphPlacedWhileScrolledLandsOnItsPositionAndStaysThereAfterAZoom) {
    zoom(3);
    scrollTo(250, 120);
    ASSERT_EQ(view.horizontalScrollBar()->value(), 250);
    const double lat = 46.4, lon = 9.3;
    TThermal* t = addThermal(lat, lon);
    QSignalSpy moved(&view, &MapView::imageMouseMoved);

    for (int step : {3, 4, 2}) {
        zoom(step);
        const QPoint pixel(map.LonToX(lon), map.LatToY(lat));
        view.centerOn(pixel);
        const QPoint centre = glyphCentre(t);
        EXPECT_EQ(centre, onViewport(pixel.x(), pixel.y())) << "zoom " << step;
        EXPECT_EQ(shownAt(centre), QColor(0, 0, 255)) << "zoom " << step;
        EXPECT_EQ(t->shape().boundingRect().size(), QSizeF(10, 10));

        // The readout under the glyph's centre is the map pixel of the thermal's position.
        QTest::mouseMove(view.viewport(), centre + QPoint(20, 20));
        QTest::mouseMove(view.viewport(), centre);
        ASSERT_FALSE(moved.isEmpty());
        const QList<QVariant> last = moved.takeLast();
        EXPECT_EQ(last[0].toInt(), pixel.x());
        EXPECT_EQ(last[1].toInt(), pixel.y());
    }
}

TEST_F(MapPanel, GlyphColourFollowsCloudAndActive) {
    TThermal* t = addThermal(46.5, 9.0);
    const QPoint centre = glyphCentre(t);
    EXPECT_EQ(shownAt(centre), QColor(0, 0, 255));
    t->SetCloud(true);
    EXPECT_EQ(shownAt(centre), QColor(255, 0, 0));
    t->SetActive(true);
    EXPECT_EQ(shownAt(centre), QColor(255, 255, 255));
    t->SetActive(false);
    t->SetType(2);
    EXPECT_EQ(shownAt(centre + QPoint(-3, 0)), QColor(0, 255, 0));
    EXPECT_EQ(shownAt(centre + QPoint(0, -3)), QColor(Qt::black));
}

TEST_F(MapPanel, WaypointCrossIsCentredOnItsPosition) {
    zoom(2);
    scrollTo(100, 50);
    TWaypoint* w = addWaypoint(46.5, 9.0);
    const QPoint pixel(map.LonToX(9.0), map.LatToY(46.5));
    EXPECT_EQ(view.mapFromScene(w->pos() + QPointF(4, 4)), view.mapFromScene(QPointF(pixel)));
    EXPECT_EQ(view.glyphAt(onViewport(pixel.x(), pixel.y())), w);
}

TEST_F(MapPanel, PointerMovesReportImagePixels) {
    zoom(2);
    scrollTo(40, 30);
    QSignalSpy moved(&view, &MapView::imageMouseMoved);
    QTest::mouseMove(view.viewport(), onViewport(123, 77));
    ASSERT_EQ(moved.count(), 1);
    EXPECT_EQ(moved[0][0].toInt(), 123);
    EXPECT_EQ(moved[0][1].toInt(), 77);
}

TEST_F(MapPanel, PointerBesideASmallMapIsNotOnTheImage) {
    // A very wide panel leaves room right of the fitted map.
    view.resize(600, 150);
    zoom(1);
    ASSERT_LT(map.displayWidth() + 20, view.viewport()->width());
    QSignalSpy moved(&view, &MapView::imageMouseMoved);
    QSignalSpy clicked(&view, &MapView::imageClicked);
    const QPoint beside(map.displayWidth() + 10, 20);
    QTest::mouseMove(view.viewport(), beside);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, beside);
    EXPECT_EQ(moved.count(), 0);
    EXPECT_EQ(clicked.count(), 0);
}

TEST_F(MapPanel, ClickOnTheMapButNotOnAGlyph) {
    TThermal* t = addThermal(46.5, 9.0);
    TWaypoint* w = addWaypoint(46.25, 8.5);
    QSignalSpy clicked(&view, &MapView::imageClicked);

    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, onViewport(20, 20));
    EXPECT_EQ(clicked.count(), 1);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, glyphCentre(t));
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, onViewport(w->mapX(), w->mapY()));
    EXPECT_EQ(clicked.count(), 1);
    QTest::mouseClick(view.viewport(), Qt::RightButton, {}, onViewport(20, 20));
    EXPECT_EQ(clicked.count(), 1);

    // A hidden glyph does not catch the click.
    t->setVisible(false);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, glyphCentre(t));
    EXPECT_EQ(clicked.count(), 2);
}

TEST_F(MapPanel, PressOnAGlyphAndReleaseOnTheMapIsNoClick) {
    TThermal* t = addThermal(46.5, 9.0);
    QSignalSpy clicked(&view, &MapView::imageClicked);
    QTest::mousePress(view.viewport(), Qt::LeftButton, {}, glyphCentre(t));
    QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, onViewport(20, 20));
    EXPECT_EQ(clicked.count(), 0);
}

TEST_F(MapPanel, ClickOnTheAircraftCursorStillReachesTheMap) {
    QSettings settings(dir.filePath("brevan.INI"), QSettings::IniFormat);
    auto* cursor = new TacCursor(settings);
    view.scene()->addItem(cursor);
    cursor->setPos(50, 50);
    QSignalSpy clicked(&view, &MapView::imageClicked);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, onViewport(60, 60));
    EXPECT_EQ(clicked.count(), 1);
}

// A right click as the window system delivers it: a context-menu event at the pointer.
void RightClick(MapView& view, const QPoint& pos) {
    QContextMenuEvent event(QContextMenuEvent::Mouse, pos, view.viewport()->mapToGlobal(pos));
    QApplication::sendEvent(view.viewport(), &event);
}

TEST_F(MapPanel, RightClickNamesTheGlyphOrTheMapPixel) {
    zoom(2);
    scrollTo(30, 20);
    TThermal* t = addThermal(46.5, 9.0);
    TWaypoint* w = addWaypoint(46.25, 8.5);
    std::vector<std::pair<TThermal*, QPoint>> onThermal;
    std::vector<TWaypoint*> onWaypoint;
    QObject::connect(&view, &MapView::thermalContextMenu, [&](TThermal* thermal, QPoint global) {
        onThermal.emplace_back(thermal, global);
    });
    QObject::connect(&view, &MapView::waypointContextMenu,
                     [&](TWaypoint* waypoint, QPoint) { onWaypoint.push_back(waypoint); });
    QSignalSpy onMap(&view, &MapView::imageContextMenu);

    RightClick(view, glyphCentre(t));
    RightClick(view, onViewport(w->mapX(), w->mapY()));
    const QPoint mapPos = onViewport(150, 90);
    RightClick(view, mapPos);

    ASSERT_EQ(onThermal.size(), 1u);
    EXPECT_EQ(onThermal[0].first, t);
    EXPECT_EQ(onThermal[0].second, view.viewport()->mapToGlobal(glyphCentre(t)));
    EXPECT_EQ(onWaypoint, std::vector<TWaypoint*>{w});
    ASSERT_EQ(onMap.count(), 1);
    EXPECT_EQ(onMap[0][0].toInt(), 150);
    EXPECT_EQ(onMap[0][1].toInt(), 90);
    EXPECT_EQ(onMap[0][2].toPoint(), view.viewport()->mapToGlobal(mapPos));
}

// The tooltip shown for a request as the window system sends it when the pointer rests.
// A tooltip fades out with a delay, so a marker text shown first tells a fresh one apart.
QString TooltipAt(MapView& view, const QPoint& pos) {
    const QPoint global = view.viewport()->mapToGlobal(pos);
    QToolTip::showText(global, "(none)");
    QHelpEvent event(QEvent::ToolTip, pos, global);
    QApplication::sendEvent(view.viewport(), &event);
    return QToolTip::text();
}

TEST_F(MapPanel, TooltipIsTheHintOfTheGlyphAtThatMoment) {
    TThermal* t = addThermal(46.5, 9.0);
    TWaypoint* w = addWaypoint(46.25, 8.5);
    w->SetName("Grimsel");

    EXPECT_EQ(TooltipAt(view, glyphCentre(t)), t->Hint());
    t->SetTop(1500);
    t->SetHeightUnits(feet);
    const QString hint = TooltipAt(view, glyphCentre(t));
    EXPECT_TRUE(hint.contains("\nTop 4921ft\n")) << hint.toStdString();
    EXPECT_EQ(hint, t->Hint());
    EXPECT_EQ(TooltipAt(view, onViewport(w->mapX(), w->mapY())), w->Hint());
    EXPECT_EQ(TooltipAt(view, onViewport(20, 20)), "(none)");
    EXPECT_TRUE(view.hintAt(onViewport(20, 20)).isEmpty());
}

TEST_F(MapPanel, CursorOverAGlyphIsPassedOverForTheHint) {
    TThermal* t = addThermal(46.5, 9.0);
    QSettings settings(dir.filePath("brevan.INI"), QSettings::IniFormat);
    auto* cursor = new TacCursor(settings);
    view.scene()->addItem(cursor);
    cursor->setZValue(1);
    cursor->setPos(t->pos() - QPointF(5, 5));
    EXPECT_EQ(TooltipAt(view, glyphCentre(t)), t->Hint());
    EXPECT_EQ(view.hintAt(view.mapFromScene(cursor->pos() + QPointF(1, 10))), QString());
}

TEST_F(MapPanel, ResizingThePanelIsAnnounced) {
    QSignalSpy resized(&view, &MapView::resized);
    view.resize(320, 200);
    EXPECT_EQ(resized.count(), 1);
}

TEST_F(MapPanel, DestroyingAThermalTakesItsGlyphOffTheMap) {
    addThermal(46.5, 9.0);
    TThermal* second = addThermal(46.6, 9.1);
    ASSERT_EQ(view.scene()->items().size(), 2);
    thermals.erase(thermals.begin());
    EXPECT_EQ(view.scene()->items(), QList<QGraphicsItem*>{second});
}

TEST_F(MapPanel, HiddenGlyphsShowNoHint) {
    TThermal* t = addThermal(46.5, 9.0);
    const QPoint centre = glyphCentre(t);
    t->setVisible(false);
    EXPECT_EQ(view.glyphAt(centre), nullptr);
    EXPECT_TRUE(view.hintAt(centre).isEmpty());
}

TEST_F(MapPanel, TopmostGlyphAnswers) {
    TThermal* below = addThermal(46.5, 9.0);
    TWaypoint* above = addWaypoint(46.5, 9.0);
    EXPECT_EQ(view.hintAt(glyphCentre(below)), above->Hint());
    above->setZValue(-1);
    EXPECT_EQ(view.hintAt(glyphCentre(below)), below->Hint());
}

TEST(MapPanelWithoutMap, NothingIsOnTheImage) {
    RecordingPrompts prompts;
    Map map;
    MapView view(map);
    view.resize(300, 200);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    map.Resize(view.width(), view.height());
    EXPECT_EQ(view.sceneRect(), QRectF(0, 0, 0, 0));
    QSignalSpy moved(&view, &MapView::imageMouseMoved);
    QSignalSpy clicked(&view, &MapView::imageClicked);
    QSignalSpy onMap(&view, &MapView::imageContextMenu);
    QTest::mouseMove(view.viewport(), QPoint(10, 10));
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, QPoint(10, 10));
    RightClick(view, QPoint(10, 10));
    EXPECT_EQ(moved.count(), 0);
    EXPECT_EQ(clicked.count(), 0);
    EXPECT_EQ(onMap.count(), 0);
    EXPECT_FALSE(view.viewport()->grab().isNull());
}

TEST(MapPanelLifetime, ThermalsOutliveAViewThatGoesFirst) {
    RecordingPrompts prompts;
    Map map;
    ThermalList thermals;
    WaypointList waypoints;
    {
        MapView view(map);
        thermals.push_back(std::make_unique<TThermal>());
        waypoints.push_back(std::make_unique<TWaypoint>());
        view.scene()->addItem(thermals.back().get());
        view.scene()->addItem(waypoints.back().get());
    }
    EXPECT_EQ(thermals.back()->scene(), nullptr);
    EXPECT_EQ(waypoints.back()->scene(), nullptr);
    thermals.clear();
    waypoints.clear();
}

} // namespace
