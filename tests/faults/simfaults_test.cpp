// The link against a stand-in that is frozen, killed in the middle of an exchange, or
// answers late: the client goes on, is blocked no longer than its time-outs allow, and
// links again once a stand-in answers.

#include "simlink/fsupic.h"
#include "simlink/posixtransport.h"
#include "simprocess.h"

#include <chrono>
#include <csignal>
#include <future>
#include <thread>

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Short time-outs keep the tests quick; the bound that a blocked exchange must keep is
// every try waiting its full time-out plus its pause, with room for a busy machine.
constexpr LinkTiming quick{60ms, 5ms, 9};
constexpr auto exchangeBound = quick.tries * (quick.sendTimeout + quick.pause) + 1500ms;
// Well below the nine time-outs of one exchange: what returns within it waited on nothing.
constexpr auto atOnce = 300ms;
// Longer tries, so that a stand-in woken in the middle of an exchange has time to catch up.
constexpr LinkTiming patient{300ms, 5ms, 9};

class SimFaultTest : public ::testing::Test {
protected:
    void TearDown() override {
        // A frozen stand-in would never see the SIGTERM of its own clean-up.
        if (sim.Running())
            ::kill(sim.Pid(), SIGCONT);
    }

    void Signal(int signal) { ASSERT_EQ(::kill(sim.Pid(), signal), 0); }

    // Runs the call and returns how long it held the caller.
    template <typename F> static Clock::duration Timed(F&& call) {
        const auto start = Clock::now();
        call();
        return Clock::now() - start;
    }

    std::unique_ptr<FSUPIC> Linked(LinkTiming timing = quick) {
        auto link = std::make_unique<FSUPIC>(std::make_unique<PosixTransport>(), timing);
        link->ReadCycle();
        EXPECT_EQ(link->LinkResult(), resultOkay) << ResultText(link->LinkResult());
        return link;
    }

    SimProcess sim;
};

TEST_F(SimFaultTest, FrozenStandInBlocksNoLongerThanTheTimeOuts) {
    sim.Start({"--speed", "0", "--altitude", "700"});
    const auto link = Linked();
    Signal(SIGSTOP);

    // The exchange of this cycle times out; the next cycle's reconnection finds the socket
    // still accepting, and its handshake times out in the same bound.
    EXPECT_LE(Timed([&] { link->ReadCycle(); }), exchangeBound);
    EXPECT_EQ(link->LinkResult(), 1u);
    EXPECT_LE(Timed([&] { link->ReadCycle(); }), exchangeBound);
    EXPECT_EQ(link->LinkResult(), resultTimedOut);
    // Writes and the heading skip the exchange while the link is down.
    EXPECT_LE(Timed([&] {
                  link->SetMsStrength(20);
                  EXPECT_EQ(link->GetHeading(), 0);
              }),
              atOnce);
    EXPECT_NEAR(link->GetAltitude(), 700, 2);

    // Woken up, the stand-in works through the frames it missed; the client has dropped
    // those connections and links again on a fresh one.
    Signal(SIGCONT);
    link->ReadCycle();
    EXPECT_EQ(link->LinkResult(), resultOkay) << ResultText(link->LinkResult());
    EXPECT_NEAR(link->GetAltitude(), 700, 2);
}

TEST_F(SimFaultTest, LinkMadeWhileTheStandInIsFrozenStaysDownWithinTheBound) {
    sim.Start({"--speed", "0"});
    Signal(SIGSTOP);
    std::unique_ptr<FSUPIC> link;
    EXPECT_LE(
        Timed([&] { link = std::make_unique<FSUPIC>(std::make_unique<PosixTransport>(), quick); }),
        exchangeBound);
    EXPECT_EQ(link->LinkResult(), resultTimedOut);
    EXPECT_EQ(link->GetLat(), 0);

    Signal(SIGCONT);
    link->ReadCycle();
    EXPECT_EQ(link->LinkResult(), resultOkay) << ResultText(link->LinkResult());
}

TEST_F(SimFaultTest, RepliesToTriesThatTimedOutAreDiscardedAndTheLastTryIsAnswered) {
    sim.Start({"--speed", "0", "--altitude", "650"});
    const auto link = Linked(patient);
    Signal(SIGSTOP);
    // Woken during the third try: the replies to the first two come first, with their old
    // sequence numbers, on the connection that is still waiting.
    auto wake = std::async(std::launch::async, [this] {
        std::this_thread::sleep_for(2 * patient.sendTimeout + 150ms);
        ::kill(sim.Pid(), SIGCONT);
    });
    link->ReadCycle();
    wake.get();
    EXPECT_EQ(link->LinkResult(), resultOkay) << ResultText(link->LinkResult());
    EXPECT_NEAR(link->GetAltitude(), 650, 2);
    // The same connection serves the next cycle: no late reply is left to confuse it.
    link->ReadCycle();
    EXPECT_EQ(link->LinkResult(), resultOkay);
    EXPECT_NEAR(link->GetAltitude(), 650, 2);
}

TEST_F(SimFaultTest, StandInKilledMidExchangeFailsTheExchangeAndARestartIsLinked) {
    sim.Start({"--speed", "0", "--altitude", "800"});
    const auto link = Linked();
    // Frozen first, so that the kill is sure to land while the client waits for the reply.
    Signal(SIGSTOP);
    auto killer = std::async(std::launch::async, [this] {
        std::this_thread::sleep_for(quick.sendTimeout / 2);
        ::kill(sim.Pid(), SIGKILL);
    });
    EXPECT_LE(Timed([&] { link->ReadCycle(); }), exchangeBound);
    killer.get();
    sim.Kill(); // reaps it; the socket file stays behind as after a crash
    EXPECT_EQ(link->LinkResult(), 1u);

    // Nobody listens on the socket that was left: no server, at once.
    EXPECT_LE(Timed([&] { link->ReadCycle(); }), atOnce);
    EXPECT_EQ(link->LinkResult(), resultNoServer);
    link->MoveAircraft(10, 20);
    EXPECT_NEAR(link->GetLat(), 10, 1e-9);

    // A new stand-in on a new socket in the same place.
    sim.Start({"--speed", "0", "--altitude", "900"});
    link->ReadCycle();
    ASSERT_EQ(link->LinkResult(), resultOkay) << ResultText(link->LinkResult());
    EXPECT_NEAR(link->GetAltitude(), 900, 2);
}

} // namespace
