#pragma once

#include "geo/geopoint.h"

// A short way over the ground in metres, east and north positive.
struct GeoOffset {
    double eastM = 0;
    double northM = 0;

    friend bool operator==(const GeoOffset&, const GeoOffset&) = default;
};

// p moved by the offset on the sphere that Distance measures on (111.195 km a degree). Meant
// for the few kilometres a thermal leans; no offset leaves p as it is. Across the 180th
// meridian the longitude comes back within -180 to 180.
GeoPoint Moved(GeoPoint p, GeoOffset offset);

// The offset that moves `from` to `to`, so that Moved(from, OffsetBetween(from, to)) is `to`;
// the longitude taken the short way round, across the 180th meridian too.
GeoOffset OffsetBetween(GeoPoint from, GeoPoint to);

// The compass bearing of an offset, degrees from 0 (north) up to 360, 90 east.
double BearingDeg(GeoOffset offset);
