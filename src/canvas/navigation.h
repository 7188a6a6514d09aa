#pragma once

// The fixed view motions of the "transform" tab. Each step is an isometry T of the current
// geometry (chosen by the sign of settings.gen) applied by one rule:
//   pointMatrix = T·pointMatrix       when settings.mousePoints,
//   colorMatrix = colorMatrix·T⁻¹     when settings.mouseColors,
// so with both switches on colorMatrix·pointMatrix is unchanged and the position colours stay
// attached to the tiles. Every operation ends by re-sorting the draw lists (setOrder); the caller
// only has to redraw.
//
// The translations are named by the axis pair they turn: "ZX" carries the z axis (the view
// centre) towards +x, so the picture moves right. θ is an angle on the sphere, a distance in model
// units on the plane and a hyperbolic distance on the hyperboloid.

#include "geometry/types.h"

struct Model;

// Both matrices back to the identity.
void identityMatrix(Model& m);
// Both matrices to the identity, then nine random steps; the result never depends on the
// view before the call.
void ranMatrix(Model& m);
void reflectX(Model& m);
void reflectY(Model& m);
// Mirrors z; only on the sphere (elsewhere it would leave the model surface and changes nothing).
void reflectZ(Model& m);

void translateXY(Model& m, double theta);  // turn about the view centre carrying x towards y
void translateYX(Model& m, double theta);  // turn carrying y towards x
void translateZX(Model& m, double theta);  // view centre towards +x
void translateXZ(Model& m, double theta);  // view centre towards −x
void translateZY(Model& m, double theta);  // view centre towards +y
void translateYZ(Model& m, double theta);  // view centre towards −y

// The matrices of the motions above for the current geometry (sign +1).
Matrix translateXYMatrix(int gen, double theta);
Matrix translateYXMatrix(int gen, double theta);
Matrix translateZXMatrix(int gen, double theta);
Matrix translateXZMatrix(int gen, double theta);
Matrix translateZYMatrix(int gen, double theta);
Matrix translateYZMatrix(int gen, double theta);

// One step of the update rule with T, without re-sorting.
void applyViewStep(Model& m, const Matrix& T);
