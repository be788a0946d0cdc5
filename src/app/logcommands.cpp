// The main window's Log menu: flight logs opened and shown with their climbs, a new project
// that frames a flight, climbs made thermals, and the simulator flight recorded.
#include "dialogs/climbswindow.h"
#include "dialogs/recordflightdialog.h"
#include "dialogs/thermaldata.h"
#include "flight/flighttrack.h"
#include "flight/igcfile.h"
#include "flightrecorder.h"
#include "geo/graticule.h"
#include "io/filestore.h"
#include "livetracking.h"
#include "mainform.h"
#include "map/graticulepicture.h"
#include "prompts/prompts.h"
#include "scene/flighttrackitem.h"
#include "scene/mapview.h"

#include <algorithm>

#include <QAction>
#include <QFileInfo>
#include <QLabel>

namespace {

constexpr const char* kLogFilter = "Flight logs (*.igc *.IGC)|*.igc|All files (*)|*";
// The longer side of the plain map made for a flight: sharp at a few zoom steps.
constexpr int kFlightPictureSide = 1600;

} // namespace

void TMainForm::OpenLog() {
    const QString folder = recentLogs_.isEmpty() ? QString() : QFileInfo(recentLogs_[0]).path();
    if (const auto file = prompts().openFile({kLogFilter, "igc", folder.toStdString()}))
        LoadLogFile(QString::fromStdString(*file));
}

void TMainForm::LoadLogFile(const QString& path) {
    const auto read = ReadTextFile(path);
    const auto* bytes = std::get_if<QByteArray>(&read);
    if (!bytes) {
        ShowFileMessage("File Error", "The flight log cannot be read.", ShownPath(path),
                        std::get<ReadFailure>(read).reason.toStdString());
        return;
    }
    IgcFlight flight = ReadIgcFile(ByteView(*bytes));
    const std::string problems = IgcReadReport(flight);
    const bool anyValid = std::any_of(flight.fixes.begin(), flight.fixes.end(),
                                      [](const IgcFix& f) { return f.valid; });
    if (!anyValid) {
        ShowFileMessage("File Error", "The flight log holds no fix to show.", ShownPath(path),
                        problems.empty() ? "every fix is marked invalid" : problems);
        return;
    }
    if (!problems.empty())
        ShowFileMessage("File Error", "The flight log is not read whole.", ShownPath(path),
                        problems);

    CloseLog();
    OfferFlightProject(flight, path);
    track_ = new FlightTrackItem(FlightTrail(flight), document_.map());
    ImagePanel->scene()->addItem(track_);
    flightSummary_ = SummarizeFlight(flight);
    showFlightLine();
    flightLine_->setToolTip(path);
    flightLine_->show();
    Climbs->SetClimbs(FindClimbs(flight), FlightGroundM(flight), QFileInfo(path).fileName());
    for (Command c : {Command::CloseLog, Command::ShowClimbs})
        action(c)->setEnabled(true);
    NoteRecent(path, recentLogs_);
}

void TMainForm::OfferFlightProject(const IgcFlight& flight, const QString& path) {
    // A map may stand any way round: its edges as an area.
    const GeoBounds& e = document_.map().frame().edges;
    const GeoBounds edges{std::max(e.north, e.south), std::min(e.north, e.south),
                          std::min(e.west, e.east), std::max(e.west, e.east)};
    const bool onMap = document_.map().loaded() &&
                       std::all_of(flight.fixes.begin(), flight.fixes.end(), [&](const IgcFix& f) {
                           return !f.valid || edges.Contains(f.Position());
                       });
    if (onMap)
        return;
    const std::string name = QFileInfo(path).fileName().toStdString();
    const std::string why = document_.map().loaded()
                                ? "The flight in " + name + " reaches beyond the map."
                                : "No project is open to show " + name + " on.";
    if (!prompts().ask("New Project", why + " Make a new project on a plain map that frames "
                                            "the whole flight?") ||
        !MayDiscardProject() || !MayDiscardWaypoints())
        return;
    const GeoBounds frame = FlightFrame(flight);
    zoom = 1;
    ImagePanelResize();
    document_.NewProjectOnPicture(
        GraticulePicture(frame, PictureSizeFor(frame, kFlightPictureSide)), frame,
        QFileInfo(path).absolutePath());
    EnableProjectCommands();
    showCaption(false);
}

void TMainForm::CloseLog() {
    delete track_;
    track_ = nullptr;
    flightLine_->clear();
    flightLine_->hide();
    Climbs->SetClimbs({}, 0, {});
    for (Command c : {Command::CloseLog, Command::ShowClimbs})
        action(c)->setEnabled(false);
}

void TMainForm::showFlightLine() {
    if (track_)
        flightLine_->setText(QString::fromStdString(FlightLineText(flightSummary_, units_.height)));
}

QString TMainForm::flightLineText() const {
    return flightLine_->text();
}

void TMainForm::ShowChosenClimbs(const std::vector<Climb>& climbs) {
    if (!track_)
        return;
    track_->ShowClimbs(climbs);
    if (!climbs.empty())
        ImagePanel->centerOn(document_.map().PixelOf(climbs.front().centre));
}

void TMainForm::AddClimbsAsThermals() {
    if (!document_.map().loaded()) {
        prompts().message("Add as Thermals",
                          "No project is open to add the thermals to: open one, or open the "
                          "log again and make a new project for it.");
        return;
    }
    if (ThermalData->CheckValues(ValueUse::thermal))
        document_.AddThermals(Climbs->ChosenThermals(ThermalData->values()));
}

void TMainForm::RecordFlight(bool on) {
    if (!on)
        return recorder_->Stop();
    // Checked only once the recording runs.
    action(Command::RecordFlight)->setChecked(false);
    const auto names = AskRecordingNames(recordingNames_, this);
    if (!names)
        return;
    recordingNames_ = *names;
    rememberChoices();
    const QString folder =
        recentLogs_.isEmpty() ? document_.projectFolder() : QFileInfo(recentLogs_[0]).path();
    const auto file = prompts().saveFile({kLogFilter, "igc", folder.toStdString()});
    if (file && recorder_->Start(QString::fromStdString(*file), recordingNames_))
        action(Command::RecordFlight)->setChecked(true);
}
