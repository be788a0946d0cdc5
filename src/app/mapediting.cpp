// The main window's map editing: the pointer readout, adding thermals and waypoints,
// "Get Data", display units, zoom, the display tick's readout and the scenery tools.
#include "dialogs/thermaldata.h"
#include "geo/numbertext.h"
#include "io/scenerytool.h"
#include "livetracking.h"
#include "mainform.h"
#include "scene/accursor.h"
#include "scene/mapview.h"

#include <algorithm>
#include <climits>

#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>

namespace {

// The displayed map size for a panel side at a zoom, kept within int.
int Zoomed(int side, int zoom) {
    return static_cast<int>(std::min<long long>(static_cast<long long>(side) * zoom, INT_MAX));
}

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

void TMainForm::mainImageMouseMove(int x, int y) {
    const Map& map = document_.map();
    statusPanels[3]->setText(Text(LatText(map.YToLat(y), latLonFormat)));
    statusPanels[4]->setText(Text(LonText(map.XToLon(x), latLonFormat)));
    mouseX = x;
    mouseY = y;
}

void TMainForm::mainImageClick() {
    const Map& map = document_.map();
    if (action(Command::ClickToAddThermal)->isChecked())
        live_->AddThermal(map.YToLat(mouseY), map.XToLon(mouseX));
    else
        AddWaypoint(map.YToLat(mouseY), map.XToLon(mouseX));
}

void TMainForm::AddWaypoint(double lat, double lon) {
    document_.AddWaypoint(lat, lon, waypointDescription->text().toStdString());
}

void TMainForm::GetData() {
    for (const auto& t : document_.thermals()) {
        if (t.get() == popupThermal)
            ThermalData->ShowValues(*t);
    }
}

void TMainForm::showAircraft(double lat, double lon, double groundM, const LinkStatus& status) {
    const std::string elevation = action(Command::Meters)->isChecked()
                                      ? IntText(TruncateToInt(groundM)) + "m"
                                      : IntText(MetresToFeetTruncated(groundM)) + "ft";
    statusPanels[2]->setText(Text(elevation));
    statusPanels[0]->setText(Text(LatText(lat, latLonFormat)));
    statusPanels[1]->setText(Text(LonText(lon, latLonFormat)));
    // Values that are not live are shown greyed, never as if they were.
    for (std::size_t i = 0; i < 3; ++i)
        statusPanels[i]->setEnabled(status.live);
    statusPanels[5]->setText(Text(status.text));
    // Scene coordinates are map-image pixels; the view subtracts its scroll positions.
    const Map& map = document_.map();
    acCursor->setPos(map.LonToX(lon) - acCursor->width() / 2,
                     map.LatToY(lat) - acCursor->height() / 2);
}

void TMainForm::SetLatLonFormat(latLonDispType format) {
    const Command item = format == decDegrees ? Command::DecDegrees
                         : format == decMins  ? Command::DecMins
                                              : Command::DegMinSec;
    action(item)->setChecked(true);
    latLonFormat = format;
}

void TMainForm::ApplyHeightUnits(heightDispType unit) {
    ThermalData->SetHeightUnits(unit);
    document_.SetHeightUnits(unit);
}

void TMainForm::ZoomBy(int step) {
    if (step < 0 && zoom == 1)
        return;
    if (step > 0 && zoom == INT_MAX)
        return ImagePanelResize();
    zoom += step;
    ImagePanelResize();
}

void TMainForm::ImagePanelResize() {
    document_.map().Resize(Zoomed(ImagePanel->width(), zoom), Zoomed(ImagePanel->height(), zoom));
}

void TMainForm::RunScenery(SceneryKind kind) {
    sceneryRun_ =
        SceneryRun::Prepare(kind, toolDir, document_.thermals(), document_.projectFileName());
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
