#include "coretest.h"
#include "geo/coordtext.h"
#include "geo/distance.h"
#include "geo/edittext.h"
#include "geo/mapframe.h"
#include "geo/numbertext.h"
#include "geo/textfields.h"
#include "geo/units.h"

#include <cfloat>
#include <climits>
#include <limits>

namespace {

using namespace coretest;
using namespace std::literals;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr auto none = std::nullopt;

using Num = std::tuple<Name, double, const char*>;
class NumberTextTable : public ::testing::TestWithParam<Num> {};
TEST_P(NumberTextTable, FifteenSignificantDigits) {
    EXPECT_EQ(NumberText(std::get<1>(GetParam())), std::get<2>(GetParam()));
}
const auto kNumberTextRows = ::testing::Values(
    Num{"NegativeZero", -0.0, "0"}, Num{"Whole", -1200, "-1200"},
    Num{"SixteenthDigitCut", 47.12345678901234, "47.1234567890123"},
    Num{"SmallestPlain", 0.0001, "0.0001"}, Num{"BelowPlain", 0.00009999, "9.999E-5"},
    Num{"RoundsUpToPlain", 0.00009999999999999999, "0.0001"},
    Num{"LargestPlain", 999999999999999.0, "999999999999999"},
    Num{"RoundsUpToE15", 999999999999999.9, "1E15"},
    Num{"NegativeThreeDigitExponent", -1.5e-100, "-1.5E-100"},
    Num{"Infinite", -std::numeric_limits<double>::infinity(), "-INF"},
    Num{"NotANumber", kNaN, "NAN"});
INSTANTIATE_TEST_SUITE_P(Numbers, NumberTextTable, kNumberTextRows, RowName);

using Parse = std::tuple<Name, std::string, std::optional<double>, std::optional<int>>;
class ParseNumberTable : public ::testing::TestWithParam<Parse> {};
TEST_P(ParseNumberTable, WholeTextOrNothing) {
    const auto& [name, text, decimal, integer] = GetParam();
    EXPECT_EQ(std::pair(ParseDecimal(text), ParseInteger(text)), std::pair(decimal, integer));
}
const auto kParseNumberRows = ::testing::Values(
    Parse{"Plus", "+5", 5, 5}, Parse{"PlusPoint", "+.5", 0.5, none},
    Parse{"IntMax", "2147483647", 2147483647.0, INT_MAX},
    Parse{"IntMin", "-2147483648", -2147483648.0, INT_MIN},
    Parse{"AboveIntMax", "2147483648", 2147483648.0, none}, Parse{"PlusMinus", "+-1", none, none},
    Parse{"TwoPoints", "1.2.3", none, none}, Parse{"Exponent", "1e5", none, none},
    Parse{"BeyondDouble", std::string(400, '9'), none, none});
INSTANTIATE_TEST_SUITE_P(Texts, ParseNumberTable, kParseNumberRows, RowName);

// Each quadrant in the three formats (north-west with the carry); the last rows carry the
// rounding into the degrees.
struct Pos {
    const char* name;
    double lat, lon;
    std::string minutes, seconds, degrees;
};
class PositionTextTable : public ::testing::TestWithParam<Pos> {};
TEST_P(PositionTextTable, RoundedWithTheDegreeSign) {
    const Pos& p = GetParam();
    EXPECT_EQ(PositionText(p.lat, p.lon, decMins), p.minutes);
    EXPECT_EQ(PositionText(p.lat, p.lon, degMinSec), p.seconds);
    EXPECT_EQ(PositionText(p.lat, p.lon, decDegrees), p.degrees);
}
const auto kPositionRows =
    ::testing::Values(Pos{"NorthEast", 46.5435925, 7.4871733, "N46°32.616' E7°29.230'",
                          "N46°32'36.9\" E7°29'13.8\"", "46.54359° 7.48717°"},
                      Pos{"SouthEast", -33.75, 151.0005, "S33°45.000' E151°00.030'",
                          "S33°45'00.0\" E151°00'01.8\"", "-33.75000° 151.00050°"},
                      Pos{"SouthWest", -0.0833333, -70.1, "S0°05.000' W70°06.000'",
                          "S0°05'00.0\" W70°06'00.0\"", "-0.08333° -70.10000°"},
                      Pos{"CarryIntoDegrees", 46.9999999, -179.99999999, "N47°00.000' W180°00.000'",
                          "N47°00'00.0\" W180°00'00.0\"", "47.00000° -180.00000°"},
                      Pos{"RoundsToZero", -0.000000001, kNaN, "N0°00.000' E0°00.000'",
                          "N0°00'00.0\" E0°00'00.0\"", "0.00000° 0.00000°"});
INSTANTIATE_TEST_SUITE_P(Quadrants, PositionTextTable, kPositionRows, RowName);

// ParseDegrees gives a message for each failed step with the caption "Error" (given here
// without it and without the texts' leading "Error ") and goes on with what the step left.
using Deg = std::tuple<Name, std::string, double, Strings>;
class ParseDegreesTable : public ::testing::TestWithParam<Deg> {};
TEST_P(ParseDegreesTable, ValueAndEveryFailedStep) {
    const auto& [name, text, value, messages] = GetParam();
    const Read<double> parsed = ParseDegrees(text);
    EXPECT_DOUBLE_EQ(parsed.value, value);
    Strings expected;
    for (const std::string& m : messages)
        expected.push_back("Error|Error " + m);
    EXPECT_EQ(Shown(parsed.messages), expected);
}
const std::string kHuge = "179769313486231570" + std::string(291, '0') + ':';
const auto kParseDegreesRows = ::testing::Values(
    Deg{"South", "047:30.5S", -47.508333333333333, {}}, Deg{"LowerSouth", "0:30s", -0.5, {}},
    Deg{"West", "8:15.25W", -8.2541666666666667, {}}, Deg{"LowerWest", "0:30w", -0.5, {}},
    Deg{"LetterInFront", "N47*30'", 47.5, {}}, Deg{"SignOnDegreesAlone", "-47:30N", -46.5, {}},
    Deg{"NoHemisphere", "47:30", 47.5, {"converting negative a=4 b=6 s=47:30"}},
    Deg{"BadDegrees", "1.2.3:30N", 0.5, {"converting degs, a=1 b=6 s=1.2.3:30N"}},
    Deg{"BadMinutes", "47:-N", 47, {"converting to double a=4 b=5 s=47:-N st=-"}},
    Deg{"SumBeyondDouble",
        kHuge + kHuge,
        0,
        // The text quoted is cut after 60 characters.
        {"adding seconds v=1.79769313486232E308 ddt=2.99615522477053E306 s=" + kHuge.substr(0, 60) +
         "..."}});
INSTANTIATE_TEST_SUITE_P(Texts, ParseDegreesTable, kParseDegreesRows, RowName);

// Each call's field and the position after it, as "field@p": number runs, or the fields
// between delimiters when one is given.
Strings Fields(std::string_view line, int calls, int p, char delimiter = 0) {
    Strings out;
    while (calls-- > 0) {
        const std::string field(delimiter ? NextToken(line, p, delimiter) : NextNumber(line, p));
        out.push_back(field + '@' + std::to_string(p));
    }
    return out;
}

TEST(TextFields, ReadersTakeTheFieldsInTurn) {
    EXPECT_EQ(Fields("12,-3.5,,+7", 4, 1), (Strings{"12@3", "-3.5@8", "+7@12", "-1@12"}));
    EXPECT_EQ(Fields("12,abc", 2, 3), (Strings{"@7", "-1@7"}));
    EXPECT_EQ(Fields("5", 1, 1), (Strings{"-1@1"}));
    EXPECT_EQ(Fields("1,A,B", 3, 2, ','), (Strings{"A@4", "B@6", "@6"}));
    EXPECT_EQ(Fields("x,,y", 3, 0, ','), (Strings{"x@2", "@3", "y@5"}));
    const std::string data = "A\rB\r\nC\n\r\r\nx";
    Strings lines;
    for (std::size_t offset = 0; lines.size() < 5;) {
        const std::string line = ReadLine(data, offset);
        lines.push_back(line + '@' + std::to_string(offset));
    }
    EXPECT_EQ(lines, (Strings{"AB@5", "C@7", "@10", "x@11", "@11"}));
}

// The top of the range and the truncation are the thermal line writer's to show.
TEST(Units, TruncatedWithinTheIntRange) {
    EXPECT_EQ(std::pair(TruncateToInt(-2147483648.9), TruncateToInt(kNaN)), std::pair(INT_MIN, 0));
}

// Every place is measured alike: also 0, 0 and 30 S 30 E, whose latitude and longitude add
// up to 0. Equal positions are no distance apart.
TEST(DistanceKm, GreatCircleKilometres) {
    EXPECT_EQ(DistanceKm({47.123456789, 8.98765}, {47.123456789, 8.98765}), 0);
    EXPECT_NEAR(DistanceKm({9.715, 119.179}, {9.71500001, 119.179}), 0, 0.001); // cosine above 1
    EXPECT_NEAR(DistanceKm({1, 0}, {-1, 180}), 180 * 111.195, 1e-6);
    EXPECT_NEAR(DistanceKm({0, 0}, {0, 1}), 111.195, 1e-9);
    EXPECT_NEAR(DistanceKm({-29, 30}, {-30, 30}), 111.195, 1e-9);
}

TEST(EditText, EmptyAndMinusCountAsZero) {
    EXPECT_EQ(std::tuple(ParseIntEdit(""), ParseIntEdit("-"), ParseIntEdit("1.5")),
              std::tuple(0, 0, none));
    EXPECT_EQ(ParseFloatEdit("-"), 0.0f);
    EXPECT_EQ(ParseFloatEdit("340282346638528859811704183484516925440"), FLT_MAX);
    EXPECT_EQ(ParseFloatEdit("340282356779733661637539395458142568448"), none);
    EXPECT_EQ(std::tuple(ParseHeightEdit("5", feet), ParseHeightEdit("1000", meters)),
              std::tuple(2, 1000)); // 1.524 m
    EXPECT_EQ(HeightEditText(305, feet), "1001");
}

TEST(MapFrame, DegreesToPixelsAndBack) {
    const MapFrame frame{{47, 46, 8, 10}, 400, 300};
    EXPECT_EQ(std::pair(frame.LonToX(9), frame.LatToY(46.5)), std::pair(200, 150));
    EXPECT_EQ(std::pair(frame.LatToY(47.001), frame.LatToY(47.02)), std::pair(0, -6));
    EXPECT_EQ(std::pair(frame.XToLon(300), frame.YToLat(150)), std::pair(9.5, 46.5));
    EXPECT_EQ(std::pair(frame.LonToX(1e300), frame.LatToY(kNaN)), std::pair(1000000000, 0));
    const MapFrame flat{{47, 47, 8, 8}, 400, 300};
    EXPECT_EQ(std::pair(flat.LonToX(9), flat.LatToY(46)), std::pair(0, 0));
    const MapFrame unshown{{47, 46, 8, 10}, 0, 0};
    EXPECT_EQ(std::pair(unshown.XToLon(100), unshown.YToLat(100)), std::pair(0.0, 0.0));
}

TEST(MapFrame, FitPictureFillsTheBoxWithItsLimitingSide) {
    const auto fit = [](int pw, int ph, int bw, int bh) {
        const PixelSize size = FitPicture(pw, ph, bw, bh);
        return std::pair(size.width, size.height);
    };
    EXPECT_EQ(std::pair(fit(400, 200, 600, 600), fit(400, 200, 800, 400)),
              std::pair(std::pair(600, 300), std::pair(800, 400)));
    // Zoom In twice on a 534 x 263 panel: the box is three times the panel.
    EXPECT_EQ(fit(40, 30, 1602, 789), std::pair(1052, 789));
    EXPECT_EQ(std::pair(fit(400, 200, -5, 100), fit(0, 200, 600, 600)),
              std::pair(std::pair(0, 0), std::pair(0, 0)));
}

} // namespace
