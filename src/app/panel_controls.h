#pragma once

#include "app/app.h"

// The panel's controls of the six element families and of the sixteen element types, as
// references into App together with the names of the actions they send; family and type order
// as in colour/colour.h. The layout builds the controls through these tables and the actions
// refresh them through the same tables. A reference is named as in App without the family
// (bDraw1 is bPolyFaceDraw1 for the poly faces), an action name as the action without it.

struct FamilyControls {
    // The family switch's three check boxes: tab 6, the head row of tab 11 or 12, tab 13.
    CCheckbox* App::*bDraw;
    CCheckbox* App::*bDraw1;
    CCheckbox* App::*bDraw0;
    // Tabs 7 to 10: the row's control and its copy button.
    BMenu* App::*pScheme;
    CPushButton* App::*qCopyScheme;
    CSlider* App::*sOffset;
    CPushButton* App::*qCopyOffset;
    CSlider* App::*sAlpha;
    CPushButton* App::*qCopyAlpha;
    CSlider* App::*sThick;
    CPushButton* App::*qCopyThick;
    // Tabs 11 and 12 (1) and tab 13 (0): the "•" button and the random colours button.
    CPushButton* App::*qColor1;
    CPushButton* App::*qRanColor1;
    CPushButton* App::*qColor0;
    CPushButton* App::*qRanColor0;

    const char *setDraw, *setDraw1, *setDraw0;
    const char *setScheme, *copyScheme, *setOffset, *copyOffset;
    const char *setAlpha, *copyAlpha, *setThick, *copyThick;
    const char *setColor1, *ranColor1, *setColor0, *ranColor0;
};

// clang-format off
inline const FamilyControls kFamilyControls[6] = {
    {&App::bPolyFaceDraw, &App::bPolyFaceDraw1, &App::bPolyFaceDraw0,
     &App::pPolyFaceScheme, &App::qCopyPolyFaceScheme,
     &App::sPolyFaceOffset, &App::qCopyPolyFaceOffset,
     &App::sPolyFaceAlpha, &App::qCopyPolyFaceAlpha, &App::sPolyFaceThick, &App::qCopyPolyFaceThick,
     &App::qPolyFaceColor1, &App::qRanPolyFaceColor1,
     &App::qPolyFaceColor0, &App::qRanPolyFaceColor0,
     "setPolyFaceDraw", "setPolyFaceDraw1", "setPolyFaceDraw0",
     "setPolyFaceScheme", "copyPolyFaceScheme", "setPolyFaceOffset", "copyPolyFaceOffset",
     "setPolyFaceAlpha", "copyPolyFaceAlpha", "setPolyFaceThick", "copyPolyFaceThick",
     "setPolyFaceColor1", "ranPolyFaceColor1", "setPolyFaceColor0", "ranPolyFaceColor0"},
    {&App::bPolyEdgeDraw, &App::bPolyEdgeDraw1, &App::bPolyEdgeDraw0,
     &App::pPolyEdgeScheme, &App::qCopyPolyEdgeScheme,
     &App::sPolyEdgeOffset, &App::qCopyPolyEdgeOffset,
     &App::sPolyEdgeAlpha, &App::qCopyPolyEdgeAlpha, &App::sPolyEdgeThick, &App::qCopyPolyEdgeThick,
     &App::qPolyEdgeColor1, &App::qRanPolyEdgeColor1,
     &App::qPolyEdgeColor0, &App::qRanPolyEdgeColor0,
     "setPolyEdgeDraw", "setPolyEdgeDraw1", "setPolyEdgeDraw0",
     "setPolyEdgeScheme", "copyPolyEdgeScheme", "setPolyEdgeOffset", "copyPolyEdgeOffset",
     "setPolyEdgeAlpha", "copyPolyEdgeAlpha", "setPolyEdgeThick", "copyPolyEdgeThick",
     "setPolyEdgeColor1", "ranPolyEdgeColor1", "setPolyEdgeColor0", "ranPolyEdgeColor0"},
    {&App::bPolyVertDraw, &App::bPolyVertDraw1, &App::bPolyVertDraw0,
     &App::pPolyVertScheme, &App::qCopyPolyVertScheme,
     &App::sPolyVertOffset, &App::qCopyPolyVertOffset,
     &App::sPolyVertAlpha, &App::qCopyPolyVertAlpha, &App::sPolyVertThick, &App::qCopyPolyVertThick,
     &App::qPolyVertColor1, &App::qRanPolyVertColor1,
     &App::qPolyVertColor0, &App::qRanPolyVertColor0,
     "setPolyVertDraw", "setPolyVertDraw1", "setPolyVertDraw0",
     "setPolyVertScheme", "copyPolyVertScheme", "setPolyVertOffset", "copyPolyVertOffset",
     "setPolyVertAlpha", "copyPolyVertAlpha", "setPolyVertThick", "copyPolyVertThick",
     "setPolyVertColor1", "ranPolyVertColor1", "setPolyVertColor0", "ranPolyVertColor0"},
    {&App::bTriFaceDraw, &App::bTriFaceDraw1, &App::bTriFaceDraw0,
     &App::pTriFaceScheme, &App::qCopyTriFaceScheme, &App::sTriFaceOffset, &App::qCopyTriFaceOffset,
     &App::sTriFaceAlpha, &App::qCopyTriFaceAlpha, &App::sTriFaceThick, &App::qCopyTriFaceThick,
     &App::qTriFaceColor1, &App::qRanTriFaceColor1, &App::qTriFaceColor0, &App::qRanTriFaceColor0,
     "setTriFaceDraw", "setTriFaceDraw1", "setTriFaceDraw0",
     "setTriFaceScheme", "copyTriFaceScheme", "setTriFaceOffset", "copyTriFaceOffset",
     "setTriFaceAlpha", "copyTriFaceAlpha", "setTriFaceThick", "copyTriFaceThick",
     "setTriFaceColor1", "ranTriFaceColor1", "setTriFaceColor0", "ranTriFaceColor0"},
    {&App::bTriEdgeDraw, &App::bTriEdgeDraw1, &App::bTriEdgeDraw0,
     &App::pTriEdgeScheme, &App::qCopyTriEdgeScheme, &App::sTriEdgeOffset, &App::qCopyTriEdgeOffset,
     &App::sTriEdgeAlpha, &App::qCopyTriEdgeAlpha, &App::sTriEdgeThick, &App::qCopyTriEdgeThick,
     &App::qTriEdgeColor1, &App::qRanTriEdgeColor1, &App::qTriEdgeColor0, &App::qRanTriEdgeColor0,
     "setTriEdgeDraw", "setTriEdgeDraw1", "setTriEdgeDraw0",
     "setTriEdgeScheme", "copyTriEdgeScheme", "setTriEdgeOffset", "copyTriEdgeOffset",
     "setTriEdgeAlpha", "copyTriEdgeAlpha", "setTriEdgeThick", "copyTriEdgeThick",
     "setTriEdgeColor1", "ranTriEdgeColor1", "setTriEdgeColor0", "ranTriEdgeColor0"},
    {&App::bTriVertDraw, &App::bTriVertDraw1, &App::bTriVertDraw0,
     &App::pTriVertScheme, &App::qCopyTriVertScheme, &App::sTriVertOffset, &App::qCopyTriVertOffset,
     &App::sTriVertAlpha, &App::qCopyTriVertAlpha, &App::sTriVertThick, &App::qCopyTriVertThick,
     &App::qTriVertColor1, &App::qRanTriVertColor1, &App::qTriVertColor0, &App::qRanTriVertColor0,
     "setTriVertDraw", "setTriVertDraw1", "setTriVertDraw0",
     "setTriVertScheme", "copyTriVertScheme", "setTriVertOffset", "copyTriVertOffset",
     "setTriVertAlpha", "copyTriVertAlpha", "setTriVertThick", "copyTriVertThick",
     "setTriVertColor1", "ranTriVertColor1", "setTriVertColor0", "ranTriVertColor0"},
};
// clang-format on

struct TypeControls {
    CCheckbox* App::*bDraw;  // the type switch
    CColorWell* App::*cColor;
    const char* setDraw;
    const char* setColor;
    const char* wellText;
    const char* title;  // the colour's name on the picker's title button
};

// clang-format off
inline const TypeControls kTypeControls[16] = {
    {&App::bPolyFaceVDraw, &App::cPolyFaceVColor,
     "setPolyFaceVDraw", "setPolyFaceVColor", "v", "πολύ face v color"},
    {&App::bPolyFaceEDraw, &App::cPolyFaceEColor,
     "setPolyFaceEDraw", "setPolyFaceEColor", "e", "πολύ face e color"},
    {&App::bPolyFaceFDraw, &App::cPolyFaceFColor,
     "setPolyFaceFDraw", "setPolyFaceFColor", "f", "πολύ face f color"},
    {&App::bPolyEdgeEFDraw, &App::cPolyEdgeEFColor,
     "setPolyEdgeEFDraw", "setPolyEdgeEFColor", "ef", "πολύ edge ef color"},
    {&App::bPolyEdgeFVDraw, &App::cPolyEdgeFVColor,
     "setPolyEdgeFVDraw", "setPolyEdgeFVColor", "fv", "πολύ edge fv color"},
    {&App::bPolyEdgeVEDraw, &App::cPolyEdgeVEColor,
     "setPolyEdgeVEDraw", "setPolyEdgeVEColor", "ve", "πολύ edge ve color"},
    {&App::bPolyVertPosDraw, &App::cPolyVertPosColor,
     "setPolyVertPosDraw", "setPolyVertPosColor", "+", "πολύ vertex + color"},
    {&App::bPolyVertNegDraw, &App::cPolyVertNegColor,
     "setPolyVertNegDraw", "setPolyVertNegColor", "–", "πολύ vertex – color"},
    {&App::bTriFacePosDraw, &App::cTriFacePosColor,
     "setTriFacePosDraw", "setTriFacePosColor", "+", "τρί face + color"},
    {&App::bTriFaceNegDraw, &App::cTriFaceNegColor,
     "setTriFaceNegDraw", "setTriFaceNegColor", "–", "τρί face – color"},
    {&App::bTriEdgeEFDraw, &App::cTriEdgeEFColor,
     "setTriEdgeEFDraw", "setTriEdgeEFColor", "ef", "τρί edge ef color"},
    {&App::bTriEdgeFVDraw, &App::cTriEdgeFVColor,
     "setTriEdgeFVDraw", "setTriEdgeFVColor", "fv", "τρί edge fv color"},
    {&App::bTriEdgeVEDraw, &App::cTriEdgeVEColor,
     "setTriEdgeVEDraw", "setTriEdgeVEColor", "ve", "τρί edge ve color"},
    {&App::bTriVertVDraw, &App::cTriVertVColor,
     "setTriVertVDraw", "setTriVertVColor", "v", "τρί vertex v color"},
    {&App::bTriVertEDraw, &App::cTriVertEColor,
     "setTriVertEDraw", "setTriVertEColor", "e", "τρί vertex e color"},
    {&App::bTriVertFDraw, &App::cTriVertFColor,
     "setTriVertFDraw", "setTriVertFColor", "f", "τρί vertex f color"},
};
// clang-format on
