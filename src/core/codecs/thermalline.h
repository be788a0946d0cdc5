#pragma once

#include "model/thermal.h"

#include <optional>
#include <string>
#include <string_view>

// One thermal line of a project file: 13 basic values, then optionally the cumulus section
// (tag 1, count 7, seven values) and the profile section (tag 2, count 4, four values).

// Lines shorter than this end the thermal list of a project file.
inline constexpr std::size_t kShortestThermalLine = 25;

// The thermal of a line, its values applied through the setters; a section that the line
// does not carry leaves those values as a new thermal has them. A line that ends before the
// 13 basic values or inside a section that its tag and count announce is cut: each value it
// no longer holds reads as -1. Nothing when a value is no number, is empty or is not an
// integer where one is needed.
struct ThermalLine {
    Thermal thermal;
    bool cut = false;
};
std::optional<ThermalLine> ParseThermalLine(std::string_view line);

// Appends the line with its CR LF; the sections only when saveAll is set.
void AppendThermalLine(std::string& out, const Thermal& thermal, bool saveAll);
