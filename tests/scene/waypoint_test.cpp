#include "map/map.h"
#include "recordingprompts.h"
#include "scene/waypoint.h"
#include "scenetesting.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(WaypointHint, NewWaypointShowsEveryLabel) {
    TWaypoint w;
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.Hint(), "ID 0\nLatitude 0\nLonitude 0\nHeight 0 m\nAttributes \nName: \nText: ");
}

TEST(WaypointHint, ValuesInMetresAndFeet) {
    TWaypoint w;
    w.SetID(12);
    w.SetLat(46.75);
    w.SetLon(-7.5);
    w.SetGroundHeight(500);
    w.SetAttributes("T");
    w.SetName("Grimsel");
    w.SetText("Pass, 2165 m");
    EXPECT_EQ(w.Hint(), "ID 12\nLatitude 46.75\nLonitude -7.5\nHeight 500 m\nAttributes T\n"
                        "Name: Grimsel\nText: Pass, 2165 m");
    w.SetHeightUnits(feet);
    EXPECT_EQ(w.Hint().split('\n')[3], "Height 1640 ft");
    EXPECT_EQ(w.tGroundHeight, 500);
}

class PlacedWaypoint : public ::testing::Test {
protected:
    void SetUp() override {
        WritePicture(dir.filePath("map.bmp"), 400, 200, Qt::white);
        map.Load("map.bmp", dir.path(), 47, 46, 8, 10);
        map.Resize(400, 200);
        w.map = &map;
    }
    QTemporaryDir dir;
    RecordingPrompts prompts;
    Map map;
    TWaypoint w;
};

TEST_F(PlacedWaypoint, CrossIsCentredOnItsPositionAtEveryZoom) {
    w.SetLat(46.5);
    w.SetLon(9.0);
    EXPECT_EQ(w.pos(), QPointF(196, 96));
    map.Resize(800, 400);
    w.resize();
    EXPECT_EQ(w.mapX(), 400);
    EXPECT_EQ(w.mapY(), 200);
    EXPECT_EQ(w.pos(), QPointF(396, 196));
    EXPECT_EQ(w.shape().boundingRect(), QRectF(0, 0, 8, 8));
}

TEST_F(PlacedWaypoint, EqualPositionChangesNothing) {
    w.SetLat(46.5);
    w.SetLon(9.0);
    map.Resize(800, 400);
    w.SetLat(46.5);
    w.SetLon(9.0);
    EXPECT_EQ(w.pos(), QPointF(196, 96));
    w.SetLon(9.5);
    EXPECT_EQ(w.pos(), QPointF(596, 96));
}

TEST(WaypointPaint, GreenCrossCornerToCorner) {
    TWaypoint w;
    const QImage image = RenderItem(w);
    const QColor lime(0, 255, 0);
    for (int i = 1; i < 7; ++i) {
        EXPECT_EQ(ItemPixel(image, w, i, i), lime) << i;
        EXPECT_EQ(ItemPixel(image, w, 7 - i, i), lime) << i;
    }
    EXPECT_EQ(ItemPixel(image, w, 4, 0).alpha(), 0);
    EXPECT_EQ(ItemPixel(image, w, 0, 4).alpha(), 0);
}

} // namespace
