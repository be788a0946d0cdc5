// The simulator link over the Win32 transport, against TestServer windows in this process.

#include "check.h"
#include "simlink/fsuipclink.h"
#include "simlink/fsupic.h"
#include "testserver.h"

#include <array>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <windows.h>

namespace {

using namespace std::chrono_literals;

// Pauses cut short so a handshake costs milliseconds; a server that answers never makes the
// link wait for the time-out.
constexpr LinkTiming fast{.sendTimeout = 500ms, .pause = 1ms};

std::string AreaPrefix() {
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), "FsasmLib:IPC:%lX:", GetCurrentProcessId());
    return text.data();
}

std::uint32_t AreaCounter(const std::string& name) {
    return static_cast<std::uint32_t>(std::stoul(name.substr(name.rfind(':') + 1), nullptr, 16));
}

// True when neither the atom nor the mapping of that area name is left behind.
bool Released(const std::string& name) {
    if (GlobalFindAtomA(name.c_str()) != 0)
        return false;
    HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, name.c_str());
    if (mapping == nullptr)
        return true;
    CloseHandle(mapping);
    return false;
}

void NoServerWindow() {
    FsuipcLink link(MakeDefaultTransport(), fast);
    std::uint32_t result = 99;
    CHECK(!link.Open(0, result));
    CHECK_EQ(result, 2u);
    CHECK(!link.IsOpen());
    CHECK(link.AreaName().empty());
}

void Handshake() {
    TestServer server;
    FsuipcLink link(MakeDefaultTransport(), fast);
    std::uint32_t result = 99;
    REQUIRE(link.Open(0, result));
    CHECK_EQ(result, 0u);
    CHECK_EQ(link.FsuipcVersion(), 0x19980005u);
    CHECK_EQ(link.FsVersion(), 6u);
    CHECK_EQ(server.LibraryVersion(), 1004);
    const std::vector<std::string> seen = server.AreaNames();
    REQUIRE(seen.size() == 1);
    CHECK_EQ(seen.front(), link.AreaName());
    CHECK_EQ(link.AreaName().rfind(AreaPrefix(), 0), 0u);

    CHECK(!link.Open(0, result));
    CHECK_EQ(result, 1u);
    CHECK(link.IsOpen());

    const std::string first = link.AreaName();
    link.Close();
    CHECK(Released(first));
    REQUIRE(link.Open(0, result));
    CHECK_EQ(AreaCounter(link.AreaName()), AreaCounter(first) + 1);

    link.Close();
    CHECK(!link.Open(3, result));
    CHECK_EQ(result, 8u);
    CHECK(!link.IsOpen());
}

void HandshakeUnderFs98Main() {
    TestServer server("FS98MAIN");
    FsuipcLink link(MakeDefaultTransport(), fast);
    std::uint32_t result = 99;
    CHECK(link.Open(0, result));
    CHECK_EQ(result, 0u);
}

void ReadCycle() {
    TestServer server;
    server.Set<std::int64_t>(0x0560, 0x0123456789ABCDEF);
    server.Set<std::int64_t>(0x0568, -0x0123456789ABCDEF);
    server.Set<std::int32_t>(0x0020, 0x80);
    server.Set<std::int32_t>(0x0574, 1234);
    server.Set<std::uint64_t>(0x2AE0, 0x40AB000000000000);
    FsuipcLink link(MakeDefaultTransport(), fast);
    std::uint32_t result = 99;
    REQUIRE(link.Open(0, result));

    std::array<std::int64_t, 2> position{};
    std::int32_t ground = 0;
    std::int32_t altitude = 0;
    std::array<std::uint8_t, 8> block{};
    CHECK(link.Read(0x0560, 16, position.data(), result));
    CHECK(link.Read(0x0020, 4, &ground, result));
    CHECK(link.Read(0x0574, 4, nullptr, result));
    CHECK(link.Read(0x0574, 4, &altitude, result));
    CHECK(link.Read(0x2AE0, 8, block.data(), result));
    REQUIRE(link.Process(result));
    CHECK_EQ(result, 0u);
    CHECK_EQ(position[0], 0x0123456789ABCDEF);
    CHECK_EQ(position[1], -0x0123456789ABCDEF);
    CHECK_EQ(ground, 0x80);
    CHECK_EQ(altitude, 1234);
    CHECK_EQ(block[6], 0xAB);
    CHECK_EQ(block[7], 0x40);
}

void Write() {
    TestServer server;
    FsuipcLink link(MakeDefaultTransport(), fast);
    std::uint32_t result = 99;
    REQUIRE(link.Open(0, result));

    const std::uint8_t strength = 200;
    const double rollRate = -1.25;
    const std::array<std::int64_t, 2> position{477302101697422, -5124095576030431};
    CHECK(link.Write(0x2AE6, 1, &strength, result));
    CHECK(link.Write(0x30B0, 8, &rollRate, result));
    CHECK(link.Write(0x0560, 16, position.data(), result));
    REQUIRE(link.Process(result));
    CHECK_EQ(server.Get<std::uint8_t>(0x2AE6), 200);
    CHECK_EQ(server.Get<double>(0x30B0), -1.25);
    CHECK_EQ(server.Get<std::int64_t>(0x0560), position[0]);
    CHECK_EQ(server.Get<std::int64_t>(0x0568), position[1]);
}

void ServerStopsAnswering() {
    TestServer server;
    constexpr LinkTiming impatient{.sendTimeout = 50ms, .pause = 1ms};
    FsuipcLink link(MakeDefaultTransport(), impatient);
    std::uint32_t result = 99;
    REQUIRE(link.Open(0, result));

    server.Hang();
    std::int32_t altitude = -7;
    CHECK(link.Read(0x0574, 4, &altitude, result));
    const auto start = std::chrono::steady_clock::now();
    CHECK(!link.Process(result));
    const auto waited = std::chrono::steady_clock::now() - start;
    CHECK_EQ(result, 11u);
    CHECK(waited >= impatient.tries * impatient.sendTimeout);
    CHECK_EQ(altitude, -7);
    // The stale messages the server finds on waking name an area that is gone.
    link.Close();
    server.Resume();
}

void ServerWindowGone() {
    TestServer server;
    FsuipcLink link(MakeDefaultTransport(), fast);
    std::uint32_t result = 99;
    REQUIRE(link.Open(0, result));
    server.CloseWindow();
    CHECK(link.Read(0x0574, 4, nullptr, result));
    CHECK(!link.Process(result));
    CHECK_EQ(result, 12u);
}

void BadReplyValue() {
    TestServer server;
    FsuipcLink link(MakeDefaultTransport(), fast);
    std::uint32_t result = 99;
    REQUIRE(link.Open(0, result));
    // 1 in its low 32 bits only: still not the value 1.
    for (const std::uint64_t reply : {std::uint64_t{0}, std::uint64_t{2}, 0x100000001ull}) {
        server.SetReply(reply);
        std::int32_t altitude = -7;
        CHECK(link.Read(0x0574, 4, &altitude, result));
        CHECK(!link.Process(result));
        CHECK_EQ(result, 13u);
        CHECK_EQ(altitude, -7);
    }
}

void RefusedVersion() {
    struct Refusal {
        const char* windowClass;
        std::uint32_t fsuipcVersion;
        std::uint32_t fsVersion;
        std::uint32_t result;
    };
    for (const Refusal& r : {Refusal{"UIPCMAIN", 0x19980004, 0xFADE0006, 7},
                             Refusal{"UIPCMAIN", 0x19980005, 0xFADF0006, 7},
                             Refusal{"FS98MAIN", 0x19980004, 0xFADE0006, 14},
                             Refusal{"FS98MAIN", 0x19980005, 0x0000FADE, 14}}) {
        TestServer server(r.windowClass);
        server.Set(0x3304, r.fsuipcVersion);
        server.Set(0x3308, r.fsVersion);
        FsuipcLink link(MakeDefaultTransport(), fast);
        std::uint32_t result = 99;
        CHECK(!link.Open(0, result));
        CHECK_EQ(result, r.result);
        CHECK(!link.IsOpen());
        CHECK(Released(link.AreaName()));
    }
}

// The variable cache over the Win32 link: a read cycle, the heading's own exchange, the
// writes, and a reconnect to a restarted server with a fresh area.
void SimulatorVariables() {
    auto server = std::make_unique<TestServer>();
    server->Set<std::int64_t>(0x0560, 21478594576384001);    // 45 degrees north
    server->Set<std::int64_t>(0x0568, -4611686018427387904); // 90 degrees west
    server->Set<std::int32_t>(0x0020, 0x80);
    server->Set<std::int32_t>(0x0574, 1234);
    server->Set<std::uint64_t>(0x2AE0, 0x40AB000000000000);
    server->Set<std::uint32_t>(0x0580, 0xC0000000);
    FSUPIC link(MakeDefaultTransport(), fast);
    REQUIRE(link.LinkResult() == 0);

    link.ReadCycle();
    CHECK_EQ(link.LinkResult(), 0u);
    CHECK(std::abs(link.GetLat() - 45.0) < 1e-9);
    CHECK_EQ(link.GetLon(), -90.0);
    CHECK_EQ(link.GetGroundAlt(), 0.5);
    CHECK_EQ(link.GetAltitude(), 1234.0);
    CHECK(link.ThermalBlockPresent());
    CHECK_EQ(link.GetMsStrength(), 0xAB);
    CHECK_EQ(link.GetHeading(), -90.0);

    link.SetMsStrength(200);
    link.SetRollRate(2.5);
    link.MoveAircraft(0.0, 0.0);
    CHECK_EQ(server->Get<std::uint8_t>(0x2AE6), 200);
    CHECK_EQ(server->Get<double>(0x30B0), 2.5);
    CHECK_EQ(server->Get<std::int64_t>(0x0560), 0);
    CHECK_EQ(server->Get<std::int64_t>(0x0568), 0);

    const std::string firstArea = link.Link().AreaName();
    server.reset();
    link.ReadCycle();
    CHECK_EQ(link.LinkResult(), 1u);
    CHECK(Released(firstArea));
    link.ReadCycle();
    CHECK_EQ(link.LinkResult(), 2u);
    CHECK_EQ(link.GetAltitude(), 1234.0);

    server = std::make_unique<TestServer>();
    server->Set<std::int32_t>(0x0574, 987);
    link.ReadCycle();
    CHECK_EQ(link.LinkResult(), 0u);
    CHECK_EQ(link.GetAltitude(), 987.0);
    CHECK_EQ(AreaCounter(link.Link().AreaName()), AreaCounter(firstArea) + 1);
}

// An area name already taken by another mapping is refused and that mapping left alone.
void AreaNameInUse() {
    TestServer server;
    FsuipcLink link(MakeDefaultTransport(), fast);
    std::uint32_t result = 99;
    REQUIRE(link.Open(0, result));
    const std::uint32_t counter = AreaCounter(link.AreaName());
    link.Close();

    std::array<char, 40> taken{};
    std::snprintf(taken.data(), taken.size(), "%s%X", AreaPrefix().c_str(), counter + 1);
    HANDLE mapping =
        CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096, taken.data());
    REQUIRE(mapping != nullptr);
    auto* view = static_cast<char*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0));
    REQUIRE(view != nullptr);
    std::strcpy(view, "theirs");

    CHECK(!link.Open(0, result));
    CHECK_EQ(result, 5u);
    CHECK(!link.IsOpen());
    CHECK_EQ(std::string(view), "theirs");
    CHECK_EQ(GlobalFindAtomA(taken.data()), 0);

    CHECK(link.Open(0, result));
    CHECK_EQ(AreaCounter(link.AreaName()), counter + 2);
    UnmapViewOfFile(view);
    CloseHandle(mapping);
}

} // namespace

int main() {
    return check::Run({
        {"no server window: 2", NoServerWindow},
        {"handshake under UIPCMAIN, reopen, wrong sim", Handshake},
        {"handshake under FS98MAIN", HandshakeUnderFs98Main},
        {"read cycle", ReadCycle},
        {"write", Write},
        {"server stops answering: 11", ServerStopsAnswering},
        {"server window gone: 12", ServerWindowGone},
        {"reply value not 1: 13", BadReplyValue},
        {"refused version: 7, and 14 under FS98MAIN", RefusedVersion},
        {"area name in use: 5", AreaNameInUse},
        {"simulator variables, reconnect after a server restart", SimulatorVariables},
    });
}
