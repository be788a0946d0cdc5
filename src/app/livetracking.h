#pragma once

#include "flight/trail.h"
#include "io/settings.h"
#include "model/thermal.h"
#include "model/waypoint.h"
#include "profiler/livesettings.h"
#include "profiler/profiler.h"
#include "simlink/simlink.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QObject>

class Document;
class QTimer;

// What the display tick shows: the aircraft, its flight and the live work.
struct FlightData {
    std::optional<GeoPoint> position; // none before the link has read or been moved to one
    double groundM = 0;
    double altitudeM = 0; // above sea level
    double climbMps = 0;
    double headingDeg = 0;
    LinkStatus status;
    int thermalNumber = 0; // 1-based place in the list of the thermal the profiler flies; 0 none
    int lift = -1;         // the strength it last wrote; -1 none since it started
    int msStrength = 0;    // the simulator's strength the thermals rise at
};
class SimLink;

// The live work while the program runs: the simulator link, the profiler, the three timers
// that drive them (read cycle, display, profiler), the automatic thermals, and the commands
// that work at the aircraft's position.
class LiveTracking : public QObject {
    Q_OBJECT
public:
    // Makes the link, given the interval of its read cycle.
    using LinkFactory = std::function<std::unique_ptr<SimLink>(std::chrono::milliseconds)>;

    LiveTracking(const LinkFactory& makeLink, Document& document, const TimerIntervals& intervals,
                 QObject* parent = nullptr);
    ~LiveTracking() override;

    // The three timers' work.
    void ReadDataTimerTimer();
    void DisplayUpdateTimerTimer();
    void ProfilerTimer();
    // No timer event may reach the link, the profiler or the lists after this.
    void StopTimers();
    // The Thermal Data window's values and switches, read from the next tick or command on.
    void SetSettings(const LiveSettings& settings) { settings_ = settings; }

    // A thermal with the values for new thermals at a position; the automatic thermals
    // measure their distance from the aircraft's position at the last one.
    Thermal& AddThermal(GeoPoint at);
    // At the aircraft's position; nothing (and a note why) while the link has no live
    // position. A thermal's wind from the aircraft's side follows once the link has read
    // the heading.
    Thermal* ThermalAtAircraft();
    Waypoint* WaypointAtAircraft(const std::string& name);
    void MoveAircraft(GeoPoint to);

    SimLink& link() const { return *link_; }
    const TProfiler& profiler() const { return profiler_; }
    const Trail& trail() const { return trail_; }
    void ClearTrail() { trail_.Clear(); }
    // The clock the trail's points are timed by, which tells a flown step from a jump; tests
    // fly on one of their own.
    void SetClock(std::function<Trail::Clock::time_point()> now) { now_ = std::move(now); }
    QTimer& readTimer() const { return *readTimer_; }
    QTimer& displayTimer() const { return *displayTimer_; }
    QTimer& profilerTimer() const { return *profilerTimer_; }

signals:
    // Every display tick.
    void aircraftShown(const FlightData& data);
    // Something the pilot asked for did not happen, and why.
    void note(const QString& text);

private:
    // A thermal placed at the aircraft that waits for the heading to turn its wind.
    struct PendingWind {
        const Thermal* thermal;
        int offsetDeg; // 90: wind from the right, 270: from the left
        std::uint64_t served;
    };
    // The position while the link is live, else none.
    std::optional<GeoPoint> LivePosition() const;
    // The live position after a fresh read cycle; none, with a note why, without one.
    std::optional<GeoPoint> FreshLivePosition();
    // The wind's direction from a side of the aircraft's heading.
    int WindFromSide(int offsetDeg) const;
    void ApplyPendingWinds();

    std::unique_ptr<SimLink> link_;
    Document& document_;
    LiveSettings settings_;
    TProfiler profiler_;
    Trail trail_;
    std::function<Trail::Clock::time_point()> now_ = Trail::Clock::now;
    // The aircraft's position when the last thermal was added; none before the first.
    std::optional<GeoPoint> lastThermal_;
    std::vector<PendingWind> pendingWinds_;
    QTimer* readTimer_ = nullptr;
    QTimer* displayTimer_ = nullptr;
    QTimer* profilerTimer_ = nullptr;
};
