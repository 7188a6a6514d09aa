#pragma once

// The numeric vocabulary of all three geometries.
//
// Points are column vectors: p' = M·p, and dotM(out, A, B) is A·B (B acts first).
// Sphere x²+y²+z²=1, plane z=1, hyperboloid z²−x²−y²=1 (z>0); the sign of `gen`, the first
// argument of every operation that depends on the geometry, picks one. Angles are radians.
// Results go to a caller-supplied record given next, which must not alias an input.
//
// Tolerance: a candidate a agrees with a reference b when |a − b| ≤ (|b| + 1)·h. The component
// order of compareP (x, y, z) and compareM (m00 … m22) with this tolerance is the key of every
// sorted table; changing either would split one point into two.

#include <cmath>

#include "geometry/types.h"

inline constexpr double PI = 3.14159265358979323846;
inline constexpr double h = 1e-6;

// Largest finite single-precision value: stands for "no finite image".
inline constexpr float kOffView = 3.4028235e38f;
inline constexpr double kOffModel = 3.4028234663852886e38;

extern const Matrix identity;  // sign +1, unit matrix
extern const BMatrix bIdentity;
extern const Matrix inversion;  // sign −1, minus the unit matrix

// Scalars.
double dot(int gen, const Point& p, const Point& q);  // the point form of the geometry
double length(int gen, const Point& p);
double lengthLine(int gen, const Point& l);
double norm2(const Point& p);
double normX(const Point& p);
double normY(int gen, const Point& p);
double lengthColor(const Point& p);
double dist(int gen, const Point& p, const Point& q);

// Points.
void linCom(Point& out, double s, const Point& a, double t, const Point& b);
void cross(Point& out, const Point& a, const Point& b);
void normalize(int gen, Point& out, const Point& p);
void normalizeLine(int gen, Point& out, const Point& l);
void midpoint(int gen, Point& out, const Point& a, const Point& b);
void smallP(Point& out, const BPoint& p);

// Matrices.
void dotBM(BMatrix& out, const BMatrix& A, const BMatrix& B);
void inv(Matrix& out, const Matrix& M);
void smallM(Matrix& out, const BMatrix& M);
void reflectM(int gen, Matrix& out, const Point& l);
void reflectBM(int gen, BMatrix& out, const BPoint& l);
void translateM(int gen, Matrix& out, const Point& p);
void translateMInv(int gen, Matrix& out, const Point& p);
void translateBM(int gen, BMatrix& out, const BPoint& p);
void rotateMXY(int gen, Matrix& out, const Point& a, const Point& b);

// Comparisons.
bool equalsP(const Point& a, const Point& b);
bool equalsM(const Matrix& A, const Matrix& B);
// A screen point is valid below the off-view value (inline: every drawn point is tested).
inline bool validQ(float x, float y) {
    return x < kOffView && y < kOffView;
}
bool validP(const Point& p);
double minDouble(double a, double b);
double maxDouble(double a, double b);

// The hot operations of every table search and polygon walk are defined here, inline.

// -1 when the candidate a lies below the reference b by more than the tolerance, +1 above, 0 when
// they agree.
inline int compareTolerant(double a, double b) {
    const double t = (std::fabs(b) + 1) * h;
    if (b - a > t) return -1;
    if (a - b > t) return 1;
    return 0;
}

inline int compareP(const Point& a, const Point& b) {
    if (int c = compareTolerant(a.x, b.x)) return c;
    if (int c = compareTolerant(a.y, b.y)) return c;
    return compareTolerant(a.z, b.z);
}

// The nine entries in rows; the sign takes no part.
inline int compareM(const Matrix& A, const Matrix& B) {
    if (int c = compareTolerant(A.m00, B.m00)) return c;
    if (int c = compareTolerant(A.m01, B.m01)) return c;
    if (int c = compareTolerant(A.m02, B.m02)) return c;
    if (int c = compareTolerant(A.m10, B.m10)) return c;
    if (int c = compareTolerant(A.m11, B.m11)) return c;
    if (int c = compareTolerant(A.m12, B.m12)) return c;
    if (int c = compareTolerant(A.m20, B.m20)) return c;
    if (int c = compareTolerant(A.m21, B.m21)) return c;
    return compareTolerant(A.m22, B.m22);
}

inline void dotP(Point& out, const Matrix& M, const Point& p) {
    out = {M.m00 * p.x + M.m01 * p.y + M.m02 * p.z, M.m10 * p.x + M.m11 * p.y + M.m12 * p.z,
           M.m20 * p.x + M.m21 * p.y + M.m22 * p.z};
}

// A·B in the precision of the record; the sign multiplies too.
template <class M>
inline void matrixProduct(M& out, const M& A, const M& B) {
    out.sign = A.sign * B.sign;
    out.m00 = A.m00 * B.m00 + A.m01 * B.m10 + A.m02 * B.m20;
    out.m01 = A.m00 * B.m01 + A.m01 * B.m11 + A.m02 * B.m21;
    out.m02 = A.m00 * B.m02 + A.m01 * B.m12 + A.m02 * B.m22;
    out.m10 = A.m10 * B.m00 + A.m11 * B.m10 + A.m12 * B.m20;
    out.m11 = A.m10 * B.m01 + A.m11 * B.m11 + A.m12 * B.m21;
    out.m12 = A.m10 * B.m02 + A.m11 * B.m12 + A.m12 * B.m22;
    out.m20 = A.m20 * B.m00 + A.m21 * B.m10 + A.m22 * B.m20;
    out.m21 = A.m20 * B.m01 + A.m21 * B.m11 + A.m22 * B.m21;
    out.m22 = A.m20 * B.m02 + A.m21 * B.m12 + A.m22 * B.m22;
}

inline void dotM(Matrix& out, const Matrix& A, const Matrix& B) {
    matrixProduct(out, A, B);
}

// Convenience forms returning by value, for code that reads better without an out record.
inline Point dotP(const Matrix& M, const Point& p) {
    Point out;
    dotP(out, M, p);
    return out;
}
inline Matrix dotM(const Matrix& A, const Matrix& B) {
    Matrix out;
    dotM(out, A, B);
    return out;
}
