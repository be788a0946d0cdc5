#include "variables.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

// Values are stored in the memory as the little-endian bytes the protocol carries.
static_assert(std::endian::native == std::endian::little);

namespace {

constexpr std::uint32_t groundOffset = 0x0020;
constexpr std::uint32_t positionOffset = 0x0560;
constexpr std::uint32_t altitudeOffset = 0x0574;
constexpr std::uint32_t headingOffset = 0x0580;
constexpr std::uint32_t blockOffset = 0x2AE0;
constexpr std::uint32_t strengthOffset = 0x2AE6;
constexpr std::uint32_t blockMarkOffset = 0x2AE7;
constexpr std::uint32_t fsuipcVersionOffset = 0x3304;
constexpr std::uint32_t fsVersionOffset = 0x3308;
constexpr std::uint32_t rollRateOffset = 0x30B0;

constexpr double twoTo32 = 4294967296.0;
constexpr double rawPerLatDegree = 10001750.0 * twoTo32 / 90.0;
constexpr double rawPerLonDegree = twoTo32 * twoTo32 / 360.0;

bool Overlaps(std::uint32_t begin, std::uint32_t end, std::uint32_t offset, std::uint32_t size) {
    return begin < offset + size && offset < end;
}

} // namespace

SimVariables::SimVariables(SimState& state, std::uint32_t fsuipcVersion, std::uint32_t fsVersion)
    : state_(state)
    , fsuipcVersion_(fsuipcVersion)
    , fsVersion_(fsVersion) {}

template <typename T> void SimVariables::Store(std::uint32_t offset, T value) {
    std::memcpy(memory_.data() + offset, &value, sizeof value);
}

template <typename T> T SimVariables::Load(std::uint32_t offset) const {
    T value;
    std::memcpy(&value, memory_.data() + offset, sizeof value);
    return value;
}

void SimVariables::Refresh() {
    Store(fsuipcVersionOffset, fsuipcVersion_);
    Store(fsVersionOffset, fsVersion_);
    // Latitude stays within +-90, so it fits its raw range; longitude +180 would be exactly
    // 2^63 and is held just inside.
    Store(positionOffset, static_cast<std::int64_t>(state_.lat * rawPerLatDegree));
    const double lonRaw = std::remainder(state_.lon, 360.0) * rawPerLonDegree;
    Store(positionOffset + 8,
          static_cast<std::int64_t>(std::clamp(lonRaw, -0x1p63, 0x1p63 - 1024)));
    Store(groundOffset, static_cast<std::int32_t>(GroundElevation(state_) * 256.0));
    Store(altitudeOffset, static_cast<std::int32_t>(state_.altitude));
    Store(headingOffset, static_cast<std::uint32_t>(state_.heading / 360.0 * twoTo32));
    for (std::uint32_t i = blockOffset; i < strengthOffset; ++i)
        memory_[i] = std::byte{0};
    memory_[strengthOffset] = static_cast<std::byte>(state_.strength);
    memory_[blockMarkOffset] = state_.blockPresent ? std::byte{0x40} : std::byte{0};
}

void SimVariables::ReadOffset(std::uint32_t offset, std::span<std::byte> data) {
    Refresh();
    std::fill(data.begin(), data.end(), std::byte{0});
    if (offset < memory_.size()) {
        const std::size_t count = std::min<std::size_t>(data.size(), memory_.size() - offset);
        std::memcpy(data.data(), memory_.data() + offset, count);
    }
}

void SimVariables::WriteOffset(std::uint32_t offset, std::span<const std::byte> data) {
    if (offset >= memory_.size())
        return;
    Refresh();
    const std::size_t count = std::min<std::size_t>(data.size(), memory_.size() - offset);
    std::memcpy(memory_.data() + offset, data.data(), count);
    ApplyWritten(offset, static_cast<std::uint32_t>(offset + count));
}

void SimVariables::ApplyWritten(std::uint32_t begin, std::uint32_t end) {
    if (Overlaps(begin, end, positionOffset, 16)) {
        state_.lat = std::clamp(Load<std::int64_t>(positionOffset) / rawPerLatDegree, -90.0, 90.0);
        state_.lon = Load<std::int64_t>(positionOffset + 8) / rawPerLonDegree;
    }
    if (Overlaps(begin, end, strengthOffset, 1))
        state_.strength = std::to_integer<int>(memory_[strengthOffset]);
    if (Overlaps(begin, end, rollRateOffset, 8)) {
        const double rollRate = Load<double>(rollRateOffset);
        if (std::isfinite(rollRate))
            state_.rollRate = rollRate;
    }
}
