#pragma once

#include <array>

#include "colour/families.h"
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
// Element types pick the type colour, the high-contrast matrix and the family (families.h).

// The colour state of a picture that is not a user setting (the settings hold the schemes,
// offsets, type colours, alphas and colorMatrix). `ColourState{}` gives identity matrices;
// initColorMatrices builds the launch matrices.
struct ColourState {
    std::array<Matrix, kTypeCount> colorMatrixHigh{};  // per type, scheme 3
    Matrix colorMatrixLow;                             // every type, scheme 4
    // Family offset matrices: hue turns by π × the family's offset.
    Matrix polyFaceMatrix, polyEdgeMatrix, polyVertMatrix;
    Matrix triFaceMatrix, triEdgeMatrix, triVertMatrix;
    Matrix colorMatrix0;  // colorMatrix as it was at the mouse press
};

// The family's offset matrix.
Matrix& familyMatrix(ColourState& c, int family);
const Matrix& familyMatrix(const ColourState& c, int family);
// The type colour setting of a type (nullptr outside 0..15).
BColor* typeColor(Settings& s, int type);
const BColor* typeColor(const Settings& s, int type);

// The hue turn by theta about the grey axis (1, 1, 1)/√3; 2π/3 carries red to green.
Matrix offsetMatrix(double theta);
// Rebuild a family's offset matrix from its offset setting, or all six.
void setOffsetMatrix(ColourState& c, const Settings& s, int family);
void setOffsetMatrices(ColourState& c, const Settings& s);
// T1, T2, A, B, N, colorMatrixHigh, colorMatrixLow; the six offset matrices to identity.
void initColorMatrices(ColourState& c);

// New random individual colours, each record in table order.
void ranPolyFaceColor(GroupTables& g);  // poly colours of dataV, dataE, dataF
void ranPolyEdgeColor(GroupTables& g);  // poly colours of dataEF, dataFV, dataVE
void ranPolyVertColor(GroupTables& g);  // poly colours of dataVEF
void ranTriFaceColor(GroupTables& g);   // tri colours of dataVEF
void ranTriEdgeColor(GroupTables& g);   // tri colours of dataEF, dataFV, dataVE
void ranTriVertColor(GroupTables& g);   // tri colours of dataV, dataE, dataF
// Poly colours of dataV, dataE, dataF, dataEF, dataFV, dataVE, dataVEF, then tri colours of
// dataVEF, dataEF, dataFV, dataVE, dataV, dataE, dataF.
void ranAllColor(GroupTables& g);
// The sixteen type colours in type order, then circleColor, originColor, windowColor.
void ranSingleColors(Settings& s);

// The colour a scheme gives an element of `type` drawn from the data record; triLayer picks the
// record's tri colour (tri families) over its poly colour for scheme 1. A scheme outside 0..4
// gives `previous`, the colour the element drawn before was given.
BColor schemeColor(const Settings& s, const ColourState& c, int scheme, int type,
                   const DataModule& record, bool triLayer, BColor previous = {});
