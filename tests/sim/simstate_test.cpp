#include "options.h"
#include "requestlog.h"
#include "simstate.h"
#include "terrain.h"
#include "variables.h"

#include <cmath>
#include <cstring>
#include <sstream>

#include <gtest/gtest.h>

namespace {

template <typename T> T Read(SimVariables& space, std::uint32_t offset) {
    std::array<std::byte, sizeof(T)> bytes{};
    space.ReadOffset(offset, bytes);
    T value;
    std::memcpy(&value, bytes.data(), sizeof value);
    return value;
}

template <typename T> void Write(SimVariables& space, std::uint32_t offset, T value) {
    std::array<std::byte, sizeof(T)> bytes{};
    std::memcpy(bytes.data(), &value, sizeof value);
    space.WriteOffset(offset, bytes);
}

TEST(SimSettingsTest, ValuesAreCheckedAndBadOnesChangeNothing) {
    SimState state;
    std::string error;
    EXPECT_TRUE(ApplySetting(state, "heading", "-90", error));
    EXPECT_EQ(state.heading, 270);
    EXPECT_TRUE(ApplySetting(state, "speed", "72", error));
    EXPECT_DOUBLE_EQ(state.speed, 20);
    EXPECT_TRUE(ApplySetting(state, "ground", "12.5", error));
    EXPECT_EQ(state.flatGround, 12.5);
    EXPECT_TRUE(ApplySetting(state, "ground", "terrain", error));
    EXPECT_FALSE(state.flatGround);
    EXPECT_TRUE(ApplySetting(state, "block", "off", error));
    EXPECT_FALSE(state.blockPresent);

    const SimState before = state;
    EXPECT_FALSE(ApplySetting(state, "lat", "91", error));
    EXPECT_NE(error.find("bad lat '91'"), std::string::npos);
    EXPECT_FALSE(ApplySetting(state, "strength", "256", error));
    EXPECT_FALSE(ApplySetting(state, "lon", "nan", error));
    EXPECT_FALSE(ApplySetting(state, "altitude", "1e3x", error));
    EXPECT_FALSE(ApplySetting(state, "block", "yes", error));
    EXPECT_FALSE(ApplySetting(state, "wind", "3", error));
    EXPECT_EQ(error, "unknown setting 'wind'");
    EXPECT_EQ(state.lat, before.lat);
    EXPECT_EQ(state.strength, before.strength);
    EXPECT_TRUE(state.answering);
}

TEST(SimSettingsTest, CommandLineTakesSettingsAndItsOwnOptions) {
    SimOptions options;
    std::string error;
    ASSERT_TRUE(ParseOptions(
        {"--lat", "47", "--sim", "2", "--fsuipc-version", "0x19990000", "--fs98", "--log", "x.log"},
        options, error))
        << error;
    EXPECT_EQ(options.state.lat, 47);
    EXPECT_EQ(options.simCode, 2u);
    EXPECT_EQ(options.fsuipcVersion, 0x19990000u);
    EXPECT_TRUE(options.fs98);
    EXPECT_EQ(options.log, "x.log");

    EXPECT_FALSE(ParseOptions({"--answer", "off"}, options, error));
    EXPECT_EQ(error, "unknown option --answer");
    EXPECT_FALSE(ParseOptions({"--lat"}, options, error));
    EXPECT_EQ(error, "option --lat needs a value");
    EXPECT_FALSE(ParseOptions({"--sim", "70000"}, options, error));
    EXPECT_FALSE(ParseOptions({"stray"}, options, error));
}

TEST(SimScriptTest, StepsComeInTimeOrder) {
    std::istringstream in("# a comment\r\n\n2 strength 40\r\n0.5 heading 90\n1 answer off\n");
    std::vector<ScriptStep> steps;
    std::string error;
    ASSERT_TRUE(ParseScript(in, steps, error)) << error;
    ASSERT_EQ(steps.size(), 3u);
    EXPECT_EQ(steps[0].time, 0.5);
    EXPECT_EQ(steps[0].key, "heading");
    EXPECT_EQ(steps[1].key, "answer");
    EXPECT_EQ(steps[2].value, "40");
}

TEST(SimScriptTest, BadLinesAreNamed) {
    for (const auto& [text, message] : std::vector<std::pair<std::string, std::string>>{
             {"1 lat 40\nsoon lat 41\n", "script line 2: bad time 'soon'"},
             {"-1 lat 40\n", "script line 1: bad time '-1'"},
             {"1 lat\n", "script line 1: expected SECONDS KEY VALUE"},
             {"1 lat 40 41\n", "script line 1: expected SECONDS KEY VALUE"},
             {"\n\n3 lat 400\n", "script line 3: bad lat '400'"},
         }) {
        std::istringstream in(text);
        std::vector<ScriptStep> steps;
        std::string error;
        EXPECT_FALSE(ParseScript(in, steps, error));
        EXPECT_EQ(error.substr(0, message.size()), message) << error;
    }
}

TEST(SimFlightTest, FliesAlongItsHeadingAndSinks) {
    SimState state;
    state.lat = 0;
    state.lon = 0;
    state.heading = 90;
    state.speed = 111.195;
    state.altitude = 1000;
    state.flatGround = 0;
    Advance(state, 10);
    EXPECT_NEAR(state.lon, 0.01, 1e-9);
    EXPECT_NEAR(state.lat, 0, 1e-9);
    EXPECT_NEAR(state.altitude, 1000 - 8, 1e-9);

    state.strength = 100; // 2 m/s of lift against 0.8 of sink
    Advance(state, 10);
    EXPECT_NEAR(state.altitude, 1004, 1e-9);
}

TEST(SimFlightTest, CirclesComeBackRoundAndNeverGoBelowTheGround) {
    SimState state;
    state.circleSeconds = -20;
    state.heading = 10;
    state.altitude = 0;
    Advance(state, 5);
    EXPECT_NEAR(state.heading, 280, 1e-9);
    Advance(state, 15);
    EXPECT_NEAR(state.heading, 10, 1e-9);
    EXPECT_EQ(state.altitude, GroundElevation(state));
}

TEST(SimFlightTest, TerrainIsSmoothAndWithinItsRange) {
    double lowest = 1e9;
    double highest = -1e9;
    for (double lat = 46; lat < 47; lat += 0.01) {
        for (double lon = 7; lon < 8; lon += 0.01) {
            const double here = TerrainElevation(lat, lon);
            lowest = std::min(lowest, here);
            highest = std::max(highest, here);
            // 11 m further on the ground changes by a few metres at most.
            EXPECT_LT(std::abs(TerrainElevation(lat + 0.0001, lon) - here), 10);
        }
    }
    EXPECT_GE(lowest, 40);
    EXPECT_LE(highest, 1000);
    EXPECT_GT(highest - lowest, 300); // hills and valleys, not a plain
}

TEST(SimVariablesTest, ServesTheStateInRawUnits) {
    SimState state;
    state.heading = 270;
    state.flatGround = 0.5;
    state.lat = 90;
    state.lon = -180;
    state.altitude = 1234.9;
    state.strength = 99;
    SimVariables space(state, 0x19980005, 0xFADE0006);
    EXPECT_EQ(Read<std::uint32_t>(space, 0x0580), 0xC0000000u);
    EXPECT_EQ(Read<std::int32_t>(space, 0x0020), 0x80);
    EXPECT_EQ(Read<std::int32_t>(space, 0x0574), 1234);
    EXPECT_EQ(Read<std::int64_t>(space, 0x0560), 10001750LL << 32);
    EXPECT_EQ(Read<std::int64_t>(space, 0x0568), INT64_MIN);
    EXPECT_EQ(Read<std::uint64_t>(space, 0x2AE0), 0x4063000000000000u);
    state.blockPresent = false;
    EXPECT_EQ(Read<std::uint64_t>(space, 0x2AE0), 0x0063000000000000u);
    // Past the end of the memory reads as zeros.
    EXPECT_EQ(Read<std::uint64_t>(space, 0xFFFC), 0u);
    EXPECT_EQ(Read<std::uint32_t>(space, 0x12345678), 0u);
}

TEST(SimVariablesTest, WritesMoveTheGliderAndSetTheStrength) {
    SimState state;
    SimVariables space(state, 0x19980005, 0xFADE0006);
    Write<std::int64_t>(space, 0x0560, -(10001750LL << 32) / 2);
    EXPECT_DOUBLE_EQ(state.lat, -45);
    Write<std::int64_t>(space, 0x0568, 1LL << 61);
    EXPECT_DOUBLE_EQ(state.lon, 45);
    Write<std::uint8_t>(space, 0x2AE6, 200);
    EXPECT_EQ(state.strength, 200);
    Write<double>(space, 0x30B0, 3.5);
    EXPECT_EQ(state.rollRate, 3.5);
    Write<double>(space, 0x30B0, std::nan(""));
    EXPECT_EQ(state.rollRate, 3.5);
    Write<std::uint64_t>(space, 0xFFFC, ~0ull); // runs past the end: the rest is dropped
}

TEST(SimVariablesTest, VersionWriteLeavesTheVersionsForTheNextHandshake) {
    SimState state;
    SimVariables space(state, 0x19980005, 0xFADE0004);
    Write<std::uint16_t>(space, 0x330A, 1004);
    EXPECT_EQ(Read<std::uint32_t>(space, 0x3304), 0x19980005u);
    EXPECT_EQ(Read<std::uint32_t>(space, 0x3308), 0xFADE0004u);
}

TEST(RequestLogTest, OneJsonLinePerRecord) {
    SimState state;
    SimVariables space(state, 0x19980005, 0xFADE0006);
    std::ostringstream out;
    RequestLog log(out, space);
    std::array<std::byte, 4> data{std::byte{0xEC}, std::byte{0x03}, std::byte{0}, std::byte{255}};
    log.WriteOffset(0x330A, std::span(data).first(2));
    log.ReadOffset(0x3304, data);
    EXPECT_EQ(Read<std::uint32_t>(space, 0x3304), 0x19980005u);

    std::istringstream lines(out.str());
    std::string line;
    std::getline(lines, line);
    EXPECT_TRUE(line.starts_with(R"({"time":)"));
    EXPECT_TRUE(line.ends_with(R"(,"op":"write","offset":13066,"size":2,"bytes":"ec03"})")) << line;
    std::getline(lines, line);
    EXPECT_TRUE(line.ends_with(R"(,"op":"read","offset":13060,"size":4})")) << line;
}

} // namespace
