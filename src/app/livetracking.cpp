#include "livetracking.h"

#include "dialogs/thermaldata.h"
#include "document/document.h"
#include "geo/distance.h"
#include "simlink/simlink.h"

#include <QTimer>

LiveTracking::LiveTracking(std::unique_ptr<SimLink> link, Document& document,
                           const TThermalData& settings, const TimerIntervals& intervals,
                           QObject* parent)
    : QObject(parent)
    , link_(std::move(link))
    , document_(document)
    , settings_(settings)
    , profiler_(document.thermals(), *link_) {
    // The profiler must never reach a removed thermal.
    connect(&document_, &Document::thermalRemoving, this,
            [this](const Thermal* thermal) { profiler_.Forget(thermal); });

    const auto makeTimer = [this](const char* name, int interval, void (LiveTracking::*work)()) {
        auto* timer = new QTimer(this);
        timer->setObjectName(QLatin1String(name));
        timer->setInterval(interval);
        connect(timer, &QTimer::timeout, this, work);
        // An interval of 0 means the timer does not run (Qt would fire it continuously).
        if (interval > 0)
            timer->start();
        return timer;
    };
    profilerTimer_ = makeTimer("Profiler", intervals.profiler, &LiveTracking::ProfilerTimer);
    displayTimer_ =
        makeTimer("DisplayUpdateTimer", intervals.display, &LiveTracking::DisplayUpdateTimerTimer);
    readTimer_ = makeTimer("ReadDataTimer", intervals.dataRead, &LiveTracking::ReadDataTimerTimer);
}

LiveTracking::~LiveTracking() {
    StopTimers();
}

void LiveTracking::StopTimers() {
    readTimer_->stop();
    displayTimer_->stop();
    profilerTimer_->stop();
}

void LiveTracking::ReadDataTimerTimer() {
    link_->ReadCycle();
}

void LiveTracking::DisplayUpdateTimerTimer() {
    const double lat = link_->GetLat();
    const double lon = link_->GetLon();
    emit aircraftShown(lat, lon, link_->GetGroundAlt());
    if (settings_.GetAutoThermals()) {
        const double metres = Distance(lastThermalLat_, lastThermalLon_, lat, lon) * 1000;
        if (settings_.autoThermalDistValue < metres)
            ThermalAtAircraft();
    }
}

void LiveTracking::ProfilerTimer() {
    if (!settings_.GetProfileOnOff())
        return;
    if (link_->ThermalBlockPresent())
        profiler_.Tick(settings_.GetRoll(), settings_.rollRateValue, settings_.sampleSizeValue);
    else
        profiler_.Stop();
}

Thermal& LiveTracking::AddThermal(double lat, double lon) {
    Thermal& t = document_.AddThermal(lat, lon, settings_.values());
    lastThermalLat_ = link_->GetLat();
    lastThermalLon_ = link_->GetLon();
    return t;
}

Thermal& LiveTracking::ThermalAtAircraft() {
    link_->ReadCycle();
    Thermal& t = AddThermal(link_->GetLat(), link_->GetLon());
    // The remainder keeps the dividend's sign: a heading of -170 gives wind from -80.
    if (settings_.GetWindRight())
        t.SetWindDir(TruncateToInt(link_->GetHeading() + 90) % 360);
    if (settings_.GetWindLeft())
        t.SetWindDir(TruncateToInt(link_->GetHeading() + 270) % 360);
    const double ground = link_->GetGroundAlt();
    if (settings_.GetTopsMSL()) {
        t.SetTop(TruncateToInt(t.top - ground));
        t.SetCloudBase(TruncateToInt(t.cloudBase - ground));
    }
    t.SetGroundHeight(TruncateToInt(ground));
    return t;
}

Waypoint& LiveTracking::WaypointAtAircraft(const std::string& name) {
    link_->ReadCycle();
    Waypoint& w = document_.AddWaypoint(link_->GetLat(), link_->GetLon(), name);
    w.SetGroundHeight(TruncateToInt(link_->GetGroundAlt()));
    return w;
}

void LiveTracking::MoveAircraft(double lat, double lon) {
    link_->MoveAircraft(lat, lon);
}
