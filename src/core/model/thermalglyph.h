#pragma once

#include <cstdint>

// How a thermal is drawn on the map, in glyph pixels: a circle of radius 5 and, for every
// type but 4, a wind line of length 10 from the circle's centre towards the wind's compass
// bearing. The glyph keeps this size at every zoom.
struct GlyphPoint {
    int x = 0;
    int y = 0;
    bool operator==(const GlyphPoint&) const = default;
};

struct ThermalGlyph {
    int width = 10;
    int height = 10;
    int windDx = 0; // extents of the wind line, 0 or more
    int windDy = 0;
    GlyphPoint lineEnd;
    GlyphPoint centre;
    GlyphPoint circleOrigin; // top-left corner of the circle's square
};

inline constexpr int kThermalGlyphRadius = 5;

// The glyph for a type and wind direction. A negative wind direction is outside the compass
// rule: the previous geometry is returned unchanged.
ThermalGlyph ComputeThermalGlyph(int type, int windDir, const ThermalGlyph& previous);

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    bool operator==(const Rgb&) const = default;
};

// The circle's colour by type: 1 yellow with a cloud, else aqua; 2 lime; 3 purple; 4 white
// while active, else red with a cloud, else blue; any other type red.
Rgb ThermalFill(int type, bool cloud, bool active);
