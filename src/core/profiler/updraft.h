#pragma once

// The convective updraft of M. J. Allen, "Updraft Model for Development of Autonomous Soaring
// Uninhabited Air Vehicles", AIAA 2006-1510 (NASA Dryden), in the paper's own terms: a
// convective layer zi metres deep, its convective velocity scale w* (m/s), heights above the
// layer's base and distances from the updraft's axis in metres, vertical air in m/s.

// The updraft at one height of the layer.
struct Updraft {
    double innerM = 0;         // r1: where the bell starts to fall
    double outerM = 0;         // r2: the updraft's radius
    double meanMs = 0;         // w-bar: the mean updraft of the layer at this height
    double peakMs = 0;         // w-peak: at the axis
    double downdraftShare = 0; // s_wd: how much of the sink ring this height has, 0-1
    double environmentMs = 0;  // w_e: the sink of the air between updrafts, 0 or below
};

// The updraft at heightM of a layer layerM deep. radiusScale widens the paper's radius for
// an updraft of another size (1: the paper's own). Outside the layer (at or below its base,
// at or above its top) there is no updraft: all zero.
Updraft UpdraftAt(double heightM, double layerM, double wStarMs, double radiusScale = 1);

// The vertical air distanceM from the axis: the bell, the sink ring around it between r1 and
// twice the radius, and the environment's sink, blended at the bell's flank.
double VerticalAir(const Updraft& u, double distanceM);
