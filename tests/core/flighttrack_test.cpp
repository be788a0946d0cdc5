// A flight log as the map shows it: its summary line, its track's climbs and hints, the
// frame of a picture made for it and the graticule drawn on that picture.

#include "coretest.h"
#include "flight/flighttrack.h"
#include "flight/igcwriter.h"
#include "geo/graticule.h"

namespace {

// A log of fixes (UTC second of the day, latitude, longitude, altitude), then one invalid fix
// far away that nothing may count.
IgcFlight Log(std::initializer_list<std::tuple<int, double, double, double>> fixes) {
    std::string text = IgcHeaderText({{2019, 3, 9}, "", "LS 8", "D-1234"});
    for (const auto& [second, lat, lon, altitude] : fixes)
        text += IgcFixLine(second, {lat, lon}, altitude);
    text += "B1200004500000N00900000EV0900009000\r\n";
    return ReadIgcFile(text);
}

TEST(FlightSummaryTest, CountsOnlyTheValidFixesPastMidnight) {
    const FlightSummary summary =
        SummarizeFlight(Log({{86390, 46, 7, 900}, {5, 46.1, 7, 1234}, {20, 46.2, 7, 1100}}));
    EXPECT_EQ(std::pair(summary.durationS, summary.highestAltitudeM), std::pair(30, 1234));
    EXPECT_NEAR(summary.distanceKm, 22.239, 0.001);
    const std::string line = FlightLineText(summary, feet);
    for (const char* fact : {"2019-03-09", "LS 8 D-1234", "0:00 h", "highest 4048ft", "22.2 km"})
        EXPECT_NE(line.find(fact), std::string::npos) << line;
}

TEST(FlightGroundTest, BelowALaunchFromAHillTheLowestAltitudeFlown) {
    EXPECT_EQ(FlightGroundM(Log({{36000, 46, 7, 988}, {36600, 46, 7, 478}, {37200, 46, 7, 600}})),
              478);
}

TEST(FlightTrailTest, ClimbIsOverTheLogsOwnStepAtItsTimeOfDay) {
    // Fixes ten seconds apart: a three-second window would hold one fix and no climb.
    const Trail track = FlightTrail(Log({{86390, 46, 7, 1000},
                                         {0, 46, 7.001, 1020},
                                         {10, 46, 7.002, 1030},
                                         {3610, 46, 7.003, 1030}}));
    ASSERT_EQ(track.points().size(), 4u);
    EXPECT_EQ(LogSecondOf(track.points()[1]), 86400);
    const std::string hint = TrackPointHint(track.points()[2], meters);
    for (const char* fact : {"00:00:10 UTC", "Altitude 1030m", "Climb 1.0 m/s"})
        EXPECT_NE(hint.find(fact), std::string::npos) << hint;
    EXPECT_EQ(TrackPointHint(track.points()[3], meters).substr(0, 12), "01:00:10 UTC");
}

using FrameRow = std::tuple<coretest::Name, std::vector<GeoPoint>, GeoBounds>; // fixes, frame
class FrameTable : public ::testing::TestWithParam<FrameRow> {};
TEST_P(FrameTable, FramesTheFixesWithATenthOrAKilometreAroundOnThousandthsOfAMinute) {
    const auto& [name, fixes, want] = GetParam();
    std::string text = IgcHeaderText({{2019, 3, 9}, "", "", ""});
    for (const GeoPoint& fix : fixes)
        text += IgcFixLine(36000, fix, 1000);
    const GeoBounds frame = FlightFrame(ReadIgcFile(text));
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
    coretest::RowName);

struct GraticuleRow {
    const char* name;
    double from, to;
    bool latitude;
    const char* labels; // one after the other, each followed by a space
};
class GraticuleTable : public ::testing::TestWithParam<GraticuleRow> {};
TEST_P(GraticuleTable, TheRoundestStepWithFourLinesOrMore) {
    const GraticuleRow& row = GetParam();
    std::string labels;
    for (const GraticuleLine& line : GraticuleLines(row.from, row.to, row.latitude))
        labels += line.label + ' ';
    EXPECT_EQ(labels, row.labels);
}
const GraticuleRow kSpans[] = {
    {"TenMinutes", 53.3, 54, true, "53°20'N 53°30'N 53°40'N 53°50'N 54°00'N "},
    {"TwoMinutesWhenFiveDrawTooFew", 53.6, 53.75, true, "53°36'N 53°38'N 53°40'N 53°42'N 53°44'N "},
    {"HalfMinutesAcrossTheMeridianInEitherOrder", 0.01, -0.03, false,
     "0°01.5'W 0°01.0'W 0°00.5'W 0°00.0'E 0°00.5'E "},
    {"TwoDegreesEast", 7, 15, false, "8°00'E 10°00'E 12°00'E 14°00'E "},
    {"WholeDegreesSouth", -44.5, -40.5, true, "44°00'S 43°00'S 42°00'S 41°00'S "},
    {"AcrossTheEquator", -0.02, 0.02, true, "0°01.0'S 0°00.5'S 0°00.0'N 0°00.5'N 0°01.0'N "}};
INSTANTIATE_TEST_SUITE_P(Spans, GraticuleTable, ::testing::ValuesIn(kSpans), coretest::RowName);

TEST(PictureSizeTest, PixelsSpanAsManyMetresAcrossAsDown) {
    // At 60 degrees a degree east is half a degree north.
    EXPECT_EQ(PictureSizeFor({60.5, 59.5, 10, 12}, 2000), (PixelSize{2000, 2000}));
    EXPECT_EQ(PictureSizeFor({60.5, 59.5, 10, 14}, 1000), (PixelSize{1000, 500}));
    EXPECT_EQ(PictureSizeFor({60.5, 59.5, 10, 11}, 1000), (PixelSize{500, 1000}));
}

} // namespace
