// The program's command line, and its end while the simulator is frozen.

#include "programrun.h"
#include "simprocess.h"

#include <csignal>

#include <QElapsedTimer>
#include <QFile>

#include <gtest/gtest.h>

namespace {

struct CommandLineRow {
    const char* name;
    QStringList arguments;
    int exitCode; // 0: the text is on standard output, else on standard error alone
    const char* said;
};

class CommandLine : public ::testing::TestWithParam<CommandLineRow> {};

TEST_P(CommandLine, AnswersWithoutAWindowOrASettingsFile) {
    const CommandLineRow& row = GetParam();
    ProgramCopy program;
    program.NoDisplay();
    program.Start(row.arguments);
    EXPECT_EQ(program.Finish(), row.exitCode);
    const QString out = QString::fromUtf8(program.process.readAllStandardOutput());
    const QString err = QString::fromUtf8(program.process.readAllStandardError());
    EXPECT_TRUE((row.exitCode ? err : out).contains(QLatin1String(row.said)))
        << out.toStdString() << err.toStdString();
    EXPECT_TRUE(!row.exitCode || out.isEmpty()) << out.toStdString();
    EXPECT_FALSE(QFile::exists(program.SettingsFile()));
}

INSTANTIATE_TEST_SUITE_P(
    Options, CommandLine,
    ::testing::Values(
        CommandLineRow{"Help", {"--help"}, 0, "Usage: "},
        CommandLineRow{"Version", {"--version"}, 0, "brevan 1.0"},
        CommandLineRow{"UnknownOption", {"--bogus"}, 2, "Unknown option"},
        CommandLineRow{"BoundsAlone", {"--bounds", "1,2,3,4"}, 2, "--bounds belongs to"},
        CommandLineRow{"NewProjectUnnamed", {"--new-project", "m.png"}, 2, "Name one project"},
        CommandLineRow{"NewProjectAndBatch",
                       {"--new-project", "m.png", "--thermik", "p.prj", "o.prj"},
                       2,
                       "Choose one of --new-project"},
        CommandLineRow{"BothBatches",
                       {"--thermik", "p.prj", "--cumulus", "p.prj"},
                       2,
                       "Choose one of --thermik"},
        CommandLineRow{"ThreeFiles", {"a.prj", "b.dat", "c"}, 2, "Too many arguments: c"}),
    [](const auto& info) { return std::string(info.param.name); });

// The simulator answers every request 1.5 s late, so the link is nearly always waiting for
// a reply; frozen then, it would never answer. SIGTERM still ends the program at once, and
// the request area goes with it.
TEST(Program, EndsAtOnceOnSigtermWhileTheSimulatorIsFrozen) {
    SimProcess sim; // first: the program copy takes its BREVAN_IPC_DIR
    sim.Start({"--delay", "1500"});
    ProgramCopy program;
    program.Start({});
    ASSERT_TRUE(QTest::qWaitFor([&] { return !program.IpcAreas().isEmpty(); }, kPatienceMs));
    ASSERT_TRUE(WaitForSettings(program.SettingsFile()));
    ::kill(sim.Pid(), SIGSTOP);
    QElapsedTimer elapsed;
    elapsed.start();
    EXPECT_EQ(program.Terminate(), 0);
    EXPECT_LT(elapsed.elapsed(), 1000);
    EXPECT_TRUE(program.IpcAreas().isEmpty());
    ::kill(sim.Pid(), SIGCONT);
}

} // namespace
