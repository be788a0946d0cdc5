#include "commands.h"

#include <algorithm>

namespace {

using C = Command;
using P = Place;
using G = CheckGroup;
constexpr auto kNoKey = QKeySequence::UnknownKey;

// The hints of the three formats are examples of them; the window shows no menu hints.
// The zoom buttons carry their hints but never show them.
constexpr std::array<CommandEntry, kCommandCount> kCommands{{
    {C::LoadProject1, "LoadProject1", "Load &Project", P::file, true, nullptr, G::none,
     QKeySequence::Open, nullptr, false},
    {C::SaveProject, "SaveProject", "&Save Project", P::file, false, nullptr, G::none,
     QKeySequence::Save, nullptr, false},
    {C::SaveProjectAs, "SaveProjectAs", "Save Project &As", P::file, false, nullptr, G::none,
     QKeySequence::SaveAs, "Ctrl+Shift+S", false},
    {C::AddProjectThermals, "AddProjectThermals", "A&dd Project Thermals", P::file, false, nullptr,
     G::none, kNoKey, nullptr, false},
    {C::NewProjectFromMap, "NewProjectFromMap", "New Project from &Map...", P::file, true, nullptr,
     G::none, QKeySequence::New, nullptr, false},
    {C::LoadDat1, "LoadDat1", "Load &Dat", P::file, false, nullptr, G::none, kNoKey, nullptr,
     false},
    {C::SaveDat, "SaveDat", "Sa&ve Dat", P::file, false, nullptr, G::none, kNoKey, nullptr, false},
    {C::SaveDatAs, "SaveDatAs", "Save Dat As", P::file, false, nullptr, G::none, kNoKey, nullptr,
     false},
    {C::LoadLog1, "LoadLog1", "Load &Log", P::file, true, nullptr, G::none, kNoKey, nullptr, false},
    {C::Exit1, "Exit1", "&Exit", P::file, true, nullptr, G::none, QKeySequence::Quit, "Ctrl+Q",
     true},
    // Their captions name the step they undo or redo; Redo takes Ctrl+Y as well.
    {C::Undo, "Undo", "&Undo", P::edit, false, nullptr, G::none, QKeySequence::Undo, "Ctrl+Z",
     false, true},
    {C::Redo, "Redo", "&Redo", P::edit, false, nullptr, G::none, kNoKey, nullptr, false, true},
    {C::DecDegrees, "DecDegrees", "Dec Degrees", P::latLongUnits, true, "+-ddd.ddddd", G::latLong,
     kNoKey, nullptr, false},
    {C::DecMins, "DecMins", "Dec Mins", P::latLongUnits, true, "E10*10.72", G::latLong, kNoKey,
     nullptr, false},
    {C::DegMinSec, "DegMinSec", "Deg Min Sec", P::latLongUnits, true, "W10*51'21\"", G::latLong,
     kNoKey, nullptr, false},
    {C::Meters, "Meters", "Meters", P::heightUnits, true, nullptr, G::height, kNoKey, nullptr,
     false},
    {C::Feet, "Feet", "Feet", P::heightUnits, true, nullptr, G::height, kNoKey, nullptr, false},
    {C::ClickToAddThermal, "ClickToAddThermal", "Thermal", P::clickToAdd, true, nullptr, G::click,
     kNoKey, nullptr, false},
    {C::ClickToAddWaypoint, "ClickToAddWaypoint", "Waypoint", P::clickToAdd, true, nullptr,
     G::click, kNoKey, nullptr, false},
    {C::FollowAircraft, "FollowAircraft", "&Follow Aircraft", P::view, true,
     "Keep the aircraft in view", G::own, kNoKey, "Ctrl+F", false, true},
    {C::ClearTrail, "ClearTrail", "Clear &Trail", P::view, true, nullptr, G::none, kNoKey, nullptr,
     false},
    {C::FitMap, "FitMap", "Fit &Map", P::view, true, "The whole map in the window", G::none, kNoKey,
     "Ctrl+0", false},
    {C::ShowThermalData, "ShowThermalData", "&Data ...", P::thermal, true, nullptr, G::none, kNoKey,
     nullptr, false},
    {C::ClearAllThermals, "ClearAllThermals", "Clear All", P::thermal, false, nullptr, G::none,
     kNoKey, nullptr, false},
    {C::Thermik, "Thermik", "Thermik", P::create, true, nullptr, G::none, kNoKey, nullptr, false},
    {C::Cumulus, "Cumulus", "Cumulus", P::create, true, nullptr, G::none, kNoKey, nullptr, false},
    {C::Randomize1, "Randomize1", "Randomize", P::thermal, true, nullptr, G::none, kNoKey, nullptr,
     false},
    {C::ClearAllWaypoints, "ClearAllWaypoints", "Clear All", P::waypoints, true, nullptr, G::none,
     kNoKey, nullptr, false},
    {C::ImportWaypoints, "ImportWaypoints", "&Import...", P::waypoints, false, nullptr, G::none,
     kNoKey, nullptr, false},
    {C::OpenLog, "OpenLog", "&Open", P::log, true, nullptr, G::none, kNoKey, nullptr, false},
    {C::CloseLog, "CloseLog", "&Close", P::log, false, nullptr, G::none, kNoKey, nullptr, false},
    {C::ShowClimbs, "ShowClimbs", "C&limbs", P::log, false, nullptr, G::none, kNoKey, nullptr,
     false},
    {C::RecordFlight, "RecordFlight", "&Record Flight", P::log, true,
     "Write the simulator flight as an IGC flight log", G::own, kNoKey, nullptr, true},
    {C::About1, "About1", "&About", P::help, true, nullptr, G::none, kNoKey, nullptr, false},
    {C::Legend, "Legend", "&Glyph Colours", P::help, true, nullptr, G::none, kNoKey, nullptr,
     false},
    {C::openProjectButton, "openProjectButton", "Load Project", P::toolBar, true,
     "Load Project File", G::none, kNoKey, nullptr, false},
    {C::saveProjectButton, "saveProjectButton", "Save Project", P::toolBar, true,
     "Save Project File", G::none, kNoKey, nullptr, false},
    {C::addACThermal, "addACThermal", "Thermal", P::toolBar, true,
     "Add thermal at aircraft position", G::none, kNoKey, nullptr, true},
    {C::addACWaypoint, "addACWaypoint", "Waypoint", P::toolBar, true,
     "Add waypoint at aircraft position", G::none, kNoKey, nullptr, true},
    {C::ToolButton3, "ToolButton3", "Zoom In", P::toolBar, true, "Zoom In", G::none,
     QKeySequence::ZoomIn, nullptr, true},
    {C::ToolButton5, "ToolButton5", "Zoom Out", P::toolBar, true, "Zoom Out", G::none,
     QKeySequence::ZoomOut, nullptr, false},
}};

constexpr std::array<MenuEntry, 12> kMenus{{
    {P::file, P::file, "File1", "&File"},
    {P::edit, P::edit, "Edit1", "&Edit"},
    {P::options, P::options, "Options1", "&Options"},
    {P::view, P::view, "View1", "&View"},
    {P::latLongUnits, P::options, "LatLongUnits", "Lat Long Units"},
    {P::heightUnits, P::options, "HeightUnits", "Height Units"},
    {P::clickToAdd, P::options, "ClickToAdd", "Click To Add"},
    {P::thermal, P::thermal, "Thermal1", "&Thermal"},
    {P::create, P::thermal, "CreateThermals", "Create"},
    {P::waypoints, P::waypoints, "Waypoints1", "&Waypoints"},
    {P::log, P::log, "Log1", "&Log"},
    {P::help, P::help, "Help1", "&Help"},
}};

} // namespace

const std::array<CommandEntry, kCommandCount>& CommandTable() {
    return kCommands;
}

const MenuEntry& MenuOf(Place place) {
    return *std::find_if(kMenus.begin(), kMenus.end(),
                         [place](const MenuEntry& menu) { return menu.place == place; });
}
