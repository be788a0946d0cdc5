#include "waypointline.h"

#include "geo/numbertext.h"
#include "geo/textfields.h"
#include "geo/units.h"
#include "model/waypoint.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// The character at the 1-based position p, or nothing beyond the end.
std::optional<char> At(std::string_view line, int p) {
    if (p < 1 || p > static_cast<int>(line.size()))
        return std::nullopt;
    return line[static_cast<std::size_t>(p - 1)];
}

// A used-up line gives -1 (NextNumber's "-1"); a run that is no number fails.
std::optional<double> NextDecimal(std::string_view line, int& p) {
    return ParseDecimal(NextNumber(line, p));
}

std::optional<int> NextInteger(std::string_view line, int& p) {
    return ParseInteger(NextNumber(line, p));
}

std::optional<double> NextPosition(std::string_view line, int& p, char negative) {
    const auto degrees = NextDecimal(line, p);
    const auto minutes = degrees ? NextDecimal(line, p) : std::nullopt;
    if (!minutes)
        return std::nullopt;
    double value = *degrees + *minutes * (1.0 / 60);
    const auto next = At(line, p + 1);
    if (At(line, p) == ':' && next && IsDigit(*next)) {
        const auto seconds = NextDecimal(line, p);
        if (!seconds)
            return std::nullopt;
        value += *seconds * (1.0 / 3600);
    }
    const auto letter = At(line, p);
    // Degrees and minutes that add up beyond every number could not be written back.
    if (!letter || !std::isfinite(value))
        return std::nullopt;
    return *letter == negative ? -value : value;
}

std::string Field(std::string_view line, int& p) {
    return std::string(NextToken(line, p, ','));
}

} // namespace

bool IsWaypointLine(std::string_view line) {
    return !line.empty() && IsDigit(line.front());
}

bool IsCommentLine(std::string_view line) {
    return !line.empty() && line.front() == '*';
}

std::optional<WaypointLine> ParseWaypointLine(std::string_view line) {
    int p = 1;
    WaypointLine w;
    const auto id = NextInteger(line, p);
    const auto lat = id ? NextPosition(line, p, 'S') : std::nullopt;
    const auto lon = lat ? NextPosition(line, p, 'W') : std::nullopt;
    const auto height = lon ? NextInteger(line, p) : std::nullopt;
    const auto unit = At(line, p);
    if (!height || !unit)
        return std::nullopt;
    w.id = *id;
    w.lat = *lat;
    w.lon = *lon;
    const int heightAsWritten = *height;
    w.groundHeight = *unit == 'F' ? FeetToMetresTruncated(heightAsWritten) : heightAsWritten;
    if (IsLetter(*unit))
        ++p;
    w.attributes = Field(line, p);
    w.name = Field(line, p);
    w.text = Field(line, p);
    return w;
}

std::string PositionText(double value, char positive, char negative) {
    const double magnitude = std::abs(value);
    // Far beyond any position; keeps the conversion to an integer defined.
    double degrees = std::min(std::trunc(magnitude), 1e15);
    const double minutes = (magnitude - std::trunc(magnitude)) * 60;
    char buffer[16];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, minutes, std::chars_format::fixed, 3).ptr;
    std::string_view minutesText(buffer, static_cast<std::size_t>(end - buffer));
    if (minutesText == "60.000") {
        degrees += 1;
        minutesText = "00.000";
    }
    std::string text = IntText(static_cast<long long>(degrees)) + ':';
    if (minutesText.size() < 6)
        text += '0';
    text += minutesText;
    // What rounds to nothing is written as 0 is, so that it reads back and writes the same.
    const bool nothing =
        degrees == 0 && minutesText.find_first_not_of("0.") == std::string_view::npos;
    text += value < 0 && !nothing ? negative : positive;
    return text;
}

void AppendWaypointLine(std::string& out, const WaypointLine& w) {
    WriteIntField(out, w.id, false, ",");
    out += PositionText(w.lat, 'N', 'S');
    out += ',';
    out += PositionText(w.lon, 'E', 'W');
    out += ',';
    WriteIntField(out, w.groundHeight, false, "M,");
    out += WaypointFieldText(w.attributes);
    out += ',';
    out += WaypointFieldText(w.name);
    out += ',';
    out += WaypointFieldText(w.text);
    out += "\r\n";
}
