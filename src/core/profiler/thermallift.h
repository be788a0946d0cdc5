#pragma once

#include "geo/geopoint.h"
#include "profiler/liftshape.h"

class Thermal;
struct ThermalSettings;

// The Profile Data group's choices of how every thermal lifts.
struct LiftModel {
    LiftShape shape = LiftShape::plateau;
    // Each thermal leans downwind of its own wind direction; 0 keeps the vertical column.
    double windMs = 0;
    // The climb one unit of the strength byte gives: the updraft speed the drift takes. The
    // stand-in simulator's and the FlightGear bridge's scale.
    double climbMsPerUnit = 0.02;
};

// The speed the thermal's air rises at: its strength setting at msStrength, in m/s.
double UpdraftMs(const ThermalSettings& values, const LiftModel& model, int msStrength);

// Where the thermal's axis is at altitudeM over groundM: its position carried downwind by
// the time its air, rising at its full strength, took to get there.
GeoPoint AxisAt(const Thermal& t, const LiftModel& model, int msStrength, double groundM,
                double altitudeM);

// What a thermal gives an aircraft.
struct ThermalLift {
    double lift = 0; // units of the strength byte, below 0 in sink: for a link that carries it
    int byte = 0;    // what the strength byte carries: truncated, sink held at 0, at most 255
};

// The thermal's lift for an aircraft at altitudeM over groundM: the chosen shape at the
// aircraft's distance from the (drifted) axis. The plateau without wind is exactly
// ComputeLift at the distance the profiler measures.
ThermalLift LiftAtAircraft(const Thermal& t, const LiftModel& model, int msStrength,
                           GeoPoint aircraft, double groundM, double altitudeM);
