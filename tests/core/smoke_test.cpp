#include "geo/numbertext.h"

#include <gtest/gtest.h>

// Replaced by the core's tests.
TEST(Smoke, IntText) {
    EXPECT_EQ(IntText(-47), "-47");
}
