// The stand-in simulator: its variables, flight model and replay of a flight log on their
// own, then the program's link against the real brevan-sim, also frozen, killed and
// restarted.

#include "builders.h"
#include "flight/igcwriter.h"
#include "geo/offset.h"
#include "options.h"
#include "replay.h"
#include "rowname.h"
#include "simlink/fsupic.h"
#include "simlink/posixtransport.h"
#include "simprocess.h"
#include "simstate.h"
#include "variables.h"

#include <bit>
#include <cmath>
#include <csignal>
#include <cstring>

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

template <typename T> T Read(SimVariables& space, std::uint32_t offset) {
    std::array<std::byte, sizeof(T)> bytes{};
    space.ReadOffset(offset, bytes);
    return std::bit_cast<T>(bytes);
}

template <typename T> void Write(SimVariables& space, std::uint32_t offset, T value) {
    space.WriteOffset(offset, std::bit_cast<std::array<std::byte, sizeof(T)>>(value));
}

TEST(StandInTest, FlightModelClimbsWithTheStrengthAboveTheGround) {
    // 0.001 degrees a second east along the equator, over flat ground at sea level.
    SimState state{.lat = 0, .lon = 0, .heading = 90, .speed = 111.195, .flatGround = 0};
    for (const auto& [strength, climb] :
         std::vector<std::pair<int, double>>{{0, -8}, {40, 0}, {41, 0.2}, {255, 43}}) {
        state.altitude = 1000;
        state.strength = strength;
        Advance(state, 10);
        EXPECT_NEAR(state.altitude, 1000 + climb, 1e-9) << strength;
    }
    EXPECT_NEAR(state.lon, 0.04, 1e-9);
    EXPECT_NEAR(state.lat, 0, 1e-9);
    state.altitude = 3;
    state.strength = 0;
    Advance(state, 10);
    EXPECT_EQ(state.altitude, 0);
}

// Refused, it changes nothing.
TEST(StandInTest, ABadOptionIsRefusedWithItsName) {
    struct Row {
        std::vector<std::string> args;
        std::string message;
    };
    for (const auto& [args, message] :
         {Row{{"--lat", "91"}, "bad lat '91': a number from -90 to 90 is needed"},
          Row{{"--lon", "nan"}, "bad lon 'nan': a number from -180 to 180 is needed"},
          Row{{"--block", "yes"}, "bad block 'yes': on or off is needed"},
          Row{{"--ground", "-500.5"}, "bad ground '-500.5': a number from -500 to 9000 is needed"},
          Row{{"--sim", "65536"}, "bad sim '65536': a code from 0 to 65535 is needed"},
          Row{{"--fsuipc-version", "0x"}, "bad fsuipc-version '0x'"},
          Row{{"--answer", "off"}, "unknown option --answer"}, // for scripts only
          Row{{"--altitude"}, "option --altitude needs a value"},
          Row{{"--seek", "10"}, "seek needs --replay"},
          // A replay's log gives the position; its speed is a time factor.
          Row{{"--lat", "4", "--replay", "x.igc"}, "lat is the log's in a replay"},
          Row{{"--replay", "x.igc", "--speed", "1001"},
              "bad speed '1001': a number from 0 to 1000 is needed"},
          Row{{"--replay", "x.igc", "--seek", "24:00:00"},
              "bad seek '24:00:00': a number from 0 to 1000000 is needed, or a UTC time "
              "hh:mm:ss"}}) {
        SimOptions options;
        std::string error;
        EXPECT_FALSE(ParseOptions(args, options, error));
        EXPECT_EQ(error, message);
        EXPECT_TRUE(options.state.lat == SimState{}.lat && options.state.strength == 0) << error;
    }
}

TEST(StandInTest, ServesOnlyItsOwnVariables) {
    SimState state{.strength = 99, .blockPresent = false, .flatGround = {}};
    SimVariables space(state, 0x19980005, 0xFADE0003);
    EXPECT_EQ(Read<std::uint64_t>(space, 0x2AE0), 0x0063000000000000u); // no mark
    // A write where nothing is served leaves nothing to read, nor one past the 64 KiB.
    Write<std::uint64_t>(space, 0x1000, ~0ull);
    Write<std::uint64_t>(space, 0xFFFC, ~0ull);
    EXPECT_EQ(std::tuple(Read<std::uint64_t>(space, 0x1000), Read<std::uint64_t>(space, 0xFFFC),
                         Read<std::uint32_t>(space, 0x12345678)),
              std::tuple(0u, 0u, 0u));
    Write<std::uint16_t>(space, 0x2AE5, 0x0900); // across the strength byte
    Write<double>(space, 0x30B0, 3.5);
    Write<double>(space, 0x30B0, std::nan(""));
    // The roll rate is applied, not served.
    EXPECT_EQ(std::tuple(state.strength, state.rollRate, Read<double>(space, 0x30B0)),
              std::tuple(9, 3.5, 0.0));
    // The client's version lands inside the FS version; the next handshake reads both again.
    Write<std::uint16_t>(space, 0x330A, 1004);
    EXPECT_EQ(Read<std::uint32_t>(space, 0x3308), 0xFADE0003u);
}

// The vertical air comes with the byte and lifts or sinks the glider in its place; a byte
// written alone, as a program that does not send the air writes it, is the lift again.
TEST(StandInTest, VerticalAirWrittenAfterTheByteIsTheLiftUntilAByteComesAlone) {
    SimState state{.altitude = 1000, .speed = 0, .flatGround = 0};
    SimVariables space(state, 0x19980005, 0xFADE0003);
    const auto climbIn10s = [&] {
        const double before = state.altitude;
        Advance(state, 10);
        return state.altitude - before;
    };
    Write<std::uint8_t>(space, 0x2AE6, 0);
    Write<std::int16_t>(space, 0xBEA0, -120);
    EXPECT_NEAR(climbIn10s(), -20, 1e-9); // 1.2 m/s of sink and its own 0.8
    EXPECT_EQ(Read<std::uint8_t>(space, 0x2AE6), 0);
    Write<std::uint8_t>(space, 0x2AE6, 90);
    EXPECT_NEAR(climbIn10s(), 10, 1e-9);
}

struct ReplayRow {
    const char* name;
    std::optional<ReplaySeek> seek;
    double realSeconds = 0;
    double factor = 1;
    bool paused = false;
    double clockS = 0, eastM = 0, northM = 0, altitudeM = 0, headingDeg = 0; // where it is then
};

class ReplayTable : public ::testing::TestWithParam<ReplayRow> {};

constexpr GeoPoint kTakeOff{46, 7};

// Fixes from 23:59:50: 200 m east in 10 s, at the same second 100 m north, 200 m more
// north in 20 s.
TEST_P(ReplayTable, PutsTheAircraftBetweenTheFixesAroundItsClock) {
    const ReplayRow& row = GetParam();
    std::string log;
    for (const auto& [second, east, north, altitude] : {std::tuple{0, 0, 0, 1000},
                                                        {10, 200, 0, 1100},
                                                        {10, 200, 100, 1200},
                                                        {30, 200, 300, 1000}})
        log += IgcFixLine(86390 + second, Moved(kTakeOff, {double(east), double(north)}), altitude);
    auto replay = Replay::FromLog(ReadIgcFile(log));
    ASSERT_TRUE(replay);
    SimState state{
        .flatGround = {}, .replaying = true, .replayFactor = row.factor, .replaySeek = row.seek};
    replay->Advance(state, 0);
    state.paused = row.paused;
    replay->Advance(state, row.realSeconds);
    const GeoOffset at = OffsetBetween(kTakeOff, {state.lat, state.lon});
    EXPECT_NEAR(replay->ClockS(), row.clockS, 1e-9);
    // The log keeps positions to a thousandth of a minute: a metre or two.
    EXPECT_NEAR(at.eastM, row.eastM, 1);
    EXPECT_NEAR(at.northM, row.northM, 1);
    EXPECT_NEAR(state.altitude, row.altitudeM, 1e-6);
    EXPECT_NEAR(state.heading, row.headingDeg, 0.5);
}

const ReplayRow kClock[] = {
    {"TakeOff", {}, 0, 1, false, 0, 0, 0, 1000, 90},
    {"TenTimesFaster", {}, 0.5, 10, false, 5, 100, 0, 1050, 90},
    {"Paused", {}, 5, 1, true, 0, 0, 0, 1000, 90},
    {"TimeStandsStill", ReplaySeek{10}, 0, 1, false, 10, 200, 100, 1200, 0},
    {"HalfwayNorth", ReplaySeek{15}, 5, 1, false, 20, 200, 200, 1100, 0},
    {"PastTheEnd", ReplaySeek{100}, 0, 1, false, 30, 200, 300, 1000, 0},
    {"TimeOfDayAfterMidnight", ReplaySeek{10, true}, 0, 1, false, 20, 200, 200, 1100, 0},
    {"TimeOfDayBeforeMidnight", ReplaySeek{86395, true}, 0, 1, false, 5, 100, 0, 1050, 90}};
INSTANTIATE_TEST_SUITE_P(Clock, ReplayTable, ::testing::ValuesIn(kClock), RowName);

// Short waits, so that a frozen or dead stand-in is noticed within a third of a second.
constexpr LinkTiming quick{30ms, 1ms, 9};

// The stand-in's values, the writes taking effect, then the stand-in frozen: it times out
// and is linked again once continued. Killed, it fails the send (its socket file stays
// behind, as after a crash); an old one restarted under FS98MAIN is refused with 14, and a
// restart after that is linked with a fresh area.
TEST(StandInLinkTest, LinkFollowsTheStandInFrozenKilledOrRestarted) {
    SimProcess sim;
    sim.Start({"--lat", "47.25", "--lon", "-8.5", "--heading", "270", "--ground", "0.5",
               "--altitude", "1200", "--speed", "0", "--strength", "40", "--sim", "3"});
    const auto link = std::make_unique<FSUPIC>(std::make_unique<PosixTransport>(), quick);
    const auto cycle = [&] {
        link->ReadCycle();
        return link->Result();
    };
    ASSERT_EQ(cycle(), LinkResult::okay);
    EXPECT_NEAR(link->Position()->lat, 47.25, 1e-9);
    EXPECT_NEAR(link->Position()->lon, -8.5, 1e-9);
    EXPECT_EQ(std::tuple(link->Link().FsVersion(), link->GetGroundAlt(), link->GetHeading(),
                         link->ThermalBlockPresent(), link->GetMsStrength()),
              std::tuple(3u, 0.5, -90.0, true, 40));

    ASSERT_EQ(::kill(sim.Pid(), SIGSTOP), 0);
    EXPECT_EQ(cycle(), LinkResult::timedOut);  // the cycle's exchange
    EXPECT_EQ(cycle(), LinkResult::timedOut);  // the handshake: the socket still takes connections
    EXPECT_NEAR(link->GetAltitude(), 1200, 1); // strength 40 holds it level
    ASSERT_EQ(::kill(sim.Pid(), SIGCONT), 0);
    EXPECT_EQ(cycle(), LinkResult::okay);

    link->MoveAircraft({-33.5, 151.25});
    link->SetMsStrength(255);
    EXPECT_EQ(cycle(), LinkResult::okay);
    EXPECT_NEAR(link->Position()->lat, -33.5, 1e-9);
    EXPECT_NEAR(link->Position()->lon, 151.25, 1e-9);
    EXPECT_EQ(link->GetMsStrength(), 255);
    // The climb shows within seconds.
    EXPECT_TRUE(Eventually(
        [&] {
            link->ReadCycle();
            return link->GetAltitude() > 1201;
        },
        5s, 10ms));

    sim.Kill();
    const std::string firstArea = link->Link().AreaName();
    EXPECT_EQ(cycle(), LinkResult::sendFailed);
    EXPECT_EQ(cycle(), LinkResult::noServer);
    sim.Start({"--fsuipc-version", "0x19980004", "--fs98"}, posixipc::fs98MainSocket);
    EXPECT_EQ(cycle(), LinkResult::noSimOnServer);
    EXPECT_EQ(link->Link().FsuipcVersion(), 0x19980004u); // read as given, in hex
    sim.Kill();
    sim.Start({"--speed", "0", "--altitude", "900", "--strength", "40"});
    EXPECT_EQ(cycle(), LinkResult::okay);
    EXPECT_NEAR(link->GetAltitude(), 900, 1);
    EXPECT_NE(link->Link().AreaName(), firstArea);
}

} // namespace
