#include <gtest/gtest.h>

#include <QScreen>
#include <QTest>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

#include "geometry/settings.h"
#include "test_model.h"
#include "widgets/controls.h"
#include "widgets/cwindow.h"
#include "widgets/panel_model.h"

namespace {

constexpr double kPi = std::numbers::pi;

// The fifteen tabs' colours go once round the hue circle in even steps, at full strength.
TEST(PanelModel, TabColoursGoOnceRoundTheHueCircle) {
    for (int i = 0; i < 15; ++i) {
        const BColor& c = tabTable._c[i];
        const QColor q = QColor::fromRgbF(c.r, c.g, c.b);
        EXPECT_TRUE(q.hsvSaturation() == 255 && q.value() == 255) << i;
        EXPECT_EQ((q.hsvHue() + 24 * i) % 360, 60) << i;
    }
}

// The panel window with its view and fifteen empty pages, shown at (200, 150) on the screen with
// the ring unturned.
class PanelTest : public testing::Test {
  protected:
    void SetUp() override {
        model.settings = Settings{};
        window = std::make_unique<CWindow>();
        view = new CView(&model.settings.tabIndex);
        window->setContentView(view);
        for (int i = 0; i < 15; ++i) {
            pages[i] = new QWidget(view);
            pages[i]->setGeometry(0, 0, 432, 432);
            pages[i]->setVisible(i == model.settings.tabIndex);
        }
        view->setAngle(0);
        window->move(200, 150);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    QWindow* handle() { return window->windowHandle(); }

    void showPage(int i) {
        pages[model.settings.tabIndex]->hide();
        model.settings.tabIndex = i;
        pages[i]->show();
    }

    // Window position of a panel point given by radius and angle (degrees clockwise from up).
    static QPoint polar(double radius, double degrees) {
        const double a = degrees * kPi / 180;
        return QPoint(static_cast<int>(std::lround(216 + radius * std::sin(a))),
                      static_cast<int>(std::lround(216 - radius * std::cos(a))));
    }

    std::unique_ptr<CWindow> window;
    CView* view = nullptr;
    QWidget* pages[15] = {};
};

// A press on a disc shows its tab at once, the disc white, and dragging on turns the ring with
// the pointer; a press on the ring band holds it (white) and the window follows the pointer, its
// centre kept on the screen so that a quarter of the disc at least remains to be taken hold of.
// The release ends either and leaves the tab shown. Without the hit area every press lands on
// the page first and is passed up to the view.
TEST_F(PanelTest, PressesOnADiscTurnTheRingAndOnTheRingMoveTheWindow) {
    const QRect screen = window->screen()->geometry();
    struct Gesture {
        double degrees;  // where pressed on the circle of 192
        int selected;    // disc 3, or the ring between discs 0 and 1
        QPoint white;    // a point shown white while held, from where pressed
        std::vector<std::pair<QPoint, double>> moves;  // the pointer's movement, the ring's turn
    };
    const Gesture gestures[] = {
        {72,
         3,
         {0, -18},
         {{polar(192, 96) - polar(192, 72), 24}, {polar(150, 180) - polar(192, 72), 108}}},
        {12,
         kRingPressed,
         {0, 0},
         {{{-5000, 0}, 0}, {{0, -5000}, 0}, {{9000, 9000}, 0}, {{40, 30}, 0}}}};
    for (bool hitArea : {true, false}) {
        for (QObject* child : view->children()) {
            auto* w = qobject_cast<QWidget*>(child);
            if (w && std::count(pages, pages + 15, w) == 0) w->setVisible(hitArea);
        }
        for (const Gesture& g : gestures) {
            SCOPED_TRACE(testing::Message() << hitArea << " " << g.selected);
            const bool disc = g.selected == 3;
            const QPoint start = polar(192, g.degrees), startGlobal = window->mapToGlobal(start);
            const QPoint c0 = window->geometry().center();
            QTest::mousePress(handle(), Qt::LeftButton, {}, start);
            EXPECT_EQ(view->selected(), g.selected);
            EXPECT_EQ(model.settings.tabIndex, disc ? 3 : 0);
            EXPECT_EQ(pages[3]->isVisible(), disc);
            EXPECT_EQ(view->grab().toImage().pixelColor(start + g.white), Qt::white);
            for (const auto& [delta, turn] : g.moves) {
                SCOPED_TRACE(testing::Message() << delta.x() << ", " << delta.y());
                QTest::mouseMove(handle(), window->mapFromGlobal(startGlobal + delta));
                EXPECT_NEAR(view->angle(), turn * kPi / 180, 0.02);
                const QPoint c = c0 + (disc ? QPoint() : delta);
                EXPECT_EQ(window->geometry().center(),
                          QPoint(std::clamp(c.x(), screen.left(), screen.right()),
                                 std::clamp(c.y(), screen.top(), screen.bottom())));
            }
            QTest::mouseRelease(handle(), Qt::LeftButton, {},
                                window->mapFromGlobal(startGlobal + g.moves.back().first));
            EXPECT_EQ(view->selected(), -1);
            EXPECT_EQ(model.settings.tabIndex, disc ? 3 : 0);
            EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
            view->setAngle(0);
            showPage(0);
            window->move(200, 150);
        }
    }
    // Once the controller switches the tabs, the view leaves that to it.
    int asked = -1;
    view->selectTab = [&](int i) { asked = i; };
    QTest::mouseClick(handle(), Qt::LeftButton, {}, polar(192, 24 * 9));
    EXPECT_EQ(asked, 9);
    EXPECT_EQ(model.settings.tabIndex, 0);
}

// Qt routes a press to the view's hit area on a disc (24 around its centre on the circle of 192,
// turning with the ring) or on the ring band (188 to 196 from the centre), elsewhere to the page.
TEST_F(PanelTest, PressesGoToTheDiscsAndTheRingOrElseToThePage) {
    for (double angle : {0.0, 0.37}) {
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
}

}  // namespace
