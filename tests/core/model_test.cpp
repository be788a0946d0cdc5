#include "builders.h"
#include "coretest.h"
#include "model/randomize.h"
#include "model/thermalglyph.h"
#include "model/waypoint.h"
#include "recordingprompts.h"

#include <climits>

namespace {

using coretest::Name;
using coretest::RowName;
using coretest::Strings;

// Writes "P" for a place change, "L" for a look change and "G" when the value is gone.
struct Recorder final : ValueObserver {
    std::string events;
    void ValueChanged(Change change) override { events += change == Change::place ? 'P' : 'L'; }
    void ValueGone() override { events += 'G'; }
};

auto Fields(const ThermalSettings& v) {
    return std::tuple(v.type, v.bottom, v.top, v.radius, v.windDir, v.factor, v.cloud, v.cloudBase,
                      v.cloudRadius, v.cloudType, v.tCuHS, v.tCuVS, v.tCuRotation, v.tCuCloud,
                      v.tCuStart, v.tCuEnd, v.tStrengthPercent, v.tCorePercent, v.tCoreBasePercent,
                      v.tCoreTopPercent);
}

using Stored = std::tuple<Name, int, int, int>; // given, stored type, stored wind
class StoredFormTable : public ::testing::TestWithParam<Stored> {};
TEST_P(StoredFormTable, RemainderKeepsTheSign) {
    const auto& [name, given, type, windDir] = GetParam();
    Thermal t;
    t.SetType(given);
    t.SetWindDir(given);
    EXPECT_EQ(std::pair(t.type, t.windDir), std::pair(type, windDir));
}
const auto kStoredFormRows = ::testing::Values(
    Stored{"Four", 4, 4, 4}, Stored{"Five", 5, 1, 5}, Stored{"MinusOne", -1, -1, -1},
    Stored{"MinusFour", -4, 0, -4}, Stored{"MinusFive", -5, -1, -5}, Stored{"Full", 359, 3, 359},
    Stored{"Circle", 360, 4, 0}, Stored{"TwoCircles", 725, 1, 5},
    Stored{"BelowCircle", -450, -2, -90}, Stored{"IntMin", INT_MIN, 0, -128},
    Stored{"IntMax", INT_MAX, 3, 127});
INSTANTIATE_TEST_SUITE_P(Setters, StoredFormTable, kStoredFormRows, RowName);

TEST(Thermal, ObserverHearsRealChangesOnlyAndStaysWithItsValue) {
    Recorder rec;
    {
        Thermal t;
        t.Observe(&rec);
        t.SetType(4);
        t.SetType(4);
        t.SetWindDir(360); // compared before the remainder: a change, though 0 is stored again
        t.SetCloud(false);
        t.SetLat(47);
        t.SetLat(47);
        t.SetLon(0);
        t.SetBottom(300);
        t.SetActive(false); // the profiler's mark is redrawn whatever it was
        Thermal copy = t;
        copy.SetLon(1);
        t = copy;
        EXPECT_EQ(rec.events, "LLPL");
    }
    EXPECT_EQ(rec.events, "LLPLG");
}

TEST(Thermal, SetDataInTheWindowsOrderLeavesPlaceAndMarksAlone) {
    auto t = NewThermal(47, 8, ThermalSettings{});
    t->SetSpare(9);
    t->SetGroundHeight(612);
    t->SetActive(true);
    // What is stored when each look change is told: type, then wind direction, then cloud.
    struct Snapshot final : ValueObserver {
        const Thermal* t = nullptr;
        std::string seen;
        void ValueChanged(Change) override {
            for (const int value : {t->radius, t->windDir, t->factor, int(t->cloud)})
                seen += std::to_string(value) + ' ';
        }
        void ValueGone() override {}
    } snapshot;
    snapshot.t = t.get();
    t->Observe(&snapshot);
    const ThermalSettings values = WindowDefaults();
    t->SetData(values);
    EXPECT_EQ(snapshot.seen, "0 0 0 0 500 270 0 0 500 270 30000 1 ");
    EXPECT_EQ(Fields(*t), Fields(values));
    EXPECT_EQ(std::tuple(t->lat, t->lon, t->spare, t->tGroundHeight, t->active),
              std::tuple(47.0, 8.0, 9, 612, true));
}

TEST(Thermal, ApplyToAllSetsItsGroupAlone) {
    ThermalList list = Thermals({{47, 8}, {46, 7}});
    const ThermalSettings values{.type = 3, .tCuHS = 2.5f, .tCuEnd = 90, .tStrengthPercent = 130};
    ApplyCumulusToAll(list, values);
    EXPECT_EQ(std::tuple(list[1]->tCuHS, list[1]->tCuEnd, list[1]->tStrengthPercent),
              std::tuple(2.5f, 90, 80));
    ApplyProfileToAll(list, values);
    EXPECT_EQ(std::tuple(list[1]->type, list[1]->tStrengthPercent, list[1]->tCoreTopPercent),
              std::tuple(1, 130, 0));
}

TEST(Thermal, HintExactlyAsTheTooltipShowsIt) {
    const auto t = NewThermal(47.25, -8.125);
    t->SetCuHs(1.3f);
    t->SetGroundHeight(612);
    EXPECT_EQ(t->Hint(), "Latitude 47.25\nLonitude -8.125\nThermalType 1\nBottom 0m\nTop 1500m\n"
                         "Radius 500m\nWind Dir 270deg\nFactor 30000\nStrength Percent 80\n"
                         "Core Size Percent 60\nCore Top Percent 80\nCore Bottom Percent 20\n"
                         "Cloudbase 1500m\nCloudRadius 500m\nCloudType 1\n"
                         "Cumulus Horizontal Scale 1.29999995231628\nCumulus Vertical Scale -1\n"
                         "Cumulus Rotation Scale 0\nCumulus Cloud -0.5\nCumulus Start -1\n"
                         "Cumulus End -1\nTerrain Height 612");
    t->SetHeightUnits(feet);
    t->SetBottom(-40);
    EXPECT_NE(t->Hint().find("\nBottom -131ft\nTop 4921ft\nRadius 500m\n"), std::string::npos);
    EXPECT_NE(t->Hint().find("\nCloudbase 4921ft\nCloudRadius 500m\n"), std::string::npos);
    EXPECT_TRUE(t->Hint().ends_with("\nTerrain Height 612"));
    t->SetCloud(false);
    EXPECT_NE(t->Hint().find("\nCore Bottom Percent 20\nNo Cloud\nCumulus Horizontal"),
              std::string::npos);
}

using Glyph = std::tuple<Name, int, int, int, int, GlyphPoint, GlyphPoint, GlyphPoint>;
class ThermalGlyphTable : public ::testing::TestWithParam<Glyph> {};
TEST_P(ThermalGlyphTable, SizeCentreCircleAndLineEnd) {
    const auto& [name, type, windDir, width, height, centre, circleOrigin, lineEnd] = GetParam();
    const ThermalGlyph g = ComputeThermalGlyph(type, windDir, ThermalGlyph{});
    EXPECT_EQ(std::tuple(g.width, g.height, g.centre, g.circleOrigin, g.lineEnd),
              std::tuple(width, height, centre, circleOrigin, lineEnd));
}
// The line points from the circle's centre towards the compass bearing; each extent is
// 10 x sin or cos, taken half-up (300 degrees: 8.66 -> 9 left, 5 up).
const auto kThermalGlyphRows =
    ::testing::Values(Glyph{"North", 1, 0, 10, 15, {5, 10}, {0, 5}, {5, 0}},
                      Glyph{"East", 2, 90, 15, 10, {5, 5}, {0, 0}, {15, 5}},
                      Glyph{"South", 3, 180, 10, 15, {5, 5}, {0, 0}, {5, 15}},
                      Glyph{"West", 1, 270, 15, 10, {10, 5}, {5, 0}, {0, 5}},
                      Glyph{"NorthEast", 1, 45, 12, 12, {5, 7}, {0, 2}, {12, 0}},
                      Glyph{"SouthWestTypeZero", 0, 225, 12, 12, {7, 5}, {2, 0}, {0, 12}},
                      Glyph{"Bearing300", 1, 300, 14, 10, {9, 5}, {4, 0}, {0, 0}},
                      Glyph{"Bearing200", 1, 200, 10, 14, {5, 5}, {0, 0}, {2, 14}},
                      Glyph{"TypeFourIsACircle", 4, -90, 10, 10, {5, 5}, {0, 0}, {0, 0}});
INSTANTIATE_TEST_SUITE_P(WindDirections, ThermalGlyphTable, kThermalGlyphRows, RowName);

TEST(ThermalGlyph, NegativeWindKeepsThePreviousGeometryAndFillFollowsType) {
    const ThermalGlyph kept =
        ComputeThermalGlyph(2, -90, ComputeThermalGlyph(1, 90, ThermalGlyph{}));
    EXPECT_EQ(std::tuple(kept.width, kept.height, kept.windDx, kept.windDy, kept.lineEnd),
              std::tuple(15, 10, 10, 0, GlyphPoint{15, 5}));
    EXPECT_EQ(ThermalFill(1, false, true), (Rgb{0, 255, 255}));
    EXPECT_EQ(ThermalFill(1, true, false), (Rgb{255, 255, 0}));
    EXPECT_EQ(ThermalFill(2, true, true), (Rgb{0, 255, 0}));
    EXPECT_EQ(ThermalFill(3, true, true), (Rgb{128, 0, 128}));
    EXPECT_EQ(ThermalFill(4, false, false), (Rgb{0, 0, 255}));
    EXPECT_EQ(ThermalFill(4, true, false), (Rgb{255, 0, 0}));
    EXPECT_EQ(ThermalFill(4, true, true), (Rgb{255, 255, 255}));
    EXPECT_EQ(ThermalFill(5, false, true), (Rgb{255, 0, 0}));
}

TEST(Waypoint, HintPlaceChangesAndTheNextId) {
    Recorder rec;
    WaypointList list;
    for (const int id : {5, 2, INT_MAX - 1}) {
        list.push_back(std::make_unique<Waypoint>());
        list.back()->SetID(id);
    }
    EXPECT_EQ(NextWaypointID(list), INT_MAX);
    list[2]->SetID(INT_MAX); // shared rather than wrapped
    EXPECT_EQ(NextWaypointID(list), INT_MAX);
    list.resize(1);
    EXPECT_EQ(NextWaypointID(list), 6);
    Waypoint& w = *list[0];
    w.Observe(&rec);
    w.SetLat(46.75);
    w.SetLat(46.75);
    w.SetLon(-7.5);
    w.SetLon(-7.5);
    w.SetGroundHeight(500);
    w.SetText("Pass, 2165 m");
    EXPECT_EQ(rec.events, "PP");
    EXPECT_EQ(w.Hint(), "ID 5\nLatitude 46.75\nLonitude -7.5\nHeight 500 m\nAttributes \nName: \n"
                        "Text: Pass, 2165 m");
    w.SetHeightUnits(feet);
    EXPECT_NE(w.Hint().find("\nHeight 1640 ft\n"), std::string::npos);
    w.SetID(-3);
    EXPECT_EQ(NextWaypointID(list), 1);
}

using Range = std::tuple<Name, int, int, std::uint32_t, int>;
class ValueInRangeTable : public ::testing::TestWithParam<Range> {};
TEST_P(ValueInRangeTable, MinPlusRemainder) {
    const auto& [name, min, max, r, value] = GetParam();
    EXPECT_EQ(ValueInRange(min, max, r), value);
}
const auto kValueInRangeRows =
    ::testing::Values(Range{"DrawZero", 100, 200, 0, 100}, Range{"DrawTop", 100, 200, 100, 200},
                      Range{"DrawWraps", 100, 200, 101, 100}, Range{"Negative", -5, -1, 7, -3},
                      Range{"SwappedLow", 10, 5, 0, 5}, Range{"SwappedHigh", 10, 5, 5, 10},
                      Range{"FullIntHighDraw", INT_MIN, INT_MAX, 0x7fffffff, -1},
                      Range{"FullIntSwapped", INT_MAX, INT_MIN, 5, INT_MIN + 5},
                      Range{"TopOfInt", INT_MAX - 1, INT_MAX, 0x7fffffff, INT_MAX});
INSTANTIATE_TEST_SUITE_P(Ranges, ValueInRangeTable, kValueInRangeRows, RowName);

TEST(Randomize, WholeNumbersAndTypesOutsideTheFilter) {
    EXPECT_EQ(ParseWholeNumber("1.9"), 1);
    EXPECT_EQ(ParseWholeNumber("-1.5"), -1);
    EXPECT_EQ(ParseWholeNumber("2147483647.9"), INT_MAX);
    EXPECT_EQ(ParseWholeNumber("-2147483648.9"), INT_MIN);
    EXPECT_EQ(ParseWholeNumber("2147483648"), std::nullopt);
    EXPECT_EQ(ParseWholeNumber("-2147483649"), std::nullopt);
    EXPECT_EQ(ParseWholeNumber("1,5"), std::nullopt);
    EXPECT_TRUE(PassesTypeFilter(5, {}));
    EXPECT_TRUE(PassesTypeFilter(0, {}));
}

// Each thermal that passes the type filter gets a draw of the generator's output shifted to
// 31 bits for every ticked field, in the window's row order.
TEST(Randomize, TickedFieldsInTurnWithCoreBotBeforeCoreTop) {
    ThermalList thermals = Thermals({{47, 8}, {47, 9}});
    thermals[0]->SetType(0); // outside 1 to 4: never filtered out
    RandomizeChoice choice;
    for (auto& range : choice.ranges)
        range = {true, "0", "1000000"};
    choice[RangeField::thermWinddir].max = "359";
    choice[RangeField::thermFactor].ticked = false;
    choice.cloudOnOff = true;
    choice.cloudChance = "50";
    Randomizer random(2024);
    RandomizeThermals(thermals, choice, random);

    std::mt19937 reference(2024);
    const auto next = [&](int max) {
        return ValueInRange(0, max, reference() >> 1);
    };
    const Thermal& t = *thermals[0];
    for (const int value : {t.bottom, t.top, t.radius})
        EXPECT_EQ(value, next(1000000));
    EXPECT_EQ(std::tuple(t.windDir, t.factor), std::tuple(next(359), 30000));
    EXPECT_EQ(t.cloud, (reference() >> 1) % 101 <= 50);
    for (const int value : {t.cloudBase, t.cloudRadius, t.cloudType, t.tStrengthPercent,
                            t.tCorePercent, t.tCoreBasePercent, t.tCoreTopPercent})
        EXPECT_EQ(value, next(1000000));
    EXPECT_EQ(Fields(*thermals[1]), Fields(WindowDefaults())); // type 1 is not ticked
}

// Only type 3 is ticked: the other types keep their cloud and take no draw.
TEST(Randomize, CloudChanceCountsADrawFromZeroToHundred) {
    ThermalList thermals;
    for (int i = 0; i < 800; ++i)
        thermals.push_back(NewThermal(47, 8, ThermalSettings{.type = 1 + i % 4}));
    RandomizeChoice choice;
    choice.typeTicked = {false, false, true, false};
    choice.cloudOnOff = true;
    Randomizer random(11);
    RandomizeThermals(thermals, choice, random); // a chance of 0: a draw of 0 turns it on
    std::mt19937 reference(11);
    int on = 0;
    for (const auto& t : thermals) {
        EXPECT_EQ(t->cloud, t->type == 3 && (reference() >> 1) % 101 == 0);
        on += t->cloud;
    }
    EXPECT_GT(on, 0);
    choice.cloudChance = "-1";
    RandomizeThermals(thermals, choice, random);
    for (const auto& t : thermals)
        EXPECT_FALSE(t->cloud);
}

TEST(Randomize, ConversionErrorsForTheFirstProcessedThermalOnly) {
    RecordingPrompts rec;
    ThermalList thermals = Thermals({{47, 8}, {47, 9}, {47, 10}});
    thermals[0]->SetType(2); // skipped: its box is not ticked
    RandomizeChoice choice;
    choice.typeTicked = {true, false, false, false};
    choice[RangeField::thermRadius] = {true, "", "10"};
    choice[RangeField::profileSize] = {true, "5", "b"};
    choice[RangeField::thermTop] = {true, "10", "20"};
    choice.cloudOnOff = true;
    choice.cloudChance = "50.5";
    Randomizer random(3);
    RandomizeThermals(thermals, choice, random);
    EXPECT_EQ(rec.messages(), (Strings{"Error|Error Converting thermRadius Min Value",
                                       "Error|Error Converting Cloud On/Off Value",
                                       "Error|Error Converting profileSize Max Value"}));
    EXPECT_FALSE(random.reportErrors);
    for (const auto& t : thermals)
        EXPECT_EQ(std::tuple(t->radius, t->tCorePercent, t->cloud), std::tuple(500, 60, true));
    EXPECT_EQ(thermals[0]->top, 1500);
    for (const int i : {1, 2})
        EXPECT_TRUE(thermals[i]->top >= 10 && thermals[i]->top <= 20) << thermals[i]->top;
}

} // namespace
