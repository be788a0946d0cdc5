// Saves that a full file system cuts short: the previous files stay whole, the messages
// show, and the unsaved changes stay marked. A small tmpfs of the test's own is filled;
// mounting it needs root, so elsewhere the test is skipped.

#include "builders.h"
#include "document/document.h"
#include "programrun.h"
#include "recordingprompts.h"

#include <cerrno>
#include <cstring>
#include <memory>
#include <string>
#include <sys/mount.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(SaveOnFullDisk, KeepsThePreviousFilesAndTheChanges) {
    QTemporaryDir dir;
    const QByteArray mountPoint = QFile::encodeName(dir.path());
    if (::mount("tmpfs", mountPoint.constData(), "tmpfs", 0, "size=64k,mode=0700") != 0)
        GTEST_SKIP() << "cannot mount a small tmpfs (needs root): " << std::strerror(errno);
    const std::unique_ptr<const char, void (*)(const char*)> unmount(
        mountPoint.constData(), [](const char* point) { ::umount2(point, MNT_DETACH); });
    const QStringList files{"example.prj", "map.bmp", "utf8.dat"};
    for (const QString& name : files)
        ASSERT_TRUE(QFile::copy(BREVAN_TEST_DATA "/files/" + name, dir.filePath(name)));
    const QByteArray project = ReadBytes(dir.filePath("example.prj"));
    const QByteArray waypoints = ReadBytes(dir.filePath("utf8.dat"));
    RecordingPrompts prompts;
    Document document;
    document.LoadProject(dir.filePath("example.prj"), false);
    document.LoadWaypoints(dir.filePath("utf8.dat"));
    // Far more than the 64 KiB: about a hundred bytes a line in each file.
    for (int i = 0; i < 3000; ++i) {
        document.AddThermal({47.2 + i * 1e-5, 8.0}, WindowDefaults());
        document.AddWaypoint({47.2, 8.0 + i * 1e-5}, "Waypoint " + std::to_string(i));
    }
    document.SaveProject(true);
    document.SaveWaypoints();
    EXPECT_TRUE(ReadBytes(dir.filePath("example.prj")) == project &&
                ReadBytes(dir.filePath("utf8.dat")) == waypoints);
    EXPECT_EQ(prompts.messages(), (std::vector<std::string>{"File Error|Error with Project File",
                                                            "File Error|Error with Dat File"}));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), files);
    EXPECT_TRUE(document.projectModified() && document.waypointsModified());
}

} // namespace
