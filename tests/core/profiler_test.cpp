#include "builders.h"
#include "coretest.h"
#include "fakelink.h"
#include "geo/distance.h"
#include "geo/offset.h"
#include "profiler/lift.h"
#include "profiler/profiler.h"
#include "profiler/thermallift.h"

#include <cmath>
#include <numbers>

namespace {

using coretest::RowName;

constexpr double kKmPerDegree = 111.195;
using Ints = std::vector<int>;

// A core of 50 % of the radius at 80 % strength, in the band 300-1500 m above the ground whose
// lowest and highest 240 m fade.
ThermalSettings Profile(int strength = 80, int radius = 1000) {
    return {1,  300, 1500, radius, 270, 30000, true,     1500, 500, 1,
            -1, -1,  0,    -0.5f,  -1,  -1,    strength, 50,   20,  80};
}

// At 420 m: (420 - 300) / 240 = 0.5 of the strength; the band stands on the truncated ground
// below the aircraft.
struct LiftRow {
    const char* name;
    int msStrength, strength; // the simulator's, and the thermal's per cent
    double distanceM, groundM, altitudeM;
    int lift; // written
};
class LiftTable : public ::testing::TestWithParam<LiftRow> {};
TEST_P(LiftTable, StrengthShapedByRadiusAndHeight) {
    const LiftRow& r = GetParam();
    const auto t = NewThermal(47, 8, Profile(r.strength));
    EXPECT_EQ(ComputeLift(*t, r.msStrength, r.distanceM, r.groundM, r.altitudeM), r.lift);
}
const LiftRow kLiftRows[] = {
    {"CoreEdge", 50, 80, 500, 0, 900, 40},        {"HalfwayToTheRadius", 50, 80, 750, 0, 900, 20},
    {"AtTheRadius", 50, 80, 1000, 0, 900, 0},     {"HalfwayUpTheLowerFade", 50, 80, 0, 0, 420, 20},
    {"Truncated", 50, 80, 0, 0, 310, 1},          {"CoreBottom", 50, 80, 0, 0, 540, 40},
    {"CoreTop", 50, 80, 0, 0, 1260, 40},          {"HalfwayUpTheUpperFade", 50, 80, 0, 0, 1380, 20},
    {"BelowSeaLevel", 50, 80, 0, -20.5, 399, 20}, {"FullByte", 255, 100, 0, 0, 900, 255},
    {"HeldAtAByte", 255, 150, 0, 0, 900, 255},    {"NegativeStrength", 255, -50, 0, 0, 900, 0}};

INSTANTIATE_TEST_SUITE_P(Places, LiftTable, ::testing::ValuesIn(kLiftRows), RowName);

// The fades are whole metres of the band, exactly: 70 % of 1000 m leaves 300 m above the core
// and 58 % of 1500 m puts 870 m below it (in doubles both came out a metre short). Without
// fades, full strength reaches the band's edges.
TEST(ComputeLift, FadesAreExactWholeMetres) {
    const auto lift = [](int top, int coreBottom, int coreTop, double altitude) {
        ThermalSettings v = Profile();
        std::tie(v.bottom, v.top, v.tCoreBasePercent, v.tCoreTopPercent) =
            std::tuple(0, top, coreBottom, coreTop);
        return ComputeLift(*NewThermal(47, 8, v), 50, 0, 0, altitude);
    };
    EXPECT_EQ(std::pair(lift(1000, 0, 70, 700), lift(1000, 0, 70, 701)), std::pair(40, 39));
    EXPECT_EQ(std::pair(lift(1500, 58, 100, 870), lift(1500, 58, 100, 869)), std::pair(40, 39));
    EXPECT_EQ(std::pair(lift(1500, 0, 100, 0), lift(1500, 0, 100, 1500)), std::pair(40, 40));
}

// Flying straight at the thermal (at 47 N 8 E) gives no roll, across the bearing a full one:
// 0.8 for ms strength 160, strength 100 % and roll rate 10.
using RollRow = std::tuple<coretest::Name, double, double>; // the aircraft's latitude, longitude
class RollTable : public ::testing::TestWithParam<RollRow> {};
TEST_P(RollTable, StrongestAcrossTheBearingToTheThermal) {
    const auto& [name, lat, lon] = GetParam();
    const double east = (8 - lon) * std::cos(47 * std::numbers::pi / 180);
    const double bearing = std::atan2(east, 47 - lat) * 180 / std::numbers::pi;
    const double km = DistanceKm({lat, lon}, {47, 8});
    const auto t = NewThermal(47, 8, Profile(100));
    EXPECT_NEAR(ComputeRoll(*t, {lat, lon}, bearing, km, 160, 10), 0, 0.01);
    EXPECT_NEAR(ComputeRoll(*t, {lat, lon}, bearing - 90, km, 160, 10), 0.8, 0.01);
}
// Both offsets below zero, then both above.
const RollRow kRollRows[] = {{"NorthEast", 47.01, 8.01}, {"SouthWest", 46.99, 7.99}};
INSTANTIATE_TEST_SUITE_P(Quadrants, RollTable, ::testing::ValuesIn(kRollRows), RowName);

TEST(ComputeRoll, FiniteEvenAtTheCentreOrForARatioAboveOne) {
    EXPECT_EQ(ComputeRoll(*NewThermal(47, 8, Profile(100)), {47, 8}, 45, 0, 160, 10), 0.0);
    // The east-west offset, 1.1 km, is more than the distance handed in: straight across.
    const auto t = NewThermal(10, -9.99, Profile(100));
    EXPECT_DOUBLE_EQ(ComputeRoll(*t, {10.01, -10}, 0, 0.5, 160, 10), 0.8);
}

// The aircraft starts at 30 S 30 E, where latitude and longitude add up to 0: a place like any
// other, where the nearest thermal is found.
class ProfilerTest : public ::testing::Test {
protected:
    ProfilerTest() {
        std::tie(link.lat, link.lon, link.altitude, link.msStrength) = std::tuple(-30, 30, 900, 50);
    }
    // A thermal the given kilometres north of the aircraft's start.
    Thermal* North(double km, ThermalSettings values = Profile()) {
        thermals.push_back(NewThermal(-30 + km / kKmPerDegree, 30, values));
        return thermals.back().get();
    }
    void Remove(Thermal* t) {
        profiler.Forget(t);
        std::erase_if(thermals, [t](const auto& p) { return p.get() == t; });
    }
    void Ticks(int n, int sampleSize = 10, bool roll = false) {
        while (n-- > 0)
            profiler.Tick({roll, 10, sampleSize});
    }

    FakeLink link;
    ThermalList thermals;
    TProfiler profiler{thermals, link};
};

// Of two as near, the first one looked at wins.
TEST_F(ProfilerTest, StopReleasesTheThermal) {
    Thermal* t = North(1);
    North(1);
    Ticks(1);
    EXPECT_EQ(profiler.current(), t);
    profiler.Stop();
    EXPECT_EQ(profiler.current(), nullptr);
    EXPECT_FALSE(t->active);
}

// Off, the roll is never written nor the heading read; on, a start after a stop rolls the
// aircraft away from the thermal and fades over ten ticks.
TEST_F(ProfilerTest, TheRollImpulseOfAStartFades) {
    Ticks(2, 10, true); // an empty list: no impulse and no lift
    profiler.Stop();
    North(1, Profile(100, 3000));
    Ticks(1);
    EXPECT_EQ(std::tuple(link.rollWrites.size(), link.headingReads), std::tuple(0u, 0));
    profiler.Stop();
    std::tie(link.msStrength, link.heading) = std::tuple(160, 90);
    Ticks(13, 10, true);
    const std::vector<double> fade{0.8, 0.72, 0.64, 0.56, 0.48, 0.4, 0.32, 0.24, 0.16, 0.08, 0};
    ASSERT_EQ(link.rollWrites.size(), fade.size());
    for (std::size_t i = 0; i < fade.size(); ++i)
        EXPECT_NEAR(link.rollWrites[i], fade[i], 1e-12) << i;
    EXPECT_EQ(link.headingReads, 1);
    Ints writes(14, 160);
    writes[0] = 50;
    EXPECT_EQ(link.strengthWrites, writes);
}

TEST_F(ProfilerTest, SamplesWalkTheListAroundItsEnd) {
    Thermal* t0 = North(3);
    Thermal* t1 = North(2);
    Thermal* t2 = North(1);
    Ticks(1, 2); // the whole list: the nearest, and the next sample starts at the list's start
    EXPECT_EQ(profiler.current(), t2);
    // The aircraft flies to each thermal in turn; a sample of 2 finds it only when it looks
    // there: 0-1, then 2-0 across the end, then 1-2.
    for (Thermal* want : {t0, t2, t1}) {
        link.lat = want->lat;
        Ticks(1, 2);
        EXPECT_EQ(profiler.current(), want);
        for (Thermal* t : {t0, t1, t2})
            EXPECT_EQ(t->active, t == want);
    }
    link.lat = t2->lat;
    Ticks(1, 1); // 0: not nearer than the one held
    EXPECT_EQ(profiler.current(), t1);
    Ticks(1, 7); // more than the list: each is looked at once, and the start moves on by 7
    EXPECT_EQ(profiler.current(), t2);
    link.lat = t0->lat;
    Ticks(1, 0); // a sample of none: only the start looks at the list
    EXPECT_EQ(profiler.current(), t2);
}

TEST_F(ProfilerTest, ASampleThatMissesTheFlownThermalKeepsItsLift) {
    Thermal* flown = North(0);
    North(5);
    North(6);
    Ticks(1, 1); // the whole list, then samples of one: the 5 km, the 6 km, then the flown one
    Ticks(3, 1);
    EXPECT_EQ(profiler.current(), flown);
    EXPECT_TRUE(flown->active);
    EXPECT_EQ(link.strengthWrites, (Ints{40, 40, 40, 40}));
}

TEST_F(ProfilerTest, SampleWithNoneWithinTenKilometresKeepsThePreviousThermal) {
    Thermal* near = North(0);
    North(20);
    Ticks(1, 1);
    link.lat += 11 / kKmPerDegree; // 11 km from the one held, 9 km from the other
    Ticks(1, 1); // a sample of the near one: out of reach, kept but no longer marked
    EXPECT_EQ(profiler.current(), near);
    EXPECT_FALSE(near->active);
    EXPECT_EQ(link.strengthWrites, (Ints{40, 0}));
}

TEST_F(ProfilerTest, DoesNothingBeforeTheLinkHasAPosition) {
    North(0);
    link.hasPosition = false;
    Ticks(2, 10, true);
    EXPECT_EQ(profiler.current(), nullptr);
    EXPECT_TRUE(link.strengthWrites.empty() && link.rollWrites.empty());
}

TEST_F(ProfilerTest, ForgettingTheCurrentThermalWritesNothingOfItAgain) {
    Thermal* held = North(0);
    Thermal* other = North(1);
    North(12);
    Ticks(1);
    Remove(other); // not the current one
    EXPECT_EQ(profiler.current(), held);
    link.msStrength = 40; // the profiler's own write, never read again
    Remove(held);
    EXPECT_EQ(profiler.current(), nullptr);
    Ticks(2); // none within reach: no lift
    Thermal* added = North(1, Profile(50, 3000));
    Ticks(2, 0);
    EXPECT_EQ(profiler.current(), added);
    profiler.Forget(nullptr); // every thermal, before the list is cleared
    EXPECT_FALSE(added->active);
    thermals.clear();
    Ticks(1);
    // Still from the 50 read at the start: 50 % of it.
    EXPECT_EQ(link.strengthWrites, (Ints{40, 0, 0, 25, 25, 0}));
}

// The nearest thermal is picked by where it stands, as ever; its lift is the chosen shape's at
// the aircraft's distance from the drifted axis, and the sink goes to the link signed. 80 % of
// 50 rises at 0.8 m/s: in 4 m/s of wind from the west, 900 m up is 4.5 km east.
TEST_F(ProfilerTest, WritesTheChosenShapeAtTheDriftedAxisWithItsSink) {
    Thermal* t = North(0.5);
    North(-3);
    const LiftModel model{LiftShape::gaussian, 4};
    const GeoPoint axis = AxisAt(*t, model, 50, 0, 900);
    const auto fly = [&](GeoPoint at) {
        std::tie(link.lat, link.lon) = std::tuple(at.lat, at.lon);
        profiler.Tick({false, 0, 10, model});
        EXPECT_EQ(profiler.current(), t);
        return std::pair(link.strengthWrites.back(), link.airWrites.back());
    };
    EXPECT_EQ(fly(axis), std::pair(40, 40 * 0.02));
    const GeoPoint ring = Moved(axis, {0, 1.5 * t->radius});
    const double sink = LiftAtAircraft(*t, model, 50, ring, 0, 900).lift;
    EXPECT_LT(sink, -1);
    EXPECT_EQ(fly(ring), std::pair(0, sink * 0.02));
    EXPECT_EQ(fly({t->lat, t->lon}).first, 0); // under where it stands, the air has drifted away
}

} // namespace
