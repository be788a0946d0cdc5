#pragma once

#include "model/thermal.h"

#include <string>

// The scenery assembler's source text for the thermals, line feeds as in memory: the
// header with a 0.2-degree margin around the bounds, one cloud macro per thermal with a
// cloud, an empty line, one lift macro per thermal.
std::string ThermikSource(const ThermalList& thermals, double minLat, double minLon, double maxLat,
                          double maxLon);
