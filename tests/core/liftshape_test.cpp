#include "builders.h"
#include "coretest.h"
#include "geo/distance.h"
#include "profiler/drift.h"
#include "profiler/lift.h"
#include "profiler/liftpicture.h"
#include "profiler/liftshape.h"
#include "profiler/thermallift.h"
#include "profiler/updraft.h"

#include <algorithm>

namespace {

using coretest::RowName;

// A thermal up to 1500 m above the ground, of 500 m radius, whose core is half the radius and
// the band but its lowest and highest fifth.
ThermalSettings Band(int bottom, int strength) {
    return {4,  bottom, 1500, 500,   270, 0,  false,    0,  0,  1,
            -1, -1,     0,    -0.5f, -1,  -1, strength, 50, 20, 80};
}

// The layer's updraft of 1400 m with w* = 2.56 m/s, worked by hand from the paper's equations:
// at 350 m (a quarter of the layer) r2 = 84.33597 m, r1 = 19.63085 m, w-peak = 2.72553 m/s and
// the environment sinks at 0.14977 m/s; at 980 m (0.7 of it) r2 = 104.60397 m, r1 = 26.68075 m,
// w-peak = 1.18807 m/s, half the sink ring and 0.04285 m/s of environment sink. Widened 8
// times there, r2 = 836.83176 m takes the flattest bell (r1/r2 = 0.8); at 0.3 m r2 is held at
// its least, 10 m.
struct AirRow {
    const char* name;
    double heightM;
    double distanceM;
    double airMs;
    double radiusScale = 1;
};
class Updraft1400 : public ::testing::TestWithParam<AirRow> {};
TEST_P(Updraft1400, VerticalAirAsWorkedByHand) {
    const AirRow& row = GetParam();
    const Updraft u = UpdraftAt(row.heightM, 1400, 2.56, row.radiusScale);
    EXPECT_NEAR(VerticalAir(u, row.distanceM), row.airMs, 5e-5);
}
const AirRow kPaper[] = {{"LowAxis", 350, 0, 2.72552},
                         {"LowFlank", 350, 40, 1.93757},
                         {"LowEdge", 350, 80, 0.13702},
                         {"LowOutsideEnvironmentSink", 350, 150, -0.14977},
                         {"HighAxis", 980, 0, 1.18806},
                         {"HighFlank", 980, 60, 0.66015},
                         {"HighSinkRing", 980, 150, -0.18162},
                         {"HighBeyondTheRing", 980, 200, -0.08157},
                         {"HighFarOut", 980, 366.114, -0.04285},
                         {"NineTenthsUpNoRing", 1260, 150, -0.00415},
                         {"WideAxis", 980, 0, 0.64278, 8},
                         {"WideFlank", 980, 700, 0.53660, 8},
                         {"WideSinkRing", 980, 1100, -0.16474, 8},
                         {"NearTheBaseAxis", 0.3, 0, 0.39143},
                         {"NearTheBaseFlank", 0.3, 5, 0.22627},
                         {"AtTheBase", 0, 0, 0},
                         {"AtTheTop", 1400, 0, 0}};
INSTANTIATE_TEST_SUITE_P(Paper, Updraft1400, ::testing::ValuesIn(kPaper), RowName);

// A thermal of 500 m radius from the ground to 1500 m at 100 % of an ms strength of 100, so
// the lift is per cent of the strength setting; at 1050 m, inside the plateau's core (50 % of
// the radius, fades over the lowest and highest 20 % of the band). The layer's updraft there
// is 0.7 of the way up: 38 % of its strongest at the axis, a sink ring down to -9.8 %.
struct ShapeRow {
    const char* name;
    LiftShape shape;
    double radii; // distance from the axis in radii
    double percent;
};
class Shapes : public ::testing::TestWithParam<ShapeRow> {};
TEST_P(Shapes, LiftAcrossTheRadius) {
    const ShapeRow& row = GetParam();
    const auto t = NewThermal(47, 8, Band(0, 100));
    EXPECT_NEAR(ShapeLift(*t, row.shape, 100, row.radii * 500, 0, 1050), row.percent, 1e-4);
}
const ShapeRow kAtRadii[] = {{"Plateau0", LiftShape::plateau, 0, 100},
                             {"Plateau05", LiftShape::plateau, 0.5, 100},
                             {"Plateau1", LiftShape::plateau, 1, 0},
                             {"Plateau2", LiftShape::plateau, 2, 0},
                             {"Gaussian0", LiftShape::gaussian, 0, 100},
                             {"Gaussian05", LiftShape::gaussian, 0.5, 58.4101},
                             {"Gaussian1", LiftShape::gaussian, 1, 0},
                             {"Gaussian15", LiftShape::gaussian, 1.5, -13.1749},
                             {"Bell0", LiftShape::bellWithSink, 0, 38.3619},
                             {"Bell05", LiftShape::bellWithSink, 0.5, 38.1078},
                             {"Bell1", LiftShape::bellWithSink, 1, -0.9734},
                             {"Bell15", LiftShape::bellWithSink, 1.5, -9.7577},
                             {"Bell2", LiftShape::bellWithSink, 2, -2.2384}};
INSTANTIATE_TEST_SUITE_P(AtRadii, Shapes, ::testing::ValuesIn(kAtRadii), RowName);

// The strength setting is the bell's peak: nowhere in the layer is the axis stronger, and just
// above the ground, where the paper's mean updraft is weak, it is little more than half.
TEST(BellWithSinkShare, TheStrengthSettingIsThePeak) {
    double strongest = 0;
    for (double heightM = 1; heightM < 1500; heightM += 1)
        strongest = std::max(strongest, BellWithSinkShare(0, heightM, 1500, 500));
    EXPECT_NEAR(strongest, 1, 1e-6);
    EXPECT_LE(strongest, 1);
    EXPECT_NEAR(BellWithSinkShare(0, 10, 1500, 500), 0.553187, 1e-6);
}

// A thermal of no strength or size gives no air in any shape, not even the sink's opposite,
// nor does the layer's updraft outside the layer; half a unit of strength is still there.
TEST(ShapeLift, NothingWithoutStrengthSizeOrLayer) {
    const auto none = NewThermal(47, 8, Band(0, -50));
    EXPECT_EQ(ShapeLift(*none, LiftShape::gaussian, 50, 750, 0, 900), 0);
    EXPECT_EQ(ShapeLift(*none, LiftShape::bellWithSink, 50, 750, 0, 900), 0);
    const auto weak = NewThermal(47, 8, Band(0, 50));
    EXPECT_DOUBLE_EQ(ShapeLift(*weak, LiftShape::gaussian, 1, 0, 0, 900), 0.5);
    for (LiftShape shape : {LiftShape::gaussian, LiftShape::bellWithSink}) {
        ThermalSettings pointLike = Band(0, 80);
        pointLike.radius = 0;
        EXPECT_EQ(ShapeLift(*NewThermal(47, 8, pointLike), shape, 50, 0, 0, 900), 0);
    }
    const auto layer = NewThermal(47, 8, Band(300, 80));
    EXPECT_EQ(ShapeLift(*layer, LiftShape::bellWithSink, 50, 0, 0, 290), 0);
    EXPECT_EQ(ShapeLift(*layer, LiftShape::bellWithSink, 50, 0, 0, 1510), 0);
}

// Wind of 5 m/s and an updraft of 2 m/s: 2.5 m downwind for every metre of height.
struct DriftRow {
    const char* name;
    int windFromDeg;
    double heightM;
    GeoOffset offset;
};
class Drift : public ::testing::TestWithParam<DriftRow> {};
TEST_P(Drift, AxisCarriedDownwind) {
    const DriftRow& row = GetParam();
    const GeoOffset offset = DriftAt(row.heightM, row.windFromDeg, 5, 2);
    EXPECT_NEAR(offset.eastM, row.offset.eastM, 1e-6);
    EXPECT_NEAR(offset.northM, row.offset.northM, 1e-6);
}
const DriftRow kHeights[] = {{"OnTheGround", 270, 0, {0, 0}},
                             {"At300FromTheWest", 270, 300, {750, 0}},
                             {"At1500FromTheWest", 270, 1500, {3750, 0}},
                             {"FromTheNorth", 0, 600, {0, -1500}},
                             {"FromTheNorthEast", 45, 400, {-707.106781, -707.106781}}};
INSTANTIATE_TEST_SUITE_P(Heights, Drift, ::testing::ValuesIn(kHeights), RowName);

TEST(Moved, ByMetresEastAndNorth) {
    const GeoPoint p = Moved({47, 8}, {3000, -4000});
    EXPECT_NEAR(DistanceKm({47, 8}, p), 5, 1e-6);
    EXPECT_NEAR(DistanceKm({47, 8}, {p.lat, 8}), 4, 1e-9);
    EXPECT_LT(p.lat, 47);
    EXPECT_GT(p.lon, 8);
    EXPECT_EQ(Moved({47, 8}, {}), (GeoPoint{47, 8}));
}

TEST(DriftM, NoneWithoutWindUpdraftOrHeight) {
    EXPECT_EQ(DriftM(1000, 0, 2), 0);
    EXPECT_EQ(DriftM(1000, 5, 0), 0);
    EXPECT_EQ(DriftM(-10, 5, 2), 0);
}

// Wind from the west at 4 m/s; 80 % of an ms strength of 50 rises at 0.8 m/s, so 1000 m above
// the ground the core is 5 km east of where the thermal stands.
TEST(LiftAtAircraft, ThePilotWhoFollowsTheDriftFindsTheCore) {
    const auto t = NewThermal(47, 8);
    const LiftModel model{LiftShape::gaussian, 4};
    const GeoPoint axis = AxisAt(*t, model, 50, 200, 1200);
    EXPECT_NEAR(DistanceKm({47, 8}, axis), 5, 1e-6);
    EXPECT_GT(axis.lon, 8);
    EXPECT_EQ(LiftAtAircraft(*t, model, 50, axis, 200, 1200).byte, 40);
    EXPECT_EQ(LiftAtAircraft(*t, model, 50, {47, 8}, 200, 1200).byte, 0);
    EXPECT_EQ(LiftAtAircraft(*t, {LiftShape::gaussian, 0}, 50, {47, 8}, 200, 1200).byte, 40);
}

// Without wind the plateau writes what it always wrote, at every place of a grid around and
// through a thermal, over several grounds and settings. The thermal's own strength is inside
// the thermal handed over: one of 150 % meets the byte's limit at the strongest setting.
TEST(LiftAtAircraft, PlateauWithoutWindIsTodaysLift) {
    int compared = 0;
    ThermalSettings values = Band(300, 150);
    values.radius = 1000;
    const auto t = NewThermal(47, 8, values);
    for (int ms : {1, 50, 255})
        for (double ground : {0.0, -20.5, 310.7})
            for (double altitude = 250; altitude <= 2100; altitude += 37.3)
                for (double northKm = -1.2; northKm <= 1.2; northKm += 0.0731) {
                    const GeoPoint at{47 + northKm / 111.195, 8 + northKm / 200};
                    const double distanceM = DistanceKm(at, {47, 8}) * 1000;
                    const ThermalLift lift =
                        LiftAtAircraft(*t, LiftModel{}, ms, at, ground, altitude);
                    ASSERT_EQ(lift.byte, ComputeLift(*t, ms, distanceM, ground, altitude));
                    ASSERT_EQ(lift.lift, PlateauLift(*t, ms, distanceM, ground, altitude));
                    ++compared;
                }
    EXPECT_EQ(compared, 3 * 3 * 50 * 33);
}

TEST(Picture, AcrossTheRadiusIsTheShapeToTwoRadii) {
    const ThermalSettings values = Band(300, 80);
    const double heightM = ProfileHeightM(values, LiftShape::bellWithSink);
    EXPECT_EQ(heightM, 300 + 0.7 * 1200);
    const auto bell = AcrossTheRadius(values, LiftShape::bellWithSink, heightM, 21);
    ASSERT_EQ(bell.size(), 21u);
    EXPECT_EQ(bell.back().atM, 1000);
    for (const ShapePoint& p : bell)
        EXPECT_DOUBLE_EQ(p.percent, 80 * BellWithSinkShare(p.atM, heightM - 300, 1200, 500));
    EXPECT_LT(bell[15].percent, 0); // 1.5 radii: the sink ring
    const auto plateau = AcrossTheRadius(values, LiftShape::plateau, 900, 21);
    EXPECT_EQ(plateau.back().atM, 625); // a quarter beyond the radius
    const auto t = NewThermal(47, 8, values);
    for (const ShapePoint& p : plateau)
        EXPECT_DOUBLE_EQ(p.percent, PlateauLift(*t, 100, p.atM, 0, 900));
}

// The plateau's samples are the bytes the profiler would write there.
TEST(Picture, UpTheBandIsTheShapeAtTheAxis) {
    const ThermalSettings values = Band(300, 80);
    const auto plateau = VerticalProfile(values, 25);
    const auto points = UpTheBand(values, LiftShape::plateau, 25);
    const auto bell = UpTheBand(values, LiftShape::bellWithSink, 25);
    ASSERT_EQ(std::pair(points.size(), bell.size()), std::pair(plateau.size(), plateau.size()));
    // A tenth of the band beyond either end.
    EXPECT_EQ(std::pair(plateau.front().atM, plateau.back().atM), std::pair(180.0, 1620.0));
    for (std::size_t i = 0; i < points.size(); ++i) {
        EXPECT_EQ(points[i].atM, plateau[i].atM);
        EXPECT_EQ(StrengthByte(points[i].percent), plateau[i].percent);
        EXPECT_DOUBLE_EQ(bell[i].percent, 80 * BellWithSinkShare(0, bell[i].atM - 300, 1200, 500));
    }
}

// 80 % of 100 rises at 1.6 m/s: in 4 m/s of wind the top, 1500 m up, is 3750 m downwind.
TEST(Picture, LeaningAxisFromTheGroundToTheTop) {
    const auto axis = LeaningAxis(Band(300, 80), {LiftShape::plateau, 4}, 11);
    ASSERT_EQ(axis.size(), 11u);
    EXPECT_EQ(axis.front().downwindM, 0);
    EXPECT_EQ(axis.back().heightM, 1500);
    EXPECT_NEAR(axis.back().downwindM, 3750, 1e-9);
    EXPECT_NEAR(axis[4].downwindM, 1500, 1e-9);
}

} // namespace
