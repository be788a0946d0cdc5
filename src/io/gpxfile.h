#pragma once

#include "codecs/waypointimport.h"

#include <QByteArray>

// The waypoints (<wpt lat lon> with <name>, <ele> in metres and <desc>) of a GPX 1.0 or
// 1.1 file; routes and tracks are passed over. A waypoint that cannot be read is reported
// with its line number and passed over; a file that stops being XML keeps the waypoints
// before the fault. Names and descriptions lose the commas and line breaks that a waypoint
// file's field cannot hold. Attributes "T".
ImportedWaypoints ReadGpxFile(const QByteArray& data);
