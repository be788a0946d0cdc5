#include "livetracking.h"

#include "document/document.h"
#include "geo/distance.h"
#include "simlink/simlink.h"

#include <algorithm>

#include <QTimer>

LiveTracking::LiveTracking(const LinkFactory& makeLink, Document& document,
                           const TimerIntervals& intervals, QObject* parent)
    : QObject(parent)
    , link_(makeLink(std::chrono::milliseconds(intervals.dataRead)))
    , document_(document)
    , profiler_(document.thermals(), *link_) {
    // Neither the profiler nor a wind waiting for the heading may reach a removed thermal.
    connect(&document_, &Document::thermalsRemoving, this,
            [this](std::size_t first, std::size_t count) {
                for (std::size_t i = first; i < first + count; ++i) {
                    const Thermal* thermal = document_.thermals()[i].get();
                    profiler_.Forget(thermal);
                    std::erase_if(pendingWinds_, [thermal](const PendingWind& wind) {
                        return wind.thermal == thermal;
                    });
                }
            });

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
    ApplyPendingWinds();
    // A link that is down breaks the trail: where it comes back is not where it was.
    if (const std::optional<GeoPoint> at = LivePosition())
        trail_.Add(now_(), *at, link_->GetAltitude());
    else
        trail_.Break();
}

void LiveTracking::DisplayUpdateTimerTimer() {
    FlightData data;
    data.position = link_->Position();
    data.groundM = link_->GetGroundAlt();
    data.altitudeM = link_->GetAltitude();
    data.climbMps = trail_.ClimbMps();
    data.headingDeg = link_->GetHeading();
    data.status = link_->Status();
    // The next tick shows a fresh heading; the link reads it on its own time.
    if (data.status.live)
        link_->RequestHeading();
    if (const Thermal* flown = profiler_.current()) {
        const auto& list = document_.thermals();
        const auto it = std::find_if(list.begin(), list.end(),
                                     [flown](const auto& t) { return t.get() == flown; });
        data.thermalNumber = static_cast<int>(it - list.begin()) + 1;
    }
    data.lift = profiler_.lift();
    // Once the profiler flies, the byte holds its own writes: it keeps the strength it read.
    data.msStrength = profiler_.msStrength().value_or(link_->GetMsStrength());
    emit aircraftShown(data);
    // The first check places one: there is no thermal to measure from yet.
    if (settings_.autoThermals && data.status.live && data.position &&
        (!lastThermal_ ||
         settings_.autoThermalDistM < DistanceKm(*lastThermal_, *data.position) * 1000))
        ThermalAtAircraft();
}

void LiveTracking::ProfilerTimer() {
    if (!settings_.profileOn)
        return;
    // Values that are not live are not flown: the profiler starts anew, from the strength
    // the simulator then holds, once the link answers again.
    if (link_->ThermalBlockPresent() && link_->Status().live)
        profiler_.Tick(settings_.profiler);
    else
        profiler_.Stop();
}

Thermal& LiveTracking::AddThermal(GeoPoint at) {
    Thermal& t = document_.AddThermal(at, settings_.newThermal);
    lastThermal_ = link_->Position();
    return t;
}

std::optional<GeoPoint> LiveTracking::LivePosition() const {
    return link_->Status().live ? link_->Position() : std::nullopt;
}

std::optional<GeoPoint> LiveTracking::FreshLivePosition() {
    link_->ReadCycle();
    if (const std::optional<GeoPoint> at = LivePosition())
        return at;
    // A position from before the link went down would put it in the wrong place.
    emit note(tr("Nothing placed: no live aircraft position (%1)")
                  .arg(QString::fromStdString(link_->Status().text)));
    return std::nullopt;
}

Thermal* LiveTracking::ThermalAtAircraft() {
    const std::optional<GeoPoint> at = FreshLivePosition();
    if (!at)
        return nullptr;
    ThermalSettings values = settings_.newThermal;
    const double ground = link_->GetGroundAlt();
    if (settings_.topsMsl) {
        values.top = TruncateToInt(values.top - ground);
        values.cloudBase = TruncateToInt(values.cloudBase - ground);
    }
    // The left side wins when both are asked for.
    const int offsetDeg = settings_.windFromLeft ? 270 : settings_.windFromRight ? 90 : 0;
    const bool headingLater = offsetDeg != 0 && link_->RequestHeading();
    if (offsetDeg != 0 && !headingLater)
        values.windDir = WindFromSide(offsetDeg);
    Thermal& t = document_.AddThermal(*at, values, TruncateToInt(ground));
    lastThermal_ = link_->Position();
    if (headingLater)
        pendingWinds_.push_back({&t, offsetDeg, link_->HeadingsServed()});
    return &t;
}

int LiveTracking::WindFromSide(int offsetDeg) const {
    // The remainder keeps the dividend's sign: a heading of -170 gives wind from -80.
    return TruncateToInt(link_->GetHeading() + offsetDeg) % 360;
}

void LiveTracking::ApplyPendingWinds() {
    std::erase_if(pendingWinds_, [this](const PendingWind& wind) {
        if (link_->HeadingsServed() <= wind.served)
            return false;
        for (const auto& t : document_.thermals()) {
            if (t.get() == wind.thermal)
                t->SetWindDir(WindFromSide(wind.offsetDeg));
        }
        return true;
    });
}

Waypoint* LiveTracking::WaypointAtAircraft(const std::string& name) {
    const std::optional<GeoPoint> at = FreshLivePosition();
    if (!at)
        return nullptr;
    return &document_.AddWaypoint(*at, name, TruncateToInt(link_->GetGroundAlt()));
}

void LiveTracking::MoveAircraft(GeoPoint to) {
    trail_.Break();
    link_->MoveAircraft(to);
}
