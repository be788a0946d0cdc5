#include "geo/numbertext.h"

#include <limits>

#include <gtest/gtest.h>

TEST(IntText, DigitsWithMinusOnlyWhenNegative) {
    EXPECT_EQ(IntText(0), "0");
    EXPECT_EQ(IntText(457), "457");
    EXPECT_EQ(IntText(-47), "-47");
    EXPECT_EQ(IntText(std::numeric_limits<long long>::min()), "-9223372036854775808");
}

TEST(NumberText, PlainForm) {
    EXPECT_EQ(NumberText(0), "0");
    EXPECT_EQ(NumberText(-0.0), "0");
    EXPECT_EQ(NumberText(-1), "-1");
    EXPECT_EQ(NumberText(2.5), "2.5");
    EXPECT_EQ(NumberText(47.1234567890123), "47.1234567890123");
    EXPECT_EQ(NumberText(1200), "1200");
    EXPECT_EQ(NumberText(-0.25), "-0.25");
    EXPECT_EQ(NumberText(0.0012), "0.0012");
}

TEST(NumberText, RoundsToFifteenSignificantDigits) {
    EXPECT_EQ(NumberText(47.12345678901234), "47.1234567890123");
    EXPECT_EQ(NumberText(0.1 + 0.2), "0.3");
    EXPECT_EQ(NumberText(2.0 / 3), "0.666666666666667");
    EXPECT_EQ(NumberText(123456789012345.0), "123456789012345");
}

TEST(NumberText, FloatIsWidened) {
    EXPECT_EQ(NumberText(0.1f), "0.100000001490116");
    EXPECT_EQ(NumberText(2.5f), "2.5");
}

TEST(NumberText, PlainFormBoundaries) {
    EXPECT_EQ(NumberText(0.0001), "0.0001");
    EXPECT_EQ(NumberText(-0.0001), "-0.0001");
    EXPECT_EQ(NumberText(0.00009999), "9.999E-5");
    // Rounding to 15 digits reaches 0.0001, so the plain form holds.
    EXPECT_EQ(NumberText(0.00009999999999999999), "0.0001");
    EXPECT_EQ(NumberText(0.0000999999999999999), "9.99999999999999E-5");
    EXPECT_EQ(NumberText(999999999999999.0), "999999999999999");
    EXPECT_EQ(NumberText(999999999999999.9), "1E15");
    EXPECT_EQ(NumberText(1e15), "1E15");
}

TEST(NumberText, ExponentForm) {
    EXPECT_EQ(NumberText(1e-5), "1E-5");
    EXPECT_EQ(NumberText(1.5e20), "1.5E20");
    EXPECT_EQ(NumberText(-1.5e20), "-1.5E20");
    EXPECT_EQ(NumberText(1.25e-100), "1.25E-100");
    EXPECT_EQ(NumberText(1.7976931348623157e308), "1.79769313486232E308");
    EXPECT_EQ(NumberText(5e-324), "4.94065645841247E-324");
}

TEST(NumberText, NonFiniteValuesHaveAText) {
    EXPECT_EQ(NumberText(std::numeric_limits<double>::infinity()), "INF");
    EXPECT_EQ(NumberText(-std::numeric_limits<double>::infinity()), "-INF");
    EXPECT_EQ(NumberText(std::numeric_limits<double>::quiet_NaN()), "NAN");
}

TEST(NumberText, ParsesBackToTheSameDouble) {
    for (const double value : {47.1234567890123, -8.25, 0.0001, 123456.5, 1e-3})
        EXPECT_EQ(ParseDecimal(NumberText(value)), value) << NumberText(value);
}

TEST(ParseDecimal, UsualDecimalForms) {
    EXPECT_EQ(ParseDecimal("12"), 12.0);
    EXPECT_EQ(ParseDecimal("-3.5"), -3.5);
    EXPECT_EQ(ParseDecimal("+.5"), 0.5);
    EXPECT_EQ(ParseDecimal("7."), 7.0);
    EXPECT_EQ(ParseDecimal("-.25"), -0.25);
    EXPECT_EQ(ParseDecimal("0047.50"), 47.5);
}

TEST(ParseDecimal, RejectsAnythingElse) {
    for (const char* text : {"", "+", "-", ".", "+-1", "-+1", "1.2.3", "1-2", "1,5", " 1", "1 ",
                             "1e5", "inf", "nan", "0x10", "--1"})
        EXPECT_FALSE(ParseDecimal(text).has_value()) << '"' << text << '"';
    EXPECT_FALSE(ParseDecimal(std::string(400, '9')).has_value());
}

TEST(ParseInteger, SignAndDigitsThatFitAnInt) {
    EXPECT_EQ(ParseInteger("457"), 457);
    EXPECT_EQ(ParseInteger("-47"), -47);
    EXPECT_EQ(ParseInteger("+5"), 5);
    EXPECT_EQ(ParseInteger("2147483647"), 2147483647);
    EXPECT_EQ(ParseInteger("-2147483648"), std::numeric_limits<int>::min());
    for (const char* text : {"", "+", "-", "2147483648", "-2147483649", "1.5", "+-1", "12a", " 1"})
        EXPECT_FALSE(ParseInteger(text).has_value()) << '"' << text << '"';
}
