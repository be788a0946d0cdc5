#pragma once

#include "lineproblems.h"
#include "model/waypoint.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Waypoints read from another program's file, and what of it could not be read. The
// waypoints carry no ID yet: the list they join gives them theirs.
struct ImportedWaypoints : LineProblems {
    WaypointList waypoints;
};

// Longer lines are reported and passed over unread.
inline constexpr std::size_t kLongestCupLine = 16384;

// A SeeYou waypoint file: a header line naming the columns (name, code, country, lat, lon,
// elev, style, ..., desc), then one place a line as comma-separated fields, quoted ones
// holding commas and doubled quotes; positions as DDMM.mmmN and DDDMM.mmmE; the elevation
// in m or ft, or empty for 0. Reading stops at the "-----Related Tasks-----" line. A line
// that cannot be read is reported with its number and passed over. Names and descriptions
// lose the commas and line breaks that a waypoint file's field cannot hold; a place
// without a name takes its code. Attributes: "T", with "A" for an airfield and "L" for an
// outlanding field.
ImportedWaypoints ReadCupFile(std::string_view data);
