// A project names its map picture, and the name may lead to something that is no file.

#include "map/map.h"
#include "recordingprompts.h"

#include <chrono>
#include <future>
#include <sys/stat.h>

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

TEST(MapLoadSpecialFile, PipeIsRefusedWithoutWaitingForAWriter) {
    RecordingPrompts prompts;
    QTemporaryDir dir;
    const QString fifo = dir.filePath("map.bmp");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    Map map;
    // On a thread of its own, so that a load that waits fails the test instead of hanging
    // it: opening the pipe for writing then lets the load go on.
    auto done =
        std::async(std::launch::async, [&] { map.Load("map.bmp", dir.path(), 47, 46, 8, 10); });
    if (done.wait_for(5s) != std::future_status::ready) {
        ADD_FAILURE() << "the load waits for a writer";
        QFile(fifo).open(QIODevice::WriteOnly);
    }
    done.get();
    EXPECT_EQ(prompts.messages(), QStringList{"File Error|Error with Map File"});
    EXPECT_FALSE(map.loaded);
}

TEST(MapLoadSpecialFile, FolderIsRefused) {
    RecordingPrompts prompts;
    QTemporaryDir dir;
    Map map;
    map.Load(".", dir.path(), 47, 46, 8, 10);
    EXPECT_EQ(prompts.messages(), QStringList{"File Error|Error with Map File"});
    EXPECT_FALSE(map.loaded);
}

} // namespace
