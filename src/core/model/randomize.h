#pragma once

#include "messages/message.h"
#include "model/thermal.h"

#include <array>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

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

// One generator of uniform non-negative 31-bit integers, seeded once.
class Randomizer {
public:
    explicit Randomizer(std::uint32_t seed);

    // The time in seconds, for the one generator made at start.
    static std::uint32_t TimeSeed();

    std::uint32_t Draw() { return generator_() >> 1; }
    // A fresh value from min to max.
    int InRange(int min, int max) { return ValueInRange(min, max, Draw()); }
    // The cloud flag for a percentage chance: a draw from 0 to 100 that is at most the
    // chance turns the cloud on.
    bool CloudOn(int chancePercent) { return static_cast<int>(Draw() % 101) <= chancePercent; }

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

// The ticked rows as numbers to draw between, each checked before any thermal changes.
struct RandomizePlan {
    std::array<bool, 4> typeTicked{};
    std::array<std::optional<std::pair<int, int>>, kRangeFieldCount> ranges{}; // ticked rows
    std::optional<int> cloudChance; // when the cloud's row is ticked
};

// Every ticked row's Min and Max converted and within its field's range (metres, whatever
// the display unit), no Max below its Min, and the cloud chance a whole number from 0 to
// 100: the plan, or one message (caption "Error") listing every bad row.
std::variant<RandomizePlan, Message> PlanRandomize(const RandomizeChoice& choice);

// Apply: the new values of every thermal that passes the type filter, by its index in the
// list, with a fresh draw for every ticked field in the window's row order. The list itself
// does not change.
ThermalValues RandomizedThermals(const ThermalList& thermals, const RandomizePlan& plan,
                                 Randomizer& random);
