#include "codecs/mapfiles.h"
#include "codecs/waypointfile.h"
#include "codecs/waypointimport.h"
#include "coretest.h"
#include "geo/mapedges.h"
#include "geo/numbertext.h"

#include <algorithm>
#include <cmath>
#include <random>
#include <sstream>

namespace {

using namespace coretest;
struct Row {
    const char* name;
    std::string input, outcome;
};

// Edges as "N S W E", or the problem.
std::string Shown(const std::variant<GeoBounds, std::string>& result) {
    if (const auto* problem = std::get_if<std::string>(&result))
        return *problem;
    const GeoBounds& e = std::get<GeoBounds>(result);
    return NumberText(e.north) + " " + NumberText(e.south) + " " + NumberText(e.west) + " " +
           NumberText(e.east);
}

// The input: the four edges as typed, "N|S|W|E".
class TypedEdges : public ::testing::TestWithParam<Row> {};
TEST_P(TypedEdges, ReadInEveryFormOrNamed) {
    std::vector<std::string> t(4);
    std::istringstream in(GetParam().input);
    for (std::string& edge : t)
        std::getline(in, edge, '|');
    const std::string shown = Shown(ParseMapEdges(t[0], t[1], t[2], t[3]));
    EXPECT_TRUE(shown.starts_with(GetParam().outcome)) << shown;
}
INSTANTIATE_TEST_SUITE_P(
    Forms, TypedEdges,
    ::testing::Values(
        Row{"DecimalDegrees", "46.5|-0.25|-7|+8", "46.5 -0.25 -7 8"},
        Row{"DecimalMinutes", "N46*30'|s0*15'|W7*6'|E8*0.75'", "46.5 -0.25 -7.1 8.0125"},
        Row{"DegMinSec", "N46*30'0\"|S0*0'9\"|W7*0'36\"|E180°0′0″", "46.5 -0.0025 -7.01 180"},
        Row{"ProjectFileForm", "46:30.000N|45 59.5 n|7:30.000W|8:30.000e", "46.5 45.99166666"},
        Row{"Poles", "90|S90|-180|180", "90 -90 -180 180"},
        Row{"BeyondThePole", "90.0001|0|0|1", "The north edge \"90.0001\" is no latitude"},
        Row{"SixtyMinutes", "1|N0*60'|0|1", "The south edge"},
        Row{"SixtySeconds", "1|0|W0*0'60\"|1", "The west edge"},
        Row{"FractionBeforeMinutes", "1|0|0|1.5*30'", "The east edge"},
        Row{"TwoHemispheres", "N1S|0|0|1", "The north edge"},
        Row{"SouthAboveNorth", "46|46|7|8", "The north edge must lie north"},
        Row{"EastOnWest", "47|46|8|8", "The east edge must lie east"}),
    RowName);

// A 200 x 100 picture over 7E-8E, 46N-46.5N, as the worked example.
class WorldFiles : public ::testing::TestWithParam<Row> {};
TEST_P(WorldFiles, PlaceTheOuterEdgesOrNameWhatWasFound) {
    const std::string shown = Shown(ReadWorldFile(GetParam().input, 200, 100));
    EXPECT_NE(shown.find(GetParam().outcome), std::string::npos) << shown;
}
INSTANTIATE_TEST_SUITE_P(
    Files, WorldFiles,
    ::testing::Values(
        Row{"HalfPixelOut", "0.005\n0\n0\n-0.005\n7.0025\n46.4975\n", "46.5 46 7 8"},
        Row{"ENotationAndCrLf", "5.0E-003\r\n0\r\n0\r\n-5e-3\r\n+7.0025\r\n46.4975", "46.5 46 7 8"},
        Row{"WholeWorld", "1.8\n0\n0\n-1.8\n-179.1\n89.1\n", "90 -90 -180 180"},
        Row{"Rotated", "0.005\n0.001\n0\n-0.005\n7\n46.5\n", "rotation terms 0.001 and 0"},
        Row{"Projected", "10\n0\n0\n-10\n500005\n5199995\n", "500000, 5200000, which are not"},
        Row{"SouthUp", "0.005\n0\n0\n0.005\n7\n46\n", "does not stand north up"},
        Row{"FiveNumbers", "0.005\n0\n0\n-0.005\n7\n", "5 numbers instead of six"},
        Row{"SevenNumbers", "1 0 0 -1 7 46 1", "more than six"},
        Row{"Word", "0.005\n0\nzero\n-0.005\n7\n46\n", "\"zero\" where a number belongs"}),
    RowName);

// Every waypoint as name|lat|lon|metres|attributes|text, then the problems.
std::string Outcome(const ImportedWaypoints& in) {
    std::string text;
    for (const auto& w : in.waypoints)
        text += w->tName + '|' + NumberText(w->lat) + '|' + NumberText(w->lon) + '|' +
                IntText(w->tGroundHeight) + '|' + w->tAttributes + '|' + w->tText + '\n';
    for (const std::string& problem : in.problems)
        text += problem + '\n';
    return text;
}

const std::string kHead = "name,code,country,lat,lon,elev,style,rwdir,rwlen,freq,desc\r\n";
// A place whose line is length characters long.
std::string Padded(std::size_t length) {
    const std::string line = "A,,,4630.000N,00715.000E,1m,1,";
    return kHead + line + std::string(length - line.size(), ' ') + '\n';
}

class CupLines : public ::testing::TestWithParam<Row> {};
TEST_P(CupLines, ReadOrReportedWithTheirNumber) {
    EXPECT_EQ(Outcome(ReadCupFile(GetParam().input)), GetParam().outcome);
}
INSTANTIATE_TEST_SUITE_P(
    Lines, CupLines,
    ::testing::Values(
        Row{"QuotedCommasAndQuotes",
            kHead + "\"Ridge, \"\"north\"\"\",RN,,4630.000N,00715.000E,1000.0m,4,,,,"
                    "\"Rabbit holes, 20\" ditch\"  \r\n",
            "Ridge \"north\"|46.5|7.25|1000|AT|Rabbit holes 20\" ditch\n"},
        Row{"FeetSouthWest", kHead + "Field ,,,3230.000s, 07006.000w ,1500ft,3\n",
            "Field|-32.5|-70.1|457|TL|\n"},
        Row{"NameFromCode", kHead + "\"\",CODE,,9000.000S,18000.000E,,1\n", "CODE|-90|180|0|T|\n"},
        Row{"LaterColumns",
            "Name,Code,Country,Lat,Lon,Elev,Style,Rwdir,Rwlen,Rwwidth,Freq,Desc,Userdata\n"
            "A,,,4630.000N,00715.000E,12M,5,,,,,\"the desc\",\"user\"\n",
            "A|46.5|7.25|12|AT|the desc\n"},
        Row{"NoHeader", "A,,,4630.000N,00715.000E,1m\n", "A|46.5|7.25|1|T|\n"},
        Row{"FirstColumnNamedWins",
            "Name,Code,Country,Lat,Lon,Elev,Title\nA,,,4630.000N,00715.000E,1m,B\n",
            "A|46.5|7.25|1|T|\n"},
        // A header must name both position columns; one naming only one is a bad line.
        Row{"HeaderWithoutLongitude", "name,code,country,lat\nA,,,4630.000N,00715.000E,1m\n",
            "A|46.5|7.25|1|T|\nline 1: the latitude \"lat\" is not DDMM.mmm with N or S\n"},
        Row{"RelatedTasksEnd", kHead + "\n-----Related Tasks-----\nA,,,4630.000N,00715.000E,1m\n",
            ""},
        Row{"LongestLine", Padded(kLongestCupLine), "A|46.5|7.25|1|T|\n"},
        Row{"OneLonger", Padded(kLongestCupLine + 1), "line 2: longer than 16384 characters\n"},
        Row{"BadLinesPassedOver",
            kHead + "A,,,4660.000N,00715.000E,1m\nB,,,9000.001N,00715.000E,1m\n"
                    "C,,,4630.000N,00715.000W,1m,2\r\nD,,,4630.000N,0715.000E,1m\n"
                    "E,,,4630.000N,00715.000N,1m\nF,,,4630.000N,18000.001E,1m\n"
                    "G,,,4630.000N,00715.000E,1 yd\n\"H,,,4630.000N,00715.000E,1m\n",
            "C|46.5|-7.25|1|AT|\n"
            "line 2: the latitude \"4660.000N\" is not DDMM.mmm with N or S\n"
            "line 3: the latitude \"9000.001N\" is not DDMM.mmm with N or S\n"
            "line 5: the longitude \"0715.000E\" is not DDDMM.mmm with E or W\n"
            "line 6: the longitude \"00715.000N\" is not DDDMM.mmm with E or W\n"
            "line 7: the longitude \"18000.001E\" is not DDDMM.mmm with E or W\n"
            "line 8: the elevation \"1 yd\" is not a number of m or ft\n"
            "line 9: a quote is not closed\n"}),
    RowName);

// Two .cup files hold their .dat twin's places in the same order.
class SeeYouTwins : public ::testing::TestWithParam<const char*> {};
TEST_P(SeeYouTwins, HoldTheSamePlacesAndElevations) {
    const std::string name = std::string("files/") + GetParam();
    const ImportedWaypoints cup = ReadCupFile(Fixture(name + ".cup"));
    const Read<WaypointFileContent> dat = ReadWaypointFile(Fixture(name + ".dat"));
    ASSERT_TRUE(dat.complete());
    ASSERT_EQ(cup.waypoints.size(), dat.value.waypoints.size());
    EXPECT_EQ(cup.problemCount, 0U);
    for (std::size_t i = 0; i < cup.waypoints.size(); ++i) {
        const Waypoint& c = *cup.waypoints[i];
        const Waypoint& twin = *dat.value.waypoints[i];
        EXPECT_NEAR(c.lat, twin.lat, 1.0 / 3600) << c.tName;
        EXPECT_NEAR(c.lon, twin.lon, 1.0 / 3600) << c.tName;
        EXPECT_EQ(c.tGroundHeight, twin.tGroundHeight) << c.tName;
    }
}
INSTANTIATE_TEST_SUITE_P(Files, SeeYouTwins,
                         ::testing::Values("xcsoar_waypoints", "xcsoar_wp_parser_euregio9"));

// Random bytes end in one message naming a line; the reader's memory on them, and on a huge
// line, is measured by bench_cupimport.
TEST(HostileCup, GivesAMessageNamingALine) {
    std::mt19937 random(17);
    std::string noise = kHead;
    noise.resize(4'000'000);
    for (char& c : noise)
        c = static_cast<char>(random());
    const ImportedWaypoints read = ReadCupFile(noise);
    EXPECT_LE(read.problems.size(), kListedProblems);
    EXPECT_NE(read.Report().find("line "), std::string::npos);
}

} // namespace
