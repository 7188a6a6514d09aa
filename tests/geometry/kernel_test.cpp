#include <gtest/gtest.h>

#include "geometry/kernel.h"

TEST(Kernel, ComparePointsWithinTolerance) {
    settings = Settings{};
    EXPECT_EQ(compareP({1, 0, 0}, {1 + 5e-7, 0, 0}), 0);
}
