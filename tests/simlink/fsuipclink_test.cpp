#include "fakeserver.h"
#include "simlink/fsuipclink.h"
#include "simlink/records.h"

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;
using Try = FakeServer::Try;

std::vector<std::byte> Bytes(std::initializer_list<int> values) {
    std::vector<std::byte> bytes;
    for (const int v : values)
        bytes.push_back(static_cast<std::byte>(v));
    return bytes;
}

std::vector<std::byte> Slice(const std::vector<std::byte>& all, std::size_t from, std::size_t n) {
    return {all.begin() + static_cast<std::ptrdiff_t>(from),
            all.begin() + static_cast<std::ptrdiff_t>(from + n)};
}

class LinkTest : public ::testing::Test {
protected:
    FakeServer server;
    FsuipcLink link{server.MakeTransport()};
    std::uint32_t result = 99;

    void OpenOk() {
        ASSERT_TRUE(link.Open(0, result)) << ResultText(result);
        server.requests.clear();
        server.sends = 0;
        server.sleeps.clear();
    }
};

// --- Open and the handshake ---

TEST_F(LinkTest, OpenSendsTheHandshakeAsLaidOut) {
    ASSERT_TRUE(link.Open(0, result));
    EXPECT_EQ(result, resultOkay);
    EXPECT_TRUE(link.IsOpen());
    EXPECT_EQ(link.FsuipcVersion(), 0x19980005u);
    EXPECT_EQ(link.FsVersion(), 6u);
    EXPECT_EQ(server.sends, 1);
    EXPECT_EQ(server.sleeps, std::vector<std::chrono::milliseconds>{100ms});

    const std::vector<std::byte>& batch = server.lastBatch;
    // Read 0x3304: id 1, offset, size 4, a token, 4 zero bytes.
    EXPECT_EQ(Slice(batch, 0, 12), Bytes({1, 0, 0, 0, 0x04, 0x33, 0, 0, 4, 0, 0, 0}));
    EXPECT_EQ(Slice(batch, 16, 4), Bytes({0, 0, 0, 0}));
    // Read 0x3308.
    EXPECT_EQ(Slice(batch, 20, 12), Bytes({1, 0, 0, 0, 0x08, 0x33, 0, 0, 4, 0, 0, 0}));
    EXPECT_EQ(Slice(batch, 36, 4), Bytes({0, 0, 0, 0}));
    // Write 0x330A of the library version's low bytes, then the terminator.
    EXPECT_EQ(Slice(batch, 40, 18),
              Bytes({2, 0, 0, 0, 0x0A, 0x33, 0, 0, 2, 0, 0, 0, 0xEC, 0x03, 0, 0, 0, 0}));
    const std::uint32_t token1 = records::LoadU32(batch.data() + 12);
    const std::uint32_t token2 = records::LoadU32(batch.data() + 32);
    EXPECT_NE(token1, 0u);
    EXPECT_NE(token2, 0u);
    EXPECT_NE(token1, token2);
    EXPECT_EQ(server.libraryVersion, 1004u);
}

TEST_F(LinkTest, HandshakeRepeatsWithoutTheVersionWriteUntilBothVersionsCome) {
    server.SetU32(0x3308, 0);
    server.beforeServe = [this](int send) {
        if (send == 3)
            server.SetU32(0x3308, 0xFADE0006);
    };
    ASSERT_TRUE(link.Open(0, result)) << ResultText(result);
    EXPECT_EQ(server.sends, 3);
    EXPECT_EQ(server.sleeps.size(), 3u);
    const auto writes = std::count_if(server.requests.begin(), server.requests.end(),
                                      [](const FakeServer::Request& r) { return r.write; });
    EXPECT_EQ(writes, 1);
}

TEST_F(LinkTest, HandshakeGivesUpAfterFivePasses) {
    server.SetU32(0x3304, 0);
    EXPECT_FALSE(link.Open(0, result));
    EXPECT_EQ(result, resultWrongVersion);
    EXPECT_EQ(server.sends, 5);
    EXPECT_EQ(server.sleeps.size(), 5u);
    EXPECT_FALSE(link.IsOpen());
}

TEST_F(LinkTest, VersionChecksRefuseWithSevenOrFourteen) {
    server.SetU32(0x3304, 0x19980004);
    EXPECT_FALSE(link.Open(0, result));
    EXPECT_EQ(result, resultWrongVersion);

    server.SetU32(0x3304, 0x19980005);
    server.SetU32(0x3308, 0xFADF0006);
    EXPECT_FALSE(link.Open(0, result));
    EXPECT_EQ(result, resultWrongVersion);

    server.server = Transport::Server::fs98Main;
    EXPECT_FALSE(link.Open(0, result));
    EXPECT_EQ(result, resultNoSimOnServer);
    EXPECT_FALSE(link.IsOpen());
    EXPECT_FALSE(server.areaHeld);
    EXPECT_EQ(server.atomsHeld, 0);

    server.SetU32(0x3308, 0xFADE0001);
    EXPECT_TRUE(link.Open(0, result)) << ResultText(result);
}

TEST_F(LinkTest, RequestedSimulatorMustMatch) {
    EXPECT_FALSE(link.Open(3, result));
    EXPECT_EQ(result, resultWrongSim);
    EXPECT_FALSE(link.IsOpen());
    EXPECT_TRUE(link.Open(6, result));
}

TEST_F(LinkTest, OpenOnAnOpenLinkReportsOneAndKeepsTheLink) {
    OpenOk();
    const std::string name = link.AreaName();
    EXPECT_FALSE(link.Open(0, result));
    EXPECT_EQ(result, resultAlreadyOpen);
    EXPECT_EQ(link.AreaName(), name);
    std::uint32_t version = 0;
    EXPECT_TRUE(link.Read(0x3304, 4, &version, result));
    EXPECT_TRUE(link.Process(result));
    EXPECT_EQ(version, 0x19980005u);
}

TEST_F(LinkTest, NoServerReportsTwoAndCreatesNothing) {
    server.server = Transport::Server::none;
    EXPECT_FALSE(link.Open(0, result));
    EXPECT_EQ(result, resultNoServer);
    EXPECT_TRUE(server.areaNames.empty());
    EXPECT_FALSE(server.areaHeld);
    EXPECT_EQ(server.sends, 0);
}

TEST_F(LinkTest, EachPlatformFailureHasItsCodeAndLeavesNothingHeld) {
    server.registerFails = true;
    EXPECT_FALSE(link.Open(0, result));
    EXPECT_EQ(result, resultNoMessage);
    EXPECT_TRUE(server.areaNames.empty());
    server.registerFails = false;

    server.atomFails = true;
    EXPECT_FALSE(link.Open(0, result));
    EXPECT_EQ(result, resultNoAtom);
    server.atomFails = false;

    server.createFails = true;
    EXPECT_FALSE(link.Open(0, result));
    EXPECT_EQ(result, resultNoMapping);
    server.createFails = false;

    server.mapFails = true;
    EXPECT_FALSE(link.Open(0, result));
    EXPECT_EQ(result, resultNoView);

    EXPECT_FALSE(server.serverHeld);
    EXPECT_EQ(server.atomsHeld, 0);
    EXPECT_FALSE(server.areaHeld);
    EXPECT_EQ(server.sends, 0);
}

TEST_F(LinkTest, AreaNamesCountUpInHexadecimal) {
    std::vector<std::string> names;
    for (int i = 0; i < 19; ++i) {
        ASSERT_TRUE(link.Open(0, result));
        names.push_back(link.AreaName());
        link.Close();
    }
    const std::string prefix = "FsasmLib:IPC:1A2B:";
    const unsigned first = std::stoul(names[0].substr(prefix.size()), nullptr, 16);
    for (std::size_t i = 0; i < names.size(); ++i) {
        char expected[40];
        std::snprintf(expected, sizeof expected, "%s%X", prefix.c_str(),
                      first + static_cast<unsigned>(i));
        EXPECT_EQ(names[i], expected);
    }
    // The counter belongs to the process, so where it starts depends on the tests run
    // before; among the first sixteen one ends in 9, and the two after it in A and B.
    const auto nine = std::find_if(names.begin(), names.begin() + 16,
                                   [](const std::string& n) { return n.ends_with('9'); });
    ASSERT_NE(nine, names.begin() + 16);
    EXPECT_TRUE(nine[1].ends_with('A'));
    EXPECT_TRUE(nine[2].ends_with('B'));
}

TEST_F(LinkTest, CloseReleasesEverythingAndMayBeRepeated) {
    OpenOk();
    link.Close();
    link.Close();
    EXPECT_FALSE(link.IsOpen());
    EXPECT_FALSE(server.serverHeld);
    EXPECT_EQ(server.atomsHeld, 0);
    EXPECT_FALSE(server.areaHeld);
    EXPECT_FALSE(server.viewHeld);
    EXPECT_FALSE(link.Process(result));
    EXPECT_EQ(result, resultNotOpen);
}

// --- Queueing and the request limit ---

TEST_F(LinkTest, ClosedLinkRefusesEveryCallWithNine) {
    std::uint32_t value = 0;
    EXPECT_FALSE(link.Read(0x3304, 4, &value, result));
    EXPECT_EQ(result, resultNotOpen);
    EXPECT_FALSE(link.Write(0x3304, 4, &value, result));
    EXPECT_EQ(result, resultNotOpen);
    EXPECT_FALSE(link.Process(result));
    EXPECT_EQ(result, resultNotOpen);
}

TEST_F(LinkTest, ReadLimitIs32492BytesOnAnEmptyQueue) {
    OpenOk();
    std::vector<std::byte> big(32493);
    EXPECT_FALSE(link.Read(0x1000, 32493, big.data(), result));
    EXPECT_EQ(result, resultFull);
    EXPECT_TRUE(link.Read(0x1000, 32492, big.data(), result));
    EXPECT_TRUE(link.Process(result)) << ResultText(result);
    EXPECT_EQ(records::LoadU32(server.lastBatch.data() + 16 + 32492), 0u);
}

TEST_F(LinkTest, WriteLimitIsFourBytesMore) {
    OpenOk();
    std::vector<std::byte> big(32497, std::byte{7});
    EXPECT_FALSE(link.Write(0x1000, 32497, big.data(), result));
    EXPECT_EQ(result, resultFull);
    EXPECT_TRUE(link.Write(0x1000, 32496, big.data(), result));
    EXPECT_TRUE(link.Process(result));
    ASSERT_EQ(server.requests.size(), 1u);
    EXPECT_EQ(server.requests[0].size, 32496u);
}

TEST_F(LinkTest, RefusedRequestLeavesTheQueueAsItWas) {
    OpenOk();
    std::uint32_t version = 0;
    ASSERT_TRUE(link.Read(0x3304, 4, &version, result));
    std::vector<std::byte> big(32492 - 20 + 1);
    EXPECT_FALSE(link.Read(0x1000, static_cast<std::uint32_t>(big.size()), big.data(), result));
    EXPECT_EQ(result, resultFull);
    EXPECT_TRUE(link.Read(0x1000, static_cast<std::uint32_t>(big.size() - 1), big.data(), result));
    EXPECT_TRUE(link.Process(result));
    EXPECT_EQ(version, 0x19980005u);
    EXPECT_EQ(server.requests.size(), 2u);
}

TEST_F(LinkTest, ProcessWithNothingQueuedGivesTenAndSendsNothing) {
    OpenOk();
    EXPECT_FALSE(link.Process(result));
    EXPECT_EQ(result, resultNothingQueued);
    EXPECT_EQ(server.sends, 0);

    std::uint32_t value = 0;
    link.Read(0x3304, 4, &value, result);
    EXPECT_TRUE(link.Process(result));
    EXPECT_FALSE(link.Process(result));
    EXPECT_EQ(result, resultNothingQueued);
    EXPECT_EQ(server.sends, 1);
}

// --- The reply walk ---

TEST_F(LinkTest, ReadsAndWritesRoundTrip) {
    OpenOk();
    const std::array<std::byte, 3> out{std::byte{1}, std::byte{2}, std::byte{3}};
    std::array<std::byte, 3> back{};
    std::array<std::byte, 0> nothing{};
    ASSERT_TRUE(link.Write(0x4000, 3, out.data(), result));
    ASSERT_TRUE(link.Read(0x4000, 0, nothing.data(), result));
    ASSERT_TRUE(link.Read(0x4000, 3, back.data(), result));
    ASSERT_TRUE(link.Process(result));
    EXPECT_EQ(back, out);
    EXPECT_EQ(Slice(server.lastBatch, 0, 15),
              Bytes({2, 0, 0, 0, 0, 0x40, 0, 0, 3, 0, 0, 0, 1, 2, 3}));
}

TEST_F(LinkTest, NullDestinationIsSentAndSkipped) {
    OpenOk();
    std::uint32_t version = 0;
    ASSERT_TRUE(link.Read(0x3308, 4, nullptr, result));
    ASSERT_TRUE(link.Read(0x3304, 4, &version, result));
    ASSERT_TRUE(link.Process(result));
    EXPECT_EQ(records::LoadU32(server.lastBatch.data() + 12), 0u);
    EXPECT_EQ(server.requests.size(), 2u);
    EXPECT_EQ(version, 0x19980005u);
}

TEST_F(LinkTest, UnknownIdEndsTheWalkAndIsCleared) {
    OpenOk();
    std::uint32_t first = 0;
    std::uint32_t second = 0xAAAA;
    link.Read(0x3304, 4, &first, result);
    link.Read(0x3308, 4, &second, result);
    server.afterServe = [](std::span<std::byte> area) {
        records::StoreU32(area.data() + 20, 7);
    };
    ASSERT_TRUE(link.Process(result));
    EXPECT_EQ(result, resultOkay);
    EXPECT_EQ(first, 0x19980005u);
    EXPECT_EQ(second, 0xAAAAu);
    EXPECT_EQ(records::LoadU32(server.Area().data() + 20), records::endId);
}

TEST_F(LinkTest, CorruptRecordsNeverLeadOutsideTheArea) {
    OpenOk();
    std::uint32_t value = 0x1234;
    const auto corruptions = std::vector<std::function<void(std::span<std::byte>)>>{
        // A size that runs past the end of the area.
        [](std::span<std::byte> a) { records::StoreU32(a.data() + 8, 0xFFFFFFF0); },
        [](std::span<std::byte> a) { records::StoreU32(a.data() + 8, records::areaSize); },
        // A token that no read of this batch has.
        [](std::span<std::byte> a) { records::StoreU32(a.data() + 12, 0x7FFF); },
        // A changed size with the right token: the buffer is only 4 bytes.
        [](std::span<std::byte> a) { records::StoreU32(a.data() + 8, 64); },
        // No terminator anywhere: the records go on to the last byte.
        [](std::span<std::byte> a) {
            for (std::size_t at = 0; at + 12 <= a.size(); at += 12) {
                records::StoreU32(a.data() + at, records::writeId);
                records::StoreU32(a.data() + at + 8, 0);
            }
        },
    };
    for (const auto& corrupt : corruptions) {
        link.Read(0x3304, 4, &value, result);
        server.afterServe = corrupt;
        EXPECT_TRUE(link.Process(result));
        EXPECT_EQ(value, 0x1234u);
    }
}

TEST_F(LinkTest, TimeOutOnEveryTryGivesElevenAfterNineTries) {
    OpenOk();
    std::uint32_t value = 0x1234;
    link.Read(0x3304, 4, &value, result);
    server.FailTries(Try::timeOut, 9);
    EXPECT_FALSE(link.Process(result));
    EXPECT_EQ(result, resultTimedOut);
    EXPECT_EQ(server.sends, 9);
    EXPECT_EQ(server.sleeps, std::vector<std::chrono::milliseconds>(9, 100ms));
    EXPECT_EQ(value, 0x1234u);
    EXPECT_TRUE(link.IsOpen());
    EXPECT_FALSE(link.Process(result));
    EXPECT_EQ(result, resultNothingQueued);
}

TEST_F(LinkTest, FailedSendsGiveTwelve) {
    OpenOk();
    std::uint32_t value = 0;
    link.Read(0x3304, 4, &value, result);
    server.FailTries(Try::timeOut, 8);
    server.FailTries(Try::fail, 1);
    EXPECT_FALSE(link.Process(result));
    EXPECT_EQ(result, resultSendFailed);
    EXPECT_EQ(server.sends, 9);
}

TEST_F(LinkTest, AnswerWithinTheTriesSucceeds) {
    OpenOk();
    std::uint32_t value = 0;
    link.Read(0x3304, 4, &value, result);
    server.FailTries(Try::fail, 8);
    EXPECT_TRUE(link.Process(result));
    EXPECT_EQ(server.sends, 9);
    EXPECT_EQ(value, 0x19980005u);
}

TEST_F(LinkTest, ReplyValueOtherThanOneGivesThirteen) {
    OpenOk();
    std::uint32_t value = 0x1234;
    link.Read(0x3304, 4, &value, result);
    server.replyValue = 2;
    EXPECT_FALSE(link.Process(result));
    EXPECT_EQ(result, resultBadData);
    EXPECT_EQ(value, 0x1234u);
}

TEST_F(LinkTest, HandshakeFailureReportsTheExchangeCodeAndCloses) {
    server.FailTries(Try::timeOut, 9);
    EXPECT_FALSE(link.Open(0, result));
    EXPECT_EQ(result, resultTimedOut);
    EXPECT_FALSE(link.IsOpen());
    EXPECT_FALSE(server.areaHeld);
}

TEST_F(LinkTest, TimingComesFromTheConfiguration) {
    FakeServer quick;
    FsuipcLink shortLink(quick.MakeTransport(), {50ms, 1ms, 3});
    ASSERT_TRUE(shortLink.Open(0, result));
    std::uint32_t value = 0;
    shortLink.Read(0x3304, 4, &value, result);
    quick.FailTries(Try::timeOut, 3);
    quick.sleeps.clear();
    EXPECT_FALSE(shortLink.Process(result));
    EXPECT_EQ(quick.sleeps, std::vector<std::chrono::milliseconds>(3, 1ms));
}

TEST(ResultTextTest, EveryCodeHasItsText) {
    EXPECT_EQ(ResultText(0), "Okay");
    EXPECT_EQ(ResultText(11), "IPC timed out all retries");
    EXPECT_EQ(ResultText(14),
              "Maybe running on WideClient, but FS not running on Server, or wrong FSUIPC");
    EXPECT_EQ(ResultText(15), "Read or Write request cannot be added, memory for Process is full");
    EXPECT_EQ(ResultText(16), "");
}

} // namespace
