#pragma once

#include "flight/igcfile.h"
#include "flight/trail.h"
#include "geo/geopoint.h"
#include "geo/units.h"

#include <optional>
#include <string>

// A flight log as the map shows it: its track, the line that sums it up, and the hint at a
// point of the track.

struct FlightSummary {
    std::optional<IgcDate> date;
    std::string glider; // type and id as the log gives them
    int durationS = 0;  // first valid fix to last
    int highestAltitudeM = 0;
    double distanceKm = 0; // along the valid fixes
};

// From the valid fixes; a log without one sums up to nothing flown.
FlightSummary SummarizeFlight(const IgcFlight& flight);

// "2019-03-09 · LS 8 D-1234 · 4:12 h · highest 2140 m · 312.4 km", the height in the unit.
std::string FlightLineText(const FlightSummary& summary, heightDispType unit);

// The valid fixes as a trail, each point's time the log's seconds after its date's midnight
// and its climb the trail's own, so the track takes the trail's colours. Long enough to hold
// the whole flight.
Trail FlightTrail(const IgcFlight& flight);

// The log's seconds of a track point.
int LogSecondOf(const Trail::Point& point);

// "12:34:56 UTC", "Altitude 1234 m", "Climb 2.3 m/s" on three lines.
std::string TrackPointHint(const Trail::Point& point, heightDispType unit);

// The ground elevation that climbs are measured from: the lowest altitude of the valid
// fixes. That is the take-off fix's for a flight from an airfield; after a launch from a hill
// the ground under the climbs lies lower, and the take-off's would put them underground.
// 0 without a valid fix.
int FlightGroundM(const IgcFlight& flight);

// The valid fixes' area with room around it: a tenth of its size on every side and at least
// a kilometre, so a short flight is not drawn to the picture's edges; each edge on a
// thousandth of a minute.
GeoBounds FlightFrame(const IgcFlight& flight);
