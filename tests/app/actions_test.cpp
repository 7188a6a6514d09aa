// The panel's actions, driven through the real controls: what each changes, which stage of the
// chain it enters, and whether the picture is redrawn.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <cmath>
#include <vector>

#include "app/app.h"
#include "canvas/navigation.h"
#include "canvas/view.h"
#include "canvas/window.h"
#include "colour/colour.h"
#include "geometry/kernel.h"
#include "geometry/settings.h"
#include "panel_support.h"
#include "render/depth_order.h"
#include "test_model.h"
#include "tiling/enumeration.h"
#include "widgets/color_picker_model.h"
#include "widgets/controls.h"
#include "widgets/cwindow.h"

namespace {

bool isIdentity(const Matrix& m) {
    return equalsM(m, identity);
}

// The x of a slider of width w (in its own co-ordinates) that gives the value v.
double sliderX(double v, double min, double max, double w = 156) {
    return (v - min) / (max - min) * (w - 1);
}

using Generators = PanelTest;

TEST_F(Generators, GeometryFollowsTheSignOfGenAndResetsTheViewOnlyWhenItChanges) {
    makePicture(3, 3, 3);
    ASSERT_EQ(model.settings.gen, 0);
    ASSERT_EQ(model.settings.geometry, 1);

    struct Step {
        int genF, gen, geometry;
        bool viewReset;
    };
    const Step steps[] = {
        {4, 3, 2, true},   // plane → hyperbolic plane
        {5, 6, 2, false},  // still hyperbolic
        {3, 0, 1, true},   // back to the plane
        {2, -3, 0, true},  // the sphere
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(testing::Message() << "genF " << step.genF);
        // A turn about the view centre: re-centring on V keeps it, a new geometry does not.
        app->pushTranslateXY();
        ASSERT_FALSE(isIdentity(model.settings.pointMatrix));
        startCounting();
        click(app->control("sGenF"), sliderX(step.genF, 2, 12), 6);
        EXPECT_EQ(model.settings.genF, step.genF);
        EXPECT_EQ(model.settings.gen, step.gen);
        EXPECT_EQ(model.settings.geometry, step.geometry);
        EXPECT_EQ(isIdentity(model.settings.pointMatrix), step.viewReset);
        EXPECT_EQ(isIdentity(model.settings.colorMatrix), step.viewReset);
        EXPECT_GT(model.groupTables.matrixCount(), 0);
        EXPECT_GT(model.drawLists.triCount, 0);
        EXPECT_EQ(redraws(), 1);
    }
    EXPECT_EQ(model.settings.eqManifold, "z*z = 1-x*x-y*y σφαῖρα");
}

using Lengths = PanelTest;

TEST_F(Lengths, TheLastUniformFlagCannotBeCleared) {
    CCheckbox* boxes[3] = {app->control<CCheckbox>("bUniformV"),
                           app->control<CCheckbox>("bUniformE"),
                           app->control<CCheckbox>("bUniformF")};
    bool* flags[3] = {&model.settings.uniformV, &model.settings.uniformE, &model.settings.uniformF};
    for (int last = 0; last < 3; ++last) {
        SCOPED_TRACE(last);
        for (int i = 0; i < 3; ++i) *flags[i] = true;
        // Clearing the other two works.
        for (int i = 0; i < 3; ++i)
            if (i != last) clickCentre(boxes[i]);
        for (int i = 0; i < 3; ++i) EXPECT_EQ(*flags[i], i == last);
        clickCentre(boxes[last]);
        EXPECT_TRUE(*flags[last]);
        // And the box shows it set again.
        const ControlFrame& f = boxes[last]->frame();
        EXPECT_EQ(pixelOnTab(2, f.x, f.y), QColor(255, 255, 255));
    }
}

using Projection = PanelTest;

TEST_F(Projection, AGroupOrderThatLeavesTheGroupAsItIsNeitherRebuildsNorRedraws) {
    makePicture(2, 3, 5, 200);
    ASSERT_EQ(model.groupTables.matrixCount(), 120);
    const int tris = model.drawLists.triCount, polys = model.drawLists.polyCount;
    const TriModule* firstTri = model.drawLists.tri[0];
    std::vector<BColor> colours;
    for (int i = 0; i < model.groupTables.dataVEF.count; ++i)
        colours.push_back(model.groupTables.dataVEF.at(i).triColor);

    startCounting();
    click(app->control("sGroupOrder"), sliderX(1000, 0, 2000), 6);
    ASSERT_NE(model.settings.groupOrder, 200);
    EXPECT_EQ(model.groupTables.matrixCount(), 120);
    EXPECT_EQ(redraws(), 0);
    // The picture is the one shown: the same draw lists, the same individual colours.
    EXPECT_EQ(model.drawLists.triCount, tris);
    EXPECT_EQ(model.drawLists.polyCount, polys);
    EXPECT_EQ(model.drawLists.tri[0], firstTri);
    for (int i = 0; i < model.groupTables.dataVEF.count; ++i)
        EXPECT_TRUE(model.groupTables.dataVEF.at(i).triColor == colours[i]) << i;

    // A smaller group is a new picture.
    click(app->control("sGroupOrder"), sliderX(20, 0, 2000), 6);
    EXPECT_LT(model.groupTables.matrixCount(), 120);
    EXPECT_EQ(redraws(), 1);
}

TEST_F(Projection, SpiralAngleMattersOnlyUnderTheXAxisProjections) {
    makePicture(3, 3, 4, 1000);
    model.settings.project3D2D = 2;
    const int count = model.groupTables.matrixCount();
    startCounting();
    click(app->control("sSpiralAngle"), sliderX(8, 1, 10), 6);
    EXPECT_NEAR(model.settings.spiralAngle, 8, 0.1);
    EXPECT_EQ(model.groupTables.matrixCount(), count);
    EXPECT_EQ(redraws(), 0);

    // [x,y,z] → [y,z]: the fourth row of the projection menu. It re-sorts the picture shown.
    click(app->control("pProject3D2D"), 78, 96 - 16 * 3.5);
    EXPECT_EQ(model.settings.project3D2D, 3);
    EXPECT_EQ(model.settings.eqManifold, "y*y+z*z = 1+x*x ὑπερβολοειδές (1 sheet)");
    EXPECT_EQ(model.groupTables.matrixCount(), count);
    EXPECT_EQ(redraws(), 1);

    // Now the band the fill keeps follows the angle: the narrowest band gives another group.
    startCounting();
    click(app->control("sSpiralAngle"), 0, 6);
    EXPECT_NE(model.groupTables.matrixCount(), count);
    EXPECT_EQ(redraws(), 1);
}

using Display = PanelTest;

TEST_F(Display, AFamilySwitchRedrawsOnlyWhenOneOfItsTypesIsOn) {
    model.settings.polyEdgeEFDraw = model.settings.polyEdgeFVDraw = model.settings.polyEdgeVEDraw =
        false;
    startCounting();
    clickCentre(app->control("bPolyEdgeDraw"));
    clickCentre(app->control("bPolyEdgeDraw1"));
    clickCentre(app->control("bPolyEdgeDraw0"));
    EXPECT_EQ(redraws(), 0);
    model.settings.polyEdgeFVDraw = true;
    clickCentre(app->control("bPolyEdgeDraw"));
    EXPECT_EQ(redraws(), 1);

    // A type switch redraws while its family switch is on.
    model.settings.triFaceDraw = false;
    startCounting();
    clickCentre(app->control("bTriFaceNegDraw"));
    EXPECT_EQ(redraws(), 0);
    model.settings.triFaceDraw = true;
    clickCentre(app->control("bTriFaceNegDraw"));
    EXPECT_EQ(redraws(), 1);
}

using Schemes = PanelTest;

TEST_F(Schemes, ASchemeChangeRedrawsOnlyAFamilyThatIsDrawn) {
    Settings& s = model.settings;
    struct Case {
        const char* name;
        bool family, ef, fv, ve;
        int redraws;
    };
    const Case cases[] = {
        {"drawn", true, true, false, false, 1},
        {"every type switch off", true, false, false, false, 0},
        {"family switch off", false, true, true, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        s.polyEdgeDraw = c.family;
        s.polyEdgeEFDraw = c.ef;
        s.polyEdgeFVDraw = c.fv;
        s.polyEdgeVEDraw = c.ve;
        s.polyEdgeScheme = 2;
        startCounting();
        click(app->control("pPolyEdgeScheme"), 10, 10);
        EXPECT_EQ(s.polyEdgeScheme, 0);
        EXPECT_EQ(redraws(), c.redraws);
    }
}

TEST_F(Schemes, AnOffsetRedrawsOnlyUnderThePositionColourSchemes) {
    for (int scheme = 0; scheme <= 4; ++scheme) {
        SCOPED_TRACE(scheme);
        model.settings.triEdgeScheme = scheme;
        startCounting();
        click(app->control("sTriEdgeOffset"), sliderX(2.0 / 3, 0, 2), 6);
        EXPECT_NEAR(model.settings.triEdgeOffset, 2.0 / 3, 0.01);
        const Matrix expected = offsetMatrix(PI * model.settings.triEdgeOffset);
        EXPECT_TRUE(equalsM(model.colourState.triEdgeMatrix, expected));
        EXPECT_EQ(redraws(), scheme >= 3 ? 1 : 0);
        // The random and copy buttons always redraw.
        clickCentre(app->control("qRanAllOffset"));
        clickCentre(app->control("qCopyTriEdgeOffset"));
        EXPECT_EQ(redraws(), scheme >= 3 ? 3 : 2);
    }
}

TEST_F(Schemes, EachCopyButtonCopiesItsOwnFamilysValue) {
    Settings& s = model.settings;
    int* schemes[6] = {&s.polyFaceScheme, &s.polyEdgeScheme, &s.polyVertScheme,
                       &s.triFaceScheme,  &s.triEdgeScheme,  &s.triVertScheme};
    double* offsets[6] = {&s.polyFaceOffset, &s.polyEdgeOffset, &s.polyVertOffset,
                          &s.triFaceOffset,  &s.triEdgeOffset,  &s.triVertOffset};
    const char* schemeButtons[6] = {"qCopyPolyFaceScheme", "qCopyPolyEdgeScheme",
                                    "qCopyPolyVertScheme", "qCopyTriFaceScheme",
                                    "qCopyTriEdgeScheme",  "qCopyTriVertScheme"};
    const char* offsetButtons[6] = {"qCopyPolyFaceOffset", "qCopyPolyEdgeOffset",
                                    "qCopyPolyVertOffset", "qCopyTriFaceOffset",
                                    "qCopyTriEdgeOffset",  "qCopyTriVertOffset"};

    for (int f = 0; f < 6; ++f) {
        SCOPED_TRACE(testing::Message() << "family " << f);
        for (int g = 0; g < 6; ++g) {
            *schemes[g] = g % 5;
            *offsets[g] = 0.1 * (g + 1);
        }
        startCounting();
        clickCentre(app->control(schemeButtons[f]));
        clickCentre(app->control(offsetButtons[f]));
        for (int g = 0; g < 6; ++g) {
            EXPECT_EQ(*schemes[g], f % 5);
            EXPECT_DOUBLE_EQ(*offsets[g], 0.1 * (f + 1));
            EXPECT_TRUE(
                equalsM(familyMatrix(model.colourState, g), offsetMatrix(PI * 0.1 * (f + 1))));
        }
        EXPECT_EQ(redraws(), 2);
    }
}

TEST_F(Schemes, TransparencyAndThicknessRedrawOnlyWhatShows) {
    Settings& s = model.settings;
    startCounting();
    click(app->control("sPolyFaceThick"), 20, 6);
    click(app->control("sTriFaceThick"), 20, 6);
    EXPECT_EQ(redraws(), 0);  // faces are filled, never stroked
    click(app->control("sTriEdgeThick"), 20, 6);
    click(app->control("sTriEdgeAlpha"), 20, 6);
    EXPECT_EQ(redraws(), 2);
    s.circleDraw = false;
    click(app->control("sCircleAlpha"), 30, 6);
    click(app->control("sCircleThick"), 30, 6);
    EXPECT_EQ(redraws(), 2);
    s.circleDraw = true;
    click(app->control("sCircleThick"), 40, 6);
    EXPECT_EQ(redraws(), 3);

    click(app->control("sPanelAlpha"), sliderX(0.8, 0.05, 1), 6);
    EXPECT_NEAR(app->wCircle()->windowOpacity(), model.settings.panelAlpha, 1.0 / 255);
    EXPECT_EQ(redraws(), 3);
}

using Colours = PanelTest;

TEST_F(Colours, RandomTypeColoursChangeOnlyTheirOwnFamily) {
    const char* buttons[6] = {"qRanPolyFaceColor1", "qRanPolyEdgeColor1", "qRanPolyVertColor1",
                              "qRanTriFaceColor1",  "qRanTriEdgeColor1",  "qRanTriVertColor1"};
    for (int f = 0; f < 6; ++f) {
        SCOPED_TRACE(testing::Message() << "family " << f);
        std::vector<BColor> before;
        for (int t = 0; t < kTypeCount; ++t) before.push_back(*typeColor(model.settings, t));
        clickCentre(app->control(buttons[f]));
        for (int t = 0; t < kTypeCount; ++t)
            EXPECT_EQ(*typeColor(model.settings, t) == before[t], familyOfType(t) != f)
                << "type " << t;
    }
}

TEST_F(Colours, AWellPointsThePickerAtItsColourAndTheTitleLeadsBack) {
    Settings& s = model.settings;
    struct Case {
        const char* well;
        BColor* colour;
        const char* title;
        int owner;
    };
    const Case cases[] = {
        {"cPolyFaceVColor", &s.polyFaceVColor, "πολύ face v color", 11},
        {"cPolyVertNegColor", &s.polyVertNegColor, "πολύ vertex – color", 11},
        {"cTriFacePosColor", &s.triFacePosColor, "τρί face + color", 12},
        {"cCircleColor0", &s.circleColor, "κύκλος color", 13},
        {"cWindowColor0", &s.windowColor, "window background color", 13},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        const BColor colour = *c.colour;
        clickCentre(app->control(c.well));
        EXPECT_EQ(model.settings.tabIndex, 14);
        EXPECT_TRUE(app->tab(14)->isVisibleTo(app->tabView()));
        EXPECT_EQ(app->control<CColorPicker>("colorPicker")->color(), c.colour);
        EXPECT_EQ(app->control<CPushButton>("qUpdateColor")->textA(), c.title);
        EXPECT_TRUE(*c.colour == colour);  // pointing the picker changes no colour
        clickCentre(app->control("qUpdateColor"));
        EXPECT_EQ(model.settings.tabIndex, c.owner);
        EXPECT_FALSE(app->control<CPushButton>("qUpdateColor")->selected());
    }
}

TEST_F(Colours, EditingAColourRedrawsOnlyWhenItIsOnThePicture) {
    Settings& s = model.settings;
    struct Case {
        const char* name;
        const char* well;
        int scheme;
        bool typeSwitch, familySwitch;
        int redraws;
        double x;  // where the wheel is pressed, a new colour each time
    };
    const Case cases[] = {
        // The picker writes the colour at the press and again at the release.
        {"class colours, all on", "cPolyEdgeFVColor", 2, true, true, 2, 130},
        {"individual colours", "cPolyEdgeFVColor", 1, true, true, 0, 145},
        {"type switch off", "cPolyEdgeFVColor", 2, false, true, 0, 160},
        {"family switch off", "cPolyEdgeFVColor", 2, true, false, 0, 175},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        s.polyEdgeScheme = c.scheme;
        s.polyEdgeFVDraw = c.typeSwitch;
        s.polyEdgeDraw = c.familySwitch;
        clickCentre(app->control(c.well));
        const BColor before = s.polyEdgeFVColor;
        startCounting();
        click(app->control<CColorPicker>("colorPicker"), c.x,
              100);  // right of the centre, on the wheel
        EXPECT_FALSE(s.polyEdgeFVColor == before);
        EXPECT_EQ(redraws(), c.redraws);
    }

    // The single colours redraw while their element is drawn.
    clickCentre(app->control("cOriginColor0"));
    s.originDraw = false;
    startCounting();
    click(app->control<CColorPicker>("colorPicker"), 40, 100);
    EXPECT_EQ(redraws(), 0);
    s.originDraw = true;
    click(app->control<CColorPicker>("colorPicker"), 100, 160);
    EXPECT_EQ(redraws(), 2);
}

// A random colour replaces the one the picker edits: the picker follows it, so that the
// brightness slider afterwards darkens the new colour rather than bringing the old one back.
TEST_F(Colours, ThePickerFollowsARandomColourItIsEditing) {
    clickCentre(app->control("cWindowColor0"));
    clickCentre(app->control("qUpdateColor"));
    clickCentre(app->control("qRanWindowColor0"));
    const BColor random = model.settings.windowColor;
    app->setBrightness();  // the slider's value unchanged
    EXPECT_NEAR(model.settings.windowColor.r, random.r, 1e-5);
    EXPECT_NEAR(model.settings.windowColor.g, random.g, 1e-5);
    EXPECT_NEAR(model.settings.windowColor.b, random.b, 1e-5);
}

using Windows = PanelTest;

TEST_F(Windows, HideMinimisesAndShowAllBringsTheWindowsBack) {
    clickCentre(app->control("qHide"));
    EXPECT_FALSE(app->wCircle()->isVisible());
    EXPECT_TRUE(app->wPoly()->isMinimized());
    app->unhideAllApplications();  // the panel is hidden, so not by its button
    EXPECT_TRUE(app->wCircle()->isVisible());
    EXPECT_TRUE(app->wPoly()->isVisible());
    EXPECT_FALSE(app->wPoly()->isMinimized());
    // Restored from the desktop (its task bar) instead, the drawing window brings the panel too.
    QCoreApplication::processEvents();
    clickCentre(app->control("qHide"));
    QCoreApplication::processEvents();
    ASSERT_FALSE(app->wCircle()->isVisible());
    ASSERT_TRUE(app->wPoly()->isMinimized());
    app->wPoly()->windowHandle()->showNormal();
    QCoreApplication::processEvents();
    EXPECT_FALSE(app->wPoly()->isMinimized());
    EXPECT_TRUE(app->wCircle()->isVisible());
}

// The open, save and print buttons run their dialogs while pressed; the release goes to the
// dialog, yet the button must not stay white once the dialog is gone.
TEST_F(Windows, ButtonsThatRunADialogAreReleasedWhenItReturns) {
    for (CPushButton* button :
         {app->control<CPushButton>("qOpen"), app->control<CPushButton>("qSave"),
          app->control<CPushButton>("qPrint")}) {
        SCOPED_TRACE(button->textA());
        app->selectTab(tabOf(*app, button));
        int dialogs = 0;
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [&] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                ++dialogs;
                dialog->reject();
            }
        });
        closer.start(20);
        const QPoint centre = button->mapTo(app->wCircle(), button->rect().center());
        QTest::mousePress(app->wCircle()->windowHandle(), Qt::LeftButton, {}, centre);
        closer.stop();
        EXPECT_EQ(dialogs, 1);
        EXPECT_FALSE(button->selected());
        QTest::mouseRelease(app->wCircle()->windowHandle(), Qt::LeftButton, {}, centre);
        EXPECT_FALSE(button->selected());
    }
}

TEST_F(Windows, QuitEndsTheEventLoop) {
    QTimer::singleShot(0, app.get(), [this] { clickCentre(app->control("qQuit")); });
    // Ends a loop that the button failed to end, with a code that fails the test.
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    guard.start(10000);
    EXPECT_EQ(QCoreApplication::exec(), 0);
    guard.stop();
}

}  // namespace
