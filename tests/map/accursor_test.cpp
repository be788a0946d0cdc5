#include "map/accursor.h"

#include <QImage>
#include <QPainter>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class CursorSettings : public ::testing::Test {
protected:
    QString iniPath() const { return dir.filePath("brevan.INI"); }
    void writeIni(const QByteArray& text) {
        QFile file(iniPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    QTemporaryDir dir;
};

// The cursor as painted: opaque red pixels on a transparent picture of its own size.
QImage Render(TacCursor& cursor) {
    QImage image(cursor.width(), cursor.height(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    cursor.paint(&painter, nullptr, nullptr);
    return image;
}

bool IsRed(const QImage& image, int x, int y) {
    return image.pixel(x, y) == qRgb(255, 0, 0);
}

// The columns of row y that hold red.
std::vector<int> RedColumns(const QImage& image, int y) {
    std::vector<int> columns;
    for (int x = 0; x < image.width(); ++x) {
        if (IsRed(image, x, y))
            columns.push_back(x);
    }
    return columns;
}

std::vector<int> RedRows(const QImage& image, int x) {
    std::vector<int> rows;
    for (int y = 0; y < image.height(); ++y) {
        if (IsRed(image, x, y))
            rows.push_back(y);
    }
    return rows;
}

TEST_F(CursorSettings, FirstRunUsesAndWritesTheDefaults) {
    {
        QSettings settings(iniPath(), QSettings::IniFormat);
        TacCursor cursor(settings);
        EXPECT_EQ(cursor.width(), 20);
        EXPECT_EQ(cursor.height(), 20);
        EXPECT_EQ(cursor.Weight, 1);
        EXPECT_EQ(cursor.pos(), QPointF(0, 0));
        EXPECT_TRUE(cursor.isVisible());
    }
    QSettings written(iniPath(), QSettings::IniFormat);
    EXPECT_EQ(written.value("ACCursor/Width").toString(), "20");
    EXPECT_EQ(written.value("ACCursor/Height").toString(), "20");
    EXPECT_EQ(written.value("ACCursor/Weight").toString(), "1");
}

TEST_F(CursorSettings, DefaultCrossHasOnePixelArmsThroughTheMiddle) {
    QSettings settings(iniPath(), QSettings::IniFormat);
    TacCursor cursor(settings);
    const QImage image = Render(cursor);
    std::vector<int> all(20);
    std::iota(all.begin(), all.end(), 0);
    EXPECT_EQ(RedColumns(image, 3), std::vector<int>{10});
    EXPECT_EQ(RedRows(image, 3), std::vector<int>{10});
    EXPECT_EQ(RedRows(image, 10), all);
    EXPECT_EQ(RedColumns(image, 10), all);
    EXPECT_EQ(qAlpha(image.pixel(3, 3)), 0);
}

TEST_F(CursorSettings, OddWidthPutsTheVerticalArmAtTheTruncatedHalf) {
    writeIni("[ACCursor]\nWidth=21\nHeight=15\n");
    QSettings settings(iniPath(), QSettings::IniFormat);
    TacCursor cursor(settings);
    EXPECT_EQ(cursor.width(), 21);
    EXPECT_EQ(cursor.height(), 15);
    EXPECT_EQ(cursor.boundingRect(), QRectF(0, 0, 21, 15));
    const QImage image = Render(cursor);
    EXPECT_EQ(RedColumns(image, 2), std::vector<int>{10});
    EXPECT_EQ(RedRows(image, 2), std::vector<int>{7});
}

TEST_F(CursorSettings, WeightThreeGivesThreePixelArms) {
    writeIni("[ACCursor]\nWeight=3\n");
    QSettings settings(iniPath(), QSettings::IniFormat);
    TacCursor cursor(settings);
    EXPECT_EQ(cursor.Weight, 3);
    const QImage image = Render(cursor);
    EXPECT_EQ(RedColumns(image, 2), (std::vector<int>{9, 10, 11}));
    EXPECT_EQ(RedRows(image, 2), (std::vector<int>{9, 10, 11}));
}

TEST_F(CursorSettings, WeightZeroStillDrawsHairlines) {
    writeIni("[ACCursor]\nWeight=0\n");
    QSettings settings(iniPath(), QSettings::IniFormat);
    TacCursor cursor(settings);
    const QImage image = Render(cursor);
    EXPECT_EQ(RedColumns(image, 2), std::vector<int>{10});
}

TEST_F(CursorSettings, NegativeSizeGivesAnEmptyCross) {
    writeIni("[ACCursor]\nWidth=-5\nHeight=-1\n");
    QSettings settings(iniPath(), QSettings::IniFormat);
    TacCursor cursor(settings);
    EXPECT_EQ(cursor.width(), -5);
    EXPECT_TRUE(cursor.boundingRect().isEmpty());
}

TEST_F(CursorSettings, BadValuesFallBackToTheDefaultsAndAreWrittenBack) {
    writeIni("[ACCursor]\nWidth=wide\nHeight=12.5\nWeight=\n");
    {
        QSettings settings(iniPath(), QSettings::IniFormat);
        TacCursor cursor(settings);
        EXPECT_EQ(cursor.width(), 20);
        EXPECT_EQ(cursor.height(), 20);
        EXPECT_EQ(cursor.Weight, 1);
    }
    QSettings written(iniPath(), QSettings::IniFormat);
    EXPECT_EQ(written.value("ACCursor/Width").toString(), "20");
    EXPECT_EQ(written.value("ACCursor/Height").toString(), "20");
    EXPECT_EQ(written.value("ACCursor/Weight").toString(), "1");
}

} // namespace
