#include "edittext.h"

#include "numbertext.h"

#include <cmath>
#include <limits>

namespace {

bool CountsAsZero(std::string_view text) {
    return text.empty() || text == "-";
}

} // namespace

std::optional<int> ParseIntEdit(std::string_view text) {
    if (CountsAsZero(text))
        return 0;
    return ParseInteger(text);
}

std::optional<float> ParseFloatEdit(std::string_view text) {
    if (CountsAsZero(text))
        return 0.0f;
    const std::optional<double> value = ParseDecimal(text);
    if (!value || !std::isfinite(*value) ||
        std::fabs(*value) > double(std::numeric_limits<float>::max()))
        return std::nullopt;
    return static_cast<float>(*value);
}

std::optional<int> ParseHeightEdit(std::string_view text, heightDispType units) {
    const std::optional<int> value = ParseIntEdit(text);
    if (value && units == feet)
        return FeetToMetresRounded(*value);
    return value;
}

std::string HeightEditText(int metres, heightDispType units) {
    return IntText(units == feet ? MetresToFeetRounded(metres) : metres);
}
