#include <gtest/gtest.h>

#include <QScreen>
#include <QTest>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>

#include "geometry/settings.h"
#include "test_model.h"
#include "widgets/controls.h"
#include "widgets/cwindow.h"
#include "widgets/panel_model.h"
#include "widgets_support.h"

namespace {

constexpr double kPi = std::numbers::pi;

TEST(PanelModel, PointsAreRoutedDiscsFirstThenRingThenPage) {
    struct Row {
        double radius, degrees;  // from the centre, clockwise from straight up
        int hit;
    };
    const Row rows[] = {{192, 120, 5},
                        {215, 0, 0},
                        {170, 0, 0},
                        {188.5, 12, kRingPressed},
                        {195.5, 12, kRingPressed},
                        {187.5, 12, -1},
                        {200, 12, -1},
                        {0, 0, -1}};
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.radius << " at " << row.degrees);
        const double a = row.degrees * kPi / 180;
        EXPECT_EQ(panelHit(216 + row.radius * std::sin(a), 216 + row.radius * std::cos(a), 0),
                  row.hit);
    }
    const PanelPoint d = discCentre(7, 1.0);  // a turned ring carries its discs
    EXPECT_EQ(panelHit(d.x, d.y, 1.0), 7);
    EXPECT_EQ(panelHit(d.x, d.y, 0), kRingPressed);
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

// The panel window with its view and fifteen empty pages, a push button on tab 2 at radius 150
// straight up, shown at (200, 150) on the screen with the ring unturned.
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
        new CPushButton(
            pages[2], {216, 366, 76, 20}, [this](Control*) { ++presses; }, &tabTable._c[2], "b");
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
    int presses = 0;
};

// Without the hit area every press lands on the page first and is passed up to the view.
TEST_F(PanelTest, PressOnADiscShowsItsTabBeforeAnyMovementThenTurnsTheRing) {
    for (bool hitArea : {true, false}) {
        SCOPED_TRACE(hitArea);
        for (QObject* child : view->children()) {
            auto* w = qobject_cast<QWidget*>(child);
            if (w && std::count(pages, pages + 15, w) == 0) w->setVisible(hitArea);
        }
        QTest::mousePress(handle(), Qt::LeftButton, {}, polar(192, 72));  // disc 3
        EXPECT_EQ(model.settings.tabIndex, 3);
        EXPECT_TRUE(pages[3]->isVisible());
        EXPECT_FALSE(pages[0]->isVisible());
        EXPECT_TRUE(
            looksLike(snapshot(view), polar(192, 72).x(), polar(192, 72).y() - 18, {1, 1, 1}));
        QTest::mouseMove(handle(), polar(192, 96));
        EXPECT_NEAR(view->angle(), 24 * kPi / 180, 0.02);
        QTest::mouseMove(handle(), polar(150, 180));
        EXPECT_NEAR(view->angle(), 108 * kPi / 180, 0.02);
        QTest::mouseRelease(handle(), Qt::LeftButton, {}, polar(150, 180));
        EXPECT_EQ(view->selected(), -1);
        EXPECT_EQ(model.settings.tabIndex, 3);
        EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
        view->setAngle(0);
        showPage(0);
    }
}

TEST_F(PanelTest, TheControllerAloneSwitchesTabs) {
    int asked = -1;
    view->selectTab = [&](int i) { asked = i; };
    QTest::mouseClick(handle(), Qt::LeftButton, {}, polar(192, 24 * 9));
    EXPECT_EQ(asked, 9);
    EXPECT_EQ(model.settings.tabIndex, 0);
}

// The window follows the pointer, but however far the ring is dragged the disc's centre stays
// on the screen: a quarter of the disc at least remains to be taken hold of.
TEST_F(PanelTest, DraggingTheRingMovesTheWindowButNotOffTheScreen) {
    const QRect screen = window->screen()->geometry();
    const QPoint start = polar(192, 12);  // between discs 0 and 1
    const QPoint startGlobal = window->mapToGlobal(start);
    QTest::mousePress(handle(), Qt::LeftButton, {}, start);
    EXPECT_EQ(view->selected(), kRingPressed);
    EXPECT_TRUE(looksLike(snapshot(view), start.x(), start.y(), {1, 1, 1}));  // the held ring
    const QPoint c0 = window->geometry().center();
    const std::pair<QPoint, QPoint> rows[] = {// the pointer's movement, where the centre ends
                                              {{10, -5}, c0 + QPoint(10, -5)},
                                              {{-5000, 0}, {screen.left(), c0.y()}},
                                              {{0, -5000}, {c0.x(), screen.top()}},
                                              {{9000, 9000}, {screen.right(), screen.bottom()}},
                                              {{40, 30}, c0 + QPoint(40, 30)}};
    for (const auto& [step, centre] : rows) {
        SCOPED_TRACE(testing::Message() << step.x() << ", " << step.y());
        QTest::mouseMove(handle(), window->mapFromGlobal(startGlobal + step));
        EXPECT_EQ(window->geometry().center(), centre);
        EXPECT_EQ(window->size(), QSize(432, 432));
    }
    QTest::mouseRelease(handle(), Qt::LeftButton, {},
                        window->mapFromGlobal(startGlobal + QPoint(40, 30)));
    EXPECT_EQ(window->geometry().center(), c0 + QPoint(40, 30));
    EXPECT_EQ(view->selected(), -1);
    EXPECT_EQ(model.settings.tabIndex, 0);
}

TEST_F(PanelTest, QtDeliversPressesWhereHitTestRoutesThem) {
    showPage(2);
    // A page control outside the ring can be hit too.
    new CPushButton(pages[2], {40, 40, 36, 20}, nullptr, &tabTable._c[2], "o");
    pages[2]->show();
    for (double angle : {0.0, 0.37}) {
        view->setAngle(angle);
        int own = 0;
        for (int y = 0; y < 432; y += 2) {
            for (int x = 1; x < 432; x += 2) {
                QWidget* expected = view->hitTest(QPointF(x, y));
                QWidget* routed = view->childAt(x, y);
                SCOPED_TRACE(testing::Message() << angle << ": " << x << ", " << y);
                // The view's own part goes to its hit area: a direct child that is no page.
                if (expected == view) {
                    ASSERT_TRUE(routed && routed->parentWidget() == view &&
                                std::count(pages, pages + 15, routed) == 0);
                    ++own;
                } else {
                    ASSERT_EQ(routed, expected);
                }
            }
        }
        EXPECT_GT(own, 4000);
    }
}

}  // namespace
