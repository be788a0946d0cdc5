#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// The server's side of a batch: what the records read from and write to.
class OffsetSpace {
public:
    virtual ~OffsetSpace() = default;
    // Fills `data` with the bytes at `offset`.
    virtual void ReadOffset(std::uint32_t offset, std::span<std::byte> data) = 0;
    virtual void WriteOffset(std::uint32_t offset, std::span<const std::byte> data) = 0;
};

// Applies the batch of request records in a client's area: fills every read, applies every
// write. Stops at the terminator, at an unknown id, or at a record that runs past the area.
void ServeRecords(std::span<std::byte> area, OffsetSpace& space);
