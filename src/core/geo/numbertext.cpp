#include "numbertext.h"

#include <charconv>
#include <cmath>

std::string FixedText(double value, int decimals) {
    char buffer[400]; // the widest double in fixed form fits
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    return {buffer, result.ptr};
}

std::string IntText(long long value) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return {buffer, result.ptr};
}

std::string NumberText(double value) {
    if (value == 0)
        return "0";
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";

    // The scientific form rounds to the 15 significant digits once; the exponent read
    // back from it is the one after rounding, which decides plain or E form.
    char buffer[32];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
    std::string_view scientific(buffer, static_cast<std::size_t>(result.ptr - buffer));

    std::string text;
    if (scientific.front() == '-') {
        text = "-";
        scientific.remove_prefix(1);
    }
    const auto e = scientific.find('e');
    std::string digits(1, scientific[0]);
    digits += scientific.substr(2, e - 2);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    auto exponentText = scientific.substr(e + 1);
    if (exponentText.front() == '+')
        exponentText.remove_prefix(1);
    int exponent = 0;
    std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);

    if (exponent < -4 || exponent >= 15) {
        text += digits[0];
        if (digits.size() > 1)
            text += '.' + digits.substr(1);
        return text + 'E' + IntText(exponent);
    }
    if (exponent < 0)
        return text + "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;

    const auto integerDigits = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= integerDigits)
        return text + digits + std::string(integerDigits - digits.size(), '0');
    return text + digits.substr(0, integerDigits) + '.' + digits.substr(integerDigits);
}

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Drops a leading "+", which from_chars does not take, but never a "+" before a "-".
std::string_view WithoutPlus(std::string_view text) {
    if (!text.empty() && text.front() == '+' && (text.size() == 1 || text[1] != '-'))
        text.remove_prefix(1);
    return text;
}

} // namespace

std::optional<double> ParseDecimal(std::string_view text) {
    text = WithoutPlus(text);
    std::size_t i = !text.empty() && text.front() == '-' ? 1 : 0;
    bool anyDigit = false;
    bool point = false;
    for (; i < text.size(); ++i) {
        if (IsDigit(text[i]))
            anyDigit = true;
        else if (text[i] == '.' && !point)
            point = true;
        else
            return std::nullopt;
    }
    if (!anyDigit)
        return std::nullopt;

    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::optional<int> ParseInteger(std::string_view text) {
    text = WithoutPlus(text);
    int value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size())
        return std::nullopt;
    return value;
}
