#pragma once

#include "model/thermal.h"
#include "profiler/profiler.h"

// What the live work reads of the Thermal Data window, handed over as one value whenever
// the window changes: the values of new thermals, the profiler's switches and numbers, and
// how thermals are placed at the aircraft.
struct LiveSettings {
    ThermalSettings newThermal; // heights in metres whatever unit the window shows
    bool profileOn = false;     // off, the profiler is left as it is
    ProfilerSettings profiler;
    bool autoThermals = false; // a thermal at the aircraft every autoThermalDistM of flight
    int autoThermalDistM = 0;
    // A thermal at the aircraft takes the wind from the aircraft's right or left (the left
    // when both are set).
    bool windFromRight = false;
    bool windFromLeft = false;
    bool topsMsl = false; // top and cloud base are above sea level: the ground comes off them
};
