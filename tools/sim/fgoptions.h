#pragma once

#include "fgbridge.h"
#include "options.h"

#include <string>
#include <vector>

// brevan-fg's command line: the bridge's own options, and those it shares with brevan-sim.
struct FgOptions {
    SimOptions sim;
    FgSettings lines;
    bool startFgfs = false;
    bool headless = false;
    std::string aircraft = "c172p";
    std::string fgfs;        // empty: fgfs on PATH, else /usr/games/fgfs
    std::string fgRoot;      // empty: $FG_ROOT, else /usr/share/games/flightgear
    std::string protocolDir; // empty: installed beside the program, else the source tree's
    std::vector<std::string> fgfsOptions;
    std::string fgfsLog;
    std::string makeData;
    std::string record;
    std::string control;
    double liftRate = 100; // ft/s per second for the wind-from-down filter
    double speedKmh = 150; // start airspeed with --start-fgfs
};

// Defaults: over Dillingham Airfield on Oahu at 900 m, the strength byte at 250.
FgOptions DefaultFgOptions();

// False with a message for an unknown option, a missing or bad value.
bool ParseFgOptions(const std::vector<std::string>& args, FgOptions& options, std::string& error);

extern const char* const fgUsage;
