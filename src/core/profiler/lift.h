#pragma once

#include "geo/geopoint.h"

#include <vector>

class Thermal;

// The arithmetic of lift shaping: how strong a thermal is where the aircraft is, and the
// roll impulse given when the profiler starts. Distances are great-circle distances.

// Share of full strength at distanceM from the centre: 1 inside the core (tCorePercent of
// the radius), falling linearly to 0 at the radius and beyond.
float RadialFactor(const Thermal& t, double distanceM);

// Share of full strength at altitudeM above sea level, with the thermal's band standing on
// groundM: 1 between core bottom and core top, fading linearly to 0 at the band's bottom
// and top, 0 outside the band.
float VerticalFactor(const Thermal& t, double groundM, double altitudeM);

// The strength for the aircraft's place in the thermal, in units of the strength byte:
// msStrength x tStrengthPercent shaped by both factors, not yet truncated.
double PlateauLift(const Thermal& t, int msStrength, double distanceM, double groundM,
                   double altitudeM);

// What the strength byte carries of a strength: truncated, and held within 0-255 so it never
// wraps (sink is held at 0).
int StrengthByte(double lift);

// The strength byte for the aircraft's place in the thermal: PlateauLift as a byte.
int ComputeLift(const Thermal& t, int msStrength, double distanceM, double groundM,
                double altitudeM);

// The roll impulse for an aircraft at a position on headingDeg (-180 to 180), distanceKm
// from the thermal: strongest when flying across the bearing to the thermal, scaled by the
// strength and rollRate per cent. Always a finite number.
double ComputeRoll(const Thermal& t, GeoPoint aircraft, double headingDeg, double distanceKm,
                   int msStrength, int rollRate);

struct ThermalSettings;

// What the profiler would write across a thermal and up its band, in per cent of the
// simulator's own strength (an ms strength of 100) over ground at 0 m, computed by the
// functions above so that it can never disagree with flight.
struct ProfileSample {
    double atM; // distance from the centre, or height above the ground
    int percent;
};
// The middle of the core's heights above the ground, in whole metres.
double CoreMiddleM(const ThermalSettings& values);
// At the centre, from below the band's bottom to above its top.
std::vector<ProfileSample> VerticalProfile(const ThermalSettings& values, int samples);
