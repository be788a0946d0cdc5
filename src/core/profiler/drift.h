#pragma once

#include "geo/offset.h"

// How far the wind has carried the air of a thermal by the time it has risen heightM above
// the ground at updraftMs: windMs for heightM / updraftMs seconds, so the thermal's axis leans
// downwind in a straight line. No wind, no updraft (0 or less) or no height: 0.
double DriftM(double heightM, double windMs, double updraftMs);

// The same downwind of a wind blowing from windFromDeg (0 north, 90 east).
GeoOffset DriftAt(double heightM, int windFromDeg, double windMs, double updraftMs);
