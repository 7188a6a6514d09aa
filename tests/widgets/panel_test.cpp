#include <gtest/gtest.h>

#include <QPainter>
#include <QTest>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <numbers>

#include "geometry/settings.h"
#include "platform/recording_layer.h"
#include "widgets/controls.h"
#include "widgets/cwindow.h"
#include "widgets/panel_model.h"
#include "widgets_support.h"

namespace {

constexpr double kPi = std::numbers::pi;

// --- geometry and routing, without a screen ---------------------------------------------------

TEST(PanelGeometry, DiscsRunClockwiseFromStraightUp) {
    const PanelPoint d0 = discCentre(0, 0);
    EXPECT_DOUBLE_EQ(d0.x, 216);
    EXPECT_DOUBLE_EQ(d0.y, 408);
    const PanelPoint d1 = discCentre(1, 0);
    EXPECT_NEAR(d1.x, 216 + 192 * std::sin(24 * kPi / 180), 1e-9);
    EXPECT_NEAR(d1.y, 216 + 192 * std::cos(24 * kPi / 180), 1e-9);
    EXPECT_GT(d1.x, d0.x);  // clockwise: to the right of the top
    // A turn of the ring by one step moves each disc onto its neighbour's place.
    for (int i = 0; i < 14; ++i) {
        const PanelPoint a = discCentre(i, 2 * kPi / 15), b = discCentre(i + 1, 0);
        EXPECT_NEAR(a.x, b.x, 1e-9);
        EXPECT_NEAR(a.y, b.y, 1e-9);
    }
}

TEST(PanelGeometry, PointsAreRoutedDiscsFirstThenRingThenPage) {
    struct Row {
        const char* name;
        double radius, degrees;  // from the centre, clockwise from straight up
        int hit;
    };
    // With the ring unturned the discs sit at multiples of 24°.
    for (Row row : {Row{"disc 0 centre", 192, 0, 0},
                    {"disc 5 centre", 192, 120, 5},
                    {"disc 0 outer edge, outside the ring", 215, 0, 0},
                    {"disc 0 inner edge, inside the ring", 170, 0, 0},
                    {"between discs on the ring", 192, 12, kRingPressed},
                    {"ring's inner border", 188.5, 12, kRingPressed},
                    {"ring's outer border", 195.5, 12, kRingPressed},
                    {"inside the ring", 150, 12, -1},
                    {"just inside the ring", 187.5, 12, -1},
                    {"outside the ring", 200, 12, -1},
                    {"the corner", 300, 45, -1},
                    {"the centre", 0, 0, -1}}) {
        SCOPED_TRACE(row.name);
        const double a = row.degrees * kPi / 180;
        EXPECT_EQ(panelHit(216 + row.radius * std::sin(a), 216 + row.radius * std::cos(a), 0),
                  row.hit);
    }
    // A turned ring carries its discs.
    const PanelPoint d = discCentre(7, 1.0);
    EXPECT_EQ(panelHit(d.x, d.y, 1.0), 7);
    EXPECT_EQ(panelHit(d.x, d.y, 0), kRingPressed);
}

TEST(PanelDrawing, RingThenFifteenDiscsWithTheirCaptions) {
    for (int selected : {-1, 4, kRingPressed}) {
        SCOPED_TRACE(selected);
        RecordingLayer layer;
        drawPanel(layer, 0, selected);
        ASSERT_EQ(layer.strokeCount(), 1);
        const auto& ring = layer.paints()[0];
        EXPECT_TRUE(ring.stroke);
        EXPECT_FLOAT_EQ(ring.lineWidth, 8);
        const float grey = selected == kRingPressed ? 1.f : 0.5f;
        EXPECT_EQ(ring.r, grey);
        EXPECT_EQ(ring.g, grey);
        EXPECT_EQ(ring.path[0].op, RecordingLayer::Op::ovalPath);
        EXPECT_FLOAT_EQ(ring.path[0].v[0], 24);
        EXPECT_FLOAT_EQ(ring.path[0].v[2], 384);

        ASSERT_EQ(layer.fillCount(), 15);
        for (int i = 0; i < 15; ++i) {
            const auto& disc = layer.paints()[1 + i];
            const BColor c = i == selected ? BColor{1, 1, 1} : tabTable._c[i];
            EXPECT_EQ(disc.r, c.r) << i;
            EXPECT_EQ(disc.g, c.g) << i;
            EXPECT_EQ(disc.b, c.b) << i;
            const PanelPoint centre = discCentre(i, 0);
            EXPECT_NEAR(disc.path[0].v[0] + 24, centre.x, 1e-3);
            EXPECT_NEAR(disc.path[0].v[1] + 24, centre.y, 1e-3);
        }
        int texts = 0;
        for (const auto& c : layer.commands())
            if (c.op == RecordingLayer::Op::drawText) ++texts;
        EXPECT_EQ(texts, 15 + 8);  // eight captions have a second line
    }
}

TEST(PanelDrawing, TabColoursRunOnceRoundTheColourCircle) {
    // Once round the colour circle: neighbours differ in one channel by at most 0.4.
    for (int i = 0; i < 14; ++i) {
        const BColor a = tabTable._c[i], b = tabTable._c[i + 1];
        const float step = std::fabs(a.r - b.r) + std::fabs(a.g - b.g) + std::fabs(a.b - b.b);
        EXPECT_NEAR(step, 0.4f, 1e-6) << i;
    }
}

// --- the panel window on screen ---------------------------------------------------------------

// The panel window with its view and fifteen empty pages, a push button on tab 2 at radius 150
// straight up, shown at (200, 150) on the screen with the ring unturned.
class PanelTest : public testing::Test {
  protected:
    void SetUp() override {
        settings = Settings{};
        window = std::make_unique<CWindow>();
        view = new CView;
        window->setContentView(view);
        for (int i = 0; i < 15; ++i) {
            auto* page = new QWidget(view);
            page->setGeometry(0, 0, 432, 432);
            page->setVisible(i == settings.tabIndex);
            pages[i] = page;
        }
        button = new CPushButton(
            pages[2], {216, 366, 76, 20}, [this](Control*) { ++presses; }, &tabTable._c[2],
            "button");
        view->setAngle(0);
        window->move(200, 150);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    QWindow* handle() { return window->windowHandle(); }

    // Window position of a panel point given by radius and angle (degrees clockwise from up).
    static QPoint polar(double radius, double degrees) {
        const double a = degrees * kPi / 180;
        return QPoint(static_cast<int>(std::lround(216 + radius * std::sin(a))),
                      static_cast<int>(std::lround(216 - radius * std::cos(a))));
    }

    std::unique_ptr<CWindow> window;
    CView* view = nullptr;
    QWidget* pages[15] = {};
    CPushButton* button = nullptr;
    int presses = 0;
};

TEST_F(PanelTest, PressOnADiscShowsItsTabBeforeAnyMovement) {
    QTest::mousePress(handle(), Qt::LeftButton, {}, polar(192, 72));  // disc 3
    EXPECT_EQ(settings.tabIndex, 3);
    EXPECT_EQ(view->selected(), 3);
    EXPECT_TRUE(pages[3]->isVisible());
    EXPECT_FALSE(pages[0]->isVisible());
    // Held and moved over disc 4's place: the ring turns with the pointer, the tab stays.
    QTest::mouseMove(handle(), polar(192, 96));
    EXPECT_NEAR(view->angle(), 24 * kPi / 180, 0.02);
    EXPECT_EQ(settings.tabIndex, 3);
    QTest::mouseMove(handle(), polar(150, 180));
    EXPECT_NEAR(view->angle(), 108 * kPi / 180, 0.02);
    QTest::mouseRelease(handle(), Qt::LeftButton, {}, polar(150, 180));
    EXPECT_EQ(view->selected(), -1);
    EXPECT_EQ(settings.tabIndex, 3);
    // Disc 3 followed the pointer round to the bottom.
    const PanelPoint d = discCentre(3, view->angle());
    EXPECT_NEAR(d.x, 216, 2);
    EXPECT_NEAR(d.y, 24, 2);
}

TEST_F(PanelTest, ThePressedDiscIsWhiteOnlyWhileHeld) {
    const QPoint disc5 = polar(192, 120);
    QTest::mousePress(handle(), Qt::LeftButton, {}, disc5);
    EXPECT_TRUE(looksLike(snapshot(view), disc5.x(), disc5.y() - 18, {1, 1, 1}));
    QTest::mouseRelease(handle(), Qt::LeftButton, {}, disc5);
    EXPECT_TRUE(looksLike(snapshot(view), disc5.x(), disc5.y() - 18, tabTable._c[5]));
}

TEST_F(PanelTest, SelectingTheShownTabChangesNothing) {
    int calls = 0;
    view->selectTab = [&](int) { ++calls; };
    view->selectedTab = [&] { return pages[settings.tabIndex]; };
    QTest::mouseClick(handle(), Qt::LeftButton, {}, polar(192, 0));  // disc 0, already shown
    EXPECT_EQ(calls, 1);  // the controller is asked and leaves things as they are

    view->selectTab = nullptr;
    view->selectedTab = nullptr;
    pages[6]->show();  // a page shown by other means stays as it is
    QTest::mouseClick(handle(), Qt::LeftButton, {}, polar(192, 0));
    EXPECT_EQ(settings.tabIndex, 0);
    EXPECT_TRUE(pages[0]->isVisible());
    EXPECT_TRUE(pages[6]->isVisible());
}

TEST_F(PanelTest, TheControllerSwitchesTabsWhenItIsConnected) {
    int asked = -1;
    view->selectTab = [&](int i) { asked = i; };
    QTest::mouseClick(handle(), Qt::LeftButton, {}, polar(192, 24 * 9));
    EXPECT_EQ(asked, 9);
    EXPECT_EQ(settings.tabIndex, 0);  // the controller above did not switch
}

TEST_F(PanelTest, DraggingTheRingMovesTheWindowByThePointersMovement) {
    const QRect before = window->geometry();
    const QPoint start = polar(192, 12);  // between discs 0 and 1
    QTest::mousePress(handle(), Qt::LeftButton, {}, start);
    EXPECT_EQ(view->selected(), kRingPressed);
    EXPECT_TRUE(looksLike(snapshot(view), start.x(), start.y(), {1, 1, 1}));
    const QPoint startGlobal = window->mapToGlobal(start);
    // Up and to the right on the screen: (30, −20) with y upwards is (30, 20) down in Qt's terms.
    for (QPoint step : {QPoint(10, -5), QPoint(30, -20)}) {
        QTest::mouseMove(handle(), window->mapFromGlobal(startGlobal + step));
        EXPECT_EQ(window->geometry(), before.translated(step));
    }
    QTest::mouseRelease(handle(), Qt::LeftButton, {},
                        window->mapFromGlobal(startGlobal + QPoint(30, -20)));
    EXPECT_EQ(window->geometry(), before.translated(30, -20));
    EXPECT_EQ(window->size(), QSize(432, 432));
    EXPECT_EQ(view->selected(), -1);
    EXPECT_EQ(settings.tabIndex, 0);
    EXPECT_TRUE(looksLike(snapshot(view), start.x(), start.y(), ControlColors::_gray));
}

TEST_F(PanelTest, InsideTheRingPressesReachThePagesControl) {
    settings.tabIndex = 2;
    pages[0]->hide();
    pages[2]->show();
    QTest::mouseClick(handle(), Qt::LeftButton, {}, polar(150, 0));
    EXPECT_EQ(presses, 1);
    EXPECT_EQ(view->selected(), -1);
    EXPECT_EQ(window->geometry().topLeft(), QPoint(200, 150));
    // The same place on a page without the button does nothing.
    settings.tabIndex = 0;
    pages[2]->hide();
    pages[0]->show();
    QTest::mouseClick(handle(), Qt::LeftButton, {}, polar(150, 0));
    EXPECT_EQ(presses, 1);
    EXPECT_EQ(view->selected(), -1);
}

TEST_F(PanelTest, QtDeliversPressesWhereHitTestRoutesThem) {
    settings.tabIndex = 2;
    pages[0]->hide();
    pages[2]->show();
    // Place a button over the ring's outside too: a page control outside the ring can be hit.
    auto* outer = new CPushButton(pages[2], {40, 40, 36, 20}, nullptr, &tabTable._c[2], "o");
    outer->show();
    // Integer positions, as a mouse gives them, reach exactly what hitTest names.
    for (double angle : {0.0, 0.37}) {
        view->setAngle(angle);
        int own = 0, page = 0;
        for (int y = 0; y < 432; y += 2) {
            for (int x = 1; x < 432; x += 2) {
                QWidget* expected = view->hitTest(QPointF(x, y));
                QWidget* routed = view->childAt(x, y);
                if (expected == view) {
                    // The view's own hit area: a direct child that is none of the pages.
                    ASSERT_NE(routed, nullptr) << x << ", " << y;
                    ASSERT_EQ(routed->parentWidget(), view) << x << ", " << y;
                    ASSERT_EQ(std::count(pages, pages + 15, routed), 0) << x << ", " << y;
                    ++own;
                } else {
                    ASSERT_EQ(routed, expected) << angle << ": " << x << ", " << y;
                    ++page;
                }
            }
        }
        EXPECT_GT(own, 4000);
        EXPECT_GT(page, 30000);
    }
    // Pages added after the view still lie below the discs.
    auto* late = new QWidget(view);
    late->setGeometry(0, 0, 432, 432);
    late->show();
    const QPoint disc0 = polar(192, 0.37 * 180 / kPi);
    EXPECT_NE(view->childAt(disc0), late);
}

TEST_F(PanelTest, APressReachingTheViewThroughAPageStillTurnsTheRing) {
    // Without the hit area every press lands on the page first and is passed up to the view.
    for (QObject* child : view->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (w && std::count(pages, pages + 15, w) == 0) w->hide();
    }
    QTest::mousePress(handle(), Qt::LeftButton, {}, polar(192, 72));  // disc 3
    EXPECT_EQ(settings.tabIndex, 3);
    EXPECT_FALSE(pages[0]->isVisible());
    QTest::mouseMove(handle(), polar(192, 96));
    EXPECT_NEAR(view->angle(), 24 * kPi / 180, 0.02);
    QTest::mouseRelease(handle(), Qt::LeftButton, {}, polar(192, 96));
    EXPECT_EQ(view->selected(), -1);
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
}

TEST_F(PanelTest, PanelPictureRingDiscsAndCaptions) {
    const QImage image = snapshot(window.get());
    if (const char* path = std::getenv("KALEIDRA_PANEL_PNG")) {
        QImage shown(image.size(), QImage::Format_ARGB32_Premultiplied);
        shown.fill(QColor(40, 40, 40));
        QPainter painter(&shown);
        painter.drawImage(0, 0, image);
        painter.end();
        shown.save(QString::fromLocal8Bit(path));
    }
    // The ring in grey between the discs, clear inside and outside it.
    const QPoint ring = polar(192, 12);
    EXPECT_TRUE(looksLike(image, ring.x(), ring.y(), ControlColors::_gray));
    EXPECT_EQ(qAlpha(image.pixel(polar(182, 12))), 0);
    EXPECT_EQ(qAlpha(image.pixel(polar(202, 12))), 0);
    for (int i = 0; i < 15; ++i) {
        SCOPED_TRACE(i);
        // A disc's colour above and below its caption, the caption in the middle.
        const QPoint c = polar(192, 24 * i);
        EXPECT_TRUE(looksLike(image, c.x(), c.y() - 20, tabTable._c[i]));
        EXPECT_TRUE(looksLike(image, c.x(), c.y() + 20, tabTable._c[i]));
        EXPECT_GT(darkPixels(image, QRect(c.x() - 20, c.y() - 12, 40, 24)), 15);
    }
}

}  // namespace
