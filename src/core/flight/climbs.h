#pragma once

#include "flight/igcfile.h"
#include "geo/geopoint.h"

#include <cstdint>
#include <vector>

// A climb the pilot circled in: where the circles were, how wide, how fast they went up and
// how the wind carried them.
struct Climb {
    std::int32_t startS = 0; // the log's times (IgcFix::timeS)
    std::int32_t endS = 0;
    GeoPoint centre;    // of the circles halfway through the climb
    double radiusM = 0; // of the circles
    double meanClimbMps = 0;
    int entryAltitudeM = 0;
    int exitAltitudeM = 0;
    double driftDirectionDeg = 0; // where the circles drift to, 0 north, 90 east
    double driftSpeedMps = 0;

    // Where the wind comes from: against the drift.
    double WindFromDeg() const;
};

// The climbs of a flight, in time order, from its valid fixes.
std::vector<Climb> FindClimbs(const IgcFlight& flight);
