// The Log menu on real flight logs: a log shown on a new plain map or on the project's, its
// track's hint, its climbs chosen and made thermals, files that are no logs; and the
// command line naming a log.

#include "app/commandline.h"
#include "dialogs/climbswindow.h"
#include "flight/climbs.h"
#include "flight/flighttrack.h"
#include "io/filestore.h"
#include "qtfixtures.h"
#include "scene/flighttrackitem.h"

#include <QDoubleSpinBox>
#include <QItemSelectionModel>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableWidget>

namespace {

IgcFlight RealLog(const char* name) {
    const QByteArray bytes = ReadAll(DataFile("igc/") + QLatin1String(name));
    return ReadIgcFile(std::string_view(bytes.constData(), std::size_t(bytes.size())));
}

class LogWindow : public MainWindow {
protected:
    void openLog(const char* name) {
        rec.files.push_back(DataFile("igc/").toStdString() + name);
        run(Command::OpenLog);
    }
};

TEST_F(LogWindow, WithoutAProjectAFlightGetsAPlainMapSavedBesideTheProject) {
    openLog("olsztyn.igc");
    ASSERT_EQ(rec.questions(), Strings({"New Project|No project is open to show olsztyn.igc on. "
                                        "Make a new project on a plain map that frames the whole "
                                        "flight?"}));
    const GeoBounds frame = FlightFrame(RealLog("olsztyn.igc"));
    EXPECT_EQ(map().frame().edges, frame);
    EXPECT_TRUE(doc().projectModified());
    EXPECT_NE(form->flightTrack(), nullptr);
    EXPECT_TRUE(form->flightLineText().startsWith("2011-09-02"));
    EXPECT_TRUE(enabled(Command::ShowClimbs));

    rec.files.push_back(path("day.prj").toStdString());
    run(Command::SaveProject);
    EXPECT_TRUE(rec.messages().empty()) << rec.messages().front();
    EXPECT_TRUE(ReadAll(path("day.prj")).startsWith("day.png\r\n"));
    form->LoadProjectFile(path("day.prj"), false);
    EXPECT_TRUE(map().loaded());
    EXPECT_NEAR(map().frame().edges.north, frame.north, 1e-9);
    EXPECT_NEAR(map().frame().edges.east, frame.east, 1e-9);

    run(Command::CloseLog);
    EXPECT_EQ(form->flightTrack(), nullptr);
    EXPECT_FALSE(enabled(Command::ShowClimbs));
    auto* recent = form->findChild<QMenu*>("RecentFiles");
    EXPECT_TRUE(recent->actions().back()->text().startsWith("olsztyn.igc \u2014 "));
}

TEST_F(LogWindow, AFlightBeyondTheMapKeepsTheProjectWhenThePilotSaysNo) {
    loadProject(project("alps.prj", Lines({kBasicLine})));
    rec.answers = {false};
    openLog("olsztyn.igc");
    ASSERT_EQ(rec.questions().size(), 1u);
    EXPECT_TRUE(rec.questions()[0].starts_with("New Project|The flight in olsztyn.igc reaches "
                                               "beyond the map."));
    EXPECT_EQ(doc().projectFileName(), "alps.prj");
    EXPECT_EQ(doc().thermals().size(), 1u);
    EXPECT_NE(form->flightTrack(), nullptr);
}

TEST_F(LogWindow, AFileThatIsNoLogIsRefusedAndTheOpenLogStays) {
    rec.answers = {true};
    openLog("olsztyn.igc");
    rec.clear();
    FlightTrackItem* shown = form->flightTrack();
    rec.files.push_back(DataFile("files/example.prj").toStdString());
    run(Command::LoadLog1);
    ASSERT_EQ(rec.messages().size(), 1u);
    EXPECT_TRUE(rec.detailed()[0].starts_with(
        "File Error|The flight log holds no fix to show.\n\n" +
        ShownPath(DataFile("files/example.prj")) + "\nThe file holds no fixes"));
    EXPECT_EQ(form->flightTrack(), shown);
}

TEST_F(LogWindow, TheTrackHintsItsTimeAltitudeAndClimb) {
    openLog("napret.igc");
    // Zoomed in, so that the fixes near the middle one lie on pixels of their own.
    for (int i = 0; i < 3; ++i)
        run(Command::ToolButton3);
    const Trail track = FlightTrail(RealLog("napret.igc"));
    const Trail::Point& point = track.points()[track.points().size() / 2];
    const QPoint pixel = map().PixelOf(point.position);
    panel().centerOn(pixel);
    EXPECT_EQ(panel().hintAt(at(pixel)), QString::fromStdString(TrackPointHint(point, meters)));
    // The frame keeps its corners a tenth of the flight away from every fix.
    panel().centerOn(0, 0);
    EXPECT_EQ(panel().hintAt(at({2, 2})), "");
}

TEST_F(LogWindow, TheFlightEndsAtABlackSquare) {
    openLog("napret.igc");
    const QPoint end = map().PixelOf(FlightTrail(RealLog("napret.igc")).points().back().position);
    panel().centerOn(end);
    EXPECT_EQ(panel().viewport()->grab().toImage().pixelColor(at(end)), QColor(Qt::black));
}

TEST_F(LogWindow, ChosenClimbsShowOnTheMapAndBecomeThermalsInOneStep) {
    openLog("napret.igc");
    const std::vector<Climb> climbs = FindClimbs(RealLog("napret.igc"));
    ClimbsWindow& window = form->climbsWindow();
    auto* table = window.findChild<QTableWidget*>("climbs");
    ASSERT_EQ(table->rowCount(), int(climbs.size()));
    ASSERT_GE(climbs.size(), 3u);
    window.findChild<QSpinBox*>("ground")->setValue(300);
    window.findChild<QDoubleSpinBox*>("fullStrength")->setValue(2);
    for (int row : {0, 2})
        table->selectionModel()->select(table->model()->index(row, 0),
                                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
    // The first chosen climb is in the middle of the view, ringed in orange.
    const QImage shown = panel().viewport()->grab().toImage();
    const QPoint centre = at(map().PixelOf(climbs[0].centre));
    const auto orange = [](QColor c) {
        return c.red() > 200 && c.green() > 100 && c.green() < 180 && c.blue() < 60;
    };
    EXPECT_GT(CountPixels(shown, {centre - QPoint(10, 10), QSize(21, 21)}, orange), 0);

    QSignalSpy added(&form->document(), &Document::thermalsAdded);
    Click(window, "addAsThermals");
    EXPECT_EQ(added.count(), 1);
    ASSERT_EQ(doc().thermals().size(), 2u);
    // How a climb becomes a thermal is the core's to check; here, that the chosen climbs and
    // the window's ground and full strength are handed over.
    const Thermal& t = *doc().thermals()[1];
    EXPECT_EQ(std::tuple(t.bottom, t.tGroundHeight, t.tStrengthPercent),
              std::tuple(climbs[2].entryAltitudeM - 300, 300,
                         std::lround(100 * climbs[2].meanClimbMps / 2)));
    // One step: one undo takes them all back.
    run(Command::Undo);
    EXPECT_TRUE(doc().thermals().empty());
}

TEST(CommandLineTest, ALogStandsAnywhereBesideTheProjectAndWaypoints) {
    const CommandLine line = ParseCommandLine({"brevan", "day.IGC", "alps.prj", "route.dat"});
    ASSERT_EQ(line.action, CommandLine::Run);
    EXPECT_TRUE(line.log.endsWith("/day.IGC"));
    EXPECT_TRUE(line.project.endsWith("/alps.prj"));
    EXPECT_TRUE(line.waypoints.endsWith("/route.dat"));
}

} // namespace
