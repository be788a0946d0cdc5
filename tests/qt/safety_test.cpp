// What keeps a pilot's work from being lost or hidden: saves onto files that were not read
// whole, files that keep their letters, saves where a folder
// takes no new file, the settings file always read, windows that hide no question, and drops
// on the map.

#include "childprocess.h"
#include "dialogs/randomize.h"
#include "dialogs/thermaldata.h"
#include "io/settings.h"
#include "qtfixtures.h"

#include <chrono>
#include <optional>
#include <unistd.h>

#include <QDragEnterEvent>
#include <QMimeData>
#include <QSettings>
#include <QSignalSpy>
#include <QWindow>

namespace {

// Makes a folder (or a file) refuse to be changed as the test's user can: immutable for
// root, without write permission otherwise. False when neither can be done here.
bool Freeze(const QString& path, bool frozen) {
    if (::geteuid() == 0) {
        ChildProcess chattr;
        chattr.Start({.arguments = {"chattr", frozen ? "+i" : "-i", path.toStdString()}});
        const std::optional<int> status = chattr.Wait(std::chrono::seconds(10));
        return status && ExitCode(*status) == 0;
    }
    return QFile::setPermissions(path,
                                 frozen ? QFile::ReadOwner | QFile::ExeOwner
                                        : QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

using Safety = DocumentView;

TEST_F(Safety, SavingOntoAFileNotReadWholeAsksFirstAndAnAnsiFileTurnsUtf8Once) {
    // A picture named as a project is no text: one message, and nothing is read.
    const QString picture = copy("files/map.bmp", "picture.prj");
    doc.LoadProject(picture, false);
    EXPECT_EQ(rec.detailed(), Strings{"File Error|Error opening Project File\n\n" +
                                      picture.toStdString() + "\nis not a text file"});
    // A project with a bad line: its load reports it, then a save asks.
    const QString file = copy("files/badthermal.prj", "garbage.prj");
    const QByteArray garbage = ReadAll(file);
    doc.LoadProject(file, false);
    rec.clear();
    rec.answers = {false, true};
    doc.SaveProject(true);
    ASSERT_EQ(rec.entries.size(), 1u);
    EXPECT_TRUE(rec.entries[0].preferNo);
    EXPECT_EQ(ReadAll(file), garbage);
    doc.SaveProject(true); // Yes
    EXPECT_NE(ReadAll(file), garbage);
    EXPECT_FALSE(doc.projectIncomplete());

    // A waypoint file that cannot be read at all leaves the list cleared for it: the file
    // loaded before is not replaced by it unasked.
    const QString route = copy("files/xcsoar_waypoints.dat", "route.dat");
    doc.LoadWaypoints(route);
    doc.ClearWaypoints();
    doc.LoadWaypoints(path("missing.dat"));
    rec.clear();
    rec.answers = {false};
    doc.SaveWaypoints();
    EXPECT_EQ(rec.questions().size(), 1u);
    EXPECT_EQ(ReadAll(route), ReadAll(DataFile("files/xcsoar_waypoints.dat")));

    // A name that Windows-1252 cannot hold makes the file UTF-8, said once.
    const QString ansi = copy("files/windows1252.dat", "ansi.dat");
    doc.LoadWaypoints(ansi);
    doc.AddWaypoint({50.7, 15.7}, "Śnieżka");
    QSignalSpy notes(&doc, &Document::note);
    doc.SaveWaypoints();
    doc.SaveWaypoints();
    EXPECT_EQ(notes.count(), 1);
    const QByteArray saved = ReadAll(ansi);
    EXPECT_TRUE(saved.contains("Śnieżka") && saved.contains("Zürich Kloten,Flugplatz – Süd"));
}

TEST_F(Safety, SavesWhereTheFolderTakesNoNewFile) {
    QDir(dir.path()).mkdir("frozen");
    const QString file = project("frozen/alps.prj", Lines({kBasicLine, kBasicLine}));
    doc.LoadProject(file, false);
    doc.DeleteThermal(doc.thermals()[0].get());
    if (!Freeze(dir.filePath("frozen"), true))
        GTEST_SKIP() << "no folder here can be made to refuse new files";
    doc.SaveProjectTo(file, false);
    Freeze(dir.filePath("frozen"), false);
    EXPECT_EQ(rec.messages(), Strings{});
    EXPECT_EQ(ReadAll(file).toStdString(), ProjectText(Lines({kBasicLine})));
}

TEST_F(InFolder, TheSettingsBesideTheProgramAreReadWhenTheyCannotBeWritten) {
    const QString beside = path("brevan.INI");
    WriteAll(beside, "[Timers]\nDisplay=123\n");
    if (!Freeze(beside, true))
        GTEST_SKIP() << "no file here can be made read-only";
    const QString chosen = ChooseSettingsPath(path("brevan"), path("config"));
    Freeze(beside, false);
    EXPECT_EQ(chosen, path("config/brevan.INI"));
    QSettings written(chosen, QSettings::IniFormat);
    EXPECT_EQ(ReadTimerIntervals(written).display, 123);
}

TEST_F(MainWindow, TheToolWindowsHideNothingButTheMainWindowAndDropsOpenWhatTheCommandsWould) {
    // Help's two commands show their windows.
    for (const auto& [command, name] :
         {std::pair{Command::About1, "About"}, {Command::Legend, "GlyphLegend"}}) {
        run(command);
        const auto* window = form->findChild<QWidget*>(QLatin1String(name));
        EXPECT_TRUE(window && window->isVisible()) << name;
    }
    run(Command::Randomize1);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form->randomizeForm()));
    // Thermal Data is a panel of the main window; Randomize stays above it, and only it.
    EXPECT_EQ(form->thermalData().window(), form.get());
    EXPECT_FALSE(form->randomizeForm().windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(form->randomizeForm().windowHandle()->transientParent(), form->windowHandle());
    // Waypoints alone are refused until a project has enabled Load Dat; a project dropped
    // on the map opens.
    const auto dragIn = [this](const QString& file, QMimeData& data) {
        data.setUrls({QUrl::fromLocalFile(file)});
        QDragEnterEvent enter({10, 10}, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(panel().viewport(), &enter);
        return enter.isAccepted();
    };
    QMimeData route, alps;
    EXPECT_FALSE(dragIn(copy("files/utf8.dat", "route.dat"), route));
    EXPECT_TRUE(dragIn(project("alps.prj", Lines({kBasicLine})), alps));
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &alps, Qt::LeftButton, {});
    QApplication::sendEvent(panel().viewport(), &drop);
    EXPECT_TRUE(QTest::qWaitFor([&] { return doc().thermals().size() == 1; }));
    EXPECT_TRUE(dragIn(path("route.dat"), route));
    // A project dropped with its waypoints opens both.
    QMimeData both;
    both.setUrls({QUrl::fromLocalFile(path("alps.prj")), QUrl::fromLocalFile(path("route.dat"))});
    QDropEvent dropBoth(QPointF(10, 10), Qt::CopyAction, &both, Qt::LeftButton, {});
    QApplication::sendEvent(panel().viewport(), &dropBoth);
    EXPECT_TRUE(QTest::qWaitFor([&] { return doc().waypointFileName() == "route.dat"; }));
}

} // namespace
