#include "distance.h"

#include <algorithm>
#include <cmath>

double Distance(double lat1, double lon1, double lat2, double lon2) {
    if (lat1 + lon1 == 0 || lat2 + lon2 == 0)
        return 1000;
    // The rounding of the formula below leaves up to a decimetre between equal positions.
    if (lat1 == lat2 && lon1 == lon2)
        return 0;
    constexpr double radiansPerDegree = 0.017453292519943295;
    constexpr double degreesPerRadian = 57.29577951308232;
    constexpr double kilometresPerDegree = 111.195;
    lat1 *= radiansPerDegree;
    lon1 *= radiansPerDegree;
    lat2 *= radiansPerDegree;
    lon2 *= radiansPerDegree;
    const double c =
        std::sin(lat1) * std::sin(lat2) + std::cos(lat1) * std::cos(lat2) * std::cos(lon1 - lon2);
    // Rounding lifts c just above 1 for equal positions; the arccosine would give NaN.
    return std::acos(std::clamp(c, -1.0, 1.0)) * kilometresPerDegree * degreesPerRadian;
}
