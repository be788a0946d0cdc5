#include <QIcon>
#include <QImage>

#include <gtest/gtest.h>

namespace {

QImage IconImage(int size) {
    return QIcon(QStringLiteral(":/icons/brevan-talvor.svg")).pixmap(size, size).toImage();
}

// The icon reaches the program only through the linked resource and the SVG plugin; a
// dropped resource or a missing plugin gives an empty icon.
TEST(ApplicationIcon, RendersFromTheResourceAtSmallAndLargeSizes) {
    for (const int size : {16, 256}) {
        SCOPED_TRACE(size);
        const QImage image = IconImage(size);
        ASSERT_EQ(image.width(), size);
        ASSERT_EQ(image.height(), size);
        // Drawn in the middle, rounded off at the corners.
        EXPECT_EQ(qAlpha(image.pixel(size / 2, size / 2)), 255);
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
    }
}

} // namespace
