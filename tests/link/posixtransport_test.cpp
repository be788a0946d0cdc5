// The POSIX transport against listening sockets of the test's own, served from this thread:
// a reply written before a try waits in the socket until the try reads it.

#include "builders.h"
#include "scratch.h"
#include "simlink/fsuipclink.h"
#include "simlink/posixtransport.h"
#include "simlink/records.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <set>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Sets an environment variable (null: unsets it) for the life of the guard.
struct ScopedEnv {
    const char* name;
    std::optional<std::string> old;
    ScopedEnv(const char* n, const char* value)
        : name(n)
        , old(std::getenv(n) ? std::optional<std::string>(std::getenv(n)) : std::nullopt) {
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~ScopedEnv() { old ? ::setenv(name, old->c_str(), 1) : ::unsetenv(name); }
};

class PosixTransportTest : public ::testing::Test {
protected:
    const Scratch scratch;
    ScopedEnv env{"BREVAN_IPC_DIR", scratch.dir.c_str()};
    PosixTransport transport;

    // One try of a send: "reply 5", "timed out" or "error 104".
    std::string Try(std::chrono::milliseconds timeout) {
        using Outcome = Transport::SendResult::Outcome;
        const Transport::SendResult sent = transport.Send(1, 1, timeout);
        if (sent.outcome == Outcome::timedOut)
            return "timed out";
        return (sent.outcome == Outcome::handled ? "reply " : "error ") +
               std::to_string(sent.value);
    }
    static std::string Error(int code) { return "error " + std::to_string(code); }

    int Listen(const std::string& name) {
        sockaddr_un address{AF_UNIX, {}};
        std::strncpy(address.sun_path, scratch.Path(name).c_str(), sizeof address.sun_path - 1);
        const int s = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        EXPECT_EQ(::bind(s, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
        EXPECT_EQ(::listen(s, 4), 0);
        return s;
    }
    // Sends 32-bit words to the client.
    static void Send(int server, std::initializer_list<std::uint32_t> words) {
        for (const std::uint32_t word : words) {
            std::byte bytes[4];
            records::StoreU32(bytes, word);
            ASSERT_EQ(::send(server, bytes, 4, 0), 4);
        }
    }
    // The next frame from the client: its length field, sequence and the name it carries.
    static std::tuple<std::uint32_t, std::uint32_t, std::string> Frame(int server) {
        std::byte header[8];
        if (::recv(server, header, 8, MSG_WAITALL) != 8)
            return {};
        const std::uint32_t length = records::LoadU32(header);
        std::string name(length > 4 && length < 1024 ? length - 4 : 0, '\0');
        EXPECT_EQ(::recv(server, name.data(), name.size(), MSG_WAITALL), std::ssize(name));
        return {length, records::LoadU32(header + 4), name};
    }
};

// The directory is the first of the two variables set and not empty, else /tmp.
TEST_F(PosixTransportTest, ServerIsLookedForInTheIpcDirectoryUnderUipcMainThenFs98Main) {
    using Row = std::tuple<const char*, const char*, const char*>;
    for (const auto& [ipcDir, runtimeDir, expected] :
         {Row{"/a", "/b", "/a"}, Row{"", "/b", "/b"}, Row{nullptr, "/b", "/b"},
          Row{nullptr, "", "/tmp"}, Row{nullptr, nullptr, "/tmp"}}) {
        const ScopedEnv own("BREVAN_IPC_DIR", ipcDir), runtime("XDG_RUNTIME_DIR", runtimeDir);
        EXPECT_EQ(posixipc::IpcDirectory(), expected) << (ipcDir ? ipcDir : "unset");
    }
    EXPECT_EQ(transport.FindServer(), Transport::Server::none);
    const int fs98Main = Listen(posixipc::fs98MainSocket);
    EXPECT_EQ(transport.FindServer(), Transport::Server::fs98Main);
    const int uipcMain = Listen(posixipc::uipcMainSocket);
    EXPECT_EQ(transport.FindServer(), Transport::Server::uipcMain);
    // A socket file whose server is gone refuses the connection: on to FS98MAIN.
    ::close(uipcMain);
    EXPECT_EQ(transport.FindServer(), Transport::Server::fs98Main);
    // A directory too long for a socket address holds no server.
    const ScopedEnv longDir("BREVAN_IPC_DIR", scratch.Path(std::string(120, 'd')).c_str());
    EXPECT_EQ(transport.FindServer(), Transport::Server::none);
    ::close(fs98Main);
}

// A server that has stopped accepting (a frozen stand-in) keeps each reconnection's socket in
// its queue until the queue is full; from then on a connection that is not made at once counts
// as no server rather than waiting for ever. Every Open returns within its time-outs, and the
// area of each is released.
TEST_F(PosixTransportTest, OpenAgainstAServerThatNeverAcceptsReturnsEveryTime) {
    const int listener = Listen(posixipc::uipcMainSocket);
    FsuipcLink link(std::make_unique<PosixTransport>(), LinkTiming{20ms, 1ms, 2});
    LinkResult result = LinkResult::okay;
    std::set<LinkResult> seen;
    for (int attempt = 0; attempt < 30; ++attempt) {
        const auto start = Clock::now();
        result = link.Open(0);
        seen.insert(result);
        EXPECT_LT(Clock::now() - start, 1s) << attempt;
    }
    // Queued and timed out at first, the last with the queue full.
    EXPECT_EQ(
        std::pair(seen, result),
        std::pair(std::set{LinkResult::noServer, LinkResult::timedOut}, LinkResult::noServer));
    EXPECT_FALSE(std::filesystem::exists("/dev/shm/" + link.AreaName()));
    ::close(listener);
}

// Each try sends the area's name under a new sequence number; replies to earlier tries, whole
// or cut short, are passed over, and a server gone is reported at once.
TEST_F(PosixTransportTest, ATryTakesOnlyTheReplyToItsOwnFrame) {
    const int listener = Listen(posixipc::uipcMainSocket);
    ASSERT_EQ(transport.FindServer(), Transport::Server::uipcMain);
    const int server = ::accept(listener, nullptr, nullptr);
    const std::string name = "FsasmLib:IPC:1A2B:7";
    ASSERT_NE(transport.AddAtom(name), 0);
    const auto paused = Clock::now();
    transport.Sleep(30ms); // a pause lasts its time
    EXPECT_GE(Clock::now() - paused, 30ms);
    EXPECT_EQ(Try(20ms), "timed out");
    const auto [length, sequence, sent] = Frame(server);
    EXPECT_TRUE(length == 4 + name.size() && sent == name) << length << sent;

    // The reply to the try that timed out comes first, and must not count for the next.
    Send(server, {sequence, 0, sequence + 1, 1});
    ASSERT_EQ(Try(2000ms), "reply 1");
    EXPECT_EQ(std::get<1>(Frame(server)), sequence + 1);

    // A try that times out in the middle of a reply leaves the rest to the next try.
    Send(server, {sequence + 2});
    EXPECT_EQ(Try(20ms), "timed out");
    Send(server, {1, sequence + 3, 5});
    EXPECT_EQ(Try(2000ms), "reply 5");

    // The server ends its side after part of a reply: the end of the stream is reported at once.
    Send(server, {sequence + 4});
    ::shutdown(server, SHUT_WR);
    const auto start = Clock::now();
    EXPECT_EQ(Try(10s), Error(ECONNRESET));
    EXPECT_LT(Clock::now() - start, 5s);

    // The server stops reading: once its socket is full the try times out.
    transport.AddAtom(std::string(1 << 22, 'x'));
    EXPECT_EQ(Try(20ms), "timed out");

    // The server hangs up: the error of the socket, not a time-out.
    ::close(server);
    EXPECT_THAT(Try(2000ms), ::testing::AnyOf(Error(EPIPE), Error(ECONNRESET)));
    transport.ForgetServer();
    EXPECT_EQ(Try(2000ms), Error(ENOTCONN));

    // The next server gets a whole frame and its reply is read whole: nothing left of the last
    // server's frames or replies comes in between.
    ASSERT_EQ(transport.FindServer(), Transport::Server::uipcMain);
    const int next = ::accept(listener, nullptr, nullptr);
    transport.AddAtom(name);
    EXPECT_EQ(Try(20ms), "timed out");
    const auto [nextLength, nextSequence, nextName] = Frame(next);
    EXPECT_EQ(nextLength, 4 + name.size());
    Send(next, {nextSequence + 1, 7});
    EXPECT_EQ(Try(2000ms), "reply 7");
    ::close(next);
    ::close(listener);
}

TEST_F(PosixTransportTest, AreaIsANewPrivateObjectRemovedOnClose) {
    const std::string name = "FsasmLib:IPC:" + std::to_string(::getpid()) + ":FFFF";
    ASSERT_TRUE(transport.CreateArea(name, records::areaSize));
    std::byte* view = transport.MapArea();
    ASSERT_NE(view, nullptr);
    view[records::areaSize - 1] = std::byte{42};
    // The name is taken: another transport may not have it, and leaves it to its owner.
    PosixTransport other;
    EXPECT_FALSE(other.CreateArea(name, records::areaSize));
    other.CloseArea();

    // Its owner's alone, holding what was written to it.
    const std::string path = "/dev/shm/" + name;
    const std::string bytes = ReadText(path);
    ASSERT_EQ(bytes.size(), records::areaSize);
    EXPECT_EQ(bytes.back(), 42);
    EXPECT_EQ(std::filesystem::status(path).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);

    // One area at a time: creating the next removes the last; closing removes it.
    transport.UnmapArea(view);
    ASSERT_TRUE(transport.CreateArea(name + "0", records::areaSize));
    EXPECT_FALSE(std::filesystem::exists("/dev/shm/" + name));
    transport.CloseArea();
    EXPECT_FALSE(std::filesystem::exists("/dev/shm/" + name + "0"));
}

} // namespace
