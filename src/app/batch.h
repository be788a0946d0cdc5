#pragma once

#include <QString>

// Scenery generation for scripts, without a window: loads the project at projectPath,
// then generates into the current directory exactly as the "Thermik" (kind "thermik")
// or "Cumulus" (kind "cumulus") command does, with the current directory as the tool
// directory, and waits for the tool. Every message is printed to standard error as
// "caption: text". Returns 0 when the project was read whole and the tool ran and exited
// with status 0, else 1 (2 for an unknown kind). Needs only a QCoreApplication.
int RunBatch(const QString& kind, const QString& projectPath);
