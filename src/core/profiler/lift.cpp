#include "profiler/lift.h"

#include "geo/distance.h"
#include "model/thermal.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kDegreesPerRadian = 57.29577951308232;
constexpr double kRadiansPerDegree = 0.017453292519943295;

// percent x span / 100 truncated toward zero, in integers: in doubles 70 % of 1000 m comes
// out as 299.99999999999994 and truncates to 299. Whole hundreds and the rest are taken
// apart so that no product leaves 64 bits; both parts carry the same sign.
long long PercentOf(long long percent, long long span) {
    return percent / 100 * span + percent % 100 * span / 100;
}

} // namespace

float RadialFactor(const Thermal& t, double distanceM) {
    const double radiusM = t.radius;
    if (!(distanceM < radiusM))
        return 0.0f;
    const float coreM = static_cast<float>(t.tCorePercent * 0.01 * radiusM);
    if (distanceM <= coreM)
        return 1.0f;
    return static_cast<float>((radiusM - distanceM) / (radiusM - coreM));
}

float VerticalFactor(const Thermal& t, double groundM, double altitudeM) {
    // Levels stay in doubles holding whole numbers, so no stored value, however large,
    // overflows an int on the way.
    const long long span = static_cast<long long>(t.top) - t.bottom;
    const double bottomLevel = std::trunc(groundM + t.bottom);
    const double topLevel = bottomLevel + static_cast<double>(span);
    const auto lowerFade = static_cast<double>(PercentOf(t.tCoreBasePercent, span));
    const double coreBottom = bottomLevel + lowerFade;
    const auto upperFade = static_cast<double>(PercentOf(100LL - t.tCoreTopPercent, span));
    const double coreTop = topLevel - upperFade;

    // The fades are divisors only where they are positive: a fade of 0 puts its core edge
    // on the band's edge, which the band test has already passed.
    if (altitudeM < bottomLevel || altitudeM > topLevel)
        return 0.0f;
    if (coreBottom > altitudeM)
        return static_cast<float>((altitudeM - bottomLevel) / lowerFade);
    if (coreTop < altitudeM)
        return static_cast<float>((topLevel - altitudeM) / upperFade);
    return 1.0f;
}

double PlateauLift(const Thermal& t, int msStrength, double distanceM, double groundM,
                   double altitudeM) {
    const float r = RadialFactor(t, distanceM);
    const float v = VerticalFactor(t, groundM, altitudeM);
    return v * (static_cast<double>(msStrength) * t.tStrengthPercent * 0.01 * r);
}

int StrengthByte(double lift) {
    // The simulator keeps only the low byte: above 255 a strong thermal would come out weak.
    if (!(lift > 0))
        return 0;
    return lift >= 255 ? 255 : static_cast<int>(lift);
}

int ComputeLift(const Thermal& t, int msStrength, double distanceM, double groundM,
                double altitudeM) {
    return StrengthByte(PlateauLift(t, msStrength, distanceM, groundM, altitudeM));
}

double ComputeRoll(const Thermal& t, GeoPoint aircraft, double headingDeg, double distanceKm,
                   int msStrength, int rollRate) {
    // At the centre there is no bearing to turn across.
    if (distanceKm == 0)
        return 0;
    const double dxKm = DistanceKm({t.lat, aircraft.lon}, t.Position());
    // Rounding, or a far-off dx, can put the ratio above 1, where the arcsine has no value.
    const double a =
        std::asin(std::min(std::abs(dxKm) / std::abs(distanceKm), 1.0)) * kDegreesPerRadian;
    double bearing;
    if (aircraft.lat > t.lat)
        bearing = aircraft.lon > t.lon ? 180 + a : 180 - a;
    else
        bearing = aircraft.lon > t.lon ? 360 - a : a;
    const double s = std::sin(std::abs(headingDeg - bearing) * kRadiansPerDegree);
    const double roll = s * (msStrength * 0.05) * (t.tStrengthPercent * 0.01);
    return rollRate * roll * 0.01;
}

namespace {

// The band's edges and the middle of its core, metres above the ground.
struct Band {
    double bottom;
    double top;
    double coreMiddle;
};

Band BandOf(const Thermal& t) {
    const double span = static_cast<double>(t.top) - t.bottom;
    const double coreBottom = t.bottom + span * t.tCoreBasePercent / 100.0;
    const double coreTop = t.bottom + span * t.tCoreTopPercent / 100.0;
    return {double(t.bottom), double(t.top), std::trunc((coreBottom + coreTop) / 2)};
}

} // namespace

double CoreMiddleM(const ThermalSettings& values) {
    Thermal t;
    t.SetData(values);
    return BandOf(t).coreMiddle;
}

std::vector<ProfileSample> VerticalProfile(const ThermalSettings& values, int samples) {
    Thermal t;
    t.SetData(values);
    const Band band = BandOf(t);
    const double margin = std::max((band.top - band.bottom) / 10, 10.0);
    std::vector<ProfileSample> profile;
    for (int i = 0; i < samples; ++i) {
        const double atM =
            std::trunc(band.bottom - margin +
                       (band.top - band.bottom + 2 * margin) * i / std::max(samples - 1, 1));
        profile.push_back({atM, ComputeLift(t, 100, 0, 0, atM)});
    }
    return profile;
}
