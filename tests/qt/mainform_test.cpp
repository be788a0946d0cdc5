// The main window on a fake simulator link: its commands, map editing, live tracking,
// closing and the scenery tools, driven as the user and the timers drive them.

#include "dialogs/thermaldata.h"
#include "qtfixtures.h"
#include "scene/accursor.h"

#include <deque>

#include <QLabel>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTimer>

#include <gmock/gmock.h>

namespace {

const QString kCaption = TMainForm::BaseCaption();
using Unsaved = Prompts::Unsaved;
const std::string kProjectQuestion =
    "Project Modified|Save the changes to alps.prj before they are lost?";
const std::string kWaypointsQuestion =
    "Waypoints Modified|Save the changes to the waypoints before they are lost?";

TEST_F(MainWindow, FileCommandsEnableWhatFollowsThemAndNameTheFiles) {
    const auto disabled = [this] {
        std::string names;
        for (const CommandEntry& e : CommandTable())
            if (!enabled(e.command))
                (names += e.name) += ' ';
        return names + (form->findChild<QMenu*>("CreateThermals")->isEnabled() ? "" : "Create");
    };
    EXPECT_EQ(disabled(),
              "SaveProject SaveProjectAs AddProjectThermals LoadDat1 SaveDat "
              "SaveDatAs Undo Redo ClearAllThermals ImportWaypoints CloseLog ShowClimbs "
              "Create");
    // A load that fails enables them too.
    loadProject(path("missing.prj"));
    EXPECT_EQ(disabled(), "SaveDat Undo Redo CloseLog ShowClimbs ");
    loadProject(project("alps.prj", Lines({kFullLine, kOtherLine})));
    rec.files = {path("new.dat").toStdString(), copy("files/utf8.dat", "route.dat").toStdString(),
                 project("more.prj").toStdString(), path("copy.prj").toStdString()};
    run(Command::SaveDatAs);
    EXPECT_EQ(form->windowTitle(), kCaption + "alps.prj   new.dat");
    run(Command::LoadDat1);
    EXPECT_EQ(disabled(), "Undo Redo CloseLog ShowClimbs ");
    EXPECT_EQ(form->windowTitle(), kCaption + "alps.prj   route.dat");
    run(Command::AddProjectThermals); // none to add: no step, no change
    EXPECT_EQ(disabled(), "SaveDat Undo Redo CloseLog ShowClimbs ");
    EXPECT_EQ(form->windowTitle(), kCaption + "alps.prj");
    run(Command::SaveProjectAs); // with all data, as the box starts
    EXPECT_EQ(form->windowTitle(), kCaption + "copy.prj");
    EXPECT_EQ(ReadAll(path("copy.prj")), ReadAll(path("alps.prj")));
}

struct Answers {
    const char* name;
    std::deque<Unsaved> answers;
    std::size_t asked; // questions
    bool loads;        // the project
};
class LoadQuestions : public MainWindow, public ::testing::WithParamInterface<Answers> {};

TEST_P(LoadQuestions, AskAboutTheProjectThenTheWaypointsAndCancelEndsTheCommand) {
    loadProject(project("alps.prj"));
    clickAt({60, 40});
    run(Command::addACWaypoint);
    rec.clear();
    const auto& [name, answers, asked, loads] = GetParam();
    rec.unsaved = answers;
    loadProject(project("other.prj", Lines({kBasicLine, kFullLine})));
    const Strings questions{kProjectQuestion, kWaypointsQuestion};
    EXPECT_EQ(rec.questions(), Strings(questions.begin(), questions.begin() + asked));
    EXPECT_EQ(std::tuple(doc().thermals().size(), doc().waypoints().size()),
              loads ? std::tuple(2u, 0u) : std::tuple(1u, 1u));
}

INSTANTIATE_TEST_SUITE_P(
    Answers, LoadQuestions,
    ::testing::Values(Answers{"DiscardBoth", {Unsaved::discard}, 2, true},
                      Answers{"CancelWaypoints", {Unsaved::discard, Unsaved::cancel}, 2, false},
                      Answers{"CancelProject", {Unsaved::cancel}, 1, false}),
    RowName);

TEST_F(MainWindow, LoadDatAsksOnlyAboutWaypointsAndCancelledDialogsChangeNothing) {
    loadProject(project("alps.prj", Lines({kBasicLine})));
    run(Command::ToolButton3);
    run(Command::addACWaypoint);
    rec.clear();
    rec.unsaved = {Unsaved::cancel};
    run(Command::LoadDat1);
    EXPECT_EQ(rec.questions(), Strings{kWaypointsQuestion});
    // Discard at every question, then each dialog is cancelled.
    for (const Command c : {Command::LoadDat1, Command::LoadProject1, Command::AddProjectThermals})
        run(c);
    EXPECT_EQ(rec.entries.size(), 6u);
    EXPECT_EQ(std::tuple(doc().thermals().size(), doc().waypoints().size(), form->zoomFactor()),
              std::tuple(1u, 1u, 2));
    panel().resize(534, 263);
    run(Command::ToolButton5);
    run(Command::ToolButton5); // zooming out stops at the whole 4:3 map fitted into the panel
    EXPECT_EQ(std::tuple(form->zoomFactor(), map().displayWidth(), map().displayHeight()),
              std::tuple(1, 350, 263));
}

TEST_F(EditingMap, ClickAddsAThermalOrANamedWaypointAtThePointerAndClearAllAsks) {
    clickAt({60, 40});
    clickAt({60, 40}); // on the new glyph: adds nothing
    ASSERT_EQ(doc().thermals().size(), 1u);
    const Thermal& t = *doc().thermals()[0];
    EXPECT_EQ(std::tuple(t.lat, t.lon), std::tuple(map().YToLat(40), map().XToLon(60)));
    EXPECT_EQ(Fields(t), Fields(form->thermalData().values()));

    run(Command::ClickToAddWaypoint);
    ASSERT_EQ(form->findChildren<QLineEdit*>("waypointDescription").size(), 1);
    // Commas and line breaks never enter a waypoint's name; a name taken gives the next.
    Retype(*form, "waypointDescription", "Ridge, 1");
    clickAt({100, 50});
    clickAt({120, 60});
    ASSERT_EQ(doc().waypoints().size(), 2u);
    const Waypoint& w = *doc().waypoints()[0];
    EXPECT_EQ(std::tuple(w.lat, w.lon), std::tuple(map().YToLat(50), map().XToLon(100)));
    EXPECT_EQ((Strings{w.tName, doc().waypoints()[1]->tName}), (Strings{"Ridge 1", "Ridge 2"}));
    popup({100, 50}, "WaypointPopup", "Delete");
    // Rename refuses a comma as the box does, and takes a name without.
    rec.texts = {"Ridge, north", "Ridge north"};
    for (int i = 0; i < 2; ++i)
        popup({120, 60}, "WaypointPopup", "Rename...");
    EXPECT_EQ(rec.messages().size(), 1u);
    EXPECT_EQ(std::tuple(doc().waypoints().size(), doc().waypoints()[0]->tName),
              std::tuple(1u, "Ridge north"));
    // The name stands in green to the right of its cross.
    const QImage shown = panel().viewport()->grab().toImage();
    const auto green = [](QColor c) {
        return c == QColor(0, 90, 0);
    };
    EXPECT_GT(CountPixels(shown, {at({127, 50}), QSize(53, 20)}, green), 10);
    // The map's own popup works at the point it was opened on.
    popup({150, 30}, "MapPopupMenu", "Add Thermal");
    popup({20, 120}, "MapPopupMenu", "Move AC Here");
    ASSERT_EQ(doc().thermals().size(), 2u);
    EXPECT_EQ(doc().thermals()[1]->lat, map().YToLat(30));
    EXPECT_EQ(std::tuple(link->lat, link->lon), std::tuple(map().YToLat(120), map().XToLon(20)));
    // Clear All asks, and No keeps everything.
    rec.answers = {false, false, true, true};
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(doc().thermals().size() + doc().waypoints().size(), 3u);
        run(Command::ClearAllThermals);
        run(Command::ClearAllWaypoints);
    }
    const std::string thermals = "Clear All Thermals|Clear All Thermals, Continue?";
    const std::string waypoints = "Clear All Waypoints|Clear All Waypoints, Continue?";
    EXPECT_EQ(rec.questions(), (Strings{thermals, waypoints, thermals, waypoints}));
    EXPECT_TRUE(panel().glyphs().glyphs().empty());
}

TEST_F(EditingMap, ThermalPopupCopiesValuesAndDeletesTheThermalItWasOpenedOn) {
    loadProject(project("two.prj", Lines({kFullLine, kOtherLine})));
    const Thermal& source = *doc().thermals()[0];
    const Thermal& target = *doc().thermals()[1];
    popup(pixelOf(source), "ThermalPopup", "Get Data");
    EXPECT_FALSE(doc().projectModified());
    popup(pixelOf(target), "ThermalPopup", "Set Data");
    EXPECT_TRUE(doc().projectModified());
    EXPECT_EQ(Fields(target), Fields(source));
    popup(pixelOf(source), "ThermalPopup", "Delete");
    ASSERT_EQ(doc().thermals().size(), 1u);
    EXPECT_EQ(doc().thermals()[0].get(), &target);
}

TEST_F(EditingMap, ApplyToAllSetsItsGroupFromTheWindow) {
    clickAt({60, 40});
    const Thermal& t = *doc().thermals()[0];
    Retype(form->thermalData(), "strength", "33");
    Retype(form->thermalData(), "cuStart", "7");
    Click(form->thermalData(), "Button1");
    EXPECT_EQ(std::tuple(t.tStrengthPercent, t.tCuStart), std::tuple(33, -1));
    Click(form->thermalData(), "ApplyToAll");
    EXPECT_EQ(t.tCuStart, 7);
}

TEST_F(EditingMap, HeightUnitsSwitchEveryHintTheWindowAndTheGroundReadout) {
    link->ground = -3.7;
    clickAt({60, 40});
    const auto shown = [this] {
        live().DisplayUpdateTimerTimer();
        return (panel().hintAt(at({60, 40})) + "\nWindow " +
                EditIn(form->thermalData(), "top")->text() + " Ground " + form->statusText(2))
            .toStdString();
    };
    run(Command::Feet);
    // The readout truncates towards zero.
    EXPECT_THAT(shown(), ::testing::ContainsRegex("Top 4921ft.*Window 4921 Ground -12ft"));
    run(Command::Meters);
    EXPECT_THAT(shown(), ::testing::ContainsRegex("Top 1500m.*Window 1500 Ground -3m"));
}

// The latitude north of 30 S, 30 E at which DistanceKm gives metres, to its decimetre. There
// latitude and longitude add up to 0, which is a place like any other.
double NorthBy(double metres) {
    return -30 + metres / 111195;
}

TEST_F(EditingMap, NothingIsPlacedWithoutALivePositionThenOnceFartherThanTheDistance) {
    Click(form->thermalData(), "autoThermals");
    const auto status = [this] {
        live().DisplayUpdateTimerTimer();
        return std::tuple(form->statusText(5).toStdString(),
                          form->findChild<QLabel*>("StatusPanel0")->isEnabled());
    };
    link->live = false;
    // The link's state shows beside the five panels, and values that are not live are grey.
    EXPECT_EQ(status(), std::tuple("No simulator", false));
    run(Command::addACThermal);
    run(Command::addACWaypoint);
    EXPECT_TRUE(doc().thermals().empty() && doc().waypoints().empty());
    EXPECT_TRUE(form->noteText().contains("No simulator"));
    link->live = true;
    link->lon = 30.0;
    link->lat = NorthBy(0);
    // With no thermal yet the first live tick places one at once; then 799 m are not enough.
    EXPECT_EQ(status(), std::tuple("Linked", true));
    for (const double lat : {NorthBy(799), NorthBy(800.5), NorthBy(800.5)}) {
        link->lat = lat;
        live().DisplayUpdateTimerTimer();
    }
    ASSERT_EQ(doc().thermals().size(), 2u);
    EXPECT_EQ(doc().thermals()[1]->lat, NorthBy(800.5));
}

TEST_F(MainWindow, AThermalAtTheAircraftTakesTheTickedWindSideAndHeights) {
    link->ground = 612.4;
    // With neither side ticked the thermal takes the window's wind.
    link->heading = 10;
    run(Command::addACThermal);
    EXPECT_EQ(doc().thermals().back()->windDir, 270);
    // Box ticked, heading, wind direction, top and cloud base.
    const std::tuple<const char*, double, int, int> rows[] = {{"windRight", 10, 100, 1500},
                                                              {"windLeft", 10, 280, 1500},
                                                              {"windLeft", 100.7, 10, 1500},
                                                              {"TopsMSL", 10, 270, 887}};
    for (const auto& [box, heading, windDir, top] : rows) {
        Click(form->thermalData(), box);
        link->heading = heading;
        const int cycles = link->readCycles;
        run(Command::addACThermal);
        Click(form->thermalData(), box); // unticked again
        const Thermal& t = *doc().thermals().back();
        EXPECT_EQ(std::tuple(t.windDir, t.top, t.cloudBase, t.tGroundHeight, link->readCycles),
                  std::tuple(windDir, top, top, 612, cycles + 1))
            << box << heading;
    }
    // A link that reads the heading on request: the window's value until the heading is in.
    Click(form->thermalData(), "windRight");
    link->headingOnRequest = true;
    run(Command::addACThermal);
    const Thermal& t = *doc().thermals().back();
    live().ReadDataTimerTimer();
    EXPECT_EQ(t.windDir, 270);
    ++link->headingsServed;
    live().ReadDataTimerTimer();
    EXPECT_EQ(t.windDir, 100);
}

TEST_F(MainWindow, ProfilerTimerTicksStopsOrLeavesTheProfilerAlone) {
    std::tie(link->lat, link->lon, link->altitude, link->msStrength) =
        std::tuple(47.2, 8.0, 700, 50);
    const Thermal& t = live().AddThermal({47.2, 8.0});
    const auto tick = [this](bool block) {
        link->block = block;
        live().ProfilerTimer();
        return live().profiler().current();
    };
    EXPECT_EQ(tick(true), &t);
    EXPECT_EQ(tick(false), nullptr);
    ASSERT_EQ(tick(true), &t);
    Click(form->thermalData(), "ProfileOnOff");
    const std::size_t writes = link->strengthWrites.size();
    EXPECT_EQ(tick(false), &t);
    EXPECT_EQ(link->strengthWrites.size(), writes);
}

// Name, answers, whether the project's save fails, whether the window closes and the
// project file is written.
struct Closing {
    const char* name;
    std::deque<Unsaved> answers;
    bool saveFails;
    bool closes;
    bool written;
};
class ClosingOverChanges : public MainWindow, public ::testing::WithParamInterface<Closing> {};

TEST_P(ClosingOverChanges, AsksPerModifiedFileAndOnlySaveOrDiscardClose) {
    const Closing& row = GetParam();
    const QString file = project("alps.prj");
    loadProject(file);
    clickAt({60, 40});
    const QByteArray before = ReadAll(file);
    if (row.saveFails) {
        QFile::remove(file);
        QDir(dir.path()).mkdir("alps.prj");
    }
    rec.clear();
    rec.unsaved = row.answers;
    EXPECT_EQ(form->close(), row.closes);
    EXPECT_EQ(rec.questions(), Strings{kProjectQuestion});
    EXPECT_EQ(!row.saveFails && ReadAll(file) != before, row.written);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, ClosingOverChanges,
    ::testing::Values(Closing{"Save", {Unsaved::save}, false, true, true},
                      Closing{"Discard", {Unsaved::discard}, false, true, false},
                      Closing{"Cancel", {Unsaved::cancel}, false, false, false},
                      Closing{"FailingSave", {Unsaved::save}, true, false, false}),
    RowName);

TEST_F(MainWindow, ClosingStopsTheTimers) {
    open("1");
    link->ground = 412.7;
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->statusText(2) == "412m"; }));
    run(Command::Exit1);
    ASSERT_FALSE(form->isVisible());
    const int reads = link->readCycles;
    link->ground = 100;
    // Ten ticks of a 1 ms witness: the window's 1 ms timers would have fired meanwhile.
    QTimer witness;
    QSignalSpy ticks(&witness, &QTimer::timeout);
    witness.start(1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks.count() >= 10; }));
    EXPECT_EQ(std::tuple(link->readCycles, form->statusText(2)), std::tuple(reads, "412m"));
}

TEST_F(EditingMap, SceneryToolsRunBesideTheProjectWhileTheWindowGoesOnAndFailuresAreReported) {
    // The tools are looked for where the program started; the project lies elsewhere.
    ASSERT_TRUE(QDir(dir.path()).mkdir("maps"));
    loadProject(project("maps/alps.prj"));
    live().AddThermal({47.3, 7.9});
    run(Command::Cumulus); // no cumulus tool in the folder
    ASSERT_TRUE(QTest::qWaitFor([this] { return rec.messages().size() == 1; }));
    // The message names the tool it looked for, in the folder it looked in.
    EXPECT_TRUE(rec.detailed()[0].starts_with("Error|Error Generating Thermals\n\n" +
                                              path("cumulus31").toStdString() + '\n'));
    ASSERT_TRUE(QTest::qWaitFor([this] { return enabled(Command::Cumulus); }));
    rec.clear();
    // A stand-in tool that waits (10 s at most, and never longer than the test) for a file
    // the test writes only once the command has returned.
    WriteAll(path("scasm"),
             "#!/bin/sh\ni=0\nwhile [ ! -e go ] && [ $i -lt 200 ] && kill -0 $PPID; do\n"
             "  sleep 0.05; i=$((i+1))\ndone\n[ -e go ] && echo \"$@\" > ran\n");
    QFile::setPermissions(path("scasm"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    run(Command::Thermik);
    EXPECT_FALSE(enabled(Command::Thermik));
    WriteAll(path("maps/go"), "");
    ASSERT_TRUE(QTest::qWaitFor([this] { return enabled(Command::Thermik); }, 15000));
    EXPECT_EQ(ReadAll(path("maps/ran")), "alps.sca alps.bgl\n");
    EXPECT_TRUE(QFile::exists(path("maps/alps.sca")) && !QFile::exists(path("alps.sca")));
    EXPECT_TRUE(rec.entries.empty());
}

} // namespace
