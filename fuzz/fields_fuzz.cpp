// The field readers on any data: the first byte is the delimiter of NextToken, the rest is
// cut into lines and every line read to its end by number and by token.

#include "check.h"
#include "geo/coordtext.h"
#include "geo/textfields.h"

#include <algorithm>
#include <string>

namespace {

// Reads the line to its end with next(p): every call moves p forward within the line (so the
// reading ends) and gives a run of characters that `fits`, except at the end, which gives
// `atEnd` and leaves p where it was. A run is cut out of the line, so it lies within it.
template <typename Next, typename Fits>
void ReadRuns(std::string_view line, std::string_view atEnd, Next next, Fits fits) {
    const int length = static_cast<int>(line.size());
    for (int p = 1;;) {
        const int before = p;
        const std::string_view run = next(p);
        if (p == before) {
            Check(run == atEnd && length <= p, "only a used-up line leaves p where it was");
            return;
        }
        Check(p > before && p <= length + 1, "p moves forward within the line");
        Check(std::all_of(run.begin(), run.end(), fits), "a run holds only its characters");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const char delimiter = static_cast<char>(data[0]);
    const std::string_view text = Text(data + 1, size - 1);
    std::size_t offset = 0;
    while (offset < text.size()) {
        const std::size_t before = offset;
        const std::string line = ReadLine(text, offset);
        Check(offset > before && offset <= text.size(), "ReadLine moves forward within the data");
        Check(line.find_first_of("\r\n") == std::string::npos, "a line holds no line end");
        ReadRuns(
            line, "-1", [&](int& p) { return NextNumber(line, p); }, IsNumberChar);
        ReadRuns(
            line, "", [&](int& p) { return NextToken(line, p, delimiter); },
            [&](char c) { return c != delimiter; });
    }
    Check(ReadLine(text, offset).empty(), "the end of the data gives an empty line");
    return 0;
}
