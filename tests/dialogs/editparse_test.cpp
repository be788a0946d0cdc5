#include "dialogs/editparse.h"

#include <gtest/gtest.h>

TEST(EditParse, EmptyTextAndALoneMinusCountAsZero) {
    EXPECT_EQ(ParseIntEdit(""), 0);
    EXPECT_EQ(ParseIntEdit("-"), 0);
    EXPECT_EQ(ParseFloatEdit(""), 0.0f);
    EXPECT_EQ(ParseFloatEdit("-"), 0.0f);
    EXPECT_EQ(ParseHeightEdit("-", feet), 0);
}

TEST(EditParse, IntegersConvertWholeOrNotAtAll) {
    EXPECT_EQ(ParseIntEdit("1500"), 1500);
    EXPECT_EQ(ParseIntEdit("-90"), -90);
    EXPECT_EQ(ParseIntEdit("2147483647"), 2147483647);
    EXPECT_EQ(ParseIntEdit("-2147483648"), -2147483647 - 1);
    EXPECT_FALSE(ParseIntEdit("12a"));
    EXPECT_FALSE(ParseIntEdit("1.5"));
    EXPECT_FALSE(ParseIntEdit(" 12"));
    EXPECT_FALSE(ParseIntEdit("--"));
    EXPECT_FALSE(ParseIntEdit("2147483648"));
    EXPECT_FALSE(ParseIntEdit("99999999999999999999999"));
    EXPECT_FALSE(ParseIntEdit("12\n34"));
    EXPECT_FALSE(ParseIntEdit(QString::fromUtf8("١٢")));
}

TEST(EditParse, FloatsTakeAPointWhateverTheLocaleAndMustFitAFloat) {
    EXPECT_EQ(ParseFloatEdit("-0.5"), -0.5f);
    EXPECT_EQ(ParseFloatEdit("1.3"), 1.3f);
    EXPECT_EQ(ParseFloatEdit("2"), 2.0f);
    EXPECT_FALSE(ParseFloatEdit("1,5"));
    EXPECT_FALSE(ParseFloatEdit("abc"));
    EXPECT_FALSE(ParseFloatEdit("1" + QString(40, u'0')));
    EXPECT_FALSE(ParseFloatEdit("-1" + QString(400, u'0')));
}

TEST(EditParse, HeightsTypedInFeetAreStoredAsRoundedMetres) {
    EXPECT_EQ(ParseHeightEdit("1000", feet), 305);
    EXPECT_EQ(ParseHeightEdit("4921", feet), 1500);
    EXPECT_EQ(ParseHeightEdit("1000", meters), 1000);
    EXPECT_FALSE(ParseHeightEdit("12a", feet));
    // The largest number of feet still gives metres well inside an int.
    EXPECT_EQ(ParseHeightEdit("2147483647", feet), 654553016);
}

TEST(EditParse, HeightTextShowsRoundedFeet) {
    EXPECT_EQ(HeightEditText(1500, feet), "4921");
    EXPECT_EQ(HeightEditText(1500, meters), "1500");
    EXPECT_EQ(HeightEditText(305, feet), "1001");
    EXPECT_EQ(HeightEditText(-100, meters), "-100");
    // Metres beyond what an int of feet can hold show the largest int instead of overflowing.
    EXPECT_EQ(HeightEditText(2000000000, feet), "2147483647");
}

TEST(EditParse, ZeroOrMoreMetresComeBackUnchangedThroughFeet) {
    for (int metres : {0, 1, 2, 304, 305, 1500, 8848, 100000}) {
        SCOPED_TRACE(metres);
        EXPECT_EQ(ParseHeightEdit(HeightEditText(metres, feet), feet), metres);
    }
}
