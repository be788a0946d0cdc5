#include "codecs/waypointimport.h"
#include "dialogs/mapedgesdialog.h"
#include "geo/numbertext.h"
#include "io/georeference.h"
#include "io/gpxfile.h"
#include "qtfixtures.h"

#include <optional>

#include <QImage>
#include <QSignalSpy>

namespace {

// A 200 x 100 picture over 7E-8E, 46N-46.5N, as the worked example.
const char* kPlainWorld = "0.005\n0\n0\n-0.005\n7.0025\n46.4975\n";

struct PlaceRow {
    const char* name;
    const char* fixture;   // a picture under tests/data/map, copied as the picture; null: none
    const char* picture;   // map.tif, map.tiff or map.pgw
    const char* worldFile; // written with kPlainWorld beside the picture when not null
    std::string found;     // the edges, "asked" when the dialog was asked, or the message
};
struct Placing : InFolder, ::testing::WithParamInterface<PlaceRow> {};
TEST_P(Placing, WorldFileThenGeoTiffThenDialog) {
    const PlaceRow& row = GetParam();
    if (row.fixture)
        copy(row.fixture, row.picture);
    if (row.worldFile)
        WriteAll(path(row.worldFile), kPlainWorld);
    std::string found;
    const auto edges = FindMapEdges(path(row.picture), [&] {
        found = "asked";
        return std::nullopt;
    });
    if (edges)
        found = NumberText(edges->north) + " " + NumberText(edges->south) + " " +
                NumberText(edges->west) + " " + NumberText(edges->east);
    for (const std::string& message : rec.messages())
        found += message;
    EXPECT_NE(found.find(row.found), std::string::npos) << found;
}
INSTANTIATE_TEST_SUITE_P(
    Pictures, Placing,
    ::testing::Values(
        PlaceRow{"WorldFileBeforeTags", "map/projected.tif", "map.tif", "map.WLD", "46.5 46 7 8"},
        PlaceRow{"GeographicTags", "map/geographic.tif", "map.tif", nullptr, "46.5 46 7 8"},
        PlaceRow{"LongSuffix", "map/geographic.tif", "map.tiff", nullptr, "46.5 46 7 8"},
        PlaceRow{"TiePointOnPixelCentre", "map/pixelispoint.tif", "map.tif", nullptr,
                 "46.5 46 7 8"},
        PlaceRow{"Matrix", "map/matrix.tif", "map.tif", nullptr, "46.5 46 7 8"},
        PlaceRow{"RotatedMatrix", "map/rotated.tif", "map.tif", nullptr,
                 "rotation terms 0.1 and 0"},
        PlaceRow{"ProjectedTags", "map/projected.tif", "map.tif", nullptr,
                 "File Error|The GeoTIFF is in a projected system (EPSG:32632)"},
        PlaceRow{"TiffWithoutTags", "map/untagged.tif", "map.tif", nullptr, "asked"},
        PlaceRow{"NotAPicture", nullptr, "map.pgw", "map.pgw", "File Error|Error with Map File"}),
    RowName);

TEST_F(InFolder, EdgesDialogKeepsAskingUntilAllFourAreRight) {
    MapEdgesDialog dialog;
    dialog.show();
    for (const auto& [edit, text] :
         {std::pair{"north", "N46*30'"}, {"south", "91"}, {"west", "W0*30'0\""}, {"east", "8"}})
        Retype(dialog, edit, QString::fromUtf8(text));
    Click(dialog, "ok");
    EXPECT_TRUE(dialog.isVisible() && !dialog.edges());
    Retype(dialog, "south", QStringLiteral("46:00.000N"));
    Click(dialog, "ok");
    EXPECT_EQ(rec.messages().size(), 1u); // its text is the degree reader's
    ASSERT_TRUE(dialog.edges() && dialog.result() == QDialog::Accepted);
    EXPECT_EQ(*dialog.edges(), (GeoBounds{46.5, 46.0, -0.5, 8.0}));
}

TEST_F(InFolder, NewProjectFromMapNamesItsPictureRelativeToTheSavedProject) {
    Document doc;
    doc.LoadProject(project("old.prj", kBasicLine), false);
    doc.AddWaypoint({46, 7}, "Old");
    doc.NewProjectFromMap(path("gone.png"), {46.5, 46, 7, 8});
    QImage(200, 100, QImage::Format_RGB32).save(path("a\nb.png")); // no header line holds it
    EXPECT_FALSE(doc.NewProjectFromMap(path("a\nb.png"), {46.5, 46, 7, 8}));
    EXPECT_EQ(doc.thermals().size(), 1U); // a picture that cannot be loaded changes nothing
    QImage(200, 100, QImage::Format_RGB32).save(path("alps.png"));
    doc.NewProjectFromMap(path("alps.png"), {46.5, 46, 7, 8});
    EXPECT_TRUE(doc.thermals().empty() && doc.waypoints().empty() && !doc.waypointsModified());
    EXPECT_TRUE(doc.projectModified() && doc.map().loaded());
    ASSERT_TRUE(QDir(dir.path()).mkpath("flights"));
    rec.files.push_back(path("flights/alps.prj").toStdString()); // it has no name yet
    doc.SaveProject(true);
    EXPECT_TRUE(ReadAll(path("flights/alps.prj")).startsWith("../alps.png\r\n46:30.000N\r\n"));
    doc.LoadProject(path("old.prj"), false); // a loaded project keeps its own header
    doc.SaveProjectTo(path("flights/old.prj"), true);
    EXPECT_TRUE(ReadAll(path("flights/old.prj")).startsWith("map.bmp\r\n"));
    EXPECT_EQ(rec.messages(), Strings(2, "File Error|Error with Map File"));
}

// Every waypoint as name|lat|lon|metres|text, then the problems.
std::string Outcome(const ImportedWaypoints& in) {
    std::string text;
    for (const auto& w : in.waypoints)
        text += w->tName + '|' + NumberText(w->lat) + '|' + NumberText(w->lon) + '|' +
                IntText(w->tGroundHeight) + '|' + w->tText + '\n';
    for (const std::string& problem : in.problems)
        text += problem + '\n';
    return text;
}

struct GpxRow {
    const char* name;
    const char* file;
    const char* outcome;
};
class GpxFiles : public ::testing::TestWithParam<GpxRow> {};
TEST_P(GpxFiles, WaypointsReadOrReportedWithTheirLine) {
    EXPECT_EQ(Outcome(ReadGpxFile(GetParam().file)), GetParam().outcome);
}
INSTANTIATE_TEST_SUITE_P(
    Files, GpxFiles,
    ::testing::Values(
        GpxRow{"Gpx11",
               "<?xml version=\"1.0\"?>\n<gpx xmlns=\"http://www.topografix.com/GPX/1/1\">\n"
               "<metadata><name>M</name></metadata>\n<wpt lat=\"46.5\" lon=\"-7.25\">"
               "<ele>1234.9</ele><name> Ridge,\n north </name><extensions><name>X</name>"
               "</extensions><desc>a, b</desc></wpt>\n<rte><rtept lat=\"1\" lon=\"1\"/></rte>\n"
               "<wpt lat=\"-90\" lon=\"180\"/>\n</gpx>",
               "Ridge north|46.5|-7.25|1234|a b\n|-90|180|0|\n"},
        GpxRow{"BadWaypointsPassedOver",
               "<gpx version=\"1.0\">\n<wpt lat=\"90.1\" lon=\"0\"/>\n<wpt lat=\"1\"/>\n"
               "<wpt lat=\"1\" lon=\"2\"><ele>high</ele></wpt>\n<wpt lat=\"3\" lon=\"4\"/></gpx>",
               "|3|4|0|\nline 2: a waypoint without a latitude and longitude in degrees\n"
               "line 3: a waypoint without a latitude and longitude in degrees\n"
               "line 4: an elevation that is not a number of metres\n"},
        GpxRow{"BrokenXml", "<gpx>\n<wpt lat=\"1\" lon=\"2\"/>\n<wpt lat=\"3\" lon=\"4\">\n</gpx>",
               "|1|2|0|\nline 4: Opening and ending tag mismatch.\n"}),
    RowName);

TEST_F(InFolder, ImportedWaypointsJoinTheListAsIfAddedOneByOne) {
    Document doc;
    doc.AddWaypoint({46, 7}, "Home").SetID(41);
    doc.SaveWaypointsTo(path("home.dat"));
    QSignalSpy added(&doc, &Document::waypointsAdded);
    WriteAll(path("walk.gpx"),
             "<gpx>\n<wpt lat=\"1\" lon=\"2\"><name>A</name></wpt>\n<wpt/>\n</gpx>");
    WriteAll(path("notes.txt"), "1,47:30.500N,8:15.250E,0M,T,Waypoint 1,Waypoint 1\n");
    for (const QString& file : {DataFile("files/xcsoar_waypoints.cup"), path("walk.gpx"),
                                path("notes.txt"), DataFile("files/hemispheres.dat")})
        doc.ImportWaypoints(file);
    ASSERT_EQ(added.size(), 3);
    for (const std::size_t first : {1, 6, 7}) // the .cup's five places, the .gpx's one
        EXPECT_EQ(added.takeFirst()[0].value<std::size_t>(), first);
    ASSERT_EQ(doc.waypoints().size(), 12U);
    for (std::size_t i = 0; i < doc.waypoints().size(); ++i)
        EXPECT_EQ(doc.waypoints()[i]->tID, 41 + static_cast<int>(i));
    EXPECT_TRUE(doc.waypointsModified());
    EXPECT_EQ(rec.messages(),
              (Strings{"File Error|1 line could not be read and was passed over:\n"
                       "line 3: a waypoint without a latitude and longitude in degrees",
                       "File Error|waypoints are imported from SeeYou (.cup), GPX "
                       "(.gpx) and waypoint (.dat) files."}));
}

TEST_F(MainWindow, NewProjectFromAMapThroughTheMenuEnablesSaveAndImport) {
    QImage(200, 100, QImage::Format_RGB32).save(path("map.png"));
    WriteAll(path("map.pgw"), kPlainWorld);
    // The title named the waypoint file before; the new project has none.
    loadProject(project("alps.prj"));
    rec.files = {copy("files/utf8.dat", "route.dat").toStdString(), path("map.png").toStdString()};
    run(Command::LoadDat1);
    ASSERT_TRUE(form->windowTitle().endsWith("route.dat"));
    run(Command::NewProjectFromMap);
    EXPECT_NEAR(doc().map().frame().edges.east, 8, 1e-9);
    EXPECT_TRUE(enabled(Command::SaveProject) && enabled(Command::ImportWaypoints));
    EXPECT_EQ(form->windowTitle(), TMainForm::BaseCaption() + "new project on map.png *");
}

} // namespace
