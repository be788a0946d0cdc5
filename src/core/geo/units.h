#pragma once

#include <cstdint>
#include <string>

// Display unit of heights. Heights are stored in whole metres whatever is shown.
enum heightDispType : std::uint8_t { meters = 0, feet = 1 };

// Display format of latitudes and longitudes.
enum latLonDispType : std::uint8_t { decDegrees = 0, decMins = 1, degMinSec = 2 };

// The display units of the run: one setting that the windows and the glyphs' hints read, so
// that changing it changes no stored value.
struct DisplayUnits {
    heightDispType height = meters;
    latLonDispType position = decMins;
};

inline constexpr double kFeetPerMetre = 3.280839895;

// A double cut to an int toward zero, held to the int range (NaN gives 0), so that no
// conversion ever leaves the range of the integer.
int TruncateToInt(double value);

// Hints and the status bar: metres x 3.280839895, truncated toward zero (1500 gives 4921).
int MetresToFeetTruncated(double metres);
// A height as hints, readouts and pictures show it, truncated toward zero: "412m", "1354ft".
std::string HeightText(double metres, heightDispType unit);
// The Thermal Data window shows feet rounded: truncate(metres x 3.280839895 + 0.5).
int MetresToFeetRounded(int metres);
// A height given in feet by a waypoint file: truncate(feet x (1 / 3.280839895)),
// so 1500 ft gives 457 m.
int FeetToMetresTruncated(int feet);
// A height typed in feet in the Thermal Data window: truncate(feet x 0.3048 + 0.5),
// so 1000 ft gives 305 m.
int FeetToMetresRounded(int feet);
