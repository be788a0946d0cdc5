// A flight log as the map shows it: its summary line, its track's climbs and hints, the
// frame of a picture made for it and the graticule drawn on that picture.

#include "coretest.h"
#include "flight/flighttrack.h"
#include "flight/igcwriter.h"
#include "geo/graticule.h"

namespace {

using coretest::Strings;

// A log of fixes (UTC second of the day, latitude, longitude, altitude), then one invalid fix
// far away that nothing may count.
IgcFlight Log(std::initializer_list<std::tuple<int, double, double, double>> fixes) {
    std::string text = IgcHeaderText({{2019, 3, 9}, "", "LS 8", "D-1234"});
    for (const auto& [second, lat, lon, altitude] : fixes)
        text += IgcFixLine(second, {lat, lon}, altitude);
    text += "B1200004500000N00900000EV0900009000\r\n";
    return ReadIgcFile(text);
}

TEST(FlightSummaryTest, DurationHighestAndDistanceOfTheValidFixesPastMidnight) {
    const IgcFlight flight = Log({{86390, 46, 7, 900}, {5, 46.1, 7, 1234}, {20, 46.2, 7, 1100}});
    const FlightSummary summary = SummarizeFlight(flight);
    EXPECT_EQ(summary.durationS, 30);
    EXPECT_EQ(summary.highestAltitudeM, 1234);
    EXPECT_EQ(FlightGroundM(flight), 900);
    EXPECT_NEAR(summary.distanceKm, 22.239, 0.001);
    EXPECT_EQ(FlightLineText(summary, feet),
              "2019-03-09 \u00B7 LS 8 D-1234 \u00B7 0:00 h \u00B7 highest 4048ft \u00B7 22.2 km");
}

TEST(FlightGroundTest, BelowALaunchFromAHillTheLowestAltitudeFlown) {
    EXPECT_EQ(FlightGroundM(Log({{36000, 46, 7, 988}, {36600, 46, 7, 478}, {37200, 46, 7, 600}})),
              478);
}

TEST(FlightTrailTest, ClimbsOverTheLogsOwnStepAndHintsAtItsTimeOfDay) {
    // Fixes ten seconds apart: a three-second window would hold one fix and no climb.
    const Trail track =
        FlightTrail(Log({{86390, 46, 7, 1000}, {0, 46, 7.001, 1020}, {10, 46, 7.002, 1030}}));
    ASSERT_EQ(track.points().size(), 3u);
    EXPECT_EQ(LogSecondOf(track.points()[1]), 86400);
    EXPECT_EQ(TrackPointHint(track.points()[2], meters),
              "00:00:10 UTC\nAltitude 1030m\nClimb 1.0 m/s");
}

struct FrameRow {
    const char* name;
    std::vector<std::pair<double, double>> fixes;
    GeoBounds frame;
};
class FrameTable : public ::testing::TestWithParam<FrameRow> {};
TEST_P(FrameTable, FramesTheFixesWithATenthOrAKilometreAroundOnThousandthsOfAMinute) {
    std::string text = IgcHeaderText({{2019, 3, 9}, "", "", ""});
    for (const auto& [lat, lon] : GetParam().fixes)
        text += IgcFixLine(36000, {lat, lon}, 1000);
    const GeoBounds frame = FlightFrame(ReadIgcFile(text));
    const GeoBounds& want = GetParam().frame;
    EXPECT_NEAR(frame.north, want.north, 1e-9);
    EXPECT_NEAR(frame.south, want.south, 1e-9);
    EXPECT_NEAR(frame.west, want.west, 1e-9);
    EXPECT_NEAR(frame.east, want.east, 1e-9);
}
INSTANTIATE_TEST_SUITE_P(
    Flights, FrameTable,
    ::testing::Values(
        // A kilometre is 0.008993 degrees north, twice that east at 60 degrees; the edges
        // go out to the next thousandth of a minute.
        FrameRow{"OneFix", {{60, 10}}, {60.009, 59.991, 9.982, 10.018}},
        FrameRow{"ATenthOfALongFlight", {{46, 7}, {47, 9}}, {47.1, 45.9, 6.8, 9.2}},
        FrameRow{"HeldAtThePole", {{89.999, 0}}, {90, 89.99, -53960 / 60000.0, 53960 / 60000.0}}),
    [](const auto& info) { return std::string(info.param.name); });

struct GraticuleRow {
    const char* name;
    double from, to;
    bool latitude;
    Strings labels;
};
class GraticuleTable : public ::testing::TestWithParam<GraticuleRow> {};
TEST_P(GraticuleTable, TheRoundestStepWithFourLinesOrMore) {
    const GraticuleRow& row = GetParam();
    Strings labels;
    for (const GraticuleLine& line : GraticuleLines(row.from, row.to, row.latitude))
        labels.push_back(line.label);
    EXPECT_EQ(labels, row.labels);
}
INSTANTIATE_TEST_SUITE_P(
    Spans, GraticuleTable,
    ::testing::Values(GraticuleRow{"TenMinutes",
                                   53.3,
                                   54,
                                   true,
                                   {"53\u00B020'N", "53\u00B030'N", "53\u00B040'N", "53\u00B050'N",
                                    "54\u00B000'N"}},
                      GraticuleRow{"TwoMinutesWhenFiveDrawTooFew",
                                   53.6,
                                   53.75,
                                   true,
                                   {"53\u00B036'N", "53\u00B038'N", "53\u00B040'N", "53\u00B042'N",
                                    "53\u00B044'N"}},
                      GraticuleRow{"HalfMinutesWestInEitherOrder",
                                   -0.01,
                                   -0.05,
                                   false,
                                   {"0\u00B003.0'W", "0\u00B002.5'W", "0\u00B002.0'W",
                                    "0\u00B001.5'W", "0\u00B001.0'W"}},
                      GraticuleRow{
                          "WholeDegreesSouth",
                          -44.5,
                          -40.5,
                          true,
                          {"44\u00B000'S", "43\u00B000'S", "42\u00B000'S", "41\u00B000'S"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PictureSizeTest, PixelsSpanAsManyMetresAcrossAsDown) {
    // At 60 degrees a degree east is half a degree north.
    EXPECT_EQ(PictureSizeFor({60.5, 59.5, 10, 12}, 2000), (PixelSize{2000, 2000}));
    EXPECT_EQ(PictureSizeFor({60.5, 59.5, 10, 14}, 1000), (PixelSize{1000, 500}));
    EXPECT_EQ(PictureSizeFor({60.5, 59.5, 10, 11}, 1000), (PixelSize{500, 1000}));
}

} // namespace
