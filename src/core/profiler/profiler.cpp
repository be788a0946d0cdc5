#include "profiler/profiler.h"

#include "geo/distance.h"
#include "profiler/lift.h"
#include "simlink/simlink.h"

#include <algorithm>

namespace {
constexpr double kSearchLimitKm = 10.0;
} // namespace

TProfiler::TProfiler(const ThermalList& thermals, SimLink& link)
    : thermals_(thermals)
    , link_(link) {}

void TProfiler::Tick(const ProfilerSettings& settings) {
    // With no position read yet there is nothing to measure from.
    const std::optional<GeoPoint> aircraft = link_.Position();
    if (!aircraft)
        return;
    if (!started_) {
        Start(*aircraft, settings);
        return;
    }
    // The impulse fades even while no thermal is held, so no roll rate is left behind
    // when its thermal was forgotten.
    FadeRoll();
    if (searchAll_) {
        Search(*aircraft, thermals_.size());
        searchAll_ = current_ == nullptr;
        // The simulator still holds the lift of the thermal that is gone: with none
        // within reach to take its place, there is no lift.
        if (searchAll_) {
            lift_ = 0;
            link_.SetLift(lift_, 0);
            return;
        }
    } else if (current_ && settings.sampleSize > 0) {
        Search(*aircraft, static_cast<std::size_t>(settings.sampleSize));
    }
    if (current_)
        WriteLift(*aircraft, settings.lift);
}

void TProfiler::Stop() {
    if (current_) {
        current_->SetActive(false);
        current_ = nullptr;
    }
    started_ = false;
    searchAll_ = false;
    lift_ = -1;
}

void TProfiler::Forget(const Thermal* t) {
    if (!current_ || (t && t != current_))
        return;
    current_->SetActive(false);
    current_ = nullptr;
    searchAll_ = started_;
}

void TProfiler::Start(GeoPoint aircraft, const ProfilerSettings& settings) {
    started_ = true;
    const double distanceKm = Search(aircraft, thermals_.size());
    // Read only now: from here on the profiler itself overwrites that byte.
    msStrength_ = link_.GetMsStrength();
    if (current_ && settings.roll) {
        roll_ = ComputeRoll(*current_, aircraft, link_.GetHeading(), distanceKm, msStrength_,
                            settings.rollRatePercent);
        link_.SetRollRate(roll_);
        rollStep_ = 0;
    } else {
        rollStep_ = kNoRoll;
    }
    if (current_)
        WriteLift(aircraft, settings.lift);
}

void TProfiler::FadeRoll() {
    if (rollStep_ >= kRollSteps)
        return;
    ++rollStep_;
    link_.SetRollRate(roll_ * (1 - rollStep_ / static_cast<double>(kRollSteps)));
}

double TProfiler::Search(GeoPoint aircraft, std::size_t n) {
    // The thermal being flown takes part with its fresh distance, so a sample that misses it
    // cannot make a farther one current (which would drop the lift for that tick).
    Thermal* const previous = current_;
    double nearestKm = kSearchLimitKm;
    if (current_)
        nearestKm = std::min(nearestKm, DistanceKm(aircraft, current_->Position()));
    const std::size_t count = thermals_.size();
    if (count > 0 && n > 0) {
        if (searchIndex_ >= count)
            searchIndex_ = 0; // the list shrank since the last search
        // Looking at a thermal a second time cannot change the pick (only a strictly nearer
        // one wins), so at most one pass is made; the index still moves on by n.
        const std::size_t looks = std::min(n, count);
        for (std::size_t i = 0; i < looks; ++i) {
            std::size_t index = searchIndex_ + i;
            if (index >= count)
                index -= count;
            Thermal* t = thermals_[index].get();
            const double km = DistanceKm(aircraft, t->Position());
            if (km < nearestKm) {
                nearestKm = km;
                current_ = t;
            }
        }
        searchIndex_ = (searchIndex_ + n % count) % count;
    }
    // Out of reach, the previous thermal stays current but is no longer marked.
    const bool withinReach = nearestKm < kSearchLimitKm;
    if (previous && (previous != current_ || !withinReach))
        previous->SetActive(false);
    if (withinReach && !current_->active)
        current_->SetActive(true);
    return nearestKm;
}

void TProfiler::WriteLift(GeoPoint aircraft, const LiftModel& model) {
    const ThermalLift lift = LiftAtAircraft(*current_, model, msStrength_, aircraft,
                                            link_.GetGroundAlt(), link_.GetAltitude());
    lift_ = lift.byte;
    link_.SetLift(lift.byte, lift.lift * model.climbMsPerUnit);
}
