#pragma once

#include <optional>
#include <string>
#include <string_view>

// One waypoint line of a waypoint file:
// id, latitude, longitude, elevation with unit letter, attributes, name, text.
// The three texts are bytes in the file's own character set.
struct WaypointLine {
    int id = 0;
    double lat = 0;
    double lon = 0;
    int groundHeight = 0;
    std::string attributes;
    std::string name;
    std::string text;
};

// A waypoint line is not empty and begins with a digit.
bool IsWaypointLine(std::string_view line);
// Comment lines ("*" first) may stand before the first waypoint.
bool IsCommentLine(std::string_view line);

// Reads degrees and minutes (47:30.500N) or degrees, minutes and seconds (47:30:30N);
// only an upper-case "S" or "W" right after the last number makes a position negative.
// An elevation in feet ("F") becomes metres; any single letter after it is passed over.
// Nothing when a needed number is missing or malformed, or when the line ends right
// after a position or the elevation.
std::optional<WaypointLine> ParseWaypointLine(std::string_view line);

// Degrees, ":", minutes with two integer digits and three decimals, and the hemisphere
// letter: 8:00.000E, 0:30.000S. Minutes that round to 60 carry into the degrees.
std::string PositionText(double value, char positive, char negative);

// Appends the line with its CR LF.
void AppendWaypointLine(std::string& out, const WaypointLine& waypoint);
