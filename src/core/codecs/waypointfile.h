#pragma once

#include "messages/message.h"
#include "model/waypoint.h"
#include "textencoding.h"

#include <string>
#include <string_view>

// A waypoint file's text: comment lines ("*"), one line per waypoint, then trailing lines.
// Everything that is not a waypoint is kept byte for byte and written back around the
// waypoints, so files made by other software keep their comments and line ends.
struct WaypointFileFrame {
    // The comment lines before the first waypoint as they stood, with a byte order mark.
    std::string header;
    // Every line after the last waypoint as it stood (line ends and bytes unchanged).
    std::string trailer;
    // The character set of the names and texts.
    TextEncoding encoding = TextEncoding::Utf8;
};

struct WaypointFileContent {
    WaypointFileFrame frame;
    WaypointList waypoints;
};

// Reads the waypoints up to the first line that is not one. A waypoint line that cannot be
// read gives a message (caption "File Error", with the line) and stays, with every line
// after it, in the trailer.
Read<WaypointFileContent> ReadWaypointFile(std::string_view data);

// The whole file as written: the header, every waypoint (CR LF), the trailer.
std::string WaypointFileBytes(const WaypointFileFrame& frame, const WaypointList& waypoints);

// Whether every waypoint's texts can be written in the frame's character set.
bool FitsEncoding(const WaypointFileFrame& frame, const WaypointList& waypoints);
// The frame with its lines in UTF-8, as the file is then written.
WaypointFileFrame InUtf8(const WaypointFileFrame& frame);
