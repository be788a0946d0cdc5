#include "textencoding.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <iterator>
#include <optional>

namespace {

// Windows-1252 differs from Latin-1 only in 0x80-0x9F.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The code point of the UTF-8 sequence at bytes[i], advancing i past it; nothing for a
// malformed, overlong or cut-off sequence, a surrogate or a value beyond U+10FFFF.
std::optional<char32_t> NextCodePoint(std::string_view bytes, std::size_t& i) {
    const auto byte = [&](std::size_t k) {
        return static_cast<std::uint8_t>(bytes[k]);
    };
    const std::uint8_t lead = byte(i);
    if (lead < 0x80) {
        ++i;
        return lead;
    }
    int length = 0;
    char32_t value = 0;
    char32_t least = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        value = lead & 0x1F;
        least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        value = lead & 0x0F;
        least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        value = lead & 0x07;
        least = 0x10000;
    } else {
        ++i;
        return std::nullopt;
    }
    if (bytes.size() - i < static_cast<std::size_t>(length)) {
        i = bytes.size();
        return std::nullopt;
    }
    for (int k = 1; k < length; ++k) {
        const std::uint8_t next = byte(i + static_cast<std::size_t>(k));
        if ((next & 0xC0) != 0x80) {
            i += static_cast<std::size_t>(k);
            return std::nullopt;
        }
        value = value << 6 | (next & 0x3F);
    }
    i += static_cast<std::size_t>(length);
    if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return std::nullopt;
    return value;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The Windows-1252 byte of a character, or nothing when it has none.
std::optional<char> Windows1252Byte(char32_t c) {
    const auto* const found = std::find(kHighControls.begin(), kHighControls.end(), c);
    if (found != kHighControls.end())
        return static_cast<char>(0x80 + std::distance(kHighControls.begin(), found));
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    return std::nullopt;
}

} // namespace

std::size_t ByteOrderMarkLength(std::string_view bytes) {
    constexpr std::string_view mark = "\xEF\xBB\xBF";
    return bytes.starts_with(mark) ? mark.size() : 0;
}

bool LooksBinary(std::string_view bytes) {
    constexpr std::size_t kLooked = 8192;
    return bytes.substr(0, kLooked).find('\0') != std::string_view::npos;
}

TextEncoding DetectEncoding(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        if (!NextCodePoint(bytes, i))
            return TextEncoding::Windows1252;
    }
    return TextEncoding::Utf8;
}

std::string DecodeText(std::string_view bytes, TextEncoding encoding) {
    if (encoding == TextEncoding::Utf8)
        return std::string(bytes);
    std::string text;
    text.reserve(bytes.size());
    for (const char byte : bytes) {
        const auto b = static_cast<std::uint8_t>(byte);
        AppendUtf8(text, b >= 0x80 && b < 0xA0 ? kHighControls[b - 0x80] : char32_t{b});
    }
    return text;
}

std::string EncodeText(std::string_view text, TextEncoding encoding) {
    if (encoding == TextEncoding::Utf8)
        return std::string(text);
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size();)
        bytes += Windows1252Byte(NextCodePoint(text, i).value_or(U'?')).value_or('?');
    return bytes;
}

bool CanEncode(std::string_view text, TextEncoding encoding) {
    if (encoding == TextEncoding::Utf8)
        return true;
    for (std::size_t i = 0; i < text.size();) {
        const auto c = NextCodePoint(text, i);
        if (!c || !Windows1252Byte(*c))
            return false;
    }
    return true;
}
