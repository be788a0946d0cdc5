#include "builders.h"
#include "coretest.h"
#include "geo/numbertext.h"
#include "model/randomize.h"
#include "model/thermalglyph.h"
#include "model/valueranges.h"
#include "model/waypoint.h"

#include <climits>

namespace {

using namespace coretest;

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
const auto kStoredRows =
    ::testing::Values(Stored{"Five", 5, 1, 5}, Stored{"Circle", 360, 4, 0},
                      Stored{"BelowCircle", -450, -2, -90}, Stored{"IntMin", INT_MIN, 0, -128});
INSTANTIATE_TEST_SUITE_P(Setters, StoredFormTable, kStoredRows, RowName);

TEST(Thermal, ObserverHearsRealChangesOnlyAndStaysWithItsValue) {
    Recorder rec;
    {
        Thermal t;
        t.Observe(&rec);
        t.SetType(4);
        t.SetType(4);
        t.SetWindDir(360); // compared before the remainder: a change, though 0 is stored again
        t.SetCloud(true);
        t.SetCloud(true);
        t.SetLat(47);
        t.SetLat(47);
        t.SetLon(0);
        t.SetBottom(300);
        t.SetActive(false); // the profiler's mark is redrawn whatever it was
        Thermal copy = t;
        copy.SetLon(1);
        t = copy;
        EXPECT_EQ(rec.events, "LLLPL");
    }
    EXPECT_EQ(rec.events, "LLLPLG");
}

// Set Data takes the twenty values and leaves place and marks alone; Apply To All gives the
// cumulus group or the profile group to every thermal, leaving the list as it is.
TEST(Thermal, SetDataAndApplyToAllSetTheirGroupsAlone) {
    ThermalList list = Thermals({{47, 8}, {46, 7}});
    Thermal& t = *list[0];
    t.SetSpare(9);
    t.SetGroundHeight(612);
    t.SetActive(true);
    const ThermalSettings v{2,    3,    4,  5,    6,  7,  false, 9,  10, 11,
                            1.5f, 2.5f, 14, 0.5f, 16, 17, 18,    19, 20, 21};
    t.SetData(v);
    EXPECT_EQ(Fields(t), Fields(v));
    EXPECT_EQ(std::tuple(t.lat, t.lon, t.spare, t.tGroundHeight, t.active),
              std::tuple(47.0, 8.0, 9, 612, true));
    const ThermalValues cumulus = CumulusToAll(list, v);
    ASSERT_EQ(cumulus.size(), 2u);
    EXPECT_EQ(Fields(cumulus[1].second),
              Fields({1,    0,    1500, 500,  270, 30000, true, 1500, 500, 1,
                      1.5f, 2.5f, 14,   0.5f, 16,  17,    80,   60,   20,  80}));
    const ThermalValues profile = ProfileToAll(list, v);
    EXPECT_EQ(std::tuple(profile[1].first, profile[1].second.lat), std::tuple(1u, 46.0));
    EXPECT_EQ(Fields(profile[1].second),
              Fields({1,  0,  1500, 500,   270, 30000, true, 1500, 500, 1,
                      -1, -1, 0,    -0.5f, -1,  -1,    18,   19,   20,  21}));
}

TEST(Thermal, HintExactlyAsTheTooltipShowsIt) {
    const auto t = NewThermal(47.25, -8.125);
    t->SetCuHs(1.3f);
    t->SetGroundHeight(612);
    EXPECT_EQ(t->Hint(meters),
              "Latitude 47.25000°\nLongitude -8.12500°\nThermalType 1\nBottom 0m\nTop 1500m\n"
              "Radius 500m\nWind Dir 270deg\nFactor 30000\nStrength Percent 80\n"
              "Core Size Percent 60\nCore Top Percent 80\nCore Bottom Percent 20\n"
              "Cloudbase 1500m\nCloudRadius 500m\nCloudType 1\n"
              "Cumulus Horizontal Scale 1.29999995231628\nCumulus Vertical Scale -1\n"
              "Cumulus Rotation Scale 0\nCumulus Cloud -0.5\nCumulus Start -1\n"
              "Cumulus End -1\nTerrain Height 612");
    t->SetBottom(-40);
    EXPECT_NE(t->Hint(feet).find("\nBottom -131ft\nTop 4921ft\nRadius 500m\n"), std::string::npos);
    t->SetCloud(false);
    EXPECT_NE(t->Hint(feet).find("\nCore Bottom Percent 20\nNo Cloud\nCumulus Horizontal"),
              std::string::npos);
}

struct Glyph {
    const char* name;
    int type, windDir, width, height;
    GlyphPoint centre, circleOrigin, lineEnd;
};
class ThermalGlyphTable : public ::testing::TestWithParam<Glyph> {};
TEST_P(ThermalGlyphTable, SizeCentreCircleAndLineEnd) {
    const Glyph& row = GetParam();
    const ThermalGlyph g = ComputeThermalGlyph(row.type, row.windDir, ThermalGlyph{});
    EXPECT_EQ(std::tuple(g.width, g.height, g.centre, g.circleOrigin, g.lineEnd),
              std::tuple(row.width, row.height, row.centre, row.circleOrigin, row.lineEnd));
}
// The line points from the circle's centre towards the compass bearing; each extent is
// 10 x sin or cos, taken half-up (300 degrees: 8.66 -> 9 left, 5 up).
const auto kThermalGlyphRows =
    ::testing::Values(Glyph{"North", 1, 0, 10, 15, {5, 10}, {0, 5}, {5, 0}},
                      Glyph{"East", 2, 90, 15, 10, {5, 5}, {0, 0}, {15, 5}},
                      Glyph{"Bearing300TypeZero", 0, 300, 14, 10, {9, 5}, {4, 0}, {0, 0}},
                      Glyph{"Bearing200", 1, 200, 10, 14, {5, 5}, {0, 0}, {2, 14}},
                      Glyph{"TypeFourIsACircle", 4, -90, 10, 10, {5, 5}, {0, 0}, {0, 0}});
INSTANTIATE_TEST_SUITE_P(WindDirections, ThermalGlyphTable, kThermalGlyphRows, RowName);

TEST(ThermalGlyph, NegativeWindKeepsThePreviousGeometryAndFillFollowsType) {
    const ThermalGlyph kept =
        ComputeThermalGlyph(2, -90, ComputeThermalGlyph(1, 90, ThermalGlyph{}));
    EXPECT_EQ(std::tuple(kept.width, kept.height, kept.windDx, kept.windDy, kept.lineEnd),
              std::tuple(15, 10, 10, 0, GlyphPoint{15, 5}));
    const std::tuple<int, bool, bool, Rgb> fills[] = {
        {1, false, true, {0, 255, 255}},  {1, true, false, {255, 255, 0}},
        {2, true, true, {0, 255, 0}},     {3, true, true, {128, 0, 128}},
        {4, false, false, {0, 0, 255}},   {4, true, false, {255, 0, 0}},
        {4, true, true, {255, 255, 255}}, {5, false, true, {255, 0, 0}}};
    for (const auto& [type, cloud, active, fill] : fills)
        EXPECT_EQ(ThermalFill(type, cloud, active), fill) << type << cloud << active;
}

TEST(Waypoint, HintPlaceChangesAndTheNextId) {
    Recorder rec; // outlives the waypoints it hears
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
    EXPECT_EQ(w.Hint(meters),
              "ID 5\nLatitude 46.75000°\nLongitude -7.50000°\nHeight 500 m\nAttributes \nName: \n"
              "Text: Pass, 2165 m");
    EXPECT_NE(w.Hint(feet).find("\nHeight 1640 ft\n"), std::string::npos);
    w.SetName(std::string(2000, 'n')); // cut short, not drawn across the screen
    EXPECT_NE(w.Hint(meters).find("\nName: " + std::string(80, 'n') + "...\n"), std::string::npos);
    w.SetID(-3);
    EXPECT_EQ(NextWaypointID(list), 1);
}

struct FreeName {
    const char* name;
    std::vector<std::string> taken;
    std::string wanted, given;
};
class FreeWaypointNameTable : public ::testing::TestWithParam<FreeName> {};
TEST_P(FreeWaypointNameTable, TheNameOrTheNextFreeNumber) {
    WaypointList list;
    for (const std::string& name : GetParam().taken) {
        list.push_back(std::make_unique<Waypoint>());
        list.back()->SetName(name);
    }
    EXPECT_EQ(FreeWaypointName(list, GetParam().wanted), GetParam().given);
}
INSTANTIATE_TEST_SUITE_P(
    Names, FreeWaypointNameTable,
    ::testing::Values(FreeName{"Free", {"Waypoint 1"}, "Col", "Col"},
                      FreeName{"Taken", {"Waypoint 1"}, "Waypoint 1", "Waypoint 2"},
                      FreeName{"NextTakenToo",
                               {"Waypoint 1", "Waypoint 2", "Waypoint 3"},
                               "Waypoint 2",
                               "Waypoint 4"},
                      FreeName{"NoNumber", {"Col"}, "Col", "Col 2"},
                      FreeName{"DigitsWithoutBlank", {"A7"}, "A7", "A7 2"},
                      // Ten digits are a name, not a number to count on.
                      FreeName{"TenDigits", {"Km 9999999999"}, "Km 9999999999", "Km 9999999999 2"}),
    RowName);

struct Range {
    const char* name;
    int min, max;
    std::uint32_t random;
    int value;
};
class ValueInRangeTable : public ::testing::TestWithParam<Range> {};
TEST_P(ValueInRangeTable, MinPlusRemainder) {
    const Range& row = GetParam();
    EXPECT_EQ(ValueInRange(row.min, row.max, row.random), row.value);
}
const auto kValueInRangeRows =
    ::testing::Values(Range{"DrawTop", 100, 200, 100, 200}, Range{"Swapped", 10, 5, 5, 10},
                      Range{"FullIntHighDraw", INT_MIN, INT_MAX, 0x7fffffff, -1});
INSTANTIATE_TEST_SUITE_P(Ranges, ValueInRangeTable, kValueInRangeRows, RowName);

TEST(Randomize, WholeNumbersAndTypesOutsideTheFilter) {
    EXPECT_EQ(std::tuple(ParseWholeNumber("1.9"), ParseWholeNumber("-1.5")), std::tuple(1, -1));
    EXPECT_EQ(std::tuple(ParseWholeNumber("2147483647.9"), ParseWholeNumber("-2147483648.9")),
              std::tuple(INT_MAX, INT_MIN));
    EXPECT_EQ(std::tuple(ParseWholeNumber("2147483648"), ParseWholeNumber("-2147483649")),
              std::tuple(std::nullopt, std::nullopt));
    const std::array<bool, 4> third{false, false, true, false};
    EXPECT_EQ(std::tuple(PassesTypeFilter(0, {}), PassesTypeFilter(1, {}), PassesTypeFilter(4, {}),
                         PassesTypeFilter(5, {}), PassesTypeFilter(3, third)),
              std::tuple(true, false, false, true, true));
}

// Each thermal that passes the type filter gets new values: a draw of the generator's output
// shifted to 31 bits for every ticked field, in the window's row order, and a cloud for a
// draw from 0 to 100 of at most the chance. The list itself does not change.
TEST(Randomize, TickedFieldsInTurnWithCoreBotBeforeCoreTop) {
    ThermalList thermals;
    for (int i = 0; i < 400; ++i)
        thermals.push_back(NewThermal(47, 8, ThermalSettings{})); // type 0: never filtered out
    thermals.push_back(NewThermal(47, 8));                        // type 1: not ticked
    RandomizeChoice choice;
    for (auto& range : choice.ranges)
        range = {true, "1", "100"};
    choice[RangeField::thermFactor].ticked = false;
    std::tie(choice.cloudOnOff, choice.cloudChance) = std::tuple(true, "50");
    const auto plan = PlanRandomize(choice);
    ASSERT_TRUE(std::holds_alternative<RandomizePlan>(plan));
    Randomizer random(2024);
    const auto changed = RandomizedThermals(thermals, std::get<RandomizePlan>(plan), random);
    ASSERT_EQ(changed.size(), 400u);

    std::mt19937 reference(2024);
    const auto next = [&] {
        return ValueInRange(1, 100, reference() >> 1);
    };
    for (const auto& [i, t] : changed) {
        for (const int value : {t.bottom, t.top, t.radius, t.windDir})
            EXPECT_EQ(value, next()) << i;
        EXPECT_EQ(t.factor, 0) << i;
        EXPECT_EQ(t.cloud, (reference() >> 1) % 101 <= 50) << i;
        for (const int value : {t.cloudBase, t.cloudRadius, t.cloudType, t.tStrengthPercent,
                                t.tCorePercent, t.tCoreBasePercent, t.tCoreTopPercent})
            EXPECT_EQ(value, next()) << i;
        EXPECT_EQ(thermals[i]->radius, 0) << i;
    }
}

// Every bad row is named in one message, and nothing is planned.
TEST(Randomize, EveryBadRowIsRefusedTogether) {
    RandomizeChoice choice;
    choice[RangeField::thermRadius] = {true, "", "10"};
    choice[RangeField::thermTop] = {true, "2000", "1000.9"};
    choice[RangeField::profileSize] = {true, "5", "101"};
    choice[RangeField::thermBottom] = {true, "20000", "20000"}; // good: its range's top
    std::tie(choice.cloudOnOff, choice.cloudChance) = std::tuple(true, "50.5");
    const auto plan = PlanRandomize(choice);
    ASSERT_TRUE(std::holds_alternative<Message>(plan));
    EXPECT_EQ(std::get<Message>(plan).text,
              "Nothing was randomized; these rows need other values:\n"
              "Top: Max 1000 is below Min 2000\n"
              "Radius: Min \"\" is not a number from 1 to 50000 m\n"
              "Core Size: Max \"101\" is not a number from 0 to 100 %\n"
              "Cloud On/Off: the chance \"50.5\" is not a whole number from 0 to 100 %");
}

// Each field's range edges: the lowest and highest values in, one step beyond each out.
struct Edges {
    ValueField field;
    const char* below;
    const char* min;
    const char* max;
    const char* above;
};
class FieldRangeTable : public ::testing::TestWithParam<Edges> {};
TEST_P(FieldRangeTable, EdgesInAndBeyondOut) {
    const Edges& e = GetParam();
    const auto read = [&e](const char* text) {
        return ParseFieldText(e.field, text, meters);
    };
    EXPECT_EQ(std::tuple(read(e.below), read(e.above)), std::tuple(std::nullopt, std::nullopt));
    EXPECT_EQ(std::tuple(read(e.min), read(e.max)),
              std::tuple(RangeOf(e.field).min, RangeOf(e.field).max));
}
INSTANTIATE_TEST_SUITE_P(
    Fields, FieldRangeTable,
    ::testing::Values(Edges{ValueField::bottom, "-1", "0", "20000", "20001"},
                      Edges{ValueField::top, "-1", "-", "20000", "99999999999"},
                      Edges{ValueField::radius, "0", "1", "50000", "50001"},
                      Edges{ValueField::windDir, "-1", "0", "360", "361"},
                      Edges{ValueField::factor, "-1", "0", "32767", "32768"},
                      Edges{ValueField::cloudBase, "-1", "0", "20000", "20001"},
                      Edges{ValueField::cloudRadius, "", "1", "50000", "50001"},
                      Edges{ValueField::cloudType, "-1", "0", "99999", "100000"},
                      Edges{ValueField::cuHS, "-1.01", "-1", "10", "10.01"},
                      Edges{ValueField::cuVS, "-1.01", "-1", "10", "1e300"},
                      Edges{ValueField::cuRotation, "-1", "0", "360", "361"},
                      Edges{ValueField::cuCloud, "-1.01", "-1", "1", "1.01"},
                      Edges{ValueField::cuStart, "-2", "-1", "1440", "1441"},
                      Edges{ValueField::cuEnd, "-2", "-1", "1440", "1441"},
                      Edges{ValueField::strength, "-50", "0", "100", "101"},
                      Edges{ValueField::coreSize, "-1", "0", "100", "101"},
                      Edges{ValueField::coreTop, "-1", "0", "100", "abc"},
                      Edges{ValueField::coreBottom, "-1", "0", "100", "101"},
                      Edges{ValueField::rollRate, "-1", "0", "100", "101"},
                      Edges{ValueField::sampleSize, "-1", "0", "100000", "100001"},
                      Edges{ValueField::autoThermalDist, "99", "100", "100000", "100001"},
                      Edges{ValueField::windSpeed, "-0.1", "0", "50", "50.5"}),
    [](const auto& info) {
        std::string name = RangeOf(info.param.field).label;
        std::erase(name, ' ');
        return name;
    });

// Placing a thermal reads every thermal value, each Apply To All only its group, and none
// reads the profiler's own settings: "+" where a field is read.
TEST(FieldRange, EachCommandReadsItsOwnFields) {
    const auto read = [](ValueUse use) {
        std::string fields;
        for (int f = 0; f < kValueFieldCount; ++f)
            fields += Reads(use, static_cast<ValueField>(f)) ? '+' : '.';
        return fields;
    };
    EXPECT_EQ(read(ValueUse::thermal), "++++++++++++++++++....");
    EXPECT_EQ(read(ValueUse::cumulus), "........++++++........");
    EXPECT_EQ(read(ValueUse::profile), "..............++++....");
}

// Heights typed in feet are checked as the metres they become, and their range is shown in
// feet; a whole field takes no fraction.
TEST(FieldRange, FeetAreCheckedAsMetresAndWholeFieldsTakeNoFraction) {
    EXPECT_EQ(std::pair(ParseFieldText(ValueField::top, "65617", feet),
                        ParseFieldText(ValueField::top, "65620", feet)),
              std::pair(std::optional(20000.0), std::optional<double>()));
    // Half a unit above each field's least value: "+" where the field takes it.
    std::string fractions;
    for (int f = 0; f < kValueFieldCount; ++f) {
        const auto field = static_cast<ValueField>(f);
        fractions +=
            ParseFieldText(field, NumberText(RangeOf(field).min + 0.5), meters) ? '+' : '.';
    }
    EXPECT_EQ(fractions, "........++.+.........+"); // the cumulus scales and visibility, the wind
    EXPECT_EQ(BadValuesText({ValueField::top, ValueField::strength}, feet),
              "These Thermal Data values do not convert or lie outside their range, so nothing "
              "was changed:\nTop: 0 to 65617 ft\nStrength: 0 to 100 %");
}

} // namespace
