// The link on its own thread, over the in-process fake server behind a gate that holds an
// exchange until the test lets it go, so that writes can be made to back up.

#include "coretest.h"
#include "fakeserver.h"
#include "simlink/simvalues.h"
#include "simlink/threadedlink.h"

#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using coretest::Name;
using coretest::RowName;

// A transport whose sends wait while the gate is shut; an interruption ends the wait failed.
class Gate {
public:
    void Shut() {
        const std::lock_guard lock(mutex_);
        open_ = false;
    }
    void Open() {
        {
            const std::lock_guard lock(mutex_);
            open_ = true;
        }
        changed_.notify_all();
    }
    // Waits until a send is held at the gate.
    bool Holding() {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, 5s, [this] { return held_ > 0; });
    }
    std::unique_ptr<Transport> Wrap(std::unique_ptr<Transport> inner);

private:
    friend class GatedTransport;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool open_ = true;
    bool interrupted_ = false;
    int held_ = 0;
};

class GatedTransport final : public Transport {
public:
    GatedTransport(std::unique_ptr<Transport> inner, Gate& gate)
        : inner_(std::move(inner))
        , gate_(gate) {}
    Server FindServer() override { return inner_->FindServer(); }
    void ForgetServer() override { inner_->ForgetServer(); }
    std::uint32_t RegisterMessage() override { return inner_->RegisterMessage(); }
    std::uint32_t ProcessId() override { return inner_->ProcessId(); }
    std::uint16_t AddAtom(const std::string& name) override { return inner_->AddAtom(name); }
    void DeleteAtom(std::uint16_t atom) override { inner_->DeleteAtom(atom); }
    bool CreateArea(const std::string& n, std::uint32_t s) override {
        return inner_->CreateArea(n, s);
    }
    std::byte* MapArea() override { return inner_->MapArea(); }
    void UnmapArea(std::byte* view) override { inner_->UnmapArea(view); }
    void CloseArea() override { inner_->CloseArea(); }
    std::uint32_t LastError() override { return inner_->LastError(); }
    void Sleep(std::chrono::milliseconds pause) override { inner_->Sleep(pause); }
    bool Send(std::uint32_t m, std::uint16_t a, std::chrono::milliseconds t,
              std::uint32_t& reply) override {
        std::unique_lock lock(gate_.mutex_);
        ++gate_.held_;
        gate_.changed_.notify_all();
        gate_.changed_.wait(lock, [this] { return gate_.open_ || gate_.interrupted_; });
        --gate_.held_;
        if (gate_.interrupted_)
            return false;
        lock.unlock();
        return inner_->Send(m, a, t, reply);
    }
    void Interrupt() override {
        {
            const std::lock_guard lock(gate_.mutex_);
            gate_.interrupted_ = true;
        }
        gate_.changed_.notify_all();
    }

private:
    std::unique_ptr<Transport> inner_;
    Gate& gate_;
};

std::unique_ptr<Transport> Gate::Wrap(std::unique_ptr<Transport> inner) {
    return std::make_unique<GatedTransport>(std::move(inner), *this);
}

template <typename T> std::vector<std::byte> BytesOf(const T& value) {
    std::vector<std::byte> bytes(sizeof value);
    std::memcpy(bytes.data(), &value, sizeof value);
    return bytes;
}

// Polls the snapshot until the condition holds; false after five seconds.
template <typename Condition> bool Eventually(const LinkWorker& worker, Condition condition) {
    const auto deadline = Clock::now() + 5s;
    while (!condition(worker.Snapshot())) {
        if (Clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

TEST(LinkWorkerTest, WritesBackedUpGoInOrderWithOnlyTheLatestOfEachKind) {
    FakeServer server;
    Gate gate;
    {
        LinkWorker worker(gate.Wrap(server.MakeTransport()), 0ms);
        ASSERT_TRUE(Eventually(worker, [](const LinkSnapshot& s) { return s.linked; }));
        gate.Shut();
        worker.RequestHeading();
        ASSERT_TRUE(gate.Holding());
        server.Forget();
        worker.WriteStrength(10);
        worker.WriteRoll(0.5);
        worker.WriteStrength(20);
        worker.MoveAircraft(1, -1);
        worker.WriteStrength(30);
        EXPECT_EQ(worker.Snapshot().lon, -1); // the move shows at once
        gate.Open();
        ASSERT_TRUE(Eventually(
            worker, [&](const LinkSnapshot&) { return worker.Snapshot().headings == 1; }));
    } // the worker has ended: the server is the test's again
    const std::vector<FakeServer::Request> expected{
        {true, 0x2AE6, BytesOf<std::uint8_t>(30)},
        {true, 0x30B0, BytesOf(0.5)},
        {true, 0x0560, BytesOf(std::array{simvalues::LatToRaw(1), simvalues::LonToRaw(-1)})}};
    EXPECT_EQ(server.Writes(), expected);
    EXPECT_TRUE(server.HoldsNothing());
}

TEST(LinkWorkerTest, ReadsEveryIntervalAndReadsTheHeadingWhenTheBlockAppears) {
    FakeServer server;
    server.Set<std::int64_t>(0x0560, simvalues::LatToRaw(46.5));
    server.Set<std::int64_t>(0x0568, simvalues::LonToRaw(7.25));
    server.Set<std::int32_t>(0x0020, 612 * 256);
    server.Set<std::int32_t>(0x0574, 1500);
    server.Set<std::uint32_t>(0x0580, simvalues::HeadingToRaw(90));
    server.Set<std::uint8_t>(0x2AE6, 120);
    server.Set<std::uint8_t>(0x2AE7, 0x40);
    LinkWorker worker(server.MakeTransport(), 1ms);
    ASSERT_TRUE(Eventually(worker, [](const LinkSnapshot& s) { return s.cycles >= 3; }));
    const LinkSnapshot s = worker.Snapshot();
    EXPECT_TRUE(s.positionRead && s.linked && s.blockPresent);
    EXPECT_NEAR(s.lat, 46.5, 1e-9);
    EXPECT_NEAR(s.lon, 7.25, 1e-9);
    EXPECT_EQ(std::tuple(s.groundM, s.altitudeM, s.msStrength, s.headingDeg),
              std::tuple(612.0, 1500.0, 120, 90.0));
}

TEST(LinkWorkerTest, EndsAtOnceInTheMiddleOfAnExchangeThatNeverReturns) {
    FakeServer server;
    Gate gate;
    auto worker = std::make_unique<LinkWorker>(gate.Wrap(server.MakeTransport()), 0ms);
    ASSERT_TRUE(Eventually(*worker, [](const LinkSnapshot& s) { return s.linked; }));
    gate.Shut();
    worker->WriteStrength(1);
    ASSERT_TRUE(gate.Holding());
    const auto start = Clock::now();
    worker.reset();
    EXPECT_LT(Clock::now() - start, 1s);
    EXPECT_TRUE(server.HoldsNothing());
}

TEST(ThreadedLinkTest, GettersReadOneSnapshotAndWritesAreHeldToTheirRange) {
    FakeServer server;
    {
        ThreadedLink link(server.MakeTransport(), 0ms);
        link.SetMsStrength(-5);
        link.SetMsStrength(300);
        link.SetRollRate(std::numeric_limits<double>::infinity());
        link.MoveAircraft(std::nan(""), 8);
        link.MoveAircraft(47, 8);
        EXPECT_EQ(std::pair(link.GetLat(), link.GetLon()), std::pair(47.0, 8.0));
        link.RequestHeading(); // served after the writes
        const auto deadline = Clock::now() + 5s;
        do
            link.ReadCycle();
        while (link.snapshot().headings == 0 && Clock::now() < deadline);
        EXPECT_EQ(link.GetLon(), 8.0); // the worker shows the move too
    }
    // The strengths held to the byte (the first may have gone before the second came), no
    // roll, and the one valid move.
    std::vector<std::uint32_t> offsets;
    std::vector<std::vector<std::byte>> strengths;
    for (const auto& write : server.Writes()) {
        offsets.push_back(write.offset);
        if (write.offset == 0x2AE6)
            strengths.push_back(write.bytes);
    }
    ASSERT_FALSE(strengths.empty());
    EXPECT_EQ(strengths.back(), BytesOf<std::uint8_t>(255));
    if (strengths.size() == 2) {
        EXPECT_EQ(strengths.front(), BytesOf<std::uint8_t>(0));
    }
    EXPECT_EQ(std::count(offsets.begin(), offsets.end(), 0x0560u), 1);
    EXPECT_EQ(std::count(offsets.begin(), offsets.end(), 0x30B0u), 0);
}

using State = std::tuple<Name, bool, std::uint32_t, bool, int, const char*>;
class LinkStateTable : public ::testing::TestWithParam<State> {};
TEST_P(LinkStateTable, TextWithTheSecondsSinceTheLastGoodCycle) {
    const auto& [name, linked, result, everRead, secondsAgo, text] = GetParam();
    const Clock::time_point now{std::chrono::hours(1)};
    LinkSnapshot s;
    s.linked = linked;
    s.linkResult = result;
    s.positionRead = everRead;
    s.lastGoodCycle = now - std::chrono::milliseconds(secondsAgo * 1000 + 400);
    EXPECT_EQ(LinkStateText(s, now, 1000ms), text);
}
INSTANTIATE_TEST_SUITE_P(
    States, LinkStateTable,
    ::testing::Values(State{"Live", true, 0, true, 0, "Linked"},
                      State{"Stale", true, 0, true, 12, "Not answering 12 s"},
                      State{"TimedOut", false, 11, true, 3, "Not answering 3 s"},
                      State{"NeverFound", false, 2, false, 0, "No simulator"},
                      State{"Gone", false, 2, true, 7, "No simulator 7 s"},
                      State{"RefusedNeverRead", false, 7, false, 0, "Not answering"}),
    RowName);

} // namespace
