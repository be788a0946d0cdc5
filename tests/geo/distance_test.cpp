#include "geo/distance.h"

#include <cmath>

#include <gtest/gtest.h>

TEST(Distance, EqualPositionsAreExactlyZero) {
    EXPECT_EQ(Distance(47, 8, 47, 8), 0);
    EXPECT_EQ(Distance(47.123456789, 8.98765, 47.123456789, 8.98765), 0);
    EXPECT_EQ(Distance(-33.9, 151.2, -33.9, 151.2), 0);
}

TEST(Distance, PositionsAddingUpToZeroCountAsFarAway) {
    EXPECT_EQ(Distance(0, 0, 47, 8), 1000);
    EXPECT_EQ(Distance(47, 8, 0, 0), 1000);
    EXPECT_EQ(Distance(10, -10, 47, 8), 1000);
    EXPECT_EQ(Distance(0, 0, 0, 0), 1000);
}

TEST(Distance, GreatCircleKilometres) {
    EXPECT_NEAR(Distance(47, 8, 48, 8), 111.195, 1e-9);
    EXPECT_NEAR(Distance(0, 1, 0, 2), 111.195, 1e-9);
    EXPECT_NEAR(Distance(10, 0.5, -10, 0.5), 20 * 111.195, 1e-9);
    EXPECT_NEAR(Distance(1, 0, -1, 180), 180 * 111.195, 1e-6);
    EXPECT_DOUBLE_EQ(Distance(47, 8, 46.5, 8.5), Distance(46.5, 8.5, 47, 8));
}

TEST(Distance, NearlyEqualPositionsGiveAFiniteSmallDistance) {
    const double d = Distance(47, 8, 47, 8.0000000001);
    EXPECT_TRUE(std::isfinite(d));
    EXPECT_LT(d, 0.001);
}
