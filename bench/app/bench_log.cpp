// A flight log of 15,000 fixes opened and drawn in the window (target 100 ms), its track
// repainted alone (target 3 ms); and the program following the stand-in as it replays a
// three-hour log at ten times its speed: its resident memory sampled every 10 s and the link's
// read cycles counted against the interval (BREVAN_REPLAY_SECONDS shortens the run).

#include "app/livetracking.h"
#include "app/mainform.h"
#include "fakelink.h"
#include "flight/flighttrack.h"
#include "flightlog.h"
#include "map/map.h"
#include "residentmemory.h"
#include "scene/flighttrackitem.h"
#include "scene/mapview.h"
#include "simlink/posixtransport.h"
#include "simlink/threadedlink.h"
#include "simprocess.h"

#include <string>
#include <vector>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QGraphicsScene>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

namespace {

constexpr int kLogFixes = 15'000;
constexpr int kThreeHoursOfFixes = 3 * 3600;

QString WriteLog(const QTemporaryDir& dir, int fixes) {
    const QString path = dir.filePath(QStringLiteral("flight.igc"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    const std::string log = MadeUpFlightLog(fixes);
    file.write(log.data(), qint64(log.size()));
    return path;
}

QString QuietSettings(const QTemporaryDir& dir) {
    const QString path = dir.filePath(QStringLiteral("brevan.INI"));
    QFile settings(path);
    settings.open(QIODevice::WriteOnly);
    settings.write("[Timers]\nDataRead=0\nProfiler=0\nDisplay=0\n");
    return path;
}

// Opening the log: read, track, climbs, the line and the Climbs window; then the window
// drawn. The first opening made the plain map it lies on, so no question is asked.
void BM_OpenAndDrawLog(benchmark::State& state) {
    QTemporaryDir dir;
    const QString log = WriteLog(dir, kLogFixes);
    TMainForm form([](auto) { return std::make_unique<FakeLink>(); }, QuietSettings(dir));
    form.show();
    form.LoadLogFile(log);
    for (auto _ : state) {
        form.LoadLogFile(log);
        benchmark::DoNotOptimize(form.grab());
    }
    state.counters["fixes"] = kLogFixes;
}
BENCHMARK(BM_OpenAndDrawLog)->Unit(benchmark::kMillisecond);

// The track of 15,000 fixes repainted over a map of 1000 x 800 pixels.
void BM_TrackRepaint(benchmark::State& state) {
    const IgcFlight flight = ReadIgcFile(MadeUpFlightLog(kLogFixes));
    Map map;
    map.SetPicture(QImage(1000, 800, QImage::Format_RGB32), FlightFrame(flight));
    map.Resize(1000, 800);
    QGraphicsScene scene;
    scene.addItem(new FlightTrackItem(FlightTrail(flight), map));
    QImage canvas(1000, 800, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&canvas);
        scene.render(&painter);
    }
}
BENCHMARK(BM_TrackRepaint)->Unit(benchmark::kMillisecond);

void BM_FollowReplayAtTenTimes(benchmark::State& state) {
    const int seconds = qEnvironmentVariableIntValue("BREVAN_REPLAY_SECONDS") > 0
                            ? qEnvironmentVariableIntValue("BREVAN_REPLAY_SECONDS")
                            : kThreeHoursOfFixes / 10;
    QTemporaryDir dir;
    const QString log = WriteLog(dir, kThreeHoursOfFixes);
    for (auto _ : state) {
        SimProcess sim;
        sim.Start({"--replay", log.toStdString(), "--speed", "10"});
        TMainForm form(
            [](std::chrono::milliseconds interval) {
                return std::make_unique<ThreadedLink>(std::make_unique<PosixTransport>(), interval);
            },
            dir.filePath(QStringLiteral("brevan.INI")));
        form.show();
        form.LoadLogFile(log);
        const auto& link = dynamic_cast<ThreadedLink&>(form.liveTracking().link());
        std::vector<long> samples;
        std::uint64_t firstCycles = 0;
        QElapsedTimer clock;
        QTimer sampler;
        QObject::connect(&sampler, &QTimer::timeout, [&] {
            if (samples.empty()) {
                // From here on the link is set up: the read cycles are counted.
                firstCycles = link.snapshot().cycles;
                clock.start();
            }
            samples.push_back(ResidentKb());
        });
        sampler.start(10'000);
        QEventLoop loop;
        QTimer::singleShot(std::chrono::seconds(seconds), &loop, &QEventLoop::quit);
        loop.exec();
        const double expected = double(clock.elapsed()) / 50;
        const double cycles = double(link.snapshot().cycles - firstCycles);
        state.counters["samples"] = double(samples.size());
        state.counters["first_kB"] = double(samples.front());
        state.counters["growth_kB"] = double(samples.back() - samples.front());
        state.counters["cycles"] = cycles;
        state.counters["missed"] = std::max(0.0, expected - cycles);
    }
}
BENCHMARK(BM_FollowReplayAtTenTimes)->Unit(benchmark::kSecond)->Iterations(1);

} // namespace
