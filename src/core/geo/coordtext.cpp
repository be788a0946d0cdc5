#include "coordtext.h"

#include "numbertext.h"
#include "units.h"

#include <cmath>

namespace {

std::string HemisphereText(double value, latLonDispType format, char positive, char negative) {
    if (format == decDegrees)
        return NumberText(value);
    if (value >= 0)
        return positive + DegMinText(value, format);
    return negative + DegMinText(-value, format);
}

} // namespace

std::string LatText(double lat, latLonDispType format) {
    return HemisphereText(lat, format, 'N', 'S');
}

std::string LonText(double lon, latLonDispType format) {
    return HemisphereText(lon, format, 'E', 'W');
}

std::string DegMinText(double value, latLonDispType format) {
    const double degrees = std::trunc(value);
    std::string text = IntText(TruncateToInt(degrees)) + '*';
    const double minutes = (value - degrees) * 60;
    if (format == decMins)
        return text + NumberText(minutes) + '\'';
    const double wholeMinutes = std::trunc(minutes);
    const double seconds = (minutes - wholeMinutes) * 60;
    return text + IntText(TruncateToInt(wholeMinutes)) + '\'' + NumberText(seconds) + '"';
}

namespace {

std::string RoundedAngle(double value, char positive, char negative) {
    const double magnitude = std::abs(value);
    long long degrees = static_cast<long long>(std::min(std::trunc(magnitude), 1e15));
    long long thousandths = std::llround((magnitude - std::trunc(magnitude)) * 60000);
    if (thousandths == 60000) {
        ++degrees;
        thousandths = 0;
    }
    std::string minutes = IntText(thousandths / 1000);
    if (minutes.size() < 2)
        minutes.insert(0, 1, '0');
    std::string fraction = IntText(thousandths % 1000);
    fraction.insert(0, 3 - fraction.size(), '0');
    return IntText(degrees) + "\u00B0" + minutes + '.' + fraction + '\'' +
           (value < 0 ? negative : positive);
}

} // namespace

std::string RoundedPositionText(double lat, double lon) {
    return RoundedAngle(lat, 'N', 'S') + ' ' + RoundedAngle(lon, 'E', 'W');
}

bool IsNumberChar(char c) {
    return (c >= '0' && c <= '9') || c == '.' || c == '+' || c == '-';
}

namespace {

// Steps from p while the position is inside the text and its character's kind is `number`.
int SkipWhile(std::string_view text, int p, bool number) {
    const auto length = static_cast<int>(text.size());
    while (p >= 1 && p <= length && IsNumberChar(text[static_cast<std::size_t>(p - 1)]) == number)
        ++p;
    return p;
}

} // namespace

int FindNumberStart(std::string_view text, int p) {
    return SkipWhile(text, p, false);
}

int FindNumberEnd(std::string_view text, int p) {
    return SkipWhile(text, p, true);
}

Read<double> ParseDegrees(std::string_view s) {
    // Each step is guarded on its own and the later steps run on whatever a failed one
    // left, so one bad field gives every message it leads to. Finding the runs, cutting
    // the minutes out and dividing cannot fail with these routines.
    const std::string text(s);
    Read<double> result;
    const auto fail = [&result, &text](std::string message) {
        result.messages.push_back({"Error", std::move(message), 0, text});
    };
    const auto length = static_cast<int>(s.size());
    // The characters a to b - 1; FindNumberStart and FindNumberEnd keep a <= b <= length + 1.
    const auto run = [s](int a, int b) {
        return s.substr(static_cast<std::size_t>(a - 1), static_cast<std::size_t>(b - a));
    };

    int a = FindNumberStart(s, 1);
    int b = FindNumberEnd(s, a);

    double deg = 0;
    if (const auto degrees = ParseDecimal(run(a, b)))
        deg = *degrees;
    else
        fail("Error convering degs, a=" + IntText(a) + " b=" + IntText(b) + " s=" + text);

    a = FindNumberStart(s, b);
    b = FindNumberEnd(s, a);
    const std::string_view st = run(a, b);

    double min = 0;
    if (const auto minutes = ParseDecimal(st))
        min = *minutes;
    else
        fail("Error converting to double a=" + IntText(a) + " b=" + IntText(b) + " s=" + text +
             " st=" + std::string(st));

    const double dt = min * (1.0 / 60);
    double v = 0;
    if (std::isfinite(deg + dt))
        v = deg + dt;
    else
        fail("Error adding seconds v=" + NumberText(deg) + " ddt=" + NumberText(dt) + " s=" + text);
    deg = v;

    if (b >= 1 && b <= length) {
        const char hemisphere = s[static_cast<std::size_t>(b - 1)];
        if (hemisphere == 'S' || hemisphere == 's' || hemisphere == 'W' || hemisphere == 'w')
            deg = -deg;
    } else {
        fail("Error converting negative a=" + IntText(a) + " b=" + IntText(b) + " s=" + text);
    }
    result.value = deg;
    return result;
}
