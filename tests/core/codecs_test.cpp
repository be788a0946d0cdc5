#include "builders.h"
#include "codecs/lineproblems.h"
#include "codecs/projectfile.h"
#include "codecs/textencoding.h"
#include "codecs/thermalline.h"
#include "codecs/waypointfile.h"
#include "codecs/waypointline.h"
#include "coretest.h"
#include "messages/quote.h"

#include <optional>

namespace {

using namespace coretest;
using Written = std::optional<std::string>; // nothing: the line is refused
constexpr auto kRefused = std::nullopt;

// The worked example lines of the project file format; a basic line saved with both sections
// gets them as a new thermal has them.
const std::string kBasic = "4725000,800000,4,0,1500,300,270,5,1,450,1800,800,2";
const std::string kFull = "4712345,812345,4,0,1500,300,270,5,1,450,1800,800,2,1,7,-1,-1,0,-0.5,-1,"
                          "-1,450,2,4,100,50,10,90";
const std::string kTail = ",1,7,-1,-1,0,-0.5,-1,-1,450,2,4,0,0,0,0";
const std::string kAll = kBasic + kTail;
std::string B(const std::string& rest) {
    return kBasic + rest;
}
// kBasic with its value number n (1-based) replaced.
std::string V(int n, const std::string& value) {
    std::string line = kBasic;
    std::size_t start = 0;
    while (--n > 0)
        start = line.find(',', start) + 1;
    return line.replace(start, line.find(',', start) - start, value);
}

std::string Line(const Thermal& t, bool saveAll) {
    std::string out;
    AppendThermalLine(out, t, saveAll);
    return out.substr(0, out.size() - 2);
}

// How a line reads, shown as the line that its thermal writes with both sections; that line
// reads back the same.
Written Rewritten(std::string_view line) {
    const std::optional<ThermalLine> t = ParseThermalLine(line);
    return t ? Written(Line(t->thermal, true) + (t->cut ? " cut" : "")) : kRefused;
}
using ThermalRow = std::tuple<Name, std::string, Written>;
class ThermalLineTable : public ::testing::TestWithParam<ThermalRow> {};
TEST_P(ThermalLineTable, ReadsAsItsThermalWritesIt) {
    const auto& [name, line, written] = GetParam();
    EXPECT_EQ(Rewritten(line), written);
    // What a thermal writes is whole and reads back the same.
    const Written whole = written ? Written(written->substr(0, written->find(" cut"))) : kRefused;
    EXPECT_EQ(whole ? Rewritten(*whole) : kRefused, whole);
}
const auto kThermalLineRows = ::testing::Values(
    ThermalRow{"Basic", kBasic, kAll}, ThermalRow{"Full", kFull, kFull},
    ThermalRow{"CloudAnyButZero", V(9, "-7"), kAll},
    ThermalRow{"CumulusCountBelowSix", B(",1,5,2,4,100,50,10,90"), kAll},
    ThermalRow{"ProfileCountBelowFour", B(",2,3,100,50,10,90"), kAll},
    ThermalRow{"DecimalPosition", V(1, "4725000.9"), kAll},
    // A fuzz finding: written in E form, the number came back as two.
    ThermalRow{"HugeFloatInFull", B(",1,7,-1,-11111111111111111111,0,1,-1,-1,450"),
               B(",1,7,-1,-11111111455955484672,0,1,-1,-1,450,2,4,0,0,0,0")},
    ThermalRow{"TypeNotInteger", V(3, "1.5"), kRefused},
    // A used-up line reads -1 for every value it no longer holds.
    ThermalRow{"EndsBeforeValue13", kBasic.substr(0, kBasic.size() - 2),
               V(13, "-1") + kTail + " cut"},
    ThermalRow{"EndsInsideCumulus", B(",1,6,2.5,3,4,0.25,5,6"),
               V(10, "-1") + ",1,7,2.5,3,4,0.25,5,6,-1,2,4,0,0,0,0 cut"},
    ThermalRow{"EndsInsideProfile", B(",2,4,100,50"),
               B(",1,7,-1,-1,0,-0.5,-1,-1,450,2,4,100,50,-1,-1 cut")},
    ThermalRow{"TextAfterTheValues", B(",x"), kRefused},
    ThermalRow{"FloatBeyondRange", B(",1,7,1" + std::string(40, '0') + ",-1,0,-0.5,-1,-1,450"),
               kRefused});
INSTANTIATE_TEST_SUITE_P(Lines, ThermalLineTable, kThermalLineRows, RowName);

TEST(ThermalLine, WorkedExampleAndPositionsTruncatedWithinTheIntRange) {
    const auto line = ParseThermalLine(kFull);
    ASSERT_TRUE(line);
    const Thermal* t = &line->thermal;
    EXPECT_EQ(std::pair(t->lat, t->lon), std::pair(4712345 * 0.00001, 812345 * 0.00001));
    EXPECT_EQ(std::tuple(t->type, t->cloudRadius, t->spare, t->tGroundHeight, t->tCuCloud),
              std::tuple(4, 400, 450, 450, -0.5f));
    Thermal far;
    far.SetLat(1e300);
    far.SetLon(-0.000019);
    far.SetCloudRadius(2'000'000'000);
    EXPECT_EQ(Line(far, false), "2147483647,-1,0,0,0,0,0,0,0,0,0,2147483647,0");
}

// How a line reads, shown as the line written from it (which reads back the same).
Written RewrittenWaypoint(std::string_view line) {
    std::string out;
    if (const std::optional<WaypointLine> w = ParseWaypointLine(line))
        AppendWaypointLine(out, *w);
    if (out.empty())
        return kRefused;
    return out.substr(0, out.size() - 2);
}
using WaypointRow = std::tuple<Name, std::string, Written>;
class WaypointLineTable : public ::testing::TestWithParam<WaypointRow> {};
TEST_P(WaypointLineTable, ReadsAsItIsWritten) {
    const auto& [name, line, written] = GetParam();
    EXPECT_EQ(RewrittenWaypoint(line), written);
    EXPECT_EQ(written ? RewrittenWaypoint(*written) : kRefused, written);
}
const std::string kHugeDegrees = "179" + std::string(306, '0');
const auto kWaypointLineRows = ::testing::ValuesIn(std::vector<WaypointRow>{
    {"SouthWestInFeet", "1,0:30.5S,8:15.25W,1500F,T,A,B", "1,0:30.500S,8:15.250W,457M,T,A,B"},
    {"Seconds", "5,51:03:07N,7:42:22W,488M,A,B,C", "5,51:03.117N,7:42.367W,488M,A,B,C"},
    {"BlanksAndNoUnit", "7,047 30.5N,8 15.25E,250,T", "7,47:30.500N,8:15.250E,250M,T,,"},
    {"SixtyMinutesCarried", "1,47:59.99999N,7:59.9994W,0M", "1,48:00.000N,7:59.999W,0M,,,"},
    {"ColonWithoutSecondsAtZero", "1,47:30:N,0:0E,0M", "1,47:30.000N,0:00.000E,0M,,,"},
    {"HugeDegreesHeld", "1," + kHugeDegrees + ":30.5N,8:15.25E,0M,T,A,B",
     "1,1000000000000000:00.000N,8:15.250E,0M,T,A,B"},
    // Fuzz findings: a field that starts inside a UTF-8 character, a position beyond
    // every number.
    {"SplitCharacter", "1,47:22.000N,1,50:57:4Z\xC3\xBEg*pl6",
     "1,47:22.000N,1:50.950E,4M,\xBEg*pl6,,"},
    {"InfinitePosition", "1," + kHugeDegrees + ":" + kHugeDegrees + "N,8:15.25E,0M", kRefused},
    {"RoundsToNothingSouthWest", "1,0:00.0003S,0:00.0003W,0M", "1,0:00.000N,0:00.000E,0M,,,"},
    {"EndsAfterLongitude", "1,47:30.500N,8:15.250E", "1,47:30.500N,8:15.250E,-1M,,,"},
    {"EndsAfterMinutes", "1,47:30.500", kRefused},
    {"EndsAfterElevation", "1,47:30.500N,8:15.250E,457", kRefused},
    {"ElevationNotInteger", "1,47:30.500N,8:15.250E,0.5M,T,A,B", kRefused}});
INSTANTIATE_TEST_SUITE_P(Lines, WaypointLineTable, kWaypointLineRows, RowName);

using Detect = std::tuple<Name, std::string, TextEncoding>;
class DetectEncodingTable : public ::testing::TestWithParam<Detect> {};
TEST_P(DetectEncodingTable, Utf8OnlyWhenValid) {
    EXPECT_EQ(DetectEncoding(std::get<1>(GetParam())), std::get<2>(GetParam()));
}
constexpr auto kUtf8 = TextEncoding::Utf8;
constexpr auto kAnsi = TextEncoding::Windows1252;
const auto kDetectEncodingRows = ::testing::Values(
    Detect{"Latin", "Z\xFCrich", kAnsi}, Detect{"CutOff", "cut \xC3", kAnsi},
    Detect{"LeastTwoBytes", "\xC2\x80", kUtf8}, Detect{"OverlongTwo", "\xC1\xBF", kAnsi},
    Detect{"LeastThreeBytes", "\xE0\xA0\x80", kUtf8},
    Detect{"OverlongThree", "\xE0\x9F\xBF", kAnsi},
    Detect{"BelowSurrogates", "\xED\x9F\xBF", kUtf8}, Detect{"LowSurrogate", "\xED\xA0\x80", kAnsi},
    Detect{"AboveSurrogates", "\xEE\x80\x80", kUtf8},
    Detect{"LeastFourBytes", "\xF0\x90\x80\x80", kUtf8},
    Detect{"OverlongFour", "\xF0\x8F\xBF\xBF", kAnsi}, Detect{"Highest", "\xF4\x8F\xBF\xBF", kUtf8},
    Detect{"BeyondHighest", "\xF4\x90\x80\x80", kAnsi},
    Detect{"BadContinuation", "\xE2\x28\xA1", kAnsi});
INSTANTIATE_TEST_SUITE_P(Bytes, DetectEncodingTable, kDetectEncodingRows, RowName);

TEST(TextEncoding, EveryWindows1252ByteComesBack) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    // Read back by the checking UTF-8 reader, so a bad sequence could not come back.
    EXPECT_EQ(EncodeText(DecodeText(all, kAnsi), kAnsi), all);
    EXPECT_EQ(DecodeText("\x7F\x80\x81\x9F\xA0\xFC", kAnsi),
              "\x7F\xE2\x82\xAC\xC2\x81\xC5\xB8\xC2\xA0\xC3\xBC");
    EXPECT_EQ(EncodeText("\xCE\xA9 \xC4\x80 \xC2\x80 \xC2\x9F \xC3\xBF \xFF", kAnsi),
              "? ? ? ? \xFF ?");
}

// The fixtures read as a load does (an add skips the header), with the messages of the
// header, the skipped header and the thermal lines in turn.
using ProjectRow = std::tuple<Name, const char*, std::size_t, Strings>;
class ProjectFixtureTable : public ::testing::TestWithParam<ProjectRow> {};
TEST_P(ProjectFixtureTable, HeaderThenThermalsUpToTheFirstShortLine) {
    const auto& [name, file, count, messages] = GetParam();
    const std::string data = Fixture(std::string("files/") + file);
    std::size_t offset = 0, skipped = 0;
    const Read<ProjectHeader> header = ReadProjectHeader(data, offset);
    const Messages skipping = SkipProjectHeader(data, skipped);
    EXPECT_EQ(skipped, offset);
    const Read<ThermalLines> thermals = ReadThermalLines(data, offset);
    EXPECT_EQ(thermals.value.thermals.size(), count);
    EXPECT_EQ(Shown(header.messages, skipping, thermals.messages), messages);
    EXPECT_EQ(std::tuple(header.value.mapFile, header.value.edges.north, header.value.edges.south),
              std::tuple("map.bmp", 47.5, 47.0));
}
const std::string kError = "File Error|Error reading ";
const auto kProjectRows = ::testing::Values(
    ProjectRow{"Example", "example.prj", 2, {}},
    // The third line has 24 characters: it and every line after it are not read.
    ProjectRow{"TwentyFiveCharacters", "boundary.prj", 2, {}},
    ProjectRow{"BadThermal",
               "badthermal.prj",
               1,
               {kError + "thermal data from Project File map (line 7: "
                         "4712345,812345,1.5,0,1500,300,270,5,1,450,1800,800,2)"}},
    ProjectRow{"ShortHeader",
               "shortheader.prj",
               0,
               {kError + "Project File header (line 4)",
                kError + "additional Project data map (line 4)"}});
INSTANTIATE_TEST_SUITE_P(Files, ProjectFixtureTable, kProjectRows, RowName);

TEST(ProjectFile, EveryMissingHeaderLineIsReportedInOrderWithItsNumber) {
    std::size_t offset = 0;
    const Read<ProjectHeader> empty = ReadProjectHeader("", offset);
    EXPECT_EQ(empty.value.text, "\n\n\n\n\n");
    EXPECT_EQ(Shown(empty.messages), (Strings{kError + "Project File header 1 (line 1)",
                                              kError + "Project File header 2:readline (line 2)",
                                              kError + "Project File header (line 3)"}));
}

TEST(ProjectFile, BadDegreesAreToldWithTheirLineAndStillPlaceTheEdge) {
    std::size_t offset = 0;
    const auto header = ReadProjectHeader("m\n47:30.000N\n47:00.000N\n7:30\n8:30.000E\n", offset);
    EXPECT_DOUBLE_EQ(header.value.edges.west, 7.5);
    EXPECT_EQ(Shown(header.messages),
              Strings{"Error|Error converting negative a=3 b=5 s=7:30 (line 4)"});
}

TEST(ProjectFile, LinesThatRunOutOfValuesStillLoadWithTheLinesAfterThem) {
    const std::string lines =
        kBasic + "\r\n10,0,1,0,0,0,0,0,0,0,0,10\r\n" + B(",1,6,2.5,3,4,0.25,5,6\r\n") + kBasic;
    std::size_t offset = 0;
    const Read<ThermalLines> thermals = ReadThermalLines(lines, offset);
    EXPECT_EQ(thermals.value.thermals.size(), 4u);
    EXPECT_EQ(thermals.value.firstCutLine, 2);
    EXPECT_TRUE(thermals.complete());
}

TEST(ProjectFile, HeaderIsWrittenBackByteForByteWithOrWithoutTheSections) {
    const std::string line = kBasic + "\r\n";
    const std::string latin =
        "Karte M\xFCnchen.bmp\r\n47:30.000N\r\n47:00.000N\r\n7:30.000E\r\n8:30.000E\r\n";
    for (const std::string& data : {"\xEF\xBB\xBF" + ProjectText(line), latin + line}) {
        std::size_t offset = 0;
        const ProjectHeader header = ReadProjectHeader(data, offset).value;
        const ThermalList thermals = std::move(ReadThermalLines(data, offset).value.thermals);
        EXPECT_EQ(ProjectFileBytes(header.text, thermals, false), data);
        EXPECT_EQ(ProjectFileBytes("", thermals, true), kAll + "\r\n");
        EXPECT_EQ(header.mapFile, data == latin + line ? "Karte M\xC3\xBCnchen.bmp" : "map.bmp");
    }
}

// Comments before the waypoints and every line after them come back byte for byte, and so do
// the waypoint lines while their waypoints are unchanged.
// Columns: the fixture, the waypoints read, the messages.
using DatRow = std::tuple<Name, const char*, std::size_t, Strings>;
class WaypointFileTable : public ::testing::TestWithParam<DatRow> {};
TEST_P(WaypointFileTable, EveryLineComesBackAsItStood) {
    const auto& [name, file, count, messages] = GetParam();
    const std::string original = Fixture(std::string("files/") + file);
    const Read<WaypointFileContent> read = ReadWaypointFile(original);
    EXPECT_EQ(read.value.waypoints.size(), count);
    EXPECT_EQ(Shown(read.messages), messages);
    EXPECT_EQ(WaypointFileBytes(read.value.frame, read.value.waypoints), original);
}
const auto kDatRows = ::testing::Values(
    DatRow{"XcsoarWaypoints", "xcsoar_waypoints.dat", 5, {}},
    DatRow{"XcsoarParserTest", "xcsoar_wp_parser_test.dat", 90, {}},
    DatRow{"XcsoarEuregio", "xcsoar_wp_parser_euregio9.dat", 99, {}},
    DatRow{"BadLine",
           "badline.dat",
           2,
           {"File Error|Error with Dat File (line 4: 3,47:31.500N,8:16.500E,457)"}},
    DatRow{"NotWaypoints", "notwaypoints.dat", 0, {}});
INSTANTIATE_TEST_SUITE_P(Files, WaypointFileTable, kDatRows, RowName);

TEST(WaypointFile, ABadLineIsQuotedInTheFilesCharacterSet) {
    EXPECT_EQ(Shown(ReadWaypointFile("* Z\xFCrich\r\n2,\xFC N47:30.5,8:15.25E,0\r\n").messages),
              Strings{"File Error|Error with Dat File (line 2: 2,\xC3\xBC N47:30.5,8:15.25E,0)"});
}

TEST(WaypointFile, UnchangedWaypointsKeepTheirLinesChangedOnesAreWrittenAfresh) {
    const std::string original = "1,047:30.5N,8:15.25E,0,T,Alpha,x,y\r\n"
                                 "2,47:31:00N,8:16:00E,1500F,T,Z\xFCrich,z\n"
                                 "3,47:32.000N,8:17.000E\r\n"
                                 "4,47:33.000N,8:18.000E,459M,T,Last,cut";
    const auto [read, messages] = ReadWaypointFile(original);
    ASSERT_EQ(read.waypoints.size(), 4u);
    EXPECT_TRUE(messages.empty());
    Waypoint& first = *read.waypoints[0];
    first.SetLat(first.lat);
    first.SetName("Alpha");
    // The last line had no line end; written as it reads, it gets one.
    const std::string fourth = "4,47:33.000N,8:18.000E,459M,T,Last,cut\r\n";
    EXPECT_EQ(WaypointFileBytes(read.frame, read.waypoints),
              original.substr(0, original.rfind('\n') + 1) + fourth);
    first.SetText("x y");
    read.waypoints[1]->SetID(7);
    EXPECT_EQ(WaypointFileBytes(InUtf8(read.frame), read.waypoints),
              "1,47:30.500N,8:15.250E,0M,T,Alpha,x y\r\n"
              "7,47:31.000N,8:16.000E,457M,T,Z\xC3\xBCrich,z\r\n"
              "3,47:32.000N,8:17.000E\r\n" +
                  fourth);
}

// A fuzz finding: a one-figure line reads -1 for every value, the id too, and written afresh
// it would not read back as a waypoint.
TEST(WaypointFile, AOneFigureLastLineComesBackAsItStood) {
    const WaypointFileContent read = ReadWaypointFile("1,47:30.500N,8:15.250E,0M,T,A,\r\n2").value;
    const std::string saved = WaypointFileBytes(read.frame, read.waypoints);
    EXPECT_EQ(saved, "1,47:30.500N,8:15.250E,0M,T,A,\r\n2\r\n");
    EXPECT_EQ(ReadWaypointFile(saved).value.waypoints.size(), 2u);
}

TEST(WaypointFile, TextsDecodedByTheFilesEncodingAfterAMark) {
    for (const char* file : {"files/windows1252.dat", "files/utf8.dat"})
        EXPECT_EQ(ReadWaypointFile(Fixture(file)).value.waypoints.at(0)->tText,
                  "Flugplatz \u2013 S\u00FCd")
            << file;
    const std::string marked = "\xEF\xBB\xBF" + std::string("1,4:30.5N,8:15.25E,0M,T,N,");
    EXPECT_EQ(ReadWaypointFile(marked).value.waypoints.size(), 1u);
}

struct Quote {
    const char* name;
    std::string text;
    std::size_t maxCharacters;
    std::string shown;
};
class QuotedTextTable : public ::testing::TestWithParam<Quote> {};
TEST_P(QuotedTextTable, CutAndEscaped) {
    EXPECT_EQ(QuotedText(GetParam().text, GetParam().maxCharacters), GetParam().shown);
}
const auto kQuoteRows = ::testing::Values(
    Quote{"Plain", "N47:30.5", 60, "N47:30.5"}, Quote{"CutAfterTheLimit", "abcdef", 4, "abcd..."},
    Quote{"ExactlyTheLimit", "abcd", 4, "abcd"},
    Quote{"ControlBytes", std::string("a\0\t\x7F", 4), 60, "a\\x00\\x09\\x7F"},
    Quote{"Utf8KeptWhole", "\xC3\xBC\xE2\x82\xAC", 60, "\xC3\xBC\xE2\x82\xAC"},
    Quote{"CutCountsCharacters", "\xC3\xBC\xC3\xBC\xC3\xBC", 2, "\xC3\xBC\xC3\xBC..."},
    Quote{"BrokenSequence", "\xC3(\xE2\x82", 60, "\\xC3(\\xE2\\x82"},
    Quote{"Overlong", "\xC0\xAF\xE0\x80\xAF", 60, "\\xC0\\xAF\\xE0\\x80\\xAF"});
INSTANTIATE_TEST_SUITE_P(Texts, QuotedTextTable, kQuoteRows, RowName);

TEST(TextFile, ANulInTheFirstKilobytesMarksABinaryFile) {
    EXPECT_TRUE(LooksBinary(std::string("7:30\r\n\0\x8D", 8)));
    EXPECT_FALSE(LooksBinary(std::string(8192, 'a') + '\0'));
}

TEST(FileMessages, BadLinesGatherIntoOneMessageUnderTheFirstText) {
    Messages messages{{"File Error", "Error reading Project File header", 0, {}}};
    for (long long line = 6; line < 18; ++line)
        messages.push_back({"File Error", line == 6 ? "Error with Dat File" : "Bad", line, "x\ty"});
    const Messages shown = FileMessages(messages, "/maps/alps.prj");
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, "Error reading Project File header\n\n/maps/alps.prj");
    EXPECT_EQ(shown[1].text, "Error with Dat File\n\n/maps/alps.prj\nline 6: \"x\\x09y\"\n"
                             "line 7: Bad \"x\\x09y\"\nline 8: Bad \"x\\x09y\"\n"
                             "line 9: Bad \"x\\x09y\"\nline 10: Bad \"x\\x09y\"\n"
                             "line 11: Bad \"x\\x09y\"\nline 12: Bad \"x\\x09y\"\n"
                             "line 13: Bad \"x\\x09y\"\nline 14: Bad \"x\\x09y\"\n"
                             "line 15: Bad \"x\\x09y\"\nand 2 more.");
}

} // namespace
