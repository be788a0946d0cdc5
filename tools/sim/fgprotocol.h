#pragma once

#include <optional>
#include <string>
#include <string_view>

// The lines FlightGear and the bridge exchange, as the protocol files in
// packaging/flightgear/Protocol define them, and the one change the bridge makes to
// FlightGear's own files.

// One line of brevan_out: what FlightGear reports every frame.
struct FgFrame {
    double lat = 0;        // degrees, -90 to 90
    double lon = 0;        // degrees, -180 to 180
    double altitudeFt = 0; // feet above sea level
    double groundM = 0;    // metres above sea level
    double heading = 0;    // degrees true, 0 up to 360
    double climbFps = 0;   // the aircraft's vertical speed
    double airFps = 0;     // the air's vertical speed (wind from down)
    double liftSetFps = 0; // the lift FlightGear holds from us
    bool paused = false;
    bool loaded = true; // the scenery around the aircraft is there: FlightGear has started
};

inline constexpr double metresPerFoot = 0.3048;

// The fields in brevan_out's order. Nothing that is not a finite number in its range comes
// through: a short or long line, a field that is not a plain number, a latitude past 90 or a
// longitude past 180, an altitude or ground out of any flyable range, a pause or loaded flag
// other than 0 or 1 give no frame. A heading of 360 or more, or below 0, is wrapped into 0-360.
std::optional<FgFrame> ParseFgLine(std::string_view line);

// A brevan_in line: the lift in feet per second and the aileron trim (-1 to 1).
std::string LiftLine(double liftFps, double aileronTrim);
// A brevan_move line: where the aircraft is to be.
std::string MoveLine(double lat, double lon);

// FlightGear's Environment/interpolator.xml with the wind-from-down filter's
// max-rate-of-change set to `rate` feet per second per second. None when the file has no such
// filter or the filter has no such value.
std::optional<std::string> RaiseLiftRate(const std::string& interpolatorXml, double rate);
