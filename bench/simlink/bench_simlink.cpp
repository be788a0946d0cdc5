// The link against the running stand-in over the POSIX transport: one read cycle paced as
// the read timer runs it, back to back, and the handshake; beside them the floor of an
// exchange, a bare ping-pong of eight bytes over a Unix-domain socket pair.

#include "simlink/fsupic.h"
#include "simlink/posixtransport.h"
#include "simprocess.h"

#include <algorithm>
#include <chrono>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include <benchmark/benchmark.h>

namespace {

using Clock = std::chrono::steady_clock;

// Median and 99th percentile of the samples, in microseconds, as counters.
void ReportPercentiles(benchmark::State& state, std::vector<double> samples) {
    if (samples.empty())
        return;
    std::sort(samples.begin(), samples.end());
    state.counters["median_us"] = samples[samples.size() / 2];
    state.counters["p99_us"] = samples[std::min(samples.size() - 1, samples.size() * 99 / 100)];
}

double MicrosecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

void ReadCycle(benchmark::State& state, bool paced) {
    SimProcess sim;
    sim.Start({"--circle", "60"});
    FSUPIC link(std::make_unique<PosixTransport>());
    std::vector<double> samples;
    Clock::time_point tick = Clock::now();
    for (auto _ : state) {
        if (paced) {
            tick += std::chrono::milliseconds(50);
            std::this_thread::sleep_until(tick);
        }
        const Clock::time_point start = Clock::now();
        link.ReadCycle();
        const double us = MicrosecondsSince(start);
        state.SetIterationTime(us / 1e6);
        samples.push_back(us);
    }
    if (link.Result() != LinkResult::okay)
        state.SkipWithError("the link went down");
    ReportPercentiles(state, std::move(samples));
}

void BM_ReadCyclePaced50ms(benchmark::State& state) {
    ReadCycle(state, true);
}
void BM_ReadCycleBackToBack(benchmark::State& state) {
    ReadCycle(state, false);
}

void BM_Open(benchmark::State& state) {
    SimProcess sim;
    sim.Start({});
    FsuipcLink link(std::make_unique<PosixTransport>());
    std::vector<double> samples;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        const bool opened = link.Open(0) == LinkResult::okay;
        const double us = MicrosecondsSince(start);
        state.SetIterationTime(us / 1e6);
        samples.push_back(us);
        link.Close();
        if (!opened) {
            state.SkipWithError("Open failed");
            break;
        }
    }
    ReportPercentiles(state, std::move(samples));
}

// Eight bytes to a thread that sends them back, paced as the read cycle.
void BM_SocketPingPongPaced50ms(benchmark::State& state) {
    int pair[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, pair) != 0) {
        state.SkipWithError("no socket pair");
        return;
    }
    std::thread echo([fd = pair[1]] {
        char buffer[8];
        while (::read(fd, buffer, sizeof buffer) == sizeof buffer)
            if (::write(fd, buffer, sizeof buffer) != sizeof buffer)
                return;
    });
    std::vector<double> samples;
    Clock::time_point tick = Clock::now();
    char buffer[8] = {};
    for (auto _ : state) {
        tick += std::chrono::milliseconds(50);
        std::this_thread::sleep_until(tick);
        const Clock::time_point start = Clock::now();
        if (::write(pair[0], buffer, sizeof buffer) != sizeof buffer ||
            ::read(pair[0], buffer, sizeof buffer) != sizeof buffer)
            state.SkipWithError("the echo broke off");
        const double us = MicrosecondsSince(start);
        state.SetIterationTime(us / 1e6);
        samples.push_back(us);
    }
    ::close(pair[0]);
    echo.join();
    ::close(pair[1]);
    ReportPercentiles(state, std::move(samples));
}

} // namespace

BENCHMARK(BM_SocketPingPongPaced50ms)
    ->Iterations(400)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadCyclePaced50ms)->Iterations(400)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadCycleBackToBack)
    ->Iterations(20000)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Open)->Iterations(10)->UseManualTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
