#pragma once

#include <optional>
#include <string_view>

// The next number run of a line as NextNumber takes it, or nothing when the line is used
// up: there NextNumber's "-1" would pass for a value that the line does not hold.
std::optional<std::string_view> NextPresentNumber(std::string_view line, int& p);
