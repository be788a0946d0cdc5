#include "profiler/lift.h"

#include "geo/distance.h"
#include "scene/thermal.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kDegreesPerRadian = 57.29577951308232;
constexpr double kRadiansPerDegree = 0.017453292519943295;
} // namespace

float RadialFactor(const TThermal& t, double distance) {
    const double radius = t.radius;
    if (!(distance < radius))
        return 0.0f;
    const float core = static_cast<float>(t.tCorePercent * 0.01 * radius);
    if (distance <= core)
        return 1.0f;
    return static_cast<float>((radius - distance) / (radius - core));
}

float VerticalFactor(const TThermal& t, double groundAlt, double altitude) {
    // Heights stay in doubles holding whole numbers, so no stored value, however large,
    // overflows an int on the way.
    const double span = static_cast<double>(t.top) - t.bottom;
    const double bottomLevel = std::trunc(groundAlt + t.bottom);
    const double topLevel = bottomLevel + span;
    const double lowerFade = std::trunc(t.tCoreBasePercent * 0.01 * span);
    const double coreBottom = bottomLevel + lowerFade;
    const double upperFade = std::trunc(span - t.tCoreTopPercent * 0.01 * span);
    const double coreTop = topLevel - upperFade;

    // The fades are divisors only where they are positive: a fade of 0 puts its core edge
    // on the band's edge, which the band test has already passed.
    if (altitude < bottomLevel || altitude > topLevel)
        return 0.0f;
    if (coreBottom > altitude)
        return static_cast<float>((altitude - bottomLevel) / lowerFade);
    if (coreTop < altitude)
        return static_cast<float>((topLevel - altitude) / upperFade);
    return 1.0f;
}

int ComputeLift(const TThermal& t, int msStrength, double distance, double groundAlt,
                double altitude) {
    const float r = RadialFactor(t, distance);
    const float v = VerticalFactor(t, groundAlt, altitude);
    const double lift = v * (static_cast<double>(msStrength) * t.tStrengthPercent * 0.01 * r);
    // The simulator keeps only the low byte: above 255 a strong thermal would come out weak.
    if (!(lift > 0))
        return 0;
    return lift >= 255 ? 255 : static_cast<int>(lift);
}

double ComputeRoll(const TThermal& t, double acLat, double acLon, double heading, double distance,
                   int msStrength, int rollRate) {
    // At the centre there is no bearing to turn across.
    if (distance == 0)
        return 0;
    const double dx = acLon == t.lon ? 0 : Distance(t.lat, acLon, t.lat, t.lon);
    // Rounding, or a far-off dx, can put the ratio above 1, where the arcsine has no value.
    const double a =
        std::asin(std::min(std::abs(dx) / std::abs(distance), 1.0)) * kDegreesPerRadian;
    double bearing;
    if (acLat > t.lat)
        bearing = acLon > t.lon ? 180 + a : 180 - a;
    else
        bearing = acLon > t.lon ? 360 - a : a;
    const double s = std::sin(std::abs(heading - bearing) * kRadiansPerDegree);
    const double roll = s * (msStrength * 0.05) * (t.tStrengthPercent * 0.01);
    return rollRate * roll * 0.01;
}
