#include "standintools.h"

#include <QDir>
#include <QFile>
#include <QProcess>

namespace {

// The program itself, started as a script starts it: `brevan --thermik demo/demo.prj` in a
// directory that holds the stand-in tools and a copy of the demo project. No window system
// is needed.
class ProgramBatch : public SceneryTest {
protected:
    void SetUp() override {
        SceneryTest::SetUp();
        tools = work;
        InstallTools();
        ASSERT_TRUE(QDir(work).mkdir("demo"));
        for (const char* name : {"demo.prj", "demo.bmp"})
            ASSERT_TRUE(QFile::copy(QStringLiteral(DEMO_DIR "/") + name, work + "/demo/" + name));
    }

    int Run(const QString& option) {
        QProcess brevan;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            env.remove(QLatin1String(name));
        // Without a runtime folder Qt itself would warn on standard error.
        env.insert("XDG_RUNTIME_DIR", root.path());
        brevan.setProcessEnvironment(env);
        brevan.setWorkingDirectory(work);
        brevan.start(QStringLiteral(BREVAN_EXECUTABLE), {option, "demo/demo.prj"});
        EXPECT_TRUE(brevan.waitForFinished(60000));
        printed = QString::fromUtf8(brevan.readAllStandardError());
        return brevan.exitStatus() == QProcess::NormalExit ? brevan.exitCode() : -1;
    }

    // The demo's thermal lines: every line after the five header lines up to the first
    // empty one.
    static int DemoThermalCount() {
        QFile project(QStringLiteral(DEMO_DIR "/demo.prj"));
        EXPECT_TRUE(project.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = project.readAll().split('\n');
        int count = 0;
        for (qsizetype i = 5; i < lines.size() && !lines[i].trimmed().isEmpty(); ++i)
            ++count;
        return count;
    }

    static int CountLinesStartingWith(const QByteArray& text, const QByteArray& start) {
        int count = 0;
        for (const QByteArray& line : text.split('\n'))
            count += line.startsWith(start);
        return count;
    }

    QString printed;
};

TEST_F(ProgramBatch, ThermikWritesTheSourceHereAndRunsTheAssembler) {
    EXPECT_EQ(Run("--thermik"), 0) << printed.toStdString();
    EXPECT_EQ(printed.toStdString(), "");

    const QByteArray source = Output("demo.sca");
    EXPECT_TRUE(source.startsWith("Header( 1 ")) << source.left(80).toStdString();
    EXPECT_TRUE(source.endsWith(" )\r\r\n"));
    EXPECT_GT(DemoThermalCount(), 0);
    EXPECT_EQ(CountLinesStartingWith(source, "Macro( lift_0"), DemoThermalCount());
    EXPECT_GT(CountLinesStartingWith(source, "Macro( cloud_01.scm "), 0);
    EXPECT_FALSE(QFile::exists(work + "/demo/demo.sca"));

    EXPECT_EQ(Arguments("scasm"), (QStringList{"demo.sca", "demo.bgl"}));
    EXPECT_EQ(Recorded("scasm.cwd").trimmed(), QDir(work).canonicalPath().toUtf8());
}

TEST_F(ProgramBatch, CumulusFeedsItsInputToTheTool) {
    EXPECT_EQ(Run("--cumulus"), 0) << printed.toStdString();
    EXPECT_EQ(printed.toStdString(), "");

    const QByteArray input = Output("demo_cu.cms");
    EXPECT_TRUE(input.startsWith("demo_cu\r\r\n"));
    EXPECT_EQ(input.count("\r\n"), 3 + DemoThermalCount());
    EXPECT_EQ(Recorded("cumulus31.stdin"), input);
}

TEST_F(ProgramBatch, FailingToolGivesANonZeroStatus) {
    WriteTool("scasm", "exit 4\n");
    EXPECT_NE(Run("--thermik"), 0);
    EXPECT_TRUE(QFile::exists(work + "/demo.sca"));
}

} // namespace
