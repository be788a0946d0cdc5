// The link on its own thread, over the fake server, whose gate holds an exchange until the
// test lets it go, so that writes can be made to back up.

#include "builders.h"
#include "coretest.h"
#include "fakeserver.h"
#include "simlink/simvalues.h"
#include "simlink/threadedlink.h"

#include <algorithm>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using namespace simvalues;

// Shuts the gate, starts what is to be held there, and waits until an exchange is.
void HoldNextExchange(
    FakeServer& server, const std::function<void()>& start = [] {}) {
    server.gateShut = true;
    start();
    ASSERT_TRUE(Eventually([&] { return server.held > 0; }));
}

TEST(LinkWorkerTest, WritesBackedUpGoInOrderWithOnlyTheLatestOfEachKind) {
    FakeServer server;
    server.carriesAir = true;
    {
        LinkWorker worker(server.MakeTransport(), 0ms);
        ASSERT_TRUE(Eventually([&] { return worker.Snapshot().linked; }));
        // Linked counts as a good cycle, though nothing is read at this interval.
        EXPECT_EQ(StateOf(worker.Snapshot(), Clock::now(), 10s), LinkState::linked);
        HoldNextExchange(server, [&] { worker.RequestHeading(); });
        server.Forget();
        worker.WriteStrength(10);
        worker.WriteRoll(0.5);
        worker.WriteStrength(20, 0, 0.4);
        worker.MoveAircraft({1, -1});
        worker.WriteStrength(30, 0, -0.25);
        EXPECT_EQ(worker.Snapshot().position, GeoPoint(1, -1)); // the move shows at once
        worker.RequestHeading(); // served once the writes before it have gone
        server.gateShut = false;
        ASSERT_TRUE(Eventually([&] { return worker.Snapshot().headings == 2; }));
        // A failed heading exchange takes the link down. The worker waits for work: the
        // request hands the new reply over.
        server.replyValue = 0;
        worker.RequestHeading();
        ASSERT_TRUE(Eventually([&] { return worker.Snapshot().headings == 3; }));
        EXPECT_EQ(std::pair(worker.Snapshot().linked, worker.Snapshot().linkResult),
                  std::pair(false, LinkResult::badData));
    } // the worker has ended: the server is the test's again
    EXPECT_EQ(server.Writes(), (std::vector{Wrote<std::uint8_t>(0x2AE6, 30),
                                            Wrote<std::int16_t>(0xBEA0, -25), Wrote(0x30B0, 0.5),
                                            Wrote(0x0560, std::array{LatToRaw(1), LonToRaw(-1)})}));
    EXPECT_TRUE(server.HoldsNothing());
}

// The heading is read as the block appears and not again while it stays. The worker ends at
// once in the middle of an exchange that never returns.
TEST(LinkWorkerTest, ReadsEveryIntervalWithTheHeadingOnceTheBlockAppears) {
    FakeServer server;
    server.Set<std::int64_t>(0x0560, LatToRaw(46.5));
    server.Set<std::int64_t>(0x0568, LonToRaw(7.25));
    server.Set<std::int32_t>(0x0020, 612 * 256);
    server.Set<std::int32_t>(0x0574, 1500);
    server.Set<std::uint32_t>(0x0580, HeadingToRaw(90));
    server.Set<std::uint16_t>(0x2AE6, 0x4078);
    auto worker = std::make_unique<LinkWorker>(server.MakeTransport(), 1ms);
    ASSERT_TRUE(Eventually([&] { return worker->Snapshot().cycles >= 3; }));
    HoldNextExchange(server);
    const LinkSnapshot s = worker->Snapshot();
    EXPECT_TRUE(s.positionRead && s.linked && s.blockPresent);
    EXPECT_EQ(std::tuple(s.position, s.groundM, s.altitudeM, s.msStrength, s.headingDeg),
              std::tuple(GeoPoint(46.5, 7.25), 612.0, 1500.0, 120, 90.0));
    EXPECT_EQ(std::ranges::count(server.requests, 0x0580u, &FakeServer::Request::offset), 1);
    const auto start = Clock::now();
    worker.reset();
    EXPECT_LT(Clock::now() - start, 1s);
    EXPECT_TRUE(server.HoldsNothing());
}

// A strength meant for one simulator must never reach another that linked in its place:
// each change of the reply is made while an exchange waits at the gate, which orders it
// before the worker reads it.
TEST(LinkWorkerTest, NeverSendsWritesMadeForALinkThatWentDown) {
    FakeServer server;
    auto worker = std::make_unique<LinkWorker>(server.MakeTransport(), 1ms);
    ASSERT_TRUE(Eventually([&] { return worker->Snapshot().linked; }));
    HoldNextExchange(server);
    server.Forget();
    const std::uint64_t first = worker->Snapshot().connection;
    worker->WriteStrength(10); // queued behind the exchange that is about to fail
    worker->WriteRoll(0.5, first);
    server.replyValue = 0;
    server.gateShut = false;
    ASSERT_TRUE(Eventually([&] { return !worker->Snapshot().linked; }));
    HoldNextExchange(server);
    server.replyValue = 1;
    server.gateShut = false;
    ASSERT_TRUE(Eventually([&] { return worker->Snapshot().linked; }));
    const std::uint64_t second = worker->Snapshot().connection;
    ASSERT_GT(second, first);
    worker->WriteStrength(30, first);
    worker->WriteRoll(0.25, second);
    worker->RequestHeading(); // served after the writes queued before it
    ASSERT_TRUE(Eventually([&] { return worker->Snapshot().headings == 1; }));
    HoldNextExchange(server);
    worker.reset();
    std::vector<FakeServer::Request> writes = server.Writes();
    std::erase_if(writes, [](const FakeServer::Request& r) { return r.offset == 0x330A; });
    EXPECT_EQ(writes, std::vector{Wrote(0x30B0, 0.25)});
}

// Writes are held to their range; the getters read the snapshot taken by ReadCycle.
TEST(ThreadedLinkTest, OnlyValidValuesReachTheWorker) {
    FakeServer server;
    {
        ThreadedLink link(server.MakeTransport(), 0ms);
        link.SetMsStrength(-5);
        link.SetRollRate(std::numeric_limits<double>::infinity());
        link.MoveAircraft({47, 8});
        link.MoveAircraft({std::nan(""), 9});
        link.MoveAircraft({46, -std::numeric_limits<double>::infinity()});
        EXPECT_EQ(link.Position(), GeoPoint(47, 8));
        link.RequestHeading(); // served after the writes
        EXPECT_TRUE(Eventually([&] {
            link.ReadCycle();
            return link.snapshot().headings > 0;
        }));
        EXPECT_EQ(link.Position(), GeoPoint(47, 8));
    }
    // After the handshake's version, the strength held to the byte and the one valid move.
    EXPECT_EQ(server.Writes(),
              (std::vector{Wrote<std::uint16_t>(0x330A, 1004), Wrote<std::uint8_t>(0x2AE6, 0),
                           Wrote(0x0560, std::array{LatToRaw(47), LonToRaw(8)})}));
}

// Ages in milliseconds: stale only past the limit, and whole seconds shown.
TEST(LinkStateTest, TextWithTheSecondsSinceTheLastGoodCycle) {
    const Clock::time_point now{std::chrono::hours(1)};
    constexpr LinkResult okay = LinkResult::okay, noServer = LinkResult::noServer;
    struct Row {
        bool linked;
        LinkResult result;
        bool everRead;
        int msAgo;
        const char* text;
    };
    for (const auto& [linked, result, everRead, msAgo, text] :
         {Row{true, okay, true, 1000, "Linked"}, Row{true, okay, true, 1001, "Not answering 1 s"},
          Row{true, okay, true, 12400, "Not answering 12 s"},
          Row{false, LinkResult::timedOut, true, 3400, "Not answering 3 s"},
          Row{false, noServer, false, 0, "No simulator"},
          Row{false, noServer, true, 7400, "No simulator 7 s"},
          Row{false, LinkResult::wrongVersion, false, 0, "Not answering"}}) {
        const LinkSnapshot s{.linked = linked,
                             .linkResult = result,
                             .positionRead = everRead,
                             .lastGoodCycle = now - std::chrono::milliseconds(msAgo)};
        EXPECT_EQ(LinkStateText(s, now, 1000ms), text) << msAgo << " ms, " << ResultText(result);
    }
}

} // namespace
