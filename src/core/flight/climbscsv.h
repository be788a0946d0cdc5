#pragma once

#include "flight/climbs.h"

#include <string>
#include <vector>

// The climbs as comma-separated values for other programs: a header line, then one climb a
// line in the order given, each line ending with a line feed. Start and end as UTC times
// hh:mm:ss, the centre in decimal degrees, the mean climb in m/s, the entry and exit
// altitudes in metres, the drift's direction (where it goes) in degrees and its speed in m/s.
std::string ClimbsCsv(const std::vector<Climb>& climbs);
