#include "widgets/control_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TEST(BMenuChoice, FiveCellsClampedAtBothEnds) {
    struct Row {
        double x;
        int choice;
    };
    for (Row row : {Row{249.9, 4},
                    {-3, 0},
                    {0, 0},
                    {49.99, 0},
                    {50, 1},
                    {125, 2},
                    {199.9, 3},
                    {200, 4},
                    {250, 4},
                    {1e6, 4},
                    {-1e6, 0}}) {
        SCOPED_TRACE(row.x);
        EXPECT_EQ(bMenuChoice(row.x, 250), row.choice);
    }
    EXPECT_EQ(bMenuChoice(std::numeric_limits<double>::quiet_NaN(), 250), 0);
}

TEST(CMenuChoice, RowsCountFromTheTop) {
    struct Row {
        double y;
        int choice;
    };
    // Three rows of 16 in a 48-high list: 32..48 is choice 0, 16..32 choice 1, 0..16 choice 2.
    for (Row row : {Row{40, 0},
                    {47.9, 0},
                    {32, 0},
                    {31.9, 1},
                    {16, 1},
                    {15.9, 2},
                    {0, 2},
                    {-3, 2},
                    {-40, 2},
                    {48, 0},
                    {100, 0}}) {
        SCOPED_TRACE(row.y);
        EXPECT_EQ(cMenuChoice(row.y, 48, 3), row.choice);
    }
    // Six rows: each value of y maps to exactly one row, top to bottom.
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(cMenuChoice((5 - i) * 16 + 8, 96, 6), i);
    }
}

TEST(BSliderValue, RoundsHalfUpAndClamps) {
    struct Row {
        double x;
        int value;
    };
    // 2..12 over 101 units: x = 10 per step, 2 + 10·x/100.
    for (Row row :
         {Row{54, 7}, {55, 8}, {0, 2}, {100, 12}, {4.99, 2}, {5, 3}, {-20, 2}, {500, 12}}) {
        SCOPED_TRACE(row.x);
        EXPECT_EQ(bSliderValue(row.x, 101, 2, 12), row.value);
    }
    // The group order slider: 0..2000 over 156.
    EXPECT_EQ(bSliderValue(155, 156, 0, 2000), 2000);
    EXPECT_EQ(bSliderValue(77.5, 156, 0, 2000), 1000);
}

TEST(CSliderValue, ProportionalNotRoundedAndClamped) {
    EXPECT_DOUBLE_EQ(cSliderValue(0, 156, 0, 1), 0);
    EXPECT_DOUBLE_EQ(cSliderValue(155, 156, 0, 1), 1);
    EXPECT_DOUBLE_EQ(cSliderValue(31, 156, 0, 1), 0.2);
    EXPECT_DOUBLE_EQ(cSliderValue(62, 156, 0.05, 1), 0.05 + 0.95 * 62 / 155);
    EXPECT_DOUBLE_EQ(cSliderValue(-10, 156, 1, 20), 1);
    EXPECT_DOUBLE_EQ(cSliderValue(1000, 156, 1, 20), 20);
}

TEST(SliderMarker, RunsFromTheLeftEdgeToTheLastUnit) {
    EXPECT_DOUBLE_EQ(bSliderMarker(2, 101, 2, 12), 0);
    EXPECT_DOUBLE_EQ(bSliderMarker(12, 101, 2, 12), 100);
    EXPECT_DOUBLE_EQ(bSliderMarker(7, 101, 2, 12), 50);
    EXPECT_DOUBLE_EQ(cSliderMarker(0.5, 156, 0, 1), 77.5);
    // Every tracked value puts the marker back under the pointer (within half a step).
    for (int x = 0; x <= 100; ++x) {
        SCOPED_TRACE(x);
        EXPECT_NEAR(bSliderMarker(bSliderValue(x, 101, 2, 12), 101, 2, 12), x, 5);
        EXPECT_NEAR(cSliderMarker(cSliderValue(x, 101, 0, 2), 101, 0, 2), x, 1e-9);
    }
}

TEST(ValueText, TwoTruncatedDecimalsWithoutLeadingZero) {
    struct Row {
        double v;
        const char* text;
    };
    for (Row row : {Row{2.375, "2.37"},
                    {1.0 / 12, ".08"},
                    {0.5, ".50"},
                    {20, "20.00"},
                    {-0.25, "–.25"},
                    {0.999, ".99"},
                    {1.0, "1.00"},
                    {0, ".00"},
                    {10, "10.00"},
                    {0.05, ".05"},
                    {1999.999, "1999.99"},
                    {-1.5, "–1.50"}}) {
        SCOPED_TRACE(row.v);
        EXPECT_EQ(value2(row.v), row.text);
    }
    EXPECT_EQ(value1(2.375), "2.3");
    EXPECT_EQ(value1(0.5), ".5");
    EXPECT_EQ(value1(20), "20.0");
}

TEST(ValueText, NonFiniteValuesStayReadable) {
    EXPECT_EQ(value2(std::numeric_limits<double>::quiet_NaN()), "nan");
    EXPECT_EQ(value2(std::numeric_limits<double>::infinity()), "inf");
    EXPECT_EQ(value2(-std::numeric_limits<double>::infinity()), "–inf");
    EXPECT_EQ(value2(1e300).substr(0, 3), "100");
}

}  // namespace
