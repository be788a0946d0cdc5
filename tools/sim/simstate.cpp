#include "simstate.h"

#include "terrain.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>

namespace {

constexpr double metresPerDegree = 111195.0;
constexpr double sinkRate = 0.8; // m/s in still air

double Wrap360(double degrees) {
    return std::fmod(std::fmod(degrees, 360.0) + 360.0, 360.0);
}

bool ParseNumber(std::string_view text, double& value) {
    const char* end = text.data() + text.size();
    const auto [stop, failure] = std::from_chars(text.data(), end, value);
    return failure == std::errc{} && stop == end && std::isfinite(value);
}

// "hh:mm:ss" as seconds of the day.
std::optional<double> ParseTimeOfDay(std::string_view text) {
    int h = 0, m = 0, sec = 0;
    const auto two = [&](std::size_t at, int& field, int high) {
        const char* end = text.data() + at + 2;
        return std::from_chars(text.data() + at, end, field).ptr == end && field >= 0 &&
               field <= high;
    };
    if (text.size() != 8 || text[2] != ':' || text[5] != ':' || !two(0, h, 23) || !two(3, m, 59) ||
        !two(6, sec, 59))
        return std::nullopt;
    return h * 3600.0 + m * 60 + sec;
}

bool ParseSwitch(std::string_view text, bool& value) {
    if (text == "on" || text == "off") {
        value = text == "on";
        return true;
    }
    return false;
}

} // namespace

bool ApplySetting(SimState& state, std::string_view key, std::string_view value,
                  std::string& error) {
    const std::string what = std::string(key) + " '" + std::string(value) + "'";
    double number = 0;
    const bool isNumber = ParseNumber(value, number);
    auto numberIn = [&](int low, int high, double& field) {
        if (!isNumber || number < low || number > high) {
            error = "bad " + what + ": a number from " + std::to_string(low) + " to " +
                    std::to_string(high) + " is needed";
            return false;
        }
        field = number;
        return true;
    };
    auto onOff = [&](bool& field) {
        if (!ParseSwitch(value, field)) {
            error = "bad " + what + ": on or off is needed";
            return false;
        }
        return true;
    };

    if (state.replaying) {
        for (const std::string_view logs : {"lat", "lon", "heading", "altitude", "circle"})
            if (key == logs) {
                error = std::string(key) + " is the log's in a replay";
                return false;
            }
        if (key == "speed")
            return numberIn(0, 1000, state.replayFactor);
        if (key == "seek") {
            if (const auto timeOfDay = ParseTimeOfDay(value)) {
                state.replaySeek = ReplaySeek{*timeOfDay, true};
                return true;
            }
            double seconds = 0;
            if (!numberIn(0, 1000000, seconds)) {
                error += ", or a UTC time hh:mm:ss";
                return false;
            }
            state.replaySeek = ReplaySeek{seconds, false};
            return true;
        }
    } else if (key == "seek") {
        error = "seek needs --replay";
        return false;
    }
    if (key == "pause")
        return onOff(state.paused);
    if (key == "lat")
        return numberIn(-90, 90, state.lat);
    if (key == "lon")
        return numberIn(-180, 180, state.lon);
    if (key == "heading") {
        if (!numberIn(-360, 360, state.heading))
            return false;
        state.heading = Wrap360(state.heading);
        return true;
    }
    if (key == "altitude")
        return numberIn(-500, 20000, state.altitude);
    if (key == "speed") {
        double kmh = 0;
        if (!numberIn(0, 1000, kmh))
            return false;
        state.speed = kmh / 3.6;
        return true;
    }
    if (key == "circle")
        return numberIn(-3600, 3600, state.circleSeconds);
    if (key == "strength") {
        double strength = 0;
        if (!numberIn(0, 255, strength))
            return false;
        state.strength = static_cast<int>(strength);
        state.verticalAirMs.reset();
        return true;
    }
    if (key == "block")
        return onOff(state.blockPresent);
    if (key == "answer")
        return onOff(state.answering);
    if (key == "delay")
        return numberIn(0, 60000, state.replyDelayMs);
    if (key == "ground") {
        if (value == "terrain") {
            state.flatGround.reset();
            return true;
        }
        double ground = 0;
        if (!numberIn(-500, 9000, ground))
            return false;
        state.flatGround = ground;
        return true;
    }
    error = "unknown setting '" + std::string(key) + "'";
    return false;
}

double GroundElevation(const SimState& state) {
    return state.flatGround ? *state.flatGround : TerrainElevation(state.lat, state.lon);
}

double LiftMs(const SimState& state, double liftPerUnit) {
    return state.verticalAirMs ? *state.verticalAirMs : state.strength * liftPerUnit;
}

void Advance(SimState& state, double seconds) {
    if (state.circleSeconds != 0)
        state.heading = Wrap360(state.heading + 360.0 * seconds / state.circleSeconds);
    const double radians = state.heading * std::numbers::pi / 180.0;
    const double distance = state.speed * seconds;
    state.lat += distance * std::cos(radians) / metresPerDegree;
    const double latCos = std::max(std::cos(state.lat * std::numbers::pi / 180.0), 1e-6);
    state.lon += distance * std::sin(radians) / (metresPerDegree * latCos);
    state.lat = std::clamp(state.lat, -89.9, 89.9);
    state.lon = std::remainder(state.lon, 360.0);

    state.altitude += (LiftMs(state) - sinkRate) * seconds;
    state.altitude = std::max(state.altitude, GroundElevation(state));
}
