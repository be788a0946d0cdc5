// Settings files that cannot be used, met by the real program: it starts with the
// defaults, writes them where it can, and ends cleanly on SIGTERM.

#include "programrun.h"

#include <functional>
#include <random>

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

struct BrokenSettingsRow {
    const char* name;
    std::function<bool(const QString& path)> spoil;
    bool movesToConfigFolder; // nothing can stand beside the program under that name
};

class BrokenSettings : public ::testing::TestWithParam<BrokenSettingsRow> {};

TEST_P(BrokenSettings, GiveTheDefaultsAndTheProgramRuns) {
    const BrokenSettingsRow& row = GetParam();
    ProgramCopy program;
    ASSERT_TRUE(row.spoil(program.SettingsFile()));
    const QString written = row.movesToConfigFolder
                                ? program.ConfigFolder() + QStringLiteral("/brevan/brevan.INI")
                                : program.SettingsFile();
    program.Start({});
    ASSERT_TRUE(WaitForSettings(written)) << program.process.readAllStandardError().toStdString();
    EXPECT_EQ(program.Terminate(), 0) << program.process.readAllStandardError().toStdString();
    EXPECT_EQ(ReadSettingValues(written), kDefaultSettings);
    EXPECT_TRUE(!row.movesToConfigFolder || QDir(program.SettingsFile()).isEmpty());
}

bool WriteGarbage(const QString& path) {
    std::mt19937 random(20261206);
    QByteArray bytes;
    while (bytes.size() < 16 * 1024)
        bytes += static_cast<char>(random());
    return WriteBytes(path, bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Files, BrokenSettings,
    ::testing::Values(BrokenSettingsRow{"BinaryGarbage", WriteGarbage, false},
                      // A link to itself cannot be opened by anyone, root included.
                      BrokenSettingsRow{"Unreadable",
                                        [](const QString& path) { return QFile::link(path, path); },
                                        false},
                      BrokenSettingsRow{"FolderInItsPlace",
                                        [](const QString& path) { return QDir().mkdir(path); },
                                        true}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
