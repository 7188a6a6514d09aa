#include "widgets/controls.h"

#include <gtest/gtest.h>

#include <QTest>
#include <cmath>
#include <cstdlib>
#include <memory>

#include "geometry/settings.h"
#include "platform/recording_layer.h"
#include "widgets/color_picker_model.h"
#include "widgets/control_drawing.h"
#include "widgets_support.h"

namespace {

const BColor kOrange{1, 0.6f, 0};

// A 432 × 432 tab page on screen, and a count of the actions its controls send.
class ControlTest : public testing::Test {
  protected:
    void SetUp() override {
        settings = Settings{};
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

TEST_F(ControlTest, FrameIsACentreAndASizeOnThePage) {
    CPushButton button(page.get(), {116, 216, 36, 20}, counter(), &kOrange, "show", "πολύ");
    EXPECT_EQ(button.geometry(), QRect(98, 206, 36, 20));
    CColorPicker picker(page.get(), {216, 216, 200, 200}, counter(), &settings.windowColor);
    EXPECT_EQ(picker.geometry(), QRect(116, 116, 200, 200));
    BSlider slider(page.get(), {216, 96, 156, 12}, counter(), &kOrange, "", &settings.genV, 2, 12);
    EXPECT_EQ(slider.geometry(), QRect(138, 330, 156, 12));
}

TEST_F(ControlTest, BMenuTracksAcrossItsCellsAndSendsOnlyOnChange) {
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
    // After the release the menu no longer follows the pointer.
    sendMouse(&menu, QEvent::MouseMove, {200, 10});
    EXPECT_EQ(scheme, 0);

    QTest::mouseClick(&menu, Qt::LeftButton, {}, QPoint(125, 10));
    EXPECT_EQ(scheme, 2);
    EXPECT_EQ(actions, 3);
}

TEST_F(ControlTest, CMenuClickNearTheTopPicksTheFirstChoice) {
    int mode = 2;
    CMenu menu(page.get(), {216, 216, 156, 48}, counter(), &kOrange, &mode,
               {"set edge lengths", "rotate [xy]", "translate [xyz]"});
    EXPECT_EQ(menu.count(), 3);
    QTest::mouseClick(&menu, Qt::LeftButton, {}, at(menu, 78, 40));
    EXPECT_EQ(mode, 0);
    EXPECT_EQ(actions, 1);
    QTest::mouseClick(&menu, Qt::LeftButton, {}, at(menu, 78, 20));
    EXPECT_EQ(mode, 1);
    // Dragged below the list: the last choice.
    QTest::mousePress(&menu, Qt::LeftButton, {}, at(menu, 78, 40));
    QTest::mouseMove(&menu, at(menu, 78, -30));
    QTest::mouseRelease(&menu, Qt::LeftButton, {}, at(menu, 78, -30));
    EXPECT_EQ(mode, 2);
    EXPECT_EQ(actions, 4);
}

TEST_F(ControlTest, BSliderStoresTheRoundedValueUnderThePointer) {
    int gen = 3;
    BSlider slider(page.get(), {216, 204, 101, 12}, counter(), &kOrange, "gen angle v π/", &gen, 2,
                   12);
    QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(54, 6));
    EXPECT_EQ(gen, 7);
    QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(55, 6));
    EXPECT_EQ(gen, 8);
    EXPECT_EQ(actions, 2);
    // Dragging off either end pins the value at that end.
    QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(55, 6));
    EXPECT_EQ(actions, 2);
    QTest::mouseMove(&slider, QPoint(300, 6));
    EXPECT_EQ(gen, 12);
    QTest::mouseMove(&slider, QPoint(-50, 6));
    EXPECT_EQ(gen, 2);
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(-50, 6));
    EXPECT_EQ(actions, 4);
}

TEST_F(ControlTest, CSliderWritesTheBoundDoubleBeforeItsAction) {
    double seen = -1;
    CSlider slider(
        page.get(), {216, 156, 156, 12}, [&](Control*) { seen = settings.lengthStep; }, &kOrange,
        "length step ", &settings.lengthStep, 0, 0.5);
    QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(62, 6));
    EXPECT_DOUBLE_EQ(settings.lengthStep, 0.5 * 62 / 155);
    EXPECT_DOUBLE_EQ(seen, settings.lengthStep);
    EXPECT_EQ(slider.setting(), &settings.lengthStep);
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

TEST_F(ControlTest, PushButtonLooksTintedAndTurnsWhileHeld) {
    CPushButton button(page.get(), {216, 216, 76, 20}, counter(), &kOrange, "x");
    QImage image = snapshot(&button);
    EXPECT_TRUE(looksLike(image, 4, 10, kOrange));
    // The rounded ends leave the corners clear.
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(image.pixel(75, 19)), 0);
    EXPECT_GT(darkPixels(image, image.rect()), 5);

    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(30, 10));
    image = snapshot(&button);
    EXPECT_TRUE(looksLike(image, 4, 10, ControlColors::_white));
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(30, 10));
    EXPECT_TRUE(looksLike(snapshot(&button), 4, 10, kOrange));

    // Two lines of text show twice the ink of one.
    const int one = darkPixels(snapshot(&button), button.rect());
    button.setText("random", "generators");
    EXPECT_EQ(button.textB(), "generators");
    EXPECT_GT(darkPixels(snapshot(&button), button.rect()), 3 * one);
    button.setText("x");
    EXPECT_TRUE(button.textB().empty());
}

TEST_F(ControlTest, CheckboxTogglesItsBoolThenSendsOnce) {
    bool seen = false;
    CCheckbox box(
        page.get(), {124, 228, 12, 12}, [&](Control*) { seen = settings.uniformV; }, &kOrange,
        &settings.uniformV);
    settings.uniformV = true;
    EXPECT_TRUE(looksLike(snapshot(&box), 6, 6, ControlColors::_white));
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(6, 6));
    EXPECT_FALSE(settings.uniformV);
    EXPECT_FALSE(seen);
    EXPECT_TRUE(looksLike(snapshot(&box), 6, 6, kOrange));
    // A drag after the press does nothing more.
    QTest::mousePress(&box, Qt::LeftButton, {}, QPoint(6, 6));
    QTest::mouseMove(&box, QPoint(8, 6));
    QTest::mouseRelease(&box, Qt::LeftButton, {}, QPoint(8, 6));
    EXPECT_TRUE(settings.uniformV);
    EXPECT_TRUE(seen);
    // Two check boxes on one setting show one state.
    CCheckbox twin(page.get(), {124, 204, 12, 12}, counter(), &kOrange, &settings.uniformV);
    EXPECT_TRUE(looksLike(snapshot(&twin), 6, 6, ControlColors::_white));
}

TEST_F(ControlTest, ColorWellShowsItsColourAndOnlySends) {
    settings.polyFaceVColor = {0.2f, 0.4f, 0.8f};
    CColorWell well(page.get(), {156, 264, 20, 20}, counter(), &settings.polyFaceVColor, "v");
    QImage image = snapshot(&well);
    EXPECT_TRUE(looksLike(image, 4, 10, settings.polyFaceVColor));
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
    QTest::mousePress(&well, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseMove(&well, QPoint(12, 10));
    QTest::mouseRelease(&well, Qt::LeftButton, {}, QPoint(12, 10));
    EXPECT_EQ(actions, 1);
    EXPECT_TRUE(looksLike(snapshot(&well), 4, 10, settings.polyFaceVColor));
}

TEST_F(ControlTest, LabelLeavesPressesToThePage) {
    struct PressCounter : QObject {
        int presses = 0;
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::MouseButtonPress) ++presses;
            return false;
        }
    } pageFilter;
    page->installEventFilter(&pageFilter);
    CTextField label(page.get(), {216, 288, 188, 20}, nullptr, &ControlColors::_gray, "Kaleidra");
    label.setFontSize(18);
    EXPECT_EQ(label.fontSize(), 18);
    QTest::mouseClick(&label, Qt::LeftButton, {}, QPoint(94, 10));
    EXPECT_EQ(pageFilter.presses, 1);
    const QImage image = snapshot(&label);
    EXPECT_TRUE(looksLike(image, 4, 10, ControlColors::_gray));
    EXPECT_GT(darkPixels(image, image.rect()), 40);
}

TEST_F(ControlTest, BMenuShowsTheBoundSchemeInWhite) {
    for (int scheme : {0, 3}) {
        SCOPED_TRACE(scheme);
        settings.triVertScheme = scheme;
        BMenu menu(page.get(), {236, 156, 180, 20}, counter(), &kOrange, &settings.triVertScheme);
        const QImage image = snapshot(&menu);
        for (int i = 0; i < 5; ++i) {
            const int white = whitePixels(image, QRect(36 * i + 1, 0, 34, 20));
            if (i == scheme)
                EXPECT_GT(white, 300) << i;
            else
                EXPECT_EQ(white, 0) << i;
            EXPECT_GT(darkPixels(image, QRect(36 * i, 0, 36, 20)), 10) << i;
        }
    }
}

TEST_F(ControlTest, SliderMarkerIsAWhiteColumnAtTheValue) {
    settings.genV = 7;
    BSlider slider(page.get(), {216, 204, 101, 12}, counter(), &kOrange, "v ", &settings.genV, 2,
                   12);
    const QImage image = snapshot(&slider);
    EXPECT_EQ(whitePixels(image, QRect(50, 0, 1, 12)), 12);
    EXPECT_TRUE(looksLike(image, 2, 6, kOrange));
    EXPECT_TRUE(looksLike(image, 98, 1, kOrange));
    EXPECT_GT(darkPixels(image, image.rect()), 5);  // the caption "v 7"
}

// --- the colour picker ------------------------------------------------------------------------

TEST_F(ControlTest, PickerPointsAtItsColourWhenMade) {
    settings.windowColor = {1, 0.5f, 0};
    CColorPicker picker(page.get(), {216, 216, 200, 200}, counter(), &settings.windowColor);
    EXPECT_EQ(picker.color(), &settings.windowColor);
    EXPECT_EQ(colorPickerState._sector, 0);
    EXPECT_DOUBLE_EQ(colorPickerState._hue, 0.5);

    settings.circleColor = {0.5f, 0.5f, 0.5f};
    picker.setColor(&settings.circleColor);
    EXPECT_EQ(picker.color(), &settings.circleColor);
    EXPECT_EQ(colorPickerState._sector, 5);
    EXPECT_DOUBLE_EQ(colorPickerState._hue, 0.5);
    EXPECT_DOUBLE_EQ(picker.bright(), 0.5);
}

TEST_F(ControlTest, PickerSetBrightRewritesTheEditedColour) {
    settings.windowColor = {0, 0, 0};
    CColorPicker picker(page.get(), {216, 216, 200, 200}, counter(), &settings.windowColor);
    colorPickerState._sat = 0.5;
    colorPickerState._sector = 3;
    colorPickerState._hue = 0;
    picker.setBright(1);
    EXPECT_FLOAT_EQ(settings.windowColor.r, 0.5f);
    EXPECT_FLOAT_EQ(settings.windowColor.g, 0.5f);
    EXPECT_FLOAT_EQ(settings.windowColor.b, 1);
    EXPECT_DOUBLE_EQ(settings.bright, 1);
    EXPECT_EQ(actions, 0);
}

TEST_F(ControlTest, PickerWritesTheColourUnderThePointerOnEveryEvent) {
    settings.windowColor = {0.5f, 0.5f, 0.5f};
    CColorPicker picker(page.get(), {216, 216, 200, 200}, counter(), &settings.windowColor);
    // 90 units straight up: yellow at saturation 90/96 over brightness 0.5.
    QTest::mousePress(&picker, Qt::LeftButton, {}, at(picker, 100, 190));
    EXPECT_EQ(actions, 1);
    const double s = 90.0 / 96;
    EXPECT_NEAR(settings.windowColor.r, s + (1 - s) * 0.5, 1e-6);
    EXPECT_NEAR(settings.windowColor.g, s + (1 - s) * 0.5, 1e-6);
    EXPECT_NEAR(settings.windowColor.b, (1 - s) * 0.5, 1e-6);
    // Far outside to the right, then the same spot again: full saturation, still sent.
    QTest::mouseMove(&picker, at(picker, 400, 100));
    EXPECT_EQ(actions, 2);
    EXPECT_NEAR(colorPickerState._sat, 1, 1e-12);
    EXPECT_EQ(colorPickerState._sector, 1);
    EXPECT_NEAR(settings.windowColor.r, 1, 1e-6);
    EXPECT_NEAR(settings.windowColor.g, 0, 1e-6);
    EXPECT_NEAR(settings.windowColor.b, 0.5, 1e-6);
    QTest::mouseRelease(&picker, Qt::LeftButton, {}, at(picker, 400, 100));
    EXPECT_EQ(actions, 3);
}

TEST_F(ControlTest, PickerWheelImageHoldsTheColoursOfTheSquares) {
    settings.bright = 0.35;
    CColorPicker picker(page.get(), {216, 216, 200, 200}, counter(), &settings.windowColor);
    settings.bright = 0.35;
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
}

TEST_F(ControlTest, PickerWheelIsBuiltOncePerBrightness) {
    settings.windowColor = {0.5f, 0.5f, 0.5f};
    CColorPicker picker(page.get(), {216, 216, 200, 200}, counter(), &settings.windowColor);
    const qint64 first = picker.wheelImage().cacheKey();
    picker.display();
    QTest::mouseClick(&picker, Qt::LeftButton, {}, at(picker, 120, 130));
    EXPECT_EQ(picker.wheelImage().cacheKey(), first);
    picker.setBright(settings.bright / 2);
    EXPECT_NE(picker.wheelImage().cacheKey(), first);
}

TEST_F(ControlTest, PickerShowsTheColourRingTheWheelAndTheMarker) {
    settings.windowColor = {0.25f, 0.55f, 0.75f};
    CColorPicker picker(page.get(), {216, 216, 200, 200}, counter(), &settings.windowColor);
    const QImage image = snapshot(&picker);
    if (const char* path = std::getenv("KALEIDRA_PICKER_PNG"))
        image.save(QString::fromLocal8Bit(path));
    // The edited colour as a ring round the wheel.
    EXPECT_TRUE(looksLike(image, 100, 1, settings.windowColor));
    EXPECT_TRUE(looksLike(image, 198, 100, settings.windowColor));
    // Yellow straight up at the rim, blue straight down, grey at the current brightness inside.
    EXPECT_TRUE(looksLike(image, 100, 5, {1, 1, 0}, 8));
    EXPECT_TRUE(looksLike(image, 100, 194, {0, 0, 1}, 8));
    BColor centre;
    ASSERT_TRUE(wheelColor(0.5, 0.5, settings.bright, &centre));
    EXPECT_TRUE(looksLike(image, 99, 99, centre, 3));
    // The marker: the complement of the colour on a circle of diameter 7 about the colour's
    // place on the wheel (sector 3, hue 0.6, saturation 0.5: 48 units out).
    EXPECT_EQ(colorPickerState._sector, 3);
    EXPECT_NEAR(colorPickerState._sat, 0.5, 1e-6);
    const PickerMarker m = pickerMarker();
    EXPECT_NEAR(std::hypot(m.x - 100, m.y - 100), 48, 1e-4);
    // Pixels that differ from the bare wheel turn red-ward (the complement has more red than
    // anything near it) and lie on the circle.
    const QImage& wheel = picker.wheelImage();
    const double cx = m.x, cy = 200 - m.y;
    int changed = 0;
    for (int y = int(cy) - 7; y <= int(cy) + 7; ++y) {
        for (int x = int(cx) - 7; x <= int(cx) + 7; ++x) {
            const QColor shown = image.pixelColor(x, y), bare = wheel.pixelColor(x - 4, y - 4);
            if (shown.red() - bare.red() < 40) continue;
            ++changed;
            EXPECT_NEAR(std::hypot(x + 0.5 - cx, y + 0.5 - cy), 3.5, 1.3) << x << ", " << y;
        }
    }
    EXPECT_GE(changed, 12);
}

}  // namespace
