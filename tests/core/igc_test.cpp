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

// What the reader made of a log: date|pilot|glider type|glider id|recorder|, each fix as
// time, latitude, longitude, pressure and satellite altitude, validity and its extensions,
// then the problems.
std::string Read(std::string_view log) {
    const IgcFlight f = ReadIgcFile(log);
    using std::to_string;
    std::string read = f.date ? to_string(f.date->year) + '-' + to_string(f.date->month) + '-' +
                                    to_string(f.date->day)
                              : "";
    read += '|' + f.pilot + '|' + f.gliderType + '|' + f.gliderId + '|' + f.recorder + '|';
    for (std::size_t i = 0; i < f.fixes.size(); ++i) {
        const IgcFix& x = f.fixes[i];
        read += to_string(x.timeS) + ' ' + to_string(x.latMilliMinutes) + ' ' +
                to_string(x.lonMilliMinutes) + ' ' + to_string(x.pressureAltitudeM) + ' ' +
                to_string(x.gnssAltitudeM) + (x.valid ? " A" : " V");
        for (const IgcExtension& e : f.extensions)
            read += ' ' + e.code + '=' + std::string(f.Extension(i, e.code));
        read += ';';
    }
    return read + Problems(f);
}

struct RecordRow {
    const char* name;
    const char* log;
    const char* read;
};

class RecordTable : public ::testing::TestWithParam<RecordRow> {};

TEST_P(RecordTable, ReadsEachRecordOrNamesWhatIsWrong) {
    EXPECT_EQ(Read(GetParam().log), GetParam().read);
}

INSTANTIATE_TEST_SUITE_P(
    Records, RecordTable,
    ::testing::Values(
        RecordRow{"NorthWest", "B1101355206343N00006198WA0058700558",
                  "|||||39695 3126343 -6198 587 558 A;"},
        RecordRow{"SouthEastInvalid", "B2348083839773S17608501EV0035200458",
                  "|||||85688 -2319773 10568501 352 458 V;"},
        RecordRow{"BelowSeaLevel", "B0000003000000N18000000EA-0012-0003",
                  "|||||0 1800000 10800000 -12 -3 A;"},
        RecordRow{"Short", "B1101355206343N00006198WA00587",
                  "|||||line 1: the fix \"B1101355206343N00006198WA00587\" is shorter than 35 "
                  "characters\n"},
        RecordRow{"HourPastDay", "B2401355206343N00006198WA0058700558",
                  "|||||line 1: the fix \"B2401355206343N00006198WA0058700558\" has no time "
                  "hhmmss\n"},
        RecordRow{"SixtyMinutes", "B1101355260000N00006198WA0058700558",
                  "|||||line 1: the fix \"B1101355260000N00006198WA0058700558\" has no latitude "
                  "DDMMmmm with N or S\n"},
        RecordRow{"NoHemisphere", "B1101355206343N00006198XA0058700558",
                  "|||||line 1: the fix \"B1101355206343N00006198XA0058700558\" has no "
                  "longitude DDDMMmmm with E or W\n"},
        RecordRow{"PastTheDateLine", "B1101355206343N18000001EA0058700558",
                  "|||||line 1: the fix \"B1101355206343N18000001EA0058700558\" has no "
                  "longitude DDDMMmmm with E or W\n"},
        RecordRow{"NoValidity", "B1101355206343N00006198W 0058700558",
                  "|||||line 1: the fix \"B1101355206343N00006198W 0058700558\" is neither "
                  "valid (A) nor invalid (V)\n"},
        RecordRow{"LetterInAltitude", "B1101355206343N00006198WA00587005x8",
                  "|||||line 1: the fix \"B1101355206343N00006198WA00587005x8\" has no "
                  "altitudes of five digits\n"},
        // Midnight passes into the next day; a time that stands still or steps back stays.
        RecordRow{"Midnight",
                  "B2359595346296N02025184EA0012200122\nB0000015346296N02025184EA0012200122\nB12000"
                  "05346296N02025184EA0012200122",
                  "|||||86399 3226296 1225184 122 122 A;86401 3226296 1225184 122 122 A;129600 "
                  "3226296 1225184 122 122 A;"},
        RecordRow{"TwoMidnights",
                  "B2300005346296N02025184EA0012200122\nB0100005346296N02025184EA0012200122\nB23000"
                  "05346296N02025184EA0012200122\nB0100005346296N02025184EA0012200122",
                  "|||||82800 3226296 1225184 122 122 A;90000 3226296 1225184 122 122 A;169200 "
                  "3226296 1225184 122 122 A;176400 3226296 1225184 122 122 A;"},
        RecordRow{"TimeStandsStill",
                  "B1016485346296N02025184EA0012200122\nB1016485346296N02025184EA0012200122\nB10164"
                  "95346296N02025184EA0012200122",
                  "|||||37008 3226296 1225184 122 122 A;37008 3226296 1225184 122 122 A;37009 "
                  "3226296 1225184 122 122 A;"},
        RecordRow{"TimeStepsBack",
                  "B1200055346296N02025184EA0012200122\nB1200035346296N02025184EA0012200122\nB12000"
                  "65346296N02025184EA0012200122",
                  "|||||43205 3226296 1225184 122 122 A;43205 3226296 1225184 122 122 A;43206 "
                  "3226296 1225184 122 122 A;"},
        RecordRow{"OldDate", "HFDTE090319", "2019-3-9|||||"},
        RecordRow{"NewDate", "HFDTEDATE:090319,01", "2019-3-9|||||"},
        RecordRow{"NewDateWithoutNumber", "HFDTEDATE: 030418", "2018-4-3|||||"},
        RecordRow{"LastCentury", "HODTE311299", "1999-12-31|||||"},
        RecordRow{"DateTooShort", "HFDTE0903", "|||||line 1: the date \"0903\" is not ddmmyy\n"},
        RecordRow{"ThirteenthMonth", "HFDTEDATE:091319,01",
                  "|||||line 1: the date \"091319,01\" is not ddmmyy\n"},
        RecordRow{"PilotGliderRecorder",
                  "AXGDjos \r\nHFPLTPILOTINCHARGE: Jane Doe \r\nHFGTYGLIDERTYPE:ASK 21\r\n"
                  "HFGIDGLIDERID:D-1234\r\nHFCIDCOMPETITIONID:XY\r\n",
                  "|Jane Doe|ASK 21|D-1234|XGDjos|"},
        RecordRow{"OtherRecordsPassedOver",
                  "\xEF\xBB\xBF"
                  "C0000000N00000000E\nLXNA comment\nGREALLYSIGNED\n\n  \n\x1a",
                  "|||||"},
        RecordRow{"NotARecord", "hello", "|||||line 1: not a record of a flight log: \"hello\"\n"},
        RecordRow{"Extensions", "I023638FXA3941ENL\nB1016435346296N02025184EA0012200122007019",
                  "|||||37003 3226296 1225184 122 122 A FXA=007 ENL=019;"},
        // A fix cut short of its extensions has blanks for what is missing.
        RecordRow{"ShortOfExtensions", "I023638FXA3941ENL\nB1016435346296N02025184EA00122001220080",
                  "|||||37003 3226296 1225184 122 122 A FXA=008 ENL=0  ;"},
        RecordRow{"ExtensionsMiscounted", "I033638FXA3941ENL",
                  "|||||line 1: the fix extensions \"I033638FXA3941ENL\" do not give as many "
                  "entries as they count\n"},
        RecordRow{"ExtensionsIntoTheFix", "I023438FXA3941ENL",
                  "|||||line 1: the fix extensions \"I023438FXA3941ENL\" overlap or are not in "
                  "column order\n"},
        RecordRow{"ExtensionsAfterAFix", "B1016435346296N02025184EA0012200122\nI013638FXA",
                  "|||||37003 3226296 1225184 122 122 A;line 2: the fix extensions "
                  "\"I013638FXA\" come after the first fix\n"}),
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
    const std::string bytes = coretest::Fixture(std::string("igc/") + row.file + ".igc");
    const IgcFlight flight = ReadIgcFile(bytes);
    EXPECT_EQ(IgcReadReport(flight), "");
    EXPECT_EQ(flight.fixes.size(), row.fixes);
    EXPECT_EQ(flight.date, row.date);
    EXPECT_LE(flight.fixes.size() * sizeof(IgcFix) + flight.extensionText.capacity(), bytes.size());
}

INSTANTIATE_TEST_SUITE_P(
    Igc, RealLogs,
    ::testing::Values(LogRow{"flight_with_middle_landing", 14819, {2019, 3, 9}},
                      LogRow{"napret", 5380, {2016, 4, 3}},
                      LogRow{"new_date_format", 107, {2018, 4, 3}},
                      LogRow{"new_zealand", 5367, {2009, 11, 6}},
                      LogRow{"no_time_increment", 200, {2003, 2, 1}},
                      LogRow{"olsztyn", 2469, {2011, 9, 2}}),
    [](const auto& info) { return std::string(info.param.file); });

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
    EXPECT_TRUE(Read(log).starts_with("2024-7-5|Jane  Doe|LS 4|D-5678|XBTSIM|86300 "));
    const IgcFlight read = ReadIgcFile(log);
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
