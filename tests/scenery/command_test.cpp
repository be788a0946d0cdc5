#include "scenery/command.h"
#include "standintools.h"

#include <QFile>

namespace {

TEST(BaseName, CutsFromTheLastDot) {
    EXPECT_EQ(BaseName("alps.prj"), "alps");
    EXPECT_EQ(BaseName("alps"), "alps");
    EXPECT_EQ(BaseName("my.alps.prj"), "my.alps");
    EXPECT_EQ(BaseName(""), "");
    EXPECT_EQ(BaseName(".prj"), "");
}

TEST(ThermalBounds, SmallestAndLargestOverAllThermals) {
    ThermalList thermals;
    for (const auto& [lat, lon] : {std::pair{46.1, 7.2}, {46.9, 7.0}, {46.5, 7.9}}) {
        auto& t = *thermals.emplace_back(std::make_unique<TThermal>());
        t.SetLat(lat);
        t.SetLon(lon);
    }
    double minLat = 0, minLon = 0, maxLat = 0, maxLon = 0;
    ASSERT_TRUE(ThermalBounds(thermals, minLat, minLon, maxLat, maxLon));
    EXPECT_EQ(minLat, 46.1);
    EXPECT_EQ(minLon, 7.0);
    EXPECT_EQ(maxLat, 46.9);
    EXPECT_EQ(maxLon, 7.9);
}

TEST(ThermalBounds, EmptyListHasNone) {
    const ThermalList thermals;
    double minLat = 5, minLon = 5, maxLat = 5, maxLon = 5;
    EXPECT_FALSE(ThermalBounds(thermals, minLat, minLon, maxLat, maxLon));
    EXPECT_EQ(minLat, 5);
}

using SceneryCommand = SceneryTest;

TEST_F(SceneryCommand, ThermikFromTheProjectFileName) {
    AddThermal(-1.15, -1.15);
    AddThermal(-1.0, -1.15);
    EXPECT_TRUE(GenerateScenery(SceneryKind::thermik, tools, thermals, "west.prj"));
    EXPECT_TRUE(Output("west.sca").startsWith("Header( 1 -0.8 -1.35 -0.95 -1.35 )\r\r\n"));
    EXPECT_EQ(Arguments("scasm"), (QStringList{"west.sca", "west.bgl"}));
}

TEST_F(SceneryCommand, CumulusFromANeverSavedProject) {
    AddThermal(8.7, 8.7);
    EXPECT_TRUE(GenerateScenery(SceneryKind::cumulus, tools, thermals, ""));
    EXPECT_EQ(Output("_cu.cms"), "_cu\r\r\n8 41 59 8 41 59 \r\r\nP\r\r\n"
                                 "8 41 59 8 41 59 0 -1 -1 0 -0.5 -1 -1\r\n");
}

TEST_F(SceneryCommand, EmptyListWritesNothing) {
    EXPECT_FALSE(GenerateScenery(SceneryKind::thermik, tools, thermals, "alps.prj"));
    EXPECT_FALSE(GenerateScenery(SceneryKind::cumulus, tools, thermals, "alps.prj"));
    EXPECT_EQ(rec.messages().size(), 2);
    EXPECT_FALSE(QFile::exists(work + "/alps.sca"));
    EXPECT_FALSE(QFile::exists(work + "/alps_cu.cms"));
}

} // namespace
