#pragma once

#include "scene/waypoint.h"
#include "textencoding.h"

#include <string>

#include <QString>

class Map;
class MapView;
struct WaypointLine;

// The waypoint file: comment lines ("*"), one line per waypoint, then trailing lines.
// Everything that is not a waypoint is kept byte for byte and written back around the
// waypoints, so files made by other software keep their comments and line ends.
class Dat {
public:
    Dat(Map& map, WaypointList& waypoints);

    // Appends the file's waypoints to the list (the caller clears it first).
    void Load(const QString& fileName, MapView& panel);
    void SaveTo(const QString& fileName);
    void Save();
    // Asks for a file name; a cancelled dialog does nothing.
    void SaveAs();
    void WriteWaypoint(std::string& out, const TWaypoint& waypoint) const;

    QString fileName;
    // Ends with "/"; empty before the first load or save.
    QString folder;
    // The comment lines before the first waypoint of the file last read, as they stood.
    std::string header;
    // Every line after the last waypoint, as it stood (line ends and bytes unchanged).
    std::string trailer;
    Map& map;
    WaypointList& waypoints;
    bool modified = false;

private:
    void AddWaypoint(const WaypointLine& line, MapView& panel);

    // The character set of the names and texts of the file last read.
    TextEncoding encoding_ = TextEncoding::Utf8;
};
