#include "scene/thermal.h"

#include <gtest/gtest.h>

namespace {

struct GlyphCase {
    int type;
    int windDir;
    int width, height;
    QPoint centre, circleOrigin, lineEnd;
};

void PrintTo(const GlyphCase& c, std::ostream* os) {
    *os << "type " << c.type << " wind " << c.windDir;
}

class ThermalGlyphGeometry : public ::testing::TestWithParam<GlyphCase> {};

TEST_P(ThermalGlyphGeometry, SizeCentreAndLineEnd) {
    const GlyphCase& c = GetParam();
    const ThermalGlyph g = ComputeThermalGlyph(c.type, c.windDir, ThermalGlyph{});
    EXPECT_EQ(g.width, c.width);
    EXPECT_EQ(g.height, c.height);
    EXPECT_EQ(g.centre, c.centre);
    EXPECT_EQ(g.circleOrigin, c.circleOrigin);
    if (c.type != 4) {
        EXPECT_EQ(g.lineEnd, c.lineEnd);
    }
}

INSTANTIATE_TEST_SUITE_P(
    WindDirections, ThermalGlyphGeometry,
    ::testing::Values(
        // North: the line runs straight up from the circle.
        GlyphCase{1, 0, 10, 15, {5, 10}, {0, 5}, {5, 0}},
        // East: to the right.
        GlyphCase{2, 90, 15, 10, {5, 5}, {0, 0}, {15, 5}},
        // South: down.
        GlyphCase{3, 180, 10, 15, {5, 5}, {0, 0}, {5, 15}},
        // West, the default direction of a new thermal: to the left.
        GlyphCase{1, 270, 15, 10, {10, 5}, {5, 0}, {0, 5}},
        // North-east: 10 x sin 45 = 7.07 rounds to 7 both ways.
        GlyphCase{1, 45, 12, 12, {5, 7}, {0, 2}, {12, 0}},
        // 300 degrees: quadrant 3, 30 degrees on: 10 cos 30 = 8.66 -> 9 left, 10 sin 30 = 5 up.
        GlyphCase{1, 300, 14, 10, {9, 5}, {4, 0}, {0, 0}},
        // 200 degrees: 10 sin 20 = 3.4 -> 3 left (within the circle), 10 cos 20 = 9.4 -> 9 down.
        GlyphCase{1, 200, 10, 14, {5, 5}, {0, 0}, {2, 14}},
        // Types outside 1 to 4 draw the line too.
        GlyphCase{0, 90, 15, 10, {5, 5}, {0, 0}, {15, 5}},
        // Type 4 is the bare circle whatever the wind.
        GlyphCase{4, 0, 10, 10, {5, 5}, {0, 0}, {}}, GlyphCase{4, 270, 10, 10, {5, 5}, {0, 0}, {}},
        GlyphCase{4, -90, 10, 10, {5, 5}, {0, 0}, {}}));

TEST(ThermalGlyphGeometry, WindExtentsAreMagnitudes) {
    const ThermalGlyph g = ComputeThermalGlyph(1, 225, ThermalGlyph{});
    EXPECT_EQ(g.windDx, 7);
    EXPECT_EQ(g.windDy, 7);
    EXPECT_EQ(g.lineEnd, QPoint(0, 12));
}

TEST(ThermalGlyphGeometry, NegativeWindKeepsThePreviousGeometry) {
    const ThermalGlyph east = ComputeThermalGlyph(1, 90, ThermalGlyph{});
    const ThermalGlyph kept = ComputeThermalGlyph(2, -90, east);
    EXPECT_EQ(kept.width, 15);
    EXPECT_EQ(kept.height, 10);
    EXPECT_EQ(kept.centre, east.centre);
    EXPECT_EQ(kept.lineEnd, east.lineEnd);
}

} // namespace
