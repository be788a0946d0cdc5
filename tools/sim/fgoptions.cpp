#include "fgoptions.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string_view>

const char* const fgUsage = R"(Usage: brevan-fg [OPTION]...
Serves Brevan Talvor's simulator link as brevan-sim does, with the aircraft flown in
FlightGear: the program reads FlightGear's aircraft and its lift reaches FlightGear.
Listens on the socket D/UIPCMAIN.sock, where D is $BREVAN_IPC_DIR if set, else
$XDG_RUNTIME_DIR if set, else /tmp; FlightGear speaks to it over UDP on 127.0.0.1.

FlightGear:
  --start-fgfs         start fgfs (on a virtual display where there is none) and stop it
                       at the end; without it, attach to one started with the options
                       that --make-data prints
  --aircraft NAME      the aircraft fgfs starts with (default c172p; Debian also has ufo)
  --headless           run fgfs on a virtual display even where there is a display
  --fgfs PATH          the fgfs program (default: fgfs on PATH, else /usr/games/fgfs)
  --fg-root DIR        FlightGear's data (default $FG_ROOT, else /usr/share/games/flightgear)
  --fgfs-option OPT    one more option for fgfs, e.g. --fgfs-option --timeofday=noon
  --fgfs-log FILE      keep fgfs's output in FILE
  --make-data DIR      write the data folder fgfs needs (its --data) into DIR, print the
                       fgfs options that use it, and stop
  --protocol-dir DIR   where brevan_out.xml, brevan_in.xml and brevan_move.xml are
  --lift-rate FPS      how fast FlightGear lets the lift change, in ft/s per second, in the
                       data folder (default 100; FlightGear's own 2 would smear the lift
                       over seconds)

Lines and values:
  --out-port N         UDP port of FlightGear's brevan_out lines (default 5510; 0: any)
  --in-port N          UDP port FlightGear reads brevan_in lines on (default 5511)
  --move-port N        UDP port FlightGear reads brevan_move lines on (default 5512)
  --lift-scale MS      m/s of lift for one unit of the strength byte (default 0.02)
  --roll-scale R       the roll rate that gives full aileron trim (default 10)
  --fg-timeout S       seconds without a line before FlightGear counts as gone (default 3)
  --write-timeout S    seconds without a strength write before the lift goes to 0
                       (default 2)
  --record FILE        every frame and event as one line "SECONDS EVENT VALUES..."
  --control FILE       read lines "move LAT LON" from FILE (a named pipe, say) and move
                       the aircraft as the program's Move AC Here does

The start and the link:
  --lat, --lon DEG     where fgfs starts the aircraft (default 21.56, -158.17: Oahu)
  --altitude M         start altitude in metres (default 900)
  --heading DEG        start heading (default 90)
  --speed KMH          start airspeed in km/h (default 150)
  --strength N         the strength byte the program's profiler starts from (default 250)
  --sim CODE, --fsuipc-version N, --fs98, --log FILE
                       as for brevan-sim
  --help               show this text and stop
)";

namespace {

bool Number(const std::string& text, double& value) {
    const char* end = text.data() + text.size();
    const auto [stop, failure] = std::from_chars(text.data(), end, value);
    return !text.empty() && failure == std::errc{} && stop == end && std::isfinite(value);
}

// The options brevan-sim reads that mean the same here.
constexpr std::array<std::string_view, 8> sharedOptions{
    "lat", "lon", "altitude", "heading", "strength", "sim", "fsuipc-version", "log"};

} // namespace

FgOptions DefaultFgOptions() {
    FgOptions options;
    options.sim.state.lat = 21.56;
    options.sim.state.lon = -158.17;
    options.sim.state.altitude = 900;
    options.sim.state.heading = 90;
    options.sim.state.strength = 250;
    options.sim.state.speed = 0;
    return options;
}

bool ParseFgOptions(const std::vector<std::string>& args, FgOptions& options, std::string& error) {
    std::vector<std::string> shared;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "--fs98") {
            shared.push_back(arg);
            continue;
        }
        if (arg == "--start-fgfs" || arg == "--headless") {
            (arg == "--headless" ? options.headless : options.startFgfs) = true;
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
        if (std::find(sharedOptions.begin(), sharedOptions.end(), name) != sharedOptions.end()) {
            shared.insert(shared.end(), {arg, value});
            continue;
        }
        std::string* text = name == "aircraft"       ? &options.aircraft
                            : name == "fgfs"         ? &options.fgfs
                            : name == "fg-root"      ? &options.fgRoot
                            : name == "fgfs-log"     ? &options.fgfsLog
                            : name == "make-data"    ? &options.makeData
                            : name == "protocol-dir" ? &options.protocolDir
                            : name == "record"       ? &options.record
                            : name == "control"      ? &options.control
                                                     : nullptr;
        if (text) {
            if (value.empty()) {
                error = "option " + arg + " needs a value";
                return false;
            }
            *text = value;
            continue;
        }
        if (name == "fgfs-option") {
            options.fgfsOptions.push_back(value);
            continue;
        }
        struct Range {
            const char* name;
            double low, high;
            bool whole;
        };
        static constexpr Range ranges[] = {{"out-port", 0, 65535, true},
                                           {"in-port", 1, 65535, true},
                                           {"move-port", 1, 65535, true},
                                           {"lift-scale", 0, 1, false},
                                           {"roll-scale", 0.001, 1e6, false},
                                           {"fg-timeout", 0.05, 3600, false},
                                           {"write-timeout", 0.05, 3600, false},
                                           {"lift-rate", 0.1, 1e6, false},
                                           {"speed", 0, 1000, false}};
        const Range* range = std::find_if(std::begin(ranges), std::end(ranges),
                                          [&](const Range& r) { return name == r.name; });
        if (range == std::end(ranges)) {
            const bool standInOnly = name == "circle" || name == "block" || name == "ground" ||
                                     name == "delay" || name == "script";
            error =
                standInOnly ? "option " + arg + " is for brevan-sim only" : "unknown option " + arg;
            return false;
        }
        double number = 0;
        if (!Number(value, number) || number < range->low || number > range->high ||
            (range->whole && number != std::trunc(number))) {
            char bounds[96];
            std::snprintf(bounds, sizeof bounds, "%s from %g to %g is needed",
                          range->whole ? "a whole number" : "a number", range->low, range->high);
            error = "bad " + name + " '" + value + "': " + bounds;
            return false;
        }
        if (name == "out-port")
            options.lines.outPort = static_cast<int>(number);
        else if (name == "in-port")
            options.lines.inPort = static_cast<int>(number);
        else if (name == "move-port")
            options.lines.movePort = static_cast<int>(number);
        else if (name == "lift-scale")
            options.lines.liftPerUnit = number;
        else if (name == "roll-scale")
            options.lines.rollScale = number;
        else if (name == "fg-timeout")
            options.lines.fgTimeout = number;
        else if (name == "write-timeout")
            options.lines.writeTimeout = number;
        else if (name == "lift-rate")
            options.liftRate = number;
        else
            options.speedKmh = number;
    }
    return ParseOptions(shared, options.sim, error);
}
