// The fifteen tab pages of the control panel and every control on them.
//
// Controls are created tab by tab and, within a tab, in a fixed order (it is the order in which
// they stack); each goes onto its page at once, placed by its centre and size in the page's
// 432 × 432 co-ordinates (y upwards). Controls are tinted with their tab's colour, labels grey,
// colour wells in the colour they show. Each control sends one named action to App.

#include <utility>

#include "app/app.h"
#include "app/contact.h"
#include "app/panel_controls.h"
#include "colour/families.h"
#include "geometry/settings.h"
#include "render/model.h"
#include "widgets/panel_model.h"

// An action that is an App method of the same name.
#define KALEIDRA_ACTION(method)       \
    NamedAction {                     \
#method, [this] { method(); } \
    }
// An action whose name is also a chain or view operation's: the handler has a name of its own.
#define KALEIDRA_HANDLER(action, method) \
    NamedAction {                        \
#action, [this] { method(); }    \
    }

namespace {

const BColor* tabColor(int tab) {
    return &tabTable._c[tab];
}

}  // namespace

Control::Action App::wire(const NamedAction& action) {
    if (!action.run) return {};
    return [run = action.run](Control*) { run(); };
}

// The pages exist, and one is shown, before their controls: a control added to a page must be
// shown itself, and then appears whenever its page does.
template <class C>
C* App::named(C* control, const NamedAction& action) {
    if (action.name) actionNames_[control] = action.name;
    control->show();
    return control;
}

const char* App::actionName(const Control* control) const {
    const auto found = actionNames_.find(control);
    return found == actionNames_.end() ? nullptr : found->second;
}

CPushButton* App::button(int tab, const ControlFrame& f, NamedAction a, std::string textA,
                         std::string textB) {
    return named(new CPushButton(this->tab[tab], f, wire(a), tabColor(tab), std::move(textA),
                                 std::move(textB)),
                 a);
}

CCheckbox* App::checkbox(int tab, const ControlFrame& f, NamedAction a, bool* setting,
                         std::string text) {
    return named(new CCheckbox(this->tab[tab], f, wire(a), tabColor(tab), setting, std::move(text)),
                 a);
}

CTextField* App::label(int tab, const ControlFrame& f, std::string text, int fontSize) {
    auto* field = new CTextField(this->tab[tab], f, {}, &ControlColors::_gray, std::move(text));
    if (fontSize != field->fontSize()) field->setFontSize(fontSize);
    return named(field, {});
}

CMenu* App::menu(int tab, const ControlFrame& f, NamedAction a, int* setting,
                 std::vector<std::string> texts) {
    return named(new CMenu(this->tab[tab], f, wire(a), tabColor(tab), setting, std::move(texts)),
                 a);
}

BMenu* App::schemeMenu(int tab, const ControlFrame& f, NamedAction a, int* setting) {
    return named(new BMenu(this->tab[tab], f, wire(a), tabColor(tab), setting), a);
}

BSlider* App::intSlider(int tab, const ControlFrame& f, NamedAction a, std::string text,
                        int* setting, int min, int max) {
    return named(
        new BSlider(this->tab[tab], f, wire(a), tabColor(tab), std::move(text), setting, min, max),
        a);
}

CSlider* App::realSlider(int tab, const ControlFrame& f, NamedAction a, std::string text,
                         double* setting, double min, double max) {
    return named(
        new CSlider(this->tab[tab], f, wire(a), tabColor(tab), std::move(text), setting, min, max),
        a);
}

CColorWell* App::well(int tab, const ControlFrame& f, NamedAction a, BColor* color,
                      std::string text) {
    return named(new CColorWell(this->tab[tab], f, wire(a), color, std::move(text)), a);
}

// ---------------------------------------------------------------------------------------------
// Tab 0: the title, documents and output on the left, the program's windows on the right, the
// credit and the mail button below.

void App::buildTab0() {
    tTitle = label(0, {216, 288, 188, 20}, "Kaleidra", 18);
    qOpen = button(0, {168, 264, 92, 20}, KALEIDRA_ACTION(open), "open Kaleidra2D");
    qSave = button(0, {168, 240, 92, 20}, KALEIDRA_ACTION(save), "save Kaleidra2D");
    qPrint = button(0, {168, 216, 92, 20}, KALEIDRA_ACTION(print), "print/save pdf");
    qCopy = button(0, {168, 192, 92, 20}, KALEIDRA_ACTION(copy), "copy/paste pdf");
    qHide = button(0, {264, 264, 92, 20}, KALEIDRA_ACTION(hide), "hide Kaleidra");
    qHideOthers =
        button(0, {264, 240, 92, 20}, KALEIDRA_ACTION(hideOtherApplications), "hide others");
    qShowAll = button(0, {264, 216, 92, 20}, KALEIDRA_ACTION(unhideAllApplications), "show all");
    qQuit = button(0, {264, 192, 92, 20}, KALEIDRA_ACTION(stop), "quit Kaleidra");
    tArtist = label(0, {216, 168, 188, 20}, kCreditText, 14);
    qSendEmail =
        button(0, {216, 144, 188, 20}, KALEIDRA_ACTION(help), kContactAddressA, kContactAddressB);
}

// ---------------------------------------------------------------------------------------------
// Tabs 1 to 14.

void App::buildTabs() {
    Settings& s = model().settings;

    // 1: generators.
    qRanGen =
        button(1, {176, 252, 76, 20}, KALEIDRA_HANDLER(ranGen, pushRanGen), "random", "generators");
    pGeometry = menu(1, {256, 252, 76, 48}, KALEIDRA_ACTION(setGeometry), &s.geometry,
                     {"ἔλλειψη", "παραβολή", "ὑπερβολή"});
    sGenV = intSlider(1, {216, 204, 156, 12}, KALEIDRA_ACTION(setGenV), "gen angle v π/", &s.genV,
                      2, 12);
    sGenE = intSlider(1, {216, 180, 156, 12}, KALEIDRA_ACTION(setGenE), "gen angle e π/", &s.genE,
                      2, 12);
    sGenF = intSlider(1, {216, 156, 156, 12}, KALEIDRA_ACTION(setGenF), "gen angle f π/", &s.genF,
                      2, 12);

    // 2: edge lengths.
    tEqualizeLength = label(2, {216, 276, 156, 20}, "tri·linear co·ordinates");
    qRanLength = button(2, {176, 252, 76, 20}, KALEIDRA_HANDLER(ranLength, pushRanLength), "random",
                        "edge lengths");
    qEqualizeLength =
        button(2, {256, 252, 76, 20}, KALEIDRA_HANDLER(equalizeLength, pushEqualizeLength),
               "equalize", "edge lengths");
    sLengthV = realSlider(2, {216, 228, 156, 12}, KALEIDRA_ACTION(setLengthV), "length ef ",
                          &s.lengthV, 0, 1);
    sLengthE = realSlider(2, {216, 204, 156, 12}, KALEIDRA_ACTION(setLengthE), "length fv ",
                          &s.lengthE, 0, 1);
    sLengthF = realSlider(2, {216, 180, 156, 12}, KALEIDRA_ACTION(setLengthF), "length ve ",
                          &s.lengthF, 0, 1);
    sLengthStep = realSlider(2, {216, 156, 156, 12}, KALEIDRA_ACTION(setLengthStep), "length step ",
                             &s.lengthStep, 0, 0.5);
    bUniformV = checkbox(2, {124, 228, 12, 12}, KALEIDRA_ACTION(setUniformV), &s.uniformV);
    bUniformE = checkbox(2, {124, 204, 12, 12}, KALEIDRA_ACTION(setUniformE), &s.uniformE);
    bUniformF = checkbox(2, {124, 180, 12, 12}, KALEIDRA_ACTION(setUniformF), &s.uniformF);

    // 3: projection and the extent of the enumeration.
    qCenter = button(3, {216, 324, 76, 20}, KALEIDRA_ACTION(center), "re·project", "re·center");
    sSegments = intSlider(3, {216, 300, 156, 12}, KALEIDRA_ACTION(setSegments), "line segments ",
                          &s.segments, 1, 100);
    sGroupOrder = intSlider(3, {216, 276, 156, 12}, KALEIDRA_ACTION(setGroupOrder), "group order ",
                            &s.groupOrder, 0, 2000);
    sSpiralAngle = realSlider(3, {216, 252, 156, 12}, KALEIDRA_ACTION(setSpiralAngle),
                              "spiral angle ", &s.spiralAngle, 1, 10);
    sWindowZoom =
        realSlider(3, {216, 228, 156, 12}, KALEIDRA_HANDLER(setWindowZoom, windowZoomChanged),
                   "window zoom ", &s.windowZoom, 1, 20);
    pProject3D2D = menu(3, {216, 156, 156, 96}, KALEIDRA_ACTION(setProject3D2D), &s.project3D2D,
                        {"[x,y,z] → [x,y]", "[x,y,z] → [x,y]/z", "[x,y,z] → [x,y]/(z+1)",
                         "[x,y,z] → [y,z]", "[x,y,z] → [y,z]/exp(x)", "[x,y,z] → [y,z]*exp(x)"});

    // 4: view motions. The translation for the axis pair ab sits in column a and row b of the
    // grid x 176, 216, 256 by y 204, 180, 156 (axes x, y, z).
    qRanMatrix = button(4, {176, 300, 76, 20}, KALEIDRA_HANDLER(ranMatrix, pushRanMatrix), "random",
                        "matrix");
    qIdentityMatrix =
        button(4, {256, 300, 76, 20}, KALEIDRA_HANDLER(identityMatrix, pushIdentityMatrix),
               "identity", "matrix");
    tReflect = label(4, {216, 276, 156, 20}, "reflect @ 1 axis");
    qReflectX = button(4, {176, 252, 36, 20}, KALEIDRA_HANDLER(reflectX, pushReflectX), "x");
    qReflectY = button(4, {216, 252, 36, 20}, KALEIDRA_HANDLER(reflectY, pushReflectY), "y");
    qReflectZ = button(4, {256, 252, 36, 20}, KALEIDRA_HANDLER(reflectZ, pushReflectZ), "z");
    tTranslate = label(4, {216, 228, 156, 20}, "translate @ 2 axes");
    qTranslateYX =
        button(4, {216, 204, 36, 20}, KALEIDRA_HANDLER(translateYX, pushTranslateYX), "yx");
    qTranslateZX =
        button(4, {256, 204, 36, 20}, KALEIDRA_HANDLER(translateZX, pushTranslateZX), "zx");
    qTranslateXY =
        button(4, {176, 180, 36, 20}, KALEIDRA_HANDLER(translateXY, pushTranslateXY), "xy");
    qTranslateZY =
        button(4, {256, 180, 36, 20}, KALEIDRA_HANDLER(translateZY, pushTranslateZY), "zy");
    qTranslateXZ =
        button(4, {176, 156, 36, 20}, KALEIDRA_HANDLER(translateXZ, pushTranslateXZ), "xz");
    qTranslateYZ =
        button(4, {216, 156, 36, 20}, KALEIDRA_HANDLER(translateYZ, pushTranslateYZ), "yz");
    sTranslateStep = realSlider(4, {216, 132, 156, 12}, KALEIDRA_ACTION(setTranslateStep),
                                "translate step π*", &s.translateStep, 0, 0.5);

    // 5: the mouse.
    tMouseMode = label(5, {216, 264, 156, 20}, "(click/drag mouse)");
    pMouseMode = menu(5, {216, 216, 156, 48}, KALEIDRA_ACTION(setMouseMode), &s.mouseMode,
                      {"set edge lengths", "rotate [xy]", "translate [xyz]"});
    bMousePoints =
        checkbox(5, {176, 168, 76, 20}, KALEIDRA_ACTION(setMousePoints), &s.mousePoints, "points");
    bMouseColors =
        checkbox(5, {256, 168, 76, 20}, KALEIDRA_ACTION(setMouseColors), &s.mouseColors, "colors");

    // 6: what is drawn and what lies on top.
    pSelfMirrorEmphasis = menu(6, {216, 318, 156, 32}, KALEIDRA_ACTION(setSelfMirrorEmphasis),
                               &s.selfMirrorEmphasis, {"emphasize self", "emphasize mirror"});
    bSelfDraw = checkbox(6, {176, 288, 76, 20}, KALEIDRA_ACTION(setSelfDraw), &s.selfDraw, "self");
    bMirrorDraw =
        checkbox(6, {256, 288, 76, 20}, KALEIDRA_ACTION(setMirrorDraw), &s.mirrorDraw, "mirror");
    pPolyTriEmphasis = menu(6, {216, 258, 156, 32}, KALEIDRA_ACTION(setPolyTriEmphasis),
                            &s.polyTriEmphasis, {"emphasize πολύγωνα", "emphasize τρίγωνα"});
    // Poly families in the left column, tri families in the right, faces at the top.
    for (int f = 0; f < kFamilyCount; ++f) {
        const FamilyInfo& family = kFamilies[f];
        const FamilyControls& c = kFamilyControls[f];
        const double x = f < 3 ? 176 : 256, y = 228 - 24 * (f % 3);
        this->*c.bDraw = checkbox(6, {x, y, 76, 20}, {c.setDraw, [this, f] { setFamilyDraw(f); }},
                                  &(s.*family.draw), family.words);
    }
    bCircleDraw =
        checkbox(6, {216, 156, 156, 20}, KALEIDRA_ACTION(setCircleDraw), &s.circleDraw, "κύκλος");
    bOriginDraw =
        checkbox(6, {216, 132, 156, 20}, KALEIDRA_ACTION(setOriginDraw), &s.originDraw, "origin");
    bWindowDraw = checkbox(6, {216, 108, 156, 20}, KALEIDRA_ACTION(setWindowDraw), &s.windowDraw,
                           "window background");
    qShowPoly = button(6, {116, 216, 36, 20}, KALEIDRA_ACTION(showPoly), "show", "πολύ");
    qShowTri = button(6, {316, 192, 36, 20}, KALEIDRA_ACTION(showTri), "show", "τρί");
    qHidePoly = button(6, {116, 192, 36, 20}, KALEIDRA_ACTION(hidePoly), "hide", "πολύ");
    qHideTri = button(6, {316, 216, 36, 20}, KALEIDRA_ACTION(hideTri), "hide", "τρί");

    // 7 to 10: one row per family.
    for (int t = 7; t <= 10; ++t) buildFamilyRows(t);

    // 11 and 12: the type colours of the poly and the tri families.
    buildFamilyColours(11);
    buildFamilyColours(12);

    // 13: individual colours, and the circle, origin and window colours.
    buildIndividualColours();

    // 14: the colour picker, editing the window background colour to begin with.
    qUpdateColor =
        button(14, {216, 336, 156, 20}, KALEIDRA_ACTION(updateColor), "window background color");
    const NamedAction picked = KALEIDRA_ACTION(setColorPicker);
    colorPicker = named(
        new CColorPicker(tab[14], {216, 216, 200, 200}, wire(picked), &s.windowColor, &s.bright),
        picked);
    sBrightness = realSlider(14, {216, 96, 156, 12}, KALEIDRA_ACTION(setBrightness), "brightness ",
                             &s.bright, 0, 1);
}

// Tabs 7 to 10: a random button at the right, then a column of copy buttons and a column of
// the families' controls, one row every 24 units down from the tab's first row; tabs 9 and 10
// go on with rows for the circle, the origin and (tab 9) the window and the panel.
void App::buildFamilyRows(int tab) {
    Settings& s = model().settings;
    struct Extra {
        const char* word;  // the copy button's text and the start of the slider's
        NamedAction copy, set;
        CPushButton* App::*qCopy;
        CSlider* App::*slider;
        double* setting;
        double min;
    };
    const char* copyWords[kFamilyCount][2] = {{"πολύ", "face"},   {"πολύ", "edge"},
                                              {"πολύ", "vertex"}, {"τρί", "face"},
                                              {"τρί", "edge"},    {"τρί", "vertex"}};

    double copyX = 136, firstY = 276;
    std::vector<Extra> extras;
    switch (tab) {
        case 7:
            copyX = 124;
            qRanAllScheme =
                button(7, {348, 216, 36, 20}, KALEIDRA_ACTION(ranAllScheme), "random", "σχήμα");
            break;
        case 8:
            qRanAllOffset =
                button(8, {336, 216, 36, 20}, KALEIDRA_ACTION(ranAllOffset), "random", "offset");
            break;
        case 9:
            firstY = 324;
            qRanAllAlpha =
                button(9, {336, 216, 36, 20}, KALEIDRA_ACTION(ranAllAlpha), "random", "άλφα");
            extras = {{"κύκλος", KALEIDRA_ACTION(copyCircleAlpha), KALEIDRA_ACTION(setCircleAlpha),
                       &App::qCopyCircleAlpha, &App::sCircleAlpha, &s.circleAlpha, 0},
                      {"origin", KALEIDRA_ACTION(copyOriginAlpha), KALEIDRA_ACTION(setOriginAlpha),
                       &App::qCopyOriginAlpha, &App::sOriginAlpha, &s.originAlpha, 0},
                      {"window", KALEIDRA_ACTION(copyWindowAlpha), KALEIDRA_ACTION(setWindowAlpha),
                       &App::qCopyWindowAlpha, &App::sWindowAlpha, &s.windowAlpha, 0},
                      {"panel", KALEIDRA_ACTION(copyPanelAlpha), KALEIDRA_ACTION(setPanelAlpha),
                       &App::qCopyPanelAlpha, &App::sPanelAlpha, &s.panelAlpha, 0.05}};
            break;
        default:
            firstY = 300;
            qRanAllThick =
                button(10, {336, 216, 36, 20}, KALEIDRA_ACTION(ranAllThick), "random", "thick");
            extras = {{"κύκλος", KALEIDRA_ACTION(copyCircleThick), KALEIDRA_ACTION(setCircleThick),
                       &App::qCopyCircleThick, &App::sCircleThick, &s.circleThick, 0},
                      {"origin", KALEIDRA_ACTION(copyOriginThick), KALEIDRA_ACTION(setOriginThick),
                       &App::qCopyOriginThick, &App::sOriginThick, &s.originThick, 0}};
            break;
    }
    auto rowY = [firstY](int row) { return firstY - 24.0 * row; };

    // Copy buttons, top to bottom.
    for (int f = 0; f < kFamilyCount; ++f) {
        const FamilyControls& c = kFamilyControls[f];
        const ControlFrame frame{copyX, rowY(f), 36, 20};
        switch (tab) {
            case 7:
                this->*c.qCopyScheme =
                    button(tab, frame, {c.copyScheme, [this, f] { copyScheme(f); }},
                           copyWords[f][0], copyWords[f][1]);
                break;
            case 8:
                this->*c.qCopyOffset =
                    button(tab, frame, {c.copyOffset, [this, f] { copyOffset(f); }},
                           copyWords[f][0], copyWords[f][1]);
                break;
            case 9:
                this->*c.qCopyAlpha = button(tab, frame, {c.copyAlpha, [this, f] { copyAlpha(f); }},
                                             copyWords[f][0], copyWords[f][1]);
                break;
            default:
                this->*c.qCopyThick = button(tab, frame, {c.copyThick, [this, f] { copyThick(f); }},
                                             copyWords[f][0], copyWords[f][1]);
                break;
        }
    }
    for (size_t i = 0; i < extras.size(); ++i) {
        const Extra& e = extras[i];
        this->*e.qCopy = button(tab, {copyX, rowY(kFamilyCount + int(i)), 36, 20}, e.copy, e.word);
    }

    // The families' controls, top to bottom.
    for (int f = 0; f < kFamilyCount; ++f) {
        const FamilyInfo& family = kFamilies[f];
        const FamilyControls& c = kFamilyControls[f];
        const std::string words = family.words;
        switch (tab) {
            case 7:
                this->*c.pScheme =
                    schemeMenu(tab, {236, rowY(f), 180, 20},
                               {c.setScheme, [this, f] { setScheme(f); }}, &(s.*family.scheme));
                break;
            case 8:
                this->*c.sOffset = realSlider(tab, {236, rowY(f), 156, 12},
                                              {c.setOffset, [this, f] { setOffset(f); }},
                                              words + " offset ", &(s.*family.offset), 0, 2);
                break;
            case 9:
                this->*c.sAlpha = realSlider(tab, {236, rowY(f), 156, 12},
                                             {c.setAlpha, [this, f] { setAlpha(f); }},
                                             words + " άλφα ", &(s.*family.alpha), 0, 1);
                break;
            default:
                this->*c.sThick = realSlider(tab, {236, rowY(f), 156, 12},
                                             {c.setThick, [this, f] { setThick(f); }},
                                             words + " thick ", &(s.*family.thick), 0, 1);
                break;
        }
    }
    const char* tabWord = tab == 9 ? " άλφα " : " thick ";
    for (size_t i = 0; i < extras.size(); ++i) {
        const Extra& e = extras[i];
        // The window row's slider reads "window background άλφα ", the panel's "control panel".
        std::string text = std::string(e.word) + tabWord;
        if (e.qCopy == &App::qCopyWindowAlpha) text = "window background άλφα ";
        if (e.qCopy == &App::qCopyPanelAlpha) text = "control panel άλφα ";
        this->*e.slider = realSlider(tab, {236, rowY(kFamilyCount + int(i)), 156, 12}, e.set,
                                     std::move(text), e.setting, e.min, 1);
    }
}

// Tabs 11 (poly) and 12 (tri): three family blocks. A head row holds the family switch, the "•"
// button and the random colours button; 24 units lower, one check box and one colour well per
// type, the pairs every 48 units from x 132.
void App::buildFamilyColours(int tab) {
    Settings& s = model().settings;
    const int firstFamily = tab == 11 ? kPolyFace : kTriFace;
    for (int block = 0; block < 3; ++block) {
        const int f = firstFamily + block;
        const FamilyInfo& family = kFamilies[f];
        const FamilyControls& c = kFamilyControls[f];
        const double headY = 288 - 60.0 * block, subY = headY - 24;
        this->*c.qRanColor1 =
            button(tab, {240, headY, 140, 20}, {c.ranColor1, [this, f] { ranTypeColors(f); }},
                   std::string("random ") + family.words + " colors");
        this->*c.qColor1 =
            button(tab, {156, headY, 20, 20}, {c.setColor1, [this, f] { setTypeScheme(f); }}, "•");
        this->*c.bDraw1 =
            checkbox(tab, {132, headY, 12, 12}, {c.setDraw1, [this, f] { setFamilyDraw(f); }},
                     &(s.*family.draw));
        for (int i = 0; i < family.typeCount; ++i) {
            const int type = family.firstType + i;
            const TypeControls& t = kTypeControls[type];
            this->*t.bDraw =
                checkbox(tab, {132 + 48.0 * i, subY, 12, 12},
                         {t.setDraw, [this, type] { setTypeDraw(type); }}, &(s.*kTypes[type].draw));
        }
        for (int i = 0; i < family.typeCount; ++i) {
            const int type = family.firstType + i;
            const TypeControls& t = kTypeControls[type];
            BColor* color = typeColor(model().settings, type);
            this->*t.cColor =
                well(tab, {156 + 48.0 * i, subY, 20, 20},
                     {t.setColor, [this, color, title = t.title] { editColor(color, title); }},
                     color, t.wellText);
        }
    }
}

// Tab 13: nine rows every 24 units from y 312: the six families, then the circle, the origin and
// the window. Created as the nine random buttons, the six "•" buttons, the three colour wells,
// then the nine check boxes.
void App::buildIndividualColours() {
    Settings& s = model().settings;
    const int tab = 13;
    auto rowY = [](int row) { return 312 - 24.0 * row; };
    struct Single {
        const char* randomText;
        NamedAction ranColor, setColor, setDraw;
        CPushButton* App::*qRan;
        CColorWell* App::*cColor;
        CCheckbox* App::*bDraw;
        BColor* color;
        bool* draw;
    };
    const Single singles[3] = {
        {"random σφαῖρα color",
         KALEIDRA_ACTION(ranCircleColor0),
         {"setCircleColor0", [this] { editColor(&model().settings.circleColor, "κύκλος color"); }},
         KALEIDRA_ACTION(setCircleDraw0),
         &App::qRanCircleColor0,
         &App::cCircleColor0,
         &App::bCircleDraw0,
         &s.circleColor,
         &s.circleDraw},
        {"random origin color",
         KALEIDRA_ACTION(ranOriginColor0),
         {"setOriginColor0", [this] { editColor(&model().settings.originColor, "origin color"); }},
         KALEIDRA_ACTION(setOriginDraw0),
         &App::qRanOriginColor0,
         &App::cOriginColor0,
         &App::bOriginDraw0,
         &s.originColor,
         &s.originDraw},
        {"random window color",
         KALEIDRA_ACTION(ranWindowColor0),
         {"setWindowColor0",
          [this] { editColor(&model().settings.windowColor, "window background color"); }},
         KALEIDRA_ACTION(setWindowDraw0),
         &App::qRanWindowColor0,
         &App::cWindowColor0,
         &App::bWindowDraw0,
         &s.windowColor,
         &s.windowDraw},
    };

    for (int f = 0; f < kFamilyCount; ++f) {
        const FamilyControls& c = kFamilyControls[f];
        this->*c.qRanColor0 = button(tab, {240, rowY(f), 140, 20},
                                     {c.ranColor0, [this, f] { ranIndividualColors(f); }},
                                     std::string("random ") + kFamilies[f].words + " colors");
    }
    for (int i = 0; i < 3; ++i) {
        const Single& g = singles[i];
        this->*g.qRan =
            button(tab, {240, rowY(kFamilyCount + i), 140, 20}, g.ranColor, g.randomText);
    }
    for (int f = 0; f < kFamilyCount; ++f) {
        const FamilyControls& c = kFamilyControls[f];
        this->*c.qColor0 = button(tab, {156, rowY(f), 20, 20},
                                  {c.setColor0, [this, f] { setIndividualScheme(f); }}, "•");
    }
    for (int i = 0; i < 3; ++i) {
        const Single& g = singles[i];
        this->*g.cColor =
            well(tab, {156, rowY(kFamilyCount + i), 20, 20}, g.setColor, g.color, "O");
    }
    for (int f = 0; f < kFamilyCount; ++f) {
        const FamilyControls& c = kFamilyControls[f];
        this->*c.bDraw0 =
            checkbox(tab, {132, rowY(f), 12, 12}, {c.setDraw0, [this, f] { setFamilyDraw(f); }},
                     &(s.*kFamilies[f].draw));
    }
    for (int i = 0; i < 3; ++i) {
        const Single& g = singles[i];
        this->*g.bDraw = checkbox(tab, {132, rowY(kFamilyCount + i), 12, 12}, g.setDraw, g.draw);
    }
}
