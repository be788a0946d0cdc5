#include "files/waypointline.h"

#include <gtest/gtest.h>

namespace {

TEST(WaypointLineRead, ClickedWaypointLine) {
    const auto w = ParseWaypointLine("3,47:30.500N,8:15.250E,0M,T,Waypoint 1,Waypoint 1");
    ASSERT_TRUE(w);
    EXPECT_EQ(w->id, 3);
    EXPECT_DOUBLE_EQ(w->lat, 47 + 30.5 / 60);
    EXPECT_DOUBLE_EQ(w->lon, 8 + 15.25 / 60);
    EXPECT_EQ(w->groundHeight, 0);
    EXPECT_EQ(w->attributes, "T");
    EXPECT_EQ(w->name, "Waypoint 1");
    EXPECT_EQ(w->text, "Waypoint 1");
}

TEST(WaypointLineRead, SouthWestAndFeet) {
    const auto w = ParseWaypointLine("1,47:30.500S,8:15.250W,1500F,T,A,B");
    ASSERT_TRUE(w);
    EXPECT_DOUBLE_EQ(w->lat, -(47 + 30.5 / 60));
    EXPECT_DOUBLE_EQ(w->lon, -(8 + 15.25 / 60));
    EXPECT_EQ(w->groundHeight, 457);
    EXPECT_EQ(w->attributes, "T");
    EXPECT_EQ(w->name, "A");
    EXPECT_EQ(w->text, "B");
}

TEST(WaypointLineRead, OnlyUpperCaseLettersRightAfterTheMinutesCount) {
    EXPECT_GT(ParseWaypointLine("1,47:30.500s,8:15.250w,0M,T,A,B")->lat, 0);
    EXPECT_GT(ParseWaypointLine("1,47:30.500s,8:15.250w,0M,T,A,B")->lon, 0);
    EXPECT_GT(ParseWaypointLine("1,47:30.500 S,8:15.250E,0M,T,A,B")->lat, 0);
    EXPECT_LT(ParseWaypointLine("1,47:30:30S,8:15.250E,0M,T,A,B")->lat, 0);
}

TEST(WaypointLineRead, DegreesMinutesSeconds) {
    const auto w = ParseWaypointLine("553,51:03:07N,007:42:22E,488M,ATH,Bergneustadt,123.650 MHz");
    ASSERT_TRUE(w);
    EXPECT_NEAR(w->lat, 51 + 3 / 60.0 + 7 / 3600.0, 1e-12);
    EXPECT_NEAR(w->lon, 7 + 42 / 60.0 + 22 / 3600.0, 1e-12);
    EXPECT_EQ(w->groundHeight, 488);
    EXPECT_EQ(w->attributes, "ATH");
    EXPECT_EQ(w->text, "123.650 MHz");
}

TEST(WaypointLineRead, OtherSpellingsOfTheNumbers) {
    const auto spaced = ParseWaypointLine("7,047 30.500N,008 15.250E,250,TL,Name,Text");
    ASSERT_TRUE(spaced);
    EXPECT_DOUBLE_EQ(spaced->lat, 47 + 30.5 / 60);
    EXPECT_EQ(spaced->groundHeight, 250);
    EXPECT_EQ(spaced->attributes, "TL");

    // Any single letter after the elevation is passed over; only "F" means feet.
    const auto other = ParseWaypointLine("7,47:30.500N,8:15.250E,120X,AT,Name,Text");
    ASSERT_TRUE(other);
    EXPECT_EQ(other->groundHeight, 120);
    EXPECT_EQ(other->attributes, "AT");
}

TEST(WaypointLineRead, FormsOfTheEarlierWriterStillRead) {
    // One minute digit, and minutes rounded up to 60.
    const auto w = ParseWaypointLine("3,47:60.000N,8:0.000E,0M,T,Old,form");
    ASSERT_TRUE(w);
    EXPECT_DOUBLE_EQ(w->lat, 48.0);
    EXPECT_DOUBLE_EQ(w->lon, 8.0);
}

TEST(WaypointLineRead, TextsAreCutAtCommasAndKeepTheirSpaces) {
    const auto w = ParseWaypointLine("1,47:30.500N,8:15.250E,0M,T,Name,a,b");
    ASSERT_TRUE(w);
    EXPECT_EQ(w->text, "a");

    const auto padded = ParseWaypointLine("1,50:48:51N,006:11:29E,189M,T,Aachen      ,Gfr=3");
    ASSERT_TRUE(padded);
    EXPECT_EQ(padded->name, "Aachen      ");

    const auto empty = ParseWaypointLine("3,37:49.050N,122:28.700W,227M,T,Golden Gate Bridge,");
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->text, "");
    const auto noTexts = ParseWaypointLine("3,37:49.050N,122:28.700W,227M");
    ASSERT_TRUE(noTexts);
    EXPECT_EQ(noTexts->attributes, "");
    EXPECT_EQ(noTexts->name, "");
}

TEST(WaypointLineRead, BrokenLinesFail) {
    EXPECT_FALSE(ParseWaypointLine("1,47:30.500"));
    EXPECT_FALSE(ParseWaypointLine("1,47:30.500N,8:15.250"));
    EXPECT_FALSE(ParseWaypointLine("1,47:30:30"));
    EXPECT_FALSE(ParseWaypointLine("1,47:30.500N,8:15.250E,457"));
    EXPECT_FALSE(ParseWaypointLine("1.5,47:30.500N,8:15.250E,0M,T,A,B"));
    EXPECT_FALSE(ParseWaypointLine("1,47:30.500N,8:15.250E,0.5M,T,A,B"));
    EXPECT_FALSE(ParseWaypointLine("1,47:3.0.500N,8:15.250E,0M,T,A,B"));
    EXPECT_FALSE(ParseWaypointLine("1,47"));
    EXPECT_FALSE(ParseWaypointLine("1"));
    EXPECT_FALSE(ParseWaypointLine("1,N,E,M,T,A,B"));
}

TEST(PositionText, TwoMinuteDigitsAndHemisphere) {
    EXPECT_EQ(PositionText(-0.5, 'N', 'S'), "0:30.000S");
    EXPECT_EQ(PositionText(8.0, 'E', 'W'), "8:00.000E");
    EXPECT_EQ(PositionText(47 + 30.5 / 60, 'N', 'S'), "47:30.500N");
    EXPECT_EQ(PositionText(-(122 + 28.7 / 60), 'E', 'W'), "122:28.700W");
    EXPECT_EQ(PositionText(0, 'N', 'S'), "0:00.000N");
}

TEST(PositionText, SixtyMinutesCarryIntoTheDegrees) {
    EXPECT_EQ(PositionText(47.99999999, 'N', 'S'), "48:00.000N");
    EXPECT_EQ(PositionText(-7.9999999, 'E', 'W'), "8:00.000W");
    EXPECT_EQ(PositionText(47 + 59.9994 / 60, 'N', 'S'), "47:59.999N");
}

TEST(WaypointLineWrite, LineAsTheReaderTakesIt) {
    std::string out;
    AppendWaypointLine(out,
                       {3, 47 + 30.5 / 60, 8 + 15.25 / 60, 0, "T", "Waypoint 1", "Waypoint 1"});
    EXPECT_EQ(out, "3,47:30.500N,8:15.250E,0M,T,Waypoint 1,Waypoint 1\r\n");
}

TEST(WaypointLineRoundTrip, PositionsToAThousandthOfAMinute) {
    for (const double lat : {-89.999, -47.123456789, -0.0001, 0.0, 12.3456789, 51.0519444}) {
        const double lon = lat * 2;
        std::string out;
        AppendWaypointLine(out, {9, lat, lon, -12, "AT", "Name", "Text"});
        const auto back = ParseWaypointLine(std::string_view(out).substr(0, out.size() - 2));
        ASSERT_TRUE(back) << out;
        EXPECT_NEAR(back->lat, lat, 0.0005 / 60 + 1e-12) << out;
        EXPECT_NEAR(back->lon, lon, 0.0005 / 60 + 1e-12) << out;
        EXPECT_EQ(back->groundHeight, -12);
        EXPECT_EQ(back->name, "Name");
    }
}

TEST(WaypointLineKinds, WaypointAndCommentLines) {
    EXPECT_TRUE(IsWaypointLine("1,47:30.500N"));
    EXPECT_FALSE(IsWaypointLine(""));
    EXPECT_FALSE(IsWaypointLine(" 1,47:30.500N"));
    EXPECT_FALSE(IsWaypointLine("* 1"));
    EXPECT_TRUE(IsCommentLine("** header"));
    EXPECT_FALSE(IsCommentLine("1,*"));
    EXPECT_FALSE(IsCommentLine(""));
}

} // namespace
