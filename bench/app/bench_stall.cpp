// The window's event loop while its simulator misbehaves: the largest gap between the ticks
// of a 10 ms timer on the window's thread, with the demo project flying against brevan-sim
// that answers, is frozen (SIGSTOP) for a minute, is killed, is restarted, and answers every
// request 1.5 s late. The window must never wait on the simulator (target: at most 50 ms).

#include "app/mainform.h"
#include "simlink/posixtransport.h"
#include "simlink/threadedlink.h"
#include "simprocess.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <string>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

namespace {

// The largest gap between ticks of a 10 ms timer while the event loop runs for a while.
double LongestGapMs(std::chrono::seconds phase) {
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0;
    qint64 longest = 0;
    QTimer ticks;
    ticks.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        longest = std::max(longest, now - last);
        last = now;
    });
    ticks.start(10);
    QEventLoop loop;
    QTimer::singleShot(phase, &loop, &QEventLoop::quit);
    loop.exec();
    return double(longest);
}

void BM_WindowStallWhileTheSimulatorMisbehaves(benchmark::State& state) {
    for (auto _ : state) {
        SimProcess sim;
        sim.Start({"--block", "on", "--script", BREVAN_DEMO_DIR "/flight.txt"});
        QTemporaryDir dir;
        const QString settings = dir.filePath(QStringLiteral("brevan.INI"));
        TMainForm form(
            [](std::chrono::milliseconds interval) {
                return std::make_unique<ThreadedLink>(std::make_unique<PosixTransport>(), interval);
            },
            settings);
        form.show();
        form.LoadProjectFile(QStringLiteral(BREVAN_DEMO_DIR "/demo.prj"), false);

        using namespace std::chrono_literals;
        state.counters["answering_ms"] = LongestGapMs(5s);
        ::kill(sim.Pid(), SIGSTOP);
        state.counters["frozen_ms"] = LongestGapMs(60s);
        sim.Kill();
        state.counters["killed_ms"] = LongestGapMs(5s);
        sim.Start({"--block", "on"});
        state.counters["restarted_ms"] = LongestGapMs(5s);
        sim.Stop();
        sim.Start({"--block", "on", "--delay", "1500"});
        state.counters["late_ms"] = LongestGapMs(15s);
        double longest = 0;
        for (const char* phase :
             {"answering_ms", "frozen_ms", "killed_ms", "restarted_ms", "late_ms"})
            longest = std::max(longest, double(state.counters[phase]));
        state.counters["longest_ms"] = longest;
    }
}
BENCHMARK(BM_WindowStallWhileTheSimulatorMisbehaves)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace
