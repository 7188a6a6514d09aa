#pragma once

#include <string>

#include "geometry/types.h"

// Every user-visible choice of the program, one field per setting, with its stored default.
// A picture holds one; pipeline stages, drawing, controls and documents read and write it, and
// `Settings{}` is the record of every default.
// Several defaults are replaced at launch by `initRandom` (geometry, generators, lengths, colours).
struct Settings {
    // Triangle group, picture and view.
    int geometry = 1;  // 0 sphere, 1 Euclidean plane, 2 hyperbolic plane (asked for in the panel)
    int genV = 3, genE = 3, genF = 3;  // the corner angles are π/genV, π/genE, π/genF; 2..12
    int gen = 0;  // p·q·r − p·q − q·r − r·p: below 0 sphere, 0 plane, above 0 hyperbolic
    int groupOrderMax = 0;     // size of the finite group; set on the sphere only
    int groupOrder = 200;      // 0..2000
    int segments = 20;         // 1..100 straight pieces per drawn geodesic
    double spiralAngle = 2.0;  // 1..10, half-width in units of π of the band-limited fill
    double windowZoom = 2.0;   // 1..20, model distance from the view's centre to its nearer edge
    int project3D2D = 2;       // 0..5
    double translateStep = 1.0 / 12.0;  // 0..0.5, in units of π
    Matrix pointMatrix;                 // the view motion applied to the whole tiling
    Matrix pointMatrixInitial;          // pointMatrix as it was at the start of the last rebuild

    // Generating point.
    double lengthV = 1.0 / 3.0, lengthE = 1.0 / 3.0, lengthF = 1.0 / 3.0;  // non-negative, sum 1
    double lengthStep = 0.25;                                              // 0..0.5
    bool uniformV = true, uniformE = true, uniformF = true;                // at least one stays set
    // The snub instead of the Wythoff tiling: vertices are the images of P under the rotations of
    // the group (or, mirrored, under the odd elements), and the proportions are those of its
    // three kinds of edge.
    bool snubForm = false;
    bool snubMirror = false;

    // Mouse.
    int mouseMode = 2;  // 0 set edge lengths, 1 rotate [xy], 2 translate [xyz]
    bool mousePoints = true;
    bool mouseColors = true;

    // Visibility and emphasis.
    bool selfDraw = true, mirrorDraw = true;
    int selfMirrorEmphasis = 0;  // 0 self on top, 1 mirror on top
    int polyTriEmphasis = 0;     // 0 polygons, 1 triangles
    bool polyFaceDraw = true, polyEdgeDraw = true, polyVertDraw = true;
    bool triFaceDraw = true, triEdgeDraw = true, triVertDraw = true;
    bool polyFaceVDraw = true, polyFaceEDraw = true, polyFaceFDraw = true;
    bool polyEdgeEFDraw = true, polyEdgeFVDraw = true, polyEdgeVEDraw = true;
    bool polyVertPosDraw = true, polyVertNegDraw = true;
    bool triFacePosDraw = true, triFaceNegDraw = true;
    bool triEdgeEFDraw = true, triEdgeFVDraw = true, triEdgeVEDraw = true;
    bool triVertVDraw = true, triVertEDraw = true, triVertFDraw = true;
    bool circleDraw = true, originDraw = true, windowDraw = true;

    // Colour schemes (0..4) and hue offsets (0..2, units of π) per family.
    int polyFaceScheme = 2, polyEdgeScheme = 2, polyVertScheme = 2;
    int triFaceScheme = 2, triEdgeScheme = 2, triVertScheme = 2;
    double polyFaceOffset = 0, polyEdgeOffset = 0, polyVertOffset = 0;
    double triFaceOffset = 0, triEdgeOffset = 0, triVertOffset = 0;

    // The sixteen type ("class") colours and the three single colours; random at launch.
    BColor polyFaceVColor, polyFaceEColor, polyFaceFColor;
    BColor polyEdgeEFColor, polyEdgeFVColor, polyEdgeVEColor;
    BColor polyVertPosColor, polyVertNegColor;
    BColor triFacePosColor, triFaceNegColor;
    BColor triEdgeEFColor, triEdgeFVColor, triEdgeVEColor;
    BColor triVertVColor, triVertEColor, triVertFColor;
    BColor circleColor, originColor, windowColor;
    Matrix colorMatrix;  // the colour frame, moved by navigation and the mouse

    // Transparency (0..1) and thickness (0..1) per family.
    double polyFaceAlpha = 0.5, polyEdgeAlpha = 0.5, polyVertAlpha = 0.5;
    double triFaceAlpha = 0.5, triEdgeAlpha = 0.5, triVertAlpha = 0.5;
    double circleAlpha = 0.5, originAlpha = 0.5;
    double windowAlpha = 1.0;
    double panelAlpha = 0.5;  // 0.05..1
    double polyFaceThick = 0.5, polyEdgeThick = 0.5, polyVertThick = 0.5;
    double triFaceThick = 0.5, triEdgeThick = 0.5, triVertThick = 0.5;
    double circleThick = 0.5, originThick = 0.5;

    // Panel state; documents do not store these.
    int tabIndex = 0;     // 0..14, the visible tab
    double bright = 0.5;  // the colour picker's brightness, 0..1

    // Descriptions of what is on show, refreshed with the geometry labels; written to documents.
    std::string eqManifold = "z*z = 1 plane";
    std::string eqCircle = "1 = x*x+y*y unit κύκλος";
    std::string eqPerspective = "z axis perspective";

    // Field by field and exact; a new field takes part without further ado.
    bool operator==(const Settings&) const = default;
};
