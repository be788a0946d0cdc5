// What each command of the main window's command table does.
#include "aboutform.h"
#include "dialogs/climbswindow.h"
#include "dialogs/randomize.h"
#include "dialogs/thermaldata.h"
#include "io/scenerytool.h"
#include "mainform.h"
#include "prompts/prompts.h"
#include "scene/trailitem.h"

#include <QDockWidget>
#include <QLineEdit>
#include <QUndoStack>

void TMainForm::runCommand(Command command) {
    switch (command) {
    case Command::LoadProject1:
    case Command::openProjectButton:
        return LoadProject(false);
    case Command::AddProjectThermals:
        return LoadProject(true);
    case Command::NewProjectFromMap:
        return NewProjectFromMap();
    case Command::SaveProject:
    case Command::saveProjectButton:
        document_.SaveProject(ThermalData->GetSaveCuData());
        return NoteSaved(true);
    case Command::SaveProjectAs:
        document_.SaveProjectAs(ThermalData->GetSaveCuData());
        NoteSaved(true);
        return showCaption(false);
    case Command::LoadDat1:
        return LoadDat();
    case Command::SaveDat:
        document_.SaveWaypoints();
        return NoteSaved(false);
    case Command::SaveDatAs:
        document_.SaveWaypointsAs();
        NoteSaved(false);
        return showCaption(true);
    case Command::LoadLog1:
    case Command::OpenLog:
        return OpenLog();
    case Command::CloseLog:
        return CloseLog();
    case Command::ShowClimbs:
        Climbs->show();
        return Climbs->raise();
    case Command::RecordFlight:
        return RecordFlight(action(Command::RecordFlight)->isChecked());
    case Command::Exit1:
        close();
        return;
    case Command::Undo:
        return document_.history().undo();
    case Command::Redo:
        return document_.history().redo();
    case Command::DecDegrees:
        SetLatLonFormat(decDegrees);
        return rememberChoices();
    case Command::DecMins:
        SetLatLonFormat(decMins);
        return rememberChoices();
    case Command::DegMinSec:
        SetLatLonFormat(degMinSec);
        return rememberChoices();
    case Command::Meters:
        ApplyHeightUnits(meters);
        return rememberChoices();
    case Command::Feet:
        ApplyHeightUnits(feet);
        return rememberChoices();
    case Command::ClickToAddThermal:
    case Command::ClickToAddWaypoint:
    case Command::FollowAircraft:
        // A check mark read where it matters.
        return rememberChoices();
    case Command::FitMap:
        return FitMap();
    case Command::ClearTrail:
        live_->ClearTrail();
        return trail_->Refresh();
    case Command::ShowThermalData:
        thermalDock_->show();
        return thermalDock_->raise();
    case Command::ClearAllThermals:
        if (!prompts().ask("Clear All Thermals", "Clear All Thermals, Continue?"))
            return;
        return document_.ClearAllThermals();
    case Command::Thermik:
        return RunScenery(SceneryKind::thermik);
    case Command::Cumulus:
        return RunScenery(SceneryKind::cumulus);
    case Command::Randomize1:
        RandomizeForm->show();
        RandomizeForm->raise();
        return RandomizeForm->SetThermals(&document_.thermals());
    case Command::ClearAllWaypoints:
        if (!prompts().ask("Clear All Waypoints", "Clear All Waypoints, Continue?"))
            return;
        return document_.ClearAllWaypoints();
    case Command::ImportWaypoints: {
        const auto file = prompts().openFile(
            {kWaypointImportFilter, "cup", document_.waypointFolder().toStdString()});
        if (file)
            document_.ImportWaypoints(QString::fromStdString(*file));
        return;
    }
    case Command::About1:
        About->show();
        return About->raise();
    case Command::Legend:
        Legend->show();
        return Legend->raise();
    case Command::addACThermal:
        if (ThermalData->CheckValues(ValueUse::thermal))
            live_->ThermalAtAircraft();
        return;
    case Command::addACWaypoint:
        live_->WaypointAtAircraft(waypointDescription->text().toStdString());
        return;
    case Command::ToolButton3:
        return ZoomBy(1);
    case Command::ToolButton5:
        return ZoomBy(-1);
    }
}
