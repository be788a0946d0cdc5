#include "simlink/threadedlink.h"

#include <algorithm>
#include <cmath>

ThreadedLink::ThreadedLink(std::unique_ptr<Transport> transport,
                           std::chrono::milliseconds readInterval, LinkTiming timing)
    : worker_(std::move(transport), readInterval, timing) {}

void ThreadedLink::SetMsStrength(int value) {
    worker_.WriteStrength(std::clamp(value, 0, 255));
}

void ThreadedLink::SetRollRate(double value) {
    if (std::isfinite(value))
        worker_.WriteRoll(value);
}

void ThreadedLink::MoveAircraft(double lat, double lon) {
    if (!std::isfinite(lat) || !std::isfinite(lon))
        return;
    snapshot_.lat = lat;
    snapshot_.lon = lon;
    worker_.MoveAircraft(lat, lon);
}
