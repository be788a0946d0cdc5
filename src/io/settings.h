#pragma once

#include <QSettings>
#include <QString>

// The settings file: the executable's path with its extension replaced by ".INI". An
// installed program cannot write beside itself, so then the same file name is used in the
// user's configuration folder.
QString SettingsPathBesideExecutable(const QString& executablePath);
// The file the settings are written back to: the one beside the executable when it (or,
// while it does not exist yet, its folder) can be written and the program is not installed
// under /usr or /opt, otherwise the same name in configDir. A settings file beside the
// executable that is read but not written there is copied into it first, so its values are
// the ones read: it is always read, only the write-back goes elsewhere.
QString ChooseSettingsPath(const QString& executablePath, const QString& configDir);

// Reads the integer key of the current group; a missing key, text that is not an integer
// or a negative value gives fallback. The value in effect is written back at once.
int ReadIntSetting(QSettings& settings, const QString& key, int fallback);

// Intervals of the three timers in milliseconds; 0 means the timer does not run.
struct TimerIntervals {
    int dataRead = 50;
    int profiler = 50;
    int display = 300;
};

// Section [Timers]: "DataRead", "Profiler", "Display", read and written back in that order.
TimerIntervals ReadTimerIntervals(QSettings& settings);

// The aircraft cursor: its size and line width in pixels.
struct CursorSettings {
    int width = 20;
    int height = 20;
    int weight = 1;
};

// Section [ACCursor]: "Width", "Height", "Weight", read and written back in that order.
CursorSettings ReadCursorSettings(QSettings& settings);
