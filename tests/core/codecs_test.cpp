#include "builders.h"
#include "codecs/projectfile.h"
#include "codecs/textencoding.h"
#include "codecs/thermalline.h"
#include "codecs/waypointfile.h"
#include "codecs/waypointline.h"
#include "coretest.h"
#include "geo/textfields.h"
#include "recordingprompts.h"

#include <algorithm>
#include <cfloat>
#include <optional>

namespace {

using coretest::Fixture;
using coretest::Name;
using coretest::RowName;
using coretest::Strings;
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
    EXPECT_TRUE(out.ends_with("\r\n"));
    return out.substr(0, out.size() - 2);
}

// How a line reads, shown as the line that its thermal writes with both sections.
using ThermalRow = std::tuple<Name, std::string, Written>;
class ThermalLineTable : public ::testing::TestWithParam<ThermalRow> {};
TEST_P(ThermalLineTable, ReadsAsItsThermalWritesIt) {
    const auto& [name, line, written] = GetParam();
    const std::optional<Thermal> t = ParseThermalLine(line);
    EXPECT_EQ(t ? Written(Line(*t, true)) : kRefused, written);
}
const auto kThermalLineRows = ::testing::Values(
    ThermalRow{"Basic", kBasic, kAll}, ThermalRow{"Full", kFull, kFull},
    ThermalRow{"OddCloudDiameter", V(12, "801"), kAll},
    ThermalRow{"NegativeCloudDiameter", V(12, "-3"), V(12, "-2") + kTail},
    ThermalRow{"CloudAnyButZero", V(9, "-7"), kAll},
    ThermalRow{"CumulusCountBelowSix", B(",1,5,2,4,100,50,10,90"), kAll},
    ThermalRow{"CumulusCountSix", B(",1,6,2.5,3,4,0.25,5,6,700"),
               V(10, "700") + ",1,7,2.5,3,4,0.25,5,6,700,2,4,0,0,0,0"},
    ThermalRow{"ProfileOnly", B(",2,4,100,50,10,90"),
               B(",1,7,-1,-1,0,-0.5,-1,-1,450,2,4,100,50,10,90")},
    ThermalRow{"ProfileCountBelowFour", B(",2,3,100,50,10,90"), kAll},
    ThermalRow{"LargerCountTakesSeven", B(",1,9,1,1,1,1,1,1,1,2,4,1,2,3,4,99"),
               V(10, "1") + ",1,7,1,1,1,1,1,1,1,2,4,1,2,3,4"},
    ThermalRow{"DecimalPosition", V(1, "4725000.9"), kAll},
    ThermalRow{"OneCharacterMore", B(","), kAll}, ThermalRow{"EndsAtATag", B(",1"), kAll},
    ThermalRow{"TinyFloatInFull", B(",1,7,0.00001,-1,0,-0.5,-1,-1,450"),
               B(",1,7,0.000009999999747378752,-1,0,-0.5,-1,-1,450,2,4,0,0,0,0")},
    ThermalRow{"TypeNotInteger", V(3, "1.5"), kRefused},
    ThermalRow{"TagNotInteger", B(",1.5,4,100,50,10,90"), kRefused},
    ThermalRow{"SignInsideRun", V(5, "15-00"), kRefused},
    ThermalRow{"EmptyValue", V(13, ","), kRefused}, ThermalRow{"EmptyTag", B(",,"), kRefused},
    ThermalRow{"EndsBeforeValue13", kBasic.substr(0, kBasic.size() - 2), kRefused},
    ThermalRow{"EndsInsideCumulus", B(",1,7,-1,-1,0"), kRefused},
    ThermalRow{"EndsInsideProfile", B(",2,4,100,50"), kRefused},
    ThermalRow{"IntegerBeyondInt", V(7, "99999999999"), kRefused},
    ThermalRow{"FloatBeyondRange", B(",1,7,1" + std::string(40, '0') + ",-1,0,-0.5,-1,-1,450"),
               kRefused});
INSTANTIATE_TEST_SUITE_P(Lines, ThermalLineTable, kThermalLineRows, RowName);

TEST(ThermalLine, WorkedExampleAndPositionsTruncatedWithinTheIntRange) {
    const auto t = ParseThermalLine(kFull);
    ASSERT_TRUE(t);
    EXPECT_EQ(std::pair(t->lat, t->lon), std::pair(4712345 * 0.00001, 812345 * 0.00001));
    EXPECT_EQ(std::tuple(t->type, t->cloudRadius, t->spare, t->tGroundHeight, t->tCuCloud),
              std::tuple(4, 400, 450, 450, -0.5f));
    EXPECT_EQ(Line(*t, false), kFull.substr(0, kBasic.size()));
    EXPECT_DOUBLE_EQ(ParseThermalLine(V(1, "4712345.9"))->lat, 47.123459);
    Thermal far;
    far.SetLat(47.123456);
    far.SetLon(-0.000019);
    EXPECT_EQ(Line(far, false), "4712345,-1,0,0,0,0,0,0,0,0,0,0,0");
    far.SetLat(1e300);
    far.SetLon(-1e300);
    far.SetCloudRadius(2'000'000'000);
    EXPECT_EQ(Line(far, false), "2147483647,-2147483648,0,0,0,0,0,0,0,0,0,2147483647,0");
}

using WaypointRow = std::tuple<Name, std::string, Written>;
class WaypointLineTable : public ::testing::TestWithParam<WaypointRow> {};
TEST_P(WaypointLineTable, ReadsAsItIsWritten) {
    const auto& [name, line, written] = GetParam();
    const std::optional<WaypointLine> w = ParseWaypointLine(line);
    std::string out;
    if (w)
        AppendWaypointLine(out, *w);
    EXPECT_EQ(w ? Written(out) : kRefused, written ? Written(*written + "\r\n") : kRefused);
}
const std::string kHugeDegrees = "179" + std::string(306, '0');
const auto kWaypointLineRows = ::testing::Values(
    WaypointRow{"Clicked", "3,47:30.500N,8:15.250E,0M,T,Waypoint 1,Waypoint 1",
                "3,47:30.500N,8:15.250E,0M,T,Waypoint 1,Waypoint 1"},
    WaypointRow{"SouthWestInFeet", "1,47:30.500S,8:15.250W,1500F,T,A,B",
                "1,47:30.500S,8:15.250W,457M,T,A,B"},
    WaypointRow{"LowerCaseIsNorthEast", "1,47:30.500s,8:15.250w,0M,T,A,B",
                "1,47:30.500N,8:15.250E,0M,T,A,B"},
    WaypointRow{"Seconds", "553,51:03:07N,007:42:22W,488M,ATH,Bergneustadt,123.650 MHz",
                "553,51:03.117N,7:42.367W,488M,ATH,Bergneustadt,123.650 MHz"},
    WaypointRow{"BlanksAndNoUnit", "7,047 30.500N,008 15.250E,250,TL,N,T",
                "7,47:30.500N,8:15.250E,250M,TL,N,T"},
    WaypointRow{"CommaEndsTheText", "1,47:30.500N,8:15.250E,0M,T,Name,a,b",
                "1,47:30.500N,8:15.250E,0M,T,Name,a"},
    WaypointRow{"NoTexts", "3,37:49.050N,122:28.700W,227M", "3,37:49.050N,122:28.700W,227M,,,"},
    WaypointRow{"ColonWithoutSeconds", "1,47:30:N,8:15E,0M", "1,47:30.000N,8:15.000E,0M,,,"},
    WaypointRow{"HugeDegreesHeld", "1," + kHugeDegrees + ":30.5N,8:15.25E,0M,T,A,B",
                "1,1000000000000000:00.000N,8:15.250E,0M,T,A,B"},
    WaypointRow{"EndsAfterMinutes", "1,47:30.500", kRefused},
    WaypointRow{"EndsAfterElevation", "1,47:30.500N,8:15.250E,457", kRefused},
    WaypointRow{"IdNotInteger", "1.5,47:30.500N,8:15.250E,0M,T,A,B", kRefused},
    WaypointRow{"ElevationNotInteger", "1,47:30.500N,8:15.250E,0.5M,T,A,B", kRefused},
    WaypointRow{"LongitudeBeyondEveryNumber",
                "1,47:30N," + kHugeDegrees + ":" + kHugeDegrees + "E,0M", kRefused});
INSTANTIATE_TEST_SUITE_P(Lines, WaypointLineTable, kWaypointLineRows, RowName);

TEST(WaypointLine, PositionTextCarriesSixtyMinutesIntoTheDegrees) {
    EXPECT_EQ(PositionText(-0.5, 'N', 'S'), "0:30.000S");
    EXPECT_EQ(PositionText(-(122 + 28.7 / 60), 'E', 'W'), "122:28.700W");
    EXPECT_EQ(PositionText(47.99999999, 'N', 'S'), "48:00.000N");
    EXPECT_EQ(PositionText(-7.9999999, 'E', 'W'), "8:00.000W");
    EXPECT_EQ(PositionText(47 + 59.9994 / 60, 'N', 'S'), "47:59.999N");
    EXPECT_FALSE(IsWaypointLine(" 1,47:30.500N"));
    EXPECT_FALSE(IsCommentLine(""));
}

using Detect = std::tuple<Name, std::string, TextEncoding>;
class DetectEncodingTable : public ::testing::TestWithParam<Detect> {};
TEST_P(DetectEncodingTable, Utf8OnlyWhenValid) {
    EXPECT_EQ(DetectEncoding(std::get<1>(GetParam())), std::get<2>(GetParam()));
}
constexpr auto kUtf8 = TextEncoding::Utf8;
constexpr auto kAnsi = TextEncoding::Windows1252;
const auto kDetectEncodingRows = ::testing::Values(
    Detect{"Ascii", "plain", kUtf8}, Detect{"Latin", "Z\xFCrich", kAnsi},
    Detect{"CutOff", "cut \xC3", kAnsi}, Detect{"LeastTwoBytes", "\xC2\x80", kUtf8},
    Detect{"OverlongTwo", "\xC1\xBF", kAnsi}, Detect{"LeastThreeBytes", "\xE0\xA0\x80", kUtf8},
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
    const std::string text = DecodeText(all, kAnsi);
    EXPECT_EQ(DetectEncoding(text), kUtf8);
    EXPECT_EQ(EncodeText(text, kAnsi), all);
    EXPECT_EQ(DecodeText("\x7F\x80\x81\x9F\xA0\xFC", kAnsi),
              "\x7F\xE2\x82\xAC\xC2\x81\xC5\xB8\xC2\xA0\xC3\xBC");
    EXPECT_EQ(EncodeText("\xCE\xA9 \xC4\x80 \xC2\x9F \xC3\xBF \xFF", kAnsi), "? ? ? \xFF ?");
    EXPECT_EQ(EncodeText("Z\xFCrich", kUtf8), "Z\xFCrich");
    EXPECT_EQ(DecodeText("Z\xFCrich", kUtf8), "Z\xFCrich");
}

// The fixtures read as a load does (an add skips the header), with the messages in order.
using ProjectRow = std::tuple<Name, const char*, std::size_t, Strings>;
class ProjectFixtureTable : public ::testing::TestWithParam<ProjectRow> {};
TEST_P(ProjectFixtureTable, HeaderThenThermalsUpToTheFirstShortLine) {
    const auto& [name, file, count, messages] = GetParam();
    const std::string data = Fixture(std::string("files/") + file);
    RecordingPrompts rec;
    std::size_t offset = 0;
    const ProjectHeader header = ReadProjectHeader(data, offset);
    std::size_t skipped = 0;
    SkipProjectHeader(data, skipped);
    EXPECT_EQ(skipped, offset);
    EXPECT_EQ(ReadThermalLines(data, offset).size(), count);
    EXPECT_EQ(rec.messages(), messages);
    EXPECT_EQ(header.mapFile, "map.bmp");
    EXPECT_EQ(std::tuple(header.latTop, header.latBottom), std::tuple(47.5, 47.0));
}
const std::string kError = "File Error|Error reading ";
const auto kProjectFixtureRows = ::testing::Values(
    ProjectRow{"Example", "example.prj", 2, {}}, ProjectRow{"Sections", "sections.prj", 3, {}},
    // The third line has 24 characters: it and every line after it are not read.
    ProjectRow{"TwentyFiveCharacters", "boundary.prj", 2, {}},
    ProjectRow{"BlankLine", "blankline.prj", 1, {}},
    ProjectRow{"HeaderOnly", "headeronly.prj", 0, {}},
    ProjectRow{"BadThermal", "badthermal.prj", 1, {kError + "thermal data from Project File map"}},
    ProjectRow{"ShortHeader",
               "shortheader.prj",
               0,
               {kError + "Project File header", kError + "additional Project data map"}});
INSTANTIATE_TEST_SUITE_P(Files, ProjectFixtureTable, kProjectFixtureRows, RowName);

TEST(ProjectFile, EveryMissingHeaderLineIsReportedInOrder) {
    RecordingPrompts rec;
    std::size_t offset = 0;
    EXPECT_EQ(ReadProjectHeader("", offset).text, "\n\n\n\n\n");
    EXPECT_EQ(rec.messages(),
              (Strings{kError + "Project File header 1", kError + "Project File header 2:readline",
                       kError + "Project File header"}));
    rec.clear();
    const std::string data = "map.bmp\r\n47:30\r\n47:00.000N\r\n7:30.000E\r\n8:30.000E\r\n";
    EXPECT_DOUBLE_EQ(ReadProjectHeader(data, offset).lonRight, 8.5);
    EXPECT_EQ(rec.messages(), Strings{"Error|Error converting negative a=4 b=6 s=47:30"});
}

TEST(ProjectFile, HeaderIsWrittenBackByteForByte) {
    const std::string line = kBasic + "\r\n";
    const std::string latin =
        "Karte M\xFCnchen.bmp\r\n47:30.000N\r\n47:00.000N\r\n7:30.000E\r\n8:30.000E\r\n";
    for (const std::string& data : {"\xEF\xBB\xBF" + ProjectText(line), latin + line}) {
        std::size_t offset = 0;
        const ProjectHeader header = ReadProjectHeader(data, offset);
        EXPECT_EQ(ProjectFileBytes(header.text, ReadThermalLines(data, offset), false), data);
        EXPECT_EQ(header.mapFile, data == latin + line ? "Karte M\xC3\xBCnchen.bmp" : "map.bmp");
    }
}

TEST(ProjectFile, SavedWithoutSectionsOrWithBoth) {
    const std::string data = Fixture("files/example.prj");
    std::size_t offset = 0;
    const ProjectHeader header = ReadProjectHeader(data, offset);
    const ThermalList thermals = ReadThermalLines(data, offset);
    EXPECT_EQ(ProjectFileBytes(header.text, thermals, false),
              ProjectText(kBasic + "\r\n" + kFull.substr(0, kBasic.size()) + "\r\n"));
    EXPECT_EQ(ProjectFileBytes(header.text, thermals, true),
              ProjectText(kAll + "\r\n" + kFull + "\r\n"));
}

// Comments before the waypoints and every line after them come back byte for byte; the
// waypoint lines in this program's spelling, so a file written by it comes back whole.
using DatRow = std::tuple<Name, const char*, std::size_t, bool, bool>; // count, message, whole
class WaypointFileTable : public ::testing::TestWithParam<DatRow> {};
TEST_P(WaypointFileTable, EveryOtherLineComesBackInPlace) {
    const auto& [name, file, count, message, whole] = GetParam();
    const std::string original = Fixture(std::string("files/") + file);
    RecordingPrompts rec;
    const WaypointFileContent read = ReadWaypointFile(original);
    EXPECT_EQ(read.waypoints.size(), count);
    EXPECT_EQ(rec.messages().size(), message ? 1u : 0u);
    const std::string saved = WaypointFileBytes(read.frame, read.waypoints);
    EXPECT_EQ(saved == original, whole);
    const std::string& header = read.frame.header;
    const std::string& trailer = read.frame.trailer;
    ASSERT_TRUE(original.starts_with(header) && original.ends_with(trailer));
    const auto lines =
        original.substr(header.size(), original.size() - header.size() - trailer.size());
    EXPECT_EQ(std::size_t(std::count(lines.begin(), lines.end(), '\n')), count);

    // Written once, the file no longer changes.
    const WaypointFileContent again = ReadWaypointFile(saved);
    ASSERT_EQ(again.waypoints.size(), count);
    EXPECT_EQ(WaypointFileBytes(again.frame, again.waypoints), saved);
}
const auto kWaypointFileRows =
    ::testing::Values(DatRow{"XcsoarWaypoints", "xcsoar_waypoints.dat", 5, false, false},
                      DatRow{"XcsoarParserTest", "xcsoar_wp_parser_test.dat", 90, false, false},
                      DatRow{"XcsoarEuregio", "xcsoar_wp_parser_euregio9.dat", 99, false, false},
                      DatRow{"Hemispheres", "hemispheres.dat", 5, false, false},
                      DatRow{"BadLine", "badline.dat", 2, true, true},
                      DatRow{"NotWaypoints", "notwaypoints.dat", 0, false, true},
                      DatRow{"Utf8", "utf8.dat", 2, false, true},
                      DatRow{"Windows1252", "windows1252.dat", 2, false, true});
INSTANTIATE_TEST_SUITE_P(Files, WaypointFileTable, kWaypointFileRows, RowName);

TEST(WaypointFile, FramesAndTextsOfTheFixtures) {
    RecordingPrompts rec;
    const WaypointFileFrame bad = ReadWaypointFile(Fixture("files/badline.dat")).frame;
    EXPECT_EQ(bad.trailer, "3,47:31.500N,8:16.500E\r\n4,47:32.000N,8:17.000E,459M,T,Fourth,never "
                           "read\r\ntail\r\n");
    EXPECT_EQ(rec.messages(), Strings{"File Error|Error with Dat File"});
    const auto text = [](const char* file) {
        return ReadWaypointFile(Fixture(file)).waypoints[0]->tText;
    };
    EXPECT_EQ(text("files/windows1252.dat"), "Flugplatz \xE2\x80\x93 S\xC3\xBC"
                                             "d");
    EXPECT_EQ(text("files/windows1252.dat"), text("files/utf8.dat"));
    const std::string marked =
        "\xEF\xBB\xBF" + std::string("1,47:30.5N,8:15.25E,457M,T,H\xC3\xB6he,ok\r\n");
    const WaypointFileContent withMark = ReadWaypointFile(marked);
    EXPECT_EQ(std::pair(withMark.frame.header, withMark.waypoints[0]->tName),
              std::pair(std::string("\xEF\xBB\xBF"), std::string("H\xC3\xB6he")));
}

// Inputs with which the fuzz targets found faults (fuzz/corpus): every line that reads writes
// a line that reads back the same.
using Finding = std::tuple<Name, const char*, int>; // corpus file, lines that read
class FuzzFindingTable : public ::testing::TestWithParam<Finding> {};
TEST_P(FuzzFindingTable, WrittenLinesReadBackTheSame) {
    const auto& [name, file, lines] = GetParam();
    const std::string data = Fixture(std::string("../../fuzz/corpus/") + file);
    int read = 0;
    for (std::size_t offset = 0; offset < data.size();) {
        const std::string line = ReadLine(data, offset);
        std::string first, second;
        if (std::string_view(file).starts_with("thermal")) {
            if (const auto t = ParseThermalLine(line)) {
                first = Line(*t, true);
                if (const auto back = ParseThermalLine(first))
                    second = Line(*back, true);
                ++read;
            }
        } else if (const auto w = ParseWaypointLine(line)) {
            AppendWaypointLine(first, *w);
            if (const auto back = ParseWaypointLine(first.substr(0, first.size() - 2)))
                AppendWaypointLine(second, *back);
            ++read;
        }
        EXPECT_EQ(second, first);
    }
    EXPECT_EQ(read, lines);
}
const auto kFuzzFindingRows =
    ::testing::Values(Finding{"ExponentFloat", "thermalline/exponent-float", 3},
                      Finding{"InfinitePosition", "waypointline/infinite-position", 0},
                      Finding{"SplitCharacter", "waypointline/split-character", 1});
INSTANTIATE_TEST_SUITE_P(Corpus, FuzzFindingTable, kFuzzFindingRows, RowName);

} // namespace
