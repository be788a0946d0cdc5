#pragma once

#include "model/thermal.h"
#include "profiler/thermallift.h"

#include <cstddef>
#include <optional>

class SimLink;

// How the profiler flies, as the Thermal Data window sets it.
struct ProfilerSettings {
    bool roll = false;       // a roll impulse when a thermal is first taken up
    int rollRatePercent = 0; // of the impulse's full strength
    int sampleSize = 0;      // thermals looked at per tick
    LiftModel lift{};        // how every thermal lifts
};

// Shapes the lift the simulator gives the aircraft: on every tick it keeps track of the
// nearest thermal within 10 km and writes the lift of the chosen shape at the aircraft into
// the simulator's thermal strength byte, and the signed air where the link carries it. Holds
// the list and the link without owning them.
class TProfiler {
public:
    TProfiler(const ThermalList& thermals, SimLink& link);

    // One profiler step; nothing while the link has no position. The first tick after creation or
    // Stop searches the whole list, reads the simulator's own strength and may give a roll impulse;
    // later ticks fade the impulse and look at the next sampleSize thermals.
    void Tick(const ProfilerSettings& settings);
    // Back to the stopped state: the current thermal is released and the next tick starts
    // anew.
    void Stop();
    // Called before thermals are destroyed: t, or every thermal when t is null. If the
    // profiler holds it, it lets go at once and picks the nearest of the remaining ones on
    // the next tick, still from the strength it read at the start (the strength byte now
    // holds the profiler's own writes). While none is within reach, every tick writes 0,
    // so no lift of the removed thermal stays behind, and searches the whole list again,
    // so a thermal added or loaded later is taken up.
    void Forget(const Thermal* t);

    const Thermal* current() const { return current_; }
    // The strength last written, or -1 before the first write since a stop.
    int lift() const { return lift_; }
    // The simulator's own strength it flies from; none while stopped.
    std::optional<int> msStrength() const {
        return started_ ? std::optional(msStrength_) : std::nullopt;
    }

private:
    void Start(GeoPoint aircraft, const ProfilerSettings& settings);
    void FadeRoll();
    // Looks at the next n thermals; the nearest within reach, the current one included,
    // becomes current. Returns the distance to it, or the search limit when none is within
    // reach.
    double Search(GeoPoint aircraft, std::size_t n);
    void WriteLift(GeoPoint aircraft, const LiftModel& model);

    const ThermalList& thermals_;
    SimLink& link_;
    bool started_ = false;
    bool searchAll_ = false; // the current thermal was forgotten while started, none found yet
    int msStrength_ = 0;
    int lift_ = -1;
    Thermal* current_ = nullptr;
    double roll_ = 0;
    int rollStep_ = kNoRoll;
    std::size_t searchIndex_ = 0;

    static constexpr int kNoRoll = 1000;
    static constexpr int kRollSteps = 10;
};
