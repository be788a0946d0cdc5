#include "geo/coordtext.h"
#include "recordingprompts.h"

#include <gtest/gtest.h>

namespace {

constexpr double minute = 1.0 / 60;

struct Parsed {
    double value;
    QStringList messages;
};

Parsed Parse(std::string_view text) {
    RecordingPrompts rec;
    const double value = ParseDegrees(text);
    return {value, rec.messages()};
}

TEST(ParseDegrees, HemisphereLetterRightAfterTheMinutes) {
    struct {
        const char* text;
        double value;
    } const cases[] = {
        {"47:30.500N", 47 + 30.5 * minute},  {"047:30.500S", -(47 + 30.5 * minute)},
        {"8:15.250e", 8 + 15.25 * minute},   {"008:15.250W", -(8 + 15.25 * minute)},
        {"8 15.25E", 8 + 15.25 * minute},    {"47*30.5S", -(47 + 30.5 * minute)},
        {"47:30.5w", -(47 + 30.5 * minute)}, {"0:30S", -0.5},
    };
    for (const auto& c : cases) {
        const auto parsed = Parse(c.text);
        EXPECT_DOUBLE_EQ(parsed.value, c.value) << c.text;
        EXPECT_TRUE(parsed.messages.isEmpty()) << c.text;
    }
    EXPECT_DOUBLE_EQ(Parse("47:30.500N").value, 47.508333333333333);
}

TEST(ParseDegrees, LettersElsewhereAreIgnored) {
    // The character after the minutes is the apostrophe, so these stay positive.
    EXPECT_EQ(Parse("N47*30'").value, 47.5);
    EXPECT_EQ(Parse("47*30.5'S").value, 47 + 30.5 * minute);
    // Seconds are never read.
    EXPECT_EQ(Parse("47 30 59N").value, 47.5);
}

TEST(ParseDegrees, SignBelongsToTheDegreesAlone) {
    const auto parsed = Parse("-47:30N");
    EXPECT_EQ(parsed.value, -46.5);
    EXPECT_TRUE(parsed.messages.isEmpty());
}

TEST(ParseDegrees, MinutesAtTheEndOfTheText) {
    const auto parsed = Parse("47:30");
    EXPECT_EQ(parsed.value, 47.5);
    EXPECT_EQ(parsed.messages, QStringList{"Error|Error converting negative a=4 b=6 s=47:30"});
}

TEST(ParseDegrees, EmptyTextShowsEveryFailedStepInOrder) {
    const auto parsed = Parse("");
    EXPECT_EQ(parsed.value, 0);
    EXPECT_EQ(parsed.messages, (QStringList{
                                   "Error|Error convering degs, a=1 b=1 s=",
                                   "Error|Error converting to double a=1 b=1 s= st=",
                                   "Error|Error converting negative a=1 b=1 s=",
                               }));
}

TEST(ParseDegrees, MalformedRunsCountAsZero) {
    auto parsed = Parse("1.2.3:30N");
    EXPECT_EQ(parsed.value, 0.5);
    EXPECT_EQ(parsed.messages, QStringList{"Error|Error convering degs, a=1 b=6 s=1.2.3:30N"});

    parsed = Parse("47:-N");
    EXPECT_EQ(parsed.value, 47);
    EXPECT_EQ(parsed.messages,
              QStringList{"Error|Error converting to double a=4 b=5 s=47:-N st=-"});

    parsed = Parse("47N");
    EXPECT_EQ(parsed.value, 47);
    EXPECT_EQ(parsed.messages, (QStringList{"Error|Error converting to double a=4 b=4 s=47N st=",
                                            "Error|Error converting negative a=4 b=4 s=47N"}));
}

TEST(ParseDegrees, OverflowingSumIsRefused) {
    const std::string huge = "179769313486231570" + std::string(291, '0');
    const auto parsed = Parse(huge + ":" + huge + "N");
    EXPECT_EQ(parsed.value, 0);
    ASSERT_EQ(parsed.messages.size(), 1);
    EXPECT_TRUE(parsed.messages[0].startsWith(
        "Error|Error adding seconds v=1.79769313486232E308 ddt=2.99615522477053E306 s=1797"))
        << parsed.messages[0].toStdString();
}

} // namespace
