#include "widgets/control_model.h"

#include <gtest/gtest.h>

#include <limits>
#include <utility>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(ControlModel, MenuChoicesClampAtBothEnds) {
    // A five-cell BMenu 250 wide.
    const std::pair<double, int> cells[] = {{249.9, 4}, {-3, 0},  {49.99, 0}, {50, 1},  {199.9, 3},
                                            {200, 4},   {1e6, 4}, {-1e6, 0},  {kNaN, 0}};
    for (auto [x, choice] : cells) {
        SCOPED_TRACE(x);
        EXPECT_EQ(bMenuChoice(x, 250), choice);
    }
    // Three rows of 16 in a 48-high CMenu, counted from the top.
    const std::pair<double, int> rows[] = {{40, 0},   {32, 0},  {31.9, 1}, {16, 1},
                                           {15.9, 2}, {-40, 2}, {100, 0}};
    for (auto [y, choice] : rows) {
        SCOPED_TRACE(y);
        EXPECT_EQ(cMenuChoice(y, 48, 3), choice);
    }
}

TEST(ControlModel, SlidersRoundOrScaleAndClamp) {
    // 2..12 over 101 units, rounded half up.
    const std::pair<double, int> steps[] = {{54, 7}, {55, 8},  {4.99, 2},
                                            {5, 3},  {-20, 2}, {500, 12}};
    for (auto [x, value] : steps) {
        SCOPED_TRACE(x);
        EXPECT_EQ(bSliderValue(x, 101, 2, 12), value);
    }
    EXPECT_EQ(bSliderValue(155, 156, 0, 2000), 2000);
    EXPECT_DOUBLE_EQ(cSliderValue(62, 156, 0.05, 1), 0.05 + 0.95 * 62 / 155);
    EXPECT_DOUBLE_EQ(cSliderValue(-10, 156, 1, 20), 1);
    EXPECT_DOUBLE_EQ(cSliderValue(1000, 156, 1, 20), 20);
    // Every tracked value puts the marker back under the pointer (within half a step).
    for (int x = 0; x <= 100; ++x) {
        SCOPED_TRACE(x);
        EXPECT_NEAR(bSliderMarker(bSliderValue(x, 101, 2, 12), 101, 2, 12), x, 5);
        EXPECT_NEAR(cSliderMarker(cSliderValue(x, 101, 0, 2), 101, 0, 2), x, 1e-9);
    }
}

TEST(ControlModel, ValueTextTruncatesWithoutLeadingZero) {
    const std::pair<double, const char*> rows[] = {
        {2.375, "2.37"}, {1.0 / 12, ".08"}, {0.5, ".50"},         {20, "20.00"},   {-0.25, "–.25"},
        {0.999, ".99"},  {1.0, "1.00"},     {0, ".00"},           {-1.5, "–1.50"}, {kNaN, "nan"},
        {kInf, "inf"},   {-kInf, "–inf"},   {1999.999, "1999.99"}};
    for (auto [v, text] : rows) {
        SCOPED_TRACE(v);
        EXPECT_EQ(value2(v), text);
    }
    EXPECT_EQ(value2(1e300).substr(0, 3), "100");
    EXPECT_EQ(value1(2.375), "2.3");
    EXPECT_EQ(value1(0.5), ".5");
}

}  // namespace
