#include "files/thermalline.h"

#include <gtest/gtest.h>

namespace {

constexpr const char* kBasic = "4725000,800000,4,0,1500,300,270,5,1,450,1800,800,2";
constexpr const char* kFull = "4712345,812345,4,0,1500,300,270,5,1,450,1800,800,2,1,7,-1,-1,0,"
                              "-0.5,-1,-1,450,2,4,100,50,10,90";

std::string Basic(const std::string& rest) {
    return std::string(kBasic) + rest;
}

TEST(ThermalLineRead, BasicFormHasNoSections) {
    const auto t = ParseThermalLine(kBasic);
    ASSERT_TRUE(t);
    EXPECT_DOUBLE_EQ(t->lat, 47.25);
    EXPECT_DOUBLE_EQ(t->lon, 8.0);
    EXPECT_EQ(t->type, 4);
    EXPECT_EQ(t->bottom, 0);
    EXPECT_EQ(t->top, 1500);
    EXPECT_EQ(t->radius, 300);
    EXPECT_EQ(t->windDir, 270);
    EXPECT_EQ(t->factor, 5);
    EXPECT_TRUE(t->cloud);
    EXPECT_EQ(t->groundHeight, 450);
    EXPECT_EQ(t->cloudBase, 1800);
    EXPECT_EQ(t->cloudRadius, 400);
    EXPECT_EQ(t->cloudType, 2);
    EXPECT_FALSE(t->cumulus);
    EXPECT_FALSE(t->profile);
}

TEST(ThermalLineRead, FullFormReadsBothSections) {
    const auto t = ParseThermalLine(kFull);
    ASSERT_TRUE(t);
    EXPECT_DOUBLE_EQ(t->lat, 47.12345);
    EXPECT_DOUBLE_EQ(t->lon, 8.12345);
    ASSERT_TRUE(t->cumulus);
    EXPECT_EQ(t->cumulus->hs, -1.0f);
    EXPECT_EQ(t->cumulus->vs, -1.0f);
    EXPECT_EQ(t->cumulus->rotation, 0);
    EXPECT_EQ(t->cumulus->cloud, -0.5f);
    EXPECT_EQ(t->cumulus->start, -1);
    EXPECT_EQ(t->cumulus->end, -1);
    EXPECT_EQ(t->cumulus->groundHeight, 450);
    ASSERT_TRUE(t->profile);
    EXPECT_EQ(t->profile->strengthPercent, 100);
    EXPECT_EQ(t->profile->corePercent, 50);
    EXPECT_EQ(t->profile->coreBasePercent, 10);
    EXPECT_EQ(t->profile->coreTopPercent, 90);
}

TEST(ThermalLineRead, CloudDiameterIsHalvedTowardZero) {
    EXPECT_EQ(ParseThermalLine("4725000,800000,4,0,1500,300,270,5,1,450,1800,801,2")->cloudRadius,
              400);
    EXPECT_EQ(ParseThermalLine("4725000,800000,4,0,1500,300,270,5,1,450,1800,-3,2")->cloudRadius,
              -1);
}

TEST(ThermalLineRead, CloudFlagIsAnyValueButZero) {
    EXPECT_TRUE(ParseThermalLine("4725000,800000,4,0,1500,300,270,5,-7,450,1800,800,2")->cloud);
    EXPECT_FALSE(ParseThermalLine("4725000,800000,4,0,1500,300,270,5,0,450,1800,800,2")->cloud);
}

TEST(ThermalLineRead, SectionsFollowTheirTagsAndCounts) {
    const auto lowCount = ParseThermalLine(Basic(",1,5,2,4,100,50,10,90"));
    ASSERT_TRUE(lowCount);
    EXPECT_FALSE(lowCount->cumulus);
    EXPECT_FALSE(lowCount->profile);

    const auto profileOnly = ParseThermalLine(Basic(",2,4,100,50,10,90"));
    ASSERT_TRUE(profileOnly);
    EXPECT_FALSE(profileOnly->cumulus);
    ASSERT_TRUE(profileOnly->profile);
    EXPECT_EQ(profileOnly->profile->coreTopPercent, 90);

    const auto cumulusOnly = ParseThermalLine(Basic(",1,7,2.5,3,4,0.25,5,6,700"));
    ASSERT_TRUE(cumulusOnly);
    ASSERT_TRUE(cumulusOnly->cumulus);
    EXPECT_EQ(cumulusOnly->cumulus->hs, 2.5f);
    EXPECT_EQ(cumulusOnly->cumulus->groundHeight, 700);
    EXPECT_FALSE(cumulusOnly->profile);

    // The count is a lower limit: a larger one still takes exactly seven values.
    const auto largeCount = ParseThermalLine(Basic(",1,9,1,1,1,1,1,1,1,2,4,1,2,3,4,99"));
    ASSERT_TRUE(largeCount && largeCount->profile);
    EXPECT_EQ(largeCount->profile->strengthPercent, 1);
    EXPECT_EQ(largeCount->profile->coreTopPercent, 4);

    const auto unknownTag = ParseThermalLine(Basic(",3,4,100,50,10,90"));
    ASSERT_TRUE(unknownTag);
    EXPECT_FALSE(unknownTag->cumulus);
    EXPECT_FALSE(unknownTag->profile);
}

TEST(ThermalLineRead, PositionsAreDecimalOtherValuesIntegers) {
    const auto decimal = ParseThermalLine("4712345.9,812345,4,0,1500,300,270,5,1,450,1800,800,2");
    ASSERT_TRUE(decimal);
    EXPECT_DOUBLE_EQ(decimal->lat, 47.123459);

    EXPECT_FALSE(ParseThermalLine("4712345,812345,1.5,0,1500,300,270,5,1,450,1800,800,2"));
    EXPECT_FALSE(ParseThermalLine(Basic(",1.5,4,100,50,10,90")));
    EXPECT_FALSE(ParseThermalLine(Basic(",2,4,100,50.5,10,90")));
}

TEST(ThermalLineRead, MalformedValuesFail) {
    // Letters and spaces only separate numbers; a run that is no number fails.
    EXPECT_TRUE(ParseThermalLine("4725000 x 800000;4,0,1500,300,270,5,1,450,1800,800,2"));
    EXPECT_FALSE(ParseThermalLine("4725000,800000,4,0,15-00,300,270,5,1,450,1800,800,2"));
    EXPECT_FALSE(ParseThermalLine("4725000,8.0.0,4,0,1500,300,270,5,1,450,1800,800,2"));
    EXPECT_FALSE(ParseThermalLine("4725000,800000,4,0,1500,300,270,5,1,450,1800,800,,"));
    EXPECT_FALSE(ParseThermalLine(Basic(",,")));
    // A single character after the last value counts as the end of the line.
    EXPECT_TRUE(ParseThermalLine(Basic(",")));
    EXPECT_FALSE(ParseThermalLine("4725000,800000,4,0,1500,300,99999999999,5,1,450,1800,800,2"));
}

TEST(ThermalLineRead, LineEndingBeforeItsValuesFails) {
    // A used-up line would only supply "-1" values: a cut-off line is refused instead.
    EXPECT_FALSE(ParseThermalLine("4725000,800000,4,0,1500,300,270,5,1,450,1800,800"));
    EXPECT_FALSE(ParseThermalLine(Basic(",1,7,-1,-1,0")));
    EXPECT_FALSE(ParseThermalLine(Basic(",2,4,100,50")));
    // A line that ends at a tag or a count has no further section.
    EXPECT_TRUE(ParseThermalLine(Basic(",1")));
    EXPECT_TRUE(ParseThermalLine(Basic(",1,7,-1,-1,0,-0.5,-1,-1,450")));
}

TEST(ThermalLineWrite, BothFormsAsTheyAreRead) {
    for (const char* line : {kBasic, kFull}) {
        const auto t = ParseThermalLine(line);
        ASSERT_TRUE(t);
        std::string out;
        AppendThermalLine(out, *t, t->cumulus.has_value());
        EXPECT_EQ(out, std::string(line) + "\r\n");
    }
}

TEST(ThermalLineWrite, SaveAllWritesConstructionValuesForMissingSections) {
    std::string out;
    AppendThermalLine(out, *ParseThermalLine(kBasic), true);
    EXPECT_EQ(out, std::string(kBasic) + ",1,7,-1,-1,0,-0.5,-1,-1,450,2,4,0,0,0,0\r\n");
}

TEST(ThermalLineWrite, ExtremeValuesStayInRange) {
    ThermalLine t;
    t.lat = 1e300;
    t.lon = -1e300;
    t.cloudRadius = 2'000'000'000;
    std::string out;
    AppendThermalLine(out, t, false);
    EXPECT_EQ(out, "2147483647,-2147483648,0,0,0,0,0,0,0,0,0,2147483647,0\r\n");
}

} // namespace
