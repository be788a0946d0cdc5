#include "profiler/updraft.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace {

// The bell's shape constants for seven ratios r1/r2; an updraft takes the row of the nearest
// ratio (the paper's table and its rule).
struct Bell {
    double ratio;
    double k1, k2, k3, k4;
};
constexpr std::array<Bell, 7> kBells{{{0.14, 1.5352, 2.5826, -0.0113, -0.1950},
                                      {0.25, 1.5265, 3.6054, -0.0176, -0.1265},
                                      {0.36, 1.4866, 4.8356, -0.0320, -0.0818},
                                      {0.47, 1.2042, 7.7904, 0.0848, -0.0445},
                                      {0.58, 0.8816, 13.9720, 0.3404, -0.0216},
                                      {0.69, 0.7067, 23.9940, 0.5689, -0.0099},
                                      {0.80, 0.6189, 42.7965, 0.7157, -0.0033}}};

const Bell& BellFor(double ratio) {
    for (std::size_t i = 0; i + 1 < kBells.size(); ++i)
        if (ratio < (kBells[i].ratio + kBells[i + 1].ratio) / 2)
            return kBells[i];
    return kBells.back();
}

constexpr double kSmallestRadiusM = 10;
// Updrafts cover this share of the ground's area per metre of their radius per metre of the
// layer: the paper's spacing, N = 0.6 A / (zi r2), times each one's area pi r2^2.
constexpr double kAreaPerRadius = 0.6 * std::numbers::pi;

} // namespace

Updraft UpdraftAt(double heightM, double layerM, double wStarMs, double radiusScale) {
    if (!(layerM > 0) || !(heightM > 0) || !(heightM < layerM))
        return {};
    const double x = heightM / layerM;
    const double cubeRoot = std::cbrt(x);
    const double paperRadiusM = 0.102 * cubeRoot * (1 - 0.25 * x) * layerM;

    Updraft u;
    u.meanMs = wStarMs * cubeRoot * (1 - 1.1 * x);
    u.outerM = std::max(paperRadiusM * radiusScale, kSmallestRadiusM);
    const double ratio = u.outerM < 600 ? 0.0011 * u.outerM + 0.14 : 0.8;
    u.innerM = ratio * u.outerM;
    const double r1 = u.innerM;
    const double r2 = u.outerM;
    // The bell carries the mean updraft's mass through the updraft's area.
    u.peakMs = 3 * u.meanMs * (r2 * r2 * r2 - r2 * r2 * r1) / (r2 * r2 * r2 - r1 * r1 * r1);
    if (x > 0.5 && x < 0.9)
        u.downdraftShare = 2.5 * (x - 0.5);
    // What the updrafts lift (less what their sink rings bring down) sinks in the rest of the
    // area. The spacing is the paper's for its own updraft sizes, so a widened updraft does not
    // deepen the sink between thermals.
    const double updraftShare = kAreaPerRadius * paperRadiusM / layerM;
    u.environmentMs =
        std::min(-updraftShare * u.meanMs * (1 - u.downdraftShare) / (1 - updraftShare), 0.0);
    return u;
}

double VerticalAir(const Updraft& u, double distanceM) {
    if (!(u.outerM > 0))
        return 0;
    const double rr = std::abs(distanceM) / u.outerM;
    const Bell& bell = BellFor(u.innerM / u.outerM);
    const double shape =
        std::max(1 / (1 + std::pow(bell.k1 * std::abs(rr + bell.k3), bell.k2)) + bell.k4 * rr, 0.0);
    const bool outsideCore = std::abs(distanceM) > u.innerM;
    const double ring =
        outsideCore && rr < 2 ? std::numbers::pi / 6 * std::sin(std::numbers::pi * rr) : 0;
    const double downdraft = std::min(u.downdraftShare * ring, 0.0);
    const double w = shape * u.peakMs + downdraft * u.meanMs;
    // Outside the core the bell is stretched down to the environment's sink; without sink
    // there is nothing to stretch (and the peak may be 0).
    if (outsideCore && u.environmentMs < 0)
        return w * (1 - u.environmentMs / u.peakMs) + u.environmentMs;
    return w;
}
