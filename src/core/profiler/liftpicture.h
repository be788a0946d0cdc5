#pragma once

#include "profiler/liftshape.h"
#include "profiler/thermallift.h"

#include <vector>

struct ThermalSettings;

// What the lift-profile picture draws of a shape, from the functions the flight uses (ShapeLift,
// DriftM), so the two never disagree: per cent of the simulator's own strength (an ms strength
// of 100), signed, over ground at 0 m.
struct ShapePoint {
    double atM; // distance from the axis, or height above the ground
    double percent;
};

// The height the picture shows the shape across the radius at: the middle of the core for the
// shapes that have one; for the layer's updraft 0.7 of the layer, halfway up the heights that
// have the sink ring.
double ProfileHeightM(const ThermalSettings& values, LiftShape shape);

// From the axis outwards at heightM above the ground: to a quarter beyond the radius for the
// plateau, to twice the radius for the shapes with a sink ring.
std::vector<ShapePoint> AcrossTheRadius(const ThermalSettings& values, LiftShape shape,
                                        double heightM, int samples);

// At the axis, at the heights VerticalProfile takes (from below the band to above it).
std::vector<ShapePoint> UpTheBand(const ThermalSettings& values, LiftShape shape, int samples);

// The axis leaning with the wind: how far downwind it is at heights from the ground to the
// band's top, at the ms strength of 100.
struct AxisPoint {
    double heightM;
    double downwindM;
};
std::vector<AxisPoint> LeaningAxis(const ThermalSettings& values, const LiftModel& model,
                                   int samples);
