#pragma once

#include "geometry/kernel.h"

// Pictures and matrix helpers for the canvas tests.

// Default settings, then the triangle (p, q, r) with the given proportions, enumerated and
// assembled; the view matrices are the identity.
void makePicture(int p, int q, int r, double lengthV = 1.0 / 3, double lengthE = 1.0 / 3,
                 double lengthF = 1.0 / 3);

Matrix inverseOf(const Matrix& M);
// Largest entry difference, the sign included.
double maxDiff(const Matrix& a, const Matrix& b);
bool sameBits(const Matrix& a, const Matrix& b);
