#pragma once

#include <QString>

// `brevan --climbs LOG.igc`, without a window: prints the climbs of the flight log as
// comma-separated values on standard output. A log that cannot be read, or holds no fix,
// gives its message on standard error and 1; lines that could not be read are named on
// standard error and the climbs still printed, with 0. Needs only a QCoreApplication.
int RunClimbs(const QString& logPath);
