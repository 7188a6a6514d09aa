#pragma once

#include "geometry/settings.h"

// The six element families and their sixteen element types, described once: the settings each
// family owns, the type numbers that belong to it and, per type, its switch and type colour.
// Colour, drawing, the frame and the panel all read these tables.
//
//   0 1 2     poly face around V, E, F          (family polyFace)
//   3 4 5     poly edge EF, FV, VE              (polyEdge)
//   6 7       poly vertex positive, negative    (polyVert)
//   8 9       tri face positive, negative       (triFace)
//   10 11 12  tri edge EF, FV, VE               (triEdge)
//   13 14 15  tri vertex V, E, F                (triVert)

inline constexpr int kTypeCount = 16;

enum Family : int { kPolyFace = 0, kPolyEdge, kPolyVert, kTriFace, kTriEdge, kTriVert };
inline constexpr int kFamilyCount = 6;

struct FamilyInfo {
    char words[24];  // the family's two words on the panel, "πολύ face" … "τρί vertex" (UTF-8)
    bool Settings::*draw;
    int Settings::*scheme;
    double Settings::*offset;
    double Settings::*alpha;
    double Settings::*thick;
    int firstType;
    int typeCount;
    bool tri;  // the tri layer: scheme 1 takes a record's tri colour, not its poly colour
};

constexpr FamilyInfo kFamilies[kFamilyCount] = {
    {"πολύ face", &Settings::polyFaceDraw, &Settings::polyFaceScheme, &Settings::polyFaceOffset,
     &Settings::polyFaceAlpha, &Settings::polyFaceThick, 0, 3, false},
    {"πολύ edge", &Settings::polyEdgeDraw, &Settings::polyEdgeScheme, &Settings::polyEdgeOffset,
     &Settings::polyEdgeAlpha, &Settings::polyEdgeThick, 3, 3, false},
    {"πολύ vertex", &Settings::polyVertDraw, &Settings::polyVertScheme, &Settings::polyVertOffset,
     &Settings::polyVertAlpha, &Settings::polyVertThick, 6, 2, false},
    {"τρί face", &Settings::triFaceDraw, &Settings::triFaceScheme, &Settings::triFaceOffset,
     &Settings::triFaceAlpha, &Settings::triFaceThick, 8, 2, true},
    {"τρί edge", &Settings::triEdgeDraw, &Settings::triEdgeScheme, &Settings::triEdgeOffset,
     &Settings::triEdgeAlpha, &Settings::triEdgeThick, 10, 3, true},
    {"τρί vertex", &Settings::triVertDraw, &Settings::triVertScheme, &Settings::triVertOffset,
     &Settings::triVertAlpha, &Settings::triVertThick, 13, 3, true},
};

struct TypeInfo {
    Family family;
    bool Settings::*draw;     // the type's own switch
    BColor Settings::*color;  // the type ("class") colour
};

constexpr TypeInfo kTypes[kTypeCount] = {
    {kPolyFace, &Settings::polyFaceVDraw, &Settings::polyFaceVColor},
    {kPolyFace, &Settings::polyFaceEDraw, &Settings::polyFaceEColor},
    {kPolyFace, &Settings::polyFaceFDraw, &Settings::polyFaceFColor},
    {kPolyEdge, &Settings::polyEdgeEFDraw, &Settings::polyEdgeEFColor},
    {kPolyEdge, &Settings::polyEdgeFVDraw, &Settings::polyEdgeFVColor},
    {kPolyEdge, &Settings::polyEdgeVEDraw, &Settings::polyEdgeVEColor},
    {kPolyVert, &Settings::polyVertPosDraw, &Settings::polyVertPosColor},
    {kPolyVert, &Settings::polyVertNegDraw, &Settings::polyVertNegColor},
    {kTriFace, &Settings::triFacePosDraw, &Settings::triFacePosColor},
    {kTriFace, &Settings::triFaceNegDraw, &Settings::triFaceNegColor},
    {kTriEdge, &Settings::triEdgeEFDraw, &Settings::triEdgeEFColor},
    {kTriEdge, &Settings::triEdgeFVDraw, &Settings::triEdgeFVColor},
    {kTriEdge, &Settings::triEdgeVEDraw, &Settings::triEdgeVEColor},
    {kTriVert, &Settings::triVertVDraw, &Settings::triVertVColor},
    {kTriVert, &Settings::triVertEDraw, &Settings::triVertEColor},
    {kTriVert, &Settings::triVertFDraw, &Settings::triVertFColor},
};

// Family of a type, or −1 outside 0..15.
inline int familyOfType(int type) {
    return type >= 0 && type < kTypeCount ? kTypes[type].family : -1;
}

// Whether the element type's own switch (polyFaceVDraw … triVertFDraw) is on; false outside 0..15.
inline bool typeDrawn(const Settings& s, int type) {
    return type >= 0 && type < kTypeCount && s.*kTypes[type].draw;
}

// At least one of the family's type switches is on.
inline bool anyTypeDrawn(const Settings& s, int family) {
    const FamilyInfo& f = kFamilies[family];
    for (int t = f.firstType; t < f.firstType + f.typeCount; ++t)
        if (s.*kTypes[t].draw) return true;
    return false;
}

// The family is on the picture: its family switch and at least one type switch are on.
inline bool familyDrawn(const Settings& s, int family) {
    return s.*kFamilies[family].draw && anyTypeDrawn(s, family);
}
