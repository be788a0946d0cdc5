#pragma once

#include "geo/geopoint.h"

// Great-circle distance in kilometres between two positions.
double DistanceKm(GeoPoint a, GeoPoint b);
