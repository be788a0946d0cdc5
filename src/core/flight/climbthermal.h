#pragma once

#include "flight/climbs.h"
#include "geo/geopoint.h"
#include "model/thermal.h"

// A climb made into a thermal for the simulator to give again.

inline constexpr int kLeastClimbThermalRadiusM = 150;
// The usual rule: a climb of 4 m/s is a thermal of 100 % strength.
inline constexpr double kDefaultFullStrengthMps = 4;

struct ClimbThermal {
    GeoPoint position;
    ThermalSettings settings;
    int groundHeightM = 0;
};

// A thermal of type 4 at the centre of the circles: the circles' radius, at least 150 m;
// bottom and top the entry and exit altitudes above the ground elevation (never below the
// ground); the wind from where the drift comes; the strength in per cent of the simulator's
// lift from the mean climb, fullStrengthMps giving 100 % (none when it is not above 0). The
// other values are taken from `base`.
ClimbThermal ThermalFromClimb(const Climb& climb, int groundElevationM, double fullStrengthMps,
                              ThermalSettings base = {});
