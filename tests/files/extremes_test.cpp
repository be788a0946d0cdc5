// Values at the far ends of the number range, as a hand-edited or foreign file can hold
// them: what is read must survive a save and a load, and what cannot be is bad data.

#include "files/thermalline.h"
#include "files/waypointline.h"

#include <string>

#include <gtest/gtest.h>

namespace {

std::string Written(const ThermalLine& thermal) {
    std::string out;
    AppendThermalLine(out, thermal, true);
    return out.substr(0, out.size() - 2); // without CR LF, as a reader sees the line
}

TEST(ThermalLineExtremes, TinyAndHugeFloatsAreWrittenWithoutExponent) {
    ThermalLine t;
    t.cumulus = CumulusSection{0.00001f, -1.5e20f, 3, 5e-40f, 7, 8, 450};
    t.profile = ProfileSection{100, 50, 10, 90};
    const std::string line = Written(t);
    EXPECT_EQ(line.find('E'), std::string::npos) << line;

    const auto read = ParseThermalLine(line);
    ASSERT_TRUE(read) << line;
    ASSERT_TRUE(read->cumulus);
    EXPECT_EQ(read->cumulus->hs, 0.00001f);
    EXPECT_EQ(read->cumulus->vs, -1.5e20f);
    EXPECT_EQ(read->cumulus->cloud, 5e-40f);
    EXPECT_EQ(read->cumulus->start, 7);
    EXPECT_EQ(read->cumulus->groundHeight, 450);
    ASSERT_TRUE(read->profile);
    EXPECT_EQ(read->profile->coreTopPercent, 90);
    EXPECT_EQ(Written(*read), line);
}

// Found by the thermal-line fuzz target: a 20-digit cumulus value used to be written as
// -1.11111114559555E19, which read back as two numbers and lost the profile section.
TEST(ThermalLineExtremes, LongValueFromAFileSavesAndLoadsWhole) {
    const auto read = ParseThermalLine("4656143,46927,4,0,1800,800,270,5,1,687,1700,1400,2,1,7,-1,"
                                       "-11111111111111111111,0,1,-1,-1,687,2,4,130,50,20,85");
    ASSERT_TRUE(read);
    const auto again = ParseThermalLine(Written(*read));
    ASSERT_TRUE(again);
    ASSERT_TRUE(again->cumulus);
    EXPECT_EQ(again->cumulus->vs, read->cumulus->vs);
    EXPECT_EQ(again->cumulus->cloud, 1.0f);
    ASSERT_TRUE(again->profile);
    EXPECT_EQ(again->profile->strengthPercent, 130);
    EXPECT_EQ(again->profile->coreTopPercent, 85);
}

// A value no float can hold would be written back as "INF", which is no number.
TEST(ThermalLineExtremes, CumulusValueBeyondTheFloatRangeIsBadData) {
    const std::string huge = "1" + std::string(40, '0');
    EXPECT_FALSE(ParseThermalLine("4725000,800000,4,0,1500,300,270,5,1,450,1800,800,2,1,7," + huge +
                                  ",-1,0,-0.5,-1,-1,450"));
    EXPECT_TRUE(ParseThermalLine("4725000,800000,4,0,1500,300,270,5,1,450,1800,800,2,1,7,"
                                 "340282346638528859811704183484516925440,-1,0,-0.5,-1,-1,450"));
}

// Found by the waypoint-line fuzz target: degrees and minutes that are each a number but
// add up beyond every double gave an infinite latitude, written back as "nan" minutes.
TEST(WaypointLineExtremes, PositionBeyondEveryNumberIsBadData) {
    const std::string huge = "179" + std::string(306, '0');
    EXPECT_FALSE(ParseWaypointLine("1," + huge + ":" + huge + "N,8:15.250E,0M,T,A,B"));
    EXPECT_FALSE(ParseWaypointLine("1,47:30.500N," + huge + ":" + huge + "E,0M,T,A,B"));
    EXPECT_TRUE(ParseWaypointLine("1," + huge + ":30.500N,8:15.250E,0M,T,A,B"));
}

} // namespace
