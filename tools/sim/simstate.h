#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// A jump of a replay to a moment of its log.
struct ReplaySeek {
    double seconds = 0;
    bool timeOfDay = false; // UTC seconds of the day; else seconds after the log's first fix

    friend bool operator==(const ReplaySeek&, const ReplaySeek&) = default;
};

// Everything the stand-in simulates and every switch a script may flip.
struct SimState {
    double lat = 46.5;      // degrees, north positive
    double lon = 7.5;       // degrees, east positive
    double altitude = 1500; // metres above sea level
    double heading = 0;     // degrees true, 0 to 360
    double speed = 25;      // metres per second
    // Seconds for a full circle: positive turns right, negative left, 0 flies straight.
    double circleSeconds = 0;
    int strength = 0; // the thermal strength byte
    // The vertical air (m/s) the client wrote with the byte; none: the byte is the lift.
    std::optional<double> verticalAirMs{};
    bool blockPresent = true;
    std::optional<double> flatGround; // metres; none: the hills of TerrainElevation
    double rollRate = 0;              // last value written by the client
    // Counts of the client's writes to the strength byte and to the position, so that a
    // bridge can tell a write from a value that merely stayed the same.
    std::uint64_t strengthWrites = 0;
    std::uint64_t moves = 0;
    bool answering = true;   // false: frames are read but never answered
    double replyDelayMs = 0; // each request is answered this late
    bool paused = false;     // the aircraft holds where it is
    // A flight log flown again (--replay): it sets position, altitude and heading, and the
    // speed is its time factor. A seek waits here until the replay makes it.
    bool replaying = false;
    double replayFactor = 1;
    std::optional<ReplaySeek> replaySeek = std::nullopt;
};

// Sets one value by name from its text: lat, lon, heading, altitude, speed (km/h), circle
// (seconds), strength (0-255), block (on/off), ground (metres or "terrain"), answer (on/off),
// delay (milliseconds), pause (on/off). In a replay speed is the time factor (0-1000), seek
// jumps (seconds after the log's first fix, or its UTC time hh:mm:ss), and the values the
// log gives (lat, lon, heading, altitude, circle) are refused.
// On failure returns false with a message and leaves the state as it was.
bool ApplySetting(SimState& state, std::string_view key, std::string_view value,
                  std::string& error);

// m/s of lift for one unit of the strength byte: 255 gives about 5 m/s.
inline constexpr double liftPerStrengthUnit = 0.02;

// The air the client gives the aircraft: its vertical air, else the strength byte's lift.
double LiftMs(const SimState& state, double liftPerUnit = liftPerStrengthUnit);

// Advances the aircraft by `seconds`: along its heading or round its circle, sinking at
// 0.8 m/s, lifted (or sunk) by the air the client gives it, never below the ground.
void Advance(SimState& state, double seconds);

double GroundElevation(const SimState& state);
