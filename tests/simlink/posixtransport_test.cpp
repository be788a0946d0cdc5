#include "fakeserver.h"
#include "simlink/fsuipclink.h"
#include "simlink/posixtransport.h"
#include "simlink/records.h"
#include "socketserver.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;
using Action = SocketServer::Action;

// Sets an environment variable for the life of the guard.
class EnvGuard {
public:
    EnvGuard(const char* name, const char* value)
        : name_(name) {
        if (const char* old = std::getenv(name))
            old_ = old;
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~EnvGuard() {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

class PosixLinkTest : public ::testing::Test {
protected:
    std::string dir = MakeDir();
    EnvGuard env{"BREVAN_IPC_DIR", dir.c_str()};
    FakeServer memory;
    std::uint32_t result = 99;

    ~PosixLinkTest() override { std::filesystem::remove_all(dir); }

    static std::string MakeDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "simlinkXXXXXX").string();
        return ::mkdtemp(pattern.data());
    }
    std::string Socket(const char* name) const { return dir + "/" + name; }
    static FsuipcLink MakeLink(LinkTiming timing = {}) {
        return FsuipcLink(std::make_unique<PosixTransport>(), timing);
    }
};

bool AreaExists(const std::string& name) {
    const int fd = ::shm_open(("/" + name).c_str(), O_RDONLY, 0);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

TEST(IpcDirectoryTest, FollowsTheEnvironmentInOrder) {
    {
        EnvGuard ipc("BREVAN_IPC_DIR", "/a");
        EnvGuard xdg("XDG_RUNTIME_DIR", "/b");
        EXPECT_EQ(posixipc::IpcDirectory(), "/a");
    }
    {
        EnvGuard ipc("BREVAN_IPC_DIR", "");
        EnvGuard xdg("XDG_RUNTIME_DIR", "/b");
        EXPECT_EQ(posixipc::IpcDirectory(), "/b");
    }
    {
        EnvGuard ipc("BREVAN_IPC_DIR", nullptr);
        EnvGuard xdg("XDG_RUNTIME_DIR", "");
        EXPECT_EQ(posixipc::IpcDirectory(), "/tmp");
    }
}

TEST_F(PosixLinkTest, NoSocketMeansNoServer) {
    FsuipcLink link = MakeLink();
    EXPECT_FALSE(link.Open(0, result));
    EXPECT_EQ(result, resultNoServer);
}

TEST_F(PosixLinkTest, FramesCarryLengthSequenceAndName) {
    SocketServer server(Socket("UIPCMAIN.sock"), memory);
    FsuipcLink link = MakeLink();
    ASSERT_TRUE(link.Open(0, result)) << ResultText(result);
    std::uint32_t version = 0;
    link.Read(0x3304, 4, &version, result);
    ASSERT_TRUE(link.Process(result)) << ResultText(result);
    EXPECT_EQ(version, 0x19980005u);

    const auto frames = server.Frames();
    ASSERT_EQ(frames.size(), 2u);
    const std::string name = link.AreaName();
    for (std::size_t i = 0; i < frames.size(); ++i) {
        ASSERT_EQ(frames[i].size(), 8 + name.size());
        EXPECT_EQ(records::LoadU32(frames[i].data()), 4 + name.size());
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(frames[i].data() + 8), name.size()),
                  name);
    }
    EXPECT_NE(records::LoadU32(frames[0].data() + 4), records::LoadU32(frames[1].data() + 4));
}

TEST_F(PosixLinkTest, AreaIsPrivateAndGoneAfterClose) {
    SocketServer server(Socket("UIPCMAIN.sock"), memory);
    FsuipcLink link = MakeLink();
    ASSERT_TRUE(link.Open(0, result));
    const int fd = ::shm_open(("/" + link.AreaName()).c_str(), O_RDONLY, 0);
    ASSERT_GE(fd, 0);
    struct stat status {};
    ASSERT_EQ(::fstat(fd, &status), 0);
    ::close(fd);
    EXPECT_EQ(status.st_mode & 0777, 0600u);
    EXPECT_EQ(status.st_size, records::areaSize);
    link.Close();
    EXPECT_FALSE(AreaExists(link.AreaName()));
}

TEST_F(PosixLinkTest, AreaNameInUseGivesFive) {
    SocketServer server(Socket("UIPCMAIN.sock"), memory);
    FsuipcLink link = MakeLink();
    ASSERT_TRUE(link.Open(0, result));
    link.Close();
    // The next Open takes the next number; someone already has that name.
    const std::string name = link.AreaName();
    const unsigned last = std::stoul(name.substr(name.rfind(':') + 1), nullptr, 16);
    char next[64];
    std::snprintf(next, sizeof next, "/%s%X", name.substr(0, name.rfind(':') + 1).c_str(),
                  last + 1);
    const int squatter = ::shm_open(next, O_RDWR | O_CREAT | O_EXCL, 0600);
    ASSERT_GE(squatter, 0);
    EXPECT_FALSE(link.Open(0, result));
    EXPECT_EQ(result, resultNoMapping);
    EXPECT_TRUE(AreaExists(next + 1)); // someone else's area is left alone
    ::close(squatter);
    ::shm_unlink(next);
}

TEST_F(PosixLinkTest, ServerFoundAsFs98MainRefusesWithFourteen) {
    memory.SetU32(0x3308, 0x12340006);
    SocketServer server(Socket("FS98MAIN.sock"), memory);
    FsuipcLink link = MakeLink();
    EXPECT_FALSE(link.Open(0, result));
    EXPECT_EQ(result, resultNoSimOnServer);
    EXPECT_EQ(server.Frames().size(), 1u);
}

TEST_F(PosixLinkTest, SilentServerTimesOutAfterNineTries) {
    SocketServer server(Socket("UIPCMAIN.sock"), memory);
    FsuipcLink link = MakeLink({20ms, 1ms, 9});
    ASSERT_TRUE(link.Open(0, result));
    std::uint32_t value = 0x1234;
    link.Read(0x3304, 4, &value, result);
    server.Script(Action::silent, 9);
    EXPECT_FALSE(link.Process(result));
    EXPECT_EQ(result, resultTimedOut);
    EXPECT_EQ(value, 0x1234u);
    EXPECT_EQ(server.FramesOnceThere(1 + 9).size(), 1u + 9u);
}

TEST_F(PosixLinkTest, HangUpFailsTheSendWithTwelve) {
    SocketServer server(Socket("UIPCMAIN.sock"), memory);
    FsuipcLink link = MakeLink({1000ms, 1ms, 9});
    ASSERT_TRUE(link.Open(0, result));
    std::uint32_t value = 0;
    link.Read(0x3304, 4, &value, result);
    server.Script(Action::hangUp);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(link.Process(result));
    EXPECT_EQ(result, resultSendFailed);
    // No try waits for its time-out once the connection is gone.
    EXPECT_LT(std::chrono::steady_clock::now() - start, 900ms);
}

TEST_F(PosixLinkTest, StaleReplyIsDiscarded) {
    SocketServer server(Socket("UIPCMAIN.sock"), memory);
    FsuipcLink link = MakeLink();
    ASSERT_TRUE(link.Open(0, result));
    std::uint32_t value = 0;
    link.Read(0x3304, 4, &value, result);
    server.Script(Action::staleFirst);
    EXPECT_TRUE(link.Process(result)) << ResultText(result);
    EXPECT_EQ(value, 0x19980005u);
}

TEST_F(PosixLinkTest, LateReplyIsDiscardedByTheNextTry) {
    SocketServer server(Socket("UIPCMAIN.sock"), memory);
    server.lateBy = 300ms;
    FsuipcLink link = MakeLink({200ms, 1ms, 9});
    ASSERT_TRUE(link.Open(0, result));
    std::uint32_t value = 0;
    link.Read(0x3304, 4, &value, result);
    server.Script(Action::late);
    EXPECT_TRUE(link.Process(result)) << ResultText(result);
    EXPECT_EQ(value, 0x19980005u);
    EXPECT_EQ(server.FramesOnceThere(1 + 2).size(), 1u + 2u);
    // The stream stays in step: the next exchange gets its own answer.
    memory.SetU32(0x3304, 0x20000000);
    link.Read(0x3304, 4, &value, result);
    EXPECT_TRUE(link.Process(result));
    EXPECT_EQ(value, 0x20000000u);
}

TEST_F(PosixLinkTest, ServerThatGoesAwayFailsTheNextExchange) {
    FsuipcLink link = MakeLink({200ms, 1ms, 9});
    {
        SocketServer server(Socket("UIPCMAIN.sock"), memory);
        ASSERT_TRUE(link.Open(0, result));
    }
    std::uint32_t value = 0;
    link.Read(0x3304, 4, &value, result);
    EXPECT_FALSE(link.Process(result));
    EXPECT_EQ(result, resultSendFailed);
    link.Close();
    EXPECT_FALSE(link.Open(0, result));
    EXPECT_EQ(result, resultNoServer);
}

} // namespace
