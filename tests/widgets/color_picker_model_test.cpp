#include "widgets/color_picker_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "geometry/settings.h"
#include "test_model.h"

namespace {

class PickerModel : public testing::Test {
  protected:
    void SetUp() override {
        model.settings = Settings{};
        colorPickerState = ColorPickerState{};
    }
};

void expectColor(const BColor& c, double r, double g, double b) {
    EXPECT_NEAR(c.r, r, 1e-6);
    EXPECT_NEAR(c.g, g, 1e-6);
    EXPECT_NEAR(c.b, b, 1e-6);
}

TEST_F(PickerModel, SectorsFollowTheOrderOfTheComponentsAndGiveTheColourBack) {
    struct Row {
        BColor c;
        int sector;
        double hue;
    };
    // Each sector at hue 0.25 and full saturation, and the ties between neighbours.
    const Row rows[] = {
        {{1, 0.25f, 0}, 0, 0.25}, {{1, 0, 0.25f}, 1, 0.25}, {{0.25f, 0, 1}, 2, 0.25},
        {{0, 0.25f, 1}, 3, 0.25}, {{0, 1, 0.25f}, 4, 0.25}, {{0.25f, 1, 0}, 5, 0.25},
        {{1, 0, 0}, 1, 0},        {{1, 1, 0}, 5, 1},        {{0, 0, 1}, 3, 0},
        {{1, 0, 1}, 2, 1},        {{0, 1, 1}, 4, 1},        {{0, 1, 0}, 5, 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.c.r << " " << row.c.g << " " << row.c.b);
        readPickerColor(row.c, model.settings.bright);
        EXPECT_EQ(colorPickerState._sector, row.sector);
        EXPECT_DOUBLE_EQ(colorPickerState._hue, row.hue);
        expectColor(currentPickerColor(model.settings.bright), row.c.r, row.c.g, row.c.b);
    }
}

TEST_F(PickerModel, ReadingAModelColourGivesItsParametersBack) {
    for (int sector = 0; sector < 6; ++sector)
        for (double hue : {0.1, 0.5, 0.9})
            for (double sat : {0.2, 0.95})
                for (double bright : {0.0, 0.4, 1.0}) {
                    SCOPED_TRACE(testing::Message()
                                 << sector << " " << hue << " " << sat << " " << bright);
                    readPickerColor(pickerColor(sector, hue, sat, bright), model.settings.bright);
                    EXPECT_EQ(colorPickerState._sector, sector);
                    EXPECT_NEAR(colorPickerState._hue, hue, 1e-6);
                    EXPECT_NEAR(colorPickerState._sat, sat, 1e-6);
                    EXPECT_NEAR(model.settings.bright, bright, 1e-6);
                }
}

TEST_F(PickerModel, TrackingPicksTheColourUnderThePointer) {
    struct Row {
        double dx, dy, r, g, b;
    };
    model.settings.bright = 0.5;
    // Straight up yellow, then clockwise red, blue, green on the rim; outside is full saturation.
    const double s = 96, side = s * std::sin(std::numbers::pi / 3);
    const Row rows[] = {{0, s, 1, 1, 0},
                        {side, s / 2, 1, 0, 0},
                        {0, -s, 0, 0, 1},
                        {-side, s / 2, 0, 1, 0},
                        {0, 2 * s, 1, 1, 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.dx << " " << row.dy);
        trackPicker(row.dx, row.dy);
        EXPECT_NEAR(colorPickerState._sat, 1, 1e-12);
        expectColor(currentPickerColor(model.settings.bright), row.r, row.g, row.b);
        if (row.dy > s) continue;  // the marker sits where the pointer picked
        const PickerMarker m = pickerMarker();
        EXPECT_NEAR(m.x, 100 + row.dx, 1e-6);
        EXPECT_NEAR(m.y, 100 + row.dy, 1e-6);
    }
    trackPicker(0, 48);  // half-way out: half saturated over the brightness
    expectColor(currentPickerColor(model.settings.bright), 0.75, 0.75, 0.25);
    // The centre keeps sector and hue.
    const int sector = colorPickerState._sector;
    const double hue = colorPickerState._hue;
    trackPicker(0, 0);
    EXPECT_EQ(colorPickerState._sat, 0);
    EXPECT_EQ(colorPickerState._sector, sector);
    EXPECT_EQ(colorPickerState._hue, hue);
}

TEST_F(PickerModel, APointAHairLeftOfStraightUpStaysInTheSixSectors) {
    trackPicker(-1e-300, 50);
    EXPECT_GE(colorPickerState._sector, 0);
    EXPECT_LE(colorPickerState._sector, 5);
    model.settings.bright = 0;
    colorPickerState._sat = 1;
    expectColor(currentPickerColor(model.settings.bright), 1, 1, 0);
    BColor c;
    ASSERT_TRUE(wheelColor(-1e-300, 50, 1, &c));
    EXPECT_GE(c.r, 0.99);
}

TEST_F(PickerModel, WheelShowsTheModelAtTheSquareCentres) {
    BColor c;
    ASSERT_TRUE(wheelColor(0.5, 0.5, 0.4, &c));  // grey at the centre
    EXPECT_NEAR(c.r, 0.4, 0.01);
    EXPECT_NEAR(c.g, 0.4, 0.01);
    EXPECT_FALSE(wheelColor(95.5, 95.5, 0.4, &c));
    for (auto [dx, dy] : {std::pair{20.5, 30.5}, {-60.5, 10.5}, {-0.5, -95.5}, {70.5, -40.5}}) {
        SCOPED_TRACE(testing::Message() << dx << " " << dy);
        ASSERT_TRUE(wheelColor(dx, dy, 0.7, &c));
        trackPicker(dx, dy);
        model.settings.bright = 0.7;
        const BColor m = currentPickerColor(model.settings.bright);
        expectColor(c, m.r, m.g, m.b);
    }
}

}  // namespace
