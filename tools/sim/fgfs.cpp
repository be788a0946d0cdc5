#include "fgfs.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr const char* protocolFiles[] = {"brevan_out.xml", "brevan_in.xml", "brevan_move.xml"};

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

bool HasProtocols(const fs::path& dir) {
    std::error_code error;
    for (const char* file : protocolFiles) {
        if (!fs::is_regular_file(dir / file, error))
            return false;
    }
    return true;
}

std::string FindOnPath(const std::string& program) {
    std::istringstream path(Env("PATH"));
    std::string dir;
    while (std::getline(path, dir, ':')) {
        const fs::path candidate = fs::path(dir.empty() ? "." : dir) / program;
        if (::access(candidate.c_str(), X_OK) == 0)
            return candidate.string();
    }
    return {};
}

std::string Text(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6f", value);
    return text;
}

} // namespace

std::string FindProtocolDir(const FgOptions& options, std::string& error) {
    std::vector<fs::path> candidates;
    if (!options.protocolDir.empty()) {
        candidates.push_back(options.protocolDir);
    } else {
        std::error_code ignored;
        const fs::path self = fs::read_symlink("/proc/self/exe", ignored);
        if (!self.empty())
            candidates.push_back(self.parent_path().parent_path() / "share" / "brevan-talvor" /
                                 "flightgear" / "Protocol");
#ifdef BREVAN_FG_SOURCE_PROTOCOL
        candidates.push_back(BREVAN_FG_SOURCE_PROTOCOL);
#endif
    }
    for (const fs::path& dir : candidates) {
        if (HasProtocols(dir))
            return dir.string();
    }
    error = "cannot find brevan_out.xml, brevan_in.xml and brevan_move.xml in " +
            candidates.front().string() + " (--protocol-dir gives the folder)";
    return {};
}

std::string FgRoot(const FgOptions& options) {
    if (!options.fgRoot.empty())
        return options.fgRoot;
    const std::string fromEnvironment = Env("FG_ROOT");
    return fromEnvironment.empty() ? "/usr/share/games/flightgear" : fromEnvironment;
}

bool MakeDataFolder(const std::string& dir, const std::string& protocolDir,
                    const std::string& fgRoot, double liftRate, std::string& error,
                    std::string& warning) {
    std::error_code failure;
    const fs::path data(dir);
    fs::create_directories(data / "Protocol", failure);
    if (!failure)
        fs::create_directories(data / "Environment", failure);
    for (const char* file : protocolFiles) {
        if (!failure)
            fs::copy_file(fs::path(protocolDir) / file, data / "Protocol" / file,
                          fs::copy_options::overwrite_existing, failure);
    }
    if (failure) {
        error = "cannot write the data folder " + dir + ": " + failure.message();
        return false;
    }
    const fs::path interpolator = fs::path(fgRoot) / "Environment" / "interpolator.xml";
    std::ifstream in(interpolator);
    if (!in) {
        error = "cannot read " + interpolator.string() +
                ": is FlightGear installed? (--fg-root gives its data folder)";
        return false;
    }
    const std::string original{std::istreambuf_iterator<char>(in), {}};
    const std::optional<std::string> raised = RaiseLiftRate(original, liftRate);
    if (!raised) {
        warning = interpolator.string() +
                  " has no wind-from-down rate limit to raise: the lift will reach the "
                  "aircraft at FlightGear's own pace";
        return true;
    }
    std::ofstream out(data / "Environment" / "interpolator.xml", std::ios::trunc);
    out << *raised;
    if (!out.flush()) {
        error = "cannot write " + (data / "Environment" / "interpolator.xml").string();
        return false;
    }
    return true;
}

std::vector<std::string> LineOptions(const std::string& dataDir, const FgSettings& lines,
                                     int outPort) {
    const std::string to = "--generic=socket,";
    return {"--data=" + dataDir,
            to + "out,20,127.0.0.1," + std::to_string(outPort) + ",udp,brevan_out",
            to + "in,20,127.0.0.1," + std::to_string(lines.inPort) + ",udp,brevan_in",
            to + "in,20,127.0.0.1," + std::to_string(lines.movePort) + ",udp,brevan_move"};
}

std::vector<std::string> FgfsCommand(const FgOptions& options, const std::string& dataDir,
                                     int outPort) {
    std::vector<std::string> command;
    // Without a session bus fgfs aborts at start; without a display it cannot open one.
    if (Env("DBUS_SESSION_BUS_ADDRESS").empty())
        command.insert(command.end(), {"dbus-run-session", "--"});
    const bool virtualDisplay = options.headless || Env("DISPLAY").empty();
    if (virtualDisplay)
        command.insert(command.end(), {"xvfb-run", "-a", "-s", "-screen 0 1024x768x24"});
    std::string fgfs = options.fgfs;
    if (fgfs.empty())
        fgfs = FindOnPath("fgfs");
    command.push_back(fgfs.empty() ? "/usr/games/fgfs" : fgfs);
    if (!options.fgRoot.empty())
        command.push_back("--fg-root=" + options.fgRoot);
    const SimState& start = options.sim.state;
    command.insert(command.end(),
                   {"--aircraft=" + options.aircraft, "--lat=" + Text(start.lat),
                    "--lon=" + Text(start.lon),
                    "--altitude=" + Text(start.altitude / metresPerFoot),
                    "--heading=" + Text(start.heading), "--vc=" + Text(options.speedKmh / 1.852),
                    "--in-air", "--disable-terrasync", "--disable-real-weather-fetch"});
    // On a virtual display nobody watches: spend little on drawing. Its software renderer
    // also crashes compiling the terrain shaders over land (Mesa's llvmpipe, FlightGear
    // 2020.3 over Oahu), which the lowest shader quality avoids.
    if (virtualDisplay)
        command.insert(command.end(),
                       {"--disable-sound", "--fog-fastest", "--disable-clouds",
                        "--geometry=320x240", "--prop:/sim/rendering/shaders/quality-level=0"});
    const std::vector<std::string> lines = LineOptions(dataDir, options.lines, outPort);
    command.insert(command.end(), lines.begin(), lines.end());
    command.insert(command.end(), options.fgfsOptions.begin(), options.fgfsOptions.end());
    return command;
}

FgfsProcess::~FgfsProcess() {
    Stop();
}

bool FgfsProcess::Start(const std::vector<std::string>& command, const std::string& log,
                        std::string& error) {
    std::vector<std::string> arguments = command;
    std::vector<char*> argv;
    for (std::string& a : arguments)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    const int out = ::open(log.empty() ? "/dev/null" : log.c_str(),
                           O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const int in = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (out < 0 || in < 0) {
        error = "cannot write " + log + ": " + std::strerror(errno);
        if (out >= 0)
            ::close(out);
        if (in >= 0)
            ::close(in);
        return false;
    }
    pid_ = ::fork();
    if (pid_ == 0) {
        // A group of its own, so that the wrappers and fgfs stop together and a Ctrl+C at
        // the terminal reaches the bridge only, which then stops them in order.
        ::setpgid(0, 0);
        if (::dup2(in, STDIN_FILENO) >= 0 && ::dup2(out, STDOUT_FILENO) >= 0 &&
            ::dup2(out, STDERR_FILENO) >= 0)
            ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(out);
    ::close(in);
    if (pid_ < 0) {
        error = std::string("cannot start fgfs: ") + std::strerror(errno);
        return false;
    }
    ::setpgid(pid_, pid_);
    return true;
}

bool FgfsProcess::Ended(int& status) {
    if (pid_ <= 0)
        return false;
    int raw = 0;
    if (::waitpid(pid_, &raw, WNOHANG) != pid_)
        return false;
    status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    // Whatever the first process left of its group goes with it.
    ::kill(-pid_, SIGTERM);
    pid_ = -1;
    return true;
}

void FgfsProcess::Stop() {
    if (pid_ <= 0)
        return;
    ::kill(-pid_, SIGTERM);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    int raw = 0;
    while (::waitpid(pid_, &raw, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(-pid_, SIGKILL);
            ::waitpid(pid_, &raw, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ::kill(-pid_, SIGTERM);
    pid_ = -1;
}
