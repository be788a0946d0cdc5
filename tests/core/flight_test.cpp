// The flight as it happens: the trail, the climb rate and the trail's colours.

#include "coretest.h"
#include "flight/trail.h"
#include "geo/coordtext.h"

#include <cmath>

namespace {

using namespace std::chrono_literals;
using coretest::Name;
using coretest::RowName;

const Trail::Clock::time_point kStart{std::chrono::hours(1)};

TEST(TrailTest, KeepsThirtyMinutesAndStartsAnewWhenTheClockGoesBack) {
    Trail trail;
    // A point every 50 ms for 31 minutes: the oldest minute drops off.
    const int points = 31 * 60 * 20;
    for (int i = 0; i < points; ++i)
        trail.Add(kStart + i * 50ms, {46, 7}, 1000);
    EXPECT_EQ(trail.points().front().time, kStart + 60s - 50ms);
    trail.Add(kStart, {46, 7}, 1000);
    EXPECT_EQ(trail.points().size(), 1u);
    // Every point is counted as dropped once: the minute that fell off and the rest cleared.
    EXPECT_EQ(trail.dropped(), std::size_t(points));
}

TEST(TrailTest, AJumpOrABreakStartsAPieceWithTheVarioAfresh) {
    Trail trail;
    trail.Add(kStart, {46, 7}, 1000);
    trail.Add(kStart + 1s, {46.001, 7}, 1001);     // 111 m in a second: flown
    trail.Add(kStart + 1500ms, {46.002, 7}, 1500); // 111 m in half a second: a jump
    trail.Add(kStart + 2500ms, {46.002, 7}, 1502);
    trail.Break(); // the aircraft moved, or the link came back
    trail.Add(kStart + 3500ms, {46.002, 7}, 1502);
    std::vector<bool> starts;
    std::vector<double> climbs;
    for (const Trail::Point& p : trail.points()) {
        starts.push_back(p.startsPiece);
        climbs.push_back(p.climbMps);
    }
    EXPECT_EQ(starts, (std::vector<bool>{false, false, true, false, true}));
    EXPECT_EQ(climbs, (std::vector<double>{0, 1, 0, 2, 0}));
}

using Climb = std::tuple<Name, std::vector<std::pair<int, double>>, double>;
class VarioTable : public ::testing::TestWithParam<Climb> {};
TEST_P(VarioTable, AltitudeChangeOverTheLastThreeSeconds) {
    const auto& [name, series, climb] = GetParam();
    Trail trail;
    for (const auto& [ms, altitude] : series)
        trail.Add(kStart + std::chrono::milliseconds(ms), {46, 7}, altitude);
    EXPECT_DOUBLE_EQ(trail.ClimbMps(), climb);
    EXPECT_DOUBLE_EQ(trail.points().back().climbMps, climb);
}
INSTANTIATE_TEST_SUITE_P(
    Series, VarioTable,
    ::testing::Values(Climb{"OnePoint", {{0, 1000}}, 0},
                      // Points older than three seconds do not count.
                      Climb{"OnlyTheWindow", {{0, 900}, {1000, 1000}, {4000, 1003}}, 1},
                      Climb{"WindowEdgeCounts", {{0, 1000}, {3000, 994}}, -2}),
    RowName);

using Colour = std::tuple<Name, double, int, Rgb>;
class ClimbColourTable : public ::testing::TestWithParam<Colour> {};
TEST_P(ClimbColourTable, BlueForSinkGreyForNothingRedForLift) {
    const auto& [name, climb, step, rgb] = GetParam();
    EXPECT_EQ(ClimbStep(climb), step);
    EXPECT_EQ(ClimbColour(climb), rgb);
}
INSTANTIATE_TEST_SUITE_P(Climbs, ClimbColourTable,
                         ::testing::Values(Colour{"StrongSink", -5, 0, {0, 0, 255}},
                                           Colour{"HalfLift", 1.5, 9, {203, 75, 75}},
                                           Colour{"StrongLift", 8, 12, {255, 0, 0}},
                                           Colour{"NoNumber", std::nan(""), 6, {150, 150, 150}}),
                         RowName);

} // namespace
