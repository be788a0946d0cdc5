// File names that lead to something other than a plain file: a pipe, a device. Loading
// must not wait for a writer or read for ever, and saving must not replace the thing that
// stands under the name.

#include "files/dat.h"
#include "files/project.h"
#include "filetestsupport.h"

#include <chrono>
#include <future>
#include <sys/stat.h>

#include <QFile>

namespace {

using namespace std::chrono_literals;

class SpecialFileTest : public FileTest {
protected:
    QString Fifo() {
        const QString path = Scratch("pipe");
        EXPECT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        return path;
    }
    static bool IsFifo(const QString& path) {
        struct stat info {};
        return ::stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISFIFO(info.st_mode);
    }
    // Runs the load on a thread of its own, so that a load that waits for a writer fails
    // the test instead of hanging it: the pipe is then opened for writing and closed,
    // which lets the load see the end of the data.
    template <typename Load> void LoadsWithoutWaiting(const QString& fifo, Load load) {
        auto done = std::async(std::launch::async, load);
        if (done.wait_for(5s) != std::future_status::ready) {
            ADD_FAILURE() << "the load waits for a writer";
            QFile(fifo).open(QIODevice::WriteOnly);
        }
        done.get();
    }

    ThermalList thermals;
    Project project{map, thermals};
    WaypointList waypoints;
    Dat dat{map, waypoints};
};

TEST_F(SpecialFileTest, ProjectFromAPipeIsAFileThatCannotBeOpened) {
    const QString fifo = Fifo();
    LoadsWithoutWaiting(fifo, [&] { project.Load(fifo, panel, false); });
    EXPECT_EQ(rec.messages(), QStringList{"File Error|Error opening Project File"});
    EXPECT_TRUE(project.fileName.isEmpty());
}

TEST_F(SpecialFileTest, WaypointsFromAPipeAreAFileThatCannotBeOpened) {
    const QString fifo = Fifo();
    LoadsWithoutWaiting(fifo, [&] { dat.Load(fifo, panel); });
    EXPECT_EQ(rec.messages(), QStringList{"File Error|Error with Dat File"});
    EXPECT_TRUE(dat.fileName.isEmpty());
}

TEST_F(SpecialFileTest, EndlessDeviceIsNotRead) {
    if (!QFile::exists("/dev/zero"))
        GTEST_SKIP() << "no /dev/zero here";
    project.Load("/dev/zero", panel, false);
    dat.Load("/dev/zero", panel);
    EXPECT_EQ(rec.messages(), (QStringList{"File Error|Error opening Project File",
                                           "File Error|Error with Dat File"}));
}

TEST_F(SpecialFileTest, SaveOntoAPipeFailsAndLeavesThePipe) {
    const QString fifo = Fifo();
    project.header = "map.bmp\n47:30.000N\n47:00.000N\n7:30.000E\n8:30.000E\n";
    project.modified = true;
    project.SaveTo(fifo, true);
    dat.SaveTo(fifo);
    EXPECT_EQ(rec.messages(), (QStringList{"File Error|Error with Project File",
                                           "File Error|Error with Dat File"}));
    EXPECT_TRUE(IsFifo(fifo));
    EXPECT_TRUE(project.modified);
    EXPECT_TRUE(project.fileName.isEmpty());
    EXPECT_TRUE(dat.fileName.isEmpty());
}

} // namespace
