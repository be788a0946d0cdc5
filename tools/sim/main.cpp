// brevan-sim: a stand-in flight simulator that serves the program's simulator link.

#include "options.h"
#include "readhook.h"
#include "replay.h"
#include "requestlog.h"
#include "simlink/posixtransport.h"
#include "simserver.h"
#include "simstate.h"
#include "stopsignals.h"
#include "variables.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>

namespace {

void PrintStatus(double seconds, const SimState& state, const SimServer& server,
                 const Replay* replay) {
    std::printf("%6.0f s  lat %.5f  lon %.5f  alt %.0f m  ground %.0f m  hdg %.0f  strength %d"
                "  lift %.2f m/s  block %s  roll %.2f  clients %zu  requests %llu",
                seconds, state.lat, state.lon, state.altitude, GroundElevation(state),
                state.heading, state.strength, LiftMs(state), state.blockPresent ? "on" : "off",
                state.rollRate, server.Clients(), static_cast<unsigned long long>(server.Frames()));
    if (replay) {
        const int t = replay->TimeOfDayS();
        std::printf("  log %02d:%02d:%02d UTC x%g", t / 3600, t / 60 % 60, t % 60,
                    state.replayFactor);
    }
    std::printf("%s\n", state.paused ? "  paused" : "");
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    SimOptions options;
    std::string error;
    if (!ParseOptions({argv + 1, argv + argc}, options, error)) {
        std::fprintf(stderr, "brevan-sim: %s\nTry 'brevan-sim --help'.\n", error.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(simUsage, stdout);
        return 0;
    }

    std::vector<ScriptStep> steps;
    if (!options.script.empty()) {
        std::ifstream script(options.script);
        if (!script) {
            std::fprintf(stderr, "brevan-sim: cannot read script %s\n", options.script.c_str());
            return 2;
        }
        if (!ParseScript(script, options.state, steps, error)) {
            std::fprintf(stderr, "brevan-sim: %s: %s\n", options.script.c_str(), error.c_str());
            return 2;
        }
    }
    std::optional<Replay> replay;
    if (!options.replay.empty()) {
        replay = Replay::FromFile(options.replay, error);
        if (!replay) {
            std::fprintf(stderr, "brevan-sim: %s\n", error.c_str());
            return 2;
        }
        // Flat ground at the take-off unless --ground gave a height: a flight launched from
        // a mountain lands far below it.
        if (!options.state.flatGround)
            options.state.flatGround = replay->TakeOffAltitudeM();
        replay->Advance(options.state, 0);
    }
    std::ofstream logFile;
    if (!options.log.empty()) {
        logFile.open(options.log, std::ios::trunc);
        if (!logFile) {
            std::fprintf(stderr, "brevan-sim: cannot write log %s\n", options.log.c_str());
            return 2;
        }
    }

    using Clock = std::chrono::steady_clock;
    SimState& state = options.state;
    Clock::time_point last = Clock::now();
    const auto advance = [&] {
        const Clock::time_point now = Clock::now();
        const double seconds = std::chrono::duration<double>(now - last).count();
        last = now;
        if (replay)
            replay->Advance(state, seconds);
        else if (!state.paused)
            Advance(state, seconds);
    };
    SimVariables variables(state, options.fsuipcVersion, 0xFADE0000 | options.simCode);
    ReadHook moving(variables, advance);
    std::unique_ptr<RequestLog> log;
    if (logFile.is_open())
        log = std::make_unique<RequestLog>(logFile, moving);
    SimServer server(log ? static_cast<OffsetSpace&>(*log) : moving, state);

    const std::string path = posixipc::IpcDirectory() + "/" +
                             (options.fs98 ? posixipc::fs98MainSocket : posixipc::uipcMainSocket);
    if (!server.Listen(path, error)) {
        std::fprintf(stderr, "brevan-sim: %s\n", error.c_str());
        return 1;
    }
    InstallStopSignals();
    std::printf("brevan-sim: listening on %s\n", path.c_str());
    std::fflush(stdout);

    const Clock::time_point start = Clock::now();
    double nextStatus = 1;
    std::size_t nextStep = 0;
    while (!stopRequested) {
        server.Poll(std::chrono::milliseconds(20));
        advance();
        const double elapsed = std::chrono::duration<double>(last - start).count();
        for (; nextStep < steps.size() && steps[nextStep].time <= elapsed; ++nextStep)
            ApplySetting(state, steps[nextStep].key, steps[nextStep].value, error);
        if (logFile.is_open())
            logFile.flush();
        if (elapsed >= nextStatus) {
            PrintStatus(elapsed, state, server, replay ? &*replay : nullptr);
            nextStatus += 1;
        }
    }
    std::printf("brevan-sim: stopped\n");
    return 0;
}
