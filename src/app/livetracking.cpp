// The main window's live work: the three timers and the commands at the aircraft's position.
#include "dialogs/thermaldata.h"
#include "geo/distance.h"
#include "geo/numbertext.h"
#include "mainform.h"
#include "map/accursor.h"
#include "profiler/profiler.h"
#include "simlink/simlink.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include <QAction>
#include <QLabel>

namespace {

// Truncation toward zero that stays within int whatever the simulator sends.
int Truncated(double value) {
    if (std::isnan(value))
        return 0;
    constexpr double low = std::numeric_limits<int>::min();
    constexpr double high = std::numeric_limits<int>::max();
    return static_cast<int>(std::trunc(std::clamp(value, low, high)));
}

} // namespace

void TMainForm::ReadDataTimerTimer() {
    link->ReadCycle();
}

void TMainForm::DisplayUpdateTimerTimer() {
    const double ground = link->GetGroundAlt();
    const std::string elevation = Meters->isChecked()
                                      ? IntText(Truncated(ground)) + "m"
                                      : IntText(Truncated(ground * kFeetPerMetre)) + "ft";
    statusPanels[2]->setText(QString::fromStdString(elevation));

    const double lat = link->GetLat();
    const double lon = link->GetLon();
    statusPanels[0]->setText(QString::fromStdString(LatText(lat, latLonFormat)));
    statusPanels[1]->setText(QString::fromStdString(LonText(lon, latLonFormat)));

    // Scene coordinates are map-image pixels; the view subtracts its scroll positions.
    acCursor->setPos(map.LonToX(lon) - acCursor->width() / 2,
                     map.LatToY(lat) - acCursor->height() / 2);

    if (ThermalData->GetAutoThermals()) {
        const double metres = Distance(lastThermalLat, lastThermalLon, lat, lon) * 1000;
        if (ThermalData->autoThermalDistValue < metres)
            ThermalAtAircraft();
    }
}

void TMainForm::ProfilerTimer() {
    if (!ThermalData->GetProfileOnOff())
        return;
    if (link->ThermalBlockPresent())
        profiler->Tick(ThermalData->GetRoll(), ThermalData->rollRateValue,
                       ThermalData->sampleSizeValue);
    else
        profiler->Stop();
}

TThermal& TMainForm::ThermalAtAircraft() {
    link->ReadCycle();
    TThermal& t = AddThermal(link->GetLat(), link->GetLon());
    // The remainder keeps the dividend's sign: a heading of -170 gives wind from -80.
    if (ThermalData->GetWindRight())
        t.SetWindDir(Truncated(link->GetHeading() + 90) % 360);
    if (ThermalData->GetWindLeft())
        t.SetWindDir(Truncated(link->GetHeading() + 270) % 360);
    const double ground = link->GetGroundAlt();
    if (ThermalData->GetTopsMSL()) {
        t.SetTop(Truncated(t.top - ground));
        t.SetCloudBase(Truncated(t.cloudBase - ground));
    }
    t.SetGroundHeight(Truncated(ground));
    return t;
}

TWaypoint& TMainForm::WaypointAtAircraft() {
    link->ReadCycle();
    TWaypoint& w = AddWaypoint(link->GetLat(), link->GetLon());
    w.SetGroundHeight(Truncated(link->GetGroundAlt()));
    return w;
}

void TMainForm::MoveACHere1Click() {
    link->MoveAircraft(map.YToLat(popupY), map.XToLon(popupX));
}
