#include "mapframe.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPixelLimit = 1e9;

int TruncPixel(double v) {
    if (std::isnan(v))
        return 0;
    return static_cast<int>(std::clamp(v, -kPixelLimit, kPixelLimit));
}

} // namespace

int MapFrame::LonToX(double lon) const {
    const double span = edges.east - edges.west;
    if (span == 0)
        return 0;
    return TruncPixel((lon - edges.west) / span * double(displayWidth));
}

int MapFrame::LatToY(double lat) const {
    const double span = edges.south - edges.north;
    if (span == 0)
        return 0;
    return TruncPixel((lat - edges.north) / span * double(displayHeight));
}

double MapFrame::XToLon(int x) const {
    if (displayWidth == 0)
        return 0.0;
    return double(x) / displayWidth * (edges.east - edges.west) + edges.west;
}

double MapFrame::YToLat(int y) const {
    if (displayHeight == 0)
        return 0.0;
    return double(y) / displayHeight * (edges.south - edges.north) + edges.north;
}

PixelSize FitPicture(int pictureWidth, int pictureHeight, int boxWidth, int boxHeight) {
    const int w = std::max(boxWidth, 0);
    const int h = std::max(boxHeight, 0);
    if (pictureWidth <= 0 || pictureHeight <= 0 || w + h <= 0)
        return {};
    if (double(pictureWidth) / pictureHeight >= double(w) / h)
        return {w, int(double(pictureHeight) / pictureWidth * w)};
    return {int(double(pictureWidth) / pictureHeight * h), h};
}
