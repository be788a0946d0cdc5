// The climbs of a flight: made-up spirals whose circles, climb and drift are known, straight
// glides that hold none, the real logs' strongest climbs; and a climb made a thermal.

#include "coretest.h"
#include "flight/climbs.h"
#include "flight/climbscsv.h"
#include "flight/climbthermal.h"
#include "flight/igcwriter.h"
#include "geo/offset.h"

#include <cmath>
#include <functional>
#include <numbers>

namespace {

struct Spiral {
    const char* name;
    GeoPoint centre; // of the circles halfway through the climb
    double radiusM = 100;
    double circleS = 25; // negative: left turns
    double climbMps = 2;
    double driftDeg = 0;
    double driftMps = 0;
    int fixStepS = 1;
    int circles = 8;
};

constexpr int kGlideS = 300;

// Five minutes of glide into the circles, the circles, five minutes of glide out of them,
// the glides along the circles' ends; fixes every fixStepS seconds, written as the writer
// writes them.
std::string SpiralLog(const Spiral& s) {
    const double circlingS = std::abs(s.circleS) * s.circles;
    const double midS = kGlideS + circlingS / 2;
    const double driftE = s.driftMps * std::sin(s.driftDeg * std::numbers::pi / 180);
    const double driftN = s.driftMps * std::cos(s.driftDeg * std::numbers::pi / 180);
    const auto circling = [&](double t) {
        const double angle = 2 * std::numbers::pi * (t - kGlideS) / s.circleS;
        return GeoOffset{driftE * (t - midS) - s.radiusM * std::cos(angle),
                         driftN * (t - midS) + s.radiusM * std::sin(angle)};
    };
    // Flying on from the circles' end at `endS` for `afterS` seconds (back when negative).
    const auto glide = [&](double endS, double afterS) {
        const GeoOffset a = circling(endS), b = circling(endS + 0.01);
        return GeoOffset{a.eastM + (b.eastM - a.eastM) * afterS * 100,
                         a.northM + (b.northM - a.northM) * afterS * 100};
    };
    std::string log = IgcHeaderText({{2024, 6, 1}, "", "", ""});
    for (int t = 0; t <= 2 * kGlideS + circlingS; t += s.fixStepS) {
        const double circledS = std::clamp(t - double(kGlideS), 0.0, circlingS);
        const double altitudeM = 1000 - (t - circledS) + s.climbMps * circledS;
        const GeoOffset p = t < kGlideS ? glide(kGlideS, t - kGlideS)
                            : t > kGlideS + circlingS
                                ? glide(kGlideS + circlingS, t - kGlideS - circlingS)
                                : circling(t);
        log += IgcFixLine(36000 + t, Moved(s.centre, p), altitudeM);
    }
    return log;
}

class SpiralTable : public ::testing::TestWithParam<Spiral> {};

TEST_P(SpiralTable, FindsTheCirclesClimbAndDrift) {
    const Spiral& s = GetParam();
    const std::vector<Climb> climbs = FindClimbs(ReadIgcFile(SpiralLog(s)));
    ASSERT_EQ(climbs.size(), 1U);
    const Climb& c = climbs[0];
    const double circlingS = std::abs(s.circleS) * s.circles;
    EXPECT_NEAR(c.startS, 36000 + kGlideS, 2 * s.fixStepS + 1);
    EXPECT_NEAR(c.endS, 36000 + kGlideS + circlingS, 2 * s.fixStepS + 1);
    const GeoOffset off = OffsetBetween(s.centre, c.centre);
    EXPECT_LT(std::hypot(off.eastM, off.northM), 0.1 * s.radiusM);
    EXPECT_NEAR(c.radiusM, s.radiusM, 0.1 * s.radiusM);
    EXPECT_NEAR(c.meanClimbMps, s.climbMps, 0.15);
    EXPECT_NEAR(c.driftSpeedMps, s.driftMps, 0.3);
    if (s.driftMps > 0) {
        EXPECT_NEAR(std::remainder(c.driftDirectionDeg - s.driftDeg, 360), 0, 5);
    }
}

const Spiral kSpirals[] = {{"StillAir", {46.5, 7.5}},
                           {"WindFromTheWest", {46.5, 7.5}, 100, 25, 2, 90, 4},
                           {"LeftTurnsInTheSouth", {-38.6, 176.2}, 150, -30, 1.5, 200, 6},
                           {"EightSecondFixes", {53.7, 20.4}, 150, 32, 1.2, 120, 5, 8, 10},
                           {"AcrossTheDateLine", {0.01, 180}, 80, 22, 3, 315, 3}};
INSTANTIATE_TEST_SUITE_P(Spirals, SpiralTable, ::testing::ValuesIn(kSpirals), coretest::RowName);

TEST(ClimbsTest, NoneInAGlideInSCurvesOrInCirclesThatSink) {
    Spiral sinking{"Sinking", {46.5, 7.5}};
    sinking.climbMps = -1;
    EXPECT_TRUE(FindClimbs(ReadIgcFile(SpiralLog(sinking))).empty());
    // Weaving 40 degrees either side of a course every 20 s, losing height.
    std::string log;
    for (int t = 0; t < 1200; ++t) {
        const double course = 40 * std::sin(2 * std::numbers::pi * t / 20);
        log += IgcFixLine(t, Moved({46.5, 7.5}, {30.0 * t, 200 * std::sin(course)}), 2000 - t);
    }
    EXPECT_TRUE(FindClimbs(ReadIgcFile(log)).empty());
}

// Over every two minutes of a real log: its start and end fix, and the way flown between.
class RealClimbs : public ::testing::TestWithParam<const char*> {
protected:
    const IgcFlight flight =
        ReadIgcFile(coretest::Fixture("igc/" + std::string(GetParam()) + ".igc"));
    const std::vector<IgcFix>& f = flight.fixes;
    const std::vector<Climb> climbs = FindClimbs(flight);

    bool InAClimb(std::int32_t fromS, std::int32_t toS) const {
        return std::any_of(climbs.begin(), climbs.end(),
                           [&](const Climb& c) { return c.startS <= fromS && toS <= c.endS; });
    }
    void ForEachTwoMinutes(const std::function<void(std::size_t, std::size_t, double)>& look) {
        std::vector<double> wayM{0};
        for (std::size_t i = 1; i < f.size(); ++i) {
            const GeoOffset step = OffsetBetween(f[i - 1].Position(), f[i].Position());
            wayM.push_back(wayM.back() + std::hypot(step.eastM, step.northM));
        }
        for (std::size_t i = 0, j = 0; i < f.size(); ++i) {
            while (j + 1 < f.size() && f[j + 1].timeS - f[i].timeS <= 120)
                ++j;
            look(i, j, wayM[j] - wayM[i]);
        }
    }
};

// Straight: 90 % of its way as the crow flies.
TEST_P(RealClimbs, NoneInAStraightGlide) {
    ForEachTwoMinutes([&](std::size_t i, std::size_t j, double wayM) {
        const GeoOffset crow = OffsetBetween(f[i].Position(), f[j].Position());
        if (wayM > 1000 && std::hypot(crow.eastM, crow.northM) > 0.9 * wayM) {
            EXPECT_FALSE(InAClimb(f[i].timeS, f[j].timeS)) << f[i].timeS;
        }
    });
}

// The three strongest gains, ten minutes apart. Gains in the first ten minutes are left out:
// a tow or a winch launch climbs without circling.
TEST_P(RealClimbs, TheStrongestGainsLieInClimbs) {
    std::vector<std::pair<int, std::int32_t>> gains; // metres, middle time
    ForEachTwoMinutes([&](std::size_t i, std::size_t j, double) {
        if (f[i].timeS >= f.front().timeS + 600)
            gains.emplace_back(flight.AltitudeM(f[j]) - flight.AltitudeM(f[i]),
                               (f[i].timeS + f[j].timeS) / 2);
    });
    std::sort(gains.rbegin(), gains.rend());
    std::vector<std::int32_t> strongest;
    for (const auto& [gain, middleS] : gains)
        if (strongest.size() < 3 && std::none_of(strongest.begin(), strongest.end(), [&](int s) {
                return std::abs(s - middleS) < 600;
            }))
            strongest.push_back(middleS);
    ASSERT_EQ(strongest.size(), 3u);
    for (const std::int32_t middleS : strongest)
        EXPECT_TRUE(InAClimb(middleS, middleS)) << middleS;
}

INSTANTIATE_TEST_SUITE_P(Igc, RealClimbs,
                         ::testing::Values("flight_with_middle_landing", "napret", "new_zealand",
                                           "olsztyn"),
                         [](const auto& info) { return std::string(info.param); });

struct ThermalRow {
    const char* name;
    double radiusM, driftDeg, climbMps;
    int entryM, exitM, groundM;
    double fullStrengthMps;
    int radius, bottom, top, windDir, strengthPercent; // the thermal's
};

class ClimbThermalTable : public ::testing::TestWithParam<ThermalRow> {};

TEST_P(ClimbThermalTable, TurnsTheClimbIntoAThermalOfType4) {
    const ThermalRow& row = GetParam();
    const Climb climb{
        0, 0, {46.5, 7.25}, row.radiusM, row.climbMps, row.entryM, row.exitM, row.driftDeg, 0};
    const ThermalSettings base{.cloud = true, .tCorePercent = 60};
    const ClimbThermal t = ThermalFromClimb(climb, row.groundM, row.fullStrengthMps, base);
    const ThermalSettings& s = t.settings;
    EXPECT_EQ(std::tuple(s.radius, s.bottom, s.top, s.windDir, s.tStrengthPercent),
              std::tuple(row.radius, row.bottom, row.top, row.windDir, row.strengthPercent));
    EXPECT_EQ(std::tuple(t.position, t.groundHeightM, s.type, s.cloud, s.tCorePercent),
              std::tuple(climb.centre, row.groundM, 4, true, 60));
}

const ThermalRow kRules[] = {
    {"DriftingEast", 180, 90, 2, 900, 1500, 400, 4, 180, 500, 1100, 270, 50},
    {"NarrowCircles", 60, 90, 2, 900, 1500, 400, 4, 150, 500, 1100, 270, 50},
    {"BelowTheGround", 180, 90, 2, 300, 350, 400, 4, 180, 0, 0, 270, 50},
    {"WindJustWestOfNorth", 180, 179.6, 2, 900, 1500, 400, 4, 180, 500, 1100, 0, 50},
    {"StrongerThanTheRule", 180, 0, 6, 900, 1500, 400, 4, 180, 500, 1100, 180, 150},
    {"NoRule", 180, 0, 2, 900, 1500, 400, 0, 180, 500, 1100, 180, 0}};
INSTANTIATE_TEST_SUITE_P(Rules, ClimbThermalTable, ::testing::ValuesIn(kRules), coretest::RowName);

TEST(ClimbsCsvTest, AHeaderThenOneClimbALineWithTimesOfDayPastMidnight) {
    const std::vector<Climb> climbs{
        {41000, 41262, {46.123456, 7.5}, 120, 1.234, 880, 1203, 87.6, 3.25},
        {86390, 86400 + 75, {-38.6, -176.000004}, 150, 0.5, 1000, 1042, 359.7, 0}};
    EXPECT_EQ(ClimbsCsv(climbs),
              "start_utc,end_utc,latitude,longitude,mean_climb_mps,entry_altitude_m,"
              "exit_altitude_m,drift_direction_deg,drift_speed_mps\n"
              "11:23:20,11:27:42,46.12346,7.50000,1.23,880,1203,88,3.2\n"
              "23:59:50,00:01:15,-38.60000,-176.00000,0.50,1000,1042,0,0.0\n");
}

} // namespace
