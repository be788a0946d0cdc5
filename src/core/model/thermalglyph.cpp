#include "model/thermalglyph.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kWindLineLength = 10;
constexpr double kRadiansPerDegree = 0.017453292519943295;

int HalfUp(double v) {
    return int(v + 0.5);
}

// The glyph along one axis. A line towards the far side (right, down) only lengthens the
// box; one towards the near side (left, up) that reaches beyond the circle shifts it.
struct AxisLayout {
    int size;
    int centre;
    int circleOrigin;
    int lineEnd;
};

AxisLayout LayOutAxis(int extent, bool towardsFar) {
    constexpr int h = kThermalGlyphRadius;
    if (towardsFar)
        return {std::max(2 * h, h + extent), h, 0, h + extent};
    if (extent < h)
        return {2 * h, h, 0, h - extent};
    return {h + extent, extent, extent - h, 0};
}

} // namespace

ThermalGlyph ComputeThermalGlyph(int type, int windDir, const ThermalGlyph& previous) {
    constexpr int h = kThermalGlyphRadius;
    ThermalGlyph g = previous;
    if (type == 4) {
        g.width = 2 * h;
        g.height = 2 * h;
        g.centre = {h, h};
        return g;
    }
    if (windDir < 0)
        return previous;

    const int q = (windDir / 90) % 4;
    const double phi = (windDir - 90 * q) * kRadiansPerDegree;
    const int along = HalfUp(kWindLineLength * std::cos(phi));
    const int across = HalfUp(kWindLineLength * std::sin(phi));
    const bool axial = q == 0 || q == 2;
    g.windDx = axial ? across : along;
    g.windDy = axial ? along : across;
    const bool right = q == 0 || q == 1;
    const bool up = q == 0 || q == 3;

    const AxisLayout x = LayOutAxis(g.windDx, right);
    const AxisLayout y = LayOutAxis(g.windDy, !up);
    g.width = x.size;
    g.height = y.size;
    g.centre = {x.centre, y.centre};
    g.circleOrigin = {x.circleOrigin, y.circleOrigin};
    g.lineEnd = {x.lineEnd, y.lineEnd};
    return g;
}

Rgb ThermalFill(int type, bool cloud, bool active) {
    switch (type) {
    case 1:
        return cloud ? Rgb{255, 255, 0} : Rgb{0, 255, 255};
    case 2:
        return {0, 255, 0};
    case 3:
        return {128, 0, 128};
    case 4:
        if (active)
            return {255, 255, 255};
        return cloud ? Rgb{255, 0, 0} : Rgb{0, 0, 255};
    default:
        return {255, 0, 0};
    }
}
