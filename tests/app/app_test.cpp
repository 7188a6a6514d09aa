#include "app/app.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QGuiApplication>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>
#include <cmath>
#include <cstring>

#include "app/document.h"
#include "canvas/view.h"
#include "canvas/window.h"
#include "geometry/settings.h"
#include "platform/beep.h"
#include "render/depth_order.h"
#include "render/frame.h"
#include "test_model.h"
#include "tiling/enumeration.h"
#include "tiling/tables.h"
#include "widgets/cwindow.h"

namespace {

struct Picture {
    int geometry, genV, genE, genF, gen;
    double lengthV, lengthE, lengthF;
    int matrixCount;
    BColor windowColor;
};

Picture currentPicture() {
    const Settings& s = model.settings;
    return {s.geometry,   s.genV,    s.genE,
            s.genF,       s.gen,     s.lengthV,
            s.lengthE,    s.lengthF, model.groupTables.matrixCount(),
            s.windowColor};
}

class AppTest : public testing::Test {
  protected:
    void SetUp() override { model.settings = Settings{}; }
};

TEST_F(AppTest, LaunchDrawsARandomPictureBeforeTheWindowsAreShown) {
    App app(model, 11);
    const Picture a = currentPicture();
    // The chain has run: the group, its modules and the draw lists exist for the random triangle.
    EXPECT_GT(a.matrixCount, 0);
    EXPECT_GT(model.drawLists.quadCount, 0);
    const int sign = (a.gen > 0) - (a.gen < 0);
    EXPECT_EQ(a.gen,
              a.genV * a.genE * a.genF - a.genV * a.genE - a.genE * a.genF - a.genF * a.genV);
    EXPECT_EQ(a.geometry, sign + 1);
    EXPECT_NEAR(a.lengthV + a.lengthE + a.lengthF, 1, 1e-12);
    EXPECT_FALSE(app.wPoly()->isVisible());
    EXPECT_FALSE(app.wCircle()->isVisible());

    // Finishing the launch does not build the picture again.
    const QuadModule* firstQuad = model.drawLists.quad[0];
    const BColor firstColour = model.groupTables.dataVEF.at(0).polyColor;
    app.applicationDidFinishLaunching(12);
    EXPECT_EQ(model.groupTables.matrixCount(), a.matrixCount);
    EXPECT_EQ(model.drawLists.quad[0], firstQuad);
    EXPECT_TRUE(model.groupTables.dataVEF.at(0).polyColor == firstColour);
}

TEST_F(AppTest, TwoSeedsGiveTwoPictures) {
    const Settings defaults;
    Picture pictures[2];
    const unsigned seeds[2] = {1, 2};
    for (int i = 0; i < 2; ++i) {
        model.settings = Settings{};
        App app(model, seeds[i]);
        pictures[i] = currentPicture();
        // No launch shows the stored defaults of the random settings.
        EXPECT_FALSE(model.settings.lengthV == defaults.lengthV &&
                     model.settings.lengthE == defaults.lengthE);
        EXPECT_FALSE(model.settings.windowColor == defaults.windowColor);
    }
    const Picture &a = pictures[0], &b = pictures[1];
    EXPECT_TRUE(a.genV != b.genV || a.genE != b.genE || a.genF != b.genF ||
                a.geometry != b.geometry);
    EXPECT_NE(a.lengthV, b.lengthV);
    EXPECT_FALSE(a.windowColor == b.windowColor);
}

TEST_F(AppTest, WindowsAfterLaunch) {
    App app(model, 5);
    app.applicationDidFinishLaunching(6);
    QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    const QRect frame = screen->geometry();

    // The drawing window: borderless and clear over the whole main screen, the view filling it.
    EXPECT_TRUE(app.wPoly()->isVisible());
    EXPECT_TRUE(app.wPoly()->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(app.wPoly()->testAttribute(Qt::WA_TranslucentBackground));
    EXPECT_EQ(app.wPoly()->geometry(), frame);
    EXPECT_EQ(app.view()->geometry(), QRect(QPoint(0, 0), frame.size()));
    const ViewRect expected = viewRectFor(frame.width(), frame.height(), model.settings.windowZoom);
    EXPECT_FLOAT_EQ(model.viewState.rect0.x, expected.x);
    EXPECT_FLOAT_EQ(model.viewState.rect0.height, expected.height);

    // The panel: 432 × 432, translucent, above the drawing window, its centre on the screen.
    CWindow* panel = app.wCircle();
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->size(), QSize(432, 432));
    EXPECT_TRUE(panel->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(panel->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(panel->windowFlags() & Qt::WindowType_Mask, Qt::Tool);
    EXPECT_TRUE(panel->testAttribute(Qt::WA_TranslucentBackground));
    ASSERT_NE(panel->windowHandle(), nullptr);
    EXPECT_EQ(panel->windowHandle()->transientParent(), app.wPoly()->windowHandle());
    EXPECT_NEAR(panel->windowOpacity(), model.settings.panelAlpha, 1.0 / 255);  // kept in 8 bits
    EXPECT_TRUE(frame.adjusted(0, 0, 1, 1).contains(panel->geometry().center()));
}

TEST_F(AppTest, OnlyTheTabOfTabIndexIsShown) {
    for (int index : {0, 6, 14}) {
        SCOPED_TRACE(index);
        model.settings = Settings{};
        model.settings.tabIndex = index;
        App app(model, 7);
        app.applicationDidFinishLaunching(8);
        EXPECT_EQ(model.settings.tabIndex, index);
        for (int i = 0; i < 15; ++i) {
            ASSERT_NE(app.tab(i), nullptr);
            EXPECT_EQ(app.tab(i)->isVisibleTo(app.tabView()), i == index) << "tab " << i;
        }
        EXPECT_EQ(app.selectedTab(), app.tab(index));
    }
}

TEST_F(AppTest, SelectTabSwitchesPagesAndIgnoresTheShownOne) {
    App app(model, 9);
    app.applicationDidFinishLaunching(10);
    app.selectTab(4);
    EXPECT_EQ(model.settings.tabIndex, 4);
    EXPECT_TRUE(app.tab(4)->isVisibleTo(app.tabView()));
    EXPECT_FALSE(app.tab(0)->isVisibleTo(app.tabView()));
    app.tab(3)->show();  // a page shown by other means stays as it is when tab 4 is chosen again
    app.selectTab(4);
    EXPECT_TRUE(app.tab(3)->isVisibleTo(app.tabView()));
    EXPECT_TRUE(app.tab(4)->isVisibleTo(app.tabView()));
    app.selectTab(15);
    EXPECT_EQ(model.settings.tabIndex, 4);
}

TEST_F(AppTest, PanelIsHiddenWhileTheProgramIsInactive) {
    App app(model, 13);
    app.applicationDidFinishLaunching(14);
    ASSERT_TRUE(app.wCircle()->isVisible());
    app.applicationStateChanged(Qt::ApplicationInactive);
    EXPECT_FALSE(app.wCircle()->isVisible());
    EXPECT_TRUE(app.wPoly()->isVisible());
    app.applicationStateChanged(Qt::ApplicationActive);
    EXPECT_TRUE(app.wCircle()->isVisible());
    app.applicationStateChanged(Qt::ApplicationHidden);
    EXPECT_FALSE(app.wCircle()->isVisible());
}

TEST_F(AppTest, ScreenChangeRefitsTheDrawingWindow) {
    App app(model, 15);
    app.applicationDidFinishLaunching(16);
    app.wPoly()->setGeometry(10, 10, 300, 200);
    app.applicationDidChangeScreenParameters();
    EXPECT_EQ(app.wPoly()->geometry(), QGuiApplication::primaryScreen()->geometry());
}

TEST_F(AppTest, CtrlQQuits) {
    App app(model, 17);
    app.applicationDidFinishLaunching(18);
    QAction* quit = app.commands.quit;
    ASSERT_NE(quit, nullptr);
    EXPECT_EQ(quit->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    EXPECT_EQ(quit->shortcutContext(), Qt::ApplicationShortcut);
    app.wPoly()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(app.wPoly()));
    QSignalSpy spy(quit, &QAction::triggered);
    QTest::keyClick(app.view(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(spy.count(), 1);
}

}  // namespace

namespace {

TEST(AppDocuments, OpenFileAppliesAGoodDocumentAndRefusesABadOneUnchanged) {
    model.settings = Settings{};
    App app(model, 21);
    app.applicationDidFinishLaunching(21);
    const std::string other =
        std::string(KALEIDRA_TESTS_DIR) + "/app/corpus/other_writer.xml.Kaleidra2D";
    const std::string hostile =
        std::string(KALEIDRA_TESTS_DIR) + "/app/corpus/hostile_segments_zero.Kaleidra2D";

    const int beeps = beepCount();
    const std::string before = documentXml(model);
    EXPECT_FALSE(app.openFile(QString::fromStdString(hostile)));
    EXPECT_EQ(beepCount(), beeps + 1);
    EXPECT_EQ(documentXml(model), before);

    ASSERT_TRUE(app.openFile(QString::fromStdString(other)));
    EXPECT_EQ(model.settings.genV, 7);
    EXPECT_EQ(model.settings.geometry, 2);  // follows the sign of gen
    EXPECT_EQ(model.settings.eqManifold, "z*z = 1+x*x+y*y ὑπερβολοειδές (2 sheets)");
    EXPECT_NEAR(app.wCircle()->windowOpacity(), 0.5, 1.0 / 255);
}

}  // namespace
