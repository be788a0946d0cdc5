#include "climbthermal.h"

#include <algorithm>
#include <cmath>

ClimbThermal ThermalFromClimb(const Climb& climb, int groundElevationM, double fullStrengthMps,
                              ThermalSettings base) {
    ClimbThermal thermal{climb.centre, base, groundElevationM};
    ThermalSettings& s = thermal.settings;
    s.type = 4;
    s.radius = std::max(kLeastClimbThermalRadiusM, static_cast<int>(std::lround(climb.radiusM)));
    s.bottom = std::max(0, climb.entryAltitudeM - groundElevationM);
    s.top = std::max(s.bottom, climb.exitAltitudeM - groundElevationM);
    s.windDir = static_cast<int>(std::lround(climb.WindFromDeg())) % 360;
    // Ten times the simulator's lift is beyond any thermal: a rule of a tiny climb rate
    // cannot make more.
    const double percent = fullStrengthMps > 0 ? 100 * climb.meanClimbMps / fullStrengthMps : 0;
    s.tStrengthPercent = static_cast<int>(std::lround(std::clamp(percent, 0.0, 1000.0)));
    return thermal;
}
