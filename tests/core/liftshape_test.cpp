#include "coretest.h"
#include "profiler/updraft.h"

namespace {

constexpr auto kRowName = [](const auto& info) {
    return std::string(info.param.name);
};

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
INSTANTIATE_TEST_SUITE_P(
    Paper, Updraft1400,
    ::testing::Values(
        AirRow{"LowAxis", 350, 0, 2.72552}, AirRow{"LowFlank", 350, 40, 1.93757},
        AirRow{"LowEdge", 350, 80, 0.13702},
        AirRow{"LowOutsideEnvironmentSink", 350, 150, -0.14977},
        AirRow{"HighAxis", 980, 0, 1.18806}, AirRow{"HighFlank", 980, 60, 0.66015},
        AirRow{"HighSinkRing", 980, 150, -0.18162}, AirRow{"HighBeyondTheRing", 980, 200, -0.08157},
        AirRow{"HighFarOut", 980, 366.114, -0.04285},
        AirRow{"NineTenthsUpNoRing", 1260, 150, -0.00415}, AirRow{"WideAxis", 980, 0, 0.64278, 8},
        AirRow{"WideFlank", 980, 700, 0.53660, 8}, AirRow{"WideSinkRing", 980, 1100, -0.16474, 8},
        AirRow{"NearTheBaseAxis", 0.3, 0, 0.39143}, AirRow{"NearTheBaseFlank", 0.3, 5, 0.22627},
        AirRow{"AtTheBase", 0, 0, 0}, AirRow{"AtTheTop", 1400, 0, 0}),
    kRowName);

} // namespace
