// scripts/run-demo, the command behind `make run`, where it cannot show a window.

#include <QProcess>

#include <gtest/gtest.h>

namespace {

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
