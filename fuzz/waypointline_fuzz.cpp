// The waypoint file's line codec on any data, without the file: the texts keep their bytes
// through the character-set round trip, and every waypoint line that is read writes a line
// that reads back to the same waypoint.

#include "check.h"
#include "codecs/textencoding.h"
#include "codecs/waypointline.h"
#include "geo/textfields.h"

#include <string>
#include <tuple>

namespace {

std::string Append(const WaypointLine& waypoint) {
    std::string written;
    AppendWaypointLine(written, waypoint);
    written.resize(written.size() - 2);
    return written;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = Text(data, size);
    const TextEncoding encoding = DetectEncoding(bytes);
    std::size_t offset = 0;
    while (offset < bytes.size()) {
        const std::string line = ReadLine(bytes, offset);
        Check(!(IsWaypointLine(line) && IsCommentLine(line)), "a line is one kind or the other");
        const auto waypoint = ParseWaypointLine(line);
        if (!waypoint)
            continue;
        // Each field starts after one byte that the reader passes over (normally the comma);
        // where that byte starts a UTF-8 character, the field begins with the rest of it,
        // which no text can hold.
        for (const std::string* text : {&waypoint->attributes, &waypoint->name, &waypoint->text})
            Check((encoding == TextEncoding::Utf8 && DetectEncoding(*text) != TextEncoding::Utf8) ||
                      EncodeText(DecodeText(*text, encoding), encoding) == *text,
                  "a text keeps its bytes");

        const std::string first = Append(*waypoint);
        const auto read = ParseWaypointLine(first);
        Check(read.has_value(), "a written line reads back");
        Check(std::tie(read->id, read->groundHeight, read->attributes, read->name, read->text) ==
                  std::tie(waypoint->id, waypoint->groundHeight, waypoint->attributes,
                           waypoint->name, waypoint->text),
              "a line read back has the same fields");
        Check(Append(*read) == first, "a line read back writes the same line");
    }
    return 0;
}
