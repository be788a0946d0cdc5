// The request codec and the variable cache over the in-process fake server.

#include "coretest.h"
#include "fakeserver.h"
#include "simlink/fsuipclink.h"
#include "simlink/fsupic.h"
#include "simlink/records.h"

#include <limits>

namespace {

using namespace std::chrono_literals;
using Server = Transport::Server;
using coretest::Name;
using coretest::RowName;

constexpr std::uint32_t untouched = 0x1234, lowest = 0x19980005, fs2002 = 0xFADE0006;
constexpr LinkResult okay = LinkResult::okay;

class LinkTest : public ::testing::Test {
protected:
    FakeServer server;
    FsuipcLink link{server.MakeTransport()};
    std::uint32_t first = untouched, second = untouched;

    // Opens, forgets the handshake, and queues reads of the two versions into first and second.
    void OpenAndQueueTwoReads() {
        ASSERT_EQ(link.Open(0), okay);
        server.Forget();
        ASSERT_EQ(link.Read(0x3304, 4, &first), okay);
        ASSERT_EQ(link.Read(0x3308, 4, &second), okay);
    }
    // The 32-bit words of the last batch sent, from `from` up to `to`.
    std::vector<std::uint32_t> Words(std::size_t from, std::size_t to) const {
        std::vector<std::uint32_t> words;
        for (std::size_t at = from; at < to; at += 4)
            words.push_back(records::LoadU32(&server.lastBatch[at]));
        return words;
    }
};

// Server, FSUIPC version, FS version, simulator requested, a platform step that fails (or
// null), the result, and the sends made.
using OpenRow = std::tuple<Name, Server, std::uint32_t, std::uint32_t, std::uint32_t,
                           bool FakeServer::*, std::uint32_t, int>;
class OpenTest : public LinkTest, public ::testing::WithParamInterface<OpenRow> {};

TEST_P(OpenTest, ServerIsAcceptedOnlyWithTheRightVersionsAndAFailedOpenHoldsNothing) {
    const auto& [name, found, version, fsVersion, requested, fails, expected, sends] = GetParam();
    server.server = found;
    server.Set(0x3304, version);
    server.Set(0x3308, fsVersion);
    if (fails)
        server.*fails = true;
    const auto result = static_cast<std::uint32_t>(link.Open(requested));
    const bool opened = expected == 0;
    EXPECT_EQ(std::tuple(result, link.IsOpen(), server.HoldsNothing(), server.sends),
              std::tuple(expected, opened, !opened, sends));
    // The version is written in the first pass; the versions read stay readable.
    const bool answered = sends != 0 && !server.silent;
    EXPECT_EQ(std::pair(server.Writes().size(), link.FsuipcVersion()),
              std::pair(answered ? std::size_t{1} : 0, answered ? version : 0));
}

constexpr auto uipc = Server::uipcMain;
constexpr auto fs98 = Server::fs98Main;

// A pass of the handshake is repeated only while a version reads zero, five at most.
INSTANTIATE_TEST_SUITE_P(
    Link, OpenTest,
    ::testing::Values(
        OpenRow{"LowestVersion", uipc, lowest, fs2002, 0, nullptr, 0, 1},
        OpenRow{"VersionZeroForFivePasses", uipc, 0, fs2002, 0, nullptr, 7, 5},
        OpenRow{"FsVersionZeroForFivePasses", uipc, lowest, 0, 0, nullptr, 7, 5},
        OpenRow{"VersionOneBelow", uipc, 0x19980004, fs2002, 0, nullptr, 7, 1},
        OpenRow{"MarkOneAbove", uipc, lowest, 0xFADF0006, 0, nullptr, 7, 1},
        OpenRow{"MarkInTheLowHalf", uipc, lowest, 0x0006FADE, 0, nullptr, 7, 1},
        OpenRow{"Fs98VersionOneBelow", fs98, 0x19980004, fs2002, 0, nullptr, 14, 1},
        OpenRow{"Fs98WrongMark", fs98, lowest, 0x12340001, 0, nullptr, 14, 1},
        OpenRow{"Fs98Accepted", fs98, 0x20000000, 0xFADE0001, 0, nullptr, 0, 1},
        OpenRow{"RequestedSimRunning", uipc, lowest, 0xFADE0003, 3, nullptr, 0, 1},
        OpenRow{"RequestedSimNotRunning", uipc, lowest, fs2002, 3, nullptr, 8, 1},
        OpenRow{"NoServer", Server::none, lowest, fs2002, 0, nullptr, 2, 0},
        OpenRow{"NoMessage", uipc, lowest, fs2002, 0, &FakeServer::registerFails, 3, 0},
        OpenRow{"NoAtom", uipc, lowest, fs2002, 0, &FakeServer::atomFails, 4, 0},
        OpenRow{"NoMapping", uipc, lowest, fs2002, 0, &FakeServer::createFails, 5, 0},
        OpenRow{"NoView", uipc, lowest, fs2002, 0, &FakeServer::mapFails, 6, 0},
        OpenRow{"HandshakeTimedOut", uipc, lowest, fs2002, 0, &FakeServer::silent, 11, 9}),
    RowName);

TEST_F(LinkTest, RequestFitsOnlyUpToTheLimitAndARefusalQueuesNothing) {
    ASSERT_EQ(link.Open(0), okay);
    std::vector<std::byte> data(0x8000);
    // Data bytes of a write queued first, then a read or write of a size that fits or not.
    using Row = std::tuple<std::uint32_t, bool, std::uint32_t, bool>;
    for (const auto& [before, write, size, fits] :
         {Row{0, false, 32492, true}, Row{0, false, 32493, false}, Row{0, true, 32496, true},
          Row{0, true, 32497, false}, Row{8, false, 32472, true}, Row{8, false, 32473, false},
          Row{0, true, 0xFFFFFFF0, false}}) {
        server.Forget();
        if (before != 0)
            link.Write(0x4000, before, data.data());
        EXPECT_EQ(write ? link.Write(0x1000, size, data.data())
                        : link.Read(0x1000, size, data.data()),
                  fits ? okay : LinkResult::full)
            << size;
        EXPECT_EQ(link.Process() == okay, fits || before != 0);
        EXPECT_EQ(server.requests.size(), (fits ? 1u : 0u) + (before != 0 ? 1u : 0u));
        EXPECT_EQ(server.requests.empty() ? 0 : server.requests.back().bytes.size(),
                  fits ? size : before);
    }
    // The last result code has a text, the next none.
    EXPECT_TRUE(ResultText(LinkResult::full).starts_with("Read or Write") &&
                ResultText(static_cast<LinkResult>(16)).empty());
}

// The handshake as laid out. Then a read of no bytes still takes a token; a read with no
// destination takes none. An Open on the open link keeps it and its queue; Close releases
// everything and may be repeated.
TEST_F(LinkTest, HandshakeAsLaidOutThenWritesAndReadsRoundTripAndCloseReleases) {
    ASSERT_EQ(link.Open(0), okay);
    EXPECT_EQ(std::pair(server.sleeps, server.timeouts),
              std::pair(std::vector{100ms}, std::vector{2000ms}));
    // Two reads with a token each and zeroed data, the version write (EC 03), the terminator.
    const std::uint32_t token1 = Words(12, 16)[0], token2 = Words(32, 36)[0];
    EXPECT_EQ(Words(0, 56), (std::vector<std::uint32_t>{1, 0x3304, 4, token1, 0, 1, 0x3308, 4,
                                                        token2, 0, 2, 0x330A, 2, 0x3EC}));
    EXPECT_TRUE(Words(54, 58)[0] == 0 && token1 != 0 && token1 != token2);
    EXPECT_EQ(link.FsVersion(), 6u);
    EXPECT_TRUE(link.AreaName().starts_with("FsasmLib:IPC:1A2B:")) << link.AreaName();
    const std::array<std::byte, 3> out{std::byte{1}, std::byte{2}, std::byte{3}};
    std::array<std::byte, 3> back{};
    const std::vector<LinkResult> queued{
        link.Write(0x4000, 3, out.data()), link.Read(0x4000, 0, back.data()),
        link.Read(0x4000, 3, nullptr), link.Read(0x4000, 3, back.data())};
    ASSERT_EQ(queued, std::vector(4, okay));
    const std::string name = link.AreaName();
    EXPECT_EQ(link.Open(0), LinkResult::alreadyOpen);
    EXPECT_EQ(link.AreaName(), name);
    ASSERT_EQ(link.Process(), okay);
    EXPECT_EQ(back, out);
    EXPECT_EQ(Words(0, 16), (std::vector<std::uint32_t>{2, 0x4000, 3, 0x01030201}));
    EXPECT_EQ(std::pair(Words(43, 47)[0], Words(62, 66)[0]), std::pair(0u, 2u)); // the tokens
    link.Close();
    link.Close();
    EXPECT_TRUE(server.HoldsNothing());
    const std::vector<LinkResult> closed{link.Read(0x3304, 4, &first),
                                         link.Write(0x3304, 4, &first), link.Process()};
    EXPECT_EQ(closed, std::vector(3, LinkResult::notOpen));
}

// The server may leave anything in the area; the walk copies only what this batch queued and
// never reads outside the area. A value stored at `at`; from 0x7000 on, a read record placed
// there instead. Then the values the two reads get.
using WalkRow = std::tuple<Name, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t>;
class WalkTest : public LinkTest, public ::testing::WithParamInterface<WalkRow> {};

TEST_P(WalkTest, ReplyWalkStaysWithinTheAreaAndTheQueuedReads) {
    const auto& [name, at, value, firstGot, secondGot] = GetParam();
    OpenAndQueueTwoReads();
    server.afterServe = [at, value](std::span<std::byte> area) {
        if (at < 0x7000)
            return records::StoreU32(area.data() + at, value);
        // A write record from the start up to `at`, then a read there with the first read's
        // token and size, holding the value.
        const std::uint32_t read[] = {records::readId, 0, 4, records::LoadU32(&area[12]), value};
        records::StoreU32(area.data(), records::writeId);
        records::StoreU32(area.data() + 8, at - records::writeHeader);
        for (std::uint32_t i = 0; i < 5 && at + 4 * i + 4 <= area.size(); ++i)
            records::StoreU32(area.data() + at + 4 * i, read[i]);
    };
    ASSERT_EQ(link.Process(), okay);
    EXPECT_EQ(std::tuple(first, second), std::tuple(firstGot, secondGot));
    EXPECT_NE(records::LoadU32(&server.area[20]), 7u); // an unknown id is cleared
}

INSTANTIATE_TEST_SUITE_P(
    Link, WalkTest,
    ::testing::Values(WalkRow{"Intact", 16, lowest, lowest, fs2002},
                      WalkRow{"UnknownIdStopsTheWalk", 20, 7, lowest, untouched},
                      WalkRow{"SizePastTheArea", 8, 0xFFFFFFF0, untouched, untouched},
                      WalkRow{"SizeOfTheWholeArea", 8, 0x8000, untouched, untouched},
                      WalkRow{"SizeNotTheQueuedOne", 8, 8, untouched, untouched},
                      WalkRow{"TokenNeverQueued", 12, 3, untouched, untouched},
                      WalkRow{"TokenCleared", 12, 0, untouched, fs2002},
                      WalkRow{"ReadEndingAtTheAreaEnd", 0x7FEC, 0xCAFE, 0xCAFE, untouched},
                      WalkRow{"ReadOneBytePastTheAreaEnd", 0x7FED, 0xCAFE, untouched, untouched},
                      WalkRow{"HeaderPastTheAreaEnd", 0x7FF8, 0xCAFE, untouched, untouched}),
    RowName);

// Tries as FakeServer::tries has them, the reply value, the result.
using ExchangeRow = std::tuple<Name, const char*, std::uint32_t, std::uint32_t>;
class ExchangeTest : public LinkTest, public ::testing::WithParamInterface<ExchangeRow> {};

TEST_P(ExchangeTest, NineTriesWithAPauseAfterEachFailureThenTheLastErrorDecides) {
    const auto& [name, tries, reply, expected] = GetParam();
    OpenAndQueueTwoReads();
    server.tries = tries;
    server.replyValue = reply;
    EXPECT_EQ(static_cast<std::uint32_t>(link.Process()), expected);
    const std::size_t failures = std::min<std::size_t>(std::strlen(tries), 9);
    const int sends = static_cast<int>(std::min<std::size_t>(failures + 1, 9));
    EXPECT_EQ(std::pair(server.sends, server.sleeps),
              std::pair(sends, std::vector(failures, 100ms)));
    // A failed batch fills nothing, even where the server applied it late.
    EXPECT_EQ(first, expected == 0 ? lowest : untouched);
    // The queue is empty whatever the outcome.
    EXPECT_EQ(link.Process(), LinkResult::nothingQueued);
    EXPECT_EQ(server.sends, sends);
}

INSTANTIATE_TEST_SUITE_P(Link, ExchangeTest,
                         ::testing::Values(ExchangeRow{"AnsweredOnTheNinthTry", "ttttlttf", 1, 0},
                                           ExchangeRow{"LastTryFailed", "ttttttttf", 1, 12},
                                           ExchangeRow{"LastTryTimedOut", "fffffffft", 1, 11},
                                           ExchangeRow{"AllAnsweredLate", "lllllllll", 1, 11},
                                           ExchangeRow{"ReplyZero", "", 0, 13},
                                           ExchangeRow{"ReplyTwo", "", 2, 13}),
                         RowName);

// --- The variable cache ---

class CacheTest : public ::testing::Test {
protected:
    FakeServer server;
    std::unique_ptr<FSUPIC> link;

    // Linked to the server, with what the handshake did forgotten.
    void SetUp() override {
        server.Set<std::int64_t>(0x0560, 22433198779778846);  // 47 degrees north
        server.Set<std::int64_t>(0x0568, 0x1000000000000000); // 22.5 degrees east
        server.Set<std::int32_t>(0x0020, 256 * 412 + 0x80);
        server.Set<std::int32_t>(0x0574, 1234);
        server.Set<std::uint32_t>(0x0580, 0xC0000000);
        server.Set<std::uint64_t>(0x2AE0, 0x4017000000000000);
        link = std::make_unique<FSUPIC>(server.MakeTransport());
        ASSERT_EQ(link->Result(), okay);
        server.Forget();
    }
};

// A read cycle is one exchange of four reads, the heading one of its own. A failed cycle
// takes the link down and keeps the cache, and every cycle tries to reconnect.
TEST_F(CacheTest, ReadCycleHeadingAndAFailedCycleThatKeepsTheCache) {
    EXPECT_EQ(link->Position(), std::nullopt); // none before the first cycle
    link->ReadCycle();
    EXPECT_EQ(server.requests.size(), 4u);
    ASSERT_TRUE(link->Position());
    EXPECT_NEAR(link->Position()->lat, 47.0, 1e-12);
    EXPECT_EQ(std::tuple(link->Position()->lon, link->GetGroundAlt(), link->GetAltitude(),
                         link->ThermalBlockPresent(), link->GetMsStrength(), server.sends),
              std::tuple(22.5, 412.5, 1234, true, 0x17, 1));
    EXPECT_EQ(link->GetHeading(), -90); // taken as signed
    EXPECT_EQ(server.sends, 2);
    server.silent = true;
    server.Set<std::int32_t>(0x0574, 999);
    EXPECT_EQ(link->Status().text, "Linked");
    link->ReadCycle();
    // Down for the reason the cycle failed.
    EXPECT_TRUE(link->Result() == LinkResult::timedOut && server.HoldsNothing());
    EXPECT_EQ(link->Status().text, "Not answering");
    server.silent = false;
    server.server = Server::none;
    link->ReadCycle();
    EXPECT_EQ(link->Result(), LinkResult::noServer);
    EXPECT_EQ(link->Status().text, "No simulator");
    link->SetMsStrength(5); // skipped while down
    link->SetRollRate(2.0);
    link->MoveAircraft({47.25, 8.5});
    EXPECT_EQ(std::pair(server.sends, link->GetAltitude()), std::pair(2 + 9, 1234.0));
    EXPECT_NEAR(link->Position()->lat, 47.25, 1e-9); // moved in the cache at once
    EXPECT_NEAR(link->Position()->lon, 8.5, 1e-9);
    server.server = Server::uipcMain;
    link->ReadCycle();
    EXPECT_EQ(std::tuple(link->Result(), link->GetAltitude(), link->Position()->lon),
              std::tuple(okay, 999, 22.5));
    // The block needs the mark and six zero bytes below the strength: only the first has both.
    constexpr std::uint64_t present = 0x40FF000000000000;
    for (const std::uint64_t block :
         std::initializer_list<std::uint64_t>{present, 0x40000000000000FF, 0x4000FF0000000000,
                                              0x41FF000000000000, 0x00FF000000000000}) {
        server.Set(0x2AE0, block);
        link->ReadCycle();
        EXPECT_EQ(link->ThermalBlockPresent(), block == present) << std::hex << block;
    }
    // A failed heading exchange takes the link down and keeps the last heading.
    server.replyValue = 0;
    server.Set<std::uint32_t>(0x0580, 0x40000000);
    EXPECT_EQ(link->GetHeading(), -90);
    EXPECT_TRUE(link->Result() == LinkResult::badData && server.HoldsNothing());
}

// Each write as one request of its bytes (the lift's two in one batch); none where the value
// is not finite. A full circle
// of longitude is 2^64, so past 180 degrees it wraps around.
TEST_F(CacheTest, WritesAreLaidOutHeldInRangeAndSkippedWhenNotFinite) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const auto moved = [](std::int64_t lat, std::int64_t lon) {
        return Wrote(0x0560, std::array{lat, lon});
    };
    const std::int64_t south = -42957189152768000;
    using Row = std::pair<std::function<void()>, std::vector<FakeServer::Request>>;
    int row = 0;
    for (const auto& [write, expected] : std::vector<Row>{
             {[&] { link->SetMsStrength(-1); }, {Wrote<std::uint8_t>(0x2AE6, 0)}},
             {[&] { link->SetMsStrength(255); }, {Wrote<std::uint8_t>(0x2AE6, 255)}},
             {[&] { link->SetMsStrength(256); }, {Wrote<std::uint8_t>(0x2AE6, 255)}},
             // The vertical air goes only where the link carries it, after the byte.
             {[&] { link->SetLift(100, -0.5); }, {Wrote<std::uint8_t>(0x2AE6, 100)}},
             {[&] {
                  server.carriesAir = true;
                  link->SetLift(-3, -0.504);
              },
              {Wrote<std::uint8_t>(0x2AE6, 0), Wrote<std::int16_t>(0xBEA0, -50)}},
             {[&] { link->SetLift(300, 400.0); },
              {Wrote<std::uint8_t>(0x2AE6, 255), Wrote<std::int16_t>(0xBEA0, 32767)}},
             {[&] { link->SetRollRate(-12.75); }, {Wrote(0x30B0, -12.75)}},
             {[&] { link->SetRollRate(nan); }, {}},
             {[&] { link->MoveAircraft(GeoPoint(1, -1)); },
              {moved(477302101697422, -51240955760304312)}},
             {[&] { link->MoveAircraft(GeoPoint(-90, 180)); }, {moved(south, INT64_MIN)}},
             {[&] { link->MoveAircraft(GeoPoint(-90, 190)); },
              {moved(south, -8710962479251733504)}},
             {[&] { link->MoveAircraft(GeoPoint(-90, -190)); },
              {moved(south, 8710962479251733504)}},
             {[&] { link->MoveAircraft(GeoPoint(nan, 0)); }, {}}}) {
        server.requests.clear();
        write();
        EXPECT_EQ(server.Writes(), expected) << "row " << row++;
    }
    const int sends = server.sends;
    link->SetLift(1, 0.02);
    EXPECT_EQ(server.sends, sends + 1);
    // The cache holds the last position written; the rejected move left it.
    EXPECT_NEAR(link->Position()->lat, -90, 1e-9);
    EXPECT_NEAR(link->Position()->lon, 170, 1e-9);
    // Failed writes are ignored: the link stays up.
    server.tries = std::string(27, 'f');
    link->SetMsStrength(3);
    link->SetRollRate(1.0);
    link->MoveAircraft({1, 2});
    EXPECT_TRUE(link->Result() == okay && link->Link().IsOpen());
}

} // namespace
