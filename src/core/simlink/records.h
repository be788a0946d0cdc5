#pragma once

#include <cstddef>
#include <cstdint>

// The request area both sides share: its size, the request limit, the record layout and
// little-endian access to its fields. Records lie end to end from the start of the area
// and the batch ends with a 32-bit zero.
namespace records {

inline constexpr std::uint32_t areaSize = 0x8000;     // bytes mapped
inline constexpr std::uint32_t requestLimit = 0x7F00; // records plus terminator

inline constexpr std::uint32_t endId = 0;
inline constexpr std::uint32_t readId = 1;
inline constexpr std::uint32_t writeId = 2;

// Read: id, offset, size, destination token, then the data.
inline constexpr std::uint32_t readHeader = 16;
// Write: id, offset, size, then the data.
inline constexpr std::uint32_t writeHeader = 12;
inline constexpr std::uint32_t terminator = 4;

inline std::uint32_t LoadU32(const std::byte* p) {
    return std::to_integer<std::uint32_t>(p[0]) | std::to_integer<std::uint32_t>(p[1]) << 8 |
           std::to_integer<std::uint32_t>(p[2]) << 16 | std::to_integer<std::uint32_t>(p[3]) << 24;
}

inline void StoreU32(std::byte* p, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::byte>(value >> (8 * i));
}

} // namespace records
