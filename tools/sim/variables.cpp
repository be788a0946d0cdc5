#include "variables.h"

#include "simlink/simvalues.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

// Values are stored in the memory as the little-endian bytes the protocol carries.
static_assert(std::endian::native == std::endian::little);

using namespace simvalues;

namespace {

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
    Store(positionOffset, LatToRaw(state_.lat));
    Store(positionOffset + 8, LonToRaw(std::remainder(state_.lon, 360.0)));
    Store(groundOffset, GroundToRaw(GroundElevation(state_)));
    Store(altitudeOffset, static_cast<std::int32_t>(state_.altitude));
    Store(headingOffset, HeadingToRaw(state_.heading));
    for (std::uint32_t i = thermalBlockOffset; i < strengthOffset; ++i)
        memory_[i] = std::byte{0};
    memory_[strengthOffset] = static_cast<std::byte>(state_.strength);
    memory_[blockMarkOffset] = state_.blockPresent ? std::byte{blockMark} : std::byte{0};
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
    // Only the variables it serves are remembered (the next read refreshes them from the
    // state); anywhere else a write leaves nothing behind to read.
    std::fill_n(memory_.begin() + offset, count, std::byte{0});
}

void SimVariables::ApplyWritten(std::uint32_t begin, std::uint32_t end) {
    if (Overlaps(begin, end, positionOffset, 16)) {
        state_.lat = std::clamp(LatFromRaw(Load<std::int64_t>(positionOffset)), -90.0, 90.0);
        state_.lon = LonFromRaw(Load<std::int64_t>(positionOffset + 8));
        ++state_.moves;
    }
    // The vertical air comes after the byte in the same exchange; a byte alone (from a
    // program that does not send the air) is the lift again.
    if (Overlaps(begin, end, strengthOffset, 1)) {
        state_.strength = std::to_integer<int>(memory_[strengthOffset]);
        state_.verticalAirMs.reset();
        ++state_.strengthWrites;
    }
    if (Overlaps(begin, end, verticalAirOffset, 2))
        state_.verticalAirMs = VerticalAirFromRaw(Load<std::int16_t>(verticalAirOffset));
    if (Overlaps(begin, end, rollRateOffset, 8)) {
        const double rollRate = Load<double>(rollRateOffset);
        if (std::isfinite(rollRate))
            state_.rollRate = rollRate;
    }
}
