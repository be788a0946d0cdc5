#include "model/waypoint.h"

#include "geo/coordtext.h"
#include "geo/numbertext.h"
#include "messages/quote.h"

#include <algorithm>
#include <climits>
#include <unordered_set>

template <typename T> bool Waypoint::Change(T& field, const T& value) {
    if (field == value)
        return false;
    field = value;
    sourceLine_.clear();
    return true;
}

void Waypoint::SetLat(double v) {
    if (Change(lat, v))
        observer_.Notify(ValueObserver::Change::place);
}
void Waypoint::SetLon(double v) {
    if (Change(lon, v))
        observer_.Notify(ValueObserver::Change::place);
}
void Waypoint::SetPosition(GeoPoint p) {
    // Both fields change before the glyph hears of it.
    const bool moved = Change(lat, p.lat) | Change(lon, p.lon);
    if (moved)
        observer_.Notify(ValueObserver::Change::place);
}
void Waypoint::SetGroundHeight(int v) {
    Change(tGroundHeight, v);
}
void Waypoint::SetID(int v) {
    Change(tID, v);
}
void Waypoint::SetAttributes(const std::string& v) {
    Change(tAttributes, v);
}
void Waypoint::SetName(const std::string& v) {
    Change(tName, v);
}
void Waypoint::SetText(const std::string& v) {
    Change(tText, v);
}
void Waypoint::SetValues(const Waypoint& other) {
    SetPosition(other.Position());
    SetGroundHeight(other.tGroundHeight);
    SetID(other.tID);
    SetAttributes(other.tAttributes);
    SetName(other.tName);
    SetText(other.tText);
    sourceLine_ = other.sourceLine_;
}
namespace {

// A longer name or text would draw the hint across the screen.
constexpr std::size_t kLongestHintText = 80;

} // namespace

std::string Waypoint::Hint(heightDispType unit) const {
    const std::string height = unit == feet ? IntText(MetresToFeetTruncated(tGroundHeight)) + " ft"
                                            : IntText(tGroundHeight) + " m";
    return "ID " + IntText(tID) + "\nLatitude " + LatText(lat, decDegrees) + "\nLongitude " +
           LonText(lon, decDegrees) + "\nHeight " + height + "\nAttributes " + tAttributes +
           "\nName: " + QuotedText(tName, kLongestHintText) +
           "\nText: " + QuotedText(tText, kLongestHintText);
}

int NextWaypointID(const WaypointList& waypoints) {
    int highest = 0;
    for (const auto& w : waypoints)
        highest = std::max(highest, w->tID);
    return highest < INT_MAX ? highest + 1 : highest;
}

std::string FreeWaypointName(const WaypointList& waypoints, const std::string& name) {
    std::unordered_set<std::string> taken;
    for (const auto& w : waypoints)
        taken.insert(w->tName);
    if (!taken.contains(name))
        return name;
    // The number the name ends with, after a blank; a name without one counts as 1.
    const std::size_t digits = name.find_last_not_of("0123456789") + 1;
    std::string stem = name + ' ';
    long long number = 1;
    if (digits < name.size() && digits > 0 && name[digits - 1] == ' ' &&
        name.size() - digits < 10) {
        stem = name.substr(0, digits);
        number = std::stoll(name.substr(digits));
    }
    std::string free;
    do
        free = stem + IntText(++number);
    while (taken.contains(free));
    return free;
}

std::string WaypointFieldText(std::string_view text) {
    std::string field;
    field.reserve(text.size());
    for (const char c : text) {
        if (c != ',' && c != '\r' && c != '\n')
            field += c;
    }
    return field;
}
