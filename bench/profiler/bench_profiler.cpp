#include "builders.h"
#include "fakelink.h"
#include "profiler/profiler.h"

#include <random>

#include <benchmark/benchmark.h>

namespace {

// 100,000 thermals spread over two by two degrees, the aircraft among them.
struct Flight {
    Flight() {
        std::mt19937 random(1);
        std::uniform_real_distribution<double> offset(-1.0, 1.0);
        ThermalSettings values = WindowDefaults();
        values.radius = 1500;
        thermals.reserve(100000);
        for (int i = 0; i < 100000; ++i)
            thermals.push_back(NewThermal(47.0 + offset(random), 8.0 + offset(random), values));
        link.lat = 47.0;
        link.lon = 8.0;
        link.altitude = 800;
        link.msStrength = 50;
    }

    FakeLink link;
    ThermalList thermals;
    TProfiler profiler{thermals, link};
};

// A tick of a running profiler: a sample of 10 and one strength write.
void BM_Tick(benchmark::State& state) {
    Flight flight;
    flight.profiler.Tick({false, 100, 10});
    for (auto _ : state) {
        flight.profiler.Tick({false, 100, 10});
        flight.link.strengthWrites.clear();
    }
}
BENCHMARK(BM_Tick)->Unit(benchmark::kMicrosecond);

// The first tick after a start: a search of the whole list.
void BM_FirstTick(benchmark::State& state) {
    Flight flight;
    for (auto _ : state) {
        flight.profiler.Stop();
        flight.profiler.Tick({false, 100, 10});
        flight.link.strengthWrites.clear();
    }
}
BENCHMARK(BM_FirstTick)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
