#include "flight/trail.h"

#include "geo/distance.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kFullScaleMps = 3.0;

} // namespace

Trail::Trail(std::chrono::seconds length, std::chrono::seconds varioWindow)
    : length_(length)
    , varioWindow_(varioWindow) {}

void Trail::Add(Clock::time_point time, GeoPoint position, double altitudeM) {
    if (!points_.empty() && time < points_.back().time)
        Clear();
    bool jumped = breakNext_;
    if (!points_.empty() && !jumped) {
        const double distanceM = DistanceKm(points_.back().position, position) * 1000;
        const double seconds = std::chrono::duration<double>(time - points_.back().time).count();
        jumped = distanceM > 0 && distanceM >= kFastestMps * seconds;
    }
    breakNext_ = false;
    points_.push_back({time, position, altitudeM, 0, jumped});
    while (time - points_.front().time > length_) {
        points_.pop_front();
        ++dropped_;
    }
    climbMps_ = ClimbOverWindow();
    points_.back().climbMps = climbMps_;
}

void Trail::Break() {
    breakNext_ = !points_.empty();
}

void Trail::Clear() {
    dropped_ += points_.size();
    points_.clear();
    climbMps_ = 0;
}

double Trail::ClimbOverWindow() const {
    const Point& last = points_.back();
    // The earliest point still within the window, walking back from the newest.
    auto first = points_.rbegin();
    for (auto it = points_.rbegin(); it != points_.rend() && last.time - it->time <= varioWindow_;
         ++it) {
        first = it;
        if (it->startsPiece)
            break;
    }
    const double seconds = std::chrono::duration<double>(last.time - first->time).count();
    return seconds > 0 ? (last.altitudeM - first->altitudeM) / seconds : 0;
}

int ClimbStep(double climbMps) {
    if (std::isnan(climbMps))
        return kClimbSteps / 2;
    const double share = std::clamp(climbMps / kFullScaleMps, -1.0, 1.0);
    return static_cast<int>(std::lround((share + 1) / 2 * (kClimbSteps - 1)));
}

Rgb ClimbStepColour(int step) {
    // From blue through grey to red: the middle step is neutral.
    const double share = 2.0 * step / (kClimbSteps - 1) - 1; // -1 to 1
    const auto channel = [](double value) {
        return static_cast<std::uint8_t>(std::lround(std::clamp(value, 0.0, 255.0)));
    };
    const double grey = 150;
    if (share >= 0)
        return {channel(grey + share * (255 - grey)), channel(grey * (1 - share)),
                channel(grey * (1 - share))};
    return {channel(grey * (1 + share)), channel(grey * (1 + share)),
            channel(grey - share * (255 - grey))};
}

Rgb ClimbColour(double climbMps) {
    return ClimbStepColour(ClimbStep(climbMps));
}
