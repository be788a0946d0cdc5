#pragma once

#include "simstate.h"

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

// The stand-in's command line.
struct SimOptions {
    SimState state;
    std::uint32_t simCode = 6;
    std::uint32_t fsuipcVersion = 0x19980005;
    bool fs98 = false; // listen as FS98MAIN
    std::string script;
    std::string log;
    std::string replay; // the flight log to fly again
    bool help = false;
};

// False with a message for an unknown option, a missing or bad value.
bool ParseOptions(const std::vector<std::string>& args, SimOptions& options, std::string& error);

extern const char* const simUsage;

// One line of a script: at `time` seconds after start, set `key` to `value`.
struct ScriptStep {
    double time;
    std::string key;
    std::string value;
};

// Lines "SECONDS KEY VALUE"; blank lines and lines starting with # are skipped. Every step
// is checked when read, on the state the options made; the steps come back in time order.
// False with a message naming the line on the first bad one.
bool ParseScript(std::istream& in, const SimState& start, std::vector<ScriptStep>& steps,
                 std::string& error);
