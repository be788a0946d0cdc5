// The moving map: following the aircraft, zooming about the pointer, panning by a drag,
// the lift-profile picture and the files remembered.

#include "dialogs/liftprofile.h"
#include "dialogs/thermaldata.h"
#include "profiler/thermallift.h"
#include "qtfixtures.h"
#include "scene/accursor.h"

#include <cmath>
#include <numbers>

#include <QComboBox>
#include <QMenu>
#include <QScrollBar>
#include <QWheelEvent>

namespace {

class MovingMap : public EditingMap {
protected:
    void SetUp() override {
        EditingMap::SetUp();
        // Zoomed in four times: the map is larger than the panel and scrolls.
        for (int i = 0; i < 3; ++i)
            run(Command::ToolButton3);
    }
    QPoint scroll() const {
        return {panel().horizontalScrollBar()->value(), panel().verticalScrollBar()->value()};
    }
};

TEST_F(MovingMap, FollowingScrollsUntilTheMapIsDraggedAndAShortLeftDragIsAClick) {
    // Far in the map's south-east, out of view: following brings it in.
    link->lat = map().YToLat(map().displayHeight() - 20);
    link->lon = map().XToLon(map().displayWidth() - 20);
    live().DisplayUpdateTimerTimer();
    const QPoint followed = scroll();
    EXPECT_TRUE(panel().viewport()->rect().contains(at(form->cursor().pos().toPoint())));
    // The 20-pixel cursor is centred on the aircraft, whatever the scroll.
    EXPECT_EQ(form->cursor().pos().toPoint() + QPoint(10, 10),
              QPoint(map().LonToX(link->lon), map().LatToY(link->lat)));
    // Moving the map by hand ends following: the next tick leaves the view where it is.
    dragBy(Qt::MiddleButton, {100, 100}, {40, 30});
    EXPECT_FALSE(form->action(Command::FollowAircraft)->isChecked());
    const QPoint dragged = scroll();
    EXPECT_EQ(dragged, followed - QPoint(40, 30));
    link->lat = map().YToLat(10);
    live().DisplayUpdateTimerTimer();
    EXPECT_EQ(scroll(), dragged);
    // A left drag pans too and adds nothing; a short one is a click (the pointer has moved
    // over the map: clicks from here on are meant).
    clickAt(panel().mapToScene(QPoint(60, 40)).toPoint());
    dragBy(Qt::LeftButton, {150, 120}, {60, 0});
    EXPECT_EQ(scroll(), dragged - QPoint(60, 0));
    EXPECT_EQ(doc().thermals().size(), 1u);
    dragBy(Qt::LeftButton, {150, 120}, {1, 1}); // within the drag distance
    EXPECT_EQ(doc().thermals().size(), 2u);
}

TEST_F(MovingMap, TheWheelZoomsAboutThePointerAndTheTrailShowsWhereTheAircraftFlew) {
    const QPoint pointer(120, 90);
    const auto underPointer = [this, pointer] {
        const QPointF p = panel().mapToScene(pointer);
        return std::pair(map().YToLat(int(p.y())), map().XToLon(int(p.x())));
    };
    const auto [lat, lon] = underPointer();
    const double zoom = form->zoomFactor();
    QWheelEvent wheel(pointer, panel().viewport()->mapToGlobal(pointer), {}, {0, 240}, Qt::NoButton,
                      {}, Qt::NoScrollPhase, false);
    QApplication::sendEvent(panel().viewport(), &wheel);
    EXPECT_DOUBLE_EQ(form->zoomFactor(), zoom * 1.25 * 1.25);
    // Within a pixel of the new size.
    EXPECT_NEAR(underPointer().first, lat, 2 * std::abs(map().YToLat(1) - map().YToLat(0)));
    EXPECT_NEAR(underPointer().second, lon, 2 * std::abs(map().XToLon(1) - map().XToLon(0)));

    // The trail is drawn where the aircraft flew, from 40 to 140 pixels across the view (the
    // cursor stays clear of 90), until cleared.
    form->action(Command::FollowAircraft)->setChecked(false);
    const QPointF start = panel().mapToScene(QPoint(40, 100));
    // Ten minutes apart: flown, not jumped.
    Trail::Clock::time_point now{};
    live().SetClock([&now] { return now += std::chrono::minutes(10); });
    for (const int dx : {0, 100}) {
        std::tie(link->lat, link->lon) =
            std::tuple(map().YToLat(int(start.y())), map().XToLon(int(start.x()) + dx));
        live().ReadDataTimerTimer();
    }
    // The row the trail is drawn on.
    const int row = panel().mapFromScene(QPointF(0, map().LatToY(link->lat))).y();
    const auto middle = [this, row] {
        return panel().viewport()->grab().toImage().pixelColor(90, row);
    };
    const QColor bare = middle();
    live().DisplayUpdateTimerTimer();
    EXPECT_NE(middle(), bare);
    // Laid out anew at the next zoom step, still where the aircraft flew.
    const double trailLat = map().YToLat(int(start.y()));
    const double trailLon = map().XToLon(int(start.x()) + 50);
    run(Command::ToolButton3);
    const QPointF mid(map().LonToX(trailLon), map().LatToY(trailLat));
    panel().centerOn(mid);
    const auto atMid = [&] {
        return panel().viewport()->grab().toImage().pixelColor(panel().mapFromScene(mid));
    };
    const QColor drawn = atMid();
    run(Command::ClearTrail);
    EXPECT_NE(atMid(), drawn);
}

TEST_F(MainWindow, AThermalsRingShowsAtItsTrueRadiusOnceItOutgrowsItsGlyph) {
    loadProject(project("alps.prj", Lines({kBasicLine}))); // radius 300 m, type 4 with a cloud
    Thermal& t = *doc().thermals()[0];
    form->action(Command::FollowAircraft)->setChecked(false);
    // Whether the type's red stands within two pixels of a point west of a centre.
    const auto redWestBy = [&](int west, QPoint centre) {
        panel().centerOn(centre);
        const auto red = [](QColor c) {
            return c.red() > 180 && c.green() < 100 && c.blue() < 100;
        };
        return CountPixels(panel().viewport()->grab().toImage(),
                           {at(centre - QPoint(west + 2, 0)), QSize(5, 1)}, red) > 0;
    };
    // The radius in pixels, from the map's degrees (111.195 km to a degree).
    const auto ring = [&] {
        const double degrees = t.radius / 111195.0 / std::cos(t.lat * std::numbers::pi / 180);
        return pixelOf(t).x() - map().LonToX(t.lon - degrees);
    };
    EXPECT_FALSE(redWestBy(12, pixelOf(t))); // 300 m are about a pixel on the whole map
    while (ring() < 12)
        run(Command::ToolButton3);
    EXPECT_TRUE(redWestBy(ring(), pixelOf(t)));
    EXPECT_FALSE(redWestBy(ring() + 6, pixelOf(t)));

    // With wind, while linked, the ring stands where the axis is at the aircraft's height.
    t.SetStrengthPercent(80);
    std::tie(link->msStrength, link->ground, link->altitude) = std::tuple(100, 0, 500);
    Retype(form->thermalData(), "windSpeed", "2");
    live().DisplayUpdateTimerTimer();
    const QPoint drifted = map().PixelOf(AxisAt(t, {LiftShape::plateau, 2}, 100, 0, 500));
    EXPECT_GT(drifted.x() - pixelOf(t).x(), 2 * ring()); // 625 m downwind of the west wind
    EXPECT_TRUE(redWestBy(ring(), drifted));
    EXPECT_FALSE(redWestBy(ring(), pixelOf(t)));
}

// What each sample shows is the core's to check; here, that the picture follows the window's
// values, from the first ones on: it reaches a quarter beyond the radius.
TEST_F(MainWindow, TheProfilePictureFollowsTheWindowsValues) {
    const LiftProfileView& picture = form->thermalData().liftProfile();
    EXPECT_EQ(picture.radial().back().atM, 625);
    Retype(form->thermalData(), "radius", "800");
    EXPECT_EQ(picture.radial().back().atM, 1000);
    // A shape with sink reaches twice the radius, below 0 there; wind leans the axis.
    auto* shape = form->thermalData().findChild<QComboBox*>("liftShape");
    shape->setCurrentIndex(shape->findText("Bell with sink"));
    EXPECT_EQ(picture.radial().back().atM, 1600);
    EXPECT_LT(picture.radial()[45].percent, 0);
    EXPECT_EQ(picture.axis().back().downwindM, 0);
    // Each change is drawn again at once.
    struct Paints : QObject {
        int count = 0;
        bool eventFilter(QObject*, QEvent* event) override {
            count += event->type() == QEvent::Paint;
            return false;
        }
    } paints;
    form->thermalData().findChild<LiftProfileView*>("LiftProfile")->installEventFilter(&paints);
    Retype(form->thermalData(), "windSpeed", "3");
    EXPECT_GT(picture.axis().back().downwindM, 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return paints.count > 0; }));
}

TEST_F(MainWindow, RecentFilesAndChoicesSurviveARestart) {
    const QString file = project("alps.prj");
    form->LoadProjectFile(file, false);
    run(Command::DegMinSec);
    run(Command::Feet);
    run(Command::ClickToAddWaypoint);
    auto* shape = form->thermalData().findChild<QComboBox*>("liftShape");
    shape->setCurrentIndex(shape->findText("Gaussian"));
    Retype(form->thermalData(), "windSpeed", "4.5");
    open("0");
    for (const Command kept : {Command::DegMinSec, Command::Feet, Command::ClickToAddWaypoint})
        EXPECT_TRUE(form->action(kept)->isChecked()) << int(kept);
    const LiftModel lift = form->thermalData().liveSettings().profiler.lift;
    EXPECT_EQ(std::pair(lift.shape, lift.windMs), std::pair(LiftShape::gaussian, 4.5));
    auto* recent = form->findChild<QMenu*>("RecentFiles");
    ASSERT_TRUE(recent && !recent->actions().isEmpty());
    recent->actions().front()->trigger();
    EXPECT_EQ(doc().projectFileName(), "alps.prj");
    // Five at most, newest first, each once.
    for (const char* name : {"b.prj", "c.prj", "d.prj", "e.prj", "f.prj", "c.prj"})
        form->LoadProjectFile(project(name), false);
    QStringList shown;
    for (const QString& path : form->recentFiles(true))
        shown << QFileInfo(path).fileName();
    EXPECT_EQ(shown, QStringList({"c.prj", "f.prj", "e.prj", "d.prj", "b.prj"}));
}

} // namespace
