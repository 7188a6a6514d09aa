// The round panel and its controls: what the controls compute apart from Qt (menu and slider
// values, value texts, the colour picker's model), what a held control does and shows, and the
// panel's discs and ring, driven by real events.

#include <gtest/gtest.h>

#include <QScreen>
#include <QTest>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <tuple>
#include <utility>
#include <vector>

#include "geometry/settings.h"
#include "test_model.h"
#include "widgets/color_picker_model.h"
#include "widgets/control_model.h"
#include "widgets/controls.h"
#include "widgets/cwindow.h"
#include "widgets/panel_model.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
const BColor kOrange{1, 0.6f, 0};

// Menu cells and slider steps at their boundaries, clamped at both ends; every value a slider
// takes puts its marker back under the pointer (within half a step).
TEST(ControlModel, MenusAndSlidersTakeTheValueUnderThePointer) {
    auto bMenu = [](double x) { return bMenuChoice(x, 250); };            // five cells
    auto cMenu = [](double y) { return cMenuChoice(y, 48, 3); };          // three rows from the top
    auto bSlider = [](double x) { return bSliderValue(x, 101, 2, 12); };  // rounded half up
    const std::tuple<int (*)(double), double, int> rows[] = {
        {bMenu, 49.99, 0}, {bMenu, 50, 1},    {bMenu, 1e6, 4},    {bMenu, kNaN, 0},
        {cMenu, 32, 0},    {cMenu, 31.9, 1},  {cMenu, 15.9, 2},   {cMenu, -40, 2},
        {cMenu, 100, 0},   {bSlider, 54, 7},  {bSlider, 4.99, 2}, {bSlider, 5, 3},
        {bSlider, -20, 2}, {bSlider, 500, 12}};
    for (const auto& [value, at, want] : rows) EXPECT_EQ(value(at), want) << at;
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
    for (int k = 0; k < 36; ++k) {
        const int sector = k % 6;
        const double hue = k % 4 < 2 ? 0.1 : 0.9, sat = k / 6 % 2 ? 0.2 : 0.95,
                     bright = k / 12 / 2.0;
        SCOPED_TRACE(testing::Message() << sector << " " << hue << " " << sat << " " << bright);
        const BColor c = pickerColor(sector, hue, sat, bright);
        readPickerColor(c, model.settings.bright);
        EXPECT_EQ(colorPickerState._sector, sector);
        EXPECT_NEAR(colorPickerState._hue, hue, 1e-6);
        EXPECT_NEAR(colorPickerState._sat, sat, 1e-6);
        EXPECT_NEAR(model.settings.bright, bright, 1e-6);
        expectColor(currentPickerColor(model.settings.bright), c);
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

// Held, a push button shows white and sends again at every drag event; a scheme menu follows
// the pointer across its cells, sending once for each change, the chosen fifth white.
TEST_F(ControlTest, HeldControlsFollowThePointer) {
    CPushButton button(&page, {216, 216, 76, 20}, counter(), &kOrange, "x");
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(30, 10));
    EXPECT_TRUE(looksLike(snapshot(&button), 10, 10, ControlColors::_white));
    for (int x : {35, 40, 45}) QTest::mouseMove(&button, QPoint(x, 10));
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(45, 10));
    EXPECT_EQ(actions, 4);
    int scheme = 2;
    BMenu menu(&page, {216, 216, 250, 20}, counter(), &kOrange, &scheme);
    QTest::mousePress(&menu, Qt::LeftButton, {}, QPoint(249, 10));
    QTest::mouseMove(&menu, QPoint(220, 10));  // the same cell: nothing sent
    EXPECT_EQ(scheme, 4);
    EXPECT_EQ(actions, 5);
    QTest::mouseMove(&menu, QPoint(3, 10));
    QTest::mouseRelease(&menu, Qt::LeftButton, {}, QPoint(3, 10));
    EXPECT_EQ(scheme, 0);
    EXPECT_EQ(actions, 6);
    const QImage seen = snapshot(&menu);
    EXPECT_TRUE(looksLike(seen, 2, 3, ControlColors::_white) && looksLike(seen, 248, 3, kOrange));
}

// What a person sees of a button, a label and a menu: the tint, the chosen row white, and
// every caption inside its own cell (the button's two lines, the menu's rows); of the picker,
// the colours to pick.
TEST_F(ControlTest, ControlsShowTheirTintEachCaptionInItsCellAndTheColoursToPick) {
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
    // The picker: the wheel inside a ring of the edited colour; a click picks the colour shown.
    CColorPicker picker(&page, {216, 216, 200, 200}, counter(), &model.settings.windowColor,
                        &model.settings.bright);
    const QImage wheel = snapshot(&picker);
    EXPECT_TRUE(looksLike(wheel, 100, 1, model.settings.windowColor));
    for (const QPoint& p : {QPoint(100, 12), QPoint(20, 100), QPoint(150, 170)}) {
        QTest::mouseClick(&picker, Qt::LeftButton, {}, p);
        EXPECT_TRUE(looksLike(wheel, p.x(), p.y(), model.settings.windowColor, 3)) << p.x();
    }
}

// The fifteen tabs' colours go once round the hue circle in even steps, at full strength.
TEST(PanelModel, TabColoursGoOnceRoundTheHueCircle) {
    for (int i = 0; i < 15; ++i) {
        const BColor& c = tabTable._c[i];
        const QColor q = QColor::fromRgbF(c.r, c.g, c.b);
        EXPECT_TRUE(q.hsvSaturation() == 255 && q.value() == 255) << i;
        EXPECT_EQ((q.hsvHue() + 24 * i) % 360, 60) << i;
    }
}

// The panel window with its view and fifteen empty pages. Qt routes a press to the view's hit
// area on a disc (24 around its centre on the circle of 192, turning with the ring) or on the
// ring band (188 to 196 from the centre), elsewhere to the page. A press on a disc shows its tab
// at once, the disc white, and dragging on turns the ring with the pointer; a press on the ring
// band holds it (white) and the window follows the pointer, its centre kept on the screen so
// that a quarter of the disc at least remains to be taken hold of. The release ends either and
// leaves the tab shown. Without the hit area every press lands on the page first and is passed
// up to the view.
TEST(Panel, DiscsShowTheirTabsAndTurnTheRingTheRingMovesTheWindowTheRestGoesToThePage) {
    model.settings = Settings{};
    CWindow window;
    auto* view = new CView(&model.settings.tabIndex);
    window.setContentView(view);
    QWidget* pages[15];
    for (QWidget*& page : pages) {
        page = new QWidget(view);
        page->setGeometry(0, 0, 432, 432);
        page->setVisible(&page == pages);
    }
    window.move(200, 150);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    for (double angle : {0.37, 0.0}) {
        view->setAngle(angle);
        for (int y = 0; y < 432; y += 2) {
            for (int x = 1; x < 432; x += 2) {
                bool mine = std::abs(std::hypot(x - 216, 216 - y) - 192) <= 4;
                for (int i = 0; i < 15; ++i) {
                    const double a = 2 * kPi * i / 15 + angle;
                    mine |=
                        std::hypot(x - 216 - 192 * std::sin(a), 216 - y - 192 * std::cos(a)) <= 24;
                }
                ASSERT_EQ(view->hitTest(QPointF(x, y)) == view, mine)
                    << angle << ": " << x << ", " << y;
                ASSERT_EQ(view->childAt(x, y) == pages[0], !mine)
                    << angle << ": " << x << ", " << y;
            }
        }
    }
    // Window position of a panel point given by radius and angle (degrees clockwise from up).
    auto polar = [](double radius, double degrees) {
        const double a = degrees * kPi / 180;
        return QPoint(int(std::lround(216 + radius * std::sin(a))),
                      int(std::lround(216 - radius * std::cos(a))));
    };
    QWindow* handle = window.windowHandle();
    const QRect screen = window.screen()->geometry();
    // The pointer's movements, each with the ring's turn after it: on the ring, then on disc 3.
    const std::vector<std::pair<QPoint, double>> moves[2] = {
        {{{-5000, 0}, 0}, {{0, -5000}, 0}, {{9000, 9000}, 0}, {{40, 30}, 0}},
        {{polar(192, 96) - polar(192, 72), 24}, {polar(150, 180) - polar(192, 72), 108}}};
    for (bool hitArea : {true, false}) {
        for (QObject* child : view->children()) {
            auto* w = qobject_cast<QWidget*>(child);
            if (w && std::count(pages, pages + 15, w) == 0) w->setVisible(hitArea);
        }
        for (bool disc : {false, true}) {
            SCOPED_TRACE(testing::Message() << "hit area " << hitArea << " disc " << disc);
            const QPoint start = polar(192, disc ? 72 : 12),
                         startGlobal = window.mapToGlobal(start);
            const QPoint c0 = window.geometry().center();
            QTest::mousePress(handle, Qt::LeftButton, {}, start);
            EXPECT_EQ(view->selected(), disc ? 3 : kRingPressed);
            EXPECT_EQ(model.settings.tabIndex, disc ? 3 : 0);
            EXPECT_EQ(pages[3]->isVisible(), disc);
            EXPECT_EQ(view->grab().toImage().pixelColor(start - QPoint(0, disc * 18)), Qt::white);
            for (const auto& [delta, turn] : moves[disc]) {
                SCOPED_TRACE(testing::Message() << delta.x() << ", " << delta.y());
                QTest::mouseMove(handle, window.mapFromGlobal(startGlobal + delta));
                EXPECT_NEAR(view->angle(), turn * kPi / 180, 0.02);
                const QPoint c = c0 + (disc ? QPoint() : delta);
                EXPECT_EQ(window.geometry().center(),
                          QPoint(std::clamp(c.x(), screen.left(), screen.right()),
                                 std::clamp(c.y(), screen.top(), screen.bottom())));
            }
            QTest::mouseRelease(handle, Qt::LeftButton, {},
                                window.mapFromGlobal(startGlobal + moves[disc].back().first));
            EXPECT_EQ(view->selected(), -1);
            EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
            view->setAngle(0);
            pages[3]->hide();
            pages[0]->show();
            model.settings.tabIndex = 0;
            window.move(200, 150);
        }
    }
    // Once the controller switches the tabs, the view leaves that to it.
    int asked = -1;
    view->selectTab = [&](int i) { asked = i; };
    QTest::mouseClick(handle, Qt::LeftButton, {}, polar(192, 24 * 9));
    EXPECT_EQ(asked, 9);
    EXPECT_EQ(model.settings.tabIndex, 0);
}

}  // namespace
