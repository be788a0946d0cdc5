// Flight logs: the IGC reader record by record and on the real logs, and the writer read
// back.

#include "coretest.h"
#include "flight/igcfile.h"
#include "flight/igcwriter.h"

#include <cmath>
#include <random>

#include <gmock/gmock.h>

namespace {

using coretest::RowName;
using ::testing::HasSubstr;

// The date, pilot, glider type, glider id and recorder as "2019-3-9|pilot|type|id|recorder".
std::string Header(const IgcFlight& f) {
    using std::to_string;
    const std::string date = f.date ? to_string(f.date->year) + '-' + to_string(f.date->month) +
                                          '-' + to_string(f.date->day)
                                    : "";
    return date + '|' + f.pilot + '|' + f.gliderType + '|' + f.gliderId + '|' + f.recorder;
}

auto Fields(const IgcFix& x) {
    return std::tuple(x.timeS, x.latMilliMinutes, x.lonMilliMinutes, x.pressureAltitudeM,
                      x.gnssAltitudeM, x.valid);
}

struct FixRow {
    const char* name;
    const char* line;
    IgcFix fix;
};
class FixTable : public ::testing::TestWithParam<FixRow> {};
TEST_P(FixTable, ReadsTimePositionAltitudesAndValidity) {
    const IgcFlight f = ReadIgcFile(GetParam().line);
    ASSERT_EQ(f.fixes.size(), 1u) << f.problems.Report();
    EXPECT_EQ(Fields(f.fixes[0]), Fields(GetParam().fix));
}
const FixRow kFixes[] = {
    {"NorthWest", "B1101355206343N00006198WA0058700558", {39695, 3126343, -6198, 587, 558, true}},
    {"SouthEastInvalid",
     "B2348083839773S17608501EV0035200458",
     {85688, -2319773, 10568501, 352, 458, false}},
    {"BelowSeaLevel",
     "B0000003000000N18000000EA-0012-0003",
     {0, 1800000, 10800000, -12, -3, true}}};
INSTANTIATE_TEST_SUITE_P(Fixes, FixTable, ::testing::ValuesIn(kFixes), RowName);

// A line that cannot be read is named by its number and quoted, and adds nothing.
struct ProblemRow {
    const char* name;
    const char* log;
    const char* reason;
    int line = 1;
    const char* quoted = nullptr; // the log itself when null
};
class ProblemTable : public ::testing::TestWithParam<ProblemRow> {};
TEST_P(ProblemTable, NamesTheLineAndWhatIsWrong) {
    const ProblemRow& row = GetParam();
    const IgcFlight f = ReadIgcFile(row.log);
    ASSERT_EQ(f.problems.problems.size(), 1u);
    const std::string& problem = f.problems.problems[0];
    EXPECT_TRUE(problem.starts_with("line " + std::to_string(row.line) + ": ")) << problem;
    EXPECT_THAT(problem, HasSubstr('"' + std::string(row.quoted ? row.quoted : row.log) + '"'));
    EXPECT_THAT(problem, HasSubstr(row.reason));
    // Only the fixes before the bad line are kept.
    EXPECT_EQ(std::tuple(f.fixes.size(), f.date.has_value(), f.extensions.size()),
              std::tuple(std::size_t(row.line - 1), false, std::size_t{0}));
}
const ProblemRow kRecords[] = {
    {"Short", "B1101355206343N00006198WA00587", "is shorter than 35 characters"},
    {"HourPastDay", "B2401355206343N00006198WA0058700558", "has no time hhmmss"},
    {"SixtyMinutes", "B1101355260000N00006198WA0058700558", "has no latitude DDMMmmm with N or S"},
    {"NoHemisphere", "B1101355206343N00006198XA0058700558",
     "has no longitude DDDMMmmm with E or W"},
    {"PastTheDateLine", "B1101355206343N18000001EA0058700558",
     "has no longitude DDDMMmmm with E or W"},
    {"NoValidity", "B1101355206343N00006198W 0058700558", "is neither valid (A) nor invalid (V)"},
    {"LetterInAltitude", "B1101355206343N00006198WA00587005x8", "has no altitudes of five digits"},
    {"DateTooShort", "HFDTE0903", "is not ddmmyy", 1, "0903"},
    {"ThirteenthMonth", "HFDTEDATE:091319,01", "is not ddmmyy", 1, "091319,01"},
    {"NotARecord", "hello", "not a record of a flight log"},
    {"ExtensionsMiscounted", "I033638FXA3941ENL", "do not give as many entries as they count"},
    {"ExtensionsIntoTheFix", "I023438FXA3941ENL", "overlap or are not in column order"},
    {"ExtensionsAfterAFix", "B1016435346296N02025184EA0012200122\nI013638FXA",
     "come after the first fix", 2, "I013638FXA"}};
INSTANTIATE_TEST_SUITE_P(Records, ProblemTable, ::testing::ValuesIn(kRecords), RowName);

// Midnight passes into the next day; a time that stands still or steps back stays.
struct TimeRow {
    const char* name;
    std::vector<const char*> timesOfDay; // hhmmss
    std::vector<std::int32_t> seconds;
};
class TimeTable : public ::testing::TestWithParam<TimeRow> {};
TEST_P(TimeTable, FixTimesNeverRunBackwards) {
    std::string log;
    for (const char* hhmmss : GetParam().timesOfDay)
        log += std::string("B") + hhmmss + "5346296N02025184EA0012200122\n";
    std::vector<std::int32_t> seconds;
    for (const IgcFix& fix : ReadIgcFile(log).fixes)
        seconds.push_back(fix.timeS);
    EXPECT_EQ(seconds, GetParam().seconds);
}
const TimeRow kTimes[] = {
    {"Midnight", {"235959", "000001", "120000"}, {86399, 86401, 129600}},
    {"TwoMidnights", {"230000", "010000", "230000", "010000"}, {82800, 90000, 169200, 176400}},
    {"TimeStandsStill", {"101648", "101648", "101649"}, {37008, 37008, 37009}},
    {"TimeStepsBack", {"120005", "120003", "120006"}, {43205, 43205, 43206}}};
INSTANTIATE_TEST_SUITE_P(Times, TimeTable, ::testing::ValuesIn(kTimes), RowName);

struct HeaderRow {
    const char* name;
    const char* log;
    const char* header; // as Header() shows it
};
class HeaderTable : public ::testing::TestWithParam<HeaderRow> {};
TEST_P(HeaderTable, ReadsTheDatePilotGliderAndRecorder) {
    const IgcFlight f = ReadIgcFile(GetParam().log);
    EXPECT_EQ(Header(f), GetParam().header);
    EXPECT_EQ(f.problems.Report(), "");
}
const HeaderRow kHeaders[] = {{"OldDate", "HFDTE090319", "2019-3-9||||"},
                              {"NewDate", "HFDTEDATE:090319,01", "2019-3-9||||"},
                              {"NewDateWithoutNumber", "HFDTEDATE: 030418", "2018-4-3||||"},
                              {"LastCentury", "HODTE311299", "1999-12-31||||"},
                              {"PilotGliderRecorder",
                               "AXGDjos \r\nHFPLTPILOTINCHARGE: Jane Doe \r\nHFGTYGLIDERTYPE:ASK "
                               "21\r\nHFGIDGLIDERID:D-1234\r\nHFCIDCOMPETITIONID:XY\r\n",
                               "|Jane Doe|ASK 21|D-1234|XGDjos"},
                              {"OtherRecordsPassedOver",
                               "\xEF\xBB\xBF"
                               "C0000000N00000000E\nLXNA comment\nGREALLYSIGNED\n\n  \n\x1a",
                               "||||"}};
INSTANTIATE_TEST_SUITE_P(Headers, HeaderTable, ::testing::ValuesIn(kHeaders), RowName);

// A fix cut short of its extensions has blanks for what is missing.
TEST(IgcReaderTest, ExtensionsAreTheirColumnsOfEachFix) {
    const IgcFlight f = ReadIgcFile("I023638FXA3941ENL\n"
                                    "B1016435346296N02025184EA0012200122007019\n"
                                    "B1016445346296N02025184EA00122001220080\n");
    ASSERT_EQ(f.fixes.size(), 2u);
    EXPECT_EQ(std::tuple(f.Extension(0, "FXA"), f.Extension(0, "ENL"), f.Extension(1, "FXA"),
                         f.Extension(1, "ENL"), f.Extension(0, "GSP")),
              std::tuple("007", "019", "008", "0  ", ""));
}

TEST(IgcReaderTest, ALogWithoutFixesIsNoFlightLogAboveItsCountOfBadLines) {
    std::string junk;
    for (int i = 0; i < 12; ++i)
        junk += "B12\n";
    const std::string report = IgcReadReport(ReadIgcFile(junk));
    EXPECT_TRUE(report.starts_with("The file holds no fixes (B records): it is not a flight log.\n"
                                   "12 lines could not be read"))
        << report;
    EXPECT_TRUE(report.ends_with("\nand 2 more.")) << report;
}

struct LogRow {
    const char* name; // of the file
    std::size_t fixes;
    IgcDate date;
};

class RealLogs : public ::testing::TestWithParam<LogRow> {};

TEST_P(RealLogs, OpenWithEveryFixAndTheirDate) {
    const LogRow& row = GetParam();
    const IgcFlight flight =
        ReadIgcFile(coretest::Fixture(std::string("igc/") + row.name + ".igc"));
    EXPECT_EQ(IgcReadReport(flight), "");
    EXPECT_EQ(flight.fixes.size(), row.fixes);
    EXPECT_EQ(flight.date, row.date);
}

const LogRow kIgc[] = {{"flight_with_middle_landing", 14819, {2019, 3, 9}},
                       {"napret", 5380, {2016, 4, 3}},
                       {"new_date_format", 107, {2018, 4, 3}},
                       {"new_zealand", 5367, {2009, 11, 6}},
                       {"no_time_increment", 200, {2003, 2, 1}},
                       {"olsztyn", 2469, {2011, 9, 2}}};
INSTANTIATE_TEST_SUITE_P(Igc, RealLogs, ::testing::ValuesIn(kIgc), RowName);

TEST(IgcReaderTest, WithoutABarometerAltitudesComeFromTheSatellites) {
    const IgcFlight flight = ReadIgcFile("B1016435346296N02025184EA0000000122\n"
                                         "B1016445346296N02025184EA0000000125\n");
    EXPECT_EQ(flight.AltitudeM(flight.fixes.back()), 125);
}

TEST(IgcWriterTest, AWrittenLogReadsBackWithinAThousandthOfAMinuteAndAMetre) {
    std::string log = IgcHeaderText({{2024, 7, 5}, "Jane\r\nDoe", "LS 4", "D-5678"});
    std::mt19937 random(7);
    std::uniform_real_distribution<double> lat(-90, 90), lon(-180, 180), altitude(-500, 9000);
    std::vector<std::pair<GeoPoint, double>> written;
    for (int i = 0; i < 500; ++i) {
        written.push_back({{lat(random), lon(random)}, altitude(random)});
        // From just before midnight into the next day.
        log += IgcFixLine(86300 + i, written.back().first, written.back().second);
    }
    const IgcFlight read = ReadIgcFile(log);
    EXPECT_EQ(Header(read), "2024-7-5|Jane  Doe|LS 4|D-5678|XBTSIM");
    ASSERT_EQ(IgcReadReport(read), "");
    ASSERT_EQ(read.fixes.size(), written.size());
    for (std::size_t i = 0; i < written.size(); ++i) {
        const IgcFix& fix = read.fixes[i];
        EXPECT_EQ(fix.timeS, 86300 + int(i));
        EXPECT_LE(std::abs(fix.Position().lat - written[i].first.lat) * 60, 0.001);
        EXPECT_LE(std::abs(fix.Position().lon - written[i].first.lon) * 60, 0.001);
        EXPECT_LE(std::abs(read.AltitudeM(fix) - written[i].second), 1);
    }
}

} // namespace
