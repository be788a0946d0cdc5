#include "simlink/threadedlink.h"

#include <algorithm>
#include <cmath>

ThreadedLink::ThreadedLink(std::unique_ptr<Transport> transport,
                           std::chrono::milliseconds readInterval, LinkTiming timing)
    : staleAfter_(std::max<std::chrono::milliseconds>(3 * readInterval, std::chrono::seconds(1)))
    , worker_(std::move(transport), readInterval, timing) {}

LinkStatus ThreadedLink::Status() const {
    const auto now = LinkSnapshot::Clock::now();
    const bool live =
        snapshot_.positionRead && StateOf(snapshot_, now, staleAfter_) == LinkState::linked;
    return {live, LinkStateText(snapshot_, now, staleAfter_)};
}

bool ThreadedLink::RequestHeading() {
    worker_.RequestHeading();
    return true;
}

void ThreadedLink::SetMsStrength(int value) {
    worker_.WriteStrength(std::clamp(value, 0, 255), snapshot_.connection);
}

void ThreadedLink::SetLift(int strength, double verticalAirMs) {
    worker_.WriteStrength(std::clamp(strength, 0, 255), snapshot_.connection, verticalAirMs);
}

void ThreadedLink::SetRollRate(double value) {
    if (std::isfinite(value))
        worker_.WriteRoll(value, snapshot_.connection);
}

void ThreadedLink::MoveAircraft(GeoPoint to) {
    if (!std::isfinite(to.lat) || !std::isfinite(to.lon))
        return;
    snapshot_.position = to;
    worker_.MoveAircraft(to, snapshot_.connection);
}
