// The demo files: they load without a message, lie on their map, match the stand-in's
// terrain, and the demo flight visits every thermal.

#include "files/dat.h"
#include "files/project.h"
#include "geo/distance.h"
#include "map/map.h"
#include "options.h"
#include "recordingprompts.h"
#include "relief.h"
#include "scene/mapview.h"
#include "scene/thermal.h"
#include "scene/waypoint.h"
#include "terrain.h"

#include <fstream>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <QImage>

#include <gtest/gtest.h>

namespace {

const QString kDemoDir = QStringLiteral(BREVAN_DEMO_DIR);

class DemoTest : public ::testing::Test {
protected:
    DemoTest() { project.Load(kDemoDir + "/demo.prj", view, false); }

    bool OnMap(double lat, double lon) const {
        return lat < map.latTop && lat > map.latBottom && lon > map.lonLeft && lon < map.lonRight;
    }

    RecordingPrompts prompts;
    Map map;
    MapView view{map};
    ThermalList thermals;
    WaypointList waypoints;
    Project project{map, thermals};
    Dat dat{map, waypoints};
};

TEST_F(DemoTest, ProjectLoadsItsMapAndADozenThermalsOfEveryType) {
    EXPECT_TRUE(prompts.messages().isEmpty()) << prompts.messages().join('\n').toStdString();
    EXPECT_TRUE(map.loaded);
    EXPECT_GE(thermals.size(), 12u);
    std::set<int> types;
    std::size_t clouds = 0;
    for (const auto& t : thermals) {
        types.insert(t->type);
        clouds += t->cloud;
        EXPECT_TRUE(OnMap(t->lat, t->lon)) << t->lat << ", " << t->lon;
        EXPECT_EQ(t->tGroundHeight, static_cast<int>(TerrainElevation(t->lat, t->lon)))
            << t->lat << ", " << t->lon;
    }
    EXPECT_EQ(types, (std::set<int>{1, 2, 3, 4}));
    EXPECT_GT(clouds, 0u);
    EXPECT_LT(clouds, thermals.size());
}

TEST_F(DemoTest, MapPictureShowsTheStandInTerrain) {
    const QImage picture(kDemoDir + "/demo.bmp");
    ASSERT_FALSE(picture.isNull());
    const MapArea area{map.latTop, map.latBottom, map.lonLeft, map.lonRight};
    EXPECT_EQ(picture.height(), TrueHeight(area, picture.width()));
    const QImage terrain = RenderRelief(area, picture.width(), picture.height());
    EXPECT_TRUE(picture.convertToFormat(QImage::Format_RGB32) ==
                terrain.convertToFormat(QImage::Format_RGB32))
        << "the terrain changed: redraw the picture with scripts/make-demo";
}

TEST_F(DemoTest, WaypointsLoadOnTheMapAtTheirGroundHeight) {
    dat.Load(kDemoDir + "/demo.dat", view);
    EXPECT_TRUE(prompts.messages().isEmpty()) << prompts.messages().join('\n').toStdString();
    EXPECT_GE(waypoints.size(), 3u);
    for (const auto& w : waypoints) {
        EXPECT_TRUE(OnMap(w->lat, w->lon)) << w->tName.toStdString();
        // The file keeps positions to a thousandth of a minute, about 2 m.
        EXPECT_NEAR(w->tGroundHeight, TerrainElevation(w->lat, w->lon), 2.0)
            << w->tName.toStdString();
    }
}

TEST_F(DemoTest, FlightPassesThroughEveryThermal) {
    std::ifstream script(BREVAN_DEMO_DIR "/flight.txt");
    std::vector<ScriptStep> steps;
    std::string error;
    ASSERT_TRUE(ParseScript(script, steps, error)) << error;

    // The places the script puts the glider at: a lat step and a lon step at one time.
    std::vector<std::pair<double, double>> fixes;
    for (std::size_t i = 0; i + 1 < steps.size(); ++i)
        if (steps[i].key == "lat" && steps[i + 1].key == "lon" &&
            steps[i].time == steps[i + 1].time)
            fixes.emplace_back(std::stod(steps[i].value), std::stod(steps[i + 1].value));
    ASSERT_FALSE(fixes.empty());
    for (const auto& [lat, lon] : fixes)
        EXPECT_TRUE(OnMap(lat, lon)) << lat << ", " << lon;
    for (const auto& t : thermals) {
        const bool visited = std::any_of(fixes.begin(), fixes.end(), [&](const auto& fix) {
            return Distance(fix.first, fix.second, t->lat, t->lon) < 0.1;
        });
        EXPECT_TRUE(visited) << t->lat << ", " << t->lon;
    }
}

} // namespace
