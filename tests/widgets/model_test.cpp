// What the panel's controls compute apart from Qt: menu and slider values, value texts, and the
// colour picker's model.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <utility>

#include "geometry/settings.h"
#include "test_model.h"
#include "widgets/color_picker_model.h"
#include "widgets/control_model.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// Menu cells and slider steps at their boundaries, clamped at both ends.
TEST(ControlModel, MenusAndSlidersTakeTheValueUnderThePointer) {
    struct Row {
        int (*value)(double);
        double at;
        int want;
    };
    auto bMenu = [](double x) { return bMenuChoice(x, 250); };            // five cells
    auto cMenu = [](double y) { return cMenuChoice(y, 48, 3); };          // three rows from the top
    auto bSlider = [](double x) { return bSliderValue(x, 101, 2, 12); };  // rounded half up
    const Row rows[] = {
        {bMenu, 249.9, 4},  {bMenu, 49.99, 0}, {bMenu, 50, 1},    {bMenu, 1e6, 4},
        {bMenu, -1e6, 0},   {bMenu, kNaN, 0},  {cMenu, 32, 0},    {cMenu, 31.9, 1},
        {cMenu, 15.9, 2},   {cMenu, -40, 2},   {cMenu, 100, 0},   {bSlider, 54, 7},
        {bSlider, 4.99, 2}, {bSlider, 5, 3},   {bSlider, -20, 2}, {bSlider, 500, 12}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.at);
        EXPECT_EQ(row.value(row.at), row.want);
    }
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
        {2.375, "2.37"}, {1.0 / 12, ".08"}, {20, "20.00"}, {-0.25, "–.25"}, {0.999, ".99"},
        {0, ".00"},      {-1.5, "–1.50"},   {kNaN, "nan"}, {-kInf, "–inf"}, {1999.999, "1999.99"}};
    for (auto [v, text] : rows) {
        SCOPED_TRACE(v);
        EXPECT_EQ(value2(v), text);
    }
    EXPECT_EQ(value1(2.375), "2.3");
    EXPECT_EQ(value1(0.5), ".5");
}

class PickerModel : public testing::Test {
  protected:
    void SetUp() override {
        model.settings = Settings{};
        colorPickerState = ColorPickerState{};
    }
    static void expectColor(const BColor& c, const BColor& want) {
        EXPECT_NEAR(c.r, want.r, 1e-6);
        EXPECT_NEAR(c.g, want.g, 1e-6);
        EXPECT_NEAR(c.b, want.b, 1e-6);
    }
};

TEST_F(PickerModel, ReadingAModelColourGivesItsParametersBack) {
    for (int sector = 0; sector < 6; ++sector)
        for (double hue : {0.1, 0.5, 0.9})
            for (double sat : {0.2, 0.95})
                for (double bright : {0.0, 0.4, 1.0}) {
                    SCOPED_TRACE(testing::Message()
                                 << sector << " " << hue << " " << sat << " " << bright);
                    const BColor c = pickerColor(sector, hue, sat, bright);
                    readPickerColor(c, model.settings.bright);
                    EXPECT_EQ(colorPickerState._sector, sector);
                    EXPECT_NEAR(colorPickerState._hue, hue, 1e-6);
                    EXPECT_NEAR(colorPickerState._sat, sat, 1e-6);
                    EXPECT_NEAR(model.settings.bright, bright, 1e-6);
                    expectColor(currentPickerColor(model.settings.bright), c);
                }
    // Colours on the border of two sectors.
    const std::pair<BColor, int> ties[] = {{{1, 0, 0}, 1}, {{1, 1, 0}, 5}, {{0, 0, 1}, 3},
                                           {{1, 0, 1}, 2}, {{0, 1, 1}, 4}, {{0, 1, 0}, 5}};
    for (const auto& [c, sector] : ties) {
        SCOPED_TRACE(sector);
        readPickerColor(c, model.settings.bright);
        EXPECT_EQ(colorPickerState._sector, sector);
        expectColor(currentPickerColor(model.settings.bright), c);
    }
}

TEST_F(PickerModel, TrackingPicksTheColourUnderThePointer) {
    model.settings.bright = 0.5;
    // Straight up yellow, then clockwise red, blue, green on the rim; outside is full saturation.
    const double s = 96, side = s * std::sin(std::numbers::pi / 3);
    const std::pair<double, double> at[] = {
        {0, s}, {side, s / 2}, {0, -s}, {-side, s / 2}, {0, 2 * s}};
    const BColor want[] = {{1, 1, 0}, {1, 0, 0}, {0, 0, 1}, {0, 1, 0}, {1, 1, 0}};
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        trackPicker(at[i].first, at[i].second);
        EXPECT_NEAR(colorPickerState._sat, 1, 1e-12);
        expectColor(currentPickerColor(model.settings.bright), want[i]);
        if (i == 4) continue;
        const PickerMarker m = pickerMarker();  // the marker sits where the pointer picked
        EXPECT_NEAR(m.x, 100 + at[i].first, 1e-6);
        EXPECT_NEAR(m.y, 100 + at[i].second, 1e-6);
    }
    trackPicker(0, -48);  // half-way out: half saturated over the brightness
    expectColor(currentPickerColor(model.settings.bright), {0.25, 0.25, 0.75});
    trackPicker(0, 0);  // the centre keeps sector and hue
    EXPECT_EQ(colorPickerState._sat, 0);
    EXPECT_EQ(colorPickerState._sector, 3);
    EXPECT_EQ(colorPickerState._hue, 0);
    trackPicker(-1e-300, 50);  // a hair left of straight up is still in the six sectors
    EXPECT_LE(colorPickerState._sector, 5);
}

}  // namespace
