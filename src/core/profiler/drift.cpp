#include "profiler/drift.h"

#include <cmath>

double DriftM(double heightM, double windMs, double updraftMs) {
    if (!(heightM > 0) || !(windMs > 0) || !(updraftMs > 0))
        return 0;
    return windMs * heightM / updraftMs;
}

GeoOffset DriftAt(double heightM, int windFromDeg, double windMs, double updraftMs) {
    const double driftM = DriftM(heightM, windMs, updraftMs);
    if (driftM == 0)
        return {};
    constexpr double radiansPerDegree = 0.017453292519943295;
    const double from = windFromDeg * radiansPerDegree;
    // Downwind is away from where the wind comes from.
    return {-driftM * std::sin(from), -driftM * std::cos(from)};
}
