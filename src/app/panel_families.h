#pragma once

#include "colour/colour.h"
#include "geometry/settings.h"

// The six element families as the panel sees them, in family order (polyFace, polyEdge,
// polyVert, triFace, triEdge, triVert): the settings each family owns and the element types
// that belong to it. Types run in type order, so a family's types are consecutive.

struct PanelFamily {
    const char* words;  // the family's two words on the panel, "πολύ face" … "τρί vertex"
    bool Settings::*draw;
    int Settings::*scheme;
    double Settings::*offset;
    double Settings::*alpha;
    double Settings::*thick;
    int firstType;
    int typeCount;
};

inline constexpr PanelFamily kPanelFamilies[kFamilyCount] = {
    {"πολύ face", &Settings::polyFaceDraw, &Settings::polyFaceScheme, &Settings::polyFaceOffset,
     &Settings::polyFaceAlpha, &Settings::polyFaceThick, 0, 3},
    {"πολύ edge", &Settings::polyEdgeDraw, &Settings::polyEdgeScheme, &Settings::polyEdgeOffset,
     &Settings::polyEdgeAlpha, &Settings::polyEdgeThick, 3, 3},
    {"πολύ vertex", &Settings::polyVertDraw, &Settings::polyVertScheme, &Settings::polyVertOffset,
     &Settings::polyVertAlpha, &Settings::polyVertThick, 6, 2},
    {"τρί face", &Settings::triFaceDraw, &Settings::triFaceScheme, &Settings::triFaceOffset,
     &Settings::triFaceAlpha, &Settings::triFaceThick, 8, 2},
    {"τρί edge", &Settings::triEdgeDraw, &Settings::triEdgeScheme, &Settings::triEdgeOffset,
     &Settings::triEdgeAlpha, &Settings::triEdgeThick, 10, 3},
    {"τρί vertex", &Settings::triVertDraw, &Settings::triVertScheme, &Settings::triVertOffset,
     &Settings::triVertAlpha, &Settings::triVertThick, 13, 3},
};

// The type switches in type order.
inline constexpr bool Settings::*kTypeDraw[kTypeCount] = {
    &Settings::polyFaceVDraw,   &Settings::polyFaceEDraw,   &Settings::polyFaceFDraw,
    &Settings::polyEdgeEFDraw,  &Settings::polyEdgeFVDraw,  &Settings::polyEdgeVEDraw,
    &Settings::polyVertPosDraw, &Settings::polyVertNegDraw, &Settings::triFacePosDraw,
    &Settings::triFaceNegDraw,  &Settings::triEdgeEFDraw,   &Settings::triEdgeFVDraw,
    &Settings::triEdgeVEDraw,   &Settings::triVertVDraw,    &Settings::triVertEDraw,
    &Settings::triVertFDraw};

// At least one of the family's type switches is on.
inline bool anyTypeDrawn(int family) {
    const PanelFamily& f = kPanelFamilies[family];
    for (int t = f.firstType; t < f.firstType + f.typeCount; ++t)
        if (settings.*kTypeDraw[t]) return true;
    return false;
}

// The family is on the picture: its family switch and at least one type switch are on.
inline bool familyDrawn(int family) {
    return settings.*kPanelFamilies[family].draw && anyTypeDrawn(family);
}
