// Saves that the file system refuses part-way: a folder that became read-only, a device
// that is full. The old file survives whole, the message shows, and the project keeps its
// name and its unsaved changes.

#include "files/dat.h"
#include "files/project.h"
#include "map/map.h"
#include "recordingprompts.h"
#include "scene/mapview.h"
#include "scratchmount.h"

#include <string>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString kHeader = "map.bmp\n47:30.000N\n47:00.000N\n7:30.000E\n8:30.000E\n";

QByteArray Bytes(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

class SaveFaultTest : public ::testing::Test {
protected:
    void AddThermals(int count) {
        for (int i = 0; i < count; ++i) {
            auto t = std::make_unique<TThermal>();
            t->lat = 47.25 + i * 1e-4;
            t->lon = 8.0;
            t->top = 1500;
            thermals.push_back(std::move(t));
        }
    }
    void AddWaypoints(int count) {
        for (int i = 0; i < count; ++i) {
            auto w = std::make_unique<TWaypoint>();
            w->tID = i;
            w->lat = 47.5;
            w->lon = 8.25;
            w->tName = QStringLiteral("Waypoint %1").arg(i);
            w->tText = w->tName;
            waypoints.push_back(std::move(w));
        }
    }
    // Saved once while the file system still takes it; the project then has changes again.
    QByteArray SaveOldProject(const QString& path) {
        project.header = kHeader;
        AddThermals(2);
        project.SaveTo(path, true);
        EXPECT_TRUE(rec.messages().isEmpty());
        project.modified = true;
        return Bytes(path);
    }
    QByteArray SaveOldDat(const QString& path) {
        AddWaypoints(2);
        dat.SaveTo(path);
        EXPECT_TRUE(rec.messages().isEmpty());
        dat.modified = true;
        return Bytes(path);
    }

    RecordingPrompts rec;
    Map map;
    MapView panel{map};
    ThermalList thermals;
    Project project{map, thermals};
    WaypointList waypoints;
    Dat dat{map, waypoints};
};

TEST_F(SaveFaultTest, ReadOnlyFolderKeepsTheOldProjectAndWaypoints) {
    ScratchMount mount(64 * 1024);
    if (!mount.Mounted())
        GTEST_SKIP() << mount.Why();
    const QString prj = mount.Path("flight.prj");
    const QString wpt = mount.Path("flight.dat");
    const QByteArray oldProject = SaveOldProject(prj);
    const QByteArray oldDat = SaveOldDat(wpt);
    AddThermals(5);
    AddWaypoints(5);
    ASSERT_TRUE(mount.MakeReadOnly()) << mount.Why();

    project.Save(true);
    dat.Save();
    project.SaveTo(mount.Path("other.prj"), false);
    EXPECT_EQ(rec.messages(),
              (QStringList{"File Error|Error with Project File", "File Error|Error with Dat File",
                           "File Error|Error with Project File"}));
    EXPECT_EQ(Bytes(prj), oldProject);
    EXPECT_EQ(Bytes(wpt), oldDat);
    EXPECT_FALSE(QFile::exists(mount.Path("other.prj")));
    EXPECT_TRUE(project.modified);
    EXPECT_TRUE(dat.modified);
    EXPECT_EQ(project.fileName, "flight.prj");
    EXPECT_EQ(dat.fileName, "flight.dat");
}

TEST_F(SaveFaultTest, FullDeviceKeepsTheOldProjectAndLeavesNoPartialFile) {
    ScratchMount mount(64 * 1024);
    if (!mount.Mounted())
        GTEST_SKIP() << mount.Why();
    const QString prj = mount.Path("flight.prj");
    const QByteArray oldProject = SaveOldProject(prj);
    // About 60 bytes a line without the sections: far more than the device holds.
    AddThermals(5000);

    project.Save(false);
    EXPECT_EQ(rec.messages(), QStringList{"File Error|Error with Project File"});
    EXPECT_EQ(Bytes(prj), oldProject);
    EXPECT_EQ(QDir(mount.Path(".")).entryList(QDir::Files | QDir::Hidden),
              QStringList{"flight.prj"});
    EXPECT_TRUE(project.modified);

    // With the room back, the same save goes through.
    thermals.resize(3);
    rec.clear();
    project.Save(false);
    EXPECT_TRUE(rec.messages().isEmpty());
    EXPECT_FALSE(project.modified);
    EXPECT_NE(Bytes(prj), oldProject);
}

TEST_F(SaveFaultTest, FullDeviceKeepsTheOldWaypoints) {
    ScratchMount mount(64 * 1024);
    if (!mount.Mounted())
        GTEST_SKIP() << mount.Why();
    const QString wpt = mount.Path("flight.dat");
    const QByteArray oldDat = SaveOldDat(wpt);
    AddWaypoints(5000);

    dat.Save();
    EXPECT_EQ(rec.messages(), QStringList{"File Error|Error with Dat File"});
    EXPECT_EQ(Bytes(wpt), oldDat);
    EXPECT_EQ(QDir(mount.Path(".")).entryList(QDir::Files | QDir::Hidden),
              QStringList{"flight.dat"});
    EXPECT_TRUE(dat.modified);
}

// A file name that names the full device itself, as /dev/full does: the save fails and
// the device stays a device (a copy of it, so the system's own is never at stake).
TEST_F(SaveFaultTest, SaveOntoTheFullDeviceFailsAndKeepsIt) {
    QTemporaryDir dir;
    const QString full = dir.filePath("full");
    if (::mknod(QFile::encodeName(full).constData(), S_IFCHR | 0666, makedev(1, 7)) != 0)
        GTEST_SKIP() << "cannot make a device node here (needs root)";
    project.header = kHeader;
    AddThermals(3);
    AddWaypoints(3);

    project.SaveTo(full, true);
    dat.SaveTo(full);
    EXPECT_EQ(rec.messages(), (QStringList{"File Error|Error with Project File",
                                           "File Error|Error with Dat File"}));
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(full).constData(), &info), 0);
    EXPECT_TRUE(S_ISCHR(info.st_mode));
    EXPECT_TRUE(project.fileName.isEmpty());
}

} // namespace
