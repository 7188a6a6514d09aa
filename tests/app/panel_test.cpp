// The panel as a person sees and uses it, driven through real clicks: every control inside the
// ring, none over another, every caption within its control; every control working its own
// setting and no other; and whether the picture is redrawn.

#include <gtest/gtest.h>

#include <QDialog>
#include <QMap>
#include <QPainter>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <functional>
#include <set>
#include <tuple>

#include "app/document.h"
#include "colour/colour.h"
#include "colour/families.h"
#include "geometry/kernel.h"
#include "panel_support.h"
#include "platform/qt_draw.h"
#include "test_model.h"
#include "widgets/control_drawing.h"
#include "widgets/controls.h"
#include "widgets/cwindow.h"
#include "widgets/panel_model.h"

namespace {

template <class T>
std::vector<T*> all(const App& app) {
    std::vector<T*> out;
    for (int t = 0; t < 15; ++t)
        for (QObject* child : app.tab(t)->children())
            if (auto* x = dynamic_cast<T*>(child)) out.push_back(x);
    return out;
}

// The x of a slider of width w (in its own co-ordinates) that gives the value v.
double sliderX(double v, double min, double max, double w = 156) {
    return (v - min) / (max - min) * (w - 1);
}

int geometryOfGen(int gen) {
    return gen < 0 ? 0 : gen == 0 ? 1 : 2;
}

// The lines a control shows.
std::vector<std::string> captions(Control* c) {
    if (auto* b = dynamic_cast<CPushButton*>(c)) return {b->textA(), b->textB()};
    if (auto* b = dynamic_cast<CCheckbox*>(c)) return {b->text()};
    if (auto* l = dynamic_cast<CTextField*>(c)) return {l->textA(), l->textB()};
    if (auto* w = dynamic_cast<CColorWell*>(c)) return {w->text()};
    if (auto* m = dynamic_cast<CMenu*>(c)) return m->texts();
    if (dynamic_cast<BMenu*>(c)) return {kSchemeTextA, kSchemeTextA + 5};
    return {};
}

using Panel = PanelTest;

TEST_F(Panel, ControlsLieInsideTheRingApartWithTheirCaptionsInside) {
    QImage image(10, 10, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    QtDrawLayer measure(painter, QRectF(0, 0, 10, 10), QRectF(0, 0, 10, 10));
    const std::vector<Control*> controls = all<Control>(*app);
    for (size_t i = 0; i < controls.size(); ++i) {
        const ControlFrame& f = controls[i]->frame();
        SCOPED_TRACE(testing::Message()
                     << "tab " << tabOf(*app, controls[i]) << " control at " << f.x << "," << f.y);
        for (double dx : {-f.w / 2, f.w / 2})
            for (double dy : {-f.h / 2, f.h / 2})
                EXPECT_LT(std::hypot(f.x + dx - 216, f.y + dy - 216), kRingInner);
        // The page shows the control where its frame says, rows running down from the top.
        EXPECT_EQ(controls[i]->geometry(),
                  QRect(int(f.x - f.w / 2), int(432 - f.y - f.h / 2), int(f.w), int(f.h)));
        for (size_t j = 0; j < i; ++j) {  // none over another on the same page
            const ControlFrame& g = controls[j]->frame();
            EXPECT_TRUE(controls[j]->parent() != controls[i]->parent() ||
                        std::fabs(f.x - g.x) >= (f.w + g.w) / 2 ||
                        std::fabs(f.y - g.y) >= (f.h + g.h) / 2)
                << "over the control at " << g.x << "," << g.y;
        }
        // Text fields have their own size; every other caption is at 10 points.
        auto* field = dynamic_cast<CTextField*>(controls[i]);
        const float room = dynamic_cast<CCheckbox*>(controls[i]) ? f.w - f.h : f.w;
        for (const std::string& text : captions(controls[i]))
            EXPECT_LE(measure.measureText(text, field ? field->fontSize() : 10).width, room);
    }
}

// A switch has a check box on each tab that shows it: whichever is pressed, it alone changes,
// and all its boxes show the same state.
TEST_F(Panel, EveryCheckBoxTogglesItsOwnSwitchAndNoOtherOnEveryTab) {
    const std::vector<CCheckbox*> boxes = all<CCheckbox>(*app);
    std::set<long> perFamily;  // every family's switch has as many boxes as each other's
    for (const FamilyInfo& f : kFamilies) {
        perFamily.insert(std::count_if(boxes.begin(), boxes.end(), [&](CCheckbox* b) {
            return b->setting() == &(model.settings.*f.draw);
        }));
    }
    EXPECT_EQ(perFamily.size(), 1u);
    for (CCheckbox* box : boxes) {
        SCOPED_TRACE(box->text());
        std::vector<bool> before;
        for (CCheckbox* b : boxes) before.push_back(*b->setting());
        clickCentre(box);
        for (size_t i = 0; i < boxes.size(); ++i) {
            const bool own = boxes[i]->setting() == box->setting();
            EXPECT_EQ(*boxes[i]->setting(), own ? !before[i] : bool(before[i])) << i;
            if (!own || *box->setting()) continue;
            const int tab = tabOf(*app, boxes[i]);
            const BColor& c = tabTable._c[tab];
            // A point inside the pill's left end, clear of any text: the tab's colour, not white.
            const ControlFrame& f = boxes[i]->frame();
            EXPECT_EQ(pixelOnTab(tab, f.x - f.w / 2 + f.h / 2, f.y).rgb(),
                      QColor::fromRgbF(c.r, c.g, c.b).rgb());
        }
        clickCentre(box);
        EXPECT_TRUE(*box->setting());
    }
}

TEST_F(Panel, EveryMenuAndSliderSetsItsOwnSettingAcrossItsRange) {
    const std::vector<BMenu*> schemes = all<BMenu>(*app);
    for (BMenu* menu : schemes) {
        for (BMenu* m : schemes) *m->setting() = 2;
        click(menu, menu->frame().w - 10, 10);  // the last cell, then the first
        for (BMenu* m : schemes) EXPECT_EQ(*m->setting(), m == menu ? 4 : 2);
        click(menu, 10, 10);
        EXPECT_EQ(*menu->setting(), 0);
    }
    for (CMenu* menu : all<CMenu>(*app)) {
        SCOPED_TRACE(menu->texts().front());
        click(menu, menu->frame().w / 2, 2);  // rows run down from the first
        EXPECT_EQ(*menu->setting(), menu->count() - 1);
        click(menu, menu->frame().w / 2, menu->frame().h - 2);
        EXPECT_EQ(*menu->setting(), 0);
    }
    auto endToEnd = [&](auto* s) {
        SCOPED_TRACE(s->text());
        click(s, s->frame().w - 1, 6);
        EXPECT_EQ(*s->setting(), s->max());
        click(s, 0, 6);
        EXPECT_EQ(*s->setting(), s->min());
    };
    for (BSlider* s : all<BSlider>(*app))
        if (s->setting() != &model.settings.groupOrder) endToEnd(s);  // its far end is slow
    for (CSlider* s : all<CSlider>(*app)) endToEnd(s);
}

// What a person can tell apart in the picture and the panel, by the document keys that hold it:
// the view, the position colours' view, the generators, the lengths, the six families' schemes,
// offsets, transparencies and thicknesses, the circle's, origin's and background's colours, the
// sixteen types' colours, the tiles' own colours, what is drawn and on top, and every other
// setting. The keys computed from the others hold none.
std::string partOf(const QString& key) {
    static const QRegularExpression parts(
        "^(?:(?<none>generatorType|\\w+Count|eq\\w+|(?:tri|poly)Point\\w+|normalLine\\w+|"
        "reflectMatrix\\w+|rotateMatrix\\w+|pointMatrixInitial|groupMatrixData)|"
        "(?<view>pointMatrix)|(?<colourView>colorMatrix)|(?<generators>geometry|generator[VEF])|"
        "(?<lengths>length[VEF])|(?<schemes>\\w+Scheme)|(?<offsets>\\w+Offset)|"
        "(?<alphas>\\w+Alpha)|(?<thicks>\\w+Thickness)|"
        "(?<singleColours>(?:circle|origin|window)Color)|(?<classColours>\\w+Color)|"
        "(?<tileColours>(?:poly|tri)Color\\w+)|(?<switches>\\w+Draw|\\w+Emphasis)|(?<other>.*))$");
    const QRegularExpressionMatch m = parts.match(key);
    for (const QString& name : parts.namedCaptureGroups())
        if (!name.isEmpty() && m.capturedStart(name) >= 0) return name.toStdString();
    return "";
}

using Parts = std::set<std::string>;

// The parts that differ between two documents: each key's value runs to the next key.
Parts changedParts(const std::string& a, const std::string& b) {
    static const QRegularExpression entry("<key>(\\w+)</key>((?:(?!<key>).)*)",
                                          QRegularExpression::DotMatchesEverythingOption);
    auto keyed = [](const std::string& xml) {
        QMap<QString, QString> values;
        for (const QRegularExpressionMatch& m : entry.globalMatch(QString::fromStdString(xml)))
            values[m.captured(1)] = m.captured(2);
        return values;
    };
    const QMap<QString, QString> before = keyed(a);
    Parts changed;
    for (const auto& [key, value] : keyed(b).asKeyValueRange())
        if (before.value(key) != value && partOf(key) != "none") changed.insert(partOf(key));
    return changed;
}

// The buttons of a tab (by their captions, both lines joined by "|") that change the same parts
// of the picture.
const std::tuple<int, std::vector<std::string>, Parts> kPresses[] = {
    {0, {"copy/paste pdf"}, {}},
    {1, {"random|generators"}, {"generators", "view", "tileColours"}},
    {2, {"random|edge lengths", "equalize|edge lengths"}, {"lengths"}},
    {3, {"re·project|re·center"}, {"view", "tileColours"}},
    {4,
     {"random|matrix", "identity|matrix", "x", "y", "yx", "zx", "xy", "zy", "xz", "yz"},
     {"view", "colourView"}},
    {6, {"hide|πολύ", "hide|τρί"}, {"switches"}},
    {7, {"random|σχήμα", "πολύ|face", "τρί|vertex"}, {"schemes"}},
    {8, {"random|offset", "πολύ|edge", "τρί|face"}, {"offsets"}},
    {9,
     {"random|άλφα", "πολύ|vertex", "τρί|edge", "κύκλος", "origin", "window", "panel"},
     {"alphas"}},
    {10, {"random|thick", "πολύ|face", "τρί|vertex", "κύκλος", "origin"}, {"thicks"}},
    {11, {"random πολύ face colors", "random πολύ vertex colors"}, {"classColours"}},
    {12, {"random τρί edge colors"}, {"classColours"}},
    {13,
     {"random πολύ face colors", "random πολύ edge colors", "random πολύ vertex colors",
      "random τρί face colors", "random τρί edge colors", "random τρί vertex colors"},
     {"tileColours"}},
    {13, {"random σφαῖρα color", "random origin color", "random window color"}, {"singleColours"}},
};

// Every push button, found by its caption and pressed with a real click: what it must change,
// what it must leave alone, and that the picture shown follows.
TEST_F(Panel, EachButtonChangesWhatItShouldAndNothingElse) {
    const Settings initial = model.settings;
    for (const auto& [tab, captions, changes] : kPresses) {
        for (const std::string& caption : captions) {
            SCOPED_TRACE(testing::Message() << "tab " << tab << " " << caption);
            CPushButton* b = nullptr;
            for (CPushButton* c : all<CPushButton>(*app))
                if (tabOf(*app, c) == tab &&
                    c->textA() + (c->textB().empty() ? "" : "|") + c->textB() == caption)
                    b = c;
            ASSERT_NE(b, nullptr);
            model.settings = initial;
            makePicture(3, 3, 4, 200);
            // Each family its own scheme (none of them the class or the individual colours),
            // offset, transparency and thickness, so that a copy or a choice shows; seen from off
            // its centre.
            for (int f = 0; f < kFamilyCount; ++f) {
                const FamilyInfo& family = kFamilies[f];
                model.settings.*family.scheme = f % 3 == 0 ? 0 : f % 3 + 2;
                model.settings.*family.offset = model.settings.*family.alpha =
                                                    model.settings.*family.thick = 0.1 * (f + 1);
            }
            app->pushTranslateZX();
            const std::string before = documentXml(model);
            startCounting();
            clickCentre(b);
            EXPECT_EQ(changedParts(before, documentXml(model)), changes);
            EXPECT_EQ(redraws() > 0, !changes.empty());
            EXPECT_FALSE(b->selected());
        }
    }
}

// The buttons of a family act on that family alone: its "•" buttons choose its class colours
// (tab 11 or 12) or its individual colours (tab 13), its random colours change its own type
// colours, and its copy buttons give every family its scheme and its offset.
TEST_F(Panel, EachFamilysButtonsActOnItsOwn) {
    Settings& s = model.settings;
    for (int f = 0; f < kFamilyCount; ++f) {
        const std::string name = kFamilyNames[f];
        SCOPED_TRACE(name);
        for (auto [dot, scheme] : {std::pair{"Color1", 2}, {"Color0", 1}}) {
            for (const FamilyInfo& g : kFamilies) s.*g.scheme = 4;
            startCounting();
            clickCentre(app->control("q" + name + dot));
            EXPECT_EQ(app->control<CPushButton>("q" + name + dot)->textA(), "•");
            clickCentre(app->control("q" + name + dot));  // already chosen: nothing
            EXPECT_EQ(redraws(), 1);
            for (int g = 0; g < kFamilyCount; ++g)
                EXPECT_EQ(s.*kFamilies[g].scheme, g == f ? scheme : 4) << g;
        }
        std::vector<BColor> before;
        for (int t = 0; t < kTypeCount; ++t) before.push_back(*typeColor(s, t));
        clickCentre(app->control("qRan" + name + "Color1"));
        for (int t = 0; t < kTypeCount; ++t)
            EXPECT_EQ(*typeColor(s, t) == before[t], familyOfType(t) != f) << t;
        for (int g = 0; g < kFamilyCount; ++g) {
            s.*kFamilies[g].scheme = g % 5;
            s.*kFamilies[g].offset = 0.1 * (g + 1);
        }
        clickCentre(app->control("qCopy" + name + "Scheme"));
        clickCentre(app->control("qCopy" + name + "Offset"));
        for (int g = 0; g < kFamilyCount; ++g) {
            EXPECT_EQ(s.*kFamilies[g].scheme, f % 5);
            EXPECT_DOUBLE_EQ(s.*kFamilies[g].offset, 0.1 * (f + 1));
        }
    }
}

// A control redraws the picture only when what it changed shows; the colour offsets in use
// follow the offsets set.
TEST_F(Panel, ControlsRedrawOnlyWhatShows) {
    auto triEdgeScheme = [](int scheme) { return [=](Settings& s) { s.triEdgeScheme = scheme; }; };
    // Set before the click, the control, where on it (at height 6; its centre when negative), and
    // the redraws.
    const std::tuple<std::function<void(Settings&)>, const char*, double, int> rows[] = {
        {[](Settings& s) { s.triFaceDraw = false; }, "bTriFaceNegDraw", -1, 0},
        {[](Settings& s) { s.triFaceDraw = true; }, "bTriFaceNegDraw", -1, 1},
        {{}, "pPolyEdgeScheme", 10, 1},
        {[](Settings& s) { s.polyEdgeDraw = false; }, "pPolyEdgeScheme", 170, 0},
        {{}, "bPolyEdgeDraw", -1, 1},
        {triEdgeScheme(2), "sTriEdgeOffset", sliderX(2.0 / 3, 0, 2), 0},
        {triEdgeScheme(3), "sTriEdgeOffset", sliderX(4.0 / 3, 0, 2), 1},
        {triEdgeScheme(0), "qRanAllOffset", -1, 1},
        {{}, "qCopyTriEdgeOffset", -1, 1},
        {{}, "sPolyFaceThick", 20, 0},  // faces are never stroked
        {{}, "sTriEdgeThick", 20, 1},
        {{}, "sTriEdgeAlpha", 20, 1},
        {[](Settings& s) { s.circleDraw = false; }, "sCircleThick", 30, 0},
        {[](Settings& s) { s.circleDraw = true; }, "sCircleThick", 40, 1},
        {{}, "sPanelAlpha", sliderX(0.8, 0.05, 1), 0},
    };
    for (const auto& [set, name, x, expected] : rows) {
        SCOPED_TRACE(name);
        if (set) set(model.settings);
        Control* control = app->control(name);
        startCounting();
        if (x < 0) clickCentre(control);
        if (x >= 0) click(control, x, 6);
        EXPECT_EQ(redraws(), expected);
        for (int f = 0; f < kFamilyCount; ++f) {
            const double offset = model.settings.*kFamilies[f].offset;
            EXPECT_TRUE(equalsM(familyMatrix(model.colourState, f), offsetMatrix(PI * offset)));
        }
    }
    EXPECT_EQ(model.settings.polyEdgeScheme, 4);
    EXPECT_NEAR(model.settings.panelAlpha, 0.8, 0.01);
    EXPECT_NEAR(app->wCircle()->windowOpacity(), model.settings.panelAlpha, 1.0 / 255);
}

// The group order and the spiral angle: a value that leaves the group as it is neither rebuilds
// nor redraws; the angle matters only under the x-axis projections.
TEST_F(Panel, GroupOrderRebuildsOnlyWhenTheGroupChanges) {
    makePicture(2, 3, 5, 200);
    const TriModule* firstTri = model.drawLists.tri[0];
    startCounting();
    click(app->control("sGroupOrder"), sliderX(1000, 0, 2000), 6);
    EXPECT_EQ(model.drawLists.tri[0], firstTri);
    EXPECT_EQ(redraws(), 0);
    click(app->control("sGroupOrder"), sliderX(20, 0, 2000), 6);
    EXPECT_LT(model.groupTables.matrixCount(), 120);
    EXPECT_EQ(redraws(), 1);
}

// The generators: by slider, the geometry follows the sign of gen and the view is reset only
// when it changes; by the geometry menu, a new picture of the chosen geometry; at random, a new
// triangle of the same kind. Each in one redraw.
TEST_F(Panel, GeneratorsGeometryMenuAndRandomGenerators) {
    CMenu* menu = all<CMenu>(*app).front();
    ASSERT_EQ(tabOf(*app, menu), 1);
    Control* genF = app->control("sGenF");
    const double x = menu->frame().w / 2, row = menu->frame().h / 3;  // rows run from the top
    makePicture(3, 3, 3);
    // Where to click, the geometry it gives, and whether the view starts afresh.
    const std::tuple<Control*, double, double, int, bool> steps[] = {
        {genF, sliderX(4, 2, 12), 6, 2, true}, {genF, sliderX(5, 2, 12), 6, 2, false},
        {genF, sliderX(3, 2, 12), 6, 1, true}, {genF, sliderX(2, 2, 12), 6, 0, true},
        {menu, x, row * 0.5, 2, true},         {menu, x, row * 1.5, 1, true},
        {menu, x, row * 1.5, 1, false},        {menu, x, row * 2.5, 0, true}};
    for (const auto& [control, cx, cy, geometry, newView] : steps) {
        SCOPED_TRACE(testing::Message() << "geometry " << geometry);
        app->pushTranslateXY();
        const std::string before = documentXml(model);
        startCounting();
        click(control, cx, cy);
        EXPECT_EQ(model.settings.geometry, geometry);
        EXPECT_EQ(geometryOfGen(model.settings.gen), geometry);
        EXPECT_EQ(equalsM(model.settings.pointMatrix, identity), newView);
        EXPECT_EQ(equalsM(model.settings.colorMatrix, identity), newView);
        EXPECT_EQ(redraws(), int(documentXml(model) != before));
    }
    EXPECT_EQ(model.settings.eqManifold, "z*z = 1-x*x-y*y σφαῖρα");

    CPushButton* random = app->control<CPushButton>("qRanGen");
    for (auto [p, q, r] : {std::tuple{2, 3, 5}, {3, 3, 3}, {7, 3, 2}}) {
        makePicture(p, q, r, 200);
        const int geometry = model.settings.geometry;
        std::set<std::tuple<int, int, int>> seen;
        for (int i = 0; i < 8; ++i) {
            startCounting();
            clickCentre(random);
            EXPECT_EQ(geometryOfGen(model.settings.gen), geometry);
            EXPECT_EQ(redraws(), 1);
            seen.insert({model.settings.genV, model.settings.genE, model.settings.genF});
        }
        EXPECT_GT(seen.size(), 1u);
    }
}

TEST_F(Panel, TheLastUniformFlagCannotBeCleared) {
    Settings& s = model.settings;
    bool* flags[3] = {&s.uniformV, &s.uniformE, &s.uniformF};
    const char* boxes[3] = {"bUniformV", "bUniformE", "bUniformF"};
    for (int last = 0; last < 3; ++last) {
        SCOPED_TRACE(last);
        s.uniformV = s.uniformE = s.uniformF = true;
        for (int i = 0; i < 3; ++i) clickCentre(app->control(boxes[(last + 1 + i) % 3]));
        for (int i = 0; i < 3; ++i) EXPECT_TRUE(*flags[i] == (i == last)) << i;
        // And the box shows it set again.
        const ControlFrame& f = app->control(boxes[last])->frame();
        EXPECT_EQ(pixelOnTab(2, f.x, f.y), QColor(255, 255, 255));
    }
}

// A well points the picker at its colour and the title leads back; editing the colour redraws
// only when it is on the picture; the picker follows a random colour it is editing.
TEST_F(Panel, TheColourPickerEditsTheColourOfTheWellPressed) {
    Settings& s = model.settings;
    const std::tuple<const char*, BColor*, const char*, int> wells[] = {
        {"cPolyVertNegColor", &s.polyVertNegColor, "πολύ vertex – color", 11},
        {"cTriFacePosColor", &s.triFacePosColor, "τρί face + color", 12},
        {"cWindowColor0", &s.windowColor, "window background color", 13}};
    auto* picker = app->control<CColorPicker>("colorPicker");
    auto* back = app->control<CPushButton>("qUpdateColor");
    for (const auto& [well, colour, title, owner] : wells) {
        SCOPED_TRACE(title);
        const BColor before = *colour;
        clickCentre(app->control(well));
        EXPECT_TRUE(app->tab(14)->isVisibleTo(app->tabView()));
        EXPECT_EQ(picker->color(), colour);
        EXPECT_EQ(back->textA(), title);
        EXPECT_TRUE(*colour == before);  // pointing the picker changes no colour
        clickCentre(back);
        EXPECT_EQ(model.settings.tabIndex, owner);
        EXPECT_FALSE(back->selected());
    }
    // The picker writes the colour at the press and again at the release; a new colour each time.
    const std::tuple<int, bool, bool, int> edits[] = {
        {2, true, true, 2}, {1, true, true, 0}, {2, false, true, 0}, {2, true, false, 0}};
    double x = 115;
    for (const auto& [scheme, typeSwitch, familySwitch, redraws] : edits) {
        s.polyEdgeScheme = scheme;
        s.polyEdgeFVDraw = typeSwitch;
        s.polyEdgeDraw = familySwitch;
        clickCentre(app->control("cPolyEdgeFVColor"));
        const BColor before = s.polyEdgeFVColor;
        startCounting();
        click(picker, x += 15, 100);  // right of the centre, on the wheel
        EXPECT_FALSE(s.polyEdgeFVColor == before);
        EXPECT_EQ(this->redraws(), redraws);
    }
    // The single colours redraw too while their element is drawn.
    clickCentre(app->control("cOriginColor0"));
    startCounting();
    click(picker, 100, 160);
    EXPECT_EQ(redraws(), 2);
    // A random colour replaces the one the picker edits: the brightness slider afterwards darkens
    // the new colour rather than bringing the old one back.
    clickCentre(app->control("cWindowColor0"));
    clickCentre(app->control("qRanWindowColor0"));
    const BColor random = s.windowColor;
    app->setBrightness();  // the slider's value unchanged
    EXPECT_NEAR(s.windowColor.r + s.windowColor.g + s.windowColor.b, random.r + random.g + random.b,
                3e-5);
}

// The open, save and print buttons run their dialogs while pressed; the release goes to the
// dialog, yet the button must not stay white once the dialog is gone.
TEST_F(Panel, ButtonsThatRunADialogAreReleasedWhenItReturns) {
    for (const char* name : {"qOpen", "qSave", "qPrint"}) {
        SCOPED_TRACE(name);
        auto* button = app->control<CPushButton>(name);
        app->selectTab(tabOf(*app, button));
        int dialogs = 0;
        const auto closer = whenDialogOpens([&](QWidget* dialog) {
            dialogs += qobject_cast<QDialog*>(dialog) != nullptr;
            QMetaObject::invokeMethod(dialog, "reject");
        });
        const QPoint centre = button->mapTo(app->wCircle(), button->rect().center());
        QTest::mousePress(app->wCircle()->windowHandle(), Qt::LeftButton, {}, centre);
        EXPECT_EQ(dialogs, 1);
        EXPECT_FALSE(button->selected());
        QTest::mouseRelease(app->wCircle()->windowHandle(), Qt::LeftButton, {}, centre);
        EXPECT_FALSE(button->selected());
    }
}

TEST_F(Panel, QuitEndsTheEventLoop) {
    QTimer::singleShot(0, app.get(), [this] { clickCentre(app->control("qQuit")); });
    // Ends a loop that the button failed to end, with a code that fails the test.
    QTimer::singleShot(10000, app.get(), [] { QCoreApplication::exit(1); });
    EXPECT_EQ(QCoreApplication::exec(), 0);
}

}  // namespace
