#pragma once

#include "flight/igcwriter.h"
#include "geo/offset.h"

#include <cmath>
#include <numbers>
#include <string>

// A made-up glider flight of `fixes` fixes a second: glides of four minutes between climbs of
// ten circles of 25 s each, drifting east at 3 m/s, over the hills south of Olsztyn.
inline std::string MadeUpFlightLog(int fixes) {
    const GeoPoint origin{53.7, 20.4};
    std::string log = IgcHeaderText({{2024, 6, 1}, "Bench", "LS 8", "D-0001"});
    GeoOffset p;
    double altitudeM = 1000, heading = 0;
    for (int t = 0; t < fixes; ++t) {
        const bool circling = t % 490 >= 240;
        heading += circling ? 14.4 : 0;
        const double radians = heading * std::numbers::pi / 180;
        p.eastM += 30 * std::sin(radians) + (circling ? 3 : 0);
        p.northM += 30 * std::cos(radians);
        altitudeM += circling ? 2 : -1;
        log += IgcFixLine(36000 + t, Moved(origin, p), altitudeM);
    }
    return log;
}
