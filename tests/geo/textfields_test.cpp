#include "geo/textfields.h"

#include <vector>

#include <gtest/gtest.h>

namespace {

std::vector<std::string> Numbers(std::string_view line, std::vector<int>& positions) {
    std::vector<std::string> numbers;
    int p = 1;
    for (;;) {
        numbers.emplace_back(NextNumber(line, p));
        positions.push_back(p);
        if (numbers.back() == "-1")
            return numbers;
    }
}

TEST(NextNumber, TakesTheRunsInOrder) {
    std::vector<int> positions;
    EXPECT_EQ(Numbers("12,-3.5,,7", positions),
              (std::vector<std::string>{"12", "-3.5", "7", "-1"}));
    EXPECT_EQ(positions, (std::vector<int>{3, 8, 11, 11}));

    positions.clear();
    EXPECT_EQ(Numbers("471,81", positions), (std::vector<std::string>{"471", "81", "-1"}));
}

TEST(NextNumber, EmptyWhenOnlySeparatorsRemain) {
    int p = 3;
    EXPECT_EQ(NextNumber("12,abc", p), "");
    EXPECT_EQ(p, 7);
    EXPECT_EQ(NextNumber("12,abc", p), "-1");
    EXPECT_EQ(p, 7);
}

TEST(NextNumber, ShortTexts) {
    // A text of one character is used up at position 1.
    int p = 1;
    EXPECT_EQ(NextNumber("5", p), "-1");
    EXPECT_EQ(p, 1);
    EXPECT_EQ(NextNumber("", p), "-1");
}

TEST(NextToken, FieldsBetweenDelimiters) {
    const std::string_view line = "1,A,B";
    int p = 1;
    EXPECT_EQ(NextNumber(line, p), "1");
    EXPECT_EQ(p, 2);
    EXPECT_EQ(NextToken(line, p, ','), "A");
    EXPECT_EQ(p, 4);
    EXPECT_EQ(NextToken(line, p, ','), "B");
    EXPECT_EQ(p, 6);
    EXPECT_EQ(NextToken(line, p, ','), "");
    EXPECT_EQ(p, 6);
}

TEST(NextToken, SkipsTheCharacterAtTheStartPosition) {
    int p = 1;
    EXPECT_EQ(NextToken("x,y", p, ','), "");
    EXPECT_EQ(p, 2);
    EXPECT_EQ(NextToken("x,y", p, ','), "y");
    EXPECT_EQ(p, 4);
}

TEST(NextToken, EmptyFieldsAndOtherDelimiters) {
    int p = 1;
    EXPECT_EQ(NextToken("1,,C", p, ','), "");
    EXPECT_EQ(p, 2);
    EXPECT_EQ(NextToken("1,,C", p, ','), "");
    EXPECT_EQ(p, 3);
    EXPECT_EQ(NextToken("1,,C", p, ','), "C");

    p = 0;
    EXPECT_EQ(NextToken("Mt Blanc;4807", p, ';'), "Mt Blanc");
    EXPECT_EQ(p, 9);
}

TEST(ReadLine, DropsCarriageReturnsAnywhere) {
    const std::string data = "A\rB\r\nC";
    std::size_t offset = 0;
    EXPECT_EQ(ReadLine(data, offset), "AB");
    EXPECT_EQ(ReadLine(data, offset), "C");
    EXPECT_EQ(offset, data.size());
    EXPECT_EQ(ReadLine(data, offset), "");
    EXPECT_EQ(offset, data.size());
}

TEST(ReadLine, LineOfCarriageReturnsOnlyIsEmpty) {
    const std::string data = "\r\r\nx\r";
    std::size_t offset = 0;
    EXPECT_EQ(ReadLine(data, offset), "");
    EXPECT_EQ(offset, 3u);
    EXPECT_EQ(ReadLine(data, offset), "x");
    EXPECT_EQ(offset, data.size());
}

TEST(ReadLine, EmptyLineGivesEmptyTextAndMovesOn) {
    const std::string data = "x\n\ny\n";
    std::size_t offset = 0;
    EXPECT_EQ(ReadLine(data, offset), "x");
    EXPECT_EQ(ReadLine(data, offset), "");
    EXPECT_EQ(ReadLine(data, offset), "y");
    EXPECT_EQ(ReadLine(data, offset), "");
}

TEST(WriteField, NumberThenLineFeedOrSeparator) {
    std::string out;
    WriteIntField(out, -5, false, ",");
    WriteIntField(out, 7, true, ",");
    WriteFloatField(out, -0.5f, false, " ");
    WriteFloatField(out, 0.1f, false, "M,");
    WriteFloatField(out, 1500.0f, true, " ");
    EXPECT_EQ(out, "-5,7\n-0.5 0.100000001490116M,1500\n");
}

TEST(TextModeBytes, EveryLineFeedGetsACarriageReturn) {
    EXPECT_EQ(TextModeBytes("a\nb\r\n"), "a\r\nb\r\r\n");
    EXPECT_EQ(TextModeBytes(""), "");
    EXPECT_EQ(TextModeBytes("no line end"), "no line end");
}

} // namespace
