// brevan-fg: serves the program's simulator link with the aircraft flown in FlightGear.

#include "fgbridge.h"
#include "fgfs.h"
#include "fgoptions.h"
#include "requestlog.h"
#include "simlink/posixtransport.h"
#include "simserver.h"
#include "stopsignals.h"
#include "variables.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <unistd.h>

namespace {

int Fail(const std::string& message) {
    std::fprintf(stderr, "brevan-fg: %s\n", message.c_str());
    return 1;
}

std::string Joined(const std::vector<std::string>& words) {
    std::string line;
    for (const std::string& w : words)
        line += (line.empty() ? "" : " ") + (w.find(' ') == std::string::npos ? w : "'" + w + "'");
    return line;
}

// The data folder fgfs reads while the bridge runs, removed at the end.
struct TempFolder {
    std::string path;
    ~TempFolder() {
        if (!path.empty()) {
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        }
    }
};

// Lines "move LAT LON" from the control file, as they come.
class Control {
public:
    bool Open(const std::string& path) {
        fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        return fd_ >= 0;
    }
    ~Control() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    void Apply(FgBridge& bridge) {
        char buffer[512];
        ssize_t got = 0;
        while (fd_ >= 0 && (got = ::read(fd_, buffer, sizeof buffer)) > 0)
            pending_.append(buffer, static_cast<std::size_t>(got));
        for (std::size_t end; (end = pending_.find('\n')) != std::string::npos;) {
            const std::string line = pending_.substr(0, end);
            pending_.erase(0, end + 1);
            std::istringstream words(line);
            std::string command, extra;
            double lat = 0, lon = 0;
            if (words >> command >> lat >> lon && !(words >> extra) && command == "move" &&
                std::isfinite(lat) && std::isfinite(lon) && std::abs(lat) <= 90)
                bridge.Move(lat, lon);
            else if (!line.empty())
                std::fprintf(stderr,
                             "brevan-fg: control: expected \"move LAT LON\", not \"%.60s\"\n",
                             line.c_str());
        }
        if (pending_.size() > 4096)
            pending_.clear();
    }

private:
    int fd_ = -1;
    std::string pending_;
};

void PrintStatus(double seconds, const SimState& state, const FgBridge& bridge,
                 const SimServer& server, std::uint64_t frames) {
    std::printf("%6.0f s  FlightGear %s  %llu fps  lat %.5f  lon %.5f  alt %.0f m  ground %.0f m"
                "  hdg %.0f  strength %d  lift %.2f ft/s  trim %.2f  clients %zu  requests %llu"
                "  bad lines %llu\n",
                seconds, FgPhaseName(bridge.Phase()), static_cast<unsigned long long>(frames),
                state.lat, state.lon, state.altitude, state.flatGround.value_or(0), state.heading,
                state.strength, bridge.LiftFps(), bridge.Trim(), server.Clients(),
                static_cast<unsigned long long>(server.Frames()),
                static_cast<unsigned long long>(bridge.BadLines()));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    FgOptions options = DefaultFgOptions();
    std::string error;
    if (!ParseFgOptions({argv + 1, argv + argc}, options, error)) {
        std::fprintf(stderr, "brevan-fg: %s\nTry 'brevan-fg --help'.\n", error.c_str());
        return 2;
    }
    if (options.sim.help) {
        std::fputs(fgUsage, stdout);
        return 0;
    }
    std::string protocolDir;
    if (options.startFgfs || !options.makeData.empty()) {
        protocolDir = FindProtocolDir(options, error);
        if (protocolDir.empty())
            return Fail(error);
    }
    std::string warning;
    if (!options.makeData.empty()) {
        if (!MakeDataFolder(options.makeData, protocolDir, FgRoot(options), options.liftRate, error,
                            warning))
            return Fail(error);
        if (!warning.empty())
            std::fprintf(stderr, "brevan-fg: %s\n", warning.c_str());
        const std::string dir = std::filesystem::absolute(options.makeData).string();
        std::printf("Start FlightGear with these options, then brevan-fg:\nfgfs %s\n",
                    Joined(LineOptions(dir, options.lines, options.lines.outPort)).c_str());
        return 0;
    }

    std::ofstream record, logFile;
    if (!options.record.empty()) {
        record.open(options.record, std::ios::trunc);
        if (!record)
            return Fail("cannot write " + options.record);
    }
    if (!options.sim.log.empty()) {
        logFile.open(options.sim.log, std::ios::trunc);
        if (!logFile)
            return Fail("cannot write log " + options.sim.log);
    }

    Control control;
    if (!options.control.empty() && !control.Open(options.control))
        return Fail("cannot read " + options.control);

    SimState& state = options.sim.state;
    FgBridge bridge(state, options.lines);
    if (record.is_open())
        bridge.Record(&record);
    if (!bridge.Open(error))
        return Fail(error);
    SimVariables variables(state, options.sim.fsuipcVersion, 0xFADE0000 | options.sim.simCode);
    std::unique_ptr<RequestLog> log;
    if (logFile.is_open())
        log = std::make_unique<RequestLog>(logFile, variables);
    SimServer server(log ? static_cast<OffsetSpace&>(*log) : variables, state);
    const std::string path =
        posixipc::IpcDirectory() + "/" +
        (options.sim.fs98 ? posixipc::fs98MainSocket : posixipc::uipcMainSocket);
    if (!server.Listen(path, error))
        return Fail(error);
    InstallStopSignals();
    std::printf("brevan-fg: FlightGear's lines on udp port %d\n", bridge.OutPort());

    TempFolder data;
    FgfsProcess fgfs;
    if (options.startFgfs) {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "brevan-fg.XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            return Fail("cannot make a temporary folder for FlightGear's data");
        data.path = pattern;
        if (!MakeDataFolder(data.path, protocolDir, FgRoot(options), options.liftRate, error,
                            warning))
            return Fail(error);
        if (!warning.empty())
            std::fprintf(stderr, "brevan-fg: %s\n", warning.c_str());
        const std::vector<std::string> command = FgfsCommand(options, data.path, bridge.OutPort());
        const std::string fgLog =
            options.fgfsLog.empty() ? data.path + "/fgfs.log" : options.fgfsLog;
        std::printf("brevan-fg: starting %s\n", Joined(command).c_str());
        if (!fgfs.Start(command, fgLog, error))
            return Fail(error);
    }
    std::printf("brevan-fg: listening on %s\n", path.c_str());
    std::fflush(stdout);

    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    double nextStatus = 1;
    std::uint64_t framesAtStatus = 0;
    FgPhase phase = bridge.Phase();
    int exitCode = 0;
    while (!stopRequested) {
        server.Poll(std::chrono::milliseconds(10));
        control.Apply(bridge);
        const Clock::time_point now = Clock::now();
        bridge.Step(now);
        if (record.is_open())
            record.flush();
        if (logFile.is_open())
            logFile.flush();
        const double elapsed = std::chrono::duration<double>(now - start).count();
        if (bridge.Phase() != phase) {
            phase = bridge.Phase();
            std::printf("brevan-fg: FlightGear %s after %.1f s\n", FgPhaseName(phase), elapsed);
        }
        if (elapsed >= nextStatus) {
            PrintStatus(elapsed, state, bridge, server, bridge.Frames() - framesAtStatus);
            framesAtStatus = bridge.Frames();
            nextStatus += 1;
        }
        int status = 0;
        if (fgfs.Ended(status)) {
            std::printf("brevan-fg: fgfs has stopped (exit status %d)\n", status);
            if (status != 0 && options.fgfsLog.empty()) {
                std::ifstream fgLog(data.path + "/fgfs.log");
                std::vector<std::string> tail;
                for (std::string line; std::getline(fgLog, line);) {
                    tail.push_back(line);
                    if (tail.size() > 15)
                        tail.erase(tail.begin());
                }
                for (const std::string& line : tail)
                    std::fprintf(stderr, "fgfs: %s\n", line.c_str());
            }
            exitCode = status == 0 ? 0 : 1;
            break;
        }
    }
    fgfs.Stop();
    std::printf("brevan-fg: stopped\n");
    return exitCode;
}
