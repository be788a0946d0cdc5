// The main window's map editing: the pointer readout, adding thermals and waypoints,
// "Get Data", display units, zoom, the display tick's readout and the scenery tools.
#include "dialogs/thermaldata.h"
#include "geo/numbertext.h"
#include "io/scenerytool.h"
#include "livetracking.h"
#include "mainform.h"
#include "prompts/prompts.h"
#include "scene/accursor.h"
#include "scene/layers.h"
#include "scene/mapview.h"
#include "scene/trailitem.h"

#include <algorithm>
#include <climits>

#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>

namespace {

// The displayed map size for a panel side at a zoom, truncated.
int Zoomed(int side, double zoom) {
    return static_cast<int>(side * zoom);
}

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

void TMainForm::mainImageMouseMove(int x, int y) {
    const GeoPoint pointer = document_.map().PositionAt({x, y});
    statusPanels[3]->setText(Text(LatText(pointer.lat, units_.position)));
    statusPanels[4]->setText(Text(LonText(pointer.lon, units_.position)));
    mouseX = x;
    mouseY = y;
}

void TMainForm::mainImageClick() {
    const GeoPoint clicked = document_.map().PositionAt({mouseX, mouseY});
    if (action(Command::ClickToAddThermal)->isChecked()) {
        if (ThermalData->CheckValues(ValueUse::thermal))
            live_->AddThermal(clicked);
    } else
        AddWaypoint(clicked);
}

void TMainForm::AddWaypoint(GeoPoint at) {
    document_.AddWaypoint(at, waypointDescription->text().toStdString());
}

void TMainForm::RenameWaypoint(const Waypoint* const& waypoint) {
    const auto& list = document_.waypoints();
    const auto it = std::find_if(list.begin(), list.end(),
                                 [waypoint](const auto& w) { return w.get() == waypoint; });
    if (it == list.end())
        return;
    const auto name = prompts().askText("Rename Waypoint", "Name:", (*it)->tName);
    // The box runs a loop of its own: the waypoint may have gone meanwhile, which the
    // document finds out.
    if (name)
        document_.RenameWaypoint(waypoint, *name);
}

void TMainForm::GetData() {
    for (const auto& t : document_.thermals()) {
        if (t.get() == popupThermal)
            ThermalData->ShowValues(*t);
    }
}

void TMainForm::showAircraft(const FlightData& data) {
    const auto height = [this](double m) {
        return HeightText(m, units_.height);
    };
    statusPanels[2]->setText(Text(height(data.groundM)));
    // Before the first position the panels show 0, 0, greyed like every value that is not
    // live.
    const GeoPoint aircraft = data.position.value_or(GeoPoint{});
    statusPanels[0]->setText(Text(LatText(aircraft.lat, units_.position)));
    statusPanels[1]->setText(Text(LonText(aircraft.lon, units_.position)));
    for (std::size_t i : {0u, 1u})
        statusPanels[i]->setToolTip(statusPanels[i]->text());
    // Values that are not live are shown greyed, never as if they were.
    for (std::size_t i = 0; i < 3; ++i)
        statusPanels[i]->setEnabled(data.status.live);
    statusPanels[5]->setText(Text(data.status.text));

    flightData_[0]->setText(tr("Alt %1").arg(Text(height(data.altitudeM))));
    flightData_[1]->setText(tr("AGL %1").arg(Text(height(data.altitudeM - data.groundM))));
    flightData_[2]->setText(tr("Vario %1 m/s").arg(data.climbMps, 0, 'f', 1));
    flightData_[3]->setText(
        tr("Hdg %1\u00B0")
            .arg(std::lround(data.headingDeg < 0 ? data.headingDeg + 360 : data.headingDeg)));
    flightData_[4]->setText(data.thermalNumber == 0
                                ? tr("No thermal")
                                : tr("Thermal %1, lift %2").arg(data.thermalNumber).arg(data.lift));
    for (QLabel* label : flightData_)
        label->setEnabled(data.status.live);

    // Scene coordinates are map-image pixels; the view subtracts its scroll positions.
    acCursor->setPos(document_.map().PixelOf(aircraft) -
                     QPoint(acCursor->width() / 2, acCursor->height() / 2));
    acCursor->SetHeading(data.headingDeg);
    trail_->Refresh();
    const LiftModel lift = ThermalData->liftModel();
    thermalAreas_->SetFlownHeight(
        data.status.live && lift.windMs > 0
            ? std::optional(FlownHeight{lift, data.msStrength, data.groundM, data.altitudeM})
            : std::nullopt);
    // Following, the map scrolls once the aircraft comes within a fifth of its edges.
    if (action(Command::FollowAircraft)->isChecked() && data.status.live)
        ImagePanel->ensureVisible(acCursor, ImagePanel->viewport()->width() / 5,
                                  ImagePanel->viewport()->height() / 5);
}

void TMainForm::SetLatLonFormat(latLonDispType format) {
    const Command item = format == decDegrees ? Command::DecDegrees
                         : format == decMins  ? Command::DecMins
                                              : Command::DegMinSec;
    action(item)->setChecked(true);
    units_.position = format;
}

void TMainForm::ApplyHeightUnits(heightDispType unit) {
    units_.height = unit;
    action(unit == feet ? Command::Feet : Command::Meters)->setChecked(true);
    ThermalData->ShowHeights();
    showFlightLine();
}

namespace {

constexpr double kLargestZoom = 64;

} // namespace

void TMainForm::ZoomBy(int step) {
    if (step < 0 && zoom <= 1)
        return;
    zoom = std::clamp(zoom + step, 1.0, kLargestZoom);
    ImagePanelResize();
}

void TMainForm::ZoomAbout(double factor, QPoint viewportPos) {
    // The map's point under the position, as a share of the displayed map.
    const Map& map = document_.map();
    const QPointF before = ImagePanel->mapToScene(viewportPos);
    const double shareX = map.displayWidth() > 0 ? before.x() / map.displayWidth() : 0;
    const double shareY = map.displayHeight() > 0 ? before.y() / map.displayHeight() : 0;
    zoom = std::clamp(factor, 1.0, kLargestZoom);
    ImagePanelResize();
    ImagePanel->horizontalScrollBar()->setValue(
        static_cast<int>(std::lround(shareX * map.displayWidth() - viewportPos.x())));
    ImagePanel->verticalScrollBar()->setValue(
        static_cast<int>(std::lround(shareY * map.displayHeight() - viewportPos.y())));
}

void TMainForm::FitMap() {
    zoom = 1;
    ImagePanelResize();
}

void TMainForm::ImagePanelResize() {
    document_.map().Resize(Zoomed(ImagePanel->width(), zoom), Zoomed(ImagePanel->height(), zoom));
}

void TMainForm::RunScenery(SceneryKind kind) {
    // The scenery files go beside the project file, so a new project needs one first.
    if (document_.projectFileName().isEmpty()) {
        if (!prompts().ask("Save Project", "The scenery files are written beside the project "
                                           "file. Save the project first?"))
            return;
        document_.SaveProjectAs(ThermalData->GetSaveCuData());
        if (document_.projectFileName().isEmpty())
            return;
        NoteSaved(true);
    }
    sceneryRun_ = SceneryRun::Prepare(kind, toolDir, document_.thermals(), document_.projectPath());
    if (!sceneryRun_)
        return;
    // The tool runs while the window goes on; the commands wait for it to end.
    for (Command c : {Command::Thermik, Command::Cumulus})
        action(c)->setEnabled(false);
    QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    connect(sceneryRun_.get(), &SceneryRun::finished, this, [this] {
        QGuiApplication::restoreOverrideCursor();
        for (Command c : {Command::Thermik, Command::Cumulus})
            action(c)->setEnabled(true);
        sceneryRun_.release()->deleteLater();
    });
    sceneryRun_->Start();
}
