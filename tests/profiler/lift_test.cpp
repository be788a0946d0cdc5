#include "geo/distance.h"
#include "profiler/lift.h"
#include "thermalmaker.h"

#include <climits>
#include <cmath>

#include <gtest/gtest.h>

namespace {

// Radius 1000 m with a core of 500 m.
TEST(RadialFactor, FullStrengthUpToTheCoreEdge) {
    const auto t = MakeThermal({.radius = 1000, .core = 50});
    EXPECT_EQ(RadialFactor(*t, 0), 1.0f);
    EXPECT_EQ(RadialFactor(*t, 499.9), 1.0f);
    EXPECT_EQ(RadialFactor(*t, 500), 1.0f);
}

TEST(RadialFactor, FallsLinearlyToZeroAtTheRadius) {
    const auto t = MakeThermal({.radius = 1000, .core = 50});
    EXPECT_EQ(RadialFactor(*t, 750), 0.5f);
    EXPECT_EQ(RadialFactor(*t, 900), 0.2f);
    EXPECT_EQ(RadialFactor(*t, 1000), 0.0f);
    EXPECT_EQ(RadialFactor(*t, 1500), 0.0f);
}

TEST(RadialFactor, ACoreOfTheWholeRadiusOrNoRadius) {
    EXPECT_EQ(RadialFactor(*MakeThermal({.radius = 1000, .core = 100}), 999.9), 1.0f);
    EXPECT_EQ(RadialFactor(*MakeThermal({.radius = 1000, .core = 0}), 500), 0.5f);
    EXPECT_EQ(RadialFactor(*MakeThermal({.radius = 0, .core = 50}), 0), 0.0f);
    EXPECT_EQ(RadialFactor(*MakeThermal({.radius = -100, .core = 50}), 0), 0.0f);
}

// The band 300-1500 m above the ground: span 1200, fades of 240 m below 540 and above 1260.
Profile Band() {
    return {.bottom = 300, .top = 1500, .coreBase = 20, .coreTop = 80};
}

TEST(VerticalFactor, FadesHalfwayBelowTheCoreBottomAndAboveTheCoreTop) {
    const auto t = MakeThermal(Band());
    EXPECT_EQ(VerticalFactor(*t, 0, 420), 0.5f);
    EXPECT_EQ(VerticalFactor(*t, 0, 1380), 0.5f);
}

TEST(VerticalFactor, FullStrengthBetweenCoreBottomAndCoreTop) {
    const auto t = MakeThermal(Band());
    EXPECT_EQ(VerticalFactor(*t, 0, 540), 1.0f);
    EXPECT_EQ(VerticalFactor(*t, 0, 900), 1.0f);
    EXPECT_EQ(VerticalFactor(*t, 0, 1260), 1.0f);
}

TEST(VerticalFactor, NothingAtOrOutsideTheBandEdges) {
    const auto t = MakeThermal(Band());
    EXPECT_EQ(VerticalFactor(*t, 0, 299), 0.0f);
    EXPECT_EQ(VerticalFactor(*t, 0, 300), 0.0f);
    EXPECT_EQ(VerticalFactor(*t, 0, 1500), 0.0f);
    EXPECT_EQ(VerticalFactor(*t, 0, 1501), 0.0f);
}

TEST(VerticalFactor, BandStandsOnTheTruncatedGroundBelowTheAircraft) {
    // Bottom level trunc(612.7 + 300) = 912; halfway up the lower fade is 1032.
    EXPECT_EQ(VerticalFactor(*MakeThermal(Band()), 612.7, 1032), 0.5f);
    // Below sea level the truncation goes toward zero: trunc(-20.5 + 300) = 279.
    EXPECT_EQ(VerticalFactor(*MakeThermal(Band()), -20.5, 399), 0.5f);
}

TEST(VerticalFactor, NoFadesMeanFullStrengthToTheBandEdges) {
    const auto t = MakeThermal({.bottom = 300, .top = 1500, .coreBase = 0, .coreTop = 100});
    EXPECT_EQ(VerticalFactor(*t, 0, 300), 1.0f);
    EXPECT_EQ(VerticalFactor(*t, 0, 1500), 1.0f);
}

TEST(VerticalFactor, UnguardedHeightsStayWithinTheFactorRange) {
    const auto upsideDown =
        MakeThermal({.bottom = 1500, .top = 300, .coreBase = 20, .coreTop = 80});
    EXPECT_EQ(VerticalFactor(*upsideDown, 0, 900), 0.0f);
    const auto huge = MakeThermal({.bottom = INT_MIN, .top = INT_MAX, .coreBase = 0, .coreTop = 0});
    const float v = VerticalFactor(*huge, 0, 0);
    EXPECT_GT(v, 0.0f);
    EXPECT_LT(v, 1.0f);
}

TEST(ComputeLift, InsideTheCoreTheStrengthShare) {
    // ms strength 50, strength 80 %.
    EXPECT_EQ(ComputeLift(*MakeThermal({.strength = 80}), 50, 0, 0, 800), 40);
}

TEST(ComputeLift, HalfwayBetweenCoreEdgeAndRadiusHalfOfIt) {
    EXPECT_EQ(
        ComputeLift(*MakeThermal({.radius = 1000, .strength = 80, .core = 50}), 50, 750, 0, 800),
        20);
}

TEST(ComputeLift, FactorsMultiplyAndTruncate) {
    // 50 x 75 % = 37.5, a quarter of the way into the lower fade: 9.375.
    const auto t = MakeThermal({.bottom = 0, .top = 1000, .strength = 75, .coreBase = 40});
    EXPECT_EQ(ComputeLift(*t, 50, 0, 0, 100), 9);
}

TEST(ComputeLift, NothingAtOrBeyondTheRadiusOrOutsideTheBand) {
    const auto t = MakeThermal({.top = 2000, .radius = 1000, .strength = 80});
    EXPECT_EQ(ComputeLift(*t, 50, 1000, 0, 800), 0);
    EXPECT_EQ(ComputeLift(*t, 50, 5000, 0, 800), 0);
    EXPECT_EQ(ComputeLift(*t, 50, 0, 0, 2500), 0);
}

TEST(ComputeLift, HeldWithinAByteInsteadOfWrapping) {
    // 255 x 150 % = 382, whose low byte would be a weak 126.
    EXPECT_EQ(ComputeLift(*MakeThermal({.strength = 150}), 255, 0, 0, 800), 255);
    EXPECT_EQ(ComputeLift(*MakeThermal({.strength = INT_MAX}), 255, 0, 0, 800), 255);
    EXPECT_EQ(ComputeLift(*MakeThermal({.strength = -50}), 255, 0, 0, 800), 0);
}

// Full roll for ms strength 160, strength 100 % and roll rate 10: 10 % of 160 x 0.05.
constexpr double kFullRoll = 0.8;

double RollAt(double acLat, double acLon, double heading) {
    const auto t = MakeThermal({.lat = 47.0, .lon = 8.0, .strength = 100});
    return ComputeRoll(*t, acLat, acLon, heading, Distance(acLat, acLon, 47.0, 8.0), 160, 10);
}

TEST(ComputeRoll, StrongestAcrossTheBearingToTheThermal) {
    // South of the thermal the bearing is 0: flying east crosses it, flying north does not.
    EXPECT_DOUBLE_EQ(RollAt(46.99, 8.0, 90), kFullRoll);
    EXPECT_NEAR(RollAt(46.99, 8.0, 0), 0, 1e-12);
    // North of it the bearing is 180.
    EXPECT_DOUBLE_EQ(RollAt(47.01, 8.0, 90), kFullRoll);
    EXPECT_DOUBLE_EQ(RollAt(47.01, 8.0, -90), -kFullRoll);
    EXPECT_NEAR(RollAt(47.01, 8.0, 180), 0, 1e-12);
}

TEST(ComputeRoll, EastAndWestOfTheThermal) {
    // West of it the bearing is 90, east of it 270.
    EXPECT_DOUBLE_EQ(RollAt(47.0, 7.99, 0), kFullRoll);
    EXPECT_NEAR(RollAt(47.0, 7.99, 90), 0, 1e-12);
    EXPECT_DOUBLE_EQ(RollAt(47.0, 8.01, 180), kFullRoll);
}

TEST(ComputeRoll, ScalesWithStrengthAndRollRate) {
    const auto t = MakeThermal({.lat = 47.0, .lon = 8.0, .strength = 50});
    const double d = Distance(46.99, 8.0, 47.0, 8.0);
    EXPECT_DOUBLE_EQ(ComputeRoll(*t, 46.99, 8.0, 90, d, 160, 100), 4.0);
}

TEST(ComputeRoll, NoRollAtTheCentre) {
    const auto t = MakeThermal({.lat = 47.0, .lon = 8.0, .strength = 100});
    EXPECT_EQ(ComputeRoll(*t, 47.0, 8.0, 45, 0, 160, 10), 0.0);
}

TEST(ComputeRoll, ArcsineArgumentAboveOneIsHeldAtOne) {
    // The east-west offset is measured from (10, -10), which counts as 1000 km from
    // anything, while the thermal itself is 1.5 km away: the ratio is far above 1.
    const auto t = MakeThermal({.lat = 10.0, .lon = -9.99, .strength = 100});
    const double d = Distance(10.01, -10.0, 10.0, -9.99);
    const double roll = ComputeRoll(*t, 10.01, -10.0, 0, d, 160, 10);
    EXPECT_TRUE(std::isfinite(roll));
    EXPECT_DOUBLE_EQ(roll, kFullRoll);
}

} // namespace
