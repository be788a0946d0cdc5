#include "climbscsv.h"

#include "geo/numbertext.h"

#include <charconv>
#include <cmath>

namespace {

std::string Fixed(double value, int decimals) {
    char text[64];
    const auto end =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals).ptr;
    return {text, end};
}

std::string TimeOfDay(std::int32_t timeS) {
    const std::int32_t second = timeS % 86400;
    const auto two = [](std::int32_t v) {
        return std::string{char('0' + v / 10), char('0' + v % 10)};
    };
    return two(second / 3600) + ':' + two(second / 60 % 60) + ':' + two(second % 60);
}

} // namespace

std::string ClimbsCsv(const std::vector<Climb>& climbs) {
    std::string csv = "start_utc,end_utc,latitude,longitude,mean_climb_mps,entry_altitude_m,"
                      "exit_altitude_m,drift_direction_deg,drift_speed_mps\n";
    for (const Climb& c : climbs)
        csv += TimeOfDay(c.startS) + ',' + TimeOfDay(c.endS) + ',' + Fixed(c.centre.lat, 5) + ',' +
               Fixed(c.centre.lon, 5) + ',' + Fixed(c.meanClimbMps, 2) + ',' +
               IntText(c.entryAltitudeM) + ',' + IntText(c.exitAltitudeM) + ',' +
               IntText(std::lround(c.driftDirectionDeg) % 360) + ',' + Fixed(c.driftSpeedMps, 1) +
               '\n';
    return csv;
}
