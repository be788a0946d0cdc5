#include "simlink/fsupic.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr std::uint32_t positionOffset = 0x0560;
constexpr std::uint32_t groundOffset = 0x0020;
constexpr std::uint32_t altitudeOffset = 0x0574;
constexpr std::uint32_t headingOffset = 0x0580;
constexpr std::uint32_t thermalBlockOffset = 0x2AE0;
constexpr std::uint32_t strengthOffset = 0x2AE6;
constexpr std::uint32_t rollRateOffset = 0x30B0;

constexpr double twoTo32 = 4294967296.0;
constexpr double twoTo64 = twoTo32 * twoTo32;
// Raw latitude units per degree: 10001750 x 2^32 / 90; raw longitude: 2^64 / 360.
constexpr double rawPerLatDegree = 10001750.0 * twoTo32 / 90.0;
constexpr double rawPerLonDegree = twoTo64 / 360.0;

// The link result after a failed exchange: down, so the next cycle reconnects.
constexpr std::uint32_t linkDown = 1;

constexpr std::size_t strengthByte = 6;
constexpr std::uint8_t blockMark = 0x40;

// Truncates toward zero; a value past the 64-bit range (longitude +180 is exactly 2^63)
// is held at the range's end rather than overflowing.
std::int64_t ToRaw(double degrees, double rawPerDegree) {
    const double raw = std::trunc(degrees * rawPerDegree);
    constexpr double limit = 9223372036854775808.0; // 2^63
    if (raw >= limit)
        return std::numeric_limits<std::int64_t>::max();
    if (raw < -limit)
        return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(raw);
}

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
}

double FSUPIC::GetLat() const {
    return static_cast<double>(position_[0]) / rawPerLatDegree;
}

double FSUPIC::GetLon() const {
    return static_cast<double>(position_[1]) / rawPerLonDegree;
}

double FSUPIC::GetGroundAlt() const {
    return groundElevation_ / 256.0;
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
    return heading_ * 360.0 / twoTo32;
}

bool FSUPIC::ThermalBlockPresent() const {
    return std::all_of(thermalBlock_.begin(), thermalBlock_.begin() + strengthByte,
                       [](std::uint8_t b) { return b == 0; }) &&
           thermalBlock_[7] == blockMark;
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

void FSUPIC::MoveAircraft(double lat, double lon) {
    if (!std::isfinite(lat) || !std::isfinite(lon))
        return;
    position_ = {ToRaw(lat, rawPerLatDegree), ToRaw(lon, rawPerLonDegree)};
    WriteIfLinked(positionOffset, sizeof position_, position_.data());
}
