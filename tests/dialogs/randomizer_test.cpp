#include "dialogs/randomizer.h"
#include "recordingprompts.h"

#include <climits>

#include <gtest/gtest.h>

namespace {

std::unique_ptr<TThermal> Thermal(int type) {
    auto t = std::make_unique<TThermal>();
    t->SetType(type);
    return t;
}

TEST(ParseWholeNumber, TruncatesTowardZero) {
    EXPECT_EQ(ParseWholeNumber("1.9"), 1);
    EXPECT_EQ(ParseWholeNumber("-1.5"), -1);
    EXPECT_EQ(ParseWholeNumber("-0.5"), 0);
    EXPECT_EQ(ParseWholeNumber("200"), 200);
    EXPECT_EQ(ParseWholeNumber("2147483647.9"), INT_MAX);
    EXPECT_EQ(ParseWholeNumber("-2147483648.9"), INT_MIN);
}

TEST(ParseWholeNumber, RefusesTextAndNumbersBeyondAnInt) {
    for (const char* text : {"", "-", "abc", "1,5", "1e5", "12\n34", "2147483648", "-2147483649",
                             "99999999999999999999999999"})
        EXPECT_FALSE(ParseWholeNumber(QString::fromLatin1(text))) << text;
}

TEST(ValueInRange, CoversMinToMaxInclusive) {
    EXPECT_EQ(ValueInRange(100, 200, 0), 100);
    EXPECT_EQ(ValueInRange(100, 200, 100), 200);
    EXPECT_EQ(ValueInRange(100, 200, 101), 100);
    EXPECT_EQ(ValueInRange(-5, -1, 7), -3);
    EXPECT_EQ(ValueInRange(0, 0, 12345), 0);
}

TEST(ValueInRange, AMaxBelowMinDrawsBetweenTheTwo) {
    EXPECT_EQ(ValueInRange(10, 5, 0), 5);
    EXPECT_EQ(ValueInRange(10, 5, 5), 10);
    EXPECT_EQ(ValueInRange(10, 5, 6), 5);
}

TEST(ValueInRange, TheWidestRangesDoNotOverflow) {
    EXPECT_EQ(ValueInRange(INT_MIN, INT_MAX, 0), INT_MIN);
    EXPECT_EQ(ValueInRange(INT_MIN, INT_MAX, 0x7fffffff), -1);
    EXPECT_EQ(ValueInRange(INT_MAX, INT_MAX, 0x7fffffff), INT_MAX);
    EXPECT_EQ(ValueInRange(INT_MAX, INT_MIN, 5), INT_MIN + 5);
    EXPECT_EQ(ValueInRange(INT_MAX - 1, INT_MAX, 0x7fffffff), INT_MAX);
}

TEST(PassesTypeFilter, TypesOutsideOneToFourAreNeverSkipped) {
    const std::array<bool, 4> none{};
    const std::array<bool, 4> onlyThree{false, false, true, false};
    for (int type : {0, -1, 5, INT_MIN, INT_MAX}) {
        EXPECT_TRUE(PassesTypeFilter(type, none)) << type;
        EXPECT_TRUE(PassesTypeFilter(type, onlyThree)) << type;
    }
    for (int type = 1; type <= 4; ++type) {
        EXPECT_FALSE(PassesTypeFilter(type, none)) << type;
        EXPECT_EQ(PassesTypeFilter(type, onlyThree), type == 3) << type;
    }
}

TEST(Randomizer, DrawsAreTheGeneratorsOutputShiftedToThirtyOneBits) {
    Randomizer random(42);
    std::mt19937 reference(42);
    bool topBitSeen = false;
    for (int i = 0; i < 1000; ++i) {
        const std::uint32_t r = random.Draw();
        ASSERT_EQ(r, reference() >> 1);
        ASSERT_LT(r, 0x80000000u);
        topBitSeen = topBitSeen || (r & 0x40000000u);
    }
    EXPECT_TRUE(topBitSeen);
}

TEST(Randomizer, ConversionErrorsAreReportedOnlyWhileReporting) {
    RecordingPrompts prompts;
    Randomizer random(1);
    EXPECT_FALSE(random.RandomInRange("", "x", "thermBottom"));
    EXPECT_TRUE(prompts.entries.empty());

    random.reportErrors = true;
    // A failing Min stops the field before its Max is read.
    EXPECT_FALSE(random.RandomInRange("", "x", "thermBottom"));
    EXPECT_FALSE(random.RandomInRange("5", "1..2", "profileTop"));
    EXPECT_FALSE(random.CloudDraw("50.5"));
    EXPECT_EQ(prompts.messages(), QStringList({"Error|Error Converting thermBottom Min Value",
                                               "Error|Error Converting profileTop Max Value",
                                               "Error|Error Converting Cloud On/Off Value"}));
    EXPECT_EQ(random.RandomInRange("7", "7", "thermTop"), 7);
}

TEST(Randomizer, CloudChanceCountsADrawFromZeroToHundred) {
    Randomizer random(7);
    std::mt19937 reference(7);
    int onAtZero = 0;
    for (int i = 0; i < 1010; ++i) {
        const bool expected = (reference() >> 1) % 101 == 0;
        const std::optional<bool> on = random.CloudDraw("0");
        ASSERT_TRUE(on);
        ASSERT_EQ(*on, expected);
        onAtZero += *on;
    }
    EXPECT_GT(onAtZero, 0);
    EXPECT_LT(onAtZero, 40);
}

TEST(RandomizeThermals, DrawsEachFieldInTurnWithCoreBotBeforeCoreTop) {
    ThermalList thermals;
    thermals.push_back(Thermal(0));
    RandomizeChoice choice;
    for (auto& range : choice.ranges)
        range = {true, "0", "1000000"};
    choice[RangeField::thermWinddir].max = "359";
    choice.cloudOnOff = true;
    choice.cloudChance = "50";

    Randomizer random(2024);
    RandomizeThermals(thermals, choice, random);

    Randomizer reference(2024);
    const auto next = [&](int max) {
        return ValueInRange(0, max, reference.Draw());
    };
    const TThermal& t = *thermals[0];
    EXPECT_EQ(t.bottom, next(1000000));
    EXPECT_EQ(t.top, next(1000000));
    EXPECT_EQ(t.radius, next(1000000));
    EXPECT_EQ(t.windDir, next(359));
    EXPECT_EQ(t.factor, next(1000000));
    EXPECT_EQ(t.cloud, reference.Draw() % 101 <= 50);
    EXPECT_EQ(t.cloudBase, next(1000000));
    EXPECT_EQ(t.cloudRadius, next(1000000));
    EXPECT_EQ(t.cloudType, next(1000000));
    EXPECT_EQ(t.tStrengthPercent, next(1000000));
    EXPECT_EQ(t.tCorePercent, next(1000000));
    EXPECT_EQ(t.tCoreBasePercent, next(1000000));
    EXPECT_EQ(t.tCoreTopPercent, next(1000000));
}

TEST(RandomizeThermals, ErrorsAreReportedForTheFirstProcessedThermalOnly) {
    RecordingPrompts prompts;
    ThermalList thermals;
    thermals.push_back(Thermal(2)); // skipped: its box is not ticked
    for (int i = 0; i < 5; ++i)
        thermals.push_back(Thermal(1));
    for (const auto& t : thermals)
        t->SetBottom(33);
    RandomizeChoice choice;
    choice.typeTicked = {true, false, false, false};
    choice[RangeField::thermBottom] = {true, "", "10"};
    choice[RangeField::profileSize] = {true, "5", "b"};
    choice[RangeField::thermTop] = {true, "10", "20"};

    Randomizer random(3);
    RandomizeThermals(thermals, choice, random);

    EXPECT_EQ(prompts.messages(), QStringList({"Error|Error Converting thermBottom Min Value",
                                               "Error|Error Converting profileSize Max Value"}));
    EXPECT_FALSE(random.reportErrors);
    for (const auto& t : thermals)
        EXPECT_EQ(t->bottom, 33);
    EXPECT_EQ(thermals[0]->top, 0);
    for (std::size_t i = 1; i < thermals.size(); ++i) {
        EXPECT_GE(thermals[i]->top, 10);
        EXPECT_LE(thermals[i]->top, 20);
    }
}

} // namespace
