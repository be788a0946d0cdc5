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
    const char* worldFile; // maps/alps.pgw; null: none
    const char* error;     // standard error; the exit code is 1 with one, else 0
};
class NewProjectRun : public ::testing::TestWithParam<NewProjectRow> {};

TEST_P(NewProjectRun, WritesAProjectThatLoadsWithTheMapInPlace) {
    const NewProjectRow& row = GetParam();
    ProgramCopy program;
    ASSERT_TRUE(QDir(program.Path(".")).mkpath("maps") &&
                QDir(program.Path(".")).mkpath("flights"));
    ASSERT_TRUE(QImage(200, 100, QImage::Format_RGB32).save(program.Path("maps/alps.png")));
    ASSERT_TRUE(!row.worldFile || WriteBytes(program.Path("maps/alps.pgw"), row.worldFile));
    program.NoDisplay();

    program.Start(QStringList{"--new-project", "maps/alps.png"} + row.bounds +
                  QStringList{"flights/alps.prj"});
    EXPECT_EQ(program.Finish(), *row.error ? 1 : 0);
    EXPECT_EQ(QString::fromUtf8(program.process.readAllStandardError()).trimmed(),
              QLatin1String(row.error));
    RecordingPrompts rec;
    Document document;
    document.LoadProject(program.Path("flights/alps.prj"), false);
    if (*row.error) {
        EXPECT_EQ(rec.messages(),
                  std::vector<std::string>{"File Error|Error opening Project File"});
        return;
    }
    EXPECT_TRUE(rec.messages().empty());
    const MapFrame& f = document.map().frame();
    for (const auto& [got, want] :
         {std::pair{f.latTop, 46.5}, {f.latBottom, 46.0}, {f.lonLeft, 7.0}, {f.lonRight, 8.0}})
        EXPECT_NEAR(got, want, 1.0 / 60000); // a thousandth of a minute
}

INSTANTIATE_TEST_SUITE_P(
    Maps, NewProjectRun,
    ::testing::Values(
        NewProjectRow{"BoundsBeforeWorldFile",
                      {"--bounds", "N46*30',46:00.000N,7,E8*0'0\""},
                      "1 0 0 -1 0 0",
                      ""},
        NewProjectRow{"WorldFile", {}, "0.005\n0\n0\n-0.005\n7.0025\n46.4975\n", ""},
        NewProjectRow{"NoWorldFile",
                      {},
                      nullptr,
                      "Error: The map has no world file and no GeoTIFF tags: give its edges with "
                      "--bounds N,S,W,E"},
        NewProjectRow{"ThreeEdges",
                      {"--bounds", "46.5,46,7"},
                      "1 0 0 -1 0 0",
                      "Error: --bounds takes four edges, north,south,west,east: \"46.5,46,7\""},
        NewProjectRow{"NorthPastThePole",
                      {"--bounds", "91,46,7,8"},
                      nullptr,
                      "Error: The north edge \"91\" is no latitude: type it as 47.5, N47*30' or "
                      "N47*30'0\" (S for south)."}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
