#include "files/textencoding.h"

#include <gtest/gtest.h>

namespace {

TEST(TextEncoding, DetectedPerText) {
    EXPECT_EQ(DetectEncoding("plain ASCII"), TextEncoding::Utf8);
    EXPECT_EQ(DetectEncoding("Z\xC3\xBCrich"), TextEncoding::Utf8);
    EXPECT_EQ(DetectEncoding("Z\xFCrich"), TextEncoding::Windows1252);
    EXPECT_EQ(DetectEncoding("cut \xC3"), TextEncoding::Windows1252);
}

TEST(TextEncoding, Windows1252Characters) {
    EXPECT_EQ(DecodeText("Z\xFCrich \x80 \x96", TextEncoding::Windows1252),
              QString::fromUtf8("Zürich € –"));
    EXPECT_EQ(EncodeText(QString::fromUtf8("Zürich € –"), TextEncoding::Windows1252),
              "Z\xFCrich \x80 \x96");
    EXPECT_EQ(EncodeText(QString::fromUtf8("Ω"), TextEncoding::Windows1252), "?");
}

TEST(TextEncoding, EveryWindows1252ByteRoundTrips) {
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    const QString text = DecodeText(all, TextEncoding::Windows1252);
    EXPECT_EQ(text.size(), 255);
    EXPECT_EQ(EncodeText(text, TextEncoding::Windows1252), all);
}

TEST(TextEncoding, Utf8RoundTripsWithItsByteOrderMark) {
    const std::string bytes = "\xEF\xBB\xBFH\xC3\xB6he \xE2\x82\xAC";
    const QString text = DecodeText(bytes, TextEncoding::Utf8);
    ASSERT_EQ(text.size(), 7);
    EXPECT_EQ(text[0], QChar(0xFEFF));
    EXPECT_EQ(text.mid(1), QString::fromUtf8("Höhe €"));
    EXPECT_EQ(EncodeText(text, TextEncoding::Utf8), bytes);
}

} // namespace
