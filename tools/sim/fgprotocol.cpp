#include "fgprotocol.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

constexpr std::size_t flagCount = 2;
constexpr std::size_t fieldCount = 8 + flagCount;

bool Number(std::string_view text, double& value) {
    const char* end = text.data() + text.size();
    const auto [stop, failure] = std::from_chars(text.data(), end, value);
    return !text.empty() && failure == std::errc{} && stop == end && std::isfinite(value);
}

bool Within(double value, double low, double high) {
    return value >= low && value <= high;
}

} // namespace

std::optional<FgFrame> ParseFgLine(std::string_view line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.remove_suffix(1);
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const std::size_t comma = line.find(',', start);
        fields.push_back(line.substr(start, comma - start));
        if (comma == std::string_view::npos)
            break;
        start = comma + 1;
    }
    if (fields.size() != fieldCount)
        return std::nullopt;
    double values[fieldCount - flagCount];
    for (std::size_t i = 0; i < fieldCount - flagCount; ++i) {
        if (!Number(fields[i], values[i]))
            return std::nullopt;
    }
    bool flags[flagCount];
    for (std::size_t i = 0; i < flagCount; ++i) {
        const std::string_view flag = fields[fieldCount - flagCount + i];
        if (flag != "0" && flag != "1")
            return std::nullopt;
        flags[i] = flag == "1";
    }
    FgFrame frame{values[0], values[1], values[2], values[3], values[4],
                  values[5], values[6], values[7], flags[0],  flags[1]};
    // Ranges wide enough for any flight, narrow enough that the program's integers hold them.
    if (!Within(frame.lat, -90, 90) || !Within(frame.lon, -180, 180) ||
        !Within(frame.altitudeFt, -5000, 330000) || !Within(frame.groundM, -1000, 10000))
        return std::nullopt;
    frame.heading = std::fmod(std::fmod(frame.heading, 360.0) + 360.0, 360.0);
    return frame;
}

std::string LiftLine(double liftFps, double aileronTrim) {
    char line[64];
    std::snprintf(line, sizeof line, "%.3f,%.4f\n", liftFps, aileronTrim);
    return line;
}

std::string MoveLine(double lat, double lon) {
    char line[64];
    std::snprintf(line, sizeof line, "%.8f,%.8f\n", lat, lon);
    return line;
}

std::optional<std::string> RaiseLiftRate(const std::string& xml, double rate) {
    const std::size_t name = xml.find("wind-from-down</name>");
    if (name == std::string::npos)
        return std::nullopt;
    const std::size_t filterEnd = xml.find("</filter>", name);
    const std::string open = "<max-rate-of-change>";
    const std::size_t value = xml.find(open, name);
    if (value == std::string::npos || value > filterEnd)
        return std::nullopt;
    const std::size_t begin = value + open.size();
    const std::size_t end = xml.find("</max-rate-of-change>", begin);
    if (end == std::string::npos || end > filterEnd)
        return std::nullopt;
    char text[32];
    std::snprintf(text, sizeof text, "%g", rate);
    std::string raised = xml;
    raised.replace(begin, end - begin, text);
    return raised;
}
