// A flight log of 15,000 fixes (a made-up one, and a real one of 14,819) read, and its climbs
// found: the target for the climbs is 20 ms.

#include "flight/climbs.h"
#include "flight/igcfile.h"
#include "flightlog.h"

#include <fstream>
#include <iterator>

#include <benchmark/benchmark.h>

namespace {

const std::string& MadeUp() {
    static const std::string log = MadeUpFlightLog(15'000);
    return log;
}

const std::string& Real() {
    static const std::string log = [] {
        std::ifstream in(BREVAN_TEST_DATA "/igc/flight_with_middle_landing.igc", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }();
    return log;
}

void Read(benchmark::State& state, const std::string& log) {
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadIgcFile(log));
    state.counters["fixes"] = double(ReadIgcFile(log).fixes.size());
}

void Climbs(benchmark::State& state, const std::string& log) {
    const IgcFlight flight = ReadIgcFile(log);
    std::size_t climbs = 0;
    for (auto _ : state)
        climbs = FindClimbs(flight).size();
    state.counters["climbs"] = double(climbs);
}

void BM_ReadMadeUpLog(benchmark::State& state) {
    Read(state, MadeUp());
}
void BM_ClimbsOfMadeUpLog(benchmark::State& state) {
    Climbs(state, MadeUp());
}
void BM_ReadRealLog(benchmark::State& state) {
    Read(state, Real());
}
void BM_ClimbsOfRealLog(benchmark::State& state) {
    Climbs(state, Real());
}

} // namespace

BENCHMARK(BM_ReadMadeUpLog)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClimbsOfMadeUpLog)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadRealLog)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClimbsOfRealLog)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
