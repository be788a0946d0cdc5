#pragma once

#include <array>
#include <cstddef>

#include <QKeySequence>

// The main window's commands: every menu item and toolbar control, in menu order and then
// toolbar order, named as the program's parts call them.
enum class Command {
    LoadProject1,
    SaveProject,
    SaveProjectAs,
    AddProjectThermals,
    NewProjectFromMap,
    LoadDat1,
    SaveDat,
    SaveDatAs,
    LoadLog1,
    Exit1,
    Undo,
    Redo,
    DecDegrees,
    DecMins,
    DegMinSec,
    Meters,
    Feet,
    ClickToAddThermal,
    ClickToAddWaypoint,
    FollowAircraft,
    ClearTrail,
    FitMap,
    ShowThermalData,
    ClearAllThermals,
    Thermik,
    Cumulus,
    Randomize1,
    ClearAllWaypoints,
    ImportWaypoints,
    OpenLog,
    CloseLog,
    ShowClimbs,
    RecordFlight,
    About1,
    Legend,
    openProjectButton,
    saveProjectButton,
    addACThermal,
    addACWaypoint,
    ToolButton3,
    ToolButton5,
};
inline constexpr std::size_t kCommandCount = static_cast<std::size_t>(Command::ToolButton5) + 1;

// Where a command stands: a menu (by its object name) or the toolbar.
enum class Place {
    file,
    options,
    view,
    latLongUnits,
    heightUnits,
    clickToAdd,
    thermal,
    create,
    waypoints,
    log,
    help,
    edit,
    toolBar,
};

// Commands of one group carry a check mark, exactly one of them at a time; "own" is a
// check mark of its own.
enum class CheckGroup { none, latLong, height, click, own };

struct CommandEntry {
    Command command;
    const char* name;
    const char* caption;
    Place place;
    bool enabled; // at start
    const char* hint;
    CheckGroup group;
    QKeySequence::StandardKey key;
    // The key where the platform has none for key (Windows leaves quitting to Alt+F4).
    const char* otherwise;
    bool separatorBefore;
    bool onToolBarToo = false; // a menu command with a button at the toolbar's end as well
};

const std::array<CommandEntry, kCommandCount>& CommandTable();

// A menu of the menu bar or a submenu, created where its first command stands.
struct MenuEntry {
    Place place;
    Place parent; // the place itself for a menu of the menu bar
    const char* name;
    const char* caption;
};

const MenuEntry& MenuOf(Place place);
