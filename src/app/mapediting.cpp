// The main window's map editing: the pointer readout, adding thermals and waypoints, the
// popup commands, clearing, display units, zoom and the commands that hand the thermals to
// other windows and tools.
#include "dialogs/randomize.h"
#include "dialogs/thermaldata.h"
#include "mainform.h"
#include "map/accursor.h"
#include "profiler/profiler.h"
#include "prompts/prompts.h"
#include "scene/mapview.h"
#include "scenery/command.h"
#include "simlink/simlink.h"
#include "waypointid.h"

#include <algorithm>
#include <climits>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>

namespace {

// The displayed map size for a panel side at a zoom, kept within int.
int Zoomed(int side, int zoom) {
    return static_cast<int>(std::min<long long>(static_cast<long long>(side) * zoom, INT_MAX));
}

template <typename List, typename Item> auto FindByIdentity(List& list, const Item* item) {
    return std::find_if(list.begin(), list.end(),
                        [item](const auto& owned) { return owned.get() == item; });
}

} // namespace

void TMainForm::mainImageMouseMove(int x, int y) {
    statusPanels[3]->setText(QString::fromStdString(LatText(map.YToLat(y), latLonFormat)));
    statusPanels[4]->setText(QString::fromStdString(LonText(map.XToLon(x), latLonFormat)));
    mouseX = x;
    mouseY = y;
}

void TMainForm::mainImageContextPopup(int x, int y, const QPoint& globalPos) {
    popupX = x;
    popupY = y;
    MapPopupMenu->popup(globalPos);
}

void TMainForm::mainImageClick() {
    if (ClickToAddThermal->isChecked())
        AddThermal(map.YToLat(mouseY), map.XToLon(mouseX));
    else
        AddWaypoint(map.YToLat(mouseY), map.XToLon(mouseX));
}

void TMainForm::Thermal2Click() {
    AddThermal(map.YToLat(popupY), map.XToLon(popupX));
}

void TMainForm::AddWaypoint1Click() {
    AddWaypoint(map.YToLat(popupY), map.XToLon(popupX));
}

TThermal& TMainForm::AddThermal(double lat, double lon) {
    auto owned = std::make_unique<TThermal>();
    TThermal& t = *owned;
    t.map = &map;
    ImagePanel->scene()->addItem(&t);
    SetThermalData(t);
    t.SetLat(lat);
    t.SetLon(lon);
    t.setVisible(true);
    BringCursorToFront();
    thermals.push_back(std::move(owned));
    lastThermalLat = link->GetLat();
    lastThermalLon = link->GetLon();
    return t;
}

TWaypoint& TMainForm::AddWaypoint(double lat, double lon) {
    auto owned = std::make_unique<TWaypoint>();
    TWaypoint& w = *owned;
    w.map = &map;
    ImagePanel->scene()->addItem(&w);
    w.SetLat(lat);
    w.SetLon(lon);
    w.SetGroundHeight(0);
    w.SetName(waypointDescription->text());
    w.SetText(waypointDescription->text());
    w.SetID(NextWaypointID(waypoints));
    w.SetAttributes(QStringLiteral("T"));
    w.setVisible(true);
    BringCursorToFront();
    waypoints.push_back(std::move(owned));
    // Unsaved waypoints are protected by the close and load questions.
    dat.modified = true;
    return w;
}

void TMainForm::SetThermalData(TThermal& t) {
    const TThermalData& d = *ThermalData;
    t.SetType(d.GetType());
    t.SetBottom(d.bottomValue);
    t.SetTop(d.topValue);
    t.SetRadius(d.radiusValue);
    t.SetWindDir(d.windDirValue);
    t.SetFactor(d.factorValue);
    t.SetCloud(d.GetCloud());
    t.SetCloudBase(d.cloudBaseValue);
    t.SetCloudRadius(d.cloudRadiusValue);
    t.SetCloudType(d.cloudTypeValue);
    t.SetCuHs(d.cuHSValue);
    t.SetCuVs(d.cuVSValue);
    t.SetCuRotation(d.cuRotationValue);
    t.SetCuCloud(d.cuCloudValue);
    t.SetCuStart(d.cuStartValue);
    t.SetCuEnd(d.cuEndValue);
    t.SetStrengthPercent(d.strengthValue);
    t.SetCorePercent(d.coreSizeValue);
    t.SetCoreBasePercent(d.coreBottomValue);
    t.SetCoreTopPercent(d.coreTopValue);
    project.modified = true;
}

TThermal* TMainForm::popupThermalInList() const {
    const auto it = FindByIdentity(thermals, popupThermal);
    return it == thermals.end() ? nullptr : it->get();
}

TWaypoint* TMainForm::popupWaypointInList() const {
    const auto it = FindByIdentity(waypoints, popupWaypoint);
    return it == waypoints.end() ? nullptr : it->get();
}

void TMainForm::Delete1Click() {
    const auto it = FindByIdentity(thermals, popupThermal);
    if (it == thermals.end())
        return;
    profiler->Forget(it->get());
    popupThermal = nullptr;
    thermals.erase(it);
}

void TMainForm::GetDataClick() {
    const TThermal* t = popupThermalInList();
    if (!t)
        return;
    TThermalData& d = *ThermalData;
    d.SetType(t->type);
    d.SetBottom(t->bottom);
    d.SetTop(t->top);
    d.SetRadius(t->radius);
    d.SetWindDir(t->windDir);
    d.SetFactor(t->factor);
    d.SetCloud(t->cloud);
    d.SetCloudBase(t->cloudBase);
    d.SetCloudRadius(t->cloudRadius);
    d.SetCloudType(t->cloudType);
    d.SetCuHs(t->tCuHS);
    d.SetCuVs(t->tCuVS);
    d.SetCuRotation(t->tCuRotation);
    d.SetCuCloud(t->tCuCloud);
    d.SetCuStart(t->tCuStart);
    d.SetCuEnd(t->tCuEnd);
    d.SetStrength(t->tStrengthPercent);
    d.SetCoreSize(t->tCorePercent);
    d.SetCoreBottom(t->tCoreBasePercent);
    d.SetCoreTop(t->tCoreTopPercent);
}

void TMainForm::SetData1Click() {
    if (TThermal* t = popupThermalInList())
        SetThermalData(*t);
}

void TMainForm::DeleteWaypointClick() {
    const auto it = FindByIdentity(waypoints, popupWaypoint);
    if (it == waypoints.end())
        return;
    popupWaypoint = nullptr;
    waypoints.erase(it);
    dat.modified = true;
}

void TMainForm::ClearAllThermalsClick() {
    if (prompts().ask(QStringLiteral("Clear All Thermals"),
                      QStringLiteral("Clear All Thermals, Continue?")))
        ClearThermals();
}

void TMainForm::ClearAllWaypointsClick() {
    if (!prompts().ask(QStringLiteral("Clear All Waypoints"),
                       QStringLiteral("Clear All Waypoints, Continue?")))
        return;
    if (!waypoints.empty())
        dat.modified = true;
    ClearWaypoints();
}

void TMainForm::SetLatLonFormat(latLonDispType format) {
    QAction* item = format == decDegrees ? DecDegrees : format == decMins ? DecMins : DegMinSec;
    item->setChecked(true);
    latLonFormat = format;
}

void TMainForm::ApplyHeightUnits(heightDispType unit) {
    (unit == meters ? Meters : Feet)->setChecked(true);
    ThermalData->SetHeightUnits(unit);
    for (const auto& t : thermals)
        t->SetHeightUnits(unit);
    for (const auto& w : waypoints)
        w->SetHeightUnits(unit);
}

void TMainForm::Button1Click() {
    if (zoom < INT_MAX)
        ++zoom;
    ImagePanelResize();
}

void TMainForm::Button2Click() {
    if (zoom == 1)
        return;
    --zoom;
    ImagePanelResize();
}

void TMainForm::ImagePanelResize() {
    map.Resize(Zoomed(ImagePanel->width(), zoom), Zoomed(ImagePanel->height(), zoom));
    for (const auto& t : thermals)
        t->resize();
    for (const auto& w : waypoints)
        w->resize();
}

void TMainForm::ThermikClick() {
    GenerateScenery(SceneryKind::thermik, thermikDir, thermals, project.fileName);
}

void TMainForm::CumulusClick() {
    GenerateScenery(SceneryKind::cumulus, cumulusDir, thermals, project.fileName);
}

void TMainForm::Randomize1Click() {
    RandomizeForm->show();
    RandomizeForm->raise();
    RandomizeForm->SetThermals(&thermals);
}

void TMainForm::OpenLogClick() {
    // The log is chosen but not read.
    prompts().openFile({QStringLiteral("Project files (*.log)|*.LOG"), QStringLiteral("log"), {}});
}
