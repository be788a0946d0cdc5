#include "profiler/liftpicture.h"

#include "model/thermal.h"
#include "profiler/drift.h"
#include "profiler/lift.h"

#include <algorithm>

namespace {

constexpr int kPictureStrength = 100;

Thermal ThermalOf(const ThermalSettings& values) {
    Thermal t;
    t.SetData(values);
    return t;
}

// The share of the way from the first to the last of samples points.
double Step(int i, int samples) {
    return static_cast<double>(i) / std::max(samples - 1, 1);
}

} // namespace

double ProfileHeightM(const ThermalSettings& values, LiftShape shape) {
    if (shape == LiftShape::bellWithSink)
        return values.bottom + 0.7 * (static_cast<double>(values.top) - values.bottom);
    return CoreMiddleM(values);
}

std::vector<ShapePoint> AcrossTheRadius(const ThermalSettings& values, LiftShape shape,
                                        double heightM, int samples) {
    const Thermal t = ThermalOf(values);
    const double reach = shape == LiftShape::plateau ? 1.25 : 2;
    const double reachM = std::max(reach * t.radius, 1.0);
    std::vector<ShapePoint> points;
    for (int i = 0; i < samples; ++i) {
        const double atM = reachM * Step(i, samples);
        points.push_back({atM, ShapeLift(t, shape, kPictureStrength, atM, 0, heightM)});
    }
    return points;
}

std::vector<ShapePoint> UpTheBand(const ThermalSettings& values, LiftShape shape, int samples) {
    const Thermal t = ThermalOf(values);
    std::vector<ShapePoint> points;
    for (const ProfileSample& sample : VerticalProfile(values, samples))
        points.push_back({sample.atM, ShapeLift(t, shape, kPictureStrength, 0, 0, sample.atM)});
    return points;
}

std::vector<AxisPoint> LeaningAxis(const ThermalSettings& values, const LiftModel& model,
                                   int samples) {
    const double updraftMs = UpdraftMs(values, model, kPictureStrength);
    std::vector<AxisPoint> points;
    for (int i = 0; i < samples; ++i) {
        const double heightM = std::max(values.top, 0) * Step(i, samples);
        points.push_back({heightM, DriftM(heightM, model.windMs, updraftMs)});
    }
    return points;
}
