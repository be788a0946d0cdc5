#include "cumulus.h"

#include "geo/numbertext.h"
#include "geo/textfields.h"
#include "geo/units.h"

#include <cmath>
#include <cstdlib>

std::string AngleText(double degrees) {
    const double d = std::trunc(degrees);
    const double r = (degrees - d) * 60;
    const double m = std::trunc(r);
    const double s = std::trunc((r - m) * 60);
    // Whole degrees of 0 cannot carry the sign of an angle between -1 and 0.
    const std::string sign = degrees < 0 && d == 0 ? "-" : "";
    return sign + IntText(TruncateToInt(d)) + ' ' + IntText(std::abs(TruncateToInt(m))) + ' ' +
           IntText(std::abs(TruncateToInt(s))) + ' ';
}

std::string CumulusInput(const ThermalList& thermals, const std::string& base, double minLat,
                         double minLon, double maxLat, double maxLon) {
    std::string out = base + "_cu\r\n";
    out += AngleText(minLat + (maxLat - minLat) * 0.5);
    out += AngleText(minLon + (maxLon - minLon) * 0.5);
    out += "\r\nP\r\n";
    for (const auto& t : thermals) {
        out += AngleText(t->lat) + AngleText(t->lon);
        // The top above sea level, widened so that the sum cannot overflow.
        out += IntText(static_cast<long long>(t->top) + t->tGroundHeight) + ' ';
        WriteFloatField(out, t->tCuHS, false, " ");
        WriteFloatField(out, t->tCuVS, false, " ");
        WriteIntField(out, t->tCuRotation, false, " ");
        WriteFloatField(out, t->tCuCloud, false, " ");
        WriteIntField(out, t->tCuStart, false, " ");
        WriteIntField(out, t->tCuEnd, true, " ");
    }
    return out;
}
