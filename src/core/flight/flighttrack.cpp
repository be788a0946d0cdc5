#include "flighttrack.h"

#include "geo/distance.h"
#include "geo/numbertext.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <vector>

namespace {

constexpr std::int32_t kVarioWindowS = 3;
// A kilometre in degrees of latitude.
constexpr double kLeastMarginDeg = 1 / 111.195;

std::string Joined(const std::string& a, const std::string& b) {
    return a.empty() ? b : b.empty() ? a : a + ' ' + b;
}

} // namespace

FlightSummary SummarizeFlight(const IgcFlight& flight) {
    FlightSummary summary;
    summary.date = flight.date;
    summary.glider = Joined(flight.gliderType, flight.gliderId);
    const IgcFix* first = nullptr;
    const IgcFix* last = nullptr;
    for (const IgcFix& fix : flight.fixes) {
        if (!fix.valid)
            continue;
        const int altitude = flight.AltitudeM(fix);
        if (!first)
            summary.highestAltitudeM = altitude;
        summary.highestAltitudeM = std::max(summary.highestAltitudeM, altitude);
        if (last)
            summary.distanceKm += DistanceKm(last->Position(), fix.Position());
        first = first ? first : &fix;
        last = &fix;
    }
    if (first)
        summary.durationS = last->timeS - first->timeS;
    return summary;
}

std::string FlightLineText(const FlightSummary& summary, heightDispType unit) {
    char date[16] = "no date";
    if (summary.date)
        std::snprintf(date, sizeof date, "%04d-%02d-%02d", summary.date->year % 10000,
                      summary.date->month % 100, summary.date->day % 100);
    char duration[32];
    std::snprintf(duration, sizeof duration, "%d:%02d h", summary.durationS / 3600,
                  summary.durationS / 60 % 60);
    const std::string distance = FixedText(summary.distanceKm, 1) + " km";
    const std::string dot = " \u00B7 ";
    return date + dot + (summary.glider.empty() ? "no glider named" : summary.glider) + dot +
           duration + dot + "highest " + HeightText(summary.highestAltitudeM, unit) + dot +
           distance;
}

Trail FlightTrail(const IgcFlight& flight) {
    std::vector<std::int32_t> times;
    for (const IgcFix& fix : flight.fixes)
        if (fix.valid)
            times.push_back(fix.timeS);
    // The climb over the trail's few seconds, or over the log's usual step where its fixes
    // are farther apart: a window that holds one fix has no climb.
    std::vector<std::int32_t> steps;
    for (std::size_t i = 1; i < times.size(); ++i)
        steps.push_back(times[i] - times[i - 1]);
    std::int32_t usualStepS = 0;
    if (!steps.empty()) {
        std::nth_element(steps.begin(), steps.begin() + steps.size() / 2, steps.end());
        usualStepS = steps[steps.size() / 2];
    }
    Trail trail(std::chrono::seconds(times.empty() ? 0 : times.back() - times.front()),
                std::chrono::seconds(std::max(kVarioWindowS, usualStepS)));
    for (const IgcFix& fix : flight.fixes)
        if (fix.valid)
            trail.Add(Trail::Clock::time_point(std::chrono::seconds(fix.timeS)), fix.Position(),
                      flight.AltitudeM(fix));
    return trail;
}

int LogSecondOf(const Trail::Point& point) {
    return static_cast<int>(
        std::chrono::duration_cast<std::chrono::seconds>(point.time.time_since_epoch()).count());
}

std::string TrackPointHint(const Trail::Point& point, heightDispType unit) {
    const int second = LogSecondOf(point) % 86400;
    char text[96];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d UTC\n", second / 3600, second / 60 % 60,
                  second % 60);
    return text + ("Altitude " + HeightText(point.altitudeM, unit)) + "\nClimb " +
           FixedText(point.climbMps, 1) + " m/s";
}

int FlightGroundM(const IgcFlight& flight) {
    std::optional<int> ground;
    for (const IgcFix& fix : flight.fixes)
        if (fix.valid)
            ground = std::min(ground.value_or(flight.AltitudeM(fix)), flight.AltitudeM(fix));
    return ground.value_or(0);
}

GeoBounds FlightFrame(const IgcFlight& flight) {
    std::optional<GeoBounds> area;
    for (const IgcFix& fix : flight.fixes) {
        if (!fix.valid)
            continue;
        const GeoPoint p = fix.Position();
        if (!area)
            area = GeoBounds{p.lat, p.lat, p.lon, p.lon};
        area->north = std::max(area->north, p.lat);
        area->south = std::min(area->south, p.lat);
        area->west = std::min(area->west, p.lon);
        area->east = std::max(area->east, p.lon);
    }
    if (!area)
        return {};
    const double midLat = (area->north + area->south) / 2;
    // A kilometre east and west is more degrees of longitude away from the equator.
    const double lonPerLat = 1 / std::max(std::cos(midLat * std::numbers::pi / 180), 0.01);
    const double latMargin = std::max((area->north - area->south) / 10, kLeastMarginDeg);
    const double lonMargin = std::max((area->east - area->west) / 10, kLeastMarginDeg * lonPerLat);
    // Outwards to a thousandth of a minute, as a project file holds the edges: a saved
    // project places its picture exactly as it was made.
    const auto up = [](double deg) {
        return std::ceil(deg * 60000 - 1e-6) / 60000;
    };
    const auto down = [](double deg) {
        return std::floor(deg * 60000 + 1e-6) / 60000;
    };
    return {up(std::min(area->north + latMargin, 90.0)),
            down(std::max(area->south - latMargin, -90.0)),
            down(std::max(area->west - lonMargin, -180.0)),
            up(std::min(area->east + lonMargin, 180.0))};
}
