#pragma once

#include <QString>
#include <QStringList>

// What the command line asks for: `brevan [PROJECT.prj] [WAYPOINTS.dat]`, or a scenery
// generation without a window, or help or the version.
struct CommandLine {
    enum Action { Run, Thermik, Cumulus, Help, Version, Error };
    Action action = Run;
    QString project;   // the project to load at start (absolute), or the one to generate from
    QString waypoints; // the waypoint file to load at start (absolute)
    QString text;      // help or version text for standard output, the error for standard error
};

// arguments include the program name first, as QCoreApplication::arguments() gives them.
CommandLine ParseCommandLine(const QStringList& arguments);

// Exit status of a run whose command line could not be used.
inline constexpr int kUsageExitCode = 2;
