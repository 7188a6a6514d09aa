#pragma once

#include "geometry/types.h"
#include "tiling/tables.h"

// Painting one element: the face, edges or vertices of a tri, poly or quad record.
//
// Each function stores the code of the feature it is about to draw in colourState.type (0..15),
// tests the feature's switch, picks the colour by its family's scheme and alpha, and fills or
// strokes through the geodesic paths. Features shared by neighbouring elements (edges, vertices)
// carry working counters in their data records: every visit decrements, and only the visit that
// brings the counter (or both counters) to exactly 0 paints. The frame sets the counters before
// each pass, which decides whether the first or the last visitor paints.
//
// Line widths and dot radii are the family's thickness × windowZoom / 100 model units.
// The Mirror forms differ only in projecting with projXYMirror.

// Makes (r, g, b, alpha) the current colour of the current layer.
void setColor(const BColor* color, float alpha);

// Whether the element type's own switch (polyFaceVDraw … triVertFDraw) is on.
bool typeDrawn(int type);

void drawTriFaceSelf(const TriModule& t);
void drawTriEdgeSelf(const TriModule& t);
void drawTriVertSelf(const TriModule& t);
void drawPolyFaceSelf(const PolyModule& p);
void drawPolyEdgeSelf(const PolyModule& p);
void drawPolyVertSelf(const PolyModule& p);
void drawQuadFaceSelf(const QuadModule& q);
void drawQuadTriEdgeSelf(const QuadModule& q);
void drawQuadPolyEdgeSelf(const QuadModule& q);
void drawQuadTriVertSelf(const QuadModule& q);
void drawQuadPolyVertSelf(const QuadModule& q);

void drawTriFaceMirror(const TriModule& t);
void drawTriEdgeMirror(const TriModule& t);
void drawTriVertMirror(const TriModule& t);
void drawPolyFaceMirror(const PolyModule& p);
void drawPolyEdgeMirror(const PolyModule& p);
void drawPolyVertMirror(const PolyModule& p);
void drawQuadFaceMirror(const QuadModule& q);
void drawQuadTriEdgeMirror(const QuadModule& q);
void drawQuadPolyEdgeMirror(const QuadModule& q);
void drawQuadTriVertMirror(const QuadModule& q);
void drawQuadPolyVertMirror(const QuadModule& q);
