// The document through real files: projects and waypoint files loaded, saved and refused.

#include "qtfixtures.h"

#include <chrono>
#include <future>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>

namespace {

using DocumentFiles = DocumentView;

const std::string kOpenError = "File Error|Error opening Project File";
const std::string kMapError = "File Error|Error with Map File";
const std::string kHeaderError = "File Error|Error reading Project File header";
const std::string kLineError = "File Error|Error reading thermal data from Project File map";
const std::string kDatError = "File Error|Error with Dat File";

TEST_F(DocumentFiles, LoadAndAddThenModifiedFlagsThroughEditsSavesAndFailures) {
    doc.LoadProject(project("alps.prj", Lines({kBasicLine, kFullLine})), false);
    // Another map that is not there and other edges: an add must not read them.
    WriteAll(path("more.prj"),
             "other.bmp\r\n10:00.000N\r\n9:00.000N\r\n1:00.000E\r\n2:00.000E\r\n" +
                 Lines({kOtherLine}));
    doc.LoadProject(path("more.prj"), true);
    EXPECT_TRUE(rec.entries.empty());
    EXPECT_EQ(doc.projectFileName(), "alps.prj");
    EXPECT_EQ(doc.map().frame().edges, (GeoBounds{47.5, 47.0, 7.5, 8.5}));
    ASSERT_EQ(doc.thermals().size(), 3u);
    EXPECT_EQ(doc.thermals()[2]->windDir, 90);

    // The modified flags follow edits, loads and saves, but not failures.
    const QString file = project("alps.prj");
    doc.LoadProject(file, false);
    Thermal& t = doc.AddThermal({47.2, 8.0}, WindowDefaults());
    // A failed save shows its message and changes no name, flag or file; no temporary file
    // is left behind.
    QDir(dir.path()).mkdir("dir.prj");
    // A folder that takes no new file; root writes anywhere but in the kernel's.
    const QString readOnly = ::geteuid() == 0 ? QStringLiteral("/sys/kernel") : path("locked");
    QDir(dir.path()).mkdir("locked");
    QFile::setPermissions(path("locked"), QFile::ReadOwner | QFile::ExeOwner);
    const QString targets[] = {path("dir.prj"), path("none/alps.prj"), readOnly + "/alps.prj"};
    for (const QString& target : targets)
        doc.SaveProjectTo(target, true);
    // Each message names the file and the reason.
    const std::string error = "File Error|Error with Project File\n\n";
    EXPECT_EQ(rec.detailed(),
              (Strings{error + targets[0].toStdString() + "\nis a folder",
                       error + targets[1].toStdString() + "\nNo such file or directory",
                       error + targets[2].toStdString() + "\nPermission denied"}));
    EXPECT_EQ(std::tuple(doc.projectFileName(), doc.projectModified()),
              std::tuple("alps.prj", true));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files, QDir::Name),
              QStringList({"alps.prj", "map.bmp", "more.prj"}));
    rec.clear();
    doc.SaveProject(true);
    EXPECT_FALSE(doc.projectModified());
    doc.SetThermalData(t, WindowDefaults()); // marked modified: an add keeps the mark
    doc.LoadProject(path("alps.prj"), true);
    EXPECT_TRUE(doc.projectModified());
    doc.LoadProject(path("alps.prj"), false);
    EXPECT_FALSE(doc.projectModified());

    Waypoint& w = doc.AddWaypoint({47.1, 8.1}, "Ridge");
    doc.SaveWaypointsTo(path("route.dat"));
    EXPECT_TRUE(doc.DeleteWaypoint(&w));
    QDir(dir.path()).mkdir("dir.dat");
    doc.SaveWaypointsTo(path("dir.dat"));
    doc.LoadWaypoints(path("missing.dat"));
    EXPECT_EQ(rec.messages(), Strings(2, kDatError));
    EXPECT_EQ(doc.waypointFileName(), "route.dat");
    EXPECT_TRUE(doc.waypointsModified());
    doc.SaveWaypoints();
    EXPECT_FALSE(doc.waypointsModified());
    EXPECT_EQ(ReadAll(path("route.dat")), "");
}

// The modified flags follow the history: undoing back to where a file was saved is no change;
// a step done after undoing past that point leaves the saved state out of reach.
TEST_F(DocumentFiles, ModifiedFollowsTheHistoryFromWhereEachFileWasSaved) {
    doc.LoadProject(project("alps.prj"), false);
    const auto flags = [this] {
        return std::pair(doc.projectModified(), doc.waypointsModified());
    };
    doc.AddThermal({47.2, 8.0}, WindowDefaults());
    doc.AddWaypoint({47.1, 8.1}, "Ridge");
    ASSERT_TRUE(doc.SaveProject(true));
    EXPECT_EQ(flags(), std::pair(false, true));
    doc.history().undo();
    EXPECT_EQ(flags(), std::pair(false, false));
    doc.history().undo();
    EXPECT_EQ(flags(), std::pair(true, false));
    doc.history().redo();
    EXPECT_EQ(flags(), std::pair(false, false));
    doc.history().undo();
    doc.AddThermal({47.3, 8.0}, WindowDefaults());
    doc.history().undo();
    EXPECT_EQ(flags(), std::pair(true, false));
}

struct LoadFailure {
    const char* name;
    const char* fixture; // the project under tests/data; null: no file
    const char* picture; // copied as map.bmp; null: none; "pipe": a pipe
    Strings messages;
    std::size_t thermals; // read
    bool mapLoaded;
};

const LoadFailure kLoadFailures[] = {
    {"MissingFile", nullptr, "files/map.bmp", {kOpenError}, 0, false},
    {"ShortHeader", "files/shortheader.prj", "files/map.bmp", {kHeaderError}, 0, true},
    {"MapMissing", "files/example.prj", nullptr, {kMapError}, 2, false},
    {"MapTooLarge", "files/example.prj", "map/huge.bmp", {kMapError}, 2, false},
    {"MapIsAPipe", "files/example.prj", "pipe", {kMapError}, 2, false}, // no wait for a writer
    {"MapBeforeBadLine", "files/badthermal.prj", nullptr, {kMapError, kLineError}, 1, false},
};

class ProjectLoadFailure : public DocumentView,
                           public ::testing::WithParamInterface<LoadFailure> {};

TEST_P(ProjectLoadFailure, ReportsInFileOrderAndKeepsWhatWasRead) {
    const auto& [name, fixture, picture, messages, thermals, mapLoaded] = GetParam();
    if (picture && std::string_view(picture) == "pipe")
        ASSERT_EQ(::mkfifo(QFile::encodeName(path("map.bmp")).constData(), 0600), 0);
    else if (picture)
        copy(picture, "map.bmp");
    doc.LoadProject(fixture ? copy(fixture, "alps.prj") : path("alps.prj"), false);
    EXPECT_EQ(rec.messages(), messages);
    EXPECT_EQ(std::tuple(doc.thermals().size(), view.glyphs().glyphs().size(), doc.map().loaded()),
              std::tuple(thermals, thermals, mapLoaded));
    EXPECT_EQ(doc.projectFileName(), fixture ? "alps.prj" : "");
}

INSTANTIATE_TEST_SUITE_P(Files, ProjectLoadFailure, ::testing::ValuesIn(kLoadFailures), RowName);

// A name that leads to something other than a plain file, made in the folder.
QString SpecialFile(const QString& folder, std::string_view kind) {
    const QString file = folder + "/special.prj";
    if (kind == "EndlessDevice")
        return QStringLiteral("/dev/zero");
    if (kind == "Directory")
        QDir(folder).mkdir("special.prj");
    EXPECT_TRUE(kind != "Fifo" || ::mkfifo(QFile::encodeName(file).constData(), 0600) == 0);
    if (kind == "BeyondAQuarterGigabyte") {
        QFile sparse(file);
        EXPECT_TRUE(sparse.open(QIODevice::WriteOnly) && sparse.resize((qint64{256} << 20) + 1));
    }
    return file;
}

class SpecialFiles : public DocumentView, public ::testing::WithParamInterface<const char*> {};

TEST_P(SpecialFiles, AreRefusedWithoutWaiting) {
    const QString file = SpecialFile(dir.path(), GetParam());
    // On a thread of its own, so that a load waiting for a writer fails the test instead of
    // hanging it; a writer that closes at once then lets the load go on.
    auto done = std::async(std::launch::async, [&] {
        doc.LoadProject(file, false);
        doc.LoadWaypoints(file);
    });
    if (done.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        ADD_FAILURE() << "the load waits";
        QFile(file).open(QIODevice::WriteOnly);
    }
    done.get();
    const bool large = GetParam() == std::string_view("BeyondAQuarterGigabyte");
    EXPECT_EQ(rec.messages(), (Strings{kOpenError + (large ? " 2" : ""), kDatError}));
    EXPECT_EQ(doc.projectFileName() + doc.waypointFileName(), "");
}

INSTANTIATE_TEST_SUITE_P(Names, SpecialFiles,
                         ::testing::Values("Directory", "Fifo", "EndlessDevice",
                                           "BeyondAQuarterGigabyte"),
                         [](const auto& info) { return std::string(info.param); });

} // namespace
