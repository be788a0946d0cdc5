#pragma once

class TThermal;

// The arithmetic of lift shaping: how strong a thermal is where the aircraft is, and the
// roll impulse given when the profiler starts. Distances are great-circle distances.

// Share of full strength at `distance` metres from the centre: 1 inside the core
// (tCorePercent of the radius), falling linearly to 0 at the radius and beyond.
float RadialFactor(const TThermal& t, double distance);

// Share of full strength at `altitude` metres above sea level, with the thermal's band
// standing on `groundAlt`: 1 between core bottom and core top, fading linearly to 0 at the
// band's bottom and top, 0 outside the band.
float VerticalFactor(const TThermal& t, double groundAlt, double altitude);

// The strength byte for the aircraft's place in the thermal: msStrength x tStrengthPercent
// shaped by both factors, truncated, and held within 0-255 so it never wraps.
int ComputeLift(const TThermal& t, int msStrength, double distance, double groundAlt,
                double altitude);

// The roll impulse for an aircraft at (acLat, acLon) on `heading` (degrees, -180 to 180),
// `distance` kilometres from the thermal: strongest when flying across the bearing to the
// thermal, scaled by the strength and rollRate per cent. Always a finite number.
double ComputeRoll(const TThermal& t, double acLat, double acLon, double heading, double distance,
                   int msStrength, int rollRate);
