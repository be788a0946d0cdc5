#pragma once

#include "serve.h"
#include "simstate.h"

#include <array>
#include <cstddef>
#include <cstdint>

// The stand-in's offset space: 64 KiB like the simulator's, the variables the program uses
// kept current from the simulated state and zeros everywhere else, and writes to the
// position, the thermal strength, the vertical air and the roll rate applied back to the state.
class SimVariables : public OffsetSpace {
public:
    SimVariables(SimState& state, std::uint32_t fsuipcVersion, std::uint32_t fsVersion);

    void ReadOffset(std::uint32_t offset, std::span<std::byte> data) override;
    void WriteOffset(std::uint32_t offset, std::span<const std::byte> data) override;

private:
    void Refresh();
    void ApplyWritten(std::uint32_t begin, std::uint32_t end);
    template <typename T> void Store(std::uint32_t offset, T value);
    template <typename T> T Load(std::uint32_t offset) const;

    SimState& state_;
    const std::uint32_t fsuipcVersion_;
    // Read as 4 bytes at 0x3308, while the client writes its version over the upper half
    // at 0x330A: both versions are put back before every batch so that the next
    // handshake reads them again.
    const std::uint32_t fsVersion_;
    std::array<std::byte, 0x10000> memory_{};
};
