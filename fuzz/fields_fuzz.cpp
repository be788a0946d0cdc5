// The field readers on any data: the first byte is the delimiter of NextToken, the rest is
// cut into lines and every line read to its end by number and by token.

#include "check.h"
#include "geo/coordtext.h"
#include "geo/textfields.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

bool Within(std::string_view part, std::string_view whole) {
    return part.empty() || (part.data() >= whole.data() &&
                            part.data() + part.size() <= whole.data() + whole.size());
}

void ReadNumbers(std::string_view line) {
    const int length = static_cast<int>(line.size());
    int p = 1;
    // Every call takes at least one character, so a line of n characters ends within n calls.
    for (int calls = 0;; ++calls) {
        Check(calls <= length + 1, "NextNumber comes to the end of the line");
        const int before = p;
        const std::string_view number = NextNumber(line, p);
        if (p == before) {
            Check(number == "-1" && length <= p, "only a used-up line leaves p where it was");
            return;
        }
        Check(p > before && p <= length + 1, "p moves forward within the line");
        Check(Within(number, line), "the number lies within the line");
        for (const char c : number)
            Check(IsNumberChar(c), "a number run holds only number characters");
    }
}

void ReadTokens(std::string_view line, char delimiter) {
    const int length = static_cast<int>(line.size());
    int p = 1;
    for (int calls = 0;; ++calls) {
        Check(calls <= length + 1, "NextToken comes to the end of the line");
        const int before = p;
        const std::string_view token = NextToken(line, p, delimiter);
        if (p == before) {
            Check(token.empty() && length <= p, "only a used-up line leaves p where it was");
            return;
        }
        Check(p > before && p <= length + 1, "p moves forward within the line");
        Check(Within(token, line), "the token lies within the line");
        Check(token.find(delimiter) == std::string_view::npos, "a token holds no delimiter");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const char delimiter = static_cast<char>(data[0]);
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::size_t offset = 0;
    std::size_t taken = 0;
    while (offset < text.size()) {
        const std::size_t before = offset;
        const std::string line = ReadLine(text, offset);
        Check(offset > before && offset <= text.size(), "ReadLine moves forward within the data");
        Check(line.find_first_of("\r\n") == std::string::npos, "a line holds no line end");
        taken += line.size();
        ReadNumbers(line);
        ReadTokens(line, delimiter);
    }
    Check(ReadLine(text, offset).empty(), "the end of the data gives an empty line");
    Check(taken <= text.size(), "lines hold no more than the data");
    return 0;
}
