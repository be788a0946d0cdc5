#include "localplane.h"

#include <cmath>
#include <numbers>

namespace {

constexpr double kMetresPerDegree = 111195.0;
constexpr double kRadiansPerDegree = std::numbers::pi / 180;

// The longitude difference taken the short way round, across the 180th meridian too.
double LonDifference(double lon, double from) {
    return std::remainder(lon - from, 360.0);
}

} // namespace

LocalPlane::LocalPlane(GeoPoint origin)
    : origin_(origin)
    , metresPerDegreeLon_(kMetresPerDegree * std::cos(origin.lat * kRadiansPerDegree)) {}

PlaneOffset LocalPlane::ToPlane(GeoPoint p) const {
    return {LonDifference(p.lon, origin_.lon) * metresPerDegreeLon_,
            (p.lat - origin_.lat) * kMetresPerDegree};
}

GeoPoint LocalPlane::ToGeo(PlaneOffset offset) const {
    // At a pole a longitude has no width: every offset stays on the pole's meridian.
    const double lon = metresPerDegreeLon_ > 1e-9
                           ? std::remainder(origin_.lon + offset.eastM / metresPerDegreeLon_, 360.0)
                           : origin_.lon;
    return {origin_.lat + offset.northM / kMetresPerDegree, lon};
}

double BearingDeg(PlaneOffset offset) {
    const double degrees = std::atan2(offset.eastM, offset.northM) / kRadiansPerDegree;
    return degrees < 0 ? degrees + 360 : degrees;
}
