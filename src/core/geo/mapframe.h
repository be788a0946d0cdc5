#pragma once

#include "geo/geopoint.h"

// Where a calibrated map picture lies on the earth and how large it is shown: its four
// edges, linear in between, and its displayed size in pixels. Every conversion between
// degrees and map pixels uses the displayed size.
struct MapFrame {
    GeoBounds edges;
    int displayWidth = 0;
    int displayHeight = 0;

    // Pixel positions are truncated toward zero and held within a billion pixels, so that
    // a position far off the map still fits the int arithmetic of the glyphs. A frame whose
    // two edges coincide gives 0.
    int LonToX(double lon) const;
    int LatToY(double lat) const;
    // A frame shown at no size gives 0.
    double XToLon(int x) const;
    double YToLat(int y) const;
    GeoPoint PositionAt(int x, int y) const { return {YToLat(y), XToLon(x)}; }
    // A position moved by whole pixels; its place within its pixel stays.
    GeoPoint MovedBy(GeoPoint p, int dx, int dy) const {
        return {p.lat + YToLat(dy) - YToLat(0), p.lon + XToLon(dx) - XToLon(0)};
    }
};

struct PixelSize {
    int width = 0;
    int height = 0;

    friend bool operator==(const PixelSize&, const PixelSize&) = default;
};

// The picture fitted into a box of boxWidth x boxHeight, keeping its aspect ratio: the side
// that limits it fills the box, the other is truncated. Negative sides count as 0; a box of
// no size or a picture of no size gives 0 x 0.
PixelSize FitPicture(int pictureWidth, int pictureHeight, int boxWidth, int boxHeight);
