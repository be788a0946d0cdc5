// scripts/run-demo, the command behind `make run`: the demo flight with the program, and
// where it cannot show a window.

#include "simlog.h"

#include <csignal>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

// The script run with a build's programs, its simulator log and its private socket directory
// in a scratch folder. Whatever a test leaves running is stopped at the end.
class DemoRun {
public:
    DemoRun() {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("BUILD", QFileInfo(BREVAN_PROGRAM_PATH).dir().absoluteFilePath(".."));
        environment.insert("BREVAN_SIM_LOG", Log());
        environment.insert("TMPDIR", scratch.path());
        script.setProcessEnvironment(environment);
        script.setProcessChannelMode(QProcess::ForwardedChannels);
        script.start(BREVAN_RUN_DEMO_PATH, {});
    }

    ~DemoRun() {
        if (script.state() == QProcess::NotRunning)
            return;
        for (qint64 child : Children())
            ::kill(static_cast<pid_t>(child), SIGTERM);
        if (!script.waitForFinished(10000))
            script.kill();
    }

    QString Log() const { return scratch.filePath("sim.log"); }

    // The processes the script started, by their names.
    QMap<QString, qint64> Children() const {
        QMap<QString, qint64> children;
        QFile list(QStringLiteral("/proc/%1/task/%1/children").arg(script.processId()));
        if (!list.open(QIODevice::ReadOnly))
            return children;
        for (const QByteArray& child : list.readAll().split(' ')) {
            QFile name(QStringLiteral("/proc/%1/comm").arg(QString::fromLatin1(child)));
            if (!child.isEmpty() && name.open(QIODevice::ReadOnly))
                children.insert(QString::fromLatin1(name.readAll().trimmed()), child.toLongLong());
        }
        return children;
    }

    QTemporaryDir scratch;
    QProcess script;
};

bool Alive(qint64 pid) {
    return ::kill(static_cast<pid_t>(pid), 0) == 0;
}

TEST(RunDemo, FliesTheDemoAndStopsTheSimulatorWhenTheProgramExits) {
    DemoRun run;
    ASSERT_TRUE(run.script.waitForStarted());

    // The glider starts in a thermal of strength 100 %; the simulator's own strength is 120.
    std::vector<SimRecord> writes;
    const bool shaped = WaitFor(
        [&] {
            writes = Writes(ReadSimLog(run.Log()), 0x2AE6);
            return !writes.empty();
        },
        30s);
    ASSERT_TRUE(shaped);
    EXPECT_EQ(writes.front().bytes, "78");
    const QMap<QString, qint64> children = run.Children();
    ASSERT_TRUE(children.contains("brevan-sim"));
    ASSERT_TRUE(children.contains("brevan"));

    ::kill(static_cast<pid_t>(children["brevan"]), SIGTERM);
    ASSERT_TRUE(run.script.waitForFinished(10000));
    EXPECT_FALSE(Alive(children["brevan-sim"]));
    EXPECT_TRUE(QDir(run.scratch.path()).entryList({"brevan-demo.*"}, QDir::AllEntries).isEmpty());
}

TEST(RunDemo, WithoutADisplaySaysSoInOneLineAndHowToUseXvfb) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(name);
    QProcess script;
    script.setProcessEnvironment(environment);
    script.start(BREVAN_RUN_DEMO_PATH, {});
    ASSERT_TRUE(script.waitForFinished(10000));
    EXPECT_NE(script.exitCode(), 0);
    const QString said = QString::fromLocal8Bit(script.readAllStandardError());
    EXPECT_EQ(said.count('\n'), 1) << said.toStdString();
    EXPECT_TRUE(said.contains("no display")) << said.toStdString();
    EXPECT_TRUE(said.contains("xvfb-run")) << said.toStdString();
    EXPECT_TRUE(script.readAllStandardOutput().isEmpty());
}

} // namespace
