#include "bounds.h"

#include <algorithm>

std::string BaseName(const std::string& fileName) {
    const auto dot = fileName.rfind('.');
    return dot == std::string::npos ? fileName : fileName.substr(0, dot);
}

ThermalBox ThermalBounds(const ThermalList& thermals) {
    if (thermals.empty())
        return {};
    const Thermal& first = *thermals.front();
    ThermalBox box{first.lat, first.lon, first.lat, first.lon};
    for (const auto& t : thermals) {
        box.minLat = std::min(box.minLat, t->lat);
        box.minLon = std::min(box.minLon, t->lon);
        box.maxLat = std::max(box.maxLat, t->lat);
        box.maxLon = std::max(box.maxLon, t->lon);
    }
    return box;
}
