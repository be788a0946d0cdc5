#include "projectfile.h"

#include "geo/coordtext.h"
#include "geo/textfields.h"
#include "textencoding.h"
#include "thermalline.h"

#include <algorithm>
#include <array>
#include <optional>

namespace {

constexpr int kHeaderLines = 5;

Message FileError(const char* text, long long line, std::string quoted = {}) {
    return {"File Error", text, line, std::move(quoted)};
}

// The next line, or nothing when the data has ended before it.
std::optional<std::string> NextLine(std::string_view data, std::size_t& offset) {
    if (offset >= data.size())
        return std::nullopt;
    return ReadLine(data, offset);
}

} // namespace

Read<ProjectHeader> ReadProjectHeader(std::string_view data, std::size_t& offset) {
    // A header line that the file does not hold counts as a failed read; it stays empty.
    offset = ByteOrderMarkLength(data);
    Read<ProjectHeader> result;
    ProjectHeader& header = result.value;
    Messages& messages = result.messages;
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

    // The edges take what the degree parser made of their lines, bad ones too, as the
    // map has always been placed; its messages are told with the line they are about.
    std::array<double, kHeaderLines> degrees{};
    const auto parse = [&](int i) {
        Read<double> parsed = ParseDegrees(lines[i]);
        degrees[i] = parsed.value;
        for (Message& message : parsed.messages) {
            message.line = i + 1;
            messages.push_back(std::move(message));
        }
    };
    if (!present[0])
        messages.push_back(FileError("Error reading Project File header 1", 1));
    if (present[1])
        parse(1);
    else
        messages.push_back(FileError("Error reading Project File header 2:readline", 2));
    for (int i = 2; i < kHeaderLines; ++i) {
        if (!present[i]) {
            messages.push_back(FileError("Error reading Project File header", i + 1));
            break;
        }
        parse(i);
    }
    header.edges = {degrees[1], degrees[2], degrees[3], degrees[4]};
    return result;
}

Messages SkipProjectHeader(std::string_view data, std::size_t& offset) {
    offset = ByteOrderMarkLength(data);
    for (int i = 0; i < kHeaderLines; ++i) {
        if (!NextLine(data, offset))
            return {FileError("Error reading additional Project data map", i + 1)};
    }
    return {};
}

Read<ThermalLines> ReadThermalLines(std::string_view data, std::size_t& offset) {
    Read<ThermalLines> result;
    std::string scratch;
    for (std::size_t start = offset;; start = offset) {
        const std::string_view line = ReadLineView(data, offset, scratch);
        if (line.size() < kShortestThermalLine)
            break;
        auto thermal = ParseThermalLine(line);
        // Counted only here: lines are numbered for the user alone.
        const auto number = [&] {
            return std::count(data.begin(), data.begin() + start, '\n') + 1;
        };
        if (!thermal) {
            result.messages.push_back(FileError("Error reading thermal data from Project File map",
                                                number(), std::string(line)));
            break;
        }
        if (thermal->cut && result.value.firstCutLine == 0)
            result.value.firstCutLine = number();
        result.value.thermals.push_back(std::make_unique<Thermal>(std::move(thermal->thermal)));
    }
    return result;
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
