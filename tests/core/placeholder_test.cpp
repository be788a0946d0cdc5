#include "geo/numbertext.h"

#include <gtest/gtest.h>

TEST(Placeholder, IntText) {
    EXPECT_EQ(IntText(-47), "-47");
}
