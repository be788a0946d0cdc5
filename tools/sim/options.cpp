#include "options.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <sstream>

const char* const simUsage = R"(Usage: brevan-sim [OPTION]...
A stand-in flight simulator for Brevan Talvor. It flies one glider and serves the
program's simulator link on the socket D/UIPCMAIN.sock, where D is $BREVAN_IPC_DIR if
set, else $XDG_RUNTIME_DIR if set, else /tmp. Start it, then start the program.

  --lat DEG            start latitude, north positive (default 46.5)
  --lon DEG            start longitude, east positive (default 7.5)
  --heading DEG        start heading, degrees true (default 0)
  --altitude M         start altitude in metres (default 1500)
  --speed KMH          airspeed in km/h (default 90); with --replay the replay's
                       time factor instead (default 1: real time, 10: ten times as fast)
  --circle SECONDS     fly circles taking SECONDS each; negative turns left
                       (default 0: straight ahead)
  --strength N         thermal strength byte 0-255; it lifts the glider (default 0)
  --block on|off       whether the simulator has the thermal block (default on)
  --ground M|terrain   a flat world at M metres instead of the hills (default terrain)
  --sim CODE           simulator code reported to the program: 1 FS98, 2 FS2000,
                       3 CFS2, 4 CFS1, 5 Fly!, 6 FS2002 (default 6)
  --fsuipc-version N   FSUIPC version reported, e.g. 0x19980005 (the lowest accepted)
  --fs98               listen as FS98MAIN instead of UIPCMAIN
  --delay MS           answer each request MS milliseconds late (default 0)
  --pause on|off       hold the aircraft where it is (default off)
  --replay FILE        fly the IGC flight log FILE again: position, altitude and
                       heading (from the track) between its fixes at every read, over
                       flat ground at the take-off altitude unless --ground gives one;
                       --lat, --lon, --heading, --altitude and --circle are the log's
  --seek TIME          with --replay, go to TIME of the log: seconds after its first
                       fix, or its UTC time hh:mm:ss (default: the first fix)
  --script FILE        apply settings at given times; each line "SECONDS KEY VALUE"
                       with a KEY named like the options above (lat, lon, heading,
                       altitude, speed, circle, strength, block, ground, delay, pause,
                       seek) or "answer on|off" (off: requests are read but never
                       answered)
  --log FILE           write every request record received as one JSON line:
                       time, op (read or write), offset, size and written bytes
  --help               show this text and stop

It prints a status line every second and stops on Ctrl+C (SIGINT) or SIGTERM,
removing its socket.
)";

namespace {

// The settings a script may also change; "answer" is for scripts only.
constexpr std::array<std::string_view, 12> settingOptions{
    "lat",      "lon",   "heading", "altitude", "speed", "circle",
    "strength", "block", "ground",  "delay",    "pause", "seek"};

bool ParseUnsigned(const std::string& text, std::uint32_t& value) {
    const bool hex = text.starts_with("0x") || text.starts_with("0X");
    const char* begin = text.data() + (hex ? 2 : 0);
    const char* end = text.data() + text.size();
    const auto [stop, failure] = std::from_chars(begin, end, value, hex ? 16 : 10);
    return begin != end && failure == std::errc{} && stop == end;
}

} // namespace

bool ParseOptions(const std::vector<std::string>& args, SimOptions& options, std::string& error) {
    // A replay changes what other options mean, wherever it stands.
    options.state.replaying = std::find(args.begin(), args.end(), "--replay") != args.end();
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help") {
            options.help = true;
            continue;
        }
        if (arg == "--fs98") {
            options.fs98 = true;
            continue;
        }
        if (!arg.starts_with("--")) {
            error = "unexpected argument '" + arg + "'";
            return false;
        }
        if (i + 1 == args.size()) {
            error = "option " + arg + " needs a value";
            return false;
        }
        const std::string name = arg.substr(2);
        const std::string& value = args[++i];
        if (name == "script") {
            options.script = value;
        } else if (name == "replay") {
            options.replay = value;
        } else if (name == "log") {
            options.log = value;
        } else if (name == "sim") {
            if (!ParseUnsigned(value, options.simCode) || options.simCode > 0xFFFF) {
                error = "bad sim '" + value + "': a code from 0 to 65535 is needed";
                return false;
            }
        } else if (name == "fsuipc-version") {
            if (!ParseUnsigned(value, options.fsuipcVersion)) {
                error = "bad fsuipc-version '" + value + "'";
                return false;
            }
        } else if (std::find(settingOptions.begin(), settingOptions.end(), name) ==
                   settingOptions.end()) {
            error = "unknown option " + arg;
            return false;
        } else if (!ApplySetting(options.state, name, value, error)) {
            return false;
        }
    }
    return true;
}

bool ParseScript(std::istream& in, const SimState& start, std::vector<ScriptStep>& steps,
                 std::string& error) {
    SimState scratch = start;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::istringstream fields(line);
        std::string time, key, value, extra;
        fields >> time >> key >> value >> extra;
        if (time.empty() || time.starts_with('#'))
            continue;
        ScriptStep step{0, key, value};
        const auto [stop, failure] =
            std::from_chars(time.data(), time.data() + time.size(), step.time);
        const std::string where = "script line " + std::to_string(number) + ": ";
        if (failure != std::errc{} || stop != time.data() + time.size() ||
            !std::isfinite(step.time) || step.time < 0) {
            error = where + "bad time '" + time + "'";
            return false;
        }
        if (value.empty() || !extra.empty()) {
            error = where + "expected SECONDS KEY VALUE";
            return false;
        }
        std::string problem;
        if (!ApplySetting(scratch, key, value, problem)) {
            error = where + problem;
            return false;
        }
        steps.push_back(std::move(step));
    }
    std::stable_sort(steps.begin(), steps.end(),
                     [](const ScriptStep& a, const ScriptStep& b) { return a.time < b.time; });
    return true;
}
