#include "widgets/controls.h"

#include <gtest/gtest.h>

#include <QTest>

#include "geometry/settings.h"
#include "test_model.h"
#include "widgets/color_picker_model.h"
#include "widgets_support.h"

namespace {

const BColor kOrange{1, 0.6f, 0};

// Dark (text) pixels in the rows top ≤ y < bottom of the image.
int darkPixels(const QImage& image, int top, int bottom) {
    int n = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < image.width(); ++x) n += qGray(image.pixel(x, y)) < 80;
    return n;
}

// A 432 × 432 tab page on screen, and a count of the actions its controls send.
class ControlTest : public testing::Test {
  protected:
    void SetUp() override {
        model.settings = Settings{};
        colorPickerState = ColorPickerState{};
        page.setGeometry(100, 100, 432, 432);
        page.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    }
    Control::Action counter() {
        return [this](Control* sender) {
            ++actions;
            lastSender = sender;
        };
    }
    QWidget page;
    int actions = 0;
    Control* lastSender = nullptr;
};

TEST_F(ControlTest, MenuStoresTheChoiceUnderThePointerThenSendsOncePerChange) {
    int scheme = 2;
    BMenu menu(&page, {216, 216, 250, 20}, counter(), &kOrange, &scheme);
    QTest::mousePress(&menu, Qt::LeftButton, {}, QPoint(249, 10));
    EXPECT_EQ(scheme, 4);
    EXPECT_EQ(lastSender, &menu);
    QTest::mouseMove(&menu, QPoint(220, 10));  // the same cell: nothing sent
    EXPECT_EQ(actions, 1);
    QTest::mouseMove(&menu, QPoint(3, 10));
    EXPECT_EQ(scheme, 0);
    QTest::mouseRelease(&menu, Qt::LeftButton, {}, QPoint(3, 10));
    EXPECT_EQ(actions, 2);                // the release changed nothing more
    const QImage seen = snapshot(&menu);  // the chosen fifth white, the last one tinted
    EXPECT_TRUE(looksLike(seen, 2, 3, ControlColors::_white) && looksLike(seen, 248, 3, kOrange));
}

TEST_F(ControlTest, HeldPushButtonRepeatsOncePerDragEvent) {
    CPushButton button(&page, {216, 216, 76, 20}, counter(), &kOrange, "x");
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

// A press, drags and the release each pick the colour shown under the pointer, inside a ring
// of the edited colour; the picker follows the colour it is pointed at.
TEST_F(ControlTest, PickerPicksTheColourShownUnderThePointer) {
    model.settings.windowColor = {0.25f, 0.55f, 0.75f};
    CColorPicker picker(&page, {216, 216, 200, 200}, counter(), &model.settings.windowColor,
                        &model.settings.bright);
    const QImage image = snapshot(&picker);
    EXPECT_TRUE(looksLike(image, 100, 1, model.settings.windowColor));
    EXPECT_TRUE(looksLike(image, 198, 100, model.settings.windowColor));
    const qint64 wheel = picker.wheelImage().cacheKey();
    QTest::mousePress(&picker, Qt::LeftButton, {}, QPoint(100, 12));
    EXPECT_GT(model.settings.windowColor.g, 0.9);  // straight up is yellow
    EXPECT_LT(model.settings.windowColor.b, 0.4);
    for (const QPoint& p : {QPoint(20, 100), QPoint(150, 170), QPoint(60, 60)}) {
        SCOPED_TRACE(testing::Message() << p.x() << ", " << p.y());
        QTest::mouseMove(&picker, p);
        EXPECT_TRUE(looksLike(image, p.x(), p.y(), model.settings.windowColor, 3));
    }
    QTest::mouseRelease(&picker, Qt::LeftButton, {}, QPoint(400, 100));  // far outside: red
    EXPECT_NEAR(model.settings.windowColor.g, 0, 1e-6);
    EXPECT_EQ(actions, 5);
    EXPECT_EQ(picker.wheelImage().cacheKey(), wheel);  // made once per brightness
    model.settings.circleColor = {0.5f, 0.5f, 0.5f};
    picker.setColor(&model.settings.circleColor);
    EXPECT_DOUBLE_EQ(model.settings.bright, 0.5);
    picker.setBright(1);
    EXPECT_NE(picker.wheelImage().cacheKey(), wheel);
    EXPECT_TRUE(looksLike(snapshot(&picker), 100, 1, {1, 1, 1}));
}

// What a person sees of a button, a label and a menu: the tint, the held or chosen part white,
// and every caption inside its own cell.
TEST_F(ControlTest, ButtonsLabelsAndMenusShowTheirTintAndEachCaptionInItsCell) {
    CPushButton button(&page, {216, 216, 76, 20}, counter(), &kOrange, "random", "matrix");
    QImage seen = snapshot(&button);
    EXPECT_TRUE(looksLike(seen, 10, 10, kOrange));
    EXPECT_GT(darkPixels(seen, 0, 10), 5);  // the first line above the middle
    EXPECT_GT(darkPixels(seen, 10, 20), 5);
    button.setSelected(true);
    EXPECT_TRUE(looksLike(snapshot(&button), 10, 10, ControlColors::_white));
    CTextField label(&page, {216, 216, 76, 20}, {}, &kOrange, "ok");
    seen = snapshot(&label);
    EXPECT_TRUE(looksLike(seen, 10, 10, kOrange) && darkPixels(seen, 0, 20) > 5);
    int choice = 1;
    CMenu menu(&page, {216, 216, 156, 48}, counter(), &kOrange, &choice, {"one", "two", "six"});
    seen = snapshot(&menu);
    for (int row = 0; row < 3; ++row) {
        SCOPED_TRACE(row);
        EXPECT_TRUE(looksLike(seen, 4, 16 * row + 8, row == 1 ? ControlColors::_white : kOrange));
        EXPECT_GT(darkPixels(seen, 16 * row + 1, 16 * row + 15), 5);
    }
}

}  // namespace
