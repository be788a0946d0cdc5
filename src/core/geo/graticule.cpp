#include "graticule.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace {

constexpr std::array<double, 13> kStepsMin = {0.5, 1,   2,   5,   10,   15,  30,
                                              60,  120, 300, 600, 1200, 1800};

// Tenths of a minute where the step has them, so the labels of one picture read alike.
std::string Label(double deg, bool latitude, bool showTenths) {
    // Whole tenths of a minute, so a line's label never shows 59.99999'.
    const long long tenths = std::llround(std::abs(deg) * 600);
    const char hemisphere = latitude ? (deg < 0 ? 'S' : 'N') : (deg < 0 ? 'W' : 'E');
    char text[48];
    if (!showTenths)
        std::snprintf(text, sizeof text, "%lld\u00B0%02lld'%c", tenths / 600, tenths / 10 % 60,
                      hemisphere);
    else
        std::snprintf(text, sizeof text, "%lld\u00B0%02lld.%lld'%c", tenths / 600, tenths / 10 % 60,
                      tenths % 10, hemisphere);
    return text;
}

} // namespace

std::vector<GraticuleLine> GraticuleLines(double fromDeg, double toDeg, bool latitude, int least) {
    const double lowMin = std::min(fromDeg, toDeg) * 60;
    const double highMin = std::max(fromDeg, toDeg) * 60;
    // The lines at a step: the multiples of it within the span, in whole steps so that
    // the degrees come out as the step's exact multiples.
    const auto linesAt = [&](double stepMin) {
        std::vector<GraticuleLine> lines;
        for (long long k = std::llround(std::ceil(lowMin / stepMin - 1e-9));
             k * stepMin <= highMin + 1e-9 * stepMin; ++k)
            lines.push_back({k * stepMin / 60, Label(k * stepMin / 60, latitude, stepMin < 1)});
        return lines;
    };
    if (!std::isfinite(lowMin) || !std::isfinite(highMin) || highMin - lowMin > 360 * 60)
        return {};
    for (auto step = kStepsMin.rbegin(); step != kStepsMin.rend(); ++step)
        if ((highMin - lowMin) / *step >= least)
            return linesAt(*step);
    return linesAt(kStepsMin.front());
}

PixelSize PictureSizeFor(const GeoBounds& area, int longestSide) {
    const double midLat = (area.north + area.south) / 2;
    const double across =
        std::abs(area.east - area.west) * std::max(std::cos(midLat * std::numbers::pi / 180), 0.01);
    const double down = std::abs(area.north - area.south);
    if (!(across > 0) || !(down > 0))
        return {longestSide, longestSide};
    if (across >= down)
        return {longestSide,
                std::max(1, static_cast<int>(std::lround(longestSide * down / across)))};
    return {std::max(1, static_cast<int>(std::lround(longestSide * across / down))), longestSide};
}
