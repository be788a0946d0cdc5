#pragma once

#include "geo/geopoint.h"
#include "geo/units.h"
#include "model/observer.h"

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// A named point on the map. Texts are UTF-8.
class Waypoint {
public:
    double lat = 0;
    double lon = 0;
    int tGroundHeight = 0; // metres
    int tID = 0;
    std::string tAttributes;
    std::string tName;
    std::string tText;

    GeoPoint Position() const { return {lat, lon}; }
    void SetLat(double v);
    void SetLon(double v);
    void SetPosition(GeoPoint p);
    void SetGroundHeight(int v);
    void SetID(int v);
    void SetAttributes(const std::string& v);
    void SetName(const std::string& v);
    void SetText(const std::string& v);
    // Every value of another waypoint, and the file line it keeps (an undo puts a waypoint
    // back so).
    void SetValues(const Waypoint& other);

    // The multi-line hint, with the height in the display unit.
    std::string Hint(heightDispType unit) const;

    // The file line the waypoint was read from, in UTF-8 with its line end, kept while none of
    // its values changes: a save writes it back as it was, in the file's own spelling.
    const std::string& SourceLine() const { return sourceLine_; }
    void KeepSourceLine(std::string line) { sourceLine_ = std::move(line); }

    void Observe(ValueObserver* observer) { observer_.Set(observer); }
    // Leaves the screen while it lives on (kept for an undo).
    void Detach() { observer_.Release(); }

private:
    // Sets a value; a changed one parts the waypoint from its line.
    template <typename T> bool Change(T& field, const T& value);

    ObserverSlot observer_;
    std::string sourceLine_;
};

// The ordered list of waypoints; removing a waypoint from it destroys it.
using WaypointList = std::vector<std::unique_ptr<Waypoint>>;

// A text as a waypoint file's field can hold it: a comma would end the field and a line
// break the line, so both are left out ("Ridge, north" becomes "Ridge north").
std::string WaypointFieldText(std::string_view text);

// The ID of a new waypoint: one above the highest ID in the list, 1 when the list is empty
// or holds no ID above 0. The highest possible ID is shared rather than wrapped.
int NextWaypointID(const WaypointList& waypoints);

// The name itself when no waypoint has it yet, else the next free one counting on from its
// number: "Waypoint 1" gives "Waypoint 2", "Col" gives "Col 2".
std::string FreeWaypointName(const WaypointList& waypoints, const std::string& name);
