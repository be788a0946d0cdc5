#include "geo/offset.h"

#include <cmath>

namespace {

constexpr double metresPerDegree = 111195;
constexpr double radiansPerDegree = 0.017453292519943295;

// East along the way's middle latitude, so going north and east is the straight way there.
double EastPerDegreeM(double fromLat, double toLat) {
    return metresPerDegree * std::cos((fromLat + toLat) / 2 * radiansPerDegree);
}

} // namespace

GeoPoint Moved(GeoPoint p, GeoOffset offset) {
    if (offset == GeoOffset{})
        return p;
    const double lat = p.lat + offset.northM / metresPerDegree;
    return {lat, std::remainder(p.lon + offset.eastM / EastPerDegreeM(p.lat, lat), 360.0)};
}

GeoOffset OffsetBetween(GeoPoint from, GeoPoint to) {
    return {std::remainder(to.lon - from.lon, 360.0) * EastPerDegreeM(from.lat, to.lat),
            (to.lat - from.lat) * metresPerDegree};
}

double BearingDeg(GeoOffset offset) {
    const double degrees = std::atan2(offset.eastM, offset.northM) / radiansPerDegree;
    return degrees < 0 ? degrees + 360 : degrees;
}
