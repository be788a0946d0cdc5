#include "igcwriter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

std::string HeaderValue(std::string_view text) {
    std::string value(text);
    std::replace_if(
        value.begin(), value.end(), [](char c) { return c >= 0 && c < ' '; }, ' ');
    return value;
}

// DDMMmmm or DDDMMmmm and the hemisphere letter.
std::string Angle(double degrees, int degreeDigits, char positive, char negative) {
    const long long milliMinutes = std::llround(std::abs(degrees) * 60000);
    char text[48];
    std::snprintf(text, sizeof text, "%0*lld%05lld%c", degreeDigits, milliMinutes / 60000,
                  milliMinutes % 60000, degrees < 0 ? negative : positive);
    return text;
}

std::string Altitude(double metres) {
    const long long value = std::llround(std::clamp(metres, -9999.0, 99999.0));
    char text[24];
    std::snprintf(text, sizeof text, value < 0 ? "-%04lld" : "%05lld", std::llabs(value));
    return text;
}

} // namespace

std::string IgcHeaderText(const IgcLogHeader& header) {
    char date[32];
    std::snprintf(date, sizeof date, "%02d%02d%02d", header.date.day % 100, header.date.month % 100,
                  header.date.year % 100);
    std::string text = "A";
    text += kIgcMakerCode;
    text += "SIM\r\nHFDTEDATE:";
    text += date;
    text += ",01\r\nHFPLTPILOTINCHARGE:";
    text += HeaderValue(header.pilot);
    text += "\r\nHFGTYGLIDERTYPE:";
    text += HeaderValue(header.gliderType);
    text += "\r\nHFGIDGLIDERID:";
    text += HeaderValue(header.gliderId);
    text += "\r\nHFDTMGPSDATUM:WGS-1984\r\n"
            "HFFTYFRTYPE:Brevan Talvor\r\n"
            "HFGPSRECEIVER:none, the positions come from a flight simulator\r\n";
    return text;
}

std::string IgcFixLine(int utcSecondOfDay, GeoPoint position, double altitudeM) {
    const int second = ((utcSecondOfDay % 86400) + 86400) % 86400;
    const double lat = std::clamp(position.lat, -90.0, 90.0);
    const double lon = std::remainder(position.lon, 360.0);
    const std::string altitude = Altitude(altitudeM);
    char line[96];
    std::snprintf(line, sizeof line, "B%02d%02d%02d%s%sA%s%s\r\n", second / 3600, second / 60 % 60,
                  second % 60, Angle(lat, 2, 'N', 'S').c_str(), Angle(lon, 3, 'E', 'W').c_str(),
                  altitude.c_str(), altitude.c_str());
    return line;
}
