// The settings file as the real program meets it: it starts with the values in effect
// (the defaults where the file is missing or cannot be used), writes them where it can,
// and ends cleanly on SIGTERM as a session's end sends it.

#include "programrun.h"
#include "rowname.h"

#include <functional>
#include <random>

#include <QDir>
#include <QFile>
#include <QSettings>

#include <gtest/gtest.h>

namespace {

// [Timers] DataRead, Profiler, Display and [ACCursor] Width, Height, Weight of a settings
// file, -1 for a missing one.
std::string ReadSettingValues(const QString& path) {
    const QSettings settings(path, QSettings::IniFormat);
    std::string values;
    for (const char* key : {"Timers/DataRead", "Timers/Profiler", "Timers/Display",
                            "ACCursor/Width", "ACCursor/Height", "ACCursor/Weight"})
        values += (values.empty() ? "" : " ") +
                  std::to_string(settings.value(QLatin1String(key), -1).toInt());
    return values;
}

struct SettingsRow {
    const char* name;
    std::function<bool(const QString& path)> spoil;
    bool movesToConfigFolder; // nothing can stand beside the program under that name
    std::string after = "50 50 300 20 20 1";
};

class SettingsFile : public ::testing::TestWithParam<SettingsRow> {};

TEST_P(SettingsFile, IsWrittenWithTheValuesInEffect) {
    const SettingsRow& row = GetParam();
    ProgramCopy program;
    ASSERT_TRUE(row.spoil(program.SettingsFile()));
    const QString written = row.movesToConfigFolder
                                ? program.ConfigFolder() + QStringLiteral("/brevan/brevan.INI")
                                : program.SettingsFile();
    program.Start({});
    ASSERT_TRUE(WaitForSettings(written)) << program.Errors().toStdString();
    EXPECT_EQ(program.Terminate(), 0) << program.Errors().toStdString();
    EXPECT_EQ(ReadSettingValues(written), row.after);
    EXPECT_TRUE(!row.movesToConfigFolder || QDir(program.SettingsFile()).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Files, SettingsFile,
    ::testing::Values(
        SettingsRow{"FirstRun", [](const QString&) { return true; }, false},
        // 0 stops the display timer; it is a value of its own, not a missing one.
        SettingsRow{"DisplayZeroIsKept",
                    [](const QString& path) { return WriteBytes(path, "[Timers]\nDisplay=0\n"); },
                    false, "50 50 0 20 20 1"},
        SettingsRow{"BinaryGarbage",
                    [](const QString& path) {
                        QByteArray bytes(16 * 1024, 0);
                        std::mt19937 random(20261206);
                        for (char& c : bytes)
                            c = static_cast<char>(random());
                        return WriteBytes(path, bytes);
                    },
                    false},
        // A link to itself cannot be opened by anyone, root included.
        SettingsRow{"Unreadable", [](const QString& path) { return QFile::link(path, path); },
                    false},
        SettingsRow{"FolderInItsPlace", [](const QString& path) { return QDir().mkdir(path); },
                    true}),
    RowName);

} // namespace
