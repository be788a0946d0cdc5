#include "simlink/fsupic.h"

#include "simlink/simvalues.h"

#include <algorithm>
#include <cmath>

using namespace simvalues;

namespace {

// The link result after a failed exchange: down, so the next cycle reconnects.
constexpr std::uint32_t linkDown = 1;

constexpr std::size_t strengthByte = strengthOffset - thermalBlockOffset;
constexpr std::size_t markByte = blockMarkOffset - thermalBlockOffset;

} // namespace

FSUPIC::FSUPIC(std::unique_ptr<Transport> transport, LinkTiming timing)
    : link_(std::move(transport), timing) {
    Connect();
}

void FSUPIC::Connect() {
    link_.Open(0, linkResult_);
}

void FSUPIC::GoDown() {
    link_.Close();
    linkResult_ = linkDown;
    positionRead_ = false;
}

void FSUPIC::ReadCycle() {
    if (linkResult_ != resultOkay)
        Connect();
    if (linkResult_ != resultOkay)
        return;
    std::uint32_t result = 0;
    const bool done =
        link_.Read(positionOffset, sizeof position_, position_.data(), result) &&
        link_.Read(groundOffset, sizeof groundElevation_, &groundElevation_, result) &&
        link_.Read(altitudeOffset, sizeof altitude_, &altitude_, result) &&
        link_.Read(thermalBlockOffset, sizeof thermalBlock_, thermalBlock_.data(), result) &&
        link_.Process(result);
    if (!done)
        GoDown();
    else
        positionRead_ = positionKnown_ = true;
}

LinkStatus FSUPIC::Status() const {
    if (linkResult_ == resultOkay)
        return {positionRead_, "Linked"};
    return {false, linkResult_ == resultNoServer ? "No simulator" : "Not answering"};
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
    if (linkResult_ == resultOkay) {
        std::uint32_t result = 0;
        if (!link_.Read(headingOffset, sizeof heading_, &heading_, result) ||
            !link_.Process(result))
            GoDown();
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

void FSUPIC::WriteIfLinked(std::uint32_t offset, std::uint32_t size, const void* source) {
    if (linkResult_ != resultOkay)
        return;
    std::uint32_t result = 0;
    if (link_.Write(offset, size, source, result))
        link_.Process(result);
}

void FSUPIC::SetMsStrength(int value) {
    // Held within the byte's range: a wrapped value would turn strong lift into none.
    const auto strength = static_cast<std::uint8_t>(std::clamp(value, 0, 255));
    WriteIfLinked(strengthOffset, sizeof strength, &strength);
}

void FSUPIC::SetRollRate(double value) {
    if (std::isfinite(value))
        WriteIfLinked(rollRateOffset, sizeof value, &value);
}

void FSUPIC::MoveAircraft(GeoPoint to) {
    if (!std::isfinite(to.lat) || !std::isfinite(to.lon))
        return;
    position_ = {LatToRaw(to.lat), LonToRaw(to.lon)};
    positionKnown_ = true;
    WriteIfLinked(positionOffset, sizeof position_, position_.data());
}
