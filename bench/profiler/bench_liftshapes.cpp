#include "builders.h"
#include "profiler/thermallift.h"

#include <array>

#include <benchmark/benchmark.h>

namespace {

// What one tick's lift costs in each shape, with wind: a tick of the profiler (bench_profiler)
// costs the same plus what its shape costs over the plateau. The aircraft circles the thermal
// through its core, flank and sink ring and up and down its band.
void BM_LiftAtAircraft(benchmark::State& state) {
    const auto t = NewThermal(47.0, 8.0);
    const LiftModel model{static_cast<LiftShape>(state.range(0)), 3};
    std::array<GeoPoint, 16> places;
    for (std::size_t i = 0; i < places.size(); ++i)
        places[i] = {47.0 + 0.0005 * static_cast<double>(i % 4), 8.0 + 0.0007 * (i / 4.0)};
    std::size_t i = 0;
    for (auto _ : state) {
        const double altitudeM = 100.0 + 90.0 * static_cast<double>(i % 17);
        benchmark::DoNotOptimize(
            LiftAtAircraft(*t, model, 50, places[i % places.size()], 0, altitudeM));
        ++i;
    }
}
BENCHMARK(BM_LiftAtAircraft)
    ->ArgName("shape")
    ->Arg(static_cast<int>(LiftShape::plateau))
    ->Arg(static_cast<int>(LiftShape::bellWithSink))
    ->Arg(static_cast<int>(LiftShape::gaussian))
    ->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
