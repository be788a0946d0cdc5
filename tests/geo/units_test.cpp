#include "geo/units.h"

#include <limits>

#include <gtest/gtest.h>

TEST(Units, MetresToFeet) {
    EXPECT_EQ(MetresToFeetTruncated(1500), 4921);
    EXPECT_EQ(MetresToFeetTruncated(-1500), -4921);
    EXPECT_EQ(MetresToFeetTruncated(0.9), 2);
    // 1 m is 3.28 ft: rounding gives 3, 2 m (6.56 ft) gives 7.
    EXPECT_EQ(MetresToFeetRounded(1), 3);
    EXPECT_EQ(MetresToFeetRounded(2), 7);
    EXPECT_EQ(MetresToFeetRounded(1500), 4921);
}

TEST(Units, FeetToMetres) {
    EXPECT_EQ(FeetToMetresTruncated(1500), 457);
    EXPECT_EQ(FeetToMetresTruncated(-1500), -457);
    EXPECT_EQ(FeetToMetresRounded(1000), 305);
    EXPECT_EQ(FeetToMetresRounded(1), 0);
    EXPECT_EQ(FeetToMetresRounded(2), 1);
}

TEST(Units, ConversionsStayInTheIntRange) {
    constexpr int highest = std::numeric_limits<int>::max();
    constexpr int lowest = std::numeric_limits<int>::min();
    EXPECT_EQ(MetresToFeetRounded(highest), highest);
    EXPECT_EQ(MetresToFeetRounded(lowest), lowest);
    EXPECT_EQ(MetresToFeetTruncated(1e300), highest);
    EXPECT_EQ(TruncateToInt(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(TruncateToInt(-2.9), -2);
    EXPECT_EQ(TruncateToInt(-1e20), lowest);
}
