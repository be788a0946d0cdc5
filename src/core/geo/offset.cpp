#include "geo/offset.h"

#include <cmath>

GeoPoint Moved(GeoPoint p, GeoOffset offset) {
    if (offset == GeoOffset{})
        return p;
    constexpr double metresPerDegree = 111195;
    constexpr double radiansPerDegree = 0.017453292519943295;
    const double lat = p.lat + offset.northM / metresPerDegree;
    // East along the way's middle latitude, so going north and east is the straight way there.
    const double eastPerDegreeM = metresPerDegree * std::cos((p.lat + lat) / 2 * radiansPerDegree);
    return {lat, p.lon + offset.eastM / eastPerDegreeM};
}
