// The simulator link over the Win32 transport, against TestServer windows in this process.

#include "simlink/fsuipclink.h"
#include "simlink/fsupic.h"
#include "testserver.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <windows.h>

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

// Pauses cut short so a handshake costs milliseconds; a server that answers never makes the
// link wait for the time-out.
constexpr LinkTiming fast{.sendTimeout = 500ms, .pause = 1ms};

std::string AreaName(std::uint32_t counter) {
    std::array<char, 40> text{};
    std::snprintf(text.data(), text.size(), "FsasmLib:IPC:%lX:%X", GetCurrentProcessId(), counter);
    return text.data();
}

std::uint32_t AreaCounter(const std::string& name) {
    return static_cast<std::uint32_t>(std::stoul(name.substr(name.rfind(':') + 1), nullptr, 16));
}

// True when neither the atom nor the mapping of that area name is left behind.
bool Released(const std::string& name) {
    HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, name.c_str());
    if (mapping != nullptr)
        CloseHandle(mapping);
    return GlobalFindAtomA(name.c_str()) == 0 && mapping == nullptr;
}

class Win32LinkTest : public ::testing::Test {
protected:
    FsuipcLink link{MakeDefaultTransport(), fast};
    std::uint32_t result = 99;
    std::int32_t altitude = -7;

    // Queues a read of the altitude and sends it: the result of the exchange.
    std::uint32_t ReadAltitude() {
        EXPECT_TRUE(link.Read(0x0574, 4, &altitude, result));
        const bool done = link.Process(result);
        EXPECT_EQ(done, result == 0);
        return result;
    }
};

TEST_F(Win32LinkTest, NoServerWindowGivesTwo) {
    EXPECT_FALSE(link.Open(0, result));
    EXPECT_TRUE(result == 2u && !link.IsOpen() && link.AreaName().empty()) << result;
}

TEST_F(Win32LinkTest, HandshakeUnderUipcMainThenReopenAndWrongSim) {
    TestServer server;
    ASSERT_TRUE(link.Open(0, result));
    EXPECT_EQ(std::tuple(result, link.FsuipcVersion(), link.FsVersion(), server.LibraryVersion()),
              std::tuple(0u, 0x19980005u, 6u, 1004));
    EXPECT_EQ(server.AreaNames(), std::vector{link.AreaName()});
    EXPECT_EQ(link.AreaName(), AreaName(AreaCounter(link.AreaName())));
    EXPECT_FALSE(link.Open(0, result));
    EXPECT_TRUE(result == 1u && link.IsOpen()) << result;

    const std::string first = link.AreaName();
    link.Close();
    EXPECT_TRUE(Released(first));
    ASSERT_TRUE(link.Open(0, result));
    EXPECT_EQ(AreaCounter(link.AreaName()), AreaCounter(first) + 1);
    link.Close();
    EXPECT_FALSE(link.Open(3, result));
    EXPECT_TRUE(result == 8u && !link.IsOpen()) << result;
}

TEST_F(Win32LinkTest, ReadsFillEveryDestinationAndWritesReachTheServer) {
    TestServer server;
    server.Set<std::int64_t>(0x0560, 0x0123456789ABCDEF);
    server.Set<std::int64_t>(0x0568, -0x0123456789ABCDEF);
    server.Set<std::int32_t>(0x0020, 0x80);
    server.Set<std::int32_t>(0x0574, 1234);
    server.Set<std::uint64_t>(0x2AE0, 0x40AB000000000000);
    ASSERT_TRUE(link.Open(0, result));
    std::array<std::int64_t, 2> position{};
    std::int32_t ground = 0;
    std::uint64_t block = 0;
    EXPECT_TRUE(link.Read(0x0560, 16, position.data(), result) &&
                link.Read(0x0020, 4, &ground, result) && link.Read(0x0574, 4, nullptr, result) &&
                link.Read(0x2AE0, 8, &block, result));
    EXPECT_EQ(ReadAltitude(), 0u);
    EXPECT_EQ(position, (std::array<std::int64_t, 2>{0x0123456789ABCDEF, -0x0123456789ABCDEF}));
    EXPECT_EQ(std::tuple(ground, altitude, block), std::tuple(0x80, 1234, 0x40AB000000000000u));

    const std::uint8_t strength = 200;
    const double rollRate = -1.25;
    position = {477302101697422, -5124095576030431};
    ASSERT_TRUE(link.Write(0x2AE6, 1, &strength, result) &&
                link.Write(0x30B0, 8, &rollRate, result) &&
                link.Write(0x0560, 16, position.data(), result) && link.Process(result));
    EXPECT_EQ(std::tuple(server.Get<std::uint8_t>(0x2AE6), server.Get<double>(0x30B0),
                         server.Get<std::array<std::int64_t, 2>>(0x0560)),
              std::tuple(200, -1.25, position));
}

TEST(Win32LinkFailureTest, ServerThatStopsAnsweringTimesOutWithEleven) {
    TestServer server;
    constexpr LinkTiming impatient{.sendTimeout = 50ms, .pause = 1ms};
    FsuipcLink link(MakeDefaultTransport(), impatient);
    std::uint32_t result = 99;
    ASSERT_TRUE(link.Open(0, result));
    server.hanging = true;
    std::int32_t altitude = -7;
    EXPECT_TRUE(link.Read(0x0574, 4, &altitude, result));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(link.Process(result));
    EXPECT_GE(std::chrono::steady_clock::now() - start, impatient.tries * impatient.sendTimeout);
    EXPECT_EQ(std::pair(result, altitude), std::pair(11u, -7));
    // The stale messages the server finds on waking name an area that is gone.
    link.Close();
    server.hanging = false;
}

TEST_F(Win32LinkTest, ReplyValueOtherThanOneGivesThirteenAndAWindowGoneTwelve) {
    TestServer server;
    ASSERT_TRUE(link.Open(0, result));
    // 1 in its low 32 bits only: still not the value 1.
    for (const std::uint64_t reply : {std::uint64_t{0}, std::uint64_t{2}, 0x100000001ull}) {
        server.reply = reply;
        EXPECT_EQ(ReadAltitude(), 13u) << reply;
        EXPECT_EQ(altitude, -7);
    }
    server.CloseWindow();
    EXPECT_EQ(ReadAltitude(), 12u);
}

// The window class the server registers, the versions it holds, and the result of the Open.
using Versions = std::tuple<const char*, const char*, std::uint32_t, std::uint32_t, std::uint32_t>;
class VersionTest : public Win32LinkTest, public ::testing::WithParamInterface<Versions> {};

TEST_P(VersionTest, DecideUnderEitherWindowAndARefusalLeavesNothingBehind) {
    const auto& [name, windowClass, fsuipcVersion, fsVersion, expected] = GetParam();
    TestServer server(windowClass);
    server.Set(0x3304, fsuipcVersion);
    server.Set(0x3308, fsVersion);
    EXPECT_EQ(link.Open(0, result), expected == 0);
    EXPECT_EQ(std::pair(result, link.IsOpen()), std::pair(expected, expected == 0));
    EXPECT_EQ(Released(link.AreaName()), expected != 0);
}

INSTANTIATE_TEST_SUITE_P(
    Win32Link, VersionTest,
    ::testing::Values(Versions{"Fs98Accepted", "FS98MAIN", 0x19980005, 0xFADE0006, 0},
                      Versions{"OldVersion", "UIPCMAIN", 0x19980004, 0xFADE0006, 7},
                      Versions{"WrongMark", "UIPCMAIN", 0x19980005, 0xFADF0006, 7},
                      Versions{"Fs98OldVersion", "FS98MAIN", 0x19980004, 0xFADE0006, 14},
                      Versions{"Fs98WrongMark", "FS98MAIN", 0x19980005, 0x0000FADE, 14}),
    [](const auto& info) { return std::string(std::get<0>(info.param)); });

// An area name already taken by another mapping is refused and that mapping left alone.
TEST_F(Win32LinkTest, AreaNameInUseGivesFive) {
    TestServer server;
    ASSERT_TRUE(link.Open(0, result));
    const std::uint32_t counter = AreaCounter(link.AreaName());
    link.Close();
    const std::string taken = AreaName(counter + 1);
    HANDLE mapping =
        CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096, taken.c_str());
    auto* view = static_cast<char*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0));
    ASSERT_NE(view, nullptr);
    std::strcpy(view, "theirs");

    EXPECT_FALSE(link.Open(0, result));
    EXPECT_TRUE(result == 5u && !link.IsOpen()) << result;
    EXPECT_EQ(std::string(view), "theirs");
    EXPECT_EQ(GlobalFindAtomA(taken.c_str()), 0);
    EXPECT_TRUE(link.Open(0, result));
    EXPECT_EQ(AreaCounter(link.AreaName()), counter + 2);
    UnmapViewOfFile(view);
    CloseHandle(mapping);
}

// The variable cache over the Win32 link: a read cycle, the heading's own exchange, and a
// reconnect to a restarted server with a fresh area. The values and writes on their way
// through this transport are pinned above.
TEST(Win32CacheTest, SimulatorVariablesAndReconnectAfterAServerRestart) {
    auto server = std::make_unique<TestServer>();
    server->Set<std::int32_t>(0x0574, 1234);
    server->Set<std::uint32_t>(0x0580, 0xC0000000);
    FSUPIC link(MakeDefaultTransport(), fast);
    ASSERT_EQ(link.LinkResult(), 0u);
    link.ReadCycle();
    EXPECT_EQ(std::pair(link.GetAltitude(), link.GetHeading()), std::pair(1234.0, -90.0));
    link.SetMsStrength(200);
    EXPECT_EQ(server->Get<std::uint8_t>(0x2AE6), 200);

    const std::string firstArea = link.Link().AreaName();
    server.reset();
    link.ReadCycle();
    EXPECT_EQ(link.LinkResult(), 1u);
    EXPECT_TRUE(Released(firstArea));
    link.ReadCycle();
    EXPECT_EQ(std::pair(link.LinkResult(), link.GetAltitude()), std::pair(2u, 1234.0));

    server = std::make_unique<TestServer>();
    server->Set<std::int32_t>(0x0574, 987);
    link.ReadCycle();
    EXPECT_EQ(std::pair(link.LinkResult(), link.GetAltitude()), std::pair(0u, 987.0));
    EXPECT_EQ(AreaCounter(link.Link().AreaName()), AreaCounter(firstArea) + 1);
}

} // namespace
