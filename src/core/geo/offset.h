#pragma once

#include "geo/geopoint.h"

// A short way over the ground in metres, east and north positive.
struct GeoOffset {
    double eastM = 0;
    double northM = 0;

    friend bool operator==(const GeoOffset&, const GeoOffset&) = default;
};

// p moved by the offset on the sphere that Distance measures on (111.195 km a degree). Meant
// for the few kilometres a thermal leans; no offset leaves p as it is.
GeoPoint Moved(GeoPoint p, GeoOffset offset);
