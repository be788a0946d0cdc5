#pragma once

#include "model/thermal.h"

#include <string>

// A project's file name without its extension, the part from the last "." on
// ("alps.prj" gives "alps", "alps" stays "alps", a never-saved project's "" stays "").
std::string BaseName(const std::string& fileName);

// The smallest and largest latitude and longitude over all thermals.
struct ThermalBox {
    double minLat = 0;
    double minLon = 0;
    double maxLat = 0;
    double maxLon = 0;
};
// All four 0 for an empty list.
ThermalBox ThermalBounds(const ThermalList& thermals);
