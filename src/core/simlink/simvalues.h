#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

// The simulator variables the program uses: where they lie and how their raw values turn
// into degrees and metres and back. The link and the stand-in simulator both use these, so
// the two sides cannot drift apart.
namespace simvalues {

inline constexpr std::uint32_t groundOffset = 0x0020;       // i32, metres x 256
inline constexpr std::uint32_t positionOffset = 0x0560;     // i64 latitude, then i64 longitude
inline constexpr std::uint32_t altitudeOffset = 0x0574;     // i32, whole metres
inline constexpr std::uint32_t headingOffset = 0x0580;      // i32, 2^32 to the full circle
inline constexpr std::uint32_t thermalBlockOffset = 0x2AE0; // 8 bytes
inline constexpr std::uint32_t strengthOffset = 0x2AE6;     // byte 6 of the block
inline constexpr std::uint32_t blockMarkOffset = 0x2AE7;    // byte 7 of the block
inline constexpr std::uint32_t rollRateOffset = 0x30B0;     // double
// The program's own, served only by the stand-in and our bridges (Transport::
// CarriesVerticalAir): the vertical air at the aircraft, i16 cm/s, below 0 sinking. Written in
// the same exchange as the strength byte, after it; a strength byte written alone stands for
// the lift again.
inline constexpr std::uint32_t verticalAirOffset = 0xBEA0;
inline constexpr std::uint32_t fsuipcVersionOffset = 0x3304;
inline constexpr std::uint32_t fsVersionOffset = 0x3308;
inline constexpr std::uint32_t libraryVersionOffset = 0x330A;

inline constexpr std::uint8_t blockMark = 0x40;

inline constexpr double twoTo32 = 4294967296.0;
// Raw latitude units per degree: 10001750 x 2^32 / 90; raw longitude: 2^64 / 360.
inline constexpr double rawPerLatDegree = 10001750.0 * twoTo32 / 90.0;
inline constexpr double rawPerLonDegree = twoTo32 * twoTo32 / 360.0;

inline double LatFromRaw(std::int64_t raw) {
    return static_cast<double>(raw) / rawPerLatDegree;
}

inline double LonFromRaw(std::int64_t raw) {
    return static_cast<double>(raw) / rawPerLonDegree;
}

// Truncates toward zero; a value past the 64-bit range is held at the range's end rather
// than overflowing.
inline std::int64_t DegreesToRaw(double degrees, double rawPerDegree) {
    const double raw = std::trunc(degrees * rawPerDegree);
    constexpr double limit = 9223372036854775808.0; // 2^63
    if (raw >= limit)
        return std::numeric_limits<std::int64_t>::max();
    if (raw < -limit)
        return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(raw);
}

inline std::int64_t LatToRaw(double degrees) {
    return DegreesToRaw(degrees, rawPerLatDegree);
}

// 2^64 raw units are a full circle, so a longitude past 180 degrees either way wraps around:
// 190 E is 170 W, and 180 E is 180 W (the lowest raw value).
inline std::int64_t LonToRaw(double degrees) {
    const double wrapped = degrees - 360.0 * std::floor((degrees + 180.0) / 360.0);
    return DegreesToRaw(wrapped, rawPerLonDegree);
}

inline double GroundFromRaw(std::int32_t raw) {
    return raw / 256.0;
}

inline std::int32_t GroundToRaw(double metres) {
    return static_cast<std::int32_t>(metres * 256.0);
}

// Taken as signed, so headings past 180 degrees come out negative.
inline double HeadingFromRaw(std::int32_t raw) {
    return raw * 360.0 / twoTo32;
}

// For a heading from 0 up to 360 degrees.
inline std::uint32_t HeadingToRaw(double degrees) {
    return static_cast<std::uint32_t>(degrees / 360.0 * twoTo32);
}

// Rounded to whole cm/s, held within the 16 bits; not a number is still air.
inline std::int16_t VerticalAirToRaw(double metresPerSecond) {
    if (!std::isfinite(metresPerSecond))
        return 0;
    const double raw = std::round(metresPerSecond * 100.0);
    return static_cast<std::int16_t>(std::clamp(raw, -32768.0, 32767.0));
}

inline double VerticalAirFromRaw(std::int16_t raw) {
    return raw / 100.0;
}

} // namespace simvalues
