#include "geo/coordtext.h"
#include "geo/distance.h"
#include "geo/numbertext.h"
#include "geo/textfields.h"

#include <benchmark/benchmark.h>

namespace {

// Every hint, status bar text and written file field goes through the number text.
void NumberTextOfCoordinates(benchmark::State& state) {
    double value = 47.1234567890123;
    for (auto _ : state) {
        benchmark::DoNotOptimize(NumberText(value));
        value += 0.00001;
    }
}
BENCHMARK(NumberTextOfCoordinates);

void StatusBarPositionText(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(LatText(47.123456, degMinSec));
        benchmark::DoNotOptimize(LonText(-8.654321, degMinSec));
    }
}
BENCHMARK(StatusBarPositionText);

// A project file thermal line with both extension sections, cut into its numbers.
void ThermalLineFields(benchmark::State& state) {
    const std::string_view line = "4712345,812345,1,0,1500,300,270,5,1,450,1800,800,2,1,7,-1,-1,0,-"
                                  "0.5,-1,-1,2,4,100,50,10,90";
    for (auto _ : state) {
        int p = 1;
        int count = 0;
        while (NextNumber(line, p) != "-1")
            ++count;
        benchmark::DoNotOptimize(count);
    }
}
BENCHMARK(ThermalLineFields);

// The profiler measures one distance per thermal per tick.
void GreatCircleDistance(benchmark::State& state) {
    double lon = 8.0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(DistanceKm({47.0, 8.0}, {47.01, lon}));
        lon += 1e-7;
    }
}
BENCHMARK(GreatCircleDistance);

} // namespace

BENCHMARK_MAIN();
