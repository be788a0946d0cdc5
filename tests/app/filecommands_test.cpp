#include "app/droppedfiles.h"
#include "appfixture.h"
#include "dialogs/thermaldata.h"
#include "map/accursor.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMenu>
#include <QMimeData>
#include <QUrl>

namespace {

const QString kThermalLine = QStringLiteral("4725000,800000,4,0,1500,300,270,5,1,450,1800,800,2");
const QString kFullLine = QStringLiteral("4712345,812345,4,0,1500,300,270,5,1,450,1800,800,2,1,7,-"
                                         "1,-1,0,-0.5,-1,-1,450,2,4,100,50,10,90");

} // namespace

using FileCommands = AppTest;

TEST_F(FileCommands, LoadProjectShowsTheDialogThenEnablesAndNamesTheProject) {
    const QString path = writeProject(QStringLiteral("alps.prj"), {kThermalLine, kFullLine});
    loadProject(path);

    ASSERT_EQ(rec.entries.size(), 1u);
    EXPECT_EQ(rec.entries[0].kind, RecordingPrompts::Entry::OpenDialog);
    EXPECT_EQ(rec.entries[0].caption, QStringLiteral("Project files (*.prj)|*.PRJ"));
    EXPECT_EQ(rec.entries[0].text, QStringLiteral("prj"));
    EXPECT_TRUE(rec.entries[0].dir.isEmpty());

    EXPECT_EQ(form->windowTitle(), QStringLiteral("Brevan Talvor 1.0 beta 1   alps.prj"));
    ASSERT_EQ(form->thermalList().size(), 2u);
    EXPECT_DOUBLE_EQ(form->thermalList()[1]->lat, 47.12345);
    for (const char* on : {"SaveProject", "SaveProjectAs", "ClearAllThermals", "AddProjectThermals",
                           "LoadDat1", "SaveDatAs"})
        EXPECT_TRUE(action(on)->isEnabled()) << on;
    EXPECT_TRUE(menu("CreateThermals")->menuAction()->isEnabled());
    EXPECT_FALSE(action("SaveDat")->isEnabled());
    EXPECT_FALSE(action("LoadLog1")->isEnabled());
    EXPECT_EQ(form->thermalData().thermals, &form->thermalList());
    for (const auto& t : form->thermalList())
        EXPECT_GT(form->cursor().zValue(), t->zValue());

    // The next dialog opens in the project's folder.
    action("LoadProject1")->trigger();
    EXPECT_EQ(QDir(rec.entries.back().dir), QDir(dir.path()));
}

TEST_F(FileCommands, ToolbarOpenButtonLoadsLikeTheMenu) {
    rec.files.push_back(writeProject(QStringLiteral("alps.prj"), {kThermalLine}));
    action("openProjectButton")->trigger();
    EXPECT_EQ(form->thermalList().size(), 1u);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Brevan Talvor 1.0 beta 1   alps.prj"));
}

TEST_F(FileCommands, CancelledDialogChangesNothing) {
    action("LoadProject1")->trigger();
    EXPECT_EQ(rec.entries.size(), 1u);
    EXPECT_EQ(form->windowTitle(), TMainForm::BaseCaption());
    EXPECT_FALSE(action("SaveProject")->isEnabled());
    EXPECT_EQ(form->thermalData().thermals, nullptr);
}

TEST_F(FileCommands, ModifiedProjectIsAskedAboutAndNoEndsTheCommand) {
    loadProject(writeProject(QStringLiteral("alps.prj"), {kThermalLine}));
    form->AddThermal(47.1, 8.1);
    rec.clear();
    rec.answers = {false};
    rec.files.push_back(writeProject(QStringLiteral("other.prj"), {}));
    action("LoadProject1")->trigger();
    EXPECT_EQ(rec.questions(), QStringList{"Project Modified|Project Modified, Continue?"});
    EXPECT_EQ(rec.entries.size(), 1u) << "no dialog after No";
    EXPECT_EQ(form->thermalList().size(), 2u);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Brevan Talvor 1.0 beta 1   alps.prj"));
}

TEST_F(FileCommands, LoadingAProjectClearsThermalsWaypointsAndZoom) {
    loadProject(writeProject(QStringLiteral("alps.prj"), {kThermalLine}));
    form->AddThermal(47.1, 8.1);
    form->AddWaypoint(47.2, 8.2);
    action("ToolButton3")->trigger();
    EXPECT_EQ(form->zoomFactor(), 2);
    rec.answers = {true, true};
    loadProject(writeProject(QStringLiteral("other.prj"), {kThermalLine, kFullLine}));
    EXPECT_EQ(rec.questions(), (QStringList{"Project Modified|Project Modified, Continue?",
                                            "Waypoints Modified|Waypoints Modified, Continue?"}));
    EXPECT_EQ(form->thermalList().size(), 2u);
    EXPECT_TRUE(form->waypointList().empty());
    EXPECT_EQ(form->zoomFactor(), 1);
    EXPECT_FALSE(form->projectFile().modified);
    EXPECT_FALSE(form->datFile().modified);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Brevan Talvor 1.0 beta 1   other.prj"));
}

TEST_F(FileCommands, AddProjectThermalsKeepsEverythingAndAsksNothing) {
    loadProject(writeProject(QStringLiteral("alps.prj"), {kThermalLine}));
    rec.files.push_back(writeDat(QStringLiteral("route.dat"), {"1,47:20.000N,8:00.000E,0M,T,A,A"}));
    action("LoadDat1")->trigger();
    ASSERT_TRUE(action("SaveDat")->isEnabled());
    form->AddThermal(47.1, 8.1);
    action("ToolButton3")->trigger();
    rec.clear();

    rec.files.push_back(writeProject(QStringLiteral("more.prj"), {kFullLine}));
    action("AddProjectThermals")->trigger();
    EXPECT_TRUE(rec.questions().isEmpty());
    EXPECT_EQ(form->thermalList().size(), 3u);
    EXPECT_EQ(form->waypointList().size(), 1u);
    EXPECT_EQ(form->zoomFactor(), 2);
    EXPECT_FALSE(action("SaveDat")->isEnabled());
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Brevan Talvor 1.0 beta 1   alps.prj"));
}

TEST_F(FileCommands, LoadDatNamesBothFilesAndEnablesSaving) {
    loadProject(writeProject(QStringLiteral("alps.prj"), {kThermalLine}));
    rec.clear();
    rec.files.push_back(
        writeDat(QStringLiteral("route.dat"),
                 {"1,47:20.000N,8:00.000E,0M,T,One,One", "2,47:10.000N,8:10.000E,500M,T,Two,Two"}));
    action("LoadDat1")->trigger();
    ASSERT_EQ(rec.entries.size(), 1u);
    EXPECT_EQ(rec.entries[0].caption, QStringLiteral("Dat files (*.dat)|*.DAT"));
    EXPECT_EQ(rec.entries[0].text, QStringLiteral("dat"));
    EXPECT_EQ(form->windowTitle(),
              QStringLiteral("Brevan Talvor 1.0 beta 1   alps.prj   route.dat"));
    EXPECT_EQ(form->waypointList().size(), 2u);
    EXPECT_TRUE(action("SaveDat")->isEnabled());
    EXPECT_TRUE(action("SaveDatAs")->isEnabled());
    for (const auto& w : form->waypointList())
        EXPECT_GT(form->cursor().zValue(), w->zValue());

    // A second load replaces the waypoints.
    rec.files.push_back(writeDat(QStringLiteral("short.dat"), {"7,47:20.000N,8:00.000E,0M,T,S,S"}));
    action("LoadDat1")->trigger();
    EXPECT_EQ(form->waypointList().size(), 1u);
    EXPECT_EQ(form->windowTitle(),
              QStringLiteral("Brevan Talvor 1.0 beta 1   alps.prj   short.dat"));
}

TEST_F(FileCommands, ModifiedWaypointsAreAskedAboutBeforeLoadDat) {
    loadProject(writeProject(QStringLiteral("alps.prj"), {}));
    form->AddWaypoint(47.2, 8.2);
    rec.clear();
    rec.answers = {false};
    rec.files.push_back(writeDat(QStringLiteral("route.dat"), {"1,47:20.000N,8:00.000E,0M,T,A,A"}));
    action("LoadDat1")->trigger();
    EXPECT_EQ(rec.questions(), QStringList{"Waypoints Modified|Waypoints Modified, Continue?"});
    EXPECT_EQ(rec.entries.size(), 1u);
    EXPECT_EQ(form->waypointList().size(), 1u);
}

TEST_F(FileCommands, SaveDatAsBeforeLoadDatLeavesSaveDatDisabled) {
    loadProject(writeProject(QStringLiteral("alps.prj"), {}));
    form->AddWaypoint(47.2, 8.2);
    const QString target = dir.filePath(QStringLiteral("new.dat"));
    rec.files.push_back(target);
    action("SaveDatAs")->trigger();
    EXPECT_TRUE(QFile::exists(target));
    EXPECT_FALSE(action("SaveDat")->isEnabled());
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Brevan Talvor 1.0 beta 1   alps.prj   new.dat"));
    EXPECT_FALSE(form->datFile().modified);
}

TEST_F(FileCommands, SaveProjectAsWritesAndRenames) {
    loadProject(writeProject(QStringLiteral("alps.prj"), {kThermalLine}));
    form->AddThermal(47.1, 8.1);
    const QString target = dir.filePath(QStringLiteral("copy.prj"));
    rec.clear();
    rec.files.push_back(target);
    action("SaveProjectAs")->trigger();
    ASSERT_EQ(rec.entries.size(), 1u);
    EXPECT_EQ(rec.entries[0].kind, RecordingPrompts::Entry::SaveDialog);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Brevan Talvor 1.0 beta 1   copy.prj"));
    EXPECT_FALSE(form->projectFile().modified);

    // The saved project loads back with both thermals.
    rec.files.push_back(target);
    action("LoadProject1")->trigger();
    EXPECT_EQ(form->thermalList().size(), 2u);
}

TEST_F(FileCommands, SaveProjectAndTheToolbarButtonWriteTheCurrentFile) {
    const QString path = writeProject(QStringLiteral("alps.prj"), {kThermalLine});
    loadProject(path);
    form->AddThermal(47.1, 8.1);
    action("SaveProject")->trigger();
    EXPECT_FALSE(form->projectFile().modified);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().count("\r\n"), 7);

    form->AddThermal(47.2, 8.2);
    action("saveProjectButton")->trigger();
    EXPECT_FALSE(form->projectFile().modified);
    EXPECT_TRUE(rec.messages().isEmpty()) << qPrintable(rec.messages().join('\n'));
}

TEST_F(FileCommands, FailedLoadStillEnablesTheMenus) {
    rec.files.push_back(dir.filePath(QStringLiteral("missing.prj")));
    action("LoadProject1")->trigger();
    EXPECT_FALSE(rec.messages().isEmpty());
    EXPECT_TRUE(action("SaveProject")->isEnabled());
    EXPECT_TRUE(action("LoadDat1")->isEnabled());
}

TEST_F(FileCommands, FilesNamedAtStartLoadAsTheCommandsDo) {
    const QString project = writeProject(QStringLiteral("alps.prj"), {kThermalLine});
    const QString route =
        writeDat(QStringLiteral("route.dat"), {"1,47:20.000N,8:00.000E,0M,T,A,A"});
    form->LoadProjectFile(project, false);
    form->LoadDatFile(route);
    EXPECT_EQ(form->windowTitle(),
              QStringLiteral("Brevan Talvor 1.0 beta 1   alps.prj   route.dat"));
    EXPECT_EQ(form->thermalList().size(), 1u);
    EXPECT_EQ(form->waypointList().size(), 1u);
    EXPECT_TRUE(action("SaveDat")->isEnabled());
    EXPECT_TRUE(rec.entries.empty());
}

TEST(DroppedFilesTest, FirstLocalProjectAndWaypointFileInAnyCase) {
    const DroppedFiles files =
        ClassifyDroppedFiles({QUrl(QStringLiteral("https://example.org/a.prj")),
                              QUrl::fromLocalFile(QStringLiteral("/data/notes.txt")),
                              QUrl::fromLocalFile(QStringLiteral("/data/ALPS.PRJ")),
                              QUrl::fromLocalFile(QStringLiteral("/data/route.Dat")),
                              QUrl::fromLocalFile(QStringLiteral("/data/second.prj"))});
    EXPECT_EQ(files.project, QStringLiteral("/data/ALPS.PRJ"));
    EXPECT_EQ(files.waypoints, QStringLiteral("/data/route.Dat"));
    EXPECT_TRUE(ClassifyDroppedFiles({QUrl::fromLocalFile(QStringLiteral("/x/map.bmp"))})
                    .project.isEmpty());
}

namespace {

// Whether the window takes the drag.
bool dragEnter(QWidget* target, const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    QDragEnterEvent enter(target->rect().center(), Qt::CopyAction, &data, Qt::LeftButton,
                          Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    return enter.isAccepted();
}

void drop(QWidget* target, const QList<QUrl>& urls) {
    ASSERT_TRUE(dragEnter(target, urls));
    QMimeData data;
    data.setUrls(urls);
    QDropEvent dropped(QPointF(target->rect().center()), Qt::CopyAction, &data, Qt::LeftButton,
                       Qt::NoModifier);
    QApplication::sendEvent(target, &dropped);
    QCoreApplication::processEvents();
}

} // namespace

TEST_F(FileCommands, DroppedFilesOpenAfterTheQuestions) {
    const QString project = writeProject(QStringLiteral("alps.prj"), {kThermalLine});
    const QString route =
        writeDat(QStringLiteral("route.dat"), {"1,47:20.000N,8:00.000E,0M,T,A,A"});
    drop(form.get(), {QUrl::fromLocalFile(route), QUrl::fromLocalFile(project)});
    EXPECT_EQ(form->windowTitle(),
              QStringLiteral("Brevan Talvor 1.0 beta 1   alps.prj   route.dat"));
    EXPECT_EQ(form->thermalList().size(), 1u);
    EXPECT_EQ(form->waypointList().size(), 1u);
    EXPECT_TRUE(rec.entries.empty());

    form->AddThermal(47.1, 8.1);
    rec.answers = {false};
    drop(form.get(), {QUrl::fromLocalFile(project)});
    EXPECT_EQ(rec.questions(), QStringList{"Project Modified|Project Modified, Continue?"});
    EXPECT_EQ(form->thermalList().size(), 2u);

    EXPECT_FALSE(dragEnter(form.get(), {QUrl::fromLocalFile(dir.filePath("map.bmp"))}));
}

TEST_F(FileCommands, DroppedWaypointFileAloneOpensOnlyOnceAProjectIsOpen) {
    const QString route =
        writeDat(QStringLiteral("route.dat"), {"1,47:20.000N,8:00.000E,0M,T,A,A"});
    // Like "Load Dat", which is off until a project is loaded.
    EXPECT_FALSE(dragEnter(form.get(), {QUrl::fromLocalFile(route)}));

    loadProject(writeProject(QStringLiteral("alps.prj"), {kThermalLine}));
    rec.clear();
    drop(form.get(), {QUrl::fromLocalFile(route)});
    EXPECT_EQ(form->windowTitle(),
              QStringLiteral("Brevan Talvor 1.0 beta 1   alps.prj   route.dat"));
    EXPECT_EQ(form->waypointList().size(), 1u);
    EXPECT_TRUE(action("SaveDat")->isEnabled());
    EXPECT_TRUE(rec.entries.empty());

    // Unsaved waypoints are asked about first.
    form->AddWaypoint(47.2, 8.2);
    rec.answers = {false};
    drop(form.get(), {QUrl::fromLocalFile(route)});
    EXPECT_EQ(rec.questions(), QStringList{"Waypoints Modified|Waypoints Modified, Continue?"});
    EXPECT_EQ(form->waypointList().size(), 2u);
}
