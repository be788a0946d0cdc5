#include "map/map.h"
#include "recordingprompts.h"
#include "scene/thermal.h"
#include "scenetesting.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(ThermalConstruction, HintOfANewThermal) {
    TThermal t;
    EXPECT_EQ(t.Hint(), "Latitude 0\n"
                        "Lonitude 0\n"
                        "ThermalType 0\n"
                        "Bottom 0m\n"
                        "Top 0m\n"
                        "Radius 0m\n"
                        "Wind Dir 0deg\n"
                        "Factor 0\n"
                        "Strength Percent 0\n"
                        "Core Size Percent 0\n"
                        "Core Top Percent 0\n"
                        "Core Bottom Percent 0\n"
                        "No Cloud\n"
                        "Cumulus Horizontal Scale -1\n"
                        "Cumulus Vertical Scale -1\n"
                        "Cumulus Rotation Scale 0\n"
                        "Cumulus Cloud -0.5\n"
                        "Cumulus Start -1\n"
                        "Cumulus End -1\n"
                        "Terrain Height 0");
}

// A thermal with every value set, so that each hint line shows its own field.
class ThermalHint : public ::testing::Test {
protected:
    void SetUp() override {
        t.SetLat(47.25);
        t.SetLon(-8.125);
        t.SetType(2);
        t.SetBottom(300);
        t.SetTop(1500);
        t.SetRadius(500);
        t.SetWindDir(275);
        t.SetFactor(3);
        t.SetCloud(true);
        t.SetCloudBase(1800);
        t.SetCloudRadius(700);
        t.SetCloudType(4);
        t.SetCuHs(1.3f);
        t.SetCuVs(0.5f);
        t.SetCuRotation(45);
        t.SetCuCloud(1.0f);
        t.SetCuStart(600);
        t.SetCuEnd(900);
        t.SetGroundHeight(612);
        t.SetStrengthPercent(80);
        t.SetCorePercent(30);
        t.SetCoreBasePercent(20);
        t.SetCoreTopPercent(90);
    }
    TThermal t;
};

TEST_F(ThermalHint, InMetres) {
    EXPECT_EQ(t.Hint(), "Latitude 47.25\n"
                        "Lonitude -8.125\n"
                        "ThermalType 2\n"
                        "Bottom 300m\n"
                        "Top 1500m\n"
                        "Radius 500m\n"
                        "Wind Dir 275deg\n"
                        "Factor 3\n"
                        "Strength Percent 80\n"
                        "Core Size Percent 30\n"
                        "Core Top Percent 90\n"
                        "Core Bottom Percent 20\n"
                        "Cloudbase 1800m\n"
                        "CloudRadius 700m\n"
                        "CloudType 4\n"
                        "Cumulus Horizontal Scale 1.29999995231628\n"
                        "Cumulus Vertical Scale 0.5\n"
                        "Cumulus Rotation Scale 45\n"
                        "Cumulus Cloud 1\n"
                        "Cumulus Start 600\n"
                        "Cumulus End 900\n"
                        "Terrain Height 612");
}

TEST_F(ThermalHint, InFeetOnlyTheHeightsAreConverted) {
    t.SetHeightUnits(feet);
    const QStringList lines = t.Hint().split('\n');
    ASSERT_EQ(lines.size(), 22);
    EXPECT_EQ(lines[3], "Bottom 984ft");
    EXPECT_EQ(lines[4], "Top 4921ft");
    EXPECT_EQ(lines[5], "Radius 500m");
    EXPECT_EQ(lines[12], "Cloudbase 5905ft");
    EXPECT_EQ(lines[13], "CloudRadius 700m");
    EXPECT_EQ(lines[21], "Terrain Height 612");
}

TEST_F(ThermalHint, WithoutCloudOneLineStandsForTheThree) {
    t.SetCloud(false);
    const QStringList lines = t.Hint().split('\n');
    ASSERT_EQ(lines.size(), 20);
    EXPECT_EQ(lines[11], "Core Bottom Percent 20");
    EXPECT_EQ(lines[12], "No Cloud");
    EXPECT_EQ(lines[13], "Cumulus Horizontal Scale 1.29999995231628");
}

TEST_F(ThermalHint, NegativeValuesAreKeptAsGiven) {
    t.SetBottom(-40);
    t.SetHeightUnits(feet);
    t.SetSpare(-7);
    EXPECT_EQ(t.bottom, -40);
    EXPECT_EQ(t.spare, -7);
    EXPECT_EQ(t.Hint().split('\n')[3], "Bottom -131ft");
}

TEST(ThermalSetters, TypeIsReducedByASignedRemainder) {
    TThermal t;
    const std::pair<int, int> cases[] = {{1, 1}, {4, 4}, {5, 1},   {6, 2},  {9, 1},
                                         {2, 2}, {0, 0}, {-1, -1}, {-4, 0}, {-5, -1}};
    for (const auto& [given, stored] : cases) {
        t.SetType(given);
        EXPECT_EQ(t.type, stored) << "SetType(" << given << ")";
    }
    t.SetType(std::numeric_limits<int>::min());
    EXPECT_EQ(t.type, 0);
}

TEST(ThermalSetters, WindDirectionIsReducedByASignedRemainder) {
    TThermal t;
    const std::pair<int, int> cases[] = {{360, 0},    {725, 5}, {359, 359}, {-90, -90},
                                         {-450, -90}, {720, 0}, {90, 90}};
    for (const auto& [given, stored] : cases) {
        t.SetWindDir(given);
        EXPECT_EQ(t.windDir, stored) << "SetWindDir(" << given << ")";
    }
}

TEST(ThermalSetters, TypeAndWindShapeTheGlyph) {
    TThermal t;
    t.setVisible(true);
    t.SetType(1);
    t.SetWindDir(90);
    EXPECT_EQ(t.glyph().width, 15);
    EXPECT_EQ(t.boundingRect().adjusted(1, 1, -1, -1), QRectF(0, 0, 15, 10));
    EXPECT_EQ(t.shape().boundingRect(), QRectF(0, 0, 15, 10));
    t.SetType(4);
    EXPECT_EQ(t.shape().boundingRect(), QRectF(0, 0, 10, 10));
    t.SetType(3);
    t.SetWindDir(-90);
    EXPECT_EQ(t.shape().boundingRect(), QRectF(0, 0, 15, 10));
    t.SetWindDir(0);
    EXPECT_EQ(t.shape().boundingRect(), QRectF(0, 0, 10, 15));
}

TEST(ThermalSetters, HiddenThermalTakesItsShapeWhenShown) {
    TThermal t;
    t.SetType(1);
    t.SetWindDir(90);
    EXPECT_EQ(t.glyph().height, 15) << "a new thermal's glyph points north";
    t.setVisible(true);
    EXPECT_EQ(t.shape().boundingRect(), QRectF(0, 0, 15, 10));
    EXPECT_EQ(t.glyph().lineEnd, QPoint(15, 5));
}

// A thermal on a 400 x 200 map of 47-46 N, 8-10 E shown at 400 x 200.
class PlacedThermal : public ::testing::Test {
protected:
    void SetUp() override {
        WritePicture(dir.filePath("map.bmp"), 400, 200, Qt::white);
        map.Load("map.bmp", dir.path(), 47, 46, 8, 10);
        map.Resize(400, 200);
        t.map = &map;
        t.setVisible(true);
    }
    QTemporaryDir dir;
    RecordingPrompts prompts;
    Map map;
    TThermal t;
};

TEST_F(PlacedThermal, SitsWithItsCircleCentreOnItsPosition) {
    t.SetType(1);
    t.SetWindDir(270);
    t.SetLat(46.5);
    t.SetLon(9.0);
    EXPECT_EQ(t.mapX(), 200);
    EXPECT_EQ(t.mapY(), 100);
    EXPECT_EQ(t.pos(), QPointF(190, 95));
    t.SetWindDir(90);
    EXPECT_EQ(t.pos(), QPointF(195, 95));
}

TEST_F(PlacedThermal, EqualPositionChangesNothing) {
    t.SetLat(46.5);
    t.SetLon(9.0);
    map.Resize(800, 400);
    t.SetLat(46.5);
    t.SetLon(9.0);
    EXPECT_EQ(t.mapX(), 200);
    EXPECT_EQ(t.mapY(), 100);
    t.SetLat(46.25);
    EXPECT_EQ(t.mapY(), 300);
    EXPECT_EQ(t.mapX(), 200);
}

TEST_F(PlacedThermal, ResizeFollowsTheDisplayedSize) {
    t.SetType(4);
    t.SetLat(46.5);
    t.SetLon(9.0);
    map.Resize(1200, 600);
    t.resize();
    EXPECT_EQ(t.mapX(), 600);
    EXPECT_EQ(t.mapY(), 300);
    EXPECT_EQ(t.pos(), QPointF(595, 295));
    EXPECT_EQ(t.shape().boundingRect().size(), QSizeF(10, 10));
}

TEST(ThermalWithoutMap, PositionSettersDoNotCrash) {
    TThermal t;
    t.SetLat(47);
    t.SetLon(8);
    t.resize();
    EXPECT_EQ(t.lat, 47);
    EXPECT_EQ(t.mapX(), 0);
}

// The glyph's colours: item pixel (5, 2) lies inside the circle and off every wind line
// that starts at the centre (5, 5) of a type-4 or east-pointing glyph.
QColor FillOf(int type, bool cloud, bool active) {
    TThermal t;
    t.SetType(type);
    t.SetWindDir(90);
    t.SetCloud(cloud);
    t.SetActive(active);
    const QImage image = RenderItem(t);
    return ItemPixel(image, t, 5, 2);
}

TEST(ThermalPaint, FillColourByTypeCloudAndActive) {
    EXPECT_EQ(FillOf(1, false, false), QColor(0, 255, 255));
    EXPECT_EQ(FillOf(1, true, false), QColor(255, 255, 0));
    EXPECT_EQ(FillOf(1, true, true), QColor(255, 255, 0));
    EXPECT_EQ(FillOf(2, false, false), QColor(0, 255, 0));
    EXPECT_EQ(FillOf(2, true, true), QColor(0, 255, 0));
    EXPECT_EQ(FillOf(3, false, false), QColor(128, 0, 128));
    EXPECT_EQ(FillOf(3, true, false), QColor(128, 0, 128));
    EXPECT_EQ(FillOf(4, false, false), QColor(0, 0, 255));
    EXPECT_EQ(FillOf(4, true, false), QColor(255, 0, 0));
    EXPECT_EQ(FillOf(4, false, true), QColor(255, 255, 255));
    EXPECT_EQ(FillOf(4, true, true), QColor(255, 255, 255));
    EXPECT_EQ(FillOf(0, false, false), QColor(255, 0, 0));
    EXPECT_EQ(FillOf(-1, true, false), QColor(255, 0, 0));
}

TEST(ThermalPaint, TypeFourIsABareCircle) {
    TThermal t;
    t.SetType(4);
    t.SetWindDir(90);
    const QImage image = RenderItem(t);
    EXPECT_EQ(ItemPixel(image, t, 5, 5), QColor(0, 0, 255));
    EXPECT_EQ(ItemPixel(image, t, 0, 5), QColor(Qt::black));
    EXPECT_EQ(ItemPixel(image, t, 0, 0).alpha(), 0);
    EXPECT_EQ(ItemPixel(image, t, 9, 9).alpha(), 0);
    // Nothing right of the circle, where a wind line to the east would start.
    EXPECT_EQ(ItemPixel(image, t, 10, 5).alpha(), 0);
}

TEST(ThermalPaint, WindLineIsBlackToTheLineEnd) {
    TThermal t;
    t.SetType(2);
    t.SetWindDir(90);
    const QImage image = RenderItem(t);
    for (int x = 10; x < 15; ++x) {
        EXPECT_EQ(ItemPixel(image, t, x, 4), QColor(Qt::black)) << "x " << x;
        EXPECT_EQ(ItemPixel(image, t, x, 5), QColor(Qt::black)) << "x " << x;
        EXPECT_EQ(ItemPixel(image, t, x, 2).alpha(), 0) << "x " << x;
    }
    EXPECT_EQ(ItemPixel(image, t, 15, 5).alpha(), 0);
}

TEST(ThermalPaint, NorthLineRunsUpFromTheCentre) {
    TThermal t;
    t.SetType(3);
    t.SetWindDir(360);
    ASSERT_EQ(t.windDir, 0);
    const QImage image = RenderItem(t);
    for (int y = 0; y < 5; ++y)
        EXPECT_EQ(ItemPixel(image, t, 5, y), QColor(Qt::black)) << "y " << y;
    EXPECT_EQ(ItemPixel(image, t, 2, 1).alpha(), 0);
    EXPECT_EQ(ItemPixel(image, t, 2, 9), QColor(128, 0, 128));
}

} // namespace
