#include "waypointimport.h"

#include "geo/numbertext.h"
#include "geo/units.h"
#include "textencoding.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

// The usual column order, for a file whose first line names no columns.
struct Columns {
    int name = 0, code = 1, lat = 3, lon = 4, elev = 5, style = 6, desc = 10;
};

using Fields = std::vector<std::string>;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return lower;
}

// A piece of the file fit for a message: printable ASCII, the rest as "?".
std::string Excerpt(std::string_view text) {
    std::string shown(text.substr(0, 40));
    for (char& c : shown)
        if (c < ' ' || c > '~')
            c = '?';
    return '"' + shown + '"';
}

// The fields of one line. A quoted field ends at a quote that the end of the line or a
// comma follows (blanks between allowed); a doubled quote inside stands for one, and any
// other quote inside is kept. Nothing when a quote is not closed.
std::optional<Fields> SplitFields(std::string_view line) {
    Fields fields;
    std::size_t i = 0;
    while (true) {
        while (i < line.size() && IsBlank(line[i]))
            ++i;
        std::string field;
        if (i < line.size() && line[i] == '"') {
            ++i;
            while (true) {
                const std::size_t quote = line.find('"', i);
                if (quote == std::string_view::npos)
                    return std::nullopt;
                field += line.substr(i, quote - i);
                i = quote + 1;
                if (i < line.size() && line[i] == '"') {
                    field += '"';
                    ++i;
                    continue;
                }
                std::size_t after = i;
                while (after < line.size() && IsBlank(line[after]))
                    ++after;
                if (after == line.size() || line[after] == ',') {
                    i = after;
                    break;
                }
                field += '"';
            }
        } else {
            const std::size_t comma = std::min(line.find(',', i), line.size());
            std::size_t end = comma;
            while (end > i && IsBlank(line[end - 1]))
                --end;
            field = line.substr(i, end - i);
            i = comma;
        }
        fields.push_back(std::move(field));
        if (i >= line.size())
            return fields;
        ++i; // the comma
    }
}

// DDMM.mmm (degreeDigits 2) or DDDMM.mmm (3), then the hemisphere letter.
std::optional<double> CupPosition(std::string_view text, std::size_t degreeDigits, char positive,
                                  char negative, double limit) {
    if (text.size() < degreeDigits + 3)
        return std::nullopt;
    const char letter = text.back();
    const char upper = letter >= 'a' && letter <= 'z' ? static_cast<char>(letter - 32) : letter;
    const std::string_view degreeText = text.substr(0, degreeDigits);
    const auto degrees = std::all_of(degreeText.begin(), degreeText.end(), IsDigit)
                             ? ParseInteger(degreeText)
                             : std::nullopt;
    const std::string_view minuteText = text.substr(degreeDigits, text.size() - degreeDigits - 1);
    // Minutes have two digits before their fraction.
    const bool twoDigits = minuteText.size() >= 2 && IsDigit(minuteText[0]) &&
                           IsDigit(minuteText[1]) &&
                           (minuteText.size() == 2 || minuteText[2] == '.');
    const auto minutes = twoDigits ? ParseDecimal(minuteText) : std::nullopt;
    if (!degrees || !minutes || *minutes >= 60 || (upper != positive && upper != negative))
        return std::nullopt;
    const double value = *degrees + *minutes / 60;
    if (value > limit)
        return std::nullopt;
    return upper == negative ? -value : value;
}

// Whole metres from "488.0m", "170ft", "189" or nothing.
std::optional<int> CupElevation(std::string_view text) {
    if (text.empty())
        return 0;
    const std::size_t unitStart = text.find_first_not_of("0123456789.+-");
    const std::string_view number = text.substr(0, unitStart);
    std::string_view unit = unitStart == std::string_view::npos ? "" : text.substr(unitStart);
    while (!unit.empty() && IsBlank(unit.front()))
        unit.remove_prefix(1);
    const auto value = ParseDecimal(number);
    const std::string lowerUnit = Lower(unit);
    if (!value || std::fabs(*value) > 1e6)
        return std::nullopt;
    if (lowerUnit.empty() || lowerUnit == "m")
        return TruncateToInt(*value);
    if (lowerUnit == "ft")
        return TruncateToInt(*value * (1 / kFeetPerMetre));
    return std::nullopt;
}

std::string Attributes(std::string_view style) {
    const auto kind = ParseInteger(style);
    if (kind == 2 || kind == 4 || kind == 5)
        return "AT";
    return kind == 3 ? "TL" : "T";
}

// The columns a header line names; nothing when the line names no latitude column.
std::optional<Columns> HeaderColumns(const Fields& fields) {
    Columns columns{-1, -1, -1, -1, -1, -1, -1};
    struct Spelling {
        int* column;
        std::string_view shortName, longName;
    };
    const Spelling spellings[] = {
        {&columns.name, "name", "title"},      {&columns.code, "code", "code"},
        {&columns.lat, "lat", "latitude"},     {&columns.lon, "lon", "longitude"},
        {&columns.elev, "elev", "elevation"},  {&columns.style, "style", "style"},
        {&columns.desc, "desc", "description"}};
    for (int i = 0; i < static_cast<int>(fields.size()); ++i) {
        const std::string name = Lower(fields[static_cast<std::size_t>(i)]);
        for (const Spelling& s : spellings)
            if (*s.column < 0 && (name == s.shortName || name == s.longName))
                *s.column = i;
    }
    if (columns.lat < 0 || columns.lon < 0)
        return std::nullopt;
    return columns;
}

} // namespace

ImportedWaypoints ReadCupFile(std::string_view data) {
    ImportedWaypoints result;
    const TextEncoding encoding = DetectEncoding(data);
    std::optional<Columns> columns;
    long long number = 0;
    for (std::size_t offset = ByteOrderMarkLength(data); offset < data.size();) {
        const std::size_t end = std::min(data.find('\n', offset), data.size());
        std::string_view line = data.substr(offset, end - offset);
        offset = end + 1;
        ++number;
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        if (line.starts_with("-----Related Tasks"))
            break;
        if (line.find_first_not_of(" \t") == std::string_view::npos)
            continue;
        if (line.size() > kLongestCupLine) {
            result.AddProblem(number, "longer than " + IntText(kLongestCupLine) + " characters");
            continue;
        }
        const auto fields = SplitFields(line);
        if (!fields) {
            result.AddProblem(number, "a quote is not closed");
            continue;
        }
        if (!columns) {
            columns = HeaderColumns(*fields);
            if (columns)
                continue;
            columns = Columns{};
        }
        const auto field = [&](int column) {
            return column >= 0 && static_cast<std::size_t>(column) < fields->size()
                       ? std::string_view((*fields)[static_cast<std::size_t>(column)])
                       : std::string_view();
        };
        const auto lat = CupPosition(field(columns->lat), 2, 'N', 'S', 90);
        const auto lon = CupPosition(field(columns->lon), 3, 'E', 'W', 180);
        const auto elevation = CupElevation(field(columns->elev));
        if (!lat || !lon || !elevation) {
            result.AddProblem(number, !lat ? "the latitude " + Excerpt(field(columns->lat)) +
                                                 " is not DDMM.mmm with N or S"
                                      : !lon ? "the longitude " + Excerpt(field(columns->lon)) +
                                                   " is not DDDMM.mmm with E or W"
                                             : "the elevation " + Excerpt(field(columns->elev)) +
                                                   " is not a number of m or ft");
            continue;
        }
        auto w = std::make_unique<Waypoint>();
        w->SetPosition({*lat, *lon});
        w->SetGroundHeight(*elevation);
        const std::string_view name =
            field(columns->name).empty() ? field(columns->code) : field(columns->name);
        w->SetName(WaypointFieldText(DecodeText(name, encoding)));
        w->SetText(WaypointFieldText(DecodeText(field(columns->desc), encoding)));
        w->SetAttributes(Attributes(field(columns->style)));
        result.waypoints.push_back(std::move(w));
    }
    return result;
}
