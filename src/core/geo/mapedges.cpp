#include "mapedges.h"

#include "numbertext.h"

#include <cmath>

namespace {

bool IsDigitOrPoint(char c) {
    return (c >= '0' && c <= '9') || c == '.';
}

// What may stand between degrees, minutes and seconds: the status bar's "*", "'" and '"',
// the file's ":", blanks, and the degree, minute and second signs in UTF-8.
std::size_t SeparatorLength(std::string_view rest) {
    for (const std::string_view sign : {"\xC2\xB0", "\xE2\x80\xB2", "\xE2\x80\xB3"})
        if (rest.starts_with(sign))
            return sign.size();
    const char c = rest.front();
    return c == '*' || c == ':' || c == '\'' || c == '"' || c == ' ' ? 1 : 0;
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

// +1 or -1 for a hemisphere letter in either case, 0 for any other character.
int HemisphereSign(char c, char positive, char negative) {
    const char upper = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    return upper == positive ? 1 : upper == negative ? -1 : 0;
}

std::optional<double> ParseCoordinate(std::string_view text, char positive, char negative,
                                      double limit) {
    text = Trimmed(text);
    int sign = 0;
    if (!text.empty() && HemisphereSign(text.front(), positive, negative) != 0) {
        sign = HemisphereSign(text.front(), positive, negative);
        text = Trimmed(text.substr(1));
    }
    if (!text.empty() && HemisphereSign(text.back(), positive, negative) != 0) {
        if (sign != 0)
            return std::nullopt;
        sign = HemisphereSign(text.back(), positive, negative);
        text = Trimmed(text.substr(0, text.size() - 1));
    }
    if (sign == 0 && !text.empty() && (text.front() == '-' || text.front() == '+')) {
        sign = text.front() == '-' ? -1 : 1;
        text.remove_prefix(1);
    }
    // Degrees, minutes, seconds: each part a run of digits, the parts apart.
    double parts[3] = {0, 0, 0};
    int count = 0;
    bool fraction = false;
    while (!text.empty()) {
        std::size_t length = 0;
        while (length < text.size() && IsDigitOrPoint(text[length]))
            ++length;
        const auto part = ParseDecimal(text.substr(0, length));
        if (!part || count == 3 || fraction)
            return std::nullopt;
        fraction = text.substr(0, length).find('.') != std::string_view::npos;
        parts[count++] = *part;
        text.remove_prefix(length);
        while (!text.empty() && SeparatorLength(text) > 0)
            text.remove_prefix(SeparatorLength(text));
    }
    if (count == 0 || parts[1] >= 60 || parts[2] >= 60)
        return std::nullopt;
    const double value = parts[0] + parts[1] / 60 + parts[2] / 3600;
    if (!(value <= limit))
        return std::nullopt;
    return sign < 0 ? -value : value;
}

} // namespace

std::optional<double> ParseLatitude(std::string_view text) {
    return ParseCoordinate(text, 'N', 'S', 90);
}

std::optional<double> ParseLongitude(std::string_view text) {
    return ParseCoordinate(text, 'E', 'W', 180);
}

std::variant<GeoBounds, std::string> ParseMapEdges(std::string_view north, std::string_view south,
                                                   std::string_view west, std::string_view east) {
    GeoBounds edges;
    const auto read = [](std::string_view text, bool latitude, const char* edge, double& value) {
        const auto parsed = latitude ? ParseLatitude(text) : ParseLongitude(text);
        if (parsed) {
            value = *parsed;
            return std::string();
        }
        return std::string("The ") + edge + " edge \"" + std::string(text) + "\" is no " +
               (latitude ? "latitude: type it as 47.5, N47*30' or N47*30'0\" (S for south)."
                         : "longitude: type it as 8.25, E8*15' or E8*15'0\" (W for west).");
    };
    for (std::string problem :
         {read(north, true, "north", edges.north), read(south, true, "south", edges.south),
          read(west, false, "west", edges.west), read(east, false, "east", edges.east),
          MapEdgesProblem(edges)})
        if (!problem.empty())
            return problem;
    return edges;
}

std::string MapEdgesProblem(const GeoBounds& edges) {
    if (!(edges.north > edges.south))
        return "The north edge must lie north of the south edge.";
    if (!(edges.east > edges.west))
        return "The east edge must lie east of the west edge (a map across the 180th meridian "
               "is not supported).";
    return {};
}

std::variant<GeoBounds, std::string> GridEdges(double west, double north, double pixelWidth,
                                               double pixelHeight, int width, int height) {
    if (!(pixelWidth > 0) || !(pixelHeight > 0) || !std::isfinite(pixelWidth) ||
        !std::isfinite(pixelHeight))
        return "the pixels measure " + NumberText(pixelWidth) + " to the east by " +
               NumberText(pixelHeight) + " to the south: the picture does not stand north up";
    const GeoBounds edges{north, north - pixelHeight * height, west, west + pixelWidth * width};
    if (!(edges.west >= -180 && edges.east <= 180 && edges.south >= -90 && edges.north <= 90))
        return "the upper-left corner lies at " + NumberText(west) + ", " + NumberText(north) +
               ", which are not degrees of longitude and latitude: the map is in a projected "
               "system";
    return edges;
}
