#include "textencoding.h"

#include <algorithm>
#include <array>
#include <iterator>

#include <QStringDecoder>

namespace {

// Windows-1252 differs from Latin-1 only in 0x80-0x9F. The five bytes that Windows-1252
// leaves undefined keep their Latin-1 control characters, so every byte round-trips.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QStringDecoder Utf8Decoder() {
    // Keeps a byte order mark as a character, so it is written back too; stateless, so a
    // sequence cut off at the end counts as an error.
    return QStringDecoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom |
                                                      QStringConverter::Flag::Stateless);
}

QByteArrayView ByteView(std::string_view bytes) {
    return {bytes.data(), static_cast<qsizetype>(bytes.size())};
}

char EncodeWindows1252(char16_t c) {
    const auto* const found = std::find(kHighControls.begin(), kHighControls.end(), c);
    if (found != kHighControls.end())
        return static_cast<char>(0x80 + std::distance(kHighControls.begin(), found));
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    return '?';
}

} // namespace

std::size_t ByteOrderMarkLength(std::string_view bytes) {
    constexpr std::string_view mark = "\xEF\xBB\xBF";
    return bytes.starts_with(mark) ? mark.size() : 0;
}

TextEncoding DetectEncoding(std::string_view bytes) {
    auto decoder = Utf8Decoder();
    const QString decoded = decoder.decode(ByteView(bytes));
    return decoder.hasError() ? TextEncoding::Windows1252 : TextEncoding::Utf8;
}

QString DecodeText(std::string_view bytes, TextEncoding encoding) {
    if (encoding == TextEncoding::Utf8) {
        auto decoder = Utf8Decoder();
        return decoder.decode(ByteView(bytes));
    }
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (const char byte : bytes) {
        const auto b = static_cast<unsigned char>(byte);
        text += QChar(b >= 0x80 && b < 0xA0 ? kHighControls[b - 0x80] : char16_t{b});
    }
    return text;
}

std::string EncodeText(const QString& text, TextEncoding encoding) {
    if (encoding == TextEncoding::Utf8) {
        const QByteArray bytes = text.toUtf8();
        return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
    }
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    for (const QChar c : text)
        bytes += EncodeWindows1252(c.unicode());
    return bytes;
}
