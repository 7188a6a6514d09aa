#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "tiling_support.h"

// A step toward equal shares of the flagged kinds; setting one share rebalances the other two.
TEST(Lengths, EqualizeAndSetOne) {
    Settings& s = model.settings;
    s = Settings{};
    s.lengthV = 1, s.lengthE = 0, s.lengthF = 0;
    equalizeLength(s);
    EXPECT_TRUE(near(lengths(), Point{5.0 / 6, 1.0 / 12, 1.0 / 12}, 1e-15));
    // Only E flagged: E's share grows toward 1, the others shrink toward 0.
    s = Settings{};
    s.uniformV = s.uniformF = false;
    s.lengthV = 0.2, s.lengthE = 0.3, s.lengthF = 0.5;
    for (int i = 0; i < 200; ++i) equalizeLength(s);
    EXPECT_NEAR(s.lengthE, 1, 1e-12);
    // A full step onto zero targets leaves nothing to divide: equal thirds.
    s = Settings{};
    s.uniformV = s.uniformE = s.uniformF = false;
    s.lengthStep = 1;
    equalizeLength(s);
    EXPECT_TRUE(near(lengths(), Point{1.0 / 3, 1.0 / 3, 1.0 / 3}, 1e-15));

    const std::tuple<int, double, Point, Point> rows[] = {
        {0, 0.6, {0.2, 0.3, 0.5}, {0.6, 0.15, 0.25}},
        {0, 0.4, {1, 0, 0}, {0.4, 0.3, 0.3}},
        {1, 0.5, {0.25, 0.25, 0.5}, {1.0 / 6, 0.5, 1.0 / 3}},
    };
    for (const auto& [which, value, before, after] : rows) {
        s.lengthV = before.x, s.lengthE = before.y, s.lengthF = before.z;
        setLength(s, which, value);
        EXPECT_TRUE(near(lengths(), after, 1e-15)) << which << " to " << value;
    }
}
