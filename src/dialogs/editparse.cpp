#include "editparse.h"

#include "geo/numbertext.h"

#include <cmath>
#include <limits>

namespace {

bool CountsAsZero(const QString& text) {
    return text.isEmpty() || text == QLatin1String("-");
}

} // namespace

std::optional<int> ParseIntEdit(const QString& text) {
    if (CountsAsZero(text))
        return 0;
    return ParseInteger(text.toStdString());
}

std::optional<float> ParseFloatEdit(const QString& text) {
    if (CountsAsZero(text))
        return 0.0f;
    const std::optional<double> value = ParseDecimal(text.toStdString());
    if (!value || !std::isfinite(*value) ||
        std::fabs(*value) > double(std::numeric_limits<float>::max()))
        return std::nullopt;
    return static_cast<float>(*value);
}

std::optional<int> ParseHeightEdit(const QString& text, heightDispType units) {
    const std::optional<int> value = ParseIntEdit(text);
    if (value && units == feet)
        return FeetToMetresRounded(*value);
    return value;
}

QString HeightEditText(int metres, heightDispType units) {
    const int shown = units == feet ? MetresToFeetRounded(metres) : metres;
    return QString::fromStdString(IntText(shown));
}
