// Flight logs: the IGC reader record by record and on the real logs, and the writer read
// back.

#include "coretest.h"
#include "flight/igcfile.h"
#include "flight/igcwriter.h"

#include <cmath>
#include <random>

namespace {

std::string Problems(const IgcFlight& flight) {
    std::string all;
    for (const std::string& problem : flight.problems.problems)
        all += problem + '\n';
    return all;
}

struct FixRow {
    const char* name;
    const char* line;
    IgcFix fix;               // when problem is empty
    const char* problem = ""; // after "the fix \"LINE\" "
};

class FixTable : public ::testing::TestWithParam<FixRow> {};

TEST_P(FixTable, ReadsTheFixOrNamesWhatIsWrong) {
    const FixRow& row = GetParam();
    const IgcFlight flight = ReadIgcFile(std::string("HFDTE010203\r\n") + row.line + "\r\n");
    EXPECT_EQ(Problems(flight), *row.problem ? "line 2: the fix \"" + std::string(row.line) +
                                                   "\" " + row.problem + '\n'
                                             : "");
    if (*row.problem) {
        EXPECT_TRUE(flight.fixes.empty());
        return;
    }
    ASSERT_EQ(flight.fixes.size(), 1U);
    const IgcFix& fix = flight.fixes[0];
    EXPECT_EQ(std::tuple(fix.timeS, fix.latMilliMinutes, fix.lonMilliMinutes, fix.pressureAltitudeM,
                         fix.gnssAltitudeM, fix.valid),
              std::tuple(row.fix.timeS, row.fix.latMilliMinutes, row.fix.lonMilliMinutes,
                         row.fix.pressureAltitudeM, row.fix.gnssAltitudeM, row.fix.valid));
}

INSTANTIATE_TEST_SUITE_P(
    Records, FixTable,
    ::testing::Values(
        FixRow{"NorthWest",
               "B1101355206343N00006198WA0058700558",
               {39695, 52 * 60000 + 6343, -6198, 587, 558, true}},
        FixRow{"SouthEastInvalid",
               "B2348083839773S17608501EV0035200458",
               {85688, -(38 * 60000 + 39773), 176 * 60000 + 8501, 352, 458, false}},
        FixRow{"BelowSeaLevel",
               "B0000003000000N18000000EA-0012-0003",
               {0, 30 * 60000, 180 * 60000, -12, -3, true}},
        FixRow{"Short", "B1101355206343N00006198WA00587", {}, "is shorter than 35 characters"},
        FixRow{"HourPastDay", "B2401355206343N00006198WA0058700558", {}, "has no time hhmmss"},
        FixRow{"SixtyMinutes",
               "B1101355260000N00006198WA0058700558",
               {},
               "has no latitude DDMMmmm with N or S"},
        FixRow{"PastThePole",
               "B1101359000001N00006198WA0058700558",
               {},
               "has no latitude DDMMmmm with N or S"},
        FixRow{"NoHemisphere",
               "B1101355206343N00006198XA0058700558",
               {},
               "has no longitude DDDMMmmm with E or W"},
        FixRow{"PastTheDateLine",
               "B1101355206343N18000001EA0058700558",
               {},
               "has no longitude DDDMMmmm with E or W"},
        FixRow{"NoValidity",
               "B1101355206343N00006198W 0058700558",
               {},
               "is neither valid (A) nor invalid (V)"},
        FixRow{"LetterInAltitude",
               "B1101355206343N00006198WA00587005x8",
               {},
               "has no altitudes of five digits"}),
    [](const auto& info) { return std::string(info.param.name); });

struct HeaderRow {
    const char* name;
    const char* lines;
    const char* read; // date|pilot|glider type|glider id|recorder|problems
};

class HeaderTable : public ::testing::TestWithParam<HeaderRow> {};

TEST_P(HeaderTable, ReadsTheRecorderDatePilotAndGlider) {
    const HeaderRow& row = GetParam();
    const IgcFlight flight = ReadIgcFile(row.lines);
    std::string read;
    if (flight.date)
        read = std::to_string(flight.date->year) + '-' + std::to_string(flight.date->month) + '-' +
               std::to_string(flight.date->day);
    read += '|' + flight.pilot + '|' + flight.gliderType + '|' + flight.gliderId + '|' +
            flight.recorder + '|' + Problems(flight);
    EXPECT_EQ(read, row.read);
}

INSTANTIATE_TEST_SUITE_P(
    Records, HeaderTable,
    ::testing::Values(
        HeaderRow{"OldDate", "HFDTE090319\n", "2019-3-9|||||"},
        HeaderRow{"NewDate", "HFDTEDATE:090319,01\n", "2019-3-9|||||"},
        HeaderRow{"NewDateWithoutNumber", "HFDTEDATE: 030418\n", "2018-4-3|||||"},
        HeaderRow{"LastCentury", "HODTE311299\n", "1999-12-31|||||"},
        HeaderRow{"FirstDateCounts", "HFDTE090319\nHFDTE100319\n", "2019-3-9|||||"},
        HeaderRow{"DateTooShort", "HFDTE0903\n", "|||||line 1: the date \"0903\" is not ddmmyy\n"},
        HeaderRow{"ThirteenthMonth", "HFDTEDATE:091319,01\n",
                  "|||||line 1: the date \"091319,01\" is not ddmmyy\n"},
        HeaderRow{"PilotGliderRecorder",
                  "AXGDjos \r\nHFPLTPILOTINCHARGE: Jane Doe \r\nHFGTYGLIDERTYPE:ASK 21\r\n"
                  "HFGIDGLIDERID:D-1234\r\nHFCIDCOMPETITIONID:XY\r\n",
                  "|Jane Doe|ASK 21|D-1234|XGDjos|"},
        HeaderRow{"OtherRecordsPassedOver",
                  "\xEF\xBB\xBF"
                  "C0000000N00000000E\nLXNA comment\nGREALLYSIGNED\n\n  \n\x1a",
                  "|||||"},
        HeaderRow{"NotARecord", "HFDTE090319\nhello\n",
                  "2019-3-9|||||line 2: not a record of a flight log: \"hello\"\n"}),
    [](const auto& info) { return std::string(info.param.name); });

struct ExtensionRow {
    const char* name;
    const char* record;
    const char* enl; // the fix's ENL
    const char* problem = "";
};

class ExtensionTable : public ::testing::TestWithParam<ExtensionRow> {};

TEST_P(ExtensionTable, KeepsEachExtensionByItsCode) {
    const ExtensionRow& row = GetParam();
    const IgcFlight flight =
        ReadIgcFile(std::string(row.record) + "\nB1016435346296N02025184EA0012200122007019\n"
                                              "B1016445346296N02025184EA00122001220080\n");
    ASSERT_EQ(flight.fixes.size(), 2U);
    EXPECT_EQ(flight.Extension(0, "ENL"), row.enl);
    EXPECT_EQ(Problems(flight), row.problem);
}

INSTANTIATE_TEST_SUITE_P(
    Records, ExtensionTable,
    ::testing::Values(ExtensionRow{"TwoExtensions", "I023638FXA3941ENL", "019"},
                      ExtensionRow{"CountTooHigh", "I033638FXA3941ENL", "",
                                   "line 1: the fix extensions \"I033638FXA3941ENL\" do not give "
                                   "as many entries as they count\n"},
                      ExtensionRow{"IntoTheFix", "I023438FXA3941ENL", "",
                                   "line 1: the fix extensions \"I023438FXA3941ENL\" overlap or "
                                   "are not in column order\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IgcReaderTest, AShortFixLeavesItsMissingExtensionsBlankAndLateExtensionsAreRefused) {
    const IgcFlight flight = ReadIgcFile("I023638FXA3941ENL\n"
                                         "B1016445346296N02025184EA00122001220080\n"
                                         "I013638FXA\n");
    EXPECT_EQ(flight.Extension(0, "FXA"), "008");
    EXPECT_EQ(flight.Extension(0, "ENL"), "0  ");
    EXPECT_EQ(flight.Extension(0, "TAS"), "");
    EXPECT_EQ(Problems(flight),
              "line 3: the fix extensions \"I013638FXA\" come after the first fix\n");
}

struct TimesRow {
    const char* name;
    std::vector<const char*> times;
    std::vector<std::int32_t> seconds;
};

class TimesTable : public ::testing::TestWithParam<TimesRow> {};

TEST_P(TimesTable, TimeNeverRunsBackwards) {
    const TimesRow& row = GetParam();
    std::string log;
    for (const char* time : row.times)
        log += std::string("B") + time + "5346296N02025184EA0012200122\r\n";
    std::vector<std::int32_t> seconds;
    for (const IgcFix& fix : ReadIgcFile(log).fixes)
        seconds.push_back(fix.timeS);
    EXPECT_EQ(seconds, row.seconds);
}

INSTANTIATE_TEST_SUITE_P(
    Times, TimesTable,
    ::testing::Values(
        TimesRow{"Midnight", {"235959", "000001", "120000"}, {86399, 86401, 129600}},
        TimesRow{"TwoMidnights",
                 {"230000", "010000", "230000", "010000"},
                 {82800, 90000, 169200, 176400}},
        TimesRow{"StandsStill", {"101648", "101648", "101649"}, {37008, 37008, 37009}},
        TimesRow{
            "StepsBack", {"120005", "120003", "120004", "120006"}, {43205, 43205, 43205, 43206}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IgcReaderTest, AFileWithoutFixesIsNoFlightAndBadLinesAreCountedBeyondTheListed) {
    std::string junk;
    for (int i = 0; i < 12; ++i)
        junk += "B12\n";
    EXPECT_EQ(IgcReadReport(ReadIgcFile(junk)),
              "The file holds no fixes (B records): it is not a flight log.\n"
              "12 lines could not be read and were passed over:\n" +
                  Problems(ReadIgcFile(junk)) + "and 2 more.");
    EXPECT_EQ(IgcReadReport(ReadIgcFile("B1016435346296N02025184EA0012200122\n")), "");
}

struct LogRow {
    const char* file;
    std::size_t fixes;
    IgcDate date;
};

class RealLogs : public ::testing::TestWithParam<LogRow> {};

TEST_P(RealLogs, OpenWithEveryFixAndTheirDate) {
    const LogRow& row = GetParam();
    const IgcFlight flight = ReadIgcFile(coretest::Fixture(std::string("igc/") + row.file));
    EXPECT_EQ(IgcReadReport(flight), "");
    EXPECT_EQ(flight.fixes.size(), row.fixes);
    EXPECT_EQ(flight.date, row.date);
    EXPECT_LE(flight.fixes.size() * sizeof(IgcFix) + flight.extensionText.capacity(),
              coretest::Fixture(std::string("igc/") + row.file).size());
}

INSTANTIATE_TEST_SUITE_P(
    Igc, RealLogs,
    ::testing::Values(LogRow{"flight_with_middle_landing.igc", 14819, {2019, 3, 9}},
                      LogRow{"napret.igc", 5380, {2016, 4, 3}},
                      LogRow{"new_date_format.igc", 107, {2018, 4, 3}},
                      LogRow{"new_zealand.igc", 5367, {2009, 11, 6}},
                      LogRow{"no_time_increment.igc", 200, {2003, 2, 1}},
                      LogRow{"olsztyn.igc", 2469, {2011, 9, 2}}),
    [](const auto& info) {
        const std::string file = info.param.file;
        return file.substr(0, file.find('.'));
    });

TEST(IgcReaderTest, WithoutABarometerAltitudesComeFromTheSatellites) {
    const IgcFlight flight = ReadIgcFile("B1016435346296N02025184EA0000000122\n"
                                         "B1016445346296N02025184EA0000000125\n");
    EXPECT_EQ(flight.AltitudeM(flight.fixes.back()), 125);
}

TEST(IgcReaderTest, TheNewZealandFlightPassesMidnightAndKeepsItsExtensions) {
    const IgcFlight flight = ReadIgcFile(coretest::Fixture("igc/new_zealand.igc"));
    EXPECT_EQ(flight.fixes.front().timeS, 23 * 3600 + 48 * 60 + 8);
    EXPECT_EQ(flight.fixes.back().timeS, 86400 + 4 * 3600 + 8 * 60 + 30);
    EXPECT_LT(flight.fixes.front().Position().lat, -38);
    EXPECT_EQ(flight.Extension(0, "OAT"), "0190");
}

TEST(IgcWriterTest, AWrittenLogReadsBackWithinAThousandthOfAMinuteAndAMetre) {
    const IgcLogHeader header{{2024, 7, 5}, "Jane\r\nDoe", "LS 4", "D-5678"};
    std::string log = IgcHeaderText(header);
    std::mt19937 random(7);
    std::uniform_real_distribution<double> lat(-90, 90), lon(-180, 180), altitude(-500, 9000);
    std::vector<std::tuple<int, GeoPoint, double>> written;
    for (int i = 0; i < 500; ++i) {
        // From just before midnight into the next day.
        written.emplace_back(86300 + i, GeoPoint{lat(random), lon(random)}, altitude(random));
        log += IgcFixLine(86300 + i, std::get<1>(written.back()), std::get<2>(written.back()));
    }
    const IgcFlight read = ReadIgcFile(log);
    EXPECT_EQ(IgcReadReport(read), "");
    EXPECT_EQ(std::tuple(read.date, read.pilot, read.gliderType, read.gliderId, read.recorder),
              std::tuple(std::optional(header.date), std::string("Jane  Doe"), header.gliderType,
                         header.gliderId, std::string("XBTSIM")));
    ASSERT_EQ(read.fixes.size(), written.size());
    for (std::size_t i = 0; i < written.size(); ++i) {
        const auto& [second, position, altitudeM] = written[i];
        const IgcFix& fix = read.fixes[i];
        EXPECT_EQ(fix.timeS, second);
        EXPECT_LE(std::abs(fix.Position().lat - position.lat) * 60, 0.001);
        EXPECT_LE(std::abs(fix.Position().lon - position.lon) * 60, 0.001);
        EXPECT_LE(std::abs(read.AltitudeM(fix) - altitudeM), 1);
    }
}

} // namespace
