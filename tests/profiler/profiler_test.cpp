#include "fakelink.h"
#include "profiler/profiler.h"
#include "thermalmaker.h"

#include <cmath>
#include <vector>

#include <gtest/gtest.h>

namespace {

class ProfilerTest : public ::testing::Test {
protected:
    ProfilerTest() {
        link.lat = 47.0;
        link.lon = 8.0;
        link.altitude = 800;
        link.msStrength = 50;
    }

    TThermal* Add(const Profile& p) {
        thermals.push_back(MakeThermal(p));
        return thermals.back().get();
    }
    // A thermal of radius 1000 m the given kilometres north of the aircraft's start.
    TThermal* AddNorth(double km, int strength = 80) {
        return Add({.lat = 47.0 + KmNorth(km), .radius = 1000, .strength = strength});
    }
    void Remove(TThermal* t) {
        profiler.Forget(t);
        std::erase_if(thermals, [t](const auto& p) { return p.get() == t; });
    }
    void Ticks(int n, int sampleSize = 10, bool roll = false) {
        for (int i = 0; i < n; ++i)
            profiler.Tick(roll, 10, sampleSize);
    }

    FakeLink link;
    ThermalList thermals;
    TProfiler profiler{thermals, link};
};

TEST_F(ProfilerTest, StartsOnTheNearestThermalAndWritesItsLiftEveryTick) {
    TThermal* near = AddNorth(0);
    TThermal* far = AddNorth(5);
    Ticks(2);
    EXPECT_EQ(profiler.current(), near);
    EXPECT_TRUE(near->active);
    EXPECT_FALSE(far->active);
    EXPECT_EQ(link.strengthWrites, (std::vector<int>{40, 40}));
}

TEST_F(ProfilerTest, WritesZeroAtOrBeyondTheRadius) {
    AddNorth(2);
    Ticks(2);
    EXPECT_EQ(link.strengthWrites, (std::vector<int>{0, 0}));
}

TEST_F(ProfilerTest, StrengthAboveAHundredPercentWritesAFullByte) {
    link.msStrength = 255;
    AddNorth(0, 150);
    Ticks(1);
    EXPECT_EQ(link.strengthWrites, (std::vector<int>{255}));
}

TEST_F(ProfilerTest, EmptyListWritesNothing) {
    Ticks(5, 10, true);
    EXPECT_EQ(profiler.current(), nullptr);
    EXPECT_TRUE(link.strengthWrites.empty());
    EXPECT_TRUE(link.rollWrites.empty());
    EXPECT_EQ(link.headingReads, 0);
}

TEST_F(ProfilerTest, NothingWithinTenKilometresWritesNothingUntilAStop) {
    TThermal* t = AddNorth(10.5);
    Ticks(1);
    link.lat = t->lat;
    Ticks(3);
    EXPECT_EQ(profiler.current(), nullptr);
    EXPECT_TRUE(link.strengthWrites.empty());
    profiler.Stop();
    Ticks(1);
    EXPECT_EQ(profiler.current(), t);
    EXPECT_EQ(link.strengthWrites.size(), 1u);
}

TEST_F(ProfilerTest, ReadsTheSimulatorStrengthOnlyWhenStarting) {
    TThermal* t = AddNorth(0);
    Ticks(1);
    link.msStrength = 40; // what the simulator now holds is the profiler's own write
    Ticks(1);
    profiler.Stop();
    EXPECT_EQ(profiler.current(), nullptr);
    EXPECT_FALSE(t->active);
    link.msStrength = 100;
    Ticks(1);
    EXPECT_EQ(link.strengthWrites, (std::vector<int>{40, 40, 80}));
}

// South of the thermal, heading east: a full impulse of 0.8 for ms strength 160.
class RollTest : public ProfilerTest {
protected:
    RollTest() {
        link.msStrength = 160;
        link.heading = 90;
        Add({.lat = 47.0 + KmNorth(1), .radius = 3000, .strength = 100});
    }
};

TEST_F(RollTest, ImpulseFadesToZeroOverTenTicks) {
    Ticks(15, 10, true);
    const std::vector<double> expected{0.8,  0.72, 0.64, 0.56, 0.48, 0.4,
                                       0.32, 0.24, 0.16, 0.08, 0.0};
    ASSERT_EQ(link.rollWrites.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_NEAR(link.rollWrites[i], expected[i], 1e-12) << "write " << i;
    EXPECT_EQ(link.headingReads, 1);
    EXPECT_EQ(link.strengthWrites.size(), 15u);
}

TEST_F(RollTest, NoRollWritesWithRollOff) {
    Ticks(15, 10, false);
    EXPECT_TRUE(link.rollWrites.empty());
    EXPECT_EQ(link.headingReads, 0);
}

TEST_F(RollTest, ImpulseIsGivenOnlyWhenStarting) {
    Ticks(1, 10, false);
    Ticks(5, 10, true);
    EXPECT_TRUE(link.rollWrites.empty());
}

TEST_F(RollTest, FadeEndsAtZeroEvenWhenItsThermalIsForgotten) {
    Ticks(3, 10, true);
    Remove(thermals.front().get());
    Ticks(10, 10, true);
    ASSERT_EQ(link.rollWrites.size(), 11u);
    EXPECT_EQ(link.rollWrites.back(), 0.0);
}

TEST_F(RollTest, NoNaNAtTheThermalCentre) {
    link.lat = thermals.front()->lat;
    Ticks(12, 10, true);
    ASSERT_FALSE(link.rollWrites.empty());
    for (double roll : link.rollWrites)
        EXPECT_TRUE(std::isfinite(roll));
    EXPECT_EQ(link.strengthWrites.back(), 160);
}

TEST_F(ProfilerTest, SampleSizeZeroKeepsTheFirstPick) {
    TThermal* first = AddNorth(1);
    TThermal* other = AddNorth(8);
    Ticks(1, 0);
    link.lat = other->lat;
    Ticks(5, 0);
    EXPECT_EQ(profiler.current(), first);
    EXPECT_EQ(link.strengthWrites.back(), 0);
}

TEST_F(ProfilerTest, SampleWalksTheListInTurn) {
    TThermal* t0 = AddNorth(3);
    TThermal* t1 = AddNorth(2);
    TThermal* t2 = AddNorth(4);
    TThermal* t3 = AddNorth(1);
    const std::vector<TThermal*> expected{t3, t1, t3, t1};
    for (TThermal* want : expected) {
        Ticks(1, 2);
        EXPECT_EQ(profiler.current(), want);
        for (TThermal* t : {t0, t1, t2, t3})
            EXPECT_EQ(t->active, t == want);
    }
}

TEST_F(ProfilerTest, SampleWithNothingWithinTenKilometresKeepsThePreviousThermalInactive) {
    TThermal* near = AddNorth(0);
    AddNorth(20);
    AddNorth(30);
    Ticks(2, 1); // the full search, then a sample of the near one
    EXPECT_TRUE(near->active);
    Ticks(1, 1); // a sample of the 20 km one
    EXPECT_EQ(profiler.current(), near);
    EXPECT_FALSE(near->active);
    EXPECT_EQ(link.strengthWrites, (std::vector<int>{40, 40, 40}));
    Ticks(2, 1); // 30 km, then the near one again
    EXPECT_TRUE(near->active);
}

TEST_F(ProfilerTest, SampleLargerThanTheListLooksAtEachOnce) {
    AddNorth(3);
    TThermal* nearest = AddNorth(1);
    Ticks(3, 7);
    EXPECT_EQ(profiler.current(), nearest);
    EXPECT_EQ(link.strengthWrites.size(), 3u);
}

TEST_F(ProfilerTest, SearchIndexWrapsWhenTheListShrinks) {
    TThermal* t0 = AddNorth(2);
    AddNorth(3);
    TThermal* t2 = AddNorth(1);
    TThermal* t3 = AddNorth(4);
    TThermal* t4 = AddNorth(5);
    Ticks(3, 2); // all, then 0-1, then 2-3: the next sample starts at 4
    EXPECT_EQ(profiler.current(), t2);
    Remove(t3);
    Remove(t4);
    Ticks(1, 2);
    EXPECT_EQ(profiler.current(), t0);
}

TEST_F(ProfilerTest, ForgettingTheCurrentThermalMovesOnToTheNearestRemaining) {
    TThermal* held = AddNorth(0);
    TThermal* other = Add({.lat = 47.0 + KmNorth(1), .radius = 3000, .strength = 50});
    Ticks(1);
    ASSERT_EQ(profiler.current(), held);
    link.msStrength = 40; // the profiler's own last write
    Remove(held);
    EXPECT_EQ(profiler.current(), nullptr);
    Ticks(1);
    EXPECT_EQ(profiler.current(), other);
    EXPECT_TRUE(other->active);
    // Still half of the strength read at the start, 50.
    EXPECT_EQ(link.strengthWrites, (std::vector<int>{40, 25}));
}

TEST_F(ProfilerTest, ForgettingAnotherThermalKeepsTheCurrentOne) {
    TThermal* held = AddNorth(0);
    TThermal* other = AddNorth(1);
    Ticks(1);
    Remove(other);
    EXPECT_EQ(profiler.current(), held);
    EXPECT_TRUE(held->active);
    Ticks(1);
    EXPECT_EQ(link.strengthWrites, (std::vector<int>{40, 40}));
}

TEST_F(ProfilerTest, ForgettingAllBeforeAClearEndsTheLift) {
    TThermal* held = AddNorth(0);
    Ticks(1);
    profiler.Forget(nullptr);
    EXPECT_FALSE(held->active);
    thermals.clear();
    Ticks(3);
    EXPECT_EQ(profiler.current(), nullptr);
    // The simulator still held the 40 of the thermal that is gone.
    EXPECT_EQ(link.strengthWrites, (std::vector<int>{40, 0, 0, 0}));
}

TEST_F(ProfilerTest, AfterForgettingWithNoneWithinReachAThermalAddedLaterIsTakenUp) {
    TThermal* held = AddNorth(0);
    AddNorth(12);
    Ticks(1);
    Remove(held);
    Ticks(2);
    EXPECT_EQ(profiler.current(), nullptr);
    TThermal* added = AddNorth(0);
    Ticks(2, 0);
    EXPECT_EQ(profiler.current(), added);
    EXPECT_TRUE(added->active);
    EXPECT_EQ(link.strengthWrites, (std::vector<int>{40, 0, 0, 40, 40}));
}

TEST_F(ProfilerTest, ThermalsLoadedAfterForgettingAllAreSearched) {
    AddNorth(0);
    Ticks(1);
    profiler.Forget(nullptr);
    thermals.clear();
    TThermal* loaded = AddNorth(0.2);
    Ticks(1);
    EXPECT_EQ(profiler.current(), loaded);
    EXPECT_EQ(link.strengthWrites, (std::vector<int>{40, 40}));
}

} // namespace
