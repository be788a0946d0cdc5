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
using coretest::RowName;
using enum LinkResult;

constexpr std::uint32_t untouched = 0x1234, lowest = 0x19980005, fs2002 = 0xFADE0006;

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

// What the server answers and what the link makes of it. A pass of the handshake is repeated
// only while a version reads zero, five at most.
struct OpenRow {
    const char* name;
    LinkResult result;
    int sends = 1;
    std::uint32_t version = lowest, fsVersion = fs2002;
    Server found = Server::uipcMain;
    std::uint32_t requestedSim = 0;
    bool FakeServer::*fails = nullptr; // a platform step, or the server's silence
};
class OpenTest : public LinkTest, public ::testing::WithParamInterface<OpenRow> {};

TEST_P(OpenTest, OpensOnlyTheRightServerAtTheRightVersions) {
    const OpenRow& row = GetParam();
    server.server = row.found;
    server.Set(0x3304, row.version);
    server.Set(0x3308, row.fsVersion);
    if (row.fails)
        server.*row.fails = true;
    const LinkResult result = link.Open(row.requestedSim);
    const bool opened = row.result == okay;
    // A failed Open holds nothing.
    EXPECT_EQ(std::tuple(result, link.IsOpen(), server.HoldsNothing(), server.sends),
              std::tuple(row.result, opened, !opened, row.sends));
    // The version is written in the first pass; the versions read stay readable.
    const bool answered = row.sends != 0 && !server.silent;
    EXPECT_EQ(std::pair(server.Writes().size(), link.FsuipcVersion()),
              std::pair(answered ? std::size_t{1} : 0, answered ? row.version : 0));
}

constexpr auto fs98 = Server::fs98Main;
const OpenRow kOpenRows[] = {
    {"LowestVersion", okay},
    {"VersionZeroForFivePasses", wrongVersion, 5, 0},
    {"FsVersionZeroForFivePasses", wrongVersion, 5, lowest, 0},
    {"VersionOneBelow", wrongVersion, 1, 0x19980004},
    {"MarkOneAbove", wrongVersion, 1, lowest, 0xFADF0006},
    {"MarkInTheLowHalf", wrongVersion, 1, lowest, 0x0006FADE},
    {"Fs98VersionOneBelow", noSimOnServer, 1, 0x19980004, fs2002, fs98},
    {"Fs98WrongMark", noSimOnServer, 1, lowest, 0x12340001, fs98},
    {"Fs98Accepted", okay, 1, 0x20000000, 0xFADE0001, fs98},
    {"RequestedSimRunning", okay, 1, lowest, 0xFADE0003, Server::uipcMain, 3},
    {"RequestedSimNotRunning", wrongSim, 1, lowest, fs2002, Server::uipcMain, 3},
    {"NoServer", noServer, 0, lowest, fs2002, Server::none},
    {.name = "NoMessage", .result = noMessage, .sends = 0, .fails = &FakeServer::registerFails},
    {.name = "NoAtom", .result = noAtom, .sends = 0, .fails = &FakeServer::atomFails},
    {.name = "NoMapping", .result = noMapping, .sends = 0, .fails = &FakeServer::createFails},
    {.name = "NoView", .result = noView, .sends = 0, .fails = &FakeServer::mapFails},
    {.name = "HandshakeTimedOut", .result = timedOut, .sends = 9, .fails = &FakeServer::silent}};
INSTANTIATE_TEST_SUITE_P(Link, OpenTest, ::testing::ValuesIn(kOpenRows), RowName);

// A request fits the area up to its last byte; one that does not is refused and queues
// nothing, and what was queued before it still goes.
TEST_F(LinkTest, RequestFitsOnlyWithinTheArea) {
    ASSERT_EQ(link.Open(0), okay);
    std::vector<std::byte> data(0x8000);
    struct Row {
        std::uint32_t before; // data bytes of a write queued first
        bool write;
        std::uint32_t size;
        bool fits;
    };
    for (const Row& row :
         {Row{0, false, 32492, true}, Row{0, false, 32493, false}, Row{0, true, 32496, true},
          Row{0, true, 32497, false}, Row{8, false, 32472, true}, Row{8, false, 32473, false},
          Row{0, true, 0xFFFFFFF0, false}}) {
        server.Forget();
        if (row.before != 0)
            link.Write(0x4000, row.before, data.data());
        EXPECT_EQ(row.write ? link.Write(0x1000, row.size, data.data())
                            : link.Read(0x1000, row.size, data.data()),
                  row.fits ? okay : full)
            << row.size;
        EXPECT_EQ(link.Process() == okay, row.fits || row.before != 0);
        EXPECT_EQ(server.requests.size(), (row.fits ? 1u : 0u) + (row.before != 0 ? 1u : 0u));
        EXPECT_EQ(server.requests.empty() ? 0 : server.requests.back().bytes.size(),
                  row.fits ? row.size : row.before);
    }
}

// Two reads with a token each and zeroed data, the version write (EC 03), the terminator;
// one pause before it and the program's time-out.
TEST_F(LinkTest, HandshakeIsLaidOutAsTheServerReadsIt) {
    ASSERT_EQ(link.Open(0), okay);
    EXPECT_EQ(std::pair(server.sleeps, server.timeouts),
              std::pair(std::vector{100ms}, std::vector{2000ms}));
    const std::uint32_t token1 = Words(12, 16)[0], token2 = Words(32, 36)[0];
    EXPECT_EQ(Words(0, 56), (std::vector<std::uint32_t>{1, 0x3304, 4, token1, 0, 1, 0x3308, 4,
                                                        token2, 0, 2, 0x330A, 2, 0x3EC}));
    EXPECT_TRUE(Words(54, 58)[0] == 0 && token1 != 0 && token1 != token2);
    EXPECT_EQ(link.FsVersion(), 6u);
    EXPECT_TRUE(link.AreaName().starts_with("FsasmLib:IPC:1A2B:")) << link.AreaName();
}

// A read of no bytes still takes a token; a read with no destination takes none. An Open
// of the open link keeps it and its queue.
TEST_F(LinkTest, QueuedWritesAndReadsGoInOneBatch) {
    ASSERT_EQ(link.Open(0), okay);
    const std::array<std::byte, 3> out{std::byte{1}, std::byte{2}, std::byte{3}};
    std::array<std::byte, 3> back{};
    std::byte last{};
    const std::vector<LinkResult> queued{
        link.Write(0x4000, 3, out.data()), link.Read(0x4000, 0, back.data()),
        link.Read(0x4000, 3, nullptr), link.Read(0x4000, 3, back.data()),
        link.Read(0x4002, 1, &last)};
    ASSERT_EQ(queued, std::vector(5, okay));
    const std::string name = link.AreaName();
    EXPECT_EQ(link.Open(0), alreadyOpen);
    EXPECT_EQ(link.AreaName(), name);
    ASSERT_EQ(link.Process(), okay);
    EXPECT_EQ(std::pair(back, last), std::pair(out, out[2]));
    EXPECT_EQ(Words(0, 16), (std::vector<std::uint32_t>{2, 0x4000, 3, 0x01030201}));
    EXPECT_EQ(std::pair(Words(43, 47)[0], Words(62, 66)[0]), std::pair(0u, 2u)); // the tokens
}

// Close may be repeated; the closed link refuses every request.
TEST_F(LinkTest, CloseReleasesEverything) {
    ASSERT_EQ(link.Open(0), okay);
    link.Close();
    link.Close();
    EXPECT_TRUE(server.HoldsNothing());
    const std::vector<LinkResult> closed{link.Read(0x3304, 4, &first),
                                         link.Write(0x3304, 4, &first), link.Process()};
    EXPECT_EQ(closed, std::vector(3, notOpen));
}

// The server may leave anything in the area; the walk copies only what this batch queued and
// never reads outside the area.
struct WalkRow {
    const char* name;
    std::uint32_t at, value; // stored there; from 0x7000 on, a read record placed there instead
    std::uint32_t firstGot, secondGot; // by the two reads
};
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

const WalkRow kWalkRows[] = {{"Intact", 16, lowest, lowest, fs2002},
                             {"UnknownIdStopsTheWalk", 20, 7, lowest, untouched},
                             {"SizePastTheArea", 8, 0xFFFFFFF0, untouched, untouched},
                             {"SizeOfTheWholeArea", 8, 0x8000, untouched, untouched},
                             {"SizeNotTheQueuedOne", 8, 8, untouched, untouched},
                             {"TokenNeverQueued", 12, 3, untouched, untouched},
                             {"TokenCleared", 12, 0, untouched, fs2002},
                             {"ReadEndingAtTheAreaEnd", 0x7FEC, 0xCAFE, 0xCAFE, untouched},
                             {"ReadOneBytePastTheAreaEnd", 0x7FED, 0xCAFE, untouched, untouched},
                             {"HeaderPastTheAreaEnd", 0x7FF8, 0xCAFE, untouched, untouched}};
INSTANTIATE_TEST_SUITE_P(Link, WalkTest, ::testing::ValuesIn(kWalkRows), RowName);

struct ExchangeRow {
    const char* name;
    const char* tries; // as FakeServer::tries has them
    std::uint32_t reply;
    LinkResult result;
};
class ExchangeTest : public LinkTest, public ::testing::WithParamInterface<ExchangeRow> {};

TEST_P(ExchangeTest, UpToNineTriesWithAPauseAfterEachFailure) {
    const auto& [name, tries, reply, expected] = GetParam();
    OpenAndQueueTwoReads();
    server.tries = tries;
    server.replyValue = reply;
    EXPECT_EQ(link.Process(), expected);
    const std::size_t failures = std::min<std::size_t>(std::strlen(tries), 9);
    const int sends = static_cast<int>(std::min<std::size_t>(failures + 1, 9));
    EXPECT_EQ(std::pair(server.sends, server.sleeps),
              std::pair(sends, std::vector(failures, 100ms)));
    // A failed batch fills nothing, even where the server applied it late.
    EXPECT_EQ(first, expected == okay ? lowest : untouched);
    // The queue is empty whatever the outcome.
    EXPECT_EQ(link.Process(), nothingQueued);
    EXPECT_EQ(server.sends, sends);
}

const ExchangeRow kExchangeRows[] = {{"AnsweredOnTheNinthTry", "ttttlttf", 1, okay},
                                     {"LastTryFailed", "ttttttttf", 1, sendFailed},
                                     {"LastTryTimedOut", "fffffffft", 1, timedOut},
                                     {"AllAnsweredLate", "lllllllll", 1, timedOut},
                                     {"ReplyZero", "", 0, badData},
                                     {"ReplyTwo", "", 2, badData}};
INSTANTIATE_TEST_SUITE_P(Link, ExchangeTest, ::testing::ValuesIn(kExchangeRows), RowName);

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

// Four reads in one exchange, and the heading in one of its own.
TEST_F(CacheTest, ReadCycleFillsTheCache) {
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
}

// Down for the reason the cycle failed, and every cycle tries to reconnect; writes are
// skipped while down, but a move shows in the cache at once.
TEST_F(CacheTest, AFailedCycleKeepsTheCacheUntilTheLinkIsBack) {
    link->ReadCycle();
    EXPECT_EQ(link->Status().text, "Linked");
    server.silent = true;
    server.Set<std::int32_t>(0x0574, 999);
    link->ReadCycle();
    EXPECT_TRUE(link->Result() == timedOut && server.HoldsNothing());
    EXPECT_EQ(std::pair(link->Status().live, link->Status().text),
              std::pair(false, std::string("Not answering")));
    server.silent = false;
    server.server = Server::none;
    link->ReadCycle();
    EXPECT_EQ(link->Result(), noServer);
    EXPECT_EQ(link->Status().text, "No simulator");
    const int sends = server.sends;
    link->SetMsStrength(5);
    link->SetRollRate(2.0);
    link->MoveAircraft({47.25, 8.5});
    EXPECT_EQ(std::pair(server.sends, link->GetAltitude()), std::pair(sends, 1234.0));
    EXPECT_NEAR(link->Position()->lat, 47.25, 1e-9);
    EXPECT_NEAR(link->Position()->lon, 8.5, 1e-9);
    server.server = Server::uipcMain;
    link->ReadCycle();
    EXPECT_EQ(std::tuple(link->Result(), link->GetAltitude(), link->Position()->lon),
              std::tuple(okay, 999, 22.5));
}

// The mark and six zero bytes below the strength: only the first has both.
TEST_F(CacheTest, ThermalBlockIsPresentOnlyWithItsMarkAndZeros) {
    constexpr std::uint64_t present = 0x40FF000000000000;
    for (const std::uint64_t block :
         std::initializer_list<std::uint64_t>{present, 0x40000000000000FF, 0x4000FF0000000000,
                                              0x41FF000000000000, 0x00FF000000000000}) {
        server.Set(0x2AE0, block);
        link->ReadCycle();
        EXPECT_EQ(link->ThermalBlockPresent(), block == present) << std::hex << block;
    }
}

TEST_F(CacheTest, AFailedHeadingExchangeKeepsTheLastHeading) {
    ASSERT_EQ(link->GetHeading(), -90);
    server.replyValue = 0;
    server.Set<std::uint32_t>(0x0580, 0x40000000);
    EXPECT_EQ(link->GetHeading(), -90);
    EXPECT_TRUE(link->Result() == badData && server.HoldsNothing());
}

// Each write as one request of its bytes (the lift's two in one batch), held in range; none
// where the value is not finite. A full circle of longitude is 2^64, so past 180 degrees it
// wraps around.
TEST_F(CacheTest, WritesAreLaidOutAsTheServerTakesThem) {
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
}

TEST_F(CacheTest, FailedWritesLeaveTheLinkUp) {
    server.tries = std::string(27, 'f');
    link->SetMsStrength(3);
    link->SetRollRate(1.0);
    link->MoveAircraft({1, 2});
    EXPECT_TRUE(link->Result() == okay && link->Link().IsOpen());
}

} // namespace
