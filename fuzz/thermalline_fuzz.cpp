// The project file's line codecs on any data, without the file: the header lines keep their
// bytes through the character-set round trip, and every thermal line that is read writes a
// line that reads back to the same thermal, with and without the two sections (without
// them, the thermal read back has a new thermal's cumulus and profile values).

#include "check.h"
#include "codecs/textencoding.h"
#include "codecs/thermalline.h"
#include "geo/textfields.h"

#include <string>

namespace {

void RoundTrip(const Thermal& thermal, bool saveAll) {
    std::string first;
    AppendThermalLine(first, thermal, saveAll);
    Check(first.ends_with("\r\n"), "a written line ends with CR LF");
    const std::string_view line(first.data(), first.size() - 2);
    Check(line.size() >= kShortestThermalLine, "a written line is long enough to be read");
    const auto read = ParseThermalLine(line);
    Check(read.has_value(), "a written line reads back");
    std::string second;
    AppendThermalLine(second, *read, saveAll);
    Check(second == first, "a line read back writes the same line");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = Text(data, size);
    std::size_t offset = 0;
    std::string header;
    for (int i = 0; i < 5; ++i)
        header += ReadLine(bytes, offset) + '\n';
    const TextEncoding encoding = DetectEncoding(header);
    Check(EncodeText(DecodeText(header, encoding), encoding) == header,
          "the header keeps its bytes");
    while (offset < bytes.size())
        if (const auto thermal = ParseThermalLine(ReadLine(bytes, offset))) {
            RoundTrip(*thermal, true);
            RoundTrip(*thermal, false);
        }
    return 0;
}
