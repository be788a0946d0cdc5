#include "geo/coordtext.h"

#include <gtest/gtest.h>

TEST(LatLonText, DecimalDegreesAreSignedNumberTexts) {
    EXPECT_EQ(LatText(47.5, decDegrees), "47.5");
    EXPECT_EQ(LatText(-33.75, decDegrees), "-33.75");
    EXPECT_EQ(LonText(-8.123456789, decDegrees), "-8.123456789");
}

TEST(LatLonText, DecimalMinutes) {
    EXPECT_EQ(LatText(47.5, decMins), "N47*30'");
    EXPECT_EQ(LatText(0, decMins), "N0*0'");
    EXPECT_EQ(LatText(-33.75, decMins), "S33*45'");
    EXPECT_EQ(LonText(-0.25, decMins), "W0*15'");
    EXPECT_EQ(LonText(10.123333333333333, decMins), "E10*7.39999999999998'");
}

TEST(LatLonText, DegreesMinutesSeconds) {
    EXPECT_EQ(LatText(47.5, degMinSec), "N47*30'0\"");
    EXPECT_EQ(LonText(-0.5, degMinSec), "W0*30'0\"");
    EXPECT_EQ(LonText(-10.855833333333333, degMinSec), "W10*51'20.9999999999988\"");
    EXPECT_EQ(LonText(8, degMinSec), "E8*0'0\"");
}

TEST(DegMinText, HasNoHemisphereLetter) {
    EXPECT_EQ(DegMinText(47.5, decMins), "47*30'");
    EXPECT_EQ(DegMinText(8.7, degMinSec).substr(0, 6), "8*41'5");
}

TEST(FindNumber, StartSkipsNonNumberCharacters) {
    EXPECT_EQ(FindNumberStart("ab", 1), 3);
    EXPECT_EQ(FindNumberStart("ab12", 1), 3);
    EXPECT_EQ(FindNumberStart("a+b", 1), 2);
    EXPECT_EQ(FindNumberStart("12", 1), 1);
    EXPECT_EQ(FindNumberStart("1:2", 2), 3);
    EXPECT_EQ(FindNumberStart("", 1), 1);
    EXPECT_EQ(FindNumberStart("ab", 7), 7);
}

TEST(FindNumber, EndStopsAtTheFirstNonNumberCharacter) {
    EXPECT_EQ(FindNumberEnd("12.5x", 1), 5);
    EXPECT_EQ(FindNumberEnd("12.5", 1), 5);
    EXPECT_EQ(FindNumberEnd("-3.5,7", 1), 5);
    EXPECT_EQ(FindNumberEnd("x12", 1), 1);
    EXPECT_EQ(FindNumberEnd("12", 9), 9);
}

TEST(FindNumber, NumberCharacters) {
    for (const char c : std::string_view("0123456789.+-"))
        EXPECT_TRUE(IsNumberChar(c)) << c;
    for (const char c : std::string_view(" ,:*'eEN\"\t"))
        EXPECT_FALSE(IsNumberChar(c)) << c;
}
