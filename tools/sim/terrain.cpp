#include "terrain.h"

#include <cmath>
#include <numbers>

namespace {

// One wave of the landscape: amplitude in metres, wavelength in kilometres, direction in
// degrees from north, phase in radians.
struct Wave {
    double amplitude;
    double wavelengthKm;
    double direction;
    double phase;
};

constexpr Wave waves[] = {
    {220.0, 23.0, 20.0, 0.0},  // the long ridges
    {140.0, 11.0, 115.0, 1.3}, // valleys across them
    {70.0, 5.3, 60.0, 2.1},    // hills
    {35.0, 2.7, 160.0, 0.4},   // knolls
    {15.0, 1.2, 95.0, 4.0},    // ground roughness
};

constexpr double baseElevation = 520.0;
constexpr double kmPerDegree = 111.195;

} // namespace

double TerrainElevation(double lat, double lon) {
    const double north = lat * kmPerDegree;
    const double east = lon * kmPerDegree * std::cos(lat * std::numbers::pi / 180.0);
    double height = baseElevation;
    for (const Wave& w : waves) {
        const double angle = w.direction * std::numbers::pi / 180.0;
        const double along = north * std::cos(angle) + east * std::sin(angle);
        height += w.amplitude * std::sin(2.0 * std::numbers::pi * along / w.wavelengthKm + w.phase);
    }
    return height;
}
