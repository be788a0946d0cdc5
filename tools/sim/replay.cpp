#include "replay.h"

#include "geo/offset.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

constexpr double kSecondsPerDay = 86400;
// Far beyond a day's log at one fix a second (3 MB); a larger file is not read.
constexpr std::uintmax_t kLargestLog = std::uintmax_t{256} * 1024 * 1024;
// Closer fixes give no direction worth turning to: the heading stays as it was.
constexpr double kLeastStepForHeadingM = 0.5;

} // namespace

Replay::Replay(std::vector<IgcFix> fixes, bool pressureAltitudes)
    : fixes_(std::move(fixes))
    , pressureAltitudes_(pressureAltitudes) {}

std::optional<Replay> Replay::FromLog(const IgcFlight& flight) {
    std::vector<IgcFix> fixes;
    std::copy_if(flight.fixes.begin(), flight.fixes.end(), std::back_inserter(fixes),
                 [](const IgcFix& fix) { return fix.valid; });
    if (fixes.empty())
        return std::nullopt;
    return Replay(std::move(fixes), flight.pressureAltitudes);
}

std::optional<Replay> Replay::FromFile(const std::string& path, std::string& error) {
    std::error_code failure;
    // Only a plain file has an end: a pipe would wait for a writer.
    const bool plain = std::filesystem::is_regular_file(path, failure);
    const std::uintmax_t size = plain ? std::filesystem::file_size(path, failure) : 0;
    std::ifstream in(path, std::ios::binary);
    if (!plain || failure || size > kLargestLog || !in) {
        error = "cannot read the flight log " + path;
        return std::nullopt;
    }
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const IgcFlight flight = ReadIgcFile(bytes);
    auto replay = FromLog(flight);
    if (!replay)
        error = path + ": the log has no valid fix to fly";
    return replay;
}

double Replay::AltitudeM(const IgcFix& fix) const {
    return pressureAltitudes_ ? fix.pressureAltitudeM : fix.gnssAltitudeM;
}

double Replay::TakeOffAltitudeM() const {
    return AltitudeM(fixes_.front());
}

double Replay::LengthS() const {
    return fixes_.back().timeS - fixes_.front().timeS;
}

int Replay::TimeOfDayS() const {
    return static_cast<int>(std::fmod(fixes_.front().timeS + std::floor(clockS_), kSecondsPerDay));
}

void Replay::Advance(SimState& state, double realSeconds) {
    if (state.replaySeek) {
        double seconds = state.replaySeek->seconds;
        if (state.replaySeek->timeOfDay) {
            // The first time of day at or after the log's start.
            seconds = std::fmod(seconds - fixes_.front().timeS, kSecondsPerDay);
            if (seconds < 0)
                seconds += kSecondsPerDay;
        }
        clockS_ = seconds;
        state.replaySeek.reset();
    } else if (!state.paused) {
        clockS_ += realSeconds * state.replayFactor;
    }
    clockS_ = std::clamp(clockS_, 0.0, LengthS());

    // The fix before the clock and the one after it; their times differ, as the one after is
    // later than the clock.
    const double timeS = fixes_.front().timeS + clockS_;
    const auto after = std::upper_bound(fixes_.begin(), fixes_.end(), timeS,
                                        [](double t, const IgcFix& fix) { return t < fix.timeS; });
    if (after == fixes_.end()) {
        const GeoPoint last = fixes_.back().Position();
        state.lat = last.lat;
        state.lon = last.lon;
        state.altitude = AltitudeM(fixes_.back());
        return;
    }
    const IgcFix& from = *(after - 1);
    const IgcFix& to = *after;
    const double share = (timeS - from.timeS) / (to.timeS - from.timeS);
    const GeoPoint origin = from.Position();
    const GeoOffset step = OffsetBetween(origin, to.Position());
    const GeoPoint here = Moved(origin, {step.eastM * share, step.northM * share});
    state.lat = here.lat;
    state.lon = here.lon;
    state.altitude = AltitudeM(from) + (AltitudeM(to) - AltitudeM(from)) * share;
    if (std::hypot(step.eastM, step.northM) >= kLeastStepForHeadingM)
        state.heading = BearingDeg(step);
}
