// The project file's line codec on any data, without the file: every thermal line that is
// read writes a line without the two sections that reads back to the same thermal (with a
// new thermal's cumulus and profile values). The save with both sections is the project
// target's.

#include "check.h"
#include "codecs/thermalline.h"
#include "geo/textfields.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = Text(data, size);
    std::size_t offset = 0;
    while (offset < bytes.size()) {
        const auto thermal = ParseThermalLine(ReadLine(bytes, offset));
        if (!thermal)
            continue;
        std::string first;
        AppendThermalLine(first, *thermal, false);
        const std::string_view line(first.data(), first.size() - 2);
        Check(line.size() >= kShortestThermalLine, "a written line is long enough to be read");
        const auto read = ParseThermalLine(line);
        Check(read.has_value(), "a written line reads back");
        std::string second;
        AppendThermalLine(second, *read, false);
        Check(second == first, "a line read back writes the same line");
    }
    return 0;
}
