// `brevan --new-project MAP [--bounds N,S,W,E] OUT.prj` as a script runs it: no window
// system; the project it writes loads with the map where the bounds say.

#include "document/document.h"
#include "programrun.h"
#include "recordingprompts.h"

#include <QDir>
#include <QImage>

#include <gtest/gtest.h>

namespace {

struct NewProjectRow {
    const char* name;
    QStringList bounds;    // between --new-project maps/alps.png and flights/alps.prj
    const char* worldFile; // maps/alps.pgw
    const char* error;     // standard error; the exit code is 1 with one, else 0
};
class NewProjectRun : public ::testing::TestWithParam<NewProjectRow> {};

TEST_P(NewProjectRun, WritesAProjectThatLoadsWithTheMapInPlace) {
    const NewProjectRow& row = GetParam();
    ProgramCopy program;
    ASSERT_TRUE(QDir(program.Path(".")).mkpath("maps") &&
                QDir(program.Path(".")).mkpath("flights"));
    ASSERT_TRUE(QImage(200, 100, QImage::Format_RGB32).save(program.Path("maps/alps.png")));
    ASSERT_TRUE(WriteBytes(program.Path("maps/alps.pgw"), row.worldFile));
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        program.environment.remove(QLatin1String(name));

    program.Start(QStringList{"--new-project", "maps/alps.png"} + row.bounds +
                  QStringList{"flights/alps.prj"});
    EXPECT_EQ(program.Finish(), *row.error ? 1 : 0);
    const QString error = QString::fromUtf8(program.process.readAllStandardError());
    EXPECT_EQ(error.trimmed(), QLatin1String(row.error));
    RecordingPrompts rec;
    Document document;
    document.LoadProject(program.Path("flights/alps.prj"), false);
    if (*row.error) {
        EXPECT_EQ(rec.messages(),
                  std::vector<std::string>{"File Error|Error opening Project File"});
        return;
    }
    EXPECT_TRUE(rec.messages().empty());
    EXPECT_EQ(document.map().mapFile(), "../maps/alps.png");
    const MapFrame& frame = document.map().frame();
    constexpr double kThousandthMinute = 1.0 / 60000;
    EXPECT_NEAR(frame.latTop, 46.5, kThousandthMinute);
    EXPECT_NEAR(frame.latBottom, 46, kThousandthMinute);
    EXPECT_NEAR(frame.lonLeft, 7, kThousandthMinute);
    EXPECT_NEAR(frame.lonRight, 8, kThousandthMinute);
}

INSTANTIATE_TEST_SUITE_P(
    Maps, NewProjectRun,
    ::testing::Values(
        NewProjectRow{"BoundsBeforeWorldFile",
                      {"--bounds", "N46*30',46:00.000N,7,E8*0'0\""},
                      "1 0 0 -1 0 0",
                      ""},
        NewProjectRow{"WorldFile", {}, "0.005\n0\n0\n-0.005\n7.0025\n46.4975\n", ""},
        NewProjectRow{"ProjectedWorldFile",
                      {},
                      "10 0 0 -10 500005 5199995",
                      "File Error: alps.pgw: In the world file, the upper-left corner lies at "
                      "500000, 5200000, which are not degrees of longitude and latitude: the map "
                      "is in a projected system. Export the map in plain latitude and longitude "
                      "(for example EPSG:4326)."},
        NewProjectRow{"ThreeEdges",
                      {"--bounds", "46.5,46,7"},
                      "",
                      "Error: --bounds takes four edges, north,south,west,east: \"46.5,46,7\""}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
