// Reading hostile .cup files: the reader's peak memory may grow by a quarter of the file at
// most (plus a megabyte of bookkeeping), however the file is broken.

#include "codecs/waypointimport.h"

#include <random>
#include <string>
#include <sys/resource.h>

#include <benchmark/benchmark.h>

namespace {

const std::string kHead = "name,code,country,lat,lon,elev,style,rwdir,rwlen,freq,desc\r\n";

long PeakKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Random bytes of 4 MB, or a 100 MB line of commas followed by a bad line.
std::string HostileFile(bool randomBytes) {
    std::string data = kHead;
    if (randomBytes) {
        std::mt19937 random(17);
        data.resize(4'000'000);
        for (char& c : data)
            c = static_cast<char>(random());
    } else {
        data.reserve(100'000'100);
        data.append(100'000'000, ',') += "\nA,,4630.000N\n";
    }
    return data;
}

// The peak only grows, so each input runs in its own process (--benchmark_filter) or the
// smaller one first; the counter is the growth over the file's quarter.
void ReadHostileCup(benchmark::State& state) {
    const std::string data = HostileFile(state.range(0) == 0);
    long growthKb = 0;
    for (auto _ : state) {
        const long before = PeakKb();
        const ImportedWaypoints read = ReadCupFile(data);
        benchmark::DoNotOptimize(read.problems.size());
        growthKb = std::max(growthKb, PeakKb() - before);
    }
    state.counters["peak_growth_kB"] = double(growthKb);
    state.counters["allowed_kB"] = double(data.size() / 4096 + 1024);
}
BENCHMARK(ReadHostileCup)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
