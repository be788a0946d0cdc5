#pragma once

#include "units.h"

#include <optional>
#include <string>
#include <string_view>

// How the Thermal Data window reads its edits. Empty text and a lone "-" count as 0 (the
// user is part-way through typing a number); text that does not convert gives nothing, and
// the window then puts the last good value back.

// A whole number that fits an int.
std::optional<int> ParseIntEdit(std::string_view text);
// A decimal number with "." as the point that fits a float.
std::optional<float> ParseFloatEdit(std::string_view text);
// A height typed in the display unit, as whole metres: feet become
// truncate(feet x 0.3048 + 0.5) metres.
std::optional<int> ParseHeightEdit(std::string_view text, heightDispType units);

// What a height edit shows for a height in metres: the metres, or the feet rounded.
std::string HeightEditText(int metres, heightDispType units);
