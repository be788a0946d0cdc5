#pragma once

#include "geo/geopoint.h"
#include "geo/mapframe.h"

#include <string>
#include <vector>

// The lines of latitude and longitude drawn over a picture made for a flight, at a round
// step in minutes of arc, each labelled as pilots read a map.

struct GraticuleLine {
    double deg;
    std::string label; // "53°42'N", "20°07.5'E"
};

// The lines within from to to (either order) at the roundest step of 0.5, 1, 2, 5, 10, 15,
// 30 minutes or 1, 2, 5, 10, 20, 30 degrees that still draws at least `least` of them (or
// the finest step when none does), in ascending order.
std::vector<GraticuleLine> GraticuleLines(double fromDeg, double toDeg, bool latitude,
                                          int least = 4);

// The size of a picture of the area whose longer side is longestSide pixels and whose
// pixels span as many metres across as down (it is linear in degrees, so east-west degrees
// are shorter by the cosine of the middle latitude).
PixelSize PictureSizeFor(const GeoBounds& area, int longestSide);
