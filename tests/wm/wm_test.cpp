// The program's windows as a window manager stacks them: an X server and openbox of this
// test's own, real pointer clicks, and the screen as the pilot sees it.

#include "childprocess.h"
#include "dialogs/randomize.h"
#include "qtfixtures.h"

#include <cstdlib>
#include <string>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

constexpr std::chrono::seconds kPatience(20);

// Why the windows cannot be tried under a window manager here; empty when they can.
std::string noWindowManager;
std::string display;

std::string ProgramsMissing() {
    std::string missing;
    for (const char* program : {"Xvfb", "openbox", "xdotool"})
        if (QStandardPaths::findExecutable(QLatin1String(program)).isEmpty())
            (missing += missing.empty() ? "" : ", ") += program;
    return missing;
}

// A real click of the left button at a position on the screen, as the window manager sees it.
void ClickOnScreen(QPoint at) {
    ChildProcess xdotool;
    xdotool.Start({.arguments = {"xdotool", "mousemove", "--sync", std::to_string(at.x()),
                                 std::to_string(at.y()), "click", "1"},
                   .environment = {"DISPLAY=" + display}});
    const auto status = xdotool.Wait(kPatience);
    ASSERT_TRUE(status && ExitCode(*status) == 0);
}

// The share of a window's pixels that the screen shows as the window drew them.
double ShownShare(QWidget& window) {
    const QImage drawn = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QPoint origin = window.mapToGlobal(QPoint(0, 0));
    const QImage screen = QGuiApplication::primaryScreen()
                              ->grabWindow(0, origin.x(), origin.y(), drawn.width(), drawn.height())
                              .toImage()
                              .convertToFormat(QImage::Format_RGB32);
    if (screen.size() != drawn.size())
        return 0;
    qint64 same = 0;
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x)
            same += drawn.pixel(x, y) == screen.pixel(x, y);
    return double(same) / (qint64(drawn.width()) * drawn.height());
}

TEST_F(MainWindow, RandomizeStaysAboveTheMaximizedWindowAfterAClickOnTheMap) {
    if (!noWindowManager.empty())
        GTEST_SKIP() << noWindowManager;
    loadProject(project("alps.prj"));
    form->showMaximized();
    // The frame's extents may still be those of the window before it was maximized.
    ASSERT_TRUE(QTest::qWaitFor(
        [this] {
            return form->isMaximized() && form->width() == form->screen()->availableSize().width();
        },
        20000));
    run(Command::Randomize1);
    QWidget& randomize = form->randomizeForm();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&randomize));
    ASSERT_TRUE(QTest::qWaitFor([&] { return ShownShare(randomize) > 0.95; }));

    // On the map, well clear of the Randomize window.
    const QRect covered = randomize.frameGeometry().adjusted(-20, -20, 20, 20);
    const QPoint target = panel().viewport()->mapToGlobal(QPoint(10, 10));
    ASSERT_FALSE(covered.contains(target));
    ClickOnScreen(target);
    // The window manager raises and focuses what it passes a click to before the click arrives.
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->isActiveWindow(); }, 20000));
    EXPECT_GT(ShownShare(randomize), 0.95) << "the Randomize window fell behind the main window";
}

} // namespace

// Starts an X server and openbox for the tests, then the application on them.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    QTemporaryDir scratch;
    ChildProcess xserver;
    ChildProcess windowManager;
    if (const std::string missing = ProgramsMissing(); !missing.empty()) {
        noWindowManager = "not installed: " + missing;
    } else {
        const std::string out = scratch.filePath(QStringLiteral("xvfb.out")).toStdString();
        xserver.Start({.arguments = {"Xvfb", "-displayfd", "1", "-screen", "0", "1280x800x24",
                                     "-nolisten", "tcp"},
                       .outputFile = out});
        if (!xserver.WaitForOutput("\n", kPatience)) {
            noWindowManager = "Xvfb did not start";
        } else {
            display = ':' + QByteArray::fromStdString(ReadText(out)).trimmed().toStdString();
            // openbox runs its start-up command once it manages the screen.
            windowManager.Start(
                {.arguments = {"openbox", "--startup", "echo managing"},
                 .outputFile = scratch.filePath(QStringLiteral("openbox.out")).toStdString(),
                 .environment = {"DISPLAY=" + display, "HOME=" + scratch.path().toStdString()}});
            if (!windowManager.WaitForOutput("managing", kPatience))
                noWindowManager = "openbox did not start";
        }
    }
    qputenv("DISPLAY", display.c_str());
    qputenv("QT_QPA_PLATFORM", noWindowManager.empty() ? "xcb" : "offscreen");
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
