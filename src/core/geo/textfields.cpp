#include "textfields.h"

#include "coordtext.h"
#include "numbertext.h"

#include <algorithm>
#include <charconv>
#include <iterator>

std::string ReadLine(std::string_view data, std::size_t& offset) {
    std::string scratch;
    return std::string(ReadLineView(data, offset, scratch));
}

std::string_view ReadLineView(std::string_view data, std::size_t& offset, std::string& scratch) {
    const std::size_t end = std::min(data.find('\n', offset), data.size());
    std::string_view line;
    if (offset < end) {
        line = data.substr(offset, end - offset);
        // A large project is read line by line: most lines end with their only carriage return.
        if (line.back() == '\r')
            line.remove_suffix(1);
        if (line.find('\r') != std::string_view::npos) {
            scratch.clear();
            std::remove_copy(line.begin(), line.end(), std::back_inserter(scratch), '\r');
            line = scratch;
        }
    }
    offset = std::min(end + 1, data.size());
    return line;
}

std::string_view NextNumber(std::string_view text, int& p) {
    p = std::max(p, 1);
    if (static_cast<int>(text.size()) <= p)
        return "-1";
    const int start = FindNumberStart(text, p);
    p = FindNumberEnd(text, start);
    return text.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(p - start));
}

std::string_view NextToken(std::string_view text, int& p, char delimiter) {
    p = std::max(p, 0);
    const auto length = static_cast<int>(text.size());
    if (length <= p)
        return {};
    const int start = ++p;
    while (p <= length && text[static_cast<std::size_t>(p - 1)] != delimiter)
        ++p;
    return text.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(p - start));
}

namespace {

void WriteField(std::string& out, std::string_view field, bool lineEnd,
                std::string_view separator) {
    out += field;
    if (lineEnd)
        out += '\n';
    else
        out += separator;
}

} // namespace

void WriteIntField(std::string& out, int value, bool lineEnd, std::string_view separator) {
    // Written straight from the digits: a large project's save is mostly integer fields.
    char digits[12];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    WriteField(out, std::string_view(digits, static_cast<std::size_t>(end - digits)), lineEnd,
               separator);
}

void WriteFloatField(std::string& out, float value, bool lineEnd, std::string_view separator) {
    WriteField(out, NumberText(value), lineEnd, separator);
}

std::string TextModeBytes(std::string_view text) {
    std::string bytes;
    bytes.reserve(text.size() +
                  static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')));
    for (const char c : text) {
        if (c == '\n')
            bytes += '\r';
        bytes += c;
    }
    return bytes;
}
