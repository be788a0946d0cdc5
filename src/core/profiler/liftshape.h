#pragma once

class Thermal;
struct ThermalSettings;

// How a thermal's lift is spread across its radius and up its height band.
enum class LiftShape {
    plateau,      // full strength in a core, straight fades to the radius and the band's edges
    bellWithSink, // the convective updraft of the layer (updraft.h): a bell ringed by sink
    gaussian,     // a simple bell with a sink ring, within the plateau's height fades
};

// The shapes as shares of the thermal's strength setting (1 at the strongest place, below 0
// where the air sinks), so that one number serves the strength byte, a link that carries sink
// and the picture alike.

// The strength setting in units of the strength byte: msStrength x tStrengthPercent / 100.
double PeakLift(const ThermalSettings& values, int msStrength);

// exp(-(r/R)^2) x (1 - (r/R)^2): 1 at the axis, 0 at the radius, sinking beyond it
// (deepest, -exp(-2), at 1.41 radii) and fading out. 0 for a radius of 0 or less.
double GaussianShare(double distanceM, double radiusM);

// The layer's updraft (updraft.h) for a thermal, heightM above the layer's base. The thermal's
// values stand for the paper's parameters so: its band is the convective layer (zi = layerM,
// its top less its bottom; heights from its bottom); its radius is the updraft's radius r2 at
// the layer's top (below, r2 shrinks with height as in the paper); its strength setting is the
// peak: w* is chosen so that the strongest place of the whole layer, at the axis a little
// below a quarter of its depth, is 1.
double BellWithSinkShare(double distanceM, double heightM, double layerM, double radiusM);

// The thermal's vertical air in units of the strength byte (msStrength x tStrengthPercent at
// the peak), signed, distanceM from its axis, at altitudeM over groundM. The plateau is exactly
// PlateauLift; a thermal with no strength (0 or below) gives nothing in the other shapes.
double ShapeLift(const Thermal& t, LiftShape shape, int msStrength, double distanceM,
                 double groundM, double altitudeM);
