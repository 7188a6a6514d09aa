// The panel's controls: what they compute apart from Qt (menu and slider values, value texts,
// the colour picker's model), and what a held control does and shows, driven by real events.

#include "widgets/controls.h"

#include <gtest/gtest.h>

#include <QTest>
#include <cmath>
#include <limits>
#include <numbers>
#include <tuple>
#include <utility>

#include "geometry/settings.h"
#include "test_model.h"
#include "widgets/color_picker_model.h"
#include "widgets/control_model.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
const BColor kOrange{1, 0.6f, 0};

// Menu cells and slider steps at their boundaries, clamped at both ends; every value a slider
// takes puts its marker back under the pointer (within half a step).
TEST(ControlModel, MenusAndSlidersTakeTheValueUnderThePointer) {
    struct Row {
        int (*value)(double);
        double at;
        int want;
    };
    auto bMenu = [](double x) { return bMenuChoice(x, 250); };            // five cells
    auto cMenu = [](double y) { return cMenuChoice(y, 48, 3); };          // three rows from the top
    auto bSlider = [](double x) { return bSliderValue(x, 101, 2, 12); };  // rounded half up
    const Row rows[] = {{bMenu, 49.99, 0}, {bMenu, 50, 1},    {bMenu, 1e6, 4},    {bMenu, kNaN, 0},
                        {cMenu, 32, 0},    {cMenu, 31.9, 1},  {cMenu, 15.9, 2},   {cMenu, -40, 2},
                        {cMenu, 100, 0},   {bSlider, 54, 7},  {bSlider, 4.99, 2}, {bSlider, 5, 3},
                        {bSlider, -20, 2}, {bSlider, 500, 12}};
    for (const Row& row : rows) EXPECT_EQ(row.value(row.at), row.want) << row.at;
    EXPECT_DOUBLE_EQ(cSliderValue(-10, 156, 1, 20), 1);
    EXPECT_DOUBLE_EQ(cSliderValue(1000, 156, 1, 20), 20);
    for (int x = 0; x <= 100; ++x) {
        EXPECT_NEAR(bSliderMarker(bSliderValue(x, 101, 2, 12), 101, 2, 12), x, 5);
        EXPECT_NEAR(cSliderMarker(cSliderValue(x, 101, 0, 2), 101, 0, 2), x, 1e-9);
    }
}

TEST(ControlModel, ValueTextTruncatesWithoutLeadingZero) {
    const std::pair<double, const char*> rows[] = {
        {2.375, "2.37"}, {1.0 / 12, ".08"}, {20, "20.00"}, {-0.25, "–.25"}, {0.999, ".99"},
        {0, ".00"},      {-1.5, "–1.50"},   {kNaN, "nan"}, {-kInf, "–inf"}, {1999.999, "1999.99"}};
    for (auto [v, text] : rows) EXPECT_EQ(value2(v), text) << v;
    EXPECT_EQ(value1(2.375), "2.3");
    EXPECT_EQ(value1(0.5), ".5");
}

void expectColor(const BColor& c, const BColor& want) {
    EXPECT_NEAR(c.r, want.r, 1e-6);
    EXPECT_NEAR(c.g, want.g, 1e-6);
    EXPECT_NEAR(c.b, want.b, 1e-6);
}

// Reading a colour gives back the sector, hue, saturation and brightness it was made of.
// Tracking: straight up yellow, then clockwise red, blue and green on the rim, full saturation
// beyond it, the marker where the pointer picked; the centre keeps sector and hue.
TEST(PickerModel, ReadingAColourGivesItsPartsBackAndTrackingPicksTheColourUnderThePointer) {
    for (int sector = 0; sector < 6; ++sector) {
        for (double hue : {0.1, 0.9}) {
            for (double sat : {0.2, 0.95}) {
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
            }
        }
    }
    const double s = 96, side = s * std::sin(std::numbers::pi / 3);
    const std::pair<double, double> at[] = {
        {0, s}, {side, s / 2}, {0, -s}, {-side, s / 2}, {0, 2 * s}};
    const BColor want[] = {{1, 1, 0}, {1, 0, 0}, {0, 0, 1}, {0, 1, 0}, {1, 1, 0}};
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        trackPicker(at[i].first, at[i].second);
        expectColor(currentPickerColor(0.5), want[i]);
        const PickerMarker m = pickerMarker();
        EXPECT_NEAR(m.x, 100 + at[i].first / (i == 4 ? 2 : 1), 1e-6);
        EXPECT_NEAR(m.y, 100 + at[i].second / (i == 4 ? 2 : 1), 1e-6);
    }
    trackPicker(0, -48);  // half-way out: half saturated over the brightness
    expectColor(currentPickerColor(0.5), {0.25, 0.25, 0.75});
    trackPicker(0, 0);
    EXPECT_EQ(colorPickerState._sat, 0);
    expectColor(pickerColor(colorPickerState._sector, colorPickerState._hue, 1, 0), {0, 0, 1});
    trackPicker(-1e-300, 50);  // a hair left of straight up is still in the six sectors
    EXPECT_LE(colorPickerState._sector, 5);
}

// The widget painted over a transparent image of its size.
QImage snapshot(QWidget* widget) {
    QImage image(widget->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    widget->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

// The colour at the pixel is c, each channel within tol of 255 × c.
bool looksLike(const QImage& image, int x, int y, const BColor& c, int tol = 2) {
    const QColor p = image.pixelColor(x, y);
    return p.alpha() == 255 && std::abs(p.red() - int(std::lround(255 * c.r))) <= tol &&
           std::abs(p.green() - int(std::lround(255 * c.g))) <= tol &&
           std::abs(p.blue() - int(std::lround(255 * c.b))) <= tol;
}

// A 432 × 432 tab page on screen, and a count of the actions its controls send.
class ControlTest : public testing::Test {
  protected:
    void SetUp() override {
        model.settings = Settings{};
        page.setGeometry(100, 100, 432, 432);
        page.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    }
    Control::Action counter() {
        return [this](Control* sender) { actions += sender && sender->parentWidget() == &page; };
    }
    QWidget page;
    int actions = 0;
};

// Held, a push button sends again at every drag event; a scheme menu follows the pointer
// across its cells, sending once for each change. The held button and the chosen fifth show
// white.
TEST_F(ControlTest, HeldControlsFollowThePointer) {
    CPushButton button(&page, {216, 216, 76, 20}, counter(), &kOrange, "x");
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(30, 10));
    EXPECT_TRUE(looksLike(snapshot(&button), 10, 10, ControlColors::_white));
    for (int i = 1; i <= 3; ++i) {
        QTest::mouseMove(&button, QPoint(30 + 5 * i, 10));
        EXPECT_EQ(actions, 1 + i);
    }
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(45, 10));
    EXPECT_EQ(actions, 4);
    EXPECT_FALSE(button.selected());
    int scheme = 2;
    BMenu menu(&page, {216, 216, 250, 20}, counter(), &kOrange, &scheme);
    QTest::mousePress(&menu, Qt::LeftButton, {}, QPoint(249, 10));
    EXPECT_EQ(scheme, 4);
    QTest::mouseMove(&menu, QPoint(220, 10));  // the same cell: nothing sent
    EXPECT_EQ(actions, 5);
    QTest::mouseMove(&menu, QPoint(3, 10));
    EXPECT_EQ(scheme, 0);
    QTest::mouseRelease(&menu, Qt::LeftButton, {}, QPoint(3, 10));
    EXPECT_EQ(actions, 6);  // the release changed nothing more
    const QImage seen = snapshot(&menu);
    EXPECT_TRUE(looksLike(seen, 2, 3, ControlColors::_white) && looksLike(seen, 248, 3, kOrange));
}

// A press, drags and the release each pick the colour shown under the pointer, inside a ring
// of the edited colour; the wheel is made once for each brightness; the picker follows the
// colour it is pointed at.
TEST_F(ControlTest, PickerPicksTheColourShownUnderThePointer) {
    model.settings.windowColor = {0.25f, 0.55f, 0.75f};
    CColorPicker picker(&page, {216, 216, 200, 200}, counter(), &model.settings.windowColor,
                        &model.settings.bright);
    const QImage image = snapshot(&picker);
    EXPECT_TRUE(looksLike(image, 100, 1, model.settings.windowColor));
    EXPECT_TRUE(looksLike(image, 198, 100, model.settings.windowColor));
    const qint64 wheel = picker.wheelImage().cacheKey();
    QTest::mousePress(&picker, Qt::LeftButton, {}, QPoint(100, 12));
    for (const QPoint& p : {QPoint(100, 12), QPoint(20, 100), QPoint(150, 170), QPoint(60, 60)}) {
        SCOPED_TRACE(testing::Message() << p.x() << ", " << p.y());
        QTest::mouseMove(&picker, p);
        EXPECT_TRUE(looksLike(image, p.x(), p.y(), model.settings.windowColor, 3));
    }
    QTest::mouseRelease(&picker, Qt::LeftButton, {}, QPoint(400, 100));  // far outside: red
    EXPECT_NEAR(model.settings.windowColor.g, 0, 1e-6);
    EXPECT_EQ(actions, 6);
    EXPECT_EQ(picker.wheelImage().cacheKey(), wheel);
    model.settings.circleColor = {0.5f, 0.5f, 0.5f};
    picker.setColor(&model.settings.circleColor);
    EXPECT_DOUBLE_EQ(model.settings.bright, 0.5);
    picker.setBright(1);
    EXPECT_NE(picker.wheelImage().cacheKey(), wheel);
    EXPECT_TRUE(looksLike(snapshot(&picker), 100, 1, {1, 1, 1}));
}

// What a person sees of a button, a label and a menu: the tint, the chosen row white, and
// every caption inside its own cell (the button's two lines, the menu's rows).
TEST_F(ControlTest, ButtonsLabelsAndMenusShowTheirTintAndEachCaptionInItsCell) {
    int choice = 1;
    CPushButton button(&page, {216, 216, 76, 20}, counter(), &kOrange, "random", "matrix");
    CTextField label(&page, {216, 216, 76, 20}, {}, &kOrange, "ok");
    CMenu menu(&page, {216, 216, 156, 48}, counter(), &kOrange, &choice, {"one", "two", "six"});
    const std::tuple<Control*, int, int> rows[] = {
        {&button, 2, -1}, {&label, 1, -1}, {&menu, 3, 1}};
    for (const auto& [control, cells, white] : rows) {
        const QImage seen = snapshot(control);
        const int h = seen.height() / cells;
        for (int cell = 0; cell < cells; ++cell) {
            SCOPED_TRACE(testing::Message() << seen.width() << " cell " << cell);
            EXPECT_TRUE(looksLike(seen, 8, h * cell + h / 2,
                                  cell == white ? ControlColors::_white : kOrange));
            int dark = 0;  // text
            for (int y = h * cell + 1; y < h * (cell + 1) - 1; ++y)
                for (int x = 0; x < seen.width(); ++x) dark += qGray(seen.pixel(x, y)) < 80;
            EXPECT_GT(dark, 5);
        }
    }
}

}  // namespace
