#pragma once

#include "scene/waypoint.h"

// The ID of a new waypoint: one above the highest ID in the list, 1 when the list is empty
// or holds no ID above 0. The highest possible ID is shared rather than wrapped.
int NextWaypointID(const WaypointList& waypoints);
