#include "app/app.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

#include "canvas/window.h"
#include "geometry/settings.h"
#include "test_model.h"
#include "tiling/tables.h"
#include "widgets/cwindow.h"

namespace {

// Launch draws a random picture before the windows are shown, and finishing the launch shows
// them over the main screen without building the picture again: the drawing window over the
// whole screen, the panel (432 × 432, translucent) above it, only the tab of tabIndex on it.
TEST(App, LaunchDrawsARandomPictureThenShowsTheWindows) {
    const Settings defaults;
    Settings first;
    for (unsigned seed : {1u, 2u}) {
        model.settings = Settings{};
        model.settings.tabIndex = 14;
        App app(model, seed);
        const Settings& s = model.settings;
        EXPECT_GT(model.drawLists.quadCount, 0);
        EXPECT_NEAR(s.lengthV + s.lengthE + s.lengthF, 1, 1e-12);
        EXPECT_FALSE(s.lengthV == defaults.lengthV && s.lengthE == defaults.lengthE);
        EXPECT_FALSE(s.windowColor == defaults.windowColor);
        EXPECT_FALSE(app.wPoly()->isVisible() || app.wCircle()->isVisible());
        EXPECT_TRUE(seed == 1 ||
                    !(s.lengthV == first.lengthV || s.windowColor == first.windowColor));
        first = s;

        const QuadModule* firstQuad = model.drawLists.quad[0];
        const BColor firstColour = model.groupTables.dataVEF.at(0).polyColor;
        app.applicationDidFinishLaunching(seed + 10);
        EXPECT_EQ(model.drawLists.quad[0], firstQuad);
        EXPECT_TRUE(model.groupTables.dataVEF.at(0).polyColor == firstColour);

        const QRect frame = QGuiApplication::primaryScreen()->geometry();
        EXPECT_TRUE(app.wPoly()->isVisible());
        EXPECT_EQ(app.wPoly()->geometry(), frame);
        CWindow* panel = app.wCircle();
        EXPECT_TRUE(panel->isVisible());
        EXPECT_EQ(panel->size(), QSize(432, 432));
        EXPECT_EQ(panel->windowFlags() & (Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
                  Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
        EXPECT_TRUE(panel->testAttribute(Qt::WA_TranslucentBackground));
        EXPECT_EQ(panel->windowHandle()->transientParent(), app.wPoly()->windowHandle());
        EXPECT_TRUE(frame.adjusted(0, 0, 1, 1).contains(panel->geometry().center()));
        for (int i = 0; i < 15; ++i)
            EXPECT_EQ(app.tab(i)->isVisibleTo(app.tabView()), i == 14) << "tab " << i;
    }
}

TEST(App, ThePanelFollowsTheProgramsStateAndTheTabChosen) {
    model.settings = Settings{};
    App app(model, 5);
    app.applicationDidFinishLaunching(6);
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
    EXPECT_EQ(app.wPoly()->geometry(), QGuiApplication::primaryScreen()->geometry());

    app.selectTab(4);
    EXPECT_EQ(model.settings.tabIndex, 4);
    EXPECT_EQ(app.selectedTab(), app.tab(4));
    EXPECT_TRUE(app.tab(4)->isVisibleTo(app.tabView()));
    EXPECT_FALSE(app.tab(0)->isVisibleTo(app.tabView()));
    app.tab(3)->show();  // a page shown by other means stays as it is when 4 is chosen again
    app.selectTab(4);
    EXPECT_TRUE(app.tab(3)->isVisibleTo(app.tabView()));
    app.selectTab(15);
    EXPECT_EQ(model.settings.tabIndex, 4);
}

}  // namespace
