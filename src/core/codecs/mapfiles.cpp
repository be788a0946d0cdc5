#include "mapfiles.h"

#include "geo/mapedges.h"
#include "geo/numbertext.h"
#include "waypointline.h"

#include <array>
#include <charconv>
#include <cmath>
#include <tuple>

namespace {

constexpr std::string_view kPlainLatLon =
    " Export the map in plain latitude and longitude (for example EPSG:4326).";

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

} // namespace

std::variant<GeoBounds, std::string> ReadWorldFile(std::string_view text, int width, int height) {
    // Whitespace-separated numbers; tools write them in E notation too ("1.0E-004").
    std::array<double, 6> n{};
    std::size_t count = 0;
    std::size_t i = 0;
    while (true) {
        while (i < text.size() && IsBlank(text[i]))
            ++i;
        if (i == text.size())
            break;
        std::size_t end = i;
        while (end < text.size() && !IsBlank(text[end]))
            ++end;
        const std::string_view word = text.substr(i, end - i);
        const std::string_view digits = word.starts_with('+') ? word.substr(1) : word;
        double value = 0;
        const auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
        if (ec != std::errc() || ptr != digits.data() + digits.size() || !std::isfinite(value))
            return "The world file holds \"" + std::string(word.substr(0, 40)) +
                   "\" where a number belongs.";
        if (count == n.size())
            return std::string("The world file holds more than six numbers.");
        n[count++] = value;
        i = end;
    }
    if (count < n.size())
        return "The world file holds " + std::to_string(count) + " numbers instead of six.";
    const auto [pixelWidth, rotationY, rotationX, pixelHeight, centreX, centreY] = n;
    if (rotationY != 0 || rotationX != 0)
        return "The world file has the rotation terms " + NumberText(rotationY) + " and " +
               NumberText(rotationX) + ": the map is rotated." + std::string(kPlainLatLon);
    auto edges = GridEdges(centreX - pixelWidth / 2, centreY - pixelHeight / 2, pixelWidth,
                           -pixelHeight, width, height);
    if (auto* problem = std::get_if<std::string>(&edges))
        return "In the world file, " + *problem + '.' + std::string(kPlainLatLon);
    return edges;
}

std::string ProjectHeaderText(std::string_view mapFile, const GeoBounds& edges) {
    std::string text(mapFile);
    text += '\n';
    for (const auto& [value, positive, negative] :
         {std::tuple{edges.north, 'N', 'S'}, std::tuple{edges.south, 'N', 'S'},
          std::tuple{edges.west, 'E', 'W'}, std::tuple{edges.east, 'E', 'W'}})
        (text += PositionText(value, positive, negative)) += '\n';
    return text;
}
