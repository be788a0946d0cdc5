// The simulator link over the Win32 transport, against TestServer windows in this process.
// What the request codec decides is checked over the fake server in link_test, which the
// Windows build runs too; here, what the Windows objects add.

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

// The name of an area: this process's id and the link's counter, in hex.
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

// Queues a read of the altitude and sends it: the number of the exchange's result.
std::uint32_t ReadAltitude(FsuipcLink& link, std::int32_t& altitude) {
    EXPECT_EQ(link.Read(0x0574, 4, &altitude), LinkResult::okay);
    return static_cast<std::uint32_t>(link.Process());
}

// A server found under FS98MAIN is judged by the older rule (14, not 7), and a refusal
// releases the area. A reply that is 1 in its low 32 bits only is not the value 1; a server
// that stops answering times out (11); a window gone fails the send (12).
TEST(Win32LinkTest, EachFailureOfTheServerHasItsResult) {
    TestServer server("FS98MAIN");
    server.Set<std::uint32_t>(0x3304, 0x19980004);
    FsuipcLink link(MakeDefaultTransport(), fast);
    const LinkResult refusal = link.Open(0);
    EXPECT_TRUE(refusal == LinkResult::noSimOnServer && !link.IsOpen() && Released(link.AreaName()))
        << ResultText(refusal);
    const std::string refused = link.AreaName();
    server.Set<std::uint32_t>(0x3304, 0x19980005);
    server.Set<std::int32_t>(0x0574, 1234);
    ASSERT_EQ(link.Open(0), LinkResult::okay);
    EXPECT_FALSE(Released(link.AreaName()));
    EXPECT_EQ(AreaCounter(link.AreaName()), AreaCounter(refused) + 1);
    std::int32_t altitude = -7;
    server.reply = 0x100000001ull;
    EXPECT_EQ(ReadAltitude(link, altitude), 13u);
    EXPECT_EQ(altitude, -7);
    server.reply = 1;
    EXPECT_EQ(ReadAltitude(link, altitude), 0u);
    EXPECT_EQ(altitude, 1234);

    constexpr LinkTiming impatient{.sendTimeout = 50ms, .pause = 1ms};
    FsuipcLink hung(MakeDefaultTransport(), impatient);
    ASSERT_EQ(hung.Open(0), LinkResult::okay);
    server.hanging = true;
    altitude = -7;
    EXPECT_EQ(ReadAltitude(hung, altitude), 11u);
    EXPECT_EQ(altitude, -7);
    // The stale messages the server finds on waking name an area that is gone.
    hung.Close();
    server.hanging = false;
    server.CloseWindow();
    EXPECT_EQ(ReadAltitude(link, altitude), 12u);
}

// The variable cache over the Win32 link: a read cycle, the heading's own exchange and a
// write; a server gone releases the area, and the restarted one is linked once the next
// area name is no longer taken by someone else's mapping, which is left alone.
TEST(Win32CacheTest, CacheReconnectsAfterAServerRestart) {
    auto server = std::make_unique<TestServer>();
    server->Set<std::int32_t>(0x0574, 1234);
    server->Set<std::uint32_t>(0x0580, 0xC0000000);
    FSUPIC link(MakeDefaultTransport(), fast);
    ASSERT_EQ(link.Result(), LinkResult::okay);
    link.ReadCycle();
    EXPECT_EQ(std::pair(link.GetAltitude(), link.GetHeading()), std::pair(1234.0, -90.0));
    link.SetMsStrength(200); // read back in the next cycle: the cache keeps what it read
    link.ReadCycle();
    EXPECT_EQ(link.GetMsStrength(), 200);

    const std::string firstArea = link.Link().AreaName();
    const std::uint32_t counter = AreaCounter(firstArea);
    server.reset();
    link.ReadCycle();
    EXPECT_EQ(link.Result(), LinkResult::sendFailed); // the window is gone
    EXPECT_TRUE(Released(firstArea));
    link.ReadCycle();
    EXPECT_EQ(std::pair(link.Result(), link.GetAltitude()),
              std::pair(LinkResult::noServer, 1234.0));

    const std::string taken = AreaName(counter + 1);
    HANDLE mapping =
        CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096, taken.c_str());
    auto* view = static_cast<char*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0));
    ASSERT_NE(view, nullptr);
    std::strcpy(view, "theirs");
    server = std::make_unique<TestServer>();
    server->Set<std::int32_t>(0x0574, 987);
    link.ReadCycle();
    EXPECT_EQ(link.Result(), LinkResult::noMapping);
    EXPECT_EQ(std::string(view), "theirs");
    EXPECT_EQ(GlobalFindAtomA(taken.c_str()), 0);
    link.ReadCycle();
    EXPECT_EQ(std::pair(link.Result(), link.GetAltitude()), std::pair(LinkResult::okay, 987.0));
    EXPECT_EQ(AreaCounter(link.Link().AreaName()), counter + 2);
    UnmapViewOfFile(view);
    CloseHandle(mapping);
}

} // namespace
