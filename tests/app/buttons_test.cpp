// Every push button of the panel, found by its caption and pressed with a real click: what it
// must change, what it must leave alone, and that the picture shown follows.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QWindow>
#include <array>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "app/app.h"
#include "colour/colour.h"
#include "geometry/kernel.h"
#include "geometry/settings.h"
#include "panel_support.h"
#include "test_model.h"
#include "widgets/controls.h"

namespace {

// What a person can tell apart in the picture and the panel.
enum Part : unsigned {
    kView = 1 << 0,           // where the tiling is seen
    kColourView = 1 << 1,     // how the position colours lie on it
    kGenerators = 1 << 2,     // the triangle group
    kLengths = 1 << 3,        // the generating point
    kSchemes = 1 << 4,        // the six families' colour schemes
    kOffsets = 1 << 5,        // and their offsets
    kAlphas = 1 << 6,         // transparencies
    kThicks = 1 << 7,         // line and dot sizes
    kClassColours = 1 << 8,   // the colours of the sixteen types
    kSingleColours = 1 << 9,  // circle, origin and background
    kTileColours = 1 << 10,   // the individual colours of the tiles
    kSwitches = 1 << 11,      // what is drawn
    kParts = 12
};

const char* const kPartNames[kParts] = {
    "view",   "colour view", "generators",    "lengths",        "schemes",      "offsets",
    "alphas", "thicks",      "class colours", "single colours", "tile colours", "switches"};

using Snapshot = std::array<std::vector<double>, kParts>;

void add(std::vector<double>& v, const Matrix& m) {
    v.insert(v.end(), {m.sign, m.m00, m.m01, m.m02, m.m10, m.m11, m.m12, m.m20, m.m21, m.m22});
}
void add(std::vector<double>& v, const BColor& c) {
    v.insert(v.end(), {c.r, c.g, c.b});
}

Snapshot take() {
    const Settings& s = model.settings;
    Snapshot p;
    add(p[0], s.pointMatrix);
    add(p[1], s.colorMatrix);
    p[2] = {double(s.genV), double(s.genE), double(s.genF), double(s.geometry)};
    p[3] = {s.lengthV, s.lengthE, s.lengthF};
    p[4] = {double(s.polyFaceScheme), double(s.polyEdgeScheme), double(s.polyVertScheme),
            double(s.triFaceScheme),  double(s.triEdgeScheme),  double(s.triVertScheme)};
    p[5] = {s.polyFaceOffset, s.polyEdgeOffset, s.polyVertOffset,
            s.triFaceOffset,  s.triEdgeOffset,  s.triVertOffset};
    p[6] = {s.polyFaceAlpha, s.polyEdgeAlpha, s.polyVertAlpha, s.triFaceAlpha, s.triEdgeAlpha,
            s.triVertAlpha,  s.circleAlpha,   s.originAlpha,   s.windowAlpha,  s.panelAlpha};
    p[7] = {s.polyFaceThick, s.polyEdgeThick, s.polyVertThick, s.triFaceThick,
            s.triEdgeThick,  s.triVertThick,  s.circleThick,   s.originThick};
    for (int t = 0; t < kTypeCount; ++t) add(p[8], *typeColor(model.settings, t));
    for (const BColor* c : {&s.circleColor, &s.originColor, &s.windowColor}) add(p[9], *c);
    const GroupTables& g = model.groupTables;
    for (const DataTable* t :
         {&g.dataV, &g.dataE, &g.dataF, &g.dataEF, &g.dataFV, &g.dataVE, &g.dataVEF}) {
        for (int i = 0; i < t->count; ++i) {
            add(p[10], t->at(i).triColor);
            add(p[10], t->at(i).polyColor);
        }
    }
    for (bool b : {s.selfDraw, s.mirrorDraw, s.polyFaceDraw, s.polyEdgeDraw, s.polyVertDraw,
                   s.triFaceDraw, s.triEdgeDraw, s.triVertDraw, s.circleDraw, s.originDraw,
                   s.windowDraw, s.polyFaceVDraw, s.polyEdgeEFDraw, s.triVertVDraw})
        p[11].push_back(b);
    return p;
}

// The push button on the tab with this caption (both lines joined by "|").
CPushButton* button(const App& app, int tab, const std::string& caption) {
    for (QObject* child : app.tab(tab)->children()) {
        auto* b = dynamic_cast<CPushButton*>(child);
        if (b && (b->textB().empty() ? b->textA() : b->textA() + "|" + b->textB()) == caption)
            return b;
    }
    return nullptr;
}

using Buttons = PanelTest;

// Each family its own scheme (none of them the class or the individual colours), offset,
// transparency and thickness, so that a copy or a choice shows; the picture drawn in full and
// seen from off its centre.
void distinctFamilies(App& app) {
    Settings& s = model.settings;
    int* schemes[6] = {&s.polyFaceScheme, &s.polyEdgeScheme, &s.polyVertScheme,
                       &s.triFaceScheme,  &s.triEdgeScheme,  &s.triVertScheme};
    double* values[3][6] = {{&s.polyFaceOffset, &s.polyEdgeOffset, &s.polyVertOffset,
                             &s.triFaceOffset, &s.triEdgeOffset, &s.triVertOffset},
                            {&s.polyFaceAlpha, &s.polyEdgeAlpha, &s.polyVertAlpha, &s.triFaceAlpha,
                             &s.triEdgeAlpha, &s.triVertAlpha},
                            {&s.polyFaceThick, &s.polyEdgeThick, &s.polyVertThick, &s.triFaceThick,
                             &s.triEdgeThick, &s.triVertThick}};
    for (int f = 0; f < 6; ++f) {
        *schemes[f] = (f % 3 == 0) ? 0 : f % 3 + 2;
        for (auto& kind : values) *kind[f] = 0.1 * (f + 1);
    }
    app.pushTranslateZX();
}

struct Press {
    int tab;
    const char* caption;
    unsigned changes;
    bool redraws;
};

// clang-format off
const Press kPresses[] = {
    {0, "copy/paste pdf", 0, false},
    {1, "random|generators", kGenerators | kView | kTileColours, true},
    {2, "random|edge lengths", kLengths, true},
    {2, "equalize|edge lengths", kLengths, true},
    {3, "re·project|re·center", kView | kTileColours, true},
    {4, "random|matrix", kView | kColourView, true},
    {4, "identity|matrix", kView | kColourView, true},
    {4, "x", kView | kColourView, true},
    {4, "y", kView | kColourView, true},
    {4, "yx", kView | kColourView, true},
    {4, "zx", kView | kColourView, true},
    {4, "xy", kView | kColourView, true},
    {4, "zy", kView | kColourView, true},
    {4, "xz", kView | kColourView, true},
    {4, "yz", kView | kColourView, true},
    {6, "hide|πολύ", kSwitches, true},
    {6, "hide|τρί", kSwitches, true},
    {7, "random|σχήμα", kSchemes, true},
    {7, "πολύ|face", kSchemes, true},
    {7, "τρί|vertex", kSchemes, true},
    {8, "random|offset", kOffsets, true},
    {8, "πολύ|edge", kOffsets, true},
    {8, "τρί|face", kOffsets, true},
    {9, "random|άλφα", kAlphas, true},
    {9, "πολύ|vertex", kAlphas, true},
    {9, "τρί|edge", kAlphas, true},
    {9, "κύκλος", kAlphas, true},
    {9, "origin", kAlphas, true},
    {9, "window", kAlphas, true},
    {9, "panel", kAlphas, true},
    {10, "random|thick", kThicks, true},
    {10, "πολύ|face", kThicks, true},
    {10, "τρί|vertex", kThicks, true},
    {10, "κύκλος", kThicks, true},
    {10, "origin", kThicks, true},
    {11, "random πολύ face colors", kClassColours, true},
    {11, "random πολύ vertex colors", kClassColours, true},
    {12, "random τρί edge colors", kClassColours, true},
    {13, "random πολύ face colors", kTileColours, true},
    {13, "random πολύ edge colors", kTileColours, true},
    {13, "random πολύ vertex colors", kTileColours, true},
    {13, "random τρί face colors", kTileColours, true},
    {13, "random τρί edge colors", kTileColours, true},
    {13, "random τρί vertex colors", kTileColours, true},
    {13, "random σφαῖρα color", kSingleColours, true},
    {13, "random origin color", kSingleColours, true},
    {13, "random window color", kSingleColours, true},
};
// clang-format on

TEST_F(Buttons, EachChangesWhatItShouldAndNothingElse) {
    const Settings initial = model.settings;
    for (const Press& press : kPresses) {
        SCOPED_TRACE(testing::Message() << "tab " << press.tab << " " << press.caption);
        CPushButton* b = button(*app, press.tab, press.caption);
        ASSERT_NE(b, nullptr);
        model.settings = initial;
        makePicture(3, 3, 4, 200);
        distinctFamilies(*app);
        const Snapshot before = take();
        startCounting();
        clickCentre(b);
        const Snapshot after = take();
        for (unsigned k = 0; k < kParts; ++k)
            EXPECT_EQ(before[k] != after[k], bool(press.changes & (1u << k))) << kPartNames[k];
        EXPECT_EQ(redraws() > 0, press.redraws);
        EXPECT_FALSE(b->selected());
    }
}

// The "•" buttons choose the class colours (tabs 11 and 12) or the individual colours (tab 13)
// of their own family and of no other.
TEST_F(Buttons, DotsChooseTheColoursOfTheirOwnFamily) {
    Settings& s = model.settings;
    int* schemes[6] = {&s.polyFaceScheme, &s.polyEdgeScheme, &s.polyVertScheme,
                       &s.triFaceScheme,  &s.triEdgeScheme,  &s.triVertScheme};
    for (int tab : {11, 12, 13}) {
        std::vector<CPushButton*> dots;
        for (QObject* child : app->tab(tab)->children())
            if (auto* b = dynamic_cast<CPushButton*>(child); b && b->textA() == "•")
                dots.push_back(b);
        ASSERT_EQ(dots.size(), tab == 13 ? 6u : 3u);
        for (size_t i = 0; i < dots.size(); ++i) {
            SCOPED_TRACE(testing::Message() << "tab " << tab << " dot " << i);
            const int family = tab == 12 ? 3 + int(i) : int(i);
            for (int* scheme : schemes) *scheme = 4;
            startCounting();
            clickCentre(dots[i]);
            for (int f = 0; f < 6; ++f)
                EXPECT_EQ(*schemes[f], f == family ? (tab == 13 ? 1 : 2) : 4) << f;
            EXPECT_EQ(redraws(), 1);
            clickCentre(dots[i]);  // already chosen: nothing
            EXPECT_EQ(redraws(), 1);
        }
    }
}

// The geometry menu: a new geometry gets new generators of its kind, a fresh view and a new
// picture, in one redraw.
TEST_F(Buttons, TheGeometryMenuDrawsANewPictureOfTheChosenGeometry) {
    CMenu* menu = nullptr;
    for (QObject* child : app->tab(1)->children())
        if (auto* m = dynamic_cast<CMenu*>(child)) menu = m;
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->count(), 3);
    makePicture(3, 3, 4, 200);
    for (int geometry : {0, 1, 2, 0}) {
        SCOPED_TRACE(geometry);
        app->pushTranslateZX();
        const std::vector<double> tiles = take()[10];
        startCounting();
        // Rows run down from the first: the middle of row i.
        click(menu, menu->frame().w / 2, menu->frame().h * (2.5 - geometry) / 3);
        const Settings& s = model.settings;
        EXPECT_EQ(s.geometry, geometry);
        EXPECT_EQ(s.gen < 0 ? 0 : s.gen == 0 ? 1 : 2, geometry);
        EXPECT_TRUE(equalsM(s.pointMatrix, identity));
        EXPECT_TRUE(equalsM(s.colorMatrix, identity));
        EXPECT_GT(model.drawLists.triCount, 0);
        EXPECT_NE(take()[10], tiles);
        EXPECT_EQ(redraws(), 1);
        // The geometry shown, chosen again, changes nothing.
        const Snapshot before = take();
        click(menu, menu->frame().w / 2, menu->frame().h * (2.5 - geometry) / 3);
        EXPECT_EQ(take(), before);
        EXPECT_EQ(redraws(), 1);
    }
    EXPECT_EQ(model.settings.eqManifold, "z*z = 1-x*x-y*y σφαῖρα");
}

// Random generators keep the geometry: a new triangle of the same kind, drawn at once.
TEST_F(Buttons, RandomGeneratorsKeepTheGeometry) {
    CPushButton* random = button(*app, 1, "random|generators");
    ASSERT_NE(random, nullptr);
    for (auto [p, q, r] : {std::tuple{2, 3, 5}, {3, 3, 3}, {7, 3, 2}}) {
        makePicture(p, q, r, 200);
        const int geometry = model.settings.geometry;
        std::set<std::tuple<int, int, int>> seen;
        for (int i = 0; i < 8; ++i) {
            startCounting();
            clickCentre(random);
            EXPECT_EQ(model.settings.geometry, geometry);
            const int gen = model.settings.gen;
            EXPECT_EQ(gen < 0 ? 0 : gen == 0 ? 1 : 2, geometry);
            EXPECT_GT(model.drawLists.triCount, 0);
            EXPECT_EQ(redraws(), 1);
            seen.insert({model.settings.genV, model.settings.genE, model.settings.genF});
        }
        EXPECT_GT(seen.size(), 1u);
    }
}

}  // namespace
