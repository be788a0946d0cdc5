#include "map/map.h"
#include "recordingprompts.h"

#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString kData = QStringLiteral(MAP_DATA_DIR);

// A map whose 400 x 200 picture is written to a temporary folder, as a project's would be.
class MapFit : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        QImage(400, 200, QImage::Format_RGB32).save(dir.filePath("wide.bmp"));
        QImage(400, 400, QImage::Format_RGB32).save(dir.filePath("square.bmp"));
    }
    QTemporaryDir dir;
    RecordingPrompts prompts;
    Map map;
};

TEST(MapWithoutPicture, ConvertsEverythingToZero) {
    Map map;
    map.Resize(600, 600);
    EXPECT_EQ(map.displayWidth(), 0);
    EXPECT_EQ(map.displayHeight(), 0);
    EXPECT_EQ(map.XToLon(100), 0.0);
    EXPECT_EQ(map.YToLat(100), 0.0);
    EXPECT_EQ(map.LonToX(8.5), 0);
    EXPECT_EQ(map.LatToY(47.5), 0);
}

TEST_F(MapFit, WidePictureFillsTheWidthOfASquareBox) {
    map.Load("wide.bmp", dir.path(), 47, 46, 8, 10);
    ASSERT_TRUE(map.loaded);
    EXPECT_EQ(map.pictureWidth, 400);
    EXPECT_EQ(map.pictureHeight, 200);
    map.Resize(600, 600);
    EXPECT_EQ(map.displayWidth(), 600);
    EXPECT_EQ(map.displayHeight(), 300);
}

TEST_F(MapFit, SquarePictureFillsTheHeightOfAWideBox) {
    map.Load("square.bmp", dir.path(), 47, 46, 8, 10);
    map.Resize(600, 200);
    EXPECT_EQ(map.displayWidth(), 200);
    EXPECT_EQ(map.displayHeight(), 200);
}

TEST_F(MapFit, EmptyBoxGivesAnEmptyImage) {
    map.Load("wide.bmp", dir.path(), 47, 46, 8, 10);
    map.Resize(0, 0);
    EXPECT_EQ(map.displayWidth(), 0);
    EXPECT_EQ(map.displayHeight(), 0);
    EXPECT_EQ(map.XToLon(5), 0.0);
    map.Resize(600, 0);
    EXPECT_EQ(map.displayWidth(), 0);
    EXPECT_EQ(map.displayHeight(), 0);
}

TEST_F(MapFit, ResizeAndLoadAnnounceTheChange) {
    QSignalSpy spy(&map, &Map::displayChanged);
    map.Load("wide.bmp", dir.path(), 47, 46, 8, 10);
    map.Resize(600, 600);
    EXPECT_EQ(spy.count(), 2);
}

TEST_F(MapFit, LatitudeConversionsTruncateTowardZero) {
    map.Load("square.bmp", dir.path(), 47.0, 46.0, 8, 9);
    map.Resize(300, 300);
    ASSERT_EQ(map.displayHeight(), 300);
    EXPECT_EQ(map.LatToY(46.5), 150);
    EXPECT_DOUBLE_EQ(map.YToLat(150), 46.5);
    EXPECT_EQ(map.LatToY(47.001), 0);
    EXPECT_EQ(map.LatToY(47.02), -6);
    EXPECT_EQ(map.LatToY(46.0), 300);
}

TEST_F(MapFit, LongitudeConversionsUseTheDisplayedWidth) {
    map.Load("wide.bmp", dir.path(), 47, 46, 8, 10);
    map.Resize(800, 800);
    ASSERT_EQ(map.displayWidth(), 800);
    EXPECT_EQ(map.LonToX(9), 400);
    EXPECT_DOUBLE_EQ(map.XToLon(400), 9.0);
    EXPECT_EQ(map.LonToX(7.999), 0);
}

TEST_F(MapFit, EqualEdgesGiveZero) {
    map.Load("wide.bmp", dir.path(), 47, 47, 8, 8);
    map.Resize(600, 600);
    EXPECT_EQ(map.LonToX(8), 0);
    EXPECT_EQ(map.LonToX(120), 0);
    EXPECT_EQ(map.LatToY(-30), 0);
}

TEST_F(MapFit, FarOffPositionsStayWithinIntArithmetic) {
    map.Load("wide.bmp", dir.path(), 47, 47 - 1e-12, 8, 8 + 1e-12);
    map.Resize(600, 600);
    const int x = map.LonToX(170);
    const int y = map.LatToY(-80);
    EXPECT_GT(x, 100'000'000);
    EXPECT_GT(y, 100'000'000);
    EXPECT_LT(x, std::numeric_limits<int>::max() / 2);
    EXPECT_LT(y, std::numeric_limits<int>::max() / 2);
}

TEST(MapLoad, ReadsARealBitmapWithItsCalibration) {
    RecordingPrompts prompts;
    Map map;
    map.Load("wide.bmp", kData, 47.5, 46.5, 7.25, 9.75);
    EXPECT_TRUE(prompts.messages().isEmpty());
    EXPECT_TRUE(map.loaded);
    EXPECT_EQ(map.mapFile, "wide.bmp");
    EXPECT_EQ(map.pictureWidth, 40);
    EXPECT_EQ(map.pictureHeight, 20);
    EXPECT_EQ(map.latTop, 47.5);
    EXPECT_EQ(map.latBottom, 46.5);
    EXPECT_EQ(map.lonLeft, 7.25);
    EXPECT_EQ(map.lonRight, 9.75);
    EXPECT_EQ(map.picture().pixelColor(5, 5), QColor(255, 0, 0));
    EXPECT_EQ(map.picture().pixelColor(35, 5), QColor(0, 0, 255));
}

// Each bad picture is refused with the message, and the first map stays in use.
class MapLoadFailure : public ::testing::TestWithParam<QString> {};

TEST_P(MapLoadFailure, KeepsThePreviousPictureAndCalibration) {
    RecordingPrompts prompts;
    Map map;
    map.Load("wide.bmp", kData, 47, 46, 8, 10);
    map.Resize(600, 600);
    ASSERT_TRUE(prompts.messages().isEmpty());

    QSignalSpy spy(&map, &Map::displayChanged);
    map.Load(GetParam(), kData, 10, 9, 1, 2);

    EXPECT_EQ(prompts.messages(), QStringList{"File Error|Error with Map File"});
    EXPECT_EQ(spy.count(), 0);
    EXPECT_TRUE(map.loaded);
    EXPECT_EQ(map.mapFile, "wide.bmp");
    EXPECT_EQ(map.latTop, 47);
    EXPECT_EQ(map.latBottom, 46);
    EXPECT_EQ(map.lonLeft, 8);
    EXPECT_EQ(map.lonRight, 10);
    EXPECT_EQ(map.pictureWidth, 40);
    EXPECT_EQ(map.picture().size(), QSize(40, 20));
    EXPECT_EQ(map.LonToX(9), 300);
}

INSTANTIATE_TEST_SUITE_P(BadPictures, MapLoadFailure,
                         ::testing::Values("missing.bmp", "notapicture.bmp", "huge.bmp", "huge.png",
                                           ""));

TEST(MapLoad, FailureBeforeAnyPictureLeavesTheMapUnloaded) {
    RecordingPrompts prompts;
    Map map;
    map.Load("notapicture.bmp", kData, 47, 46, 8, 10);
    EXPECT_EQ(prompts.messages(), QStringList{"File Error|Error with Map File"});
    EXPECT_FALSE(map.loaded);
    EXPECT_TRUE(map.mapFile.isEmpty());
    EXPECT_EQ(map.latTop, 0);
    map.Resize(600, 600);
    EXPECT_EQ(map.displayWidth(), 0);
}

TEST(MapLoad, LargeScannedMapIsAccepted) {
    // 8000 x 6000 pixels decode to about 190 MB: a real map, not a forged one.
    QTemporaryDir dir;
    QImage picture(8000, 6000, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    ASSERT_TRUE(picture.save(dir.filePath("large.png")));
    RecordingPrompts prompts;
    Map map;
    map.Load("large.png", dir.path(), 47, 46, 8, 10);
    EXPECT_TRUE(prompts.messages().isEmpty());
    EXPECT_EQ(map.pictureWidth, 8000);
    EXPECT_EQ(map.pictureHeight, 6000);
}

TEST(MapLoad, PngAndJpegLoadToo) {
    QTemporaryDir dir;
    QImage picture(30, 10, QImage::Format_RGB32);
    picture.fill(Qt::green);
    ASSERT_TRUE(picture.save(dir.filePath("map.png")));
    ASSERT_TRUE(picture.save(dir.filePath("map.jpg")));
    RecordingPrompts prompts;
    Map map;
    map.Load("map.png", dir.path(), 47, 46, 8, 10);
    EXPECT_EQ(map.pictureWidth, 30);
    map.Load("map.jpg", dir.path(), 47, 46, 8, 10);
    EXPECT_EQ(map.mapFile, "map.jpg");
    EXPECT_EQ(map.pictureHeight, 10);
    EXPECT_TRUE(prompts.messages().isEmpty());
}

} // namespace
