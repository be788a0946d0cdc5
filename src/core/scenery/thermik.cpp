#include "thermik.h"

#include "geo/numbertext.h"
#include "geo/textfields.h"

namespace {

constexpr double kMargin = 0.2;
// Lift macros of this type take no wind direction and factor.
constexpr int kTypeWithoutWind = 4;

std::string Position(const Thermal& t) {
    return NumberText(t.lat) + ' ' + NumberText(t.lon);
}

} // namespace

std::string ThermikSource(const ThermalList& thermals, double minLat, double minLon, double maxLat,
                          double maxLon) {
    const std::string north = NumberText(maxLat + kMargin);
    const std::string south = NumberText(minLat - kMargin);
    const std::string east = NumberText(maxLon + kMargin);
    const std::string west = NumberText(minLon - kMargin);
    std::string out = "Header( 1 " + north + ' ' + south + ' ' + east + ' ' + west + " )\r\n";
    out += "LatRange( " + south + ' ' + north + " )\r\n\r\n";

    for (const auto& t : thermals) {
        if (!t->cloud)
            continue;
        out += "Macro( cloud_01.scm " + Position(*t) + " 0 ";
        WriteIntField(out, t->cloudBase, false, " ");
        // The diameter; widened so that no radius can overflow it.
        out += IntText(2LL * t->cloudRadius) + ' ';
        out += " cld" + IntText(t->cloudType) + ".bmp )\r\n";
    }
    out += "\r\n";

    for (const auto& t : thermals) {
        out += "Macro( lift_0" + IntText(t->type) + ".scm " + Position(*t) + ' ';
        WriteIntField(out, t->bottom, false, " ");
        WriteIntField(out, t->top, false, " ");
        WriteIntField(out, t->radius, false, " ");
        if (t->type != kTypeWithoutWind) {
            WriteIntField(out, t->windDir, false, " ");
            WriteIntField(out, t->factor, false, " ");
        }
        out += ")\r\n";
    }
    return out;
}
