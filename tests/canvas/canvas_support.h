#pragma once

#include "geometry/kernel.h"

// Pictures and matrix helpers for the canvas tests.

struct Picture {
    const char* name;
    int p, q, r;
};
inline constexpr Picture kPictures[] = {
    {"sphere 2,3,5", 2, 3, 5}, {"plane 2,4,4", 2, 4, 4}, {"hyperbolic 7,3,2", 7, 3, 2}};

// Default settings, then the triangle (p, q, r) with the given proportions, enumerated and
// assembled; the view matrices are the identity.
void makePicture(int p, int q, int r, double lengthV = 1.0 / 3, double lengthE = 1.0 / 3,
                 double lengthF = 1.0 / 3);

Matrix inverseOf(const Matrix& M);
// Largest entry difference, the sign included; NaN when an entry is not a number.
double maxDiff(const Matrix& a, const Matrix& b);
