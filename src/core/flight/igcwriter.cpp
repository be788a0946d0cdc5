#include "igcwriter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// Two digits a value, as the date and time fields want them.
std::string TwoDigits(int value) {
    char text[8];
    std::snprintf(text, sizeof text, "%02d", value % 100);
    return text;
}

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
    return "A" + std::string(kIgcMakerCode) + "SIM\r\n" +
           "HFDTEDATE:" + TwoDigits(header.date.day) + TwoDigits(header.date.month) +
           TwoDigits(header.date.year) + ",01\r\n" +
           "HFPLTPILOTINCHARGE:" + HeaderValue(header.pilot) + "\r\n" +
           "HFGTYGLIDERTYPE:" + HeaderValue(header.gliderType) + "\r\n" +
           "HFGIDGLIDERID:" + HeaderValue(header.gliderId) + "\r\n" +
           "HFDTMGPSDATUM:WGS-1984\r\n"
           "HFFTYFRTYPE:Brevan Talvor\r\n"
           "HFGPSRECEIVER:none, the positions come from a flight simulator\r\n";
}

std::string IgcFixLine(int utcSecondOfDay, GeoPoint position, double altitudeM) {
    const int second = ((utcSecondOfDay % 86400) + 86400) % 86400;
    const double lat = std::clamp(position.lat, -90.0, 90.0);
    const double lon = std::remainder(position.lon, 360.0);
    const std::string altitude = Altitude(altitudeM);
    return "B" + TwoDigits(second / 3600) + TwoDigits(second / 60 % 60) + TwoDigits(second % 60) +
           Angle(lat, 2, 'N', 'S') + Angle(lon, 3, 'E', 'W') + "A" + altitude + altitude + "\r\n";
}
