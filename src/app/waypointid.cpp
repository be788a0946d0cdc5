#include "waypointid.h"

#include <algorithm>
#include <climits>

int NextWaypointID(const WaypointList& waypoints) {
    int highest = 0;
    for (const auto& w : waypoints)
        highest = std::max(highest, w->tID);
    return highest < INT_MAX ? highest + 1 : highest;
}
