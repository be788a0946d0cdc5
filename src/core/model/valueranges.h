#pragma once

#include "geo/units.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The Thermal Data window's fields, each with the range that every real thermal, cloud and
// scenery tool value fits. A text outside it is never used; values read from a file are
// kept as they are, whatever their range.
enum class ValueField {
    bottom,
    top,
    radius,
    windDir,
    factor,
    cloudBase,
    cloudRadius,
    cloudType,
    cuHS,
    cuVS,
    cuRotation,
    cuCloud,
    cuStart,
    cuEnd,
    strength,
    coreSize,
    coreTop,
    coreBottom,
    rollRate,
    sampleSize,
    autoThermalDist,
    windSpeed,
};
inline constexpr int kValueFieldCount = static_cast<int>(ValueField::windSpeed) + 1;

struct ValueRange {
    ValueField field;
    const char* label; // as the window names the field
    double min;
    double max;
    const char* unit; // empty for none
    bool height;      // metres, typed and shown in the display unit
    bool decimal;     // a decimal number; otherwise a whole one
};

const ValueRange& RangeOf(ValueField field);

// The value of a field's text as the window reads it (empty or a lone "-" is 0, a height in
// feet becomes rounded metres); nothing when it does not convert or lies outside the range.
std::optional<double> ParseFieldText(ValueField field, std::string_view text, heightDispType unit);

// "0 to 20000 m", or for a height shown in feet "0 to 65617 ft".
std::string RangeText(ValueField field, heightDispType unit);

// What a command reads of the window: the values of a new thermal (also Set Data), or one of
// the two groups that Apply To All hands to every thermal.
enum class ValueUse { thermal, cumulus, profile };
bool Reads(ValueUse use, ValueField field);

// The one message naming every bad field and its range (caption "Error").
std::string BadValuesText(const std::vector<ValueField>& bad, heightDispType unit);
