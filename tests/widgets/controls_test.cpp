#include "widgets/controls.h"

#include <gtest/gtest.h>

#include <QTest>
#include <cmath>
#include <memory>

#include "geometry/settings.h"
#include "platform/recording_layer.h"
#include "test_model.h"
#include "widgets/color_picker_model.h"
#include "widgets/control_drawing.h"
#include "widgets_support.h"

namespace {

const BColor kOrange{1, 0.6f, 0};

// A 432 × 432 tab page on screen, and a count of the actions its controls send.
class ControlTest : public testing::Test {
  protected:
    void SetUp() override {
        model.settings = Settings{};
        colorPickerState = ColorPickerState{};
        page = std::make_unique<QWidget>();
        page->setGeometry(100, 100, 432, 432);
        page->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(page.get()));
    }

    Control::Action counter() {
        return [this](Control* sender) {
            ++actions;
            lastSender = sender;
        };
    }

    std::unique_ptr<QWidget> page;
    int actions = 0;
    Control* lastSender = nullptr;
};

// Qt's point in a control of height h for control co-ordinates (x, y) with y upwards.
QPoint at(const Control& c, int x, int y) {
    return {x, static_cast<int>(c.frame().h) - y};
}

TEST_F(ControlTest, MenusAndSlidersStoreTheChoiceUnderThePointer) {
    int scheme = 2;
    BMenu menu(page.get(), {216, 216, 250, 20}, counter(), &kOrange, &scheme);
    menu.show();
    sendMouse(&menu, QEvent::MouseButtonPress, {249.9, 10});
    EXPECT_EQ(scheme, 4);
    EXPECT_EQ(actions, 1);
    EXPECT_EQ(lastSender, &menu);
    sendMouse(&menu, QEvent::MouseMove, {220, 10});
    EXPECT_EQ(actions, 1);
    sendMouse(&menu, QEvent::MouseMove, {-3, 10});
    EXPECT_EQ(scheme, 0);
    EXPECT_EQ(actions, 2);
    sendMouse(&menu, QEvent::MouseButtonRelease, {-3, 10});
    EXPECT_EQ(scheme, 0);
    EXPECT_EQ(actions, 2);

    int mode = 2;
    CMenu list(page.get(), {216, 216, 156, 48}, counter(), &kOrange, &mode,
               {"set edge lengths", "rotate [xy]", "translate [xyz]"});
    QTest::mouseClick(&list, Qt::LeftButton, {}, at(list, 78, 40));
    EXPECT_EQ(mode, 0);
    int gen = 3;
    BSlider slider(page.get(), {216, 204, 101, 12}, counter(), &kOrange, "gen angle v π/", &gen, 2,
                   12);
    QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(54, 6));
    EXPECT_EQ(gen, 7);
    QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(55, 6));
    EXPECT_EQ(gen, 8);
    EXPECT_EQ(actions, 5);
}

TEST_F(ControlTest, CSliderWritesTheBoundDoubleBeforeItsAction) {
    double seen = -1;
    CSlider slider(
        page.get(), {216, 156, 156, 12}, [&](Control*) { seen = model.settings.lengthStep; },
        &kOrange, "length step ", &model.settings.lengthStep, 0, 0.5);
    QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(62, 6));
    EXPECT_DOUBLE_EQ(model.settings.lengthStep, 0.5 * 62 / 155);
    EXPECT_DOUBLE_EQ(seen, model.settings.lengthStep);
}

TEST_F(ControlTest, HeldPushButtonRepeatsOncePerDragEvent) {
    CPushButton button(page.get(), {216, 216, 76, 20}, counter(), &kOrange, "x");
    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(30, 10));
    EXPECT_EQ(actions, 1);
    EXPECT_FALSE(button.selected());

    actions = 0;
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(30, 10));
    EXPECT_EQ(actions, 1);
    EXPECT_TRUE(button.selected());
    for (int i = 1; i <= 3; ++i) {
        QTest::mouseMove(&button, QPoint(30 + 5 * i, 10));
        EXPECT_EQ(actions, 1 + i);
    }
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(45, 10));
    EXPECT_EQ(actions, 4);
    EXPECT_FALSE(button.selected());
}

TEST_F(ControlTest, CheckboxTogglesItsBoolThenSendsOnce) {
    bool seen = false;
    CCheckbox box(
        page.get(), {124, 228, 12, 12}, [&](Control*) { seen = model.settings.uniformV; }, &kOrange,
        &model.settings.uniformV);
    model.settings.uniformV = true;
    EXPECT_TRUE(looksLike(snapshot(&box), 6, 6, ControlColors::_white));
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(6, 6));
    EXPECT_FALSE(model.settings.uniformV);
    EXPECT_FALSE(seen);
    // A drag after the press does nothing more.
    QTest::mousePress(&box, Qt::LeftButton, {}, QPoint(6, 6));
    QTest::mouseMove(&box, QPoint(8, 6));
    QTest::mouseRelease(&box, Qt::LeftButton, {}, QPoint(8, 6));
    EXPECT_TRUE(model.settings.uniformV);
    EXPECT_TRUE(seen);
    // Two check boxes on one setting show one state.
    CCheckbox twin(page.get(), {124, 204, 12, 12}, counter(), &kOrange, &model.settings.uniformV);
    EXPECT_TRUE(looksLike(snapshot(&twin), 6, 6, ControlColors::_white));
}

TEST_F(ControlTest, PickerReadsItsColourAndSetBrightRewritesIt) {
    model.settings.windowColor = {1, 0.5f, 0};
    CColorPicker picker(page.get(), {216, 216, 200, 200}, counter(), &model.settings.windowColor,
                        &model.settings.bright);
    EXPECT_EQ(colorPickerState._sector, 0);
    EXPECT_DOUBLE_EQ(colorPickerState._hue, 0.5);

    model.settings.circleColor = {0.5f, 0.5f, 0.5f};
    picker.setColor(&model.settings.circleColor);
    EXPECT_EQ(picker.color(), &model.settings.circleColor);
    EXPECT_EQ(colorPickerState._sector, 5);
    EXPECT_DOUBLE_EQ(colorPickerState._hue, 0.5);
    EXPECT_DOUBLE_EQ(model.settings.bright, 0.5);

    colorPickerState._sat = 0.5;
    colorPickerState._sector = 3;
    colorPickerState._hue = 0;
    picker.setBright(1);
    EXPECT_FLOAT_EQ(model.settings.circleColor.r, 0.5f);
    EXPECT_FLOAT_EQ(model.settings.circleColor.g, 0.5f);
    EXPECT_FLOAT_EQ(model.settings.circleColor.b, 1);
    EXPECT_DOUBLE_EQ(model.settings.bright, 1);
    EXPECT_EQ(actions, 0);
}

TEST_F(ControlTest, PickerWritesTheColourUnderThePointerOnEveryEvent) {
    model.settings.windowColor = {0.5f, 0.5f, 0.5f};
    CColorPicker picker(page.get(), {216, 216, 200, 200}, counter(), &model.settings.windowColor,
                        &model.settings.bright);
    // 90 units straight up: yellow at saturation 90/96 over brightness 0.5.
    QTest::mousePress(&picker, Qt::LeftButton, {}, at(picker, 100, 190));
    EXPECT_EQ(actions, 1);
    const double s = 90.0 / 96;
    EXPECT_NEAR(model.settings.windowColor.r, s + (1 - s) * 0.5, 1e-6);
    EXPECT_NEAR(model.settings.windowColor.g, s + (1 - s) * 0.5, 1e-6);
    EXPECT_NEAR(model.settings.windowColor.b, (1 - s) * 0.5, 1e-6);
    // Far outside to the right: full saturation, still sent.
    QTest::mouseMove(&picker, at(picker, 400, 100));
    EXPECT_EQ(actions, 2);
    EXPECT_NEAR(model.settings.windowColor.g, 0, 1e-6);
    QTest::mouseRelease(&picker, Qt::LeftButton, {}, at(picker, 400, 100));
    EXPECT_EQ(actions, 3);
}

TEST_F(ControlTest, PickerWheelImageHoldsTheColoursOfTheSquaresAndIsCached) {
    model.settings.bright = 0.35;
    CColorPicker picker(page.get(), {216, 216, 200, 200}, counter(), &model.settings.windowColor,
                        &model.settings.bright);
    model.settings.bright = 0.35;
    const QImage wheel = picker.wheelImage();
    ASSERT_EQ(wheel.size(), QSize(192, 192));
    RecordingLayer squares;
    drawPickerWheel(squares, 0.35);
    QImage expected(192, 192, QImage::Format_ARGB32_Premultiplied);
    expected.fill(Qt::transparent);
    for (const auto& p : squares.paints()) {
        // Square (x, y) to (x + 1, y + 1), y upwards from the control's bottom; the image's
        // rows run downwards from y = 196.
        const int column = static_cast<int>(p.path[0].v[0]) - 4;
        const int row = 196 - (static_cast<int>(p.path[0].v[1]) + 1);
        expected.setPixel(column, row, QColor::fromRgbF(p.r, p.g, p.b).rgba());
    }
    EXPECT_EQ(wheel, expected);
    // The image is built once per brightness.
    const qint64 first = picker.wheelImage().cacheKey();
    picker.display();
    QTest::mouseClick(&picker, Qt::LeftButton, {}, at(picker, 120, 130));
    EXPECT_EQ(picker.wheelImage().cacheKey(), first);
    picker.setBright(model.settings.bright / 2);
    EXPECT_NE(picker.wheelImage().cacheKey(), first);
}

TEST_F(ControlTest, PickerShowsTheColourAsARingRoundTheWheel) {
    model.settings.windowColor = {0.25f, 0.55f, 0.75f};
    CColorPicker picker(page.get(), {216, 216, 200, 200}, counter(), &model.settings.windowColor,
                        &model.settings.bright);
    const QImage image = snapshot(&picker);
    // The edited colour as a ring round the wheel.
    EXPECT_TRUE(looksLike(image, 100, 1, model.settings.windowColor));
    EXPECT_TRUE(looksLike(image, 198, 100, model.settings.windowColor));
}

}  // namespace

namespace {

// Dark (text) pixels in the rows top ≤ y < bottom of the image.
int darkPixels(const QImage& image, int top, int bottom) {
    int n = 0;
    for (int y = std::max(top, 0); y < std::min(bottom, image.height()); ++y)
        for (int x = 0; x < image.width(); ++x) n += qGray(image.pixel(x, y)) < 80;
    return n;
}

// What a person sees of a button and a menu: the tint, the held or chosen part white, and every
// caption inside its own cell.
TEST_F(ControlTest, ButtonsAndMenusShowTheirTintAndEachCaptionInItsCell) {
    CPushButton button(page.get(), {216, 216, 76, 20}, counter(), &kOrange, "random", "matrix");
    button.show();
    QImage seen = snapshot(&button);
    EXPECT_TRUE(looksLike(seen, 10, 10, kOrange));
    EXPECT_GT(darkPixels(seen, 0, 10), 5);  // the first line above the middle
    EXPECT_GT(darkPixels(seen, 10, 20), 5);
    button.setSelected(true);
    EXPECT_TRUE(looksLike(snapshot(&button), 10, 10, ControlColors::_white));

    int choice = 1;
    CMenu menu(page.get(), {216, 216, 156, 48}, counter(), &kOrange, &choice,
               {"one", "two", "six"});
    menu.show();
    seen = snapshot(&menu);
    for (int row = 0; row < 3; ++row) {
        SCOPED_TRACE(row);
        EXPECT_TRUE(looksLike(seen, 4, 16 * row + 8, row == 1 ? ControlColors::_white : kOrange));
        EXPECT_GT(darkPixels(seen, 16 * row + 1, 16 * row + 15), 5);
    }
}

}  // namespace
