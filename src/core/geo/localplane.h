#pragma once

#include "geo/geopoint.h"

// Metres east and north of a place.
struct PlaneOffset {
    double eastM = 0;
    double northM = 0;
};

// A flat map of the earth around one place, in metres: within a few tens of kilometres
// (a thermal's circles, the step between two fixes) it is off by well under a metre in a
// thousand.
class LocalPlane {
public:
    explicit LocalPlane(GeoPoint origin);

    PlaneOffset ToPlane(GeoPoint p) const;
    GeoPoint ToGeo(PlaneOffset offset) const;

private:
    GeoPoint origin_;
    double metresPerDegreeLon_;
};

// The compass bearing of an offset, degrees from 0 (north) up to 360, 90 east.
double BearingDeg(PlaneOffset offset);
