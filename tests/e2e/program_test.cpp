// The program run as a script runs it, with no window system at all: the command line, the
// batch scenery runs `--thermik P.prj` and `--cumulus P.prj`, `--new-project MAP
// [--bounds N,S,W,E] OUT.prj` and a flight log's climbs, `--climbs LOG.igc`. Each run has a
// folder holding example.prj, headeronly.prj and map.bmp from the test data, the scenery
// tools (stand-ins that record what they were given and exit with the row's status), and
// three map pictures: maps/alps.png with a world file that places it, maps/wrong.png with
// one that places it elsewhere, maps/bare.png without.

#include "programrun.h"
#include "rowname.h"

#include <functional>

#include <QDir>
#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

namespace {

struct ScriptRow {
    const char* name;
    const char* arguments; // separated by spaces
    int exitCode;
    const char* said; // on standard output after a success, on standard error alone else
    std::function<void(const ProgramCopy&)> then = nullptr;
    int toolStatus = 0; // below 0: no tools in the folder
};

class ScriptRun : public ::testing::TestWithParam<ScriptRow> {};

TEST_P(ScriptRun, ExitsWithItsStatusAndSaysWhy) {
    const ScriptRow& row = GetParam();
    ProgramCopy program;
    for (const char* name : {"example.prj", "headeronly.prj", "badthermal.prj", "map.bmp"})
        ASSERT_TRUE(QFile::copy(QStringLiteral(BREVAN_TEST_DATA "/files/") + name,
                                program.Path(QLatin1String(name))));
    const QByteArray exit = "exit " + QByteArray::number(row.toolStatus) + "\n";
    for (const auto& [name, body] : {std::pair{"scasm", "printf '%s\\n' \"$@\" > scasm.args\n"},
                                     {"cumulus31", "cat > cumulus31.stdin\n"}}) {
        if (row.toolStatus < 0)
            break;
        ASSERT_TRUE(WriteBytes(program.Path(name), QByteArray("#!/bin/sh\n") + body + exit));
        ASSERT_TRUE(QFile::setPermissions(program.Path(name), QFile::ReadOwner | QFile::ExeOwner));
    }
    ASSERT_TRUE(QDir(program.Path(".")).mkpath("maps") && QDir(program.Path(".")).mkpath("new"));
    for (const QString name : {"alps", "wrong", "bare"})
        ASSERT_TRUE(
            QImage(200, 100, QImage::Format_RGB32).save(program.Path("maps/" + name + ".png")));
    ASSERT_TRUE(
        WriteBytes(program.Path("maps/alps.pgw"), "0.005\n0\n0\n-0.005\n7.0025\n46.4975\n"));
    ASSERT_TRUE(WriteBytes(program.Path("maps/wrong.pgw"), "1 0 0 -1 0 0"));
    program.NoDisplay();

    program.Start(QString::fromUtf8(row.arguments).split(' '));
    EXPECT_EQ(program.Finish(), row.exitCode);
    const QString out = QString::fromUtf8(program.Output());
    const QString err = QString::fromUtf8(program.Errors());
    EXPECT_TRUE((row.exitCode ? err : out).contains(QLatin1String(row.said)) &&
                (row.exitCode ? out : err).isEmpty())
        << out.toStdString() << err.toStdString();
    EXPECT_FALSE(QFile::exists(program.SettingsFile()));
    EXPECT_TRUE(!row.exitCode || !QFile::exists(program.Path("new/alps.prj")));
    if (row.then)
        row.then(program);
}

void ThermikRan(const ProgramCopy& program) {
    EXPECT_TRUE(ReadBytes(program.Path("example.sca")).startsWith("Header("));
    EXPECT_EQ(ReadBytes(program.Path("scasm.args")), "example.sca\nexample.bgl\n");
}

void CumulusRan(const ProgramCopy& program) {
    const QByteArray input = ReadBytes(program.Path("example_cu.cms"));
    EXPECT_TRUE(input.startsWith("example_cu\r")) << input.left(80).toStdString();
    EXPECT_EQ(ReadBytes(program.Path("cumulus31.stdin")), input);
}

void NoToolRan(const ProgramCopy& program) {
    EXPECT_FALSE(QFile::exists(program.Path("scasm.args")) ||
                 QFile::exists(program.Path("cumulus31.stdin")));
}

void ExampleUntouched(const ProgramCopy& program) {
    EXPECT_EQ(ReadBytes(program.Path("example.prj")),
              ReadBytes(QStringLiteral(BREVAN_TEST_DATA "/files/example.prj")));
}

// The new project's header places its picture where the edges say.
void MapInPlace(const ProgramCopy& program) {
    EXPECT_TRUE(ReadBytes(program.Path("new/alps.prj"))
                    .contains("\r\n46:30.000N\r\n46:00.000N\r\n7:00.000E\r\n8:00.000E\r\n"));
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, ScriptRun,
    ::testing::Values(
        ScriptRow{"Help", "--help", 0, "Usage: "},
        ScriptRow{"UnknownOption", "--bogus", 2, "Unknown option"},
        ScriptRow{"ThreeFiles", "a.prj b.dat c", 2, "Too many arguments: c\n"},
        ScriptRow{"BoundsAlone", "--bounds 1,2,3,4", 2, "--bounds belongs to"},
        ScriptRow{"NewProjectUnnamed", "--new-project m.png", 2, "Name one project"},
        ScriptRow{"ThermikToolSucceeds", "--thermik example.prj", 0, "", ThermikRan},
        ScriptRow{"CumulusToolSucceeds", "--cumulus example.prj", 0, "", CumulusRan},
        ScriptRow{"ThermikToolFails", "--thermik example.prj", 1, "", ThermikRan, 3},
        ScriptRow{"CumulusToolMissing", "--cumulus example.prj", 1, "Error Generating Thermals",
                  nullptr, -1},
        ScriptRow{"CumulusWithoutThermals", "--cumulus headeronly.prj", 1, "no thermals",
                  NoToolRan},
        // The thermals before the bad line still make scenery.
        ScriptRow{"ProjectNotReadWhole", "--thermik badthermal.prj", 1,
                  "File Error: Error reading thermal data from Project File map\n"},
        ScriptRow{"NewProjectNotSaved", "--new-project maps/alps.png nofolder/alps.prj", 1,
                  "File Error: Error with Project File\n"},
        ScriptRow{"FromGeoTiffQuietly",
                  "--new-project " BREVAN_TEST_DATA "/map/geographic.tif new/alps.prj", 0, "",
                  MapInPlace},
        ScriptRow{
            "BoundsBeforeWorldFile",
            "--new-project maps/wrong.png --bounds N46*30',46:00.000N,7,E8*0'0\" new/alps.prj", 0,
            "", MapInPlace},
        ScriptRow{"WithoutWorldFile", "--new-project maps/bare.png new/alps.prj", 1,
                  "Error: The map has no world file and no GeoTIFF tags: give its edges with "
                  "--bounds N,S,W,E\n"},
        // The header's end, then the first climb.
        ScriptRow{"ClimbsOfALog", "--climbs " BREVAN_TEST_DATA "/igc/napret.igc", 0,
                  "drift_speed_mps\n12:06:23,12:07:55,"},
        ScriptRow{"ClimbsOfAMissingLog", "--climbs gone.igc", 1,
                  "/gone.igc\nNo such file or directory\n"},
        ScriptRow{"NewProjectOverAProject", "--new-project maps/alps.png example.prj", 1,
                  "exists already", ExampleUntouched},
        ScriptRow{"NewProjectForcedOverAProject", "--new-project maps/alps.png --force example.prj",
                  0, "",
                  [](const ProgramCopy& program) {
                      EXPECT_TRUE(ReadBytes(program.Path("example.prj")).contains("46:30.000N"));
                  }},
        ScriptRow{"ThreeEdges", "--new-project maps/alps.png --bounds 46.5,46,7 new/alps.prj", 1,
                  "Error: --bounds takes four edges, north,south,west,east: \"46.5,46,7\"\n"}),
    RowName);

} // namespace
