#pragma once

#include "fgoptions.h"

#include <string>
#include <sys/types.h>
#include <vector>

// FlightGear itself: the data folder it reads our protocol files and the raised lift rate
// from, its command line, and fgfs run as a child process.

// The folder holding brevan_out.xml and friends: the option's, else the installed one beside
// the program (../share/brevan-talvor/flightgear/Protocol), else the source tree's. Empty
// with a message when none has them.
std::string FindProtocolDir(const FgOptions& options, std::string& error);
std::string FgRoot(const FgOptions& options);

// Fills `dir` (made if missing) with Protocol/ (our three files) and Environment/
// interpolator.xml (FlightGear's own, with the lift rate raised). A FlightGear whose file
// has no such filter still gets the protocol files, with a warning.
bool MakeDataFolder(const std::string& dir, const std::string& protocolDir,
                    const std::string& fgRoot, double liftRate, std::string& error,
                    std::string& warning);

// The fgfs options that open the three lines to the bridge and read the data folder.
std::vector<std::string> LineOptions(const std::string& dataDir, const FgSettings& lines,
                                     int outPort);

// The whole command: the wrappers a missing display or D-Bus session needs, fgfs, the start
// position and speed, the lines and the options given.
std::vector<std::string> FgfsCommand(const FgOptions& options, const std::string& dataDir,
                                     int outPort);

// fgfs and its wrappers in a process group of their own, stopped together.
class FgfsProcess {
public:
    FgfsProcess() = default;
    ~FgfsProcess();
    FgfsProcess(const FgfsProcess&) = delete;
    FgfsProcess& operator=(const FgfsProcess&) = delete;

    bool Start(const std::vector<std::string>& command, const std::string& log, std::string& error);
    // True once it has ended by itself; `status` is its exit status (or -1 for a signal).
    bool Ended(int& status);
    // SIGTERM to the group, then SIGKILL after 15 s.
    void Stop();

private:
    pid_t pid_ = -1;
};
