// The program's command line and its settings file, as a user meets them.

#include "programrun.h"
#include "simprocess.h"

#include <csignal>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <gtest/gtest.h>

namespace {

struct CommandLineRow {
    const char* name;
    const char* option;
    int exitCode;
    bool onStandardOutput; // else on standard error, with nothing on standard output
    const char* said;
};

class CommandLine : public ::testing::TestWithParam<CommandLineRow> {};

TEST_P(CommandLine, AnswersWithoutAWindowOrASettingsFile) {
    const CommandLineRow& row = GetParam();
    ProgramCopy program;
    program.environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    program.environment.remove(QStringLiteral("DISPLAY"));
    program.Start({QString::fromLatin1(row.option)});
    EXPECT_EQ(program.Finish(), row.exitCode);
    const QString out = QString::fromUtf8(program.process.readAllStandardOutput());
    const QString err = QString::fromUtf8(program.process.readAllStandardError());
    EXPECT_TRUE((row.onStandardOutput ? out : err).contains(QLatin1String(row.said)))
        << out.toStdString() << err.toStdString();
    EXPECT_TRUE(row.onStandardOutput || out.isEmpty()) << out.toStdString();
    EXPECT_FALSE(QFile::exists(program.SettingsFile()));
}

INSTANTIATE_TEST_SUITE_P(
    Options, CommandLine,
    ::testing::Values(CommandLineRow{"Help", "--help", 0, true, "Usage: "},
                      CommandLineRow{"Version", "--version", 0, true, "brevan 1.0"},
                      CommandLineRow{"UnknownOption", "--bogus", 2, false, "Unknown option"}),
    [](const auto& info) { return std::string(info.param.name); });

struct SettingsRow {
    const char* name;
    const char* before; // the settings file's text at start; null: no file
    SettingValues after;
};

class SettingsFile : public ::testing::TestWithParam<SettingsRow> {};

// Started, left to come up, then ended by SIGTERM as a session's end does.
TEST_P(SettingsFile, IsWrittenWithTheValuesInEffect) {
    const SettingsRow& row = GetParam();
    ProgramCopy program;
    if (row.before) {
        ASSERT_TRUE(WriteBytes(program.SettingsFile(), row.before));
    }
    program.Start({});
    ASSERT_TRUE(WaitForSettings(program.SettingsFile()));
    EXPECT_EQ(program.Terminate(), 0) << program.process.readAllStandardError().toStdString();
    EXPECT_EQ(ReadSettingValues(program.SettingsFile()), row.after);
}

INSTANTIATE_TEST_SUITE_P(
    Values, SettingsFile,
    ::testing::Values(SettingsRow{"FirstRun", nullptr, kDefaultSettings},
                      // 0 stops the display timer; it is a value of its own, not a missing one.
                      SettingsRow{
                          "DisplayZeroIsKept", "[Timers]\nDisplay=0\n", {50, 50, 0, 20, 20, 1}}),
    [](const auto& info) { return std::string(info.param.name); });

// The simulator answers every request 1.5 s late, so the link is nearly always waiting for
// a reply; frozen then, it would never answer. SIGTERM still ends the program at once, and
// the request area goes with it.
TEST(Program, EndsAtOnceOnSigtermWhileTheSimulatorIsFrozen) {
    SimProcess sim; // first: the program copy takes its BREVAN_IPC_DIR
    sim.Start({"--delay", "1500"});
    ProgramCopy program;
    program.Start({});
    const QString area = QStringLiteral("FsasmLib:IPC:%1:*")
                             .arg(QString::number(program.process.processId(), 16).toUpper());
    const auto areas = [&] {
        return QDir(QStringLiteral("/dev/shm")).entryList({area}, QDir::Files | QDir::System);
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return !areas().isEmpty(); }, kPatienceMs));
    ASSERT_TRUE(WaitForSettings(program.SettingsFile()));
    ::kill(sim.Pid(), SIGSTOP);
    QElapsedTimer elapsed;
    elapsed.start();
    EXPECT_EQ(program.Terminate(), 0);
    EXPECT_LT(elapsed.elapsed(), 1000);
    EXPECT_TRUE(areas().isEmpty());
    ::kill(sim.Pid(), SIGCONT);
}

} // namespace
