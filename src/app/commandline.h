#pragma once

#include <QString>
#include <QStringList>

// What the command line asks for: `brevan [PROJECT.prj] [WAYPOINTS.dat] [LOG.igc]`, or a scenery
// generation without a window, or a new project made from a map picture
// (`--new-project MAP [--bounds N,S,W,E] [--force] OUT.prj`), or a flight log's climbs
// (`--climbs LOG.igc`), or help or the version.
struct CommandLine {
    enum Action { Run, Thermik, Cumulus, NewProject, Climbs, Help, Version, Error };
    Action action = Run;
    QString project;    // the project to load at start (absolute), the one to generate from,
                        // or the new one to write (absolute)
    QString map;        // the new project's map picture (absolute)
    QString bounds;     // its edges as typed, "N,S,W,E"; empty: from its world file or tags
    bool force = false; // the new project may replace an existing file
    QString waypoints;  // the waypoint file to load at start (absolute)
    QString log;        // the flight log to show at start (absolute), or whose climbs to print
    QString text;       // help or version text for standard output, the error for standard error
};

// arguments include the program name first, as QCoreApplication::arguments() gives them.
CommandLine ParseCommandLine(const QStringList& arguments);

// Exit status of a run whose command line could not be used.
inline constexpr int kUsageExitCode = 2;
