#pragma once

// Plain records shared by every stage.
//
// Points are column vectors: p' = M·p, and dotM(out, A, B) is A·B (B acts first).
// A Point holds either a point of the model surface or a line (a covector l: p lies on l when
// l.x·p.x + l.y·p.y + l.z·p.z = 0). A Matrix is the orientation sign (+1 keeps orientation,
// −1 reverses it; it doubles as the determinant) followed by the 3×3 matrix in rows.
// The B records hold the same values in extended precision (80-bit long double on x86-64),
// in which long products of reflections are formed.

struct Point {
    double x = 0, y = 0, z = 0;

    // Exact: two points are the same value, not merely within the tolerance h (equalsP).
    friend bool operator==(const Point&, const Point&) = default;
};

struct BPoint {
    long double x = 0, y = 0, z = 0;
};

struct Matrix {
    double sign = 1;
    double m00 = 1, m01 = 0, m02 = 0;
    double m10 = 0, m11 = 1, m12 = 0;
    double m20 = 0, m21 = 0, m22 = 1;

    // Exact, as Point's.
    friend bool operator==(const Matrix&, const Matrix&) = default;
};

struct BMatrix {
    long double sign = 1;
    long double m00 = 1, m01 = 0, m02 = 0;
    long double m10 = 0, m11 = 1, m12 = 0;
    long double m20 = 0, m21 = 0, m22 = 1;
};

// A colour of the device RGB space, each component in 0..1. Transparency is never stored here:
// it comes from the family's alpha setting at drawing time.
struct BColor {
    float r = 0, g = 0, b = 0;
};

inline bool operator==(const BColor& a, const BColor& b) {
    return a.r == b.r && a.g == b.g && a.b == b.b;
}
