#pragma once

#include "messages/message.h"
#include "model/thermal.h"

#include <array>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <string_view>

// The randomizing behind the "Randomize Thermals" window, free of widgets.

// The fields that get a value between a Min and a Max, named as their rows' check boxes
// (the names appear in the conversion messages).
enum class RangeField {
    thermBottom,
    thermTop,
    thermRadius,
    thermWinddir,
    thermFactor,
    cloudBase,
    cloudRadius,
    cloudType,
    profileStrength,
    profileSize,
    profileTop,
    profileBottom,
};
inline constexpr int kRangeFieldCount = 12;

const char* RangeFieldName(RangeField field);

// A Min or Max text: a decimal number truncated toward zero ("1.9" is 1, "-1.5" is -1);
// nothing when the text does not convert or the whole number does not fit an int.
std::optional<int> ParseWholeNumber(std::string_view text);

// min + (r rem n) with n = max - min + 1, in 64-bit arithmetic so that no range overflows;
// a max below min draws between the two. r is a non-negative 31-bit draw.
int ValueInRange(int min, int max, std::uint32_t r);

// Types 1 to 4 are touched only when their box is ticked; any other stored type always is.
bool PassesTypeFilter(int type, const std::array<bool, 4>& typeTicked);

// One generator of uniform non-negative 31-bit integers, seeded once, and the conversions
// whose failures are added to problems (caption "Error").
class Randomizer {
public:
    explicit Randomizer(std::uint32_t seed);

    // The time in seconds, for the one generator made at start.
    static std::uint32_t TimeSeed();

    std::uint32_t Draw() { return generator_() >> 1; }

    // A fresh value between the converted Min and Max texts; on a text that does not convert,
    // nothing and "Error Converting <field> Min Value" (or "... Max Value").
    std::optional<int> RandomInRange(std::string_view minText, std::string_view maxText,
                                     const char* field, Messages& problems);
    // The cloud flag for a percentage chance: a draw from 0 to 100 that is at most the
    // chance turns the cloud on. Nothing when the chance is not a whole number.
    std::optional<bool> CloudDraw(std::string_view chanceText, Messages& problems);

private:
    std::mt19937 generator_;
};

// What the window's controls say: the ticked types and fields, the Min and Max texts, the
// cloud chance.
struct RandomizeChoice {
    struct Range {
        bool ticked = false;
        std::string min = "0";
        std::string max = "0";
    };
    std::array<bool, 4> typeTicked{};
    std::array<Range, kRangeFieldCount> ranges{};
    bool cloudOnOff = false;
    std::string cloudChance = "0";

    Range& operator[](RangeField field) { return ranges[static_cast<int>(field)]; }
    const Range& operator[](RangeField field) const { return ranges[static_cast<int>(field)]; }
};

// Apply: every thermal that passes the type filter gets a fresh draw for every ticked field,
// written through its setter. Returns the conversion errors once, not once per thermal.
Messages RandomizeThermals(const ThermalList& thermals, const RandomizeChoice& choice,
                           Randomizer& random);
