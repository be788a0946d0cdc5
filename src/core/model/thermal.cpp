#include "model/thermal.h"

#include "geo/coordtext.h"
#include "geo/numbertext.h"

using Change = ValueObserver::Change;

void Thermal::SetLat(double v) {
    if (v == lat)
        return;
    lat = v;
    observer_.Notify(Change::place);
}

void Thermal::SetLon(double v) {
    if (v == lon)
        return;
    lon = v;
    observer_.Notify(Change::place);
}

void Thermal::SetPosition(GeoPoint p) {
    if (p == Position())
        return;
    lat = p.lat;
    lon = p.lon;
    observer_.Notify(Change::place);
}

int WrappedType(int v) {
    // Widened so that the lowest int does not overflow on its way to the remainder.
    return static_cast<int>((static_cast<long long>(v) - 1) % 4 + 1);
}

void Thermal::SetType(int v) {
    if (v == type)
        return;
    type = WrappedType(v);
    observer_.Notify(Change::look);
}

void Thermal::SetWindDir(int v) {
    if (v == windDir)
        return;
    windDir = v % 360;
    observer_.Notify(Change::look);
}

void Thermal::SetCloud(bool v) {
    if (v == cloud)
        return;
    cloud = v;
    observer_.Notify(Change::look);
}

void Thermal::SetActive(bool v) {
    active = v;
    observer_.Notify(Change::look);
}

void Thermal::SetBottom(int v) {
    bottom = v;
}
void Thermal::SetTop(int v) {
    top = v;
}
void Thermal::SetRadius(int v) {
    radius = v;
}
void Thermal::SetFactor(int v) {
    factor = v;
}
void Thermal::SetCloudBase(int v) {
    cloudBase = v;
}
void Thermal::SetCloudRadius(int v) {
    cloudRadius = v;
}
void Thermal::SetCloudType(int v) {
    cloudType = v;
}
void Thermal::SetSpare(int v) {
    spare = v;
}
void Thermal::SetCuHs(float v) {
    tCuHS = v;
}
void Thermal::SetCuVs(float v) {
    tCuVS = v;
}
void Thermal::SetCuRotation(int v) {
    tCuRotation = v;
}
void Thermal::SetCuCloud(float v) {
    tCuCloud = v;
}
void Thermal::SetCuStart(int v) {
    tCuStart = v;
}
void Thermal::SetCuEnd(int v) {
    tCuEnd = v;
}
void Thermal::SetGroundHeight(int v) {
    tGroundHeight = v;
}
void Thermal::SetStrengthPercent(int v) {
    tStrengthPercent = v;
}
void Thermal::SetCorePercent(int v) {
    tCorePercent = v;
}
void Thermal::SetCoreBasePercent(int v) {
    tCoreBasePercent = v;
}
void Thermal::SetCoreTopPercent(int v) {
    tCoreTopPercent = v;
}

void Thermal::SetData(const ThermalSettings& v) {
    SetType(v.type);
    SetBottom(v.bottom);
    SetTop(v.top);
    SetRadius(v.radius);
    SetWindDir(v.windDir);
    SetFactor(v.factor);
    SetCloud(v.cloud);
    SetCloudBase(v.cloudBase);
    SetCloudRadius(v.cloudRadius);
    SetCloudType(v.cloudType);
    SetCumulus(v);
    SetProfile(v);
}

void Thermal::SetCumulus(const ThermalSettings& v) {
    SetCuHs(v.tCuHS);
    SetCuVs(v.tCuVS);
    SetCuRotation(v.tCuRotation);
    SetCuCloud(v.tCuCloud);
    SetCuStart(v.tCuStart);
    SetCuEnd(v.tCuEnd);
}

void Thermal::SetProfile(const ThermalSettings& v) {
    SetStrengthPercent(v.tStrengthPercent);
    SetCorePercent(v.tCorePercent);
    SetCoreBasePercent(v.tCoreBasePercent);
    SetCoreTopPercent(v.tCoreTopPercent);
}

void Thermal::SetValues(const Thermal& other) {
    SetData(other);
    SetPosition(other.Position());
    SetSpare(other.spare);
    SetGroundHeight(other.tGroundHeight);
}

std::string Thermal::Hint(heightDispType unit) const {
    const auto height = [unit](int metres) {
        return HeightText(metres, unit);
    };
    std::string text;
    const auto line = [&text](const char* label, const std::string& value) {
        if (!text.empty())
            text += '\n';
        text += label;
        text += ' ';
        text += value;
    };
    line("Latitude", LatText(lat, decDegrees));
    line("Longitude", LonText(lon, decDegrees));
    line("ThermalType", IntText(type));
    line("Bottom", height(bottom));
    line("Top", height(top));
    line("Radius", IntText(radius) + "m");
    line("Wind Dir", IntText(windDir) + "deg");
    line("Factor", IntText(factor));
    line("Strength Percent", IntText(tStrengthPercent));
    line("Core Size Percent", IntText(tCorePercent));
    line("Core Top Percent", IntText(tCoreTopPercent));
    line("Core Bottom Percent", IntText(tCoreBasePercent));
    if (cloud) {
        line("Cloudbase", height(cloudBase));
        line("CloudRadius", IntText(cloudRadius) + "m");
        line("CloudType", IntText(cloudType));
    } else {
        text += "\nNo Cloud";
    }
    line("Cumulus Horizontal Scale", NumberText(tCuHS));
    line("Cumulus Vertical Scale", NumberText(tCuVS));
    line("Cumulus Rotation Scale", IntText(tCuRotation));
    line("Cumulus Cloud", NumberText(tCuCloud));
    line("Cumulus Start", IntText(tCuStart));
    line("Cumulus End", IntText(tCuEnd));
    line("Terrain Height", IntText(tGroundHeight));
    return text;
}

namespace {

template <typename Set> ThermalValues ToAll(const ThermalList& thermals, Set set) {
    ThermalValues changed;
    changed.reserve(thermals.size());
    for (std::size_t i = 0; i < thermals.size(); ++i) {
        changed.emplace_back(i, *thermals[i]);
        set(changed.back().second);
    }
    return changed;
}

} // namespace

ThermalValues CumulusToAll(const ThermalList& thermals, const ThermalSettings& values) {
    return ToAll(thermals, [&values](Thermal& t) { t.SetCumulus(values); });
}

ThermalValues ProfileToAll(const ThermalList& thermals, const ThermalSettings& values) {
    return ToAll(thermals, [&values](Thermal& t) { t.SetProfile(values); });
}
