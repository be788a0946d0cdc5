#include "simprocess.h"

#include <csignal>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// The program copied into a folder of its own, so that its settings file lands there.
class Program : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        exe = dir.filePath(QStringLiteral("brevan"));
        ASSERT_TRUE(QFile::copy(QStringLiteral(BREVAN_EXECUTABLE), exe));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        // No simulator: the link looks for its server in an empty folder.
        env.insert(QStringLiteral("BREVAN_IPC_DIR"), dir.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(dir.path());
    }

    QTemporaryDir dir;
    QString exe;
    QProcess process;
};

} // namespace

TEST_F(Program, FirstStartWritesTheSettingsAndSigtermEndsCleanly) {
    const QString ini = dir.filePath(QStringLiteral("brevan.INI"));
    process.start(exe, {});
    ASSERT_TRUE(process.waitForStarted());
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(ini); }, 20000));
    // Give the window time to come up before it is asked to end.
    QTest::qWait(300);
    ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
    ASSERT_TRUE(process.waitForFinished(20000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();

    QSettings settings(ini, QSettings::IniFormat);
    EXPECT_EQ(settings.value(QStringLiteral("Timers/DataRead")).toInt(), 50);
    EXPECT_EQ(settings.value(QStringLiteral("Timers/Profiler")).toInt(), 50);
    EXPECT_EQ(settings.value(QStringLiteral("Timers/Display")).toInt(), 300);
    EXPECT_EQ(settings.value(QStringLiteral("ACCursor/Width")).toInt(), 20);
    EXPECT_EQ(settings.value(QStringLiteral("ACCursor/Height")).toInt(), 20);
    EXPECT_EQ(settings.value(QStringLiteral("ACCursor/Weight")).toInt(), 1);
    // Nothing left behind but the settings file and the program.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
              (QStringList{"brevan", "brevan.INI"}));
}

TEST_F(Program, SigtermWhileLinkedToTheStandInLeavesNoRequestAreaBehind) {
    SimProcess sim;
    sim.Start({});
    QProcessEnvironment env = process.processEnvironment();
    env.insert(QStringLiteral("BREVAN_IPC_DIR"), QString::fromStdString(sim.Dir()));
    process.setProcessEnvironment(env);
    process.start(exe, {});
    ASSERT_TRUE(process.waitForStarted());
    // The program's request areas carry its process id in hexadecimal.
    const QString areaPrefix = QStringLiteral("FsasmLib:IPC:") +
                               QString::number(process.processId(), 16).toUpper() +
                               QLatin1Char(':');
    const auto areas = [&] {
        return QDir(QStringLiteral("/dev/shm"))
            .entryList({areaPrefix + QLatin1Char('*')}, QDir::Files | QDir::System);
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return !areas().isEmpty(); }, 20000)) << "never linked";

    ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
    ASSERT_TRUE(process.waitForFinished(20000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    EXPECT_TRUE(areas().isEmpty()) << qPrintable(areas().join(' '));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
              (QStringList{"brevan", "brevan.INI"}));
}

TEST_F(Program, UnknownOptionPrintsUsageAndExitsWithTwo) {
    process.start(exe, {QStringLiteral("--bogus")});
    ASSERT_TRUE(process.waitForFinished(20000));
    EXPECT_EQ(process.exitCode(), 2);
    const QString err = QString::fromUtf8(process.readAllStandardError());
    EXPECT_TRUE(err.contains(QStringLiteral("Usage:"))) << err.toStdString();
    EXPECT_TRUE(process.readAllStandardOutput().isEmpty());
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("brevan.INI"))));
}

TEST_F(Program, VersionGoesToStandardOutput) {
    process.start(exe, {QStringLiteral("--version")});
    ASSERT_TRUE(process.waitForFinished(20000));
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_TRUE(QString::fromUtf8(process.readAllStandardOutput()).contains("1.0"));
}

TEST_F(Program, BatchGenerationNeedsNoDisplayAndReportsOnStandardError) {
    QProcessEnvironment env = process.processEnvironment();
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        env.remove(QLatin1String(name));
    process.setProcessEnvironment(env);
    process.start(exe, {QStringLiteral("--thermik"), QStringLiteral("missing.prj")});
    ASSERT_TRUE(process.waitForFinished(20000));
    EXPECT_NE(process.exitCode(), 0);
    const QString err = QString::fromUtf8(process.readAllStandardError());
    EXPECT_TRUE(err.contains(QStringLiteral("File Error"))) << err.toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("brevan.INI"))));
}

TEST_F(Program, SigtermWhileAStartUpMessageIsShownEndsTheProgram) {
    // The missing project's error box runs its own loop when the signal arrives.
    process.start(exe, {dir.filePath(QStringLiteral("missing.prj"))});
    ASSERT_TRUE(process.waitForStarted());
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return QFile::exists(dir.filePath(QStringLiteral("brevan.INI"))); }, 20000));
    QTest::qWait(500);
    ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
    ASSERT_TRUE(process.waitForFinished(20000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0);
}
