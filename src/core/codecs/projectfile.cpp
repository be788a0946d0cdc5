#include "projectfile.h"

#include "geo/coordtext.h"
#include "geo/textfields.h"
#include "prompts/prompts.h"
#include "textencoding.h"
#include "thermalline.h"

#include <array>
#include <optional>

namespace {

constexpr int kHeaderLines = 5;

void Report(const char* text) {
    prompts().message("File Error", text);
}

// The next line, or nothing when the data has ended before it.
std::optional<std::string> NextLine(std::string_view data, std::size_t& offset) {
    if (offset >= data.size())
        return std::nullopt;
    return ReadLine(data, offset);
}

} // namespace

ProjectHeader ReadProjectHeader(std::string_view data, std::size_t& offset) {
    // A header line that the file does not hold counts as a failed read; it stays empty.
    offset = ByteOrderMarkLength(data);
    ProjectHeader header;
    header.text = data.substr(0, offset);
    std::array<std::string, kHeaderLines> lines;
    std::array<bool, kHeaderLines> present{};
    for (int i = 0; i < kHeaderLines; ++i) {
        if (auto line = NextLine(data, offset)) {
            lines[i] = std::move(*line);
            present[i] = true;
        }
    }
    for (const auto& line : lines)
        header.text += line + '\n';
    header.mapFile = DecodeText(lines[0], DetectEncoding(header.text));

    if (!present[0])
        Report("Error reading Project File header 1");
    std::array<double, kHeaderLines> degrees{};
    if (present[1])
        degrees[1] = ParseDegrees(lines[1]);
    else
        Report("Error reading Project File header 2:readline");
    for (int i = 2; i < kHeaderLines; ++i) {
        if (!present[i]) {
            Report("Error reading Project File header");
            break;
        }
        degrees[i] = ParseDegrees(lines[i]);
    }
    header.latTop = degrees[1];
    header.latBottom = degrees[2];
    header.lonLeft = degrees[3];
    header.lonRight = degrees[4];
    return header;
}

void SkipProjectHeader(std::string_view data, std::size_t& offset) {
    offset = ByteOrderMarkLength(data);
    for (int i = 0; i < kHeaderLines; ++i) {
        if (!NextLine(data, offset)) {
            Report("Error reading additional Project data map");
            return;
        }
    }
}

ThermalList ReadThermalLines(std::string_view data, std::size_t& offset) {
    ThermalList thermals;
    std::string scratch;
    for (std::string_view line = ReadLineView(data, offset, scratch);
         line.size() >= kShortestThermalLine; line = ReadLineView(data, offset, scratch)) {
        auto thermal = ParseThermalLine(line);
        if (!thermal) {
            Report("Error reading thermal data from Project File map");
            break;
        }
        thermals.push_back(std::make_unique<Thermal>(std::move(*thermal)));
    }
    return thermals;
}

std::string ProjectFileBytes(std::string_view headerText, const ThermalList& thermals,
                             bool saveAll) {
    std::string out = TextModeBytes(headerText);
    // About 110 bytes per thermal line with both sections.
    out.reserve(out.size() + thermals.size() * 112);
    for (const auto& thermal : thermals)
        AppendThermalLine(out, *thermal, saveAll);
    return out;
}
