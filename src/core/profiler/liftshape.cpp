#include "profiler/liftshape.h"

#include "model/thermal.h"
#include "profiler/lift.h"
#include "profiler/updraft.h"

#include <algorithm>
#include <cmath>

namespace {

// The paper's radius at the layer's top per metre of layer: 0.102 x 1 x (1 - 0.25).
constexpr double kTopRadiusPerLayer = 0.102 * 0.75;
// Below this height (share of the layer) the mean updraft grows; above it both the mean and
// the bell's peak over it shrink, so the strongest place lies below it.
constexpr double kStrongestMeanHeight = 1 / 4.4;

// The bell's axis value at the strongest height of the layer, by golden-section search: the
// peak rises with the mean updraft and falls as the widening updraft flattens the bell. Thirty
// steps narrow the height to a ten-millionth of the layer, where the peak is flat far beyond.
double StrongestAxisMs(double layerM, double radiusScale) {
    const auto axisAt = [&](double x) {
        return VerticalAir(UpdraftAt(x * layerM, layerM, 1, radiusScale), 0);
    };
    const double ratio = (std::sqrt(5.0) - 1) / 2;
    double low = 0;
    double high = kStrongestMeanHeight;
    double a = high - ratio * (high - low);
    double b = low + ratio * (high - low);
    double atA = axisAt(a);
    double atB = axisAt(b);
    for (int i = 0; i < 30; ++i) {
        if (atA < atB) {
            low = a;
            a = b;
            atA = atB;
            b = low + ratio * (high - low);
            atB = axisAt(b);
        } else {
            high = b;
            b = a;
            atB = atA;
            a = high - ratio * (high - low);
            atA = axisAt(a);
        }
    }
    return std::max({atA, atB, axisAt(kStrongestMeanHeight)});
}

} // namespace

double PeakLift(const ThermalSettings& values, int msStrength) {
    return static_cast<double>(msStrength) * values.tStrengthPercent * 0.01;
}

double GaussianShare(double distanceM, double radiusM) {
    if (!(radiusM > 0))
        return 0;
    const double x2 = (distanceM / radiusM) * (distanceM / radiusM);
    return std::exp(-x2) * (1 - x2);
}

double BellWithSinkShare(double distanceM, double heightM, double layerM, double radiusM) {
    if (!(radiusM > 0))
        return 0;
    const double radiusScale = radiusM / (kTopRadiusPerLayer * layerM);
    const double air = VerticalAir(UpdraftAt(heightM, layerM, 1, radiusScale), distanceM);
    if (air == 0)
        return 0;
    return air / StrongestAxisMs(layerM, radiusScale);
}

double ShapeLift(const Thermal& t, LiftShape shape, int msStrength, double distanceM,
                 double groundM, double altitudeM) {
    if (shape == LiftShape::plateau)
        return PlateauLift(t, msStrength, distanceM, groundM, altitudeM);
    const double peak = PeakLift(t, msStrength);
    if (!(peak > 0))
        return 0;
    if (shape == LiftShape::gaussian)
        return peak * GaussianShare(distanceM, t.radius) * VerticalFactor(t, groundM, altitudeM);
    // The band stands on the ground below the aircraft, as the plateau's does.
    const double baseM = std::trunc(groundM + t.bottom);
    const double layerM = static_cast<double>(t.top) - t.bottom;
    return peak * BellWithSinkShare(distanceM, altitudeM - baseM, layerM, t.radius);
}
