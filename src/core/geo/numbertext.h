#pragma once

#include <optional>
#include <string>
#include <string_view>

// The number texts shared by every file, hint and edit field. They never follow the
// system locale: "." is the decimal point everywhere.

// Integer text: the digits, with a leading "-" when negative (0, 457, -47).
std::string IntText(long long value);

// General number text: 15 significant digits, no trailing zeros, plain form for
// magnitudes from 0.0001 up to (not including) 1E15, E notation outside it
// (1E-5, 1.5E20, 1E15). A float is widened first, so 0.1f gives 0.100000001490116.
std::string NumberText(double value);

// Fixed-point text rounded to the given number of decimals (22.2, -0.5).
std::string FixedText(double value, int decimals);

// Converts the usual decimal form: optional sign, digits, optional "." and fraction
// ("12", "-3.5", "+.5", "7."). The whole text must be the number; empty or malformed
// text gives nothing.
std::optional<double> ParseDecimal(std::string_view text);
// Converts an optional sign and decimal digits that fit an int; nothing otherwise.
std::optional<int> ParseInteger(std::string_view text);
