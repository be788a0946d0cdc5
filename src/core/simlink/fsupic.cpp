#include "simlink/fsupic.h"

#include "simlink/simvalues.h"

#include <algorithm>
#include <cmath>

using namespace simvalues;

namespace {

constexpr std::size_t strengthByte = strengthOffset - thermalBlockOffset;
constexpr std::size_t markByte = blockMarkOffset - thermalBlockOffset;

// Held within the byte's range: a wrapped value would turn strong lift into none.
std::uint8_t StrengthToRaw(int value) {
    return static_cast<std::uint8_t>(std::clamp(value, 0, 255));
}

} // namespace

FSUPIC::FSUPIC(std::unique_ptr<Transport> transport, LinkTiming timing)
    : link_(std::move(transport), timing) {
    Connect();
}

void FSUPIC::Connect() {
    linkResult_ = link_.Open(0);
}

void FSUPIC::GoDown(LinkResult why) {
    link_.Close();
    linkResult_ = why;
    positionRead_ = false;
}

LinkResult FSUPIC::Exchange(std::initializer_list<Request> reads) {
    for (const Request& read : reads)
        if (const LinkResult queued = link_.Read(read.offset, read.size, read.destination);
            queued != LinkResult::okay)
            return queued;
    return link_.Process();
}

void FSUPIC::ReadCycle() {
    if (linkResult_ != LinkResult::okay)
        Connect();
    if (linkResult_ != LinkResult::okay)
        return;
    const LinkResult result =
        Exchange({{positionOffset, sizeof position_, position_.data()},
                  {groundOffset, sizeof groundElevation_, &groundElevation_},
                  {altitudeOffset, sizeof altitude_, &altitude_},
                  {thermalBlockOffset, sizeof thermalBlock_, thermalBlock_.data()}});
    if (result != LinkResult::okay)
        GoDown(result);
    else
        positionRead_ = positionKnown_ = true;
}

LinkStatus FSUPIC::Status() const {
    if (linkResult_ == LinkResult::okay)
        return {positionRead_, "Linked"};
    return {false, linkResult_ == LinkResult::noServer ? "No simulator" : "Not answering"};
}

std::optional<GeoPoint> FSUPIC::Position() const {
    if (!positionKnown_)
        return std::nullopt;
    return GeoPoint{LatFromRaw(position_[0]), LonFromRaw(position_[1])};
}

double FSUPIC::GetGroundAlt() const {
    return GroundFromRaw(groundElevation_);
}

double FSUPIC::GetAltitude() const {
    return altitude_;
}

double FSUPIC::GetHeading() {
    if (linkResult_ == LinkResult::okay) {
        if (const LinkResult result = Exchange({{headingOffset, sizeof heading_, &heading_}});
            result != LinkResult::okay)
            GoDown(result);
    }
    return HeadingFromRaw(heading_);
}

bool FSUPIC::ThermalBlockPresent() const {
    return std::all_of(thermalBlock_.begin(), thermalBlock_.begin() + strengthByte,
                       [](std::uint8_t b) { return b == 0; }) &&
           thermalBlock_[markByte] == blockMark;
}

int FSUPIC::GetMsStrength() const {
    return thermalBlock_[strengthByte];
}

void FSUPIC::WriteIfLinked(std::initializer_list<Written> writes) {
    if (linkResult_ != LinkResult::okay)
        return;
    for (const Written& w : writes)
        if (link_.Write(w.offset, w.size, w.source) != LinkResult::okay)
            return;
    link_.Process();
}

void FSUPIC::SetMsStrength(int value) {
    const std::uint8_t strength = StrengthToRaw(value);
    WriteIfLinked({{strengthOffset, sizeof strength, &strength}});
}

void FSUPIC::SetLift(int strength, double verticalAirMs) {
    if (!link_.CarriesVerticalAir())
        return SetMsStrength(strength);
    const std::uint8_t byte = StrengthToRaw(strength);
    const std::int16_t air = VerticalAirToRaw(verticalAirMs);
    WriteIfLinked({{strengthOffset, sizeof byte, &byte}, {verticalAirOffset, sizeof air, &air}});
}

void FSUPIC::SetRollRate(double value) {
    if (std::isfinite(value))
        WriteIfLinked({{rollRateOffset, sizeof value, &value}});
}

void FSUPIC::MoveAircraft(GeoPoint to) {
    if (!std::isfinite(to.lat) || !std::isfinite(to.lon))
        return;
    position_ = {LatToRaw(to.lat), LonToRaw(to.lon)};
    positionKnown_ = true;
    WriteIfLinked({{positionOffset, sizeof position_, position_.data()}});
}
