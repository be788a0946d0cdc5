#include "distance.h"

#include <algorithm>
#include <cmath>

double DistanceKm(GeoPoint a, GeoPoint b) {
    // The rounding of the formula below leaves up to a decimetre between equal positions.
    if (a == b)
        return 0;
    constexpr double radiansPerDegree = 0.017453292519943295;
    constexpr double degreesPerRadian = 57.29577951308232;
    constexpr double kilometresPerDegree = 111.195;
    const double lat1 = a.lat * radiansPerDegree;
    const double lon1 = a.lon * radiansPerDegree;
    const double lat2 = b.lat * radiansPerDegree;
    const double lon2 = b.lon * radiansPerDegree;
    const double c =
        std::sin(lat1) * std::sin(lat2) + std::cos(lat1) * std::cos(lat2) * std::cos(lon1 - lon2);
    // Rounding lifts c just above 1 for equal positions; the arccosine would give NaN.
    return std::acos(std::clamp(c, -1.0, 1.0)) * kilometresPerDegree * degreesPerRadian;
}
