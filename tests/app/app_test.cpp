#include "app/app.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWindow>

#include "canvas/view.h"
#include "canvas/window.h"
#include "geometry/settings.h"
#include "render/frame.h"
#include "test_model.h"
#include "tiling/tables.h"
#include "widgets/cwindow.h"

namespace {

class AppTest : public testing::Test {
  protected:
    void SetUp() override { model.settings = Settings{}; }
};

TEST_F(AppTest, LaunchDrawsARandomPictureBeforeTheWindowsAreShown) {
    const Settings defaults;
    Settings first;
    for (unsigned seed : {1u, 2u}) {
        model.settings = Settings{};
        App app(model, seed);
        // The chain has run: the group, its modules and the draw lists exist for the random
        // triangle, of the geometry its gen says; no launch shows the stored random settings.
        const Settings& s = model.settings;
        EXPECT_GT(model.drawLists.quadCount, 0);
        EXPECT_EQ(s.gen,
                  s.genV * s.genE * s.genF - s.genV * s.genE - s.genE * s.genF - s.genF * s.genV);
        EXPECT_EQ(s.geometry, (s.gen > 0) - (s.gen < 0) + 1);
        EXPECT_NEAR(s.lengthV + s.lengthE + s.lengthF, 1, 1e-12);
        EXPECT_FALSE(s.lengthV == defaults.lengthV && s.lengthE == defaults.lengthE);
        EXPECT_FALSE(s.windowColor == defaults.windowColor);
        EXPECT_FALSE(app.wPoly()->isVisible() || app.wCircle()->isVisible());
        EXPECT_TRUE(seed == 1 ||
                    !(s.lengthV == first.lengthV || s.windowColor == first.windowColor));
        first = s;

        // Finishing the launch does not build the picture again.
        const QuadModule* firstQuad = model.drawLists.quad[0];
        const BColor firstColour = model.groupTables.dataVEF.at(0).polyColor;
        app.applicationDidFinishLaunching(seed + 10);
        EXPECT_EQ(model.drawLists.quad[0], firstQuad);
        EXPECT_TRUE(model.groupTables.dataVEF.at(0).polyColor == firstColour);
    }
}

TEST_F(AppTest, WindowsAfterLaunch) {
    App app(model, 5);
    app.applicationDidFinishLaunching(6);
    const QRect frame = QGuiApplication::primaryScreen()->geometry();
    // The drawing window over the whole main screen; its view bounds follow.
    EXPECT_TRUE(app.wPoly()->isVisible());
    EXPECT_EQ(app.wPoly()->geometry(), frame);
    const ViewRect expected = viewRectFor(frame.width(), frame.height(), model.settings.windowZoom);
    EXPECT_FLOAT_EQ(model.viewState.rect0.x, expected.x);
    EXPECT_FLOAT_EQ(model.viewState.rect0.height, expected.height);
    // The panel: 432 × 432, translucent, above the drawing window, its centre on the screen.
    CWindow* panel = app.wCircle();
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->size(), QSize(432, 432));
    EXPECT_EQ(panel->windowFlags() & (Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
              Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    EXPECT_EQ(panel->windowFlags() & Qt::WindowType_Mask, Qt::Tool);
    EXPECT_TRUE(panel->testAttribute(Qt::WA_TranslucentBackground));
    EXPECT_EQ(panel->windowHandle()->transientParent(), app.wPoly()->windowHandle());
    EXPECT_NEAR(panel->windowOpacity(), model.settings.panelAlpha, 1.0 / 255);  // kept in 8 bits
    EXPECT_TRUE(frame.adjusted(0, 0, 1, 1).contains(panel->geometry().center()));

    // The panel is shown only while the program is active.
    app.applicationStateChanged(Qt::ApplicationInactive);
    EXPECT_FALSE(app.wCircle()->isVisible());
    EXPECT_TRUE(app.wPoly()->isVisible());
    app.applicationStateChanged(Qt::ApplicationActive);
    EXPECT_TRUE(app.wCircle()->isVisible());
    app.applicationStateChanged(Qt::ApplicationHidden);
    EXPECT_FALSE(app.wCircle()->isVisible());

    // A change of screens fits the drawing window to the screen again.
    app.wPoly()->setGeometry(10, 10, 300, 200);
    app.applicationDidChangeScreenParameters();
    EXPECT_EQ(app.wPoly()->geometry(), frame);
}

TEST_F(AppTest, OnlyTheTabOfTabIndexIsShown) {
    for (int index : {0, 6, 14}) {
        SCOPED_TRACE(index);
        model.settings = Settings{};
        model.settings.tabIndex = index;
        App app(model, 7);
        app.applicationDidFinishLaunching(8);
        for (int i = 0; i < 15; ++i)
            EXPECT_EQ(app.tab(i)->isVisibleTo(app.tabView()), i == index) << "tab " << i;
        EXPECT_EQ(app.selectedTab(), app.tab(index));
        app.selectTab(4);
        EXPECT_EQ(model.settings.tabIndex, 4);
        EXPECT_TRUE(app.tab(4)->isVisibleTo(app.tabView()));
        EXPECT_FALSE(app.tab(index)->isVisibleTo(app.tabView()));
        app.tab(3)->show();  // a page shown by other means stays as it is when 4 is chosen again
        app.selectTab(4);
        EXPECT_TRUE(app.tab(3)->isVisibleTo(app.tabView()));
        app.selectTab(15);
        EXPECT_EQ(model.settings.tabIndex, 4);
    }
}

}  // namespace
