#pragma once

#include <array>

#include "geometry/types.h"
#include "tiling/tables.h"

// The colour model: every element takes its colour by its family's scheme.
//
//   0  a fresh random colour on every redraw ("glitter")
//   1  the individual colour of the element's data record (tri or poly colour by layer)
//   2  the type ("class") colour of the element's type
//   3  the position colour, high contrast: the ray from the centre of the RGB cube in the
//      direction colorMatrixHigh[type] · colorMatrix · pointMatrix · q meets the cube's surface
//   4  the same with colorMatrixLow for every type (low contrast)
//
// Colour positions are plain 3-vectors (Point records); colour matrices are Matrix records whose
// sign is always +1 except for the inversion N, so dotM keeps the orientation bookkeeping.
//
// Element types, which pick the type colour, the high-contrast matrix and the family:
//   0 1 2     poly face around V, E, F          (family polyFace)
//   3 4 5     poly edge EF, FV, VE              (polyEdge)
//   6 7       poly vertex positive, negative    (polyVert)
//   8 9       tri face positive, negative       (triFace)
//   10 11 12  tri edge EF, FV, VE               (triEdge)
//   13 14 15  tri vertex V, E, F                (triVert)

inline constexpr int kTypeCount = 16;

enum Family : int { kPolyFace = 0, kPolyEdge, kPolyVert, kTriFace, kTriEdge, kTriVert };
inline constexpr int kFamilyCount = 6;

// Process-wide colour state that is not a user setting (the settings hold the schemes, offsets,
// type colours, alphas and colorMatrix). `colourState = ColourState{};` gives identity matrices;
// initColorMatrices builds the launch matrices.
struct ColourState {
    std::array<Matrix, kTypeCount> colorMatrixHigh{};  // per type, scheme 3
    Matrix colorMatrixLow;                             // every type, scheme 4
    // Family offset matrices: hue turns by π × the family's offset.
    Matrix polyFaceMatrix, polyEdgeMatrix, polyVertMatrix;
    Matrix triFaceMatrix, triEdgeMatrix, triVertMatrix;
    Matrix colorMatrix0;  // colorMatrix as it was at the mouse press
    BColor color;         // the colour chosen for the element being drawn
    int type = 0;         // the type of the element being drawn, 0..15
};

extern ColourState colourState;

// Family of a type, or −1 outside 0..15.
int familyOfType(int type);
// The family's offset matrix, scheme, offset (units of π) and alpha.
Matrix& familyMatrix(int family);
int familyScheme(int family);
double familyOffset(int family);
double familyAlpha(int family);
// The type colour setting of a type (nullptr outside 0..15).
BColor* typeColor(int type);

// Vectors and matrices of the colour space.
void normalizeColor(Point& out, const Point& in);
// The rotation carrying (0, 0, 1) to the unit vector v; undefined for v = (0, 0, −1).
void translateMColor(Matrix& out, const Point& v);
// The rotation about the unit axis a with cosine c and sine s.
void rotateMColor(Matrix& out, const Point& a, double c, double s);
// The hue turn by theta about the grey axis (1, 1, 1)/√3; 2π/3 carries red to green.
Matrix offsetMatrix(double theta);
// Rebuild a family's offset matrix from its offset setting, or all six.
void setOffsetMatrix(int family);
void setOffsetMatrices();
// T1, T2, A, B, N, colorMatrixHigh, colorMatrixLow; the six offset matrices to identity.
void initColorMatrices();

// out = colorMatrix · (pointMatrix · q).
void projColor(Point& out, const Point& q);
// Position colours of a model point q for an element type (schemes 3 and 4). A type outside
// 0..15 leaves out unchanged.
void highContrastColor(BColor* out, int type, const Point& q);
void lowContrastColor(BColor* out, int type, const Point& q);

// Copy the type colour of `type` into out when the type belongs to the function's family;
// otherwise out stays as it was.
void polyFaceTypeColor(BColor* out, int type);
void polyEdgeTypeColor(BColor* out, int type);
void polyVertTypeColor(BColor* out, int type);
void triFaceTypeColor(BColor* out, int type);
void triEdgeTypeColor(BColor* out, int type);
void triVertTypeColor(BColor* out, int type);

// Random individual colours, each record in table order.
void ranColorModuleTri(DataTable& table);
void ranColorModulePoly(DataTable& table);
void ranPolyFaceColor();  // poly colours of dataV, dataE, dataF
void ranPolyEdgeColor();  // poly colours of dataEF, dataFV, dataVE
void ranPolyVertColor();  // poly colours of dataVEF
void ranTriFaceColor();   // tri colours of dataVEF
void ranTriEdgeColor();   // tri colours of dataEF, dataFV, dataVE
void ranTriVertColor();   // tri colours of dataV, dataE, dataF
// Poly colours of dataV, dataE, dataF, dataEF, dataFV, dataVE, dataVEF, then tri colours of
// dataVEF, dataEF, dataFV, dataVE, dataV, dataE, dataF.
void ranAllColor();
// The sixteen type colours in type order, then circleColor, originColor, windowColor.
void ranSingleColors();

// Fill colourState.color for colourState.type by a scheme, from the element's data record;
// triLayer picks the record's tri colour (tri families) over its poly colour for scheme 1.
// A scheme outside 0..4 leaves color as the previous element left it.
void schemeColor(int scheme, const DataModule& record, bool triLayer);
