#include "widgets/color_picker_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "geometry/settings.h"
#include "platform/recording_layer.h"

namespace {

class PickerModel : public testing::Test {
  protected:
    void SetUp() override {
        settings = Settings{};
        colorPickerState = ColorPickerState{};
    }
};

void expectColor(const BColor& c, double r, double g, double b) {
    EXPECT_NEAR(c.r, r, 1e-6);
    EXPECT_NEAR(c.g, g, 1e-6);
    EXPECT_NEAR(c.b, b, 1e-6);
}

TEST_F(PickerModel, SetColorOfAFullySaturatedColourKeepsTheBrightness) {
    settings.bright = 0.3;
    readPickerColor({1, 0.5f, 0});
    EXPECT_EQ(colorPickerState._sector, 0);
    EXPECT_DOUBLE_EQ(colorPickerState._sat, 1);
    EXPECT_DOUBLE_EQ(colorPickerState._hue, 0.5);
    EXPECT_DOUBLE_EQ(settings.bright, 0.3);
}

TEST_F(PickerModel, SetColorOfAGreyKeepsTheHueAndLandsInSectorFive) {
    colorPickerState._hue = 0.7;
    colorPickerState._sector = 2;
    settings.bright = 0.1;
    readPickerColor({0.5f, 0.5f, 0.5f});
    EXPECT_EQ(colorPickerState._sector, 5);
    EXPECT_DOUBLE_EQ(colorPickerState._sat, 0);
    EXPECT_DOUBLE_EQ(settings.bright, 0.5);
    EXPECT_DOUBLE_EQ(colorPickerState._hue, 0.7);
}

TEST_F(PickerModel, SetBrightRewritesTheColourFromTheModel) {
    colorPickerState._sat = 0.5;
    colorPickerState._sector = 3;
    colorPickerState._hue = 0;
    settings.bright = 1;
    expectColor(currentPickerColor(), 0.5, 0.5, 1);
}

TEST_F(PickerModel, SectorsFollowTheOrderOfTheComponents) {
    struct Row {
        BColor c;
        int sector;
        double hue;
    };
    // Each sector with a hue of 0.25 at full saturation, and the ties between neighbours.
    for (Row row : {Row{{1, 0.25f, 0}, 0, 0.25},
                    {{1, 0, 0.25f}, 1, 0.25},
                    {{0.25f, 0, 1}, 2, 0.25},
                    {{0, 0.25f, 1}, 3, 0.25},
                    {{0, 1, 0.25f}, 4, 0.25},
                    {{0.25f, 1, 0}, 5, 0.25},
                    {{1, 0, 0}, 1, 0},
                    {{1, 1, 0}, 5, 1},
                    {{0, 0, 1}, 3, 0},
                    {{1, 0, 1}, 2, 1},
                    {{0, 1, 1}, 4, 1},
                    {{0, 1, 0}, 5, 0}}) {
        SCOPED_TRACE(testing::Message() << row.c.r << " " << row.c.g << " " << row.c.b);
        readPickerColor(row.c);
        EXPECT_EQ(colorPickerState._sector, row.sector);
        EXPECT_DOUBLE_EQ(colorPickerState._hue, row.hue);
        // The model gives the colour back.
        expectColor(currentPickerColor(), row.c.r, row.c.g, row.c.b);
    }
}

TEST_F(PickerModel, ReadingAModelColourGivesItsParametersBack) {
    for (int sector = 0; sector < 6; ++sector) {
        for (double hue : {0.1, 0.5, 0.9}) {
            for (double sat : {0.2, 0.6, 0.95}) {
                for (double bright : {0.0, 0.4, 1.0}) {
                    SCOPED_TRACE(testing::Message()
                                 << sector << " " << hue << " " << sat << " " << bright);
                    const BColor c = pickerColor(sector, hue, sat, bright);
                    readPickerColor(c);
                    EXPECT_EQ(colorPickerState._sector, sector);
                    EXPECT_NEAR(colorPickerState._hue, hue, 1e-6);
                    EXPECT_NEAR(colorPickerState._sat, sat, 1e-6);
                    EXPECT_NEAR(settings.bright, bright, 1e-6);
                }
            }
        }
    }
}

TEST_F(PickerModel, TrackingPicksTheColourUnderThePointer) {
    struct Row {
        double dx, dy;
        double r, g, b;
    };
    settings.bright = 0.5;
    // Straight up yellow, then clockwise red, magenta, blue, cyan, green, on the rim.
    const double s = 96;
    for (Row row : {Row{0, s, 1, 1, 0},
                    {s * std::sin(std::numbers::pi / 3), s / 2, 1, 0, 0},
                    {0, -s, 0, 0, 1},
                    {-s * std::sin(std::numbers::pi / 3), s / 2, 0, 1, 0},
                    {0, 2 * s, 1, 1, 0}}) {  // outside the wheel: full saturation
        SCOPED_TRACE(testing::Message() << row.dx << " " << row.dy);
        trackPicker(row.dx, row.dy);
        EXPECT_NEAR(colorPickerState._sat, 1, 1e-12);
        expectColor(currentPickerColor(), row.r, row.g, row.b);
    }
    // Half-way out: half saturated over the brightness.
    trackPicker(0, 48);
    expectColor(currentPickerColor(), 0.75, 0.75, 0.25);
}

TEST_F(PickerModel, TheCentreKeepsSectorAndHue) {
    trackPicker(30, -10);
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
    settings.bright = 0;
    colorPickerState._sat = 1;
    expectColor(currentPickerColor(), 1, 1, 0);
    BColor c;
    ASSERT_TRUE(wheelColor(-1e-300, 50, 1, &c));
    EXPECT_GE(c.r, 0.99);
}

TEST_F(PickerModel, MarkerSitsWhereThePointerPicked) {
    for (auto [dx, dy] : {std::pair{10.0, 40.0}, {-70.0, 20.0}, {-5.0, -90.0}, {60.0, -3.0}}) {
        SCOPED_TRACE(testing::Message() << dx << " " << dy);
        trackPicker(dx, dy);
        const PickerMarker m = pickerMarker();
        EXPECT_NEAR(m.x, 100 + dx, 1e-9);
        EXPECT_NEAR(m.y, 100 + dy, 1e-9);
        EXPECT_NEAR(
            std::fmod(colorPickerState._colorAngle + 2 * std::numbers::pi, 2 * std::numbers::pi),
            std::fmod(std::atan2(dx, dy) + 2 * std::numbers::pi, 2 * std::numbers::pi), 1e-9);
    }
}

TEST_F(PickerModel, WheelShowsTheModelAtTheSquareCentres) {
    // Grey at the centre, the model colour of each square's angle and distance elsewhere.
    BColor c;
    ASSERT_TRUE(wheelColor(0.5, 0.5, 0.4, &c));
    EXPECT_NEAR(c.r, 0.4, 0.01);
    EXPECT_NEAR(c.g, 0.4, 0.01);
    EXPECT_FALSE(wheelColor(95.5, 95.5, 0.4, &c));
    for (auto [dx, dy] : {std::pair{20.5, 30.5}, {-60.5, 10.5}, {-0.5, -95.5}, {70.5, -40.5}}) {
        SCOPED_TRACE(testing::Message() << dx << " " << dy);
        ASSERT_TRUE(wheelColor(dx, dy, 0.7, &c));
        trackPicker(dx, dy);
        settings.bright = 0.7;
        const BColor m = currentPickerColor();
        expectColor(c, m.r, m.g, m.b);
    }
}

TEST_F(PickerModel, SquareBySquareWheelHasAboutTwentyNineThousandSquares) {
    RecordingLayer layer;
    drawPickerWheel(layer, 0.5);
    // π · 96² ≈ 28,953.
    EXPECT_NEAR(layer.fillCount(), 28953, 150);
    for (const auto& p : layer.paints()) {
        ASSERT_EQ(p.path.size(), 1u);
        const auto& square = p.path[0];
        const double dx = square.v[0] + 0.5 - 100, dy = square.v[1] + 0.5 - 100;
        ASSERT_LE(dx * dx + dy * dy, 96.0 * 96.0);
    }
}

TEST_F(PickerModel, FrameAndMarkerColours) {
    colorPickerState._sat = 0.5;
    colorPickerState._sector = 3;
    const BColor c{0.2f, 0.4f, 1};
    RecordingLayer layer;
    drawPickerFrame(layer, c);
    drawPickerMarker(layer, c);
    ASSERT_EQ(layer.fillCount(), 1);
    ASSERT_EQ(layer.strokeCount(), 1);
    const auto& frame = layer.paints()[0];
    EXPECT_EQ(frame.path[0].op, RecordingLayer::Op::ovalPath);
    EXPECT_FLOAT_EQ(frame.path[0].v[2], 200);
    const auto& marker = layer.paints()[1];
    EXPECT_NEAR(marker.r, 0.8, 1e-6);
    EXPECT_NEAR(marker.g, 0.6, 1e-6);
    EXPECT_NEAR(marker.b, 0, 1e-6);
    EXPECT_FLOAT_EQ(marker.lineWidth, 1);
    EXPECT_FLOAT_EQ(marker.path[0].v[2], 7);
    // Sector 3 with hue 0 is straight down: the marker half-way down the wheel.
    EXPECT_NEAR(marker.path[0].v[0] + 3.5, 100, 1e-4);
    EXPECT_NEAR(marker.path[0].v[1] + 3.5, 100 - 48, 1e-4);
}

}  // namespace
