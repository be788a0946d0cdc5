#include "relief.h"

#include "terrain.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <vector>

namespace {

constexpr double kMetresPerDegree = 111195.0;
constexpr double kContourInterval = 100.0;

// The palette: kBands height tints from lowland green to rocky grey, each in kShades
// brightness steps, then one colour for contour lines.
constexpr int kBands = 17;
constexpr int kShades = 15;
constexpr int kContourIndex = kBands * kShades;
constexpr double kLowest = 40.0;    // metres: the terrain's floor
constexpr double kHighest = 1000.0; // and its ceiling

struct Tint {
    double at; // share of the height range
    int r, g, b;
};
constexpr std::array<Tint, 5> kTints{{
    {0.00, 120, 168, 96},
    {0.30, 170, 196, 120},
    {0.55, 222, 212, 150},
    {0.80, 190, 160, 120},
    {1.00, 235, 232, 228},
}};

QRgb BandColour(int band, double light) {
    const double at = static_cast<double>(band) / (kBands - 1);
    const auto upper =
        std::find_if(kTints.begin() + 1, kTints.end(), [at](const Tint& t) { return t.at >= at; });
    const Tint& hi = *upper;
    const Tint& lo = *(upper - 1);
    const double f = (at - lo.at) / (hi.at - lo.at);
    auto channel = [&](int a, int b) {
        return std::clamp(static_cast<int>((a + (b - a) * f) * light), 0, 255);
    };
    return qRgb(channel(lo.r, hi.r), channel(lo.g, hi.g), channel(lo.b, hi.b));
}

QList<QRgb> Palette() {
    QList<QRgb> colours;
    for (int band = 0; band < kBands; ++band)
        for (int shade = 0; shade < kShades; ++shade)
            colours.push_back(BandColour(band, 0.6 + 0.5 * shade / (kShades - 1)));
    colours.push_back(qRgb(110, 90, 70));
    return colours;
}

// An ordered-dither threshold in [0, 1) for a pixel, so few colours still shade smoothly.
double Dither(int x, int y) {
    static constexpr std::array<int, 16> bayer{0, 8,  2, 10, 12, 4, 14, 6,
                                               3, 11, 1, 9,  15, 7, 13, 5};
    return (bayer[(y % 4) * 4 + x % 4] + 0.5) / 16;
}

// The palette step for a value from 0 to 1 among n steps, dithered.
int Step(double value, int n, double dither) {
    return std::clamp(static_cast<int>(value * (n - 1) + dither), 0, n - 1);
}

} // namespace

int TrueHeight(const GeoBounds& area, int width) {
    const double midLat = (area.north + area.south) / 2 * std::numbers::pi / 180;
    const double northSouth = std::abs(area.north - area.south);
    const double eastWest = std::abs(area.east - area.west) * std::cos(midLat);
    return std::max(1, static_cast<int>(std::lround(width * northSouth / eastWest)));
}

QImage RenderRelief(const GeoBounds& area, int width, int height) {
    const double dLat = (area.south - area.north) / height;
    const double dLon = (area.east - area.west) / width;
    // Heights at the pixel centres, with a one-pixel rim for the slopes at the edges.
    const int w = width + 2;
    std::vector<double> ground(static_cast<std::size_t>(w) * (height + 2));
    for (int y = 0; y < height + 2; ++y)
        for (int x = 0; x < w; ++x)
            ground[y * w + x] =
                TerrainElevation(area.north + (y - 0.5) * dLat, area.west + (x - 0.5) * dLon);

    const double midLat = (area.north + area.south) / 2 * std::numbers::pi / 180;
    const double pixelNorth = std::abs(dLat) * kMetresPerDegree;
    const double pixelEast = std::abs(dLon) * kMetresPerDegree * std::cos(midLat);
    // Light from the north-west, 45 degrees up: east, north and up components.
    const double lx = -0.5;
    const double ly = 0.5;
    const double lz = std::numbers::sqrt2 / 2;

    QImage picture(width, height, QImage::Format_Indexed8);
    picture.setColorTable(Palette());
    for (int y = 0; y < height; ++y) {
        uchar* line = picture.scanLine(y);
        for (int x = 0; x < width; ++x) {
            const auto at = [&](int dx, int dy) {
                return ground[(y + 1 + dy) * w + x + 1 + dx];
            };
            const double e = at(0, 0);
            const double slopeEast = (at(1, 0) - at(-1, 0)) / (2 * pixelEast);
            const double slopeNorth = (at(0, -1) - at(0, 1)) / (2 * pixelNorth);
            const double light = (-slopeEast * lx - slopeNorth * ly + lz) /
                                 std::sqrt(slopeEast * slopeEast + slopeNorth * slopeNorth + 1);
            const bool contour =
                std::floor(e / kContourInterval) != std::floor(at(1, 0) / kContourInterval) ||
                std::floor(e / kContourInterval) != std::floor(at(0, 1) / kContourInterval);
            if (contour) {
                line[x] = kContourIndex;
                continue;
            }
            const double dither = Dither(x, y);
            const int band = Step((e - kLowest) / (kHighest - kLowest), kBands, dither);
            const int shade = Step((light - 0.35) / 0.65, kShades, dither);
            line[x] = static_cast<uchar>(band * kShades + shade);
        }
    }
    return picture;
}
