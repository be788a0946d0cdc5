#include "fakeserver.h"
#include "simlink/fsupic.h"

#include <cmath>
#include <cstring>
#include <limits>

#include <gtest/gtest.h>

namespace {

using Try = FakeServer::Try;

constexpr std::uint32_t latLon = 0x0560;
constexpr std::uint32_t ground = 0x0020;
constexpr std::uint32_t altitude = 0x0574;
constexpr std::uint32_t heading = 0x0580;
constexpr std::uint32_t block = 0x2AE0;

double Double(const std::vector<std::byte>& bytes) {
    double value = 0;
    std::memcpy(&value, bytes.data(), sizeof value);
    return value;
}

std::int64_t I64(const std::vector<std::byte>& bytes, std::size_t at) {
    std::int64_t value = 0;
    std::memcpy(&value, bytes.data() + at, sizeof value);
    return value;
}

class FsupicTest : public ::testing::Test {
protected:
    FakeServer server;

    FsupicTest() {
        server.SetU64(latLon, 22433198779778846);      // 47 degrees north
        server.SetU64(latLon + 8, 0x1000000000000000); // 22.5 degrees east
        server.SetU32(ground, 256 * 412 + 0x80);
        server.SetU32(altitude, 1234);
        server.SetU32(heading, 0xC0000000);
        server.SetU64(block, 0x4017000000000000); // strength 0x17, mark 0x40
    }

    // Only the writes, in order.
    std::vector<FakeServer::Request> Writes() const {
        std::vector<FakeServer::Request> writes;
        for (const auto& r : server.requests)
            if (r.write)
                writes.push_back(r);
        return writes;
    }
};

TEST_F(FsupicTest, BeforeAnySimulatorEverythingReadsZero) {
    server.server = Transport::Server::none;
    FSUPIC link(server.MakeTransport());
    link.ReadCycle();
    EXPECT_EQ(link.LinkResult(), resultNoServer);
    EXPECT_EQ(link.GetLat(), 0);
    EXPECT_EQ(link.GetLon(), 0);
    EXPECT_EQ(link.GetGroundAlt(), 0);
    EXPECT_EQ(link.GetAltitude(), 0);
    EXPECT_EQ(link.GetHeading(), 0);
    EXPECT_FALSE(link.ThermalBlockPresent());
    EXPECT_EQ(link.GetMsStrength(), 0);
    EXPECT_EQ(server.sends, 0);
}

TEST_F(FsupicTest, ReadCycleIsOneExchangeOfFourReads) {
    FSUPIC link(server.MakeTransport());
    ASSERT_EQ(link.LinkResult(), resultOkay);
    server.requests.clear();
    server.sends = 0;
    link.ReadCycle();
    EXPECT_EQ(server.sends, 1);
    ASSERT_EQ(server.requests.size(), 4u);
    const std::pair<std::uint32_t, std::uint32_t> expected[] = {
        {latLon, 16}, {ground, 4}, {altitude, 4}, {block, 8}};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_FALSE(server.requests[i].write);
        EXPECT_EQ(server.requests[i].offset, expected[i].first);
        EXPECT_EQ(server.requests[i].size, expected[i].second);
    }
}

TEST_F(FsupicTest, CachedValuesComeInProgramUnits) {
    FSUPIC link(server.MakeTransport());
    link.ReadCycle();
    EXPECT_NEAR(link.GetLat(), 47.0, 1e-12);
    EXPECT_DOUBLE_EQ(link.GetLon(), 22.5);
    EXPECT_DOUBLE_EQ(link.GetGroundAlt(), 412.5);
    EXPECT_EQ(link.GetAltitude(), 1234);
    EXPECT_TRUE(link.ThermalBlockPresent());
    EXPECT_EQ(link.GetMsStrength(), 0x17);

    server.SetU32(ground, 256);
    server.SetU64(latLon, static_cast<std::uint64_t>(-0x1000000000000000));
    link.ReadCycle();
    EXPECT_DOUBLE_EQ(link.GetGroundAlt(), 1.0);
    EXPECT_DOUBLE_EQ(link.GetLat(), -0x1000000000000000 * 90.0 / (10001750.0 * 4294967296.0));
}

TEST_F(FsupicTest, HeadingIsSignedAndMakesItsOwnExchange) {
    FSUPIC link(server.MakeTransport());
    server.sends = 0;
    EXPECT_DOUBLE_EQ(link.GetHeading(), -90.0);
    EXPECT_EQ(server.sends, 1);
    server.SetU32(heading, 0x40000000);
    EXPECT_DOUBLE_EQ(link.GetHeading(), 90.0);
    server.SetU32(heading, 0x80000000);
    EXPECT_DOUBLE_EQ(link.GetHeading(), -180.0);
}

TEST_F(FsupicTest, FailedHeadingExchangeTakesTheLinkDownAndKeepsTheLastValue) {
    FSUPIC link(server.MakeTransport());
    ASSERT_DOUBLE_EQ(link.GetHeading(), -90.0);
    server.replyValue = 0;
    server.SetU32(heading, 0x40000000);
    EXPECT_DOUBLE_EQ(link.GetHeading(), -90.0);
    EXPECT_EQ(link.LinkResult(), 1u);
    EXPECT_FALSE(link.Link().IsOpen());
}

TEST_F(FsupicTest, ThermalBlockNeedsSixZeroBytesAndTheMark) {
    FSUPIC link(server.MakeTransport());
    server.SetU64(block, 0x40FF000000000000);
    link.ReadCycle();
    EXPECT_TRUE(link.ThermalBlockPresent());
    EXPECT_EQ(link.GetMsStrength(), 255);
    server.SetU64(block, 0x4000000000000100);
    link.ReadCycle();
    EXPECT_FALSE(link.ThermalBlockPresent());
    server.SetU64(block, 0x4100000000000000);
    link.ReadCycle();
    EXPECT_FALSE(link.ThermalBlockPresent());
}

TEST_F(FsupicTest, FailedCycleGoesDownKeepsTheCacheAndReconnectsWithAFreshArea) {
    FSUPIC link(server.MakeTransport());
    link.ReadCycle();
    const std::string firstArea = link.Link().AreaName();

    server.FailTries(Try::timeOut, 9);
    server.SetU32(altitude, 999);
    link.ReadCycle();
    EXPECT_EQ(link.LinkResult(), 1u);
    EXPECT_FALSE(link.Link().IsOpen());
    EXPECT_EQ(link.GetAltitude(), 1234);
    EXPECT_DOUBLE_EQ(link.GetLon(), 22.5);

    server.sends = 0;
    link.ReadCycle();
    EXPECT_EQ(link.LinkResult(), resultOkay);
    EXPECT_EQ(server.sends, 2); // the handshake, then the cycle
    EXPECT_EQ(link.GetAltitude(), 999);
    EXPECT_NE(link.Link().AreaName(), firstArea);
}

TEST_F(FsupicTest, LinkThatStaysDownRetriesOnEveryCycle) {
    server.server = Transport::Server::none;
    FSUPIC link(server.MakeTransport());
    link.ReadCycle();
    EXPECT_EQ(link.LinkResult(), resultNoServer);
    server.server = Transport::Server::uipcMain;
    link.ReadCycle();
    EXPECT_EQ(link.LinkResult(), resultOkay);
    EXPECT_EQ(link.GetAltitude(), 1234);
}

TEST_F(FsupicTest, StrengthIsOneByteHeldWithinItsRange) {
    FSUPIC link(server.MakeTransport());
    for (const int value : {0, 17, 255, 256, 1000, -1}) {
        server.requests.clear();
        link.SetMsStrength(value);
        ASSERT_EQ(Writes().size(), 1u);
        EXPECT_EQ(Writes()[0].offset, 0x2AE6u);
        ASSERT_EQ(Writes()[0].bytes.size(), 1u);
        EXPECT_EQ(std::to_integer<int>(Writes()[0].bytes[0]), std::clamp(value, 0, 255));
    }
}

TEST_F(FsupicTest, RollRateIsAnEightByteDouble) {
    FSUPIC link(server.MakeTransport());
    server.requests.clear();
    link.SetRollRate(-12.75);
    ASSERT_EQ(Writes().size(), 1u);
    EXPECT_EQ(Writes()[0].offset, 0x30B0u);
    EXPECT_EQ(Double(Writes()[0].bytes), -12.75);

    server.requests.clear();
    link.SetRollRate(std::numeric_limits<double>::quiet_NaN());
    EXPECT_TRUE(Writes().empty());
}

TEST_F(FsupicTest, FailedWritesLeaveTheLinkUp) {
    FSUPIC link(server.MakeTransport());
    server.FailTries(Try::fail, 18);
    link.SetMsStrength(3);
    link.SetRollRate(1.0);
    EXPECT_EQ(link.LinkResult(), resultOkay);
    EXPECT_TRUE(link.Link().IsOpen());
}

TEST_F(FsupicTest, MoveAircraftWritesSixteenBytesAtThePosition) {
    FSUPIC link(server.MakeTransport());
    server.requests.clear();
    link.MoveAircraft(0, 0);
    ASSERT_EQ(Writes().size(), 1u);
    EXPECT_EQ(Writes()[0].offset, 0x0560u);
    EXPECT_EQ(Writes()[0].bytes, std::vector<std::byte>(16));

    server.requests.clear();
    link.MoveAircraft(1.0, -1.0);
    ASSERT_EQ(Writes().size(), 1u);
    EXPECT_EQ(I64(Writes()[0].bytes, 0), 477302101697422);
    EXPECT_EQ(I64(Writes()[0].bytes, 8), -51240955760304312);
    EXPECT_NEAR(link.GetLat(), 1.0, 1e-12);
    EXPECT_NEAR(link.GetLon(), -1.0, 1e-12);
}

TEST_F(FsupicTest, MoveAircraftWhileDownMovesTheCacheOnly) {
    server.server = Transport::Server::none;
    FSUPIC link(server.MakeTransport());
    link.MoveAircraft(47.25, 8.5);
    EXPECT_NEAR(link.GetLat(), 47.25, 1e-9);
    EXPECT_NEAR(link.GetLon(), 8.5, 1e-9);
    EXPECT_EQ(server.sends, 0);

    server.server = Transport::Server::uipcMain;
    link.ReadCycle();
    EXPECT_DOUBLE_EQ(link.GetLon(), 22.5);
}

TEST_F(FsupicTest, MoveAircraftToTheDateLineStaysInRange) {
    FSUPIC link(server.MakeTransport());
    link.MoveAircraft(90, 180);
    EXPECT_NEAR(link.GetLon(), 180.0, 1e-9);
    EXPECT_NEAR(link.GetLat(), 90.0, 1e-9);
    link.MoveAircraft(-90, -180);
    EXPECT_DOUBLE_EQ(link.GetLon(), -180.0);

    server.requests.clear();
    link.MoveAircraft(std::numeric_limits<double>::infinity(), 0);
    EXPECT_TRUE(Writes().empty());
    EXPECT_DOUBLE_EQ(link.GetLon(), -180.0);
}

TEST_F(FsupicTest, WritesAreSkippedWhileDown) {
    server.server = Transport::Server::none;
    FSUPIC link(server.MakeTransport());
    link.SetMsStrength(5);
    link.SetRollRate(2.0);
    EXPECT_EQ(server.sends, 0);
}

} // namespace
