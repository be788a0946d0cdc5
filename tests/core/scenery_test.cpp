#include "builders.h"
#include "coretest.h"
#include "scenery/bounds.h"
#include "scenery/cumulus.h"
#include "scenery/thermik.h"

#include <climits>

namespace {

// The worked examples: one thermal of type 1 with a cloud, standing on 600 m.
ThermalList Example() {
    ThermalList list;
    list.push_back(NewThermal(
        46.5, 7.25, {1, 300, 1500, 400, 270, 5, true, 1600, 300, 2, 1.5f, 1.2f, 45, 0.5f, 10, 90}));
    list[0]->SetGroundHeight(600);
    return list;
}

TEST(ThermikSource, WorkedExample) {
    EXPECT_EQ(ThermikSource(Example(), 46.5, 7.25, 46.5, 7.25),
              "Header( 1 46.7 46.3 7.45 7.05 )\r\nLatRange( 46.3 46.7 )\r\n\r\n"
              "Macro( cloud_01.scm 46.5 7.25 0 1600 600  cld2.bmp )\r\n\r\n"
              "Macro( lift_01.scm 46.5 7.25 300 1500 400 270 5 )\r\n");
}

TEST(ThermikSource, TypeFourWithoutWindAndNoCloudLines) {
    ThermalList list = Thermals({{-0.2, -1.15}, {-0.2, -1.15}});
    list[0]->SetType(4);
    list[0]->SetCloud(false);
    list[1]->SetCloud(false);
    list[1]->type = 12; // the generator writes whatever the field holds
    EXPECT_EQ(ThermikSource(list, -0.2, -1.15, -0.2, -1.15),
              "Header( 1 0 -0.4 -0.95 -1.35 )\r\nLatRange( -0.4 0 )\r\n\r\n\r\n"
              "Macro( lift_04.scm -0.2 -1.15 0 1500 500 )\r\n"
              "Macro( lift_012.scm -0.2 -1.15 0 1500 500 270 30000 )\r\n");
    list[1]->SetCloud(true);
    list[1]->SetCloudRadius(INT_MAX);
    EXPECT_NE(ThermikSource(list, 0, 0, 0, 0)
                  .find("Macro( cloud_01.scm -0.2 -1.15 0 1500 4294967294  cld1.bmp )\r\n\r\n"),
              std::string::npos);
}

TEST(CumulusInput, WorkedExampleAndALineForEveryThermal) {
    EXPECT_EQ(CumulusInput(Example(), "alps", 46.5, 7.25, 46.5, 7.25),
              "alps_cu\r\n46 30 0 7 15 0 \r\nP\r\n"
              "46 30 0 7 15 0 2100 1.5 1.20000004768372 45 0.5 10 90\n");
    ThermalList list = Thermals({{46.0, 7.0}, {47.0, 8.0}});
    list[1]->SetCloud(false);
    list[1]->SetTop(INT_MAX);
    list[1]->SetGroundHeight(600);
    EXPECT_EQ(CumulusInput(list, "", 46.0, 7.0, 47.0, 8.0),
              "_cu\r\n46 30 0 7 30 0 \r\nP\r\n46 0 0 7 0 0 1500 -1 -1 0 -0.5 -1 -1\n"
              "47 0 0 8 0 0 2147484247 -1 -1 0 -0.5 -1 -1\n");
}

TEST(CumulusInput, AnglesAreTruncatedWithATrailingBlank) {
    const std::pair<double, const char*> angles[] = {
        {8.7, "8 41 59 "},  {-8.25, "-8 15 0 "}, {-10.855833333333333, "-10 51 20 "},
        {-0.5, "-0 30 0 "}, {-1, "-1 0 0 "},     {-0.0, "0 0 0 "}};
    for (const auto& [degrees, text] : angles)
        EXPECT_EQ(AngleText(degrees), text) << degrees;
}

TEST(ThermalBounds, SmallestAndLargestOfEach) {
    const ThermalBox box = ThermalBounds(Thermals({{46.1, 7.2}, {46.9, 7.0}, {46.5, 7.9}}));
    EXPECT_EQ(std::tuple(box.minLat, box.minLon, box.maxLat, box.maxLon),
              std::tuple(46.1, 7.0, 46.9, 7.9));
    const ThermalBox none = ThermalBounds({});
    EXPECT_EQ(std::tuple(none.minLat, none.minLon, none.maxLat, none.maxLon),
              std::tuple(0, 0, 0, 0));
}

TEST(BaseName, WithoutTheLastExtension) {
    EXPECT_EQ(BaseName("alps"), "alps");
    EXPECT_EQ(BaseName("my.alps.prj"), "my.alps");
}

} // namespace
