// Every change to the thermals and waypoints as one step of the history, done, undone and
// redone as the user does it: the lists, their glyphs and the modified mark follow.

#include "dialogs/randomize.h"
#include "dialogs/thermaldata.h"
#include "model/valueranges.h"
#include "qtfixtures.h"

#include <functional>

#include <QAction>

namespace {

class History : public MainWindow {
protected:
    // A project of two thermals and a waypoint file of two waypoints, just loaded.
    void reload() {
        form->LoadProjectFile(project("alps.prj", Lines({kFullLine, kOtherLine})), false);
        WriteAll(path("route.dat"), Lines({"1,47:20.000N,7:40.000E,500M,T,Alpha,A",
                                           "2,47:10.000N,8:20.000E,600M,T,Beta,B"}));
        form->LoadDatFile(path("route.dat"));
    }
    // The lists as the user sees them: each value in order, with where its glyph stands.
    std::string shown() const {
        std::string text;
        const auto add = [&](const auto& list) {
            for (const auto& value : list) {
                const MapGlyph* glyph = GlyphOf(panel(), *value);
                text += value->Hint(meters) + " at " +
                        (glyph ? std::to_string(glyph->x()) + ',' + std::to_string(glyph->y())
                               : "no glyph") +
                        '\n';
            }
        };
        add(doc().thermals());
        add(doc().waypoints());
        return text + std::to_string(panel().glyphs().glyphs().size()) + " glyphs";
    }
    std::tuple<bool, bool, bool> modified() const {
        return {doc().projectModified(), doc().waypointsModified(),
                form->windowTitle().endsWith(" *")};
    }

    // What a row of the tables below does, as the user does it.
    using Action = std::function<void()>;
    Action runs(Command command) const { return std::bind_front(&History::run, this, command); }
    Action clicks(QPoint pixel) const { return std::bind_front(&History::clickAt, this, pixel); }
    Action presses(const char* button) const {
        return std::bind_front(Click, std::cref(form->thermalData()), button);
    }
    Action choosesOnMap(const char* item) const {
        return std::bind_front(&History::popup, this, QPoint(30, 10), "MapPopupMenu", item);
    }
    // Where the i-th thermal or waypoint stands when the row is taken.
    QPoint placeOf(bool thermal, std::size_t i) const {
        return thermal ? pixelOf(*doc().thermals()[i]) : pixelOf(*doc().waypoints()[i]);
    }
    Action chooses(bool thermal, std::size_t i, const char* item) const {
        return [=, this] {
            popup(placeOf(thermal, i), thermal ? "ThermalPopup" : "WaypointPopup", item);
        };
    }
    Action drags(bool thermal, QPoint by) const {
        return [=, this] {
            dragBy(Qt::LeftButton, at(placeOf(thermal, 1)), by);
        };
    }
};

struct Step {
    const char* name;
    const char* undo; // the Edit menu's caption after it
    bool thermals;    // the thermals change, else the waypoints
    std::function<void()> take;
};

TEST_F(History, EachStepUndoesAndRedoesExactlyWithTheModifiedMark) {
    const Step steps[] = {
        {"click", "&Undo Add Thermal", true, clicks({20, 20})},
        {"map popup", "&Undo Add Thermal", true, choosesOnMap("Add Thermal")},
        {"at the aircraft", "&Undo Add Thermal", true, runs(Command::addACThermal)},
        {"automatic", "&Undo Add Thermal", true,
         [&] {
             std::tie(link->lat, link->lon) = std::pair(47.3, 8.0 + doc().thermals().size() * 0.1);
             Click(form->thermalData(), "autoThermals");
             live().DisplayUpdateTimerTimer();
             Click(form->thermalData(), "autoThermals");
         }},
        {"waypoint click", "&Undo Add Waypoint", false,
         [&] {
             run(Command::ClickToAddWaypoint);
             clickAt({25, 25});
             run(Command::ClickToAddThermal);
         }},
        {"waypoint at the aircraft", "&Undo Add Waypoint", false, runs(Command::addACWaypoint)},
        {"delete", "&Undo Delete Thermal", true, chooses(true, 0, "Delete")},
        {"delete waypoint", "&Undo Delete Waypoint", false, chooses(false, 0, "Delete")},
        {"clear all", "&Undo Clear All Thermals", true, runs(Command::ClearAllThermals)},
        {"clear all waypoints", "&Undo Clear All Waypoints", false,
         runs(Command::ClearAllWaypoints)},
        {"drag", "&Undo Move Thermal", true,
         [&] {
             // The thermal lands where its glyph was let go.
             const QPoint from = pixelOf(*doc().thermals()[1]);
             drags(true, {15, 10})();
             EXPECT_EQ(pixelOf(*doc().thermals()[1]), from + QPoint(15, 10));
         }},
        {"drag waypoint", "&Undo Move Waypoint", false, drags(false, {-10, 5})},
        {"rename", "&Undo Rename Waypoint", false,
         [&] {
             rec.texts = {"Gamma"};
             chooses(false, 1, "Rename...")();
         }},
        {"set data", "&Undo Set Data", true, chooses(true, 1, "Set Data")},
        {"profile to all", "&Undo Apply Profile To All", true, presses("Button1")},
        {"cumulus to all", "&Undo Apply Cumulus To All", true, presses("ApplyToAll")},
        {"randomize", "&Undo Randomize", true,
         [&] {
             run(Command::Randomize1);
             for (const char* box : {"type2", "type4", "thermRadius"})
                 form->randomizeForm().findChild<QAbstractButton*>(box)->setChecked(true);
             Retype(form->randomizeForm(), "thermRadiusMin", "100");
             Retype(form->randomizeForm(), "thermRadiusMax", "200");
             Click(form->randomizeForm(), "Apply");
         }},
        {"another project's thermals", "&Undo Add Project Thermals", true,
         [&] {
             rec.files = {project("more.prj", Lines({kBasicLine})).toStdString()};
             run(Command::AddProjectThermals);
         }},
        {"import", "&Undo Import Waypoints", false,
         [&] {
             rec.files = {copy("files/xcsoar_waypoints.cup", "more.cup").toStdString()};
             run(Command::ImportWaypoints);
         }},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        reload();
        const std::string before = shown();
        ASSERT_EQ(modified(), std::tuple(false, false, false));
        step.take();
        const std::string after = shown();
        EXPECT_NE(after, before);
        EXPECT_EQ(modified(), std::tuple(step.thermals, !step.thermals, true));
        EXPECT_EQ(form->action(Command::Undo)->text(), step.undo);
        run(Command::Undo);
        EXPECT_EQ(shown(), before);
        EXPECT_EQ(modified(), std::tuple(false, false, false));
        run(Command::Redo);
        EXPECT_EQ(shown(), after);
        EXPECT_EQ(modified(), std::tuple(step.thermals, !step.thermals, true));
    }
    EXPECT_TRUE(rec.messages().empty());
}

// A field that holds a bad text refuses every command that reads it, with one message
// naming it: no thermal changes and no step is taken.
TEST_F(History, ABadFieldRefusesTheCommandsThatReadIt) {
    struct Refused {
        const char* name;
        ValueField field;
        const char* edit;
        const char* text;
        Action take;
    };
    const Refused rows[] = {
        {"click", ValueField::radius, "radius", "abc", clicks({20, 20})},
        {"map popup", ValueField::top, "top", "99999999999", choosesOnMap("Add Thermal")},
        {"at the aircraft", ValueField::strength, "strength", "-50", runs(Command::addACThermal)},
        {"set data", ValueField::cloudType, "cloudType", "1.5", chooses(true, 1, "Set Data")},
        {"profile to all", ValueField::coreSize, "coreSize", "101", presses("Button1")},
        {"cumulus to all", ValueField::cuHS, "cuHS", "x", presses("ApplyToAll")},
    };
    for (const Refused& row : rows) {
        SCOPED_TRACE(row.name);
        reload();
        const QString good = EditIn(form->thermalData(), row.edit)->text();
        Retype(form->thermalData(), row.edit, row.text);
        const std::string before = shown();
        rec.clear();
        row.take();
        EXPECT_EQ(shown(), before);
        EXPECT_FALSE(form->action(Command::Undo)->isEnabled());
        EXPECT_EQ(rec.messages(), Strings{"Error|" + BadValuesText({row.field}, meters)});
        Retype(form->thermalData(), row.edit, good);
    }
}

} // namespace
