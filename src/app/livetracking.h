#pragma once

#include "io/settings.h"
#include "model/thermal.h"
#include "model/waypoint.h"
#include "profiler/profiler.h"

#include <memory>
#include <string>

#include <QObject>

class Document;
class QTimer;
class SimLink;
class TThermalData;

// The live work while the program runs: the simulator link, the profiler, the three timers
// that drive them (read cycle, display, profiler), the automatic thermals, and the commands
// that work at the aircraft's position.
class LiveTracking : public QObject {
    Q_OBJECT
public:
    LiveTracking(std::unique_ptr<SimLink> link, Document& document, const TThermalData& settings,
                 const TimerIntervals& intervals, QObject* parent = nullptr);
    ~LiveTracking() override;

    // The three timers' work.
    void ReadDataTimerTimer();
    void DisplayUpdateTimerTimer();
    void ProfilerTimer();
    // No timer event may reach the link, the profiler or the lists after this.
    void StopTimers();

    // A thermal with the Thermal Data values at a position; the automatic thermals measure
    // their distance from the aircraft's position at the last one.
    Thermal& AddThermal(double lat, double lon);
    Thermal& ThermalAtAircraft();
    Waypoint& WaypointAtAircraft(const std::string& name);
    void MoveAircraft(double lat, double lon);

    SimLink& link() const { return *link_; }
    const TProfiler& profiler() const { return profiler_; }
    QTimer& readTimer() const { return *readTimer_; }
    QTimer& displayTimer() const { return *displayTimer_; }
    QTimer& profilerTimer() const { return *profilerTimer_; }

signals:
    // Every display tick: where the aircraft is and the ground elevation below it, metres.
    void aircraftShown(double lat, double lon, double groundM);

private:
    std::unique_ptr<SimLink> link_;
    Document& document_;
    const TThermalData& settings_;
    TProfiler profiler_;
    double lastThermalLat_ = 0;
    double lastThermalLon_ = 0;
    QTimer* readTimer_ = nullptr;
    QTimer* displayTimer_ = nullptr;
    QTimer* profilerTimer_ = nullptr;
};
