// The fifteen tab pages of the control panel and every control on them.
//
// Controls are created tab by tab and, within a tab, in a fixed order (it is the order in which
// they stack); each goes onto its page at once, placed by its centre and size in the page's
// 432 × 432 co-ordinates (y upwards). Controls are tinted with their tab's colour, labels grey,
// colour wells in the colour they show. Each control sends one named action to App.

#include <utility>

#include "app/app.h"
#include "app/contact.h"
#include "colour/families.h"
#include "geometry/settings.h"
#include "render/model.h"
#include "widgets/panel_model.h"

// An action that is an App method of the same name.
#define KALEIDRA_ACTION(method)       \
    NamedAction {                     \
#method, [this] { method(); } \
    }
// An action that needs nothing further: its setting is read where it is used (the steps at the
// next step, the mouse settings at the next press), or, for "hide others", a desktop program
// cannot hide the other programs.
#define KALEIDRA_NOTHING(action) \
    NamedAction {                \
#action, [] {}           \
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
C* App::named(C* control, std::string reference, const NamedAction& action) {
    named_.push_back({control, std::move(reference), action.name});
    control->show();
    return control;
}

Control* App::findControl(std::string_view reference) const {
    for (const NamedControl& n : named_)
        if (n.reference == reference) return n.control;
    return nullptr;
}

const char* App::actionName(const Control* control) const {
    for (const NamedControl& n : named_)
        if (n.control == control) return n.action.empty() ? nullptr : n.action.c_str();
    return nullptr;
}

CPushButton* App::button(int tab, std::string ref, const ControlFrame& f, NamedAction a,
                         std::string textA, std::string textB) {
    return named(
        new CPushButton(tab_[tab], f, wire(a), tabColor(tab), std::move(textA), std::move(textB)),
        std::move(ref), a);
}

CCheckbox* App::checkbox(int tab, std::string ref, const ControlFrame& f, NamedAction a,
                         bool* setting, std::string text) {
    return named(new CCheckbox(tab_[tab], f, wire(a), tabColor(tab), setting, std::move(text)),
                 std::move(ref), a);
}

CTextField* App::label(int tab, std::string ref, const ControlFrame& f, std::string text,
                       int fontSize) {
    auto* field = new CTextField(tab_[tab], f, {}, &ControlColors::_gray, std::move(text));
    if (fontSize != field->fontSize()) field->setFontSize(fontSize);
    return named(field, std::move(ref), {});
}

CMenu* App::menu(int tab, std::string ref, const ControlFrame& f, NamedAction a, int* setting,
                 std::vector<std::string> texts) {
    return named(new CMenu(tab_[tab], f, wire(a), tabColor(tab), setting, std::move(texts)),
                 std::move(ref), a);
}

BMenu* App::schemeMenu(int tab, std::string ref, const ControlFrame& f, NamedAction a,
                       int* setting) {
    return named(new BMenu(tab_[tab], f, wire(a), tabColor(tab), setting), std::move(ref), a);
}

BSlider* App::intSlider(int tab, std::string ref, const ControlFrame& f, NamedAction a,
                        std::string text, int* setting, int min, int max) {
    return named(
        new BSlider(tab_[tab], f, wire(a), tabColor(tab), std::move(text), setting, min, max),
        std::move(ref), a);
}

CSlider* App::realSlider(int tab, std::string ref, const ControlFrame& f, NamedAction a,
                         std::string text, double* setting, double min, double max) {
    return named(
        new CSlider(tab_[tab], f, wire(a), tabColor(tab), std::move(text), setting, min, max),
        std::move(ref), a);
}

CColorWell* App::well(int tab, std::string ref, const ControlFrame& f, NamedAction a, BColor* color,
                      std::string text) {
    return named(new CColorWell(tab_[tab], f, wire(a), color, std::move(text)), std::move(ref), a);
}

// ---------------------------------------------------------------------------------------------
// Tab 0: the title, documents and output on the left, the program's windows on the right, the
// credit and the mail button below.

void App::buildTab0() {
    panel_.main.tTitle = label(0, "tTitle", {216, 288, 188, 20}, "Kaleidra", 18);
    panel_.main.qOpen =
        button(0, "qOpen", {168, 264, 92, 20}, KALEIDRA_ACTION(open), "open Kaleidra2D");
    panel_.main.qSave =
        button(0, "qSave", {168, 240, 92, 20}, KALEIDRA_ACTION(save), "save Kaleidra2D");
    panel_.main.qPrint =
        button(0, "qPrint", {168, 216, 92, 20}, KALEIDRA_ACTION(print), "print/save pdf");
    panel_.main.qCopy =
        button(0, "qCopy", {168, 192, 92, 20}, KALEIDRA_ACTION(copy), "copy/paste pdf");
    panel_.main.qHide =
        button(0, "qHide", {264, 264, 92, 20}, KALEIDRA_ACTION(hide), "hide Kaleidra");
    panel_.main.qHideOthers = button(0, "qHideOthers", {264, 240, 92, 20},
                                     KALEIDRA_NOTHING(hideOtherApplications), "hide others");
    panel_.main.qShowAll = button(0, "qShowAll", {264, 216, 92, 20},
                                  KALEIDRA_ACTION(unhideAllApplications), "show all");
    panel_.main.qQuit =
        button(0, "qQuit", {264, 192, 92, 20}, KALEIDRA_ACTION(stop), "quit Kaleidra");
    panel_.main.tArtist = label(0, "tArtist", {216, 168, 188, 20}, kCreditText, 14);
    panel_.main.qSendEmail = button(0, "qSendEmail", {216, 144, 188, 20}, KALEIDRA_ACTION(help),
                                    kContactAddressA, kContactAddressB);
}

// ---------------------------------------------------------------------------------------------
// Tabs 1 to 14.

void App::buildTabs() {
    Settings& s = model().settings;

    // 1: generators.
    panel_.generators.qRanGen =
        button(1, "qRanGen", {176, 252, 76, 20}, KALEIDRA_HANDLER(ranGen, pushRanGen), "random",
               "generators");
    panel_.generators.pGeometry =
        menu(1, "pGeometry", {256, 252, 76, 48}, KALEIDRA_ACTION(setGeometry), &s.geometry,
             {"ἔλλειψη", "παραβολή", "ὑπερβολή"});
    panel_.generators.sGenV = intSlider(1, "sGenV", {216, 204, 156, 12}, KALEIDRA_ACTION(setGenV),
                                        "gen angle v π/", &s.genV, 2, 12);
    panel_.generators.sGenE = intSlider(1, "sGenE", {216, 180, 156, 12}, KALEIDRA_ACTION(setGenE),
                                        "gen angle e π/", &s.genE, 2, 12);
    panel_.generators.sGenF = intSlider(1, "sGenF", {216, 156, 156, 12}, KALEIDRA_ACTION(setGenF),
                                        "gen angle f π/", &s.genF, 2, 12);

    // 2: edge lengths.
    panel_.lengths.tEqualizeLength =
        label(2, "tEqualizeLength", {216, 276, 156, 20}, "tri·linear co·ordinates");
    panel_.lengths.qRanLength =
        button(2, "qRanLength", {176, 252, 76, 20}, KALEIDRA_HANDLER(ranLength, pushRanLength),
               "random", "edge lengths");
    panel_.lengths.qEqualizeLength =
        button(2, "qEqualizeLength", {256, 252, 76, 20},
               KALEIDRA_HANDLER(equalizeLength, pushEqualizeLength), "equalize", "edge lengths");
    panel_.lengths.sLengthV =
        realSlider(2, "sLengthV", {216, 228, 156, 12}, KALEIDRA_ACTION(setLengthV), "length ef ",
                   &s.lengthV, 0, 1);
    panel_.lengths.sLengthE =
        realSlider(2, "sLengthE", {216, 204, 156, 12}, KALEIDRA_ACTION(setLengthE), "length fv ",
                   &s.lengthE, 0, 1);
    panel_.lengths.sLengthF =
        realSlider(2, "sLengthF", {216, 180, 156, 12}, KALEIDRA_ACTION(setLengthF), "length ve ",
                   &s.lengthF, 0, 1);
    panel_.lengths.sLengthStep =
        realSlider(2, "sLengthStep", {216, 156, 156, 12}, KALEIDRA_NOTHING(setLengthStep),
                   "length step ", &s.lengthStep, 0, 0.5);
    panel_.lengths.bUniformV =
        checkbox(2, "bUniformV", {124, 228, 12, 12}, KALEIDRA_ACTION(setUniformV), &s.uniformV);
    panel_.lengths.bUniformE =
        checkbox(2, "bUniformE", {124, 204, 12, 12}, KALEIDRA_ACTION(setUniformE), &s.uniformE);
    panel_.lengths.bUniformF =
        checkbox(2, "bUniformF", {124, 180, 12, 12}, KALEIDRA_ACTION(setUniformF), &s.uniformF);

    // 3: projection and the extent of the enumeration.
    panel_.projection.qCenter = button(3, "qCenter", {216, 324, 76, 20}, KALEIDRA_ACTION(center),
                                       "re·project", "re·center");
    panel_.projection.sSegments =
        intSlider(3, "sSegments", {216, 300, 156, 12}, KALEIDRA_ACTION(setSegments),
                  "line segments ", &s.segments, 1, 100);
    panel_.projection.sGroupOrder =
        intSlider(3, "sGroupOrder", {216, 276, 156, 12}, KALEIDRA_ACTION(setGroupOrder),
                  "group order ", &s.groupOrder, 0, 2000);
    panel_.projection.sSpiralAngle =
        realSlider(3, "sSpiralAngle", {216, 252, 156, 12}, KALEIDRA_ACTION(setSpiralAngle),
                   "spiral angle ", &s.spiralAngle, 1, 10);
    panel_.projection.sWindowZoom = realSlider(3, "sWindowZoom", {216, 228, 156, 12},
                                               KALEIDRA_HANDLER(setWindowZoom, windowZoomChanged),
                                               "window zoom ", &s.windowZoom, 1, 20);
    panel_.projection.pProject3D2D = menu(
        3, "pProject3D2D", {216, 156, 156, 96}, KALEIDRA_ACTION(setProject3D2D), &s.project3D2D,
        {"[x,y,z] → [x,y]", "[x,y,z] → [x,y]/z", "[x,y,z] → [x,y]/(z+1)", "[x,y,z] → [y,z]",
         "[x,y,z] → [y,z]/exp(x)", "[x,y,z] → [y,z]*exp(x)"});

    // 4: view motions. The translation for the axis pair ab sits in column a and row b of the
    // grid x 176, 216, 256 by y 204, 180, 156 (axes x, y, z).
    panel_.transform.qRanMatrix =
        button(4, "qRanMatrix", {176, 300, 76, 20}, KALEIDRA_HANDLER(ranMatrix, pushRanMatrix),
               "random", "matrix");
    panel_.transform.qIdentityMatrix =
        button(4, "qIdentityMatrix", {256, 300, 76, 20},
               KALEIDRA_HANDLER(identityMatrix, pushIdentityMatrix), "identity", "matrix");
    panel_.transform.tReflect = label(4, "tReflect", {216, 276, 156, 20}, "reflect @ 1 axis");
    panel_.transform.qReflectX =
        button(4, "qReflectX", {176, 252, 36, 20}, KALEIDRA_HANDLER(reflectX, pushReflectX), "x");
    panel_.transform.qReflectY =
        button(4, "qReflectY", {216, 252, 36, 20}, KALEIDRA_HANDLER(reflectY, pushReflectY), "y");
    panel_.transform.qReflectZ =
        button(4, "qReflectZ", {256, 252, 36, 20}, KALEIDRA_HANDLER(reflectZ, pushReflectZ), "z");
    panel_.transform.tTranslate = label(4, "tTranslate", {216, 228, 156, 20}, "translate @ 2 axes");
    panel_.transform.qTranslateYX = button(4, "qTranslateYX", {216, 204, 36, 20},
                                           KALEIDRA_HANDLER(translateYX, pushTranslateYX), "yx");
    panel_.transform.qTranslateZX = button(4, "qTranslateZX", {256, 204, 36, 20},
                                           KALEIDRA_HANDLER(translateZX, pushTranslateZX), "zx");
    panel_.transform.qTranslateXY = button(4, "qTranslateXY", {176, 180, 36, 20},
                                           KALEIDRA_HANDLER(translateXY, pushTranslateXY), "xy");
    panel_.transform.qTranslateZY = button(4, "qTranslateZY", {256, 180, 36, 20},
                                           KALEIDRA_HANDLER(translateZY, pushTranslateZY), "zy");
    panel_.transform.qTranslateXZ = button(4, "qTranslateXZ", {176, 156, 36, 20},
                                           KALEIDRA_HANDLER(translateXZ, pushTranslateXZ), "xz");
    panel_.transform.qTranslateYZ = button(4, "qTranslateYZ", {216, 156, 36, 20},
                                           KALEIDRA_HANDLER(translateYZ, pushTranslateYZ), "yz");
    panel_.transform.sTranslateStep =
        realSlider(4, "sTranslateStep", {216, 132, 156, 12}, KALEIDRA_NOTHING(setTranslateStep),
                   "translate step π*", &s.translateStep, 0, 0.5);

    // 5: the mouse.
    panel_.mouse.tMouseMode = label(5, "tMouseMode", {216, 264, 156, 20}, "(click/drag mouse)");
    panel_.mouse.pMouseMode =
        menu(5, "pMouseMode", {216, 216, 156, 48}, KALEIDRA_NOTHING(setMouseMode), &s.mouseMode,
             {"set edge lengths", "rotate [xy]", "translate [xyz]"});
    panel_.mouse.bMousePoints =
        checkbox(5, "bMousePoints", {176, 168, 76, 20}, KALEIDRA_NOTHING(setMousePoints),
                 &s.mousePoints, "points");
    panel_.mouse.bMouseColors =
        checkbox(5, "bMouseColors", {256, 168, 76, 20}, KALEIDRA_NOTHING(setMouseColors),
                 &s.mouseColors, "colors");

    // 6: what is drawn and what lies on top.
    panel_.display.pSelfMirrorEmphasis =
        menu(6, "pSelfMirrorEmphasis", {216, 318, 156, 32}, KALEIDRA_ACTION(setSelfMirrorEmphasis),
             &s.selfMirrorEmphasis, {"emphasize self", "emphasize mirror"});
    panel_.display.bSelfDraw = checkbox(6, "bSelfDraw", {176, 288, 76, 20},
                                        KALEIDRA_ACTION(setSelfDraw), &s.selfDraw, "self");
    panel_.display.bMirrorDraw = checkbox(6, "bMirrorDraw", {256, 288, 76, 20},
                                          KALEIDRA_ACTION(setMirrorDraw), &s.mirrorDraw, "mirror");
    panel_.display.pPolyTriEmphasis =
        menu(6, "pPolyTriEmphasis", {216, 258, 156, 32}, KALEIDRA_ACTION(setPolyTriEmphasis),
             &s.polyTriEmphasis, {"emphasize πολύγωνα", "emphasize τρίγωνα"});
    // Poly families in the left column, tri families in the right, faces at the top.
    for (int f = 0; f < kFamilyCount; ++f) {
        const FamilyInfo& family = kFamilies[f];
        const std::string name = kFamilyNames[f];
        const double x = f < 3 ? 176 : 256, y = 228 - 24 * (f % 3);
        panel_.families[f].bDraw =
            checkbox(6, "b" + name + "Draw", {x, y, 76, 20},
                     {"set" + name + "Draw", [this, f] { setFamilyDraw(f); }}, &(s.*family.draw),
                     family.words);
    }
    panel_.singles[kCircle].bDraw =
        checkbox(6, "bCircleDraw", {216, 156, 156, 20}, KALEIDRA_ACTION(setCircleDraw),
                 &s.circleDraw, "κύκλος");
    panel_.singles[kOrigin].bDraw =
        checkbox(6, "bOriginDraw", {216, 132, 156, 20}, KALEIDRA_ACTION(setOriginDraw),
                 &s.originDraw, "origin");
    panel_.singles[kWindow].bDraw =
        checkbox(6, "bWindowDraw", {216, 108, 156, 20}, KALEIDRA_ACTION(setWindowDraw),
                 &s.windowDraw, "window background");
    panel_.display.qShowPoly =
        button(6, "qShowPoly", {116, 216, 36, 20}, KALEIDRA_ACTION(showPoly), "show", "πολύ");
    panel_.display.qShowTri =
        button(6, "qShowTri", {316, 192, 36, 20}, KALEIDRA_ACTION(showTri), "show", "τρί");
    panel_.display.qHidePoly =
        button(6, "qHidePoly", {116, 192, 36, 20}, KALEIDRA_ACTION(hidePoly), "hide", "πολύ");
    panel_.display.qHideTri =
        button(6, "qHideTri", {316, 216, 36, 20}, KALEIDRA_ACTION(hideTri), "hide", "τρί");

    // 7 to 10: one row per family.
    for (int t = 7; t <= 10; ++t) buildFamilyRows(t);

    // 11 and 12: the type colours of the poly and the tri families.
    buildFamilyColours(11);
    buildFamilyColours(12);

    // 13: individual colours, and the circle, origin and window colours.
    buildIndividualColours();

    // 14: the colour picker, editing the window background colour to begin with.
    panel_.picker.qUpdateColor = button(14, "qUpdateColor", {216, 336, 156, 20},
                                        KALEIDRA_ACTION(updateColor), "window background color");
    const NamedAction picked = KALEIDRA_ACTION(setColorPicker);
    panel_.picker.colorPicker = named(
        new CColorPicker(tab_[14], {216, 216, 200, 200}, wire(picked), &s.windowColor, &s.bright),
        "colorPicker", picked);
    panel_.picker.sBrightness =
        realSlider(14, "sBrightness", {216, 96, 156, 12}, KALEIDRA_ACTION(setBrightness),
                   "brightness ", &s.bright, 0, 1);
}

// Tabs 7 to 10: a random button at the right, then a column of copy buttons and a column of
// the families' controls, one row every 24 units down from the tab's first row; tabs 9 and 10
// go on with rows for the circle, the origin and (tab 9) the window and the panel.
void App::buildFamilyRows(int tab) {
    Settings& s = model().settings;
    // What the tab sets. word is the names' part ("Alpha": copyPolyFaceAlpha, sCircleAlpha),
    // text the sliders' (" άλφα "); the member pointers pick the family's value and the row's
    // controls in the family's and the single element's groups.
    struct Kind {
        const char *word, *text;
        double max;
        double Settings::*FamilyInfo::*familyValue;
        CSlider* FamilyControls::*slider;
        CPushButton* FamilyControls::*qCopy;
        CSlider* SingleControls::*singleSlider;
        CPushButton* SingleControls::*singleCopy;
        void (App::*copy)(int family);
        void (App::*set)(int family);
    };
    // The single elements with a row on this tab, their values and their actions.
    struct Extra {
        int single;
        double* setting;
        double min;
        NamedAction copy, set;
    };
    const char* copyWords[kFamilyCount][2] = {{"πολύ", "face"},   {"πολύ", "edge"},
                                              {"πολύ", "vertex"}, {"τρί", "face"},
                                              {"τρί", "edge"},    {"τρί", "vertex"}};
    const char* singleCopyWords[kSingleCount] = {"κύκλος", "origin", "window", "panel"};
    const char* singleSliderWords[kSingleCount] = {"κύκλος", "origin", "window background",
                                                   "control panel"};

    double copyX = 136, firstY = 276;
    Kind kind{};
    std::vector<Extra> extras;
    switch (tab) {
        case 7:
            copyX = 124;
            kind = {"Scheme",       "",      0,
                    nullptr,        nullptr, &FamilyControls::qCopyScheme,
                    nullptr,        nullptr, &App::copyScheme,
                    &App::setScheme};
            panel_.randomAll.qRanAllScheme =
                button(7, "qRanAllScheme", {348, 216, 36, 20}, KALEIDRA_ACTION(ranAllScheme),
                       "random", "σχήμα");
            break;
        case 8:
            kind = {"Offset",
                    " offset ",
                    2,
                    &FamilyInfo::offset,
                    &FamilyControls::sOffset,
                    &FamilyControls::qCopyOffset,
                    nullptr,
                    nullptr,
                    &App::copyOffset,
                    &App::setOffset};
            panel_.randomAll.qRanAllOffset =
                button(8, "qRanAllOffset", {336, 216, 36, 20}, KALEIDRA_ACTION(ranAllOffset),
                       "random", "offset");
            break;
        case 9:
            firstY = 324;
            kind = {"Alpha",
                    " άλφα ",
                    1,
                    &FamilyInfo::alpha,
                    &FamilyControls::sAlpha,
                    &FamilyControls::qCopyAlpha,
                    &SingleControls::sAlpha,
                    &SingleControls::qCopyAlpha,
                    &App::copyAlpha,
                    &App::setAlpha};
            panel_.randomAll.qRanAllAlpha = button(9, "qRanAllAlpha", {336, 216, 36, 20},
                                                   KALEIDRA_ACTION(ranAllAlpha), "random", "άλφα");
            extras = {{kCircle, &s.circleAlpha, 0, KALEIDRA_ACTION(copyCircleAlpha),
                       KALEIDRA_ACTION(setCircleAlpha)},
                      {kOrigin, &s.originAlpha, 0, KALEIDRA_ACTION(copyOriginAlpha),
                       KALEIDRA_ACTION(setOriginAlpha)},
                      {kWindow, &s.windowAlpha, 0, KALEIDRA_ACTION(copyWindowAlpha),
                       KALEIDRA_ACTION(setWindowAlpha)},
                      {kPanel, &s.panelAlpha, 0.05, KALEIDRA_ACTION(copyPanelAlpha),
                       KALEIDRA_ACTION(setPanelAlpha)}};
            break;
        default:
            firstY = 300;
            kind = {"Thick",
                    " thick ",
                    1,
                    &FamilyInfo::thick,
                    &FamilyControls::sThick,
                    &FamilyControls::qCopyThick,
                    &SingleControls::sThick,
                    &SingleControls::qCopyThick,
                    &App::copyThick,
                    &App::setThick};
            panel_.randomAll.qRanAllThick = button(10, "qRanAllThick", {336, 216, 36, 20},
                                                   KALEIDRA_ACTION(ranAllThick), "random", "thick");
            extras = {{kCircle, &s.circleThick, 0, KALEIDRA_ACTION(copyCircleThick),
                       KALEIDRA_ACTION(setCircleThick)},
                      {kOrigin, &s.originThick, 0, KALEIDRA_ACTION(copyOriginThick),
                       KALEIDRA_ACTION(setOriginThick)}};
            break;
    }
    auto rowY = [firstY](int row) { return firstY - 24.0 * row; };
    const std::string word = kind.word;

    // Copy buttons, top to bottom.
    for (int f = 0; f < kFamilyCount; ++f) {
        const std::string name = kFamilyNames[f];
        panel_.families[f].*kind.qCopy =
            button(tab, "qCopy" + name + word, {copyX, rowY(f), 36, 20},
                   {"copy" + name + word, [this, f, copy = kind.copy] { (this->*copy)(f); }},
                   copyWords[f][0], copyWords[f][1]);
    }
    for (size_t i = 0; i < extras.size(); ++i) {
        const Extra& e = extras[i];
        panel_.singles[e.single].*kind.singleCopy =
            button(tab, std::string("qCopy") + kSingleNames[e.single] + word,
                   {copyX, rowY(kFamilyCount + int(i)), 36, 20}, e.copy, singleCopyWords[e.single]);
    }

    // The families' controls, top to bottom.
    for (int f = 0; f < kFamilyCount; ++f) {
        const FamilyInfo& family = kFamilies[f];
        const std::string name = kFamilyNames[f];
        const NamedAction set{"set" + name + word, [this, f, set = kind.set] { (this->*set)(f); }};
        if (tab == 7) {
            panel_.families[f].pScheme = schemeMenu(
                tab, "p" + name + "Scheme", {236, rowY(f), 180, 20}, set, &(s.*family.scheme));
        } else {
            panel_.families[f].*kind.slider =
                realSlider(tab, "s" + name + word, {236, rowY(f), 156, 12}, set,
                           family.words + std::string(kind.text), &(s.*(family.*kind.familyValue)),
                           0, kind.max);
        }
    }
    for (size_t i = 0; i < extras.size(); ++i) {
        const Extra& e = extras[i];
        panel_.singles[e.single].*kind.singleSlider =
            realSlider(tab, std::string("s") + kSingleNames[e.single] + word,
                       {236, rowY(kFamilyCount + int(i)), 156, 12}, e.set,
                       singleSliderWords[e.single] + std::string(kind.text), e.setting, e.min, 1);
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
        FamilyControls& c = panel_.families[f];
        const std::string name = kFamilyNames[f];
        const double headY = 288 - 60.0 * block, subY = headY - 24;
        c.qRanColor1 = button(tab, "qRan" + name + "Color1", {240, headY, 140, 20},
                              {"ran" + name + "Color1", [this, f] { ranTypeColors(f); }},
                              std::string("random ") + family.words + " colors");
        c.qColor1 = button(tab, "q" + name + "Color1", {156, headY, 20, 20},
                           {"set" + name + "Color1", [this, f] { setTypeScheme(f); }}, "•");
        c.bDraw1 =
            checkbox(tab, "b" + name + "Draw1", {132, headY, 12, 12},
                     {"set" + name + "Draw1", [this, f] { setFamilyDraw(f); }}, &(s.*family.draw));
        for (int i = 0; i < family.typeCount; ++i) {
            const int type = family.firstType + i;
            const std::string typeName = kTypeNames[type].name;
            panel_.types[type].bDraw =
                checkbox(tab, "b" + typeName + "Draw", {132 + 48.0 * i, subY, 12, 12},
                         {"set" + typeName + "Draw", [this, type] { setTypeDraw(type); }},
                         &(s.*kTypes[type].draw));
        }
        for (int i = 0; i < family.typeCount; ++i) {
            const int type = family.firstType + i;
            const TypeNames& t = kTypeNames[type];
            const std::string typeName = t.name;
            BColor* color = typeColor(model().settings, type);
            panel_.types[type].cColor =
                well(tab, "c" + typeName + "Color", {156 + 48.0 * i, subY, 20, 20},
                     {"set" + typeName + "Color",
                      [this, color, title = t.title] { editColor(color, title); }},
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
        const char* title;  // of the picker
        NamedAction ranColor, setDraw;
        BColor* color;
        bool* draw;
    };
    const Single singles[3] = {
        {"random σφαῖρα color", "κύκλος color", KALEIDRA_ACTION(ranCircleColor0),
         KALEIDRA_ACTION(setCircleDraw0), &s.circleColor, &s.circleDraw},
        {"random origin color", "origin color", KALEIDRA_ACTION(ranOriginColor0),
         KALEIDRA_ACTION(setOriginDraw0), &s.originColor, &s.originDraw},
        {"random window color", "window background color", KALEIDRA_ACTION(ranWindowColor0),
         KALEIDRA_ACTION(setWindowDraw0), &s.windowColor, &s.windowDraw},
    };

    for (int f = 0; f < kFamilyCount; ++f) {
        const std::string name = kFamilyNames[f];
        panel_.families[f].qRanColor0 =
            button(tab, "qRan" + name + "Color0", {240, rowY(f), 140, 20},
                   {"ran" + name + "Color0", [this, f] { ranIndividualColors(f); }},
                   std::string("random ") + kFamilies[f].words + " colors");
    }
    for (int i = 0; i < 3; ++i) {
        const std::string name = kSingleNames[i];
        panel_.singles[i].qRanColor0 =
            button(tab, "qRan" + name + "Color0", {240, rowY(kFamilyCount + i), 140, 20},
                   singles[i].ranColor, singles[i].randomText);
    }
    for (int f = 0; f < kFamilyCount; ++f) {
        const std::string name = kFamilyNames[f];
        panel_.families[f].qColor0 =
            button(tab, "q" + name + "Color0", {156, rowY(f), 20, 20},
                   {"set" + name + "Color0", [this, f] { setIndividualScheme(f); }}, "•");
    }
    for (int i = 0; i < 3; ++i) {
        const Single& g = singles[i];
        const std::string name = kSingleNames[i];
        panel_.singles[i].cColor0 =
            well(tab, "c" + name + "Color0", {156, rowY(kFamilyCount + i), 20, 20},
                 {"set" + name + "Color0",
                  [this, color = g.color, title = g.title] { editColor(color, title); }},
                 g.color, "O");
    }
    for (int f = 0; f < kFamilyCount; ++f) {
        const std::string name = kFamilyNames[f];
        panel_.families[f].bDraw0 = checkbox(
            tab, "b" + name + "Draw0", {132, rowY(f), 12, 12},
            {"set" + name + "Draw0", [this, f] { setFamilyDraw(f); }}, &(s.*kFamilies[f].draw));
    }
    for (int i = 0; i < 3; ++i) {
        panel_.singles[i].bDraw0 =
            checkbox(tab, std::string("b") + kSingleNames[i] + "Draw0",
                     {132, rowY(kFamilyCount + i), 12, 12}, singles[i].setDraw, singles[i].draw);
    }
}
