// The stand-in replaying a three-hour log at ten times its speed: its memory must stay flat.
// In process, the whole log flown on a clock of its own, a read every 50 ms and the resident
// memory sampled every 10 s of that clock; and the real brevan-sim read by the link every
// 50 ms for 40 s, its resident memory sampled every 10 s. The samples start after the first
// 10 s, once the link is set up; growth is the last sample less the first, in kB.

#include "flight/igcfile.h"
#include "flightlog.h"
#include "readhook.h"
#include "replay.h"
#include "residentmemory.h"
#include "simlink/fsupic.h"
#include "simlink/posixtransport.h"
#include "simprocess.h"
#include "variables.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <thread>
#include <vector>

#include <benchmark/benchmark.h>

namespace {

constexpr int kThreeHoursOfFixes = 3 * 3600;

void Report(benchmark::State& state, const std::vector<long>& samples) {
    state.counters["samples"] = double(samples.size());
    state.counters["first_kB"] = double(samples.front());
    state.counters["growth_kB"] = double(samples.back() - samples.front());
}

void BM_ReplayInProcess(benchmark::State& state) {
    const IgcFlight flight = ReadIgcFile(MadeUpFlightLog(kThreeHoursOfFixes));
    std::vector<long> samples;
    for (auto _ : state) {
        auto replay = Replay::FromLog(flight);
        SimState sim;
        sim.replaying = true;
        sim.replayFactor = 10;
        SimVariables variables(sim, 0x19980005, 0xFADE0006);
        ReadHook reads(variables, [&] { replay->Advance(sim, 0.05); });
        std::array<std::byte, 16> position{};
        samples.clear();
        for (int read = 0; replay->ClockS() < replay->LengthS(); ++read) {
            reads.ReadOffset(0x0560, position);
            if (read % 200 == 0 && read > 0)
                samples.push_back(ResidentKb("self"));
        }
    }
    Report(state, samples);
}

void BM_ReplayStandIn(benchmark::State& state) {
    const std::string path = "/tmp/brevan-bench-replay.igc";
    std::ofstream(path, std::ios::binary) << MadeUpFlightLog(kThreeHoursOfFixes);
    std::vector<long> samples;
    for (auto _ : state) {
        SimProcess sim;
        sim.Start({"--replay", path, "--speed", "10"});
        FSUPIC link(std::make_unique<PosixTransport>());
        const auto start = std::chrono::steady_clock::now();
        auto tick = start;
        samples.clear();
        for (int read = 0; read <= 800; ++read) {
            tick += std::chrono::milliseconds(50);
            std::this_thread::sleep_until(tick);
            link.ReadCycle();
            if (read % 200 == 0 && read > 0)
                samples.push_back(ResidentKb(std::to_string(sim.Pid())));
        }
        if (link.Result() != LinkResult::okay)
            state.SkipWithError("the link went down");
    }
    std::remove(path.c_str());
    Report(state, samples);
}

} // namespace

BENCHMARK(BM_ReplayInProcess)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_ReplayStandIn)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK_MAIN();
