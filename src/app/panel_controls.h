#pragma once

#include <array>

#include "colour/families.h"
#include "widgets/controls.h"

// The panel's controls, grouped by tab and, for the six element families, the sixteen element
// types and the circle, origin, window and panel rows, by what they show. The controller owns
// the one PanelControls and keeps it to itself; from outside, a control is found by its name
// (App::control). Members carry the controls' names; inside a group that stands for one family,
// type or single element its own name is left out: bDraw1 is bPolyFaceDraw1 in the poly faces'
// group, cColor0 is cCircleColor0 in the circle's.

// Tab 0: documents, output and the program's windows.
struct MainControls {
    CTextField *tTitle = nullptr, *tArtist = nullptr;
    CPushButton *qOpen = nullptr, *qSave = nullptr, *qPrint = nullptr, *qCopy = nullptr;
    CPushButton *qHide = nullptr, *qHideOthers = nullptr, *qShowAll = nullptr, *qQuit = nullptr;
    CPushButton* qSendEmail = nullptr;
};

// Tab 1.
struct GeneratorControls {
    CPushButton* qRanGen = nullptr;
    CMenu* pGeometry = nullptr;
    BSlider *sGenV = nullptr, *sGenE = nullptr, *sGenF = nullptr;
};

// Tab 2.
struct LengthControls {
    CTextField* tEqualizeLength = nullptr;
    CPushButton *qRanLength = nullptr, *qEqualizeLength = nullptr;
    CSlider *sLengthV = nullptr, *sLengthE = nullptr, *sLengthF = nullptr, *sLengthStep = nullptr;
    CCheckbox *bUniformV = nullptr, *bUniformE = nullptr, *bUniformF = nullptr;
};

// Tab 3.
struct ProjectionControls {
    CPushButton* qCenter = nullptr;
    BSlider *sSegments = nullptr, *sGroupOrder = nullptr;
    CSlider *sSpiralAngle = nullptr, *sWindowZoom = nullptr;
    CMenu* pProject3D2D = nullptr;
};

// Tab 4.
struct TransformControls {
    CPushButton *qRanMatrix = nullptr, *qIdentityMatrix = nullptr;
    CTextField *tReflect = nullptr, *tTranslate = nullptr;
    CPushButton *qReflectX = nullptr, *qReflectY = nullptr, *qReflectZ = nullptr;
    CPushButton *qTranslateYX = nullptr, *qTranslateZX = nullptr, *qTranslateXY = nullptr;
    CPushButton *qTranslateZY = nullptr, *qTranslateXZ = nullptr, *qTranslateYZ = nullptr;
    CSlider* sTranslateStep = nullptr;
};

// Tab 5.
struct MouseControls {
    CTextField* tMouseMode = nullptr;
    CMenu* pMouseMode = nullptr;
    CCheckbox *bMousePoints = nullptr, *bMouseColors = nullptr;
};

// Tab 6, but for the switches of the families and single elements (in their own groups).
struct DisplayControls {
    CMenu *pSelfMirrorEmphasis = nullptr, *pPolyTriEmphasis = nullptr;
    CCheckbox *bSelfDraw = nullptr, *bMirrorDraw = nullptr;
    CPushButton *qShowPoly = nullptr, *qShowTri = nullptr, *qHidePoly = nullptr,
                *qHideTri = nullptr;
};

// The random buttons of tabs 7 to 10.
struct RandomAllControls {
    CPushButton *qRanAllScheme = nullptr, *qRanAllOffset = nullptr, *qRanAllAlpha = nullptr,
                *qRanAllThick = nullptr;
};

// Tab 14.
struct PickerControls {
    CPushButton* qUpdateColor = nullptr;
    CColorPicker* colorPicker = nullptr;
    CSlider* sBrightness = nullptr;
};

// One element family's controls on tabs 6 to 13.
struct FamilyControls {
    // The family switch's three check boxes: tab 6, the head row of tab 11 or 12, tab 13.
    CCheckbox *bDraw = nullptr, *bDraw1 = nullptr, *bDraw0 = nullptr;
    // Tabs 7 to 10: the row's control and its copy button.
    BMenu* pScheme = nullptr;
    CPushButton* qCopyScheme = nullptr;
    CSlider* sOffset = nullptr;
    CPushButton* qCopyOffset = nullptr;
    CSlider* sAlpha = nullptr;
    CPushButton* qCopyAlpha = nullptr;
    CSlider* sThick = nullptr;
    CPushButton* qCopyThick = nullptr;
    // Tabs 11 and 12 (1) and tab 13 (0): the "•" button and the random colours button.
    CPushButton *qColor1 = nullptr, *qRanColor1 = nullptr;
    CPushButton *qColor0 = nullptr, *qRanColor0 = nullptr;
};

// One element type's switch and colour well, on tab 11 or 12.
struct TypeControls {
    CCheckbox* bDraw = nullptr;
    CColorWell* cColor = nullptr;
};

// The circle, the origin mark, the window background and the panel window: their switches on
// tabs 6 and 13, their rows below the families on tabs 9 and 10, their colours on tab 13. Not
// every one has every control (the panel only a transparency row, the window no thickness).
enum Single : int { kCircle = 0, kOrigin, kWindow, kPanel };
inline constexpr int kSingleCount = 4;

struct SingleControls {
    CCheckbox *bDraw = nullptr, *bDraw0 = nullptr;
    CPushButton* qCopyAlpha = nullptr;
    CSlider* sAlpha = nullptr;
    CPushButton* qCopyThick = nullptr;
    CSlider* sThick = nullptr;
    CPushButton* qRanColor0 = nullptr;
    CColorWell* cColor0 = nullptr;
};

struct PanelControls {
    MainControls main;
    GeneratorControls generators;
    LengthControls lengths;
    ProjectionControls projection;
    TransformControls transform;
    MouseControls mouse;
    DisplayControls display;
    RandomAllControls randomAll;
    PickerControls picker;
    std::array<FamilyControls, kFamilyCount> families{};
    std::array<TypeControls, kTypeCount> types{};
    std::array<SingleControls, kSingleCount> singles{};
};

// The part of the controls' and actions' names that names the family, the type or the single
// element: "PolyFace" gives bPolyFaceDraw1 and setPolyFaceDraw1, "PolyEdgeFV" bPolyEdgeFVDraw
// and cPolyEdgeFVColor, "Circle" qCopyCircleAlpha.
inline constexpr const char* kFamilyNames[kFamilyCount] = {"PolyFace", "PolyEdge", "PolyVert",
                                                           "TriFace",  "TriEdge",  "TriVert"};

struct TypeNames {
    const char* name;
    const char* wellText;
    const char* title;  // the colour's name on the picker's title button
};

inline constexpr TypeNames kTypeNames[kTypeCount] = {
    {"PolyFaceV", "v", "πολύ face v color"},     {"PolyFaceE", "e", "πολύ face e color"},
    {"PolyFaceF", "f", "πολύ face f color"},     {"PolyEdgeEF", "ef", "πολύ edge ef color"},
    {"PolyEdgeFV", "fv", "πολύ edge fv color"},  {"PolyEdgeVE", "ve", "πολύ edge ve color"},
    {"PolyVertPos", "+", "πολύ vertex + color"}, {"PolyVertNeg", "–", "πολύ vertex – color"},
    {"TriFacePos", "+", "τρί face + color"},     {"TriFaceNeg", "–", "τρί face – color"},
    {"TriEdgeEF", "ef", "τρί edge ef color"},    {"TriEdgeFV", "fv", "τρί edge fv color"},
    {"TriEdgeVE", "ve", "τρί edge ve color"},    {"TriVertV", "v", "τρί vertex v color"},
    {"TriVertE", "e", "τρί vertex e color"},     {"TriVertF", "f", "τρί vertex f color"},
};

inline constexpr const char* kSingleNames[kSingleCount] = {"Circle", "Origin", "Window", "Panel"};
