#include "coordtext.h"

#include "messages/quote.h"
#include "numbertext.h"

#include <algorithm>
#include <cmath>

namespace {

// The digits of value, at least width of them.
std::string Padded(long long value, std::size_t width) {
    std::string text = IntText(value);
    if (text.size() < width)
        text.insert(0, width - text.size(), '0');
    return text;
}

std::string HemisphereText(double value, latLonDispType format, char positive, char negative) {
    // Held far beyond any position, so that no value from a file overflows the rounding.
    const double magnitude = std::isfinite(value) ? std::min(std::abs(value), 1e9) : 0;
    const char* const degree = "\u00B0";
    if (format == decDegrees) {
        const long long units = std::llround(magnitude * 100000);
        return (value < 0 && units != 0 ? "-" : "") + IntText(units / 100000) + '.' +
               Padded(units % 100000, 5) + degree;
    }
    // Whole thousandths of a minute, or tenths of a second, rounded once so that a carry
    // reaches the degrees (59.9999' is the next degree, never 60').
    const long long perDegree = format == decMins ? 60000 : 36000;
    const long long units = std::llround(magnitude * static_cast<double>(perDegree));
    std::string text(1, value < 0 && units != 0 ? negative : positive);
    text += IntText(units / perDegree) + degree;
    const long long rest = units % perDegree;
    if (format == decMins)
        return text + Padded(rest / 1000, 2) + '.' + Padded(rest % 1000, 3) + '\'';
    return text + Padded(rest / 600, 2) + '\'' + Padded(rest % 600 / 10, 2) + '.' +
           IntText(rest % 10) + '"';
}

} // namespace

std::string LatText(double lat, latLonDispType format) {
    return HemisphereText(lat, format, 'N', 'S');
}

std::string LonText(double lon, latLonDispType format) {
    return HemisphereText(lon, format, 'E', 'W');
}

std::string PositionText(double lat, double lon, latLonDispType format) {
    return LatText(lat, format) + ' ' + LonText(lon, format);
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
    // The text as the messages show it: a whole binary file once stood here.
    const std::string text = QuotedText(s);
    Read<double> result;
    const auto fail = [&result](std::string message) {
        result.messages.push_back({"Error", std::move(message), 0, {}});
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
        fail("Error converting degs, a=" + IntText(a) + " b=" + IntText(b) + " s=" + text);

    a = FindNumberStart(s, b);
    b = FindNumberEnd(s, a);
    const std::string_view st = run(a, b);

    double min = 0;
    if (const auto minutes = ParseDecimal(st))
        min = *minutes;
    else
        fail("Error converting to double a=" + IntText(a) + " b=" + IntText(b) + " s=" + text +
             " st=" + QuotedText(st));

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
