// The map panel: glyphs over their positions and following their values, and what the
// pointer finds on the map.

#include "geo/coordtext.h"
#include "qtfixtures.h"
#include "scene/trailitem.h"

#include <set>

#include <QHelpEvent>
#include <QSignalSpy>
#include <QToolTip>

namespace {

// A 300 x 225 map of 47.5-47 N, 7.5-8.5 E with three thermals of type 4 far apart and a
// waypoint.
class MapPanel : public DocumentView {
protected:
    void SetUp() override {
        DocumentView::SetUp();
        doc.LoadProject(project("alps.prj", Lines({kFullLine, kFullLine, kFullLine})), false);
        thermal(1).SetLat(47.4);
        thermal(2).SetLon(7.6);
        doc.AddWaypoint({47.3, 7.9}, "Grimsel");
    }
    Thermal& thermal(std::size_t i) const { return *doc.thermals()[i]; }
    QPoint pixelOf(const auto& value) const { return doc.map().PixelOf(value.Position()); }
    QPoint at(QPoint pixel) const { return view.mapFromScene(pixel); }
    const MapGlyph* glyphAt(QPoint pixel) const { return view.glyphAt(at(pixel)); }
};

TEST_F(MapPanel, GlyphsSitOverTheirPositionsAndFollowTheirValues) {
    // Where they were made is where the pointer finds them below; a new size moves them.
    doc.map().Resize(900, 900);
    for (const auto& t : doc.thermals()) {
        const TThermal* glyph = GlyphOf(view, *t);
        const GlyphPoint centre = glyph->glyph().centre;
        EXPECT_EQ(glyph->pos().toPoint() + QPoint(centre.x, centre.y), pixelOf(*t));
    }
    const MapGlyph* cross = view.glyphs().glyphs().back();
    EXPECT_EQ(cross->mapToScene(cross->shape().boundingRect().center()).toPoint(),
              pixelOf(*doc.waypoints()[0]));

    // A type or wind change lays the glyph out again; a delete removes it.
    Thermal& t = thermal(0);
    const QPoint west = pixelOf(t) - QPoint(8, 0);
    const QPoint east = pixelOf(t) + QPoint(8, 0);
    // A type 4 glyph is the circle alone; other types reach 10 pixels towards the wind.
    EXPECT_EQ(std::tuple(glyphAt(west), glyphAt(east)), std::tuple(nullptr, nullptr));
    t.SetType(1);
    EXPECT_EQ(std::tuple(glyphAt(west), glyphAt(east)), std::tuple(GlyphOf(view, t), nullptr));
    t.SetWindDir(90);
    EXPECT_EQ(std::tuple(glyphAt(west), glyphAt(east)), std::tuple(nullptr, GlyphOf(view, t)));
    // Deleted values take their glyphs with them.
    const QPoint first = pixelOf(t);
    ASSERT_TRUE(doc.DeleteThermal(&t));
    EXPECT_EQ(glyphAt(first), nullptr);
    // The waypoint's glyph, last in the set, took the first one's place: it goes cleanly too.
    ASSERT_TRUE(doc.DeleteWaypoint(doc.waypoints()[0].get()));
    const std::vector<MapGlyph*>& left = view.glyphs().glyphs();
    EXPECT_EQ(std::set<const MapGlyph*>(left.begin(), left.end()),
              (std::set<const MapGlyph*>{GlyphOf(view, thermal(0)), GlyphOf(view, thermal(1))}));
    doc.ClearThermals();
    EXPECT_TRUE(view.scene()->items().isEmpty());
}

TEST_F(MapPanel, HintAtThePointerIsTheValuesHintAtThatMomentAndAClickBesideAGlyphIsAnImageClick) {
    // The tooltip shown when the pointer rests; a marker shown first tells a new one apart.
    const auto tooltipAt = [this](QPoint pixel) {
        const QPoint global = view.viewport()->mapToGlobal(at(pixel));
        QToolTip::showText(global, QStringLiteral("(none)"));
        QHelpEvent help(QEvent::ToolTip, at(pixel), global);
        QApplication::sendEvent(view.viewport(), &help);
        return QToolTip::text().toStdString();
    };
    // Where it is in the format of the moment, then the value's hint.
    const auto hint = [this](const auto& value) {
        return PositionText(value.lat, value.lon, degMinSec) + '\n' + value.Hint(units.height);
    };
    const Thermal& t = thermal(0);
    units = {feet, degMinSec}; // the hint of the moment, not the one the glyph was made with
    EXPECT_EQ(tooltipAt(pixelOf(t)), hint(t));
    EXPECT_EQ(tooltipAt(pixelOf(*doc.waypoints()[0])), hint(*doc.waypoints()[0]));
    EXPECT_EQ(tooltipAt({150, 200}), "(none)");

    // A left click on the map but not on a glyph is an image click.
    QSignalSpy clicked(&view, &MapView::imageClicked);
    // A 200 x 150 map: its last column and row count, the next ones do not. The click that
    // brought the window to the front adds nothing; the pointer moving over the map shows
    // that the next one is meant.
    doc.map().Resize(200, 300);
    view.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, at({20, 20}));
    EXPECT_EQ(clicked.count(), 0);
    QMouseEvent move(QEvent::MouseMove, at({20, 20}), view.viewport()->mapToGlobal(at({20, 20})),
                     Qt::NoButton, {}, {});
    QApplication::sendEvent(view.viewport(), &move);
    for (const QPoint pixel : {QPoint(199, 149), QPoint(200, 20), QPoint(20, 150)})
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, at(pixel));
    EXPECT_EQ(clicked.count(), 1);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, at(pixelOf(thermal(0))));
    QTest::mouseClick(view.viewport(), Qt::RightButton, {}, at({20, 20}));
    // Pressed on a glyph, released on the map.
    QTest::mousePress(view.viewport(), Qt::LeftButton, {}, at(pixelOf(thermal(0))));
    QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, at({20, 20}));
    EXPECT_EQ(clicked.count(), 1);
}

// Once points drop off the trail's far end, the newest still lands where it was flown.
TEST_F(MapPanel, TheTrailKeepsItsNewestPointsOnceTheOldestDropOff) {
    Trail trail(std::chrono::seconds(1000));
    auto* item = new TrailItem(trail, doc.map());
    view.scene()->addItem(item);
    const Trail::Clock::time_point start{};
    const auto fly = [&](int seconds, double lon) {
        trail.Add(start + std::chrono::seconds(seconds), {47.25, lon}, 1000);
        item->Refresh();
    };
    fly(0, 7.6);
    fly(500, 7.7);
    fly(1200, 8.3); // the first drops off
    ASSERT_EQ(trail.dropped(), 1u);
    const QPoint middle = at({doc.map().LonToX(8.0), doc.map().LatToY(47.25)});
    const QColor drawn = view.viewport()->grab().toImage().pixelColor(middle);
    trail.Clear();
    item->Refresh();
    EXPECT_NE(view.viewport()->grab().toImage().pixelColor(middle), drawn);
}

} // namespace
