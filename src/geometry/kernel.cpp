#include "geometry/kernel.h"

#include <cmath>

const Matrix identity{};
const BMatrix bIdentity{};
const Matrix inversion{-1, -1, 0, 0, 0, -1, 0, 0, 0, -1};

namespace {

enum class Geometry { sphere, plane, hyperbolic };

Geometry current(int gen) {
    if (gen < 0) return Geometry::sphere;
    if (gen == 0) return Geometry::plane;
    return Geometry::hyperbolic;
}

}  // namespace

double dot(int gen, const Point& p, const Point& q) {
    switch (current(gen)) {
        case Geometry::sphere:
            return p.x * q.x + p.y * q.y + p.z * q.z;
        case Geometry::plane:
            return p.z * q.z;
        case Geometry::hyperbolic:
            return p.z * q.z - p.x * q.x - p.y * q.y;
    }
    return 0;
}

double length(int gen, const Point& p) {
    if (current(gen) == Geometry::plane) return std::fabs(p.z);
    return std::sqrt(dot(gen, p, p));
}

double lengthLine(int gen, const Point& l) {
    switch (current(gen)) {
        case Geometry::sphere:
            return std::sqrt(l.x * l.x + l.y * l.y + l.z * l.z);
        case Geometry::plane:
            return std::sqrt(l.x * l.x + l.y * l.y);
        case Geometry::hyperbolic:
            return std::sqrt(l.x * l.x + l.y * l.y - l.z * l.z);
    }
    return 0;
}

double norm2(const Point& p) {
    return p.x * p.x + p.y * p.y;
}
double normX(const Point& p) {
    return p.x * p.x;
}

double normY(int gen, const Point& p) {
    double a = 0;
    switch (current(gen)) {
        case Geometry::sphere:
            a = std::atan2(p.y, p.z);
            break;
        case Geometry::plane:
            a = p.y;
            break;
        case Geometry::hyperbolic:
            a = std::atanh(p.y / p.z);
            break;
    }
    return a * a;
}

double lengthColor(const Point& p) {
    return std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z);
}

double dist(int gen, const Point& p, const Point& q) {
    switch (current(gen)) {
        case Geometry::sphere: {
            const double c = dot(gen, p, q) / std::sqrt(dot(gen, p, p) * dot(gen, q, q));
            if (c > 1) return 0;
            // Rounding can push the cosine of antipodal points just below −1, where acos is NaN.
            if (c < -1) return PI;
            return std::acos(c);
        }
        case Geometry::plane: {
            const double dx = p.x - q.x, dy = p.y - q.y;
            return std::sqrt(dx * dx + dy * dy);
        }
        case Geometry::hyperbolic: {
            const double c = dot(gen, p, q) / std::sqrt(dot(gen, q, q) * dot(gen, p, p));
            if (c < 1) return 0;
            return std::acosh(c);
        }
    }
    return 0;
}

void linCom(Point& out, double s, const Point& a, double t, const Point& b) {
    out = {s * a.x + t * b.x, s * a.y + t * b.y, s * a.z + t * b.z};
}

void cross(Point& out, const Point& a, const Point& b) {
    out = {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

void normalize(int gen, Point& out, const Point& p) {
    const double l = length(gen, p);
    out = {p.x / l, p.y / l, p.z / l};
}

void normalizeLine(int gen, Point& out, const Point& l) {
    const double n = lengthLine(gen, l);
    out = {l.x / n, l.y / n, l.z / n};
}

void midpoint(int gen, Point& out, const Point& a, const Point& b) {
    normalize(gen, out, Point{a.x + b.x, a.y + b.y, a.z + b.z});
}

void smallP(Point& out, const BPoint& p) {
    out = {static_cast<double>(p.x), static_cast<double>(p.y), static_cast<double>(p.z)};
}

namespace {

// Reflection in the unit line (x, y, z), sign −1.
template <class M, class T>
void reflection(M& out, T x, T y, T z, Geometry g) {
    out.sign = -1;
    out.m00 = 1 - 2 * x * x, out.m01 = -2 * x * y, out.m02 = -2 * x * z;
    out.m10 = -2 * x * y, out.m11 = 1 - 2 * y * y, out.m12 = -2 * y * z;
    switch (g) {
        case Geometry::sphere:
            out.m20 = -2 * x * z, out.m21 = -2 * y * z, out.m22 = 1 - 2 * z * z;
            break;
        case Geometry::plane:
            out.m20 = 0, out.m21 = 0, out.m22 = 1;
            break;
        case Geometry::hyperbolic:
            out.m20 = 2 * x * z, out.m21 = 2 * y * z, out.m22 = 1 + 2 * z * z;
            break;
    }
}

// The translation carrying O to (x, y, z) (forward) or (x, y, z) to O (inverse), sign +1.
template <class M, class T>
void translation(M& out, T x, T y, T z, bool inverse, Geometry g) {
    const T c = 1 / (z + 1);
    const T s = inverse ? -1 : 1;
    out.sign = 1;
    switch (g) {
        case Geometry::sphere:
            out.m00 = 1 - c * x * x, out.m01 = -c * x * y, out.m02 = s * x;
            out.m10 = -c * x * y, out.m11 = 1 - c * y * y, out.m12 = s * y;
            out.m20 = -s * x, out.m21 = -s * y, out.m22 = z;
            break;
        case Geometry::plane:
            out.m00 = 1, out.m01 = 0, out.m02 = s * x;
            out.m10 = 0, out.m11 = 1, out.m12 = s * y;
            out.m20 = 0, out.m21 = 0, out.m22 = z;
            break;
        case Geometry::hyperbolic:
            out.m00 = 1 + c * x * x, out.m01 = c * x * y, out.m02 = s * x;
            out.m10 = c * x * y, out.m11 = 1 + c * y * y, out.m12 = s * y;
            out.m20 = s * x, out.m21 = s * y, out.m22 = z;
            break;
    }
}

}  // namespace

void dotBM(BMatrix& out, const BMatrix& A, const BMatrix& B) {
    matrixProduct(out, A, B);
}

void inv(Matrix& out, const Matrix& M) {
    // Adjugate over the stored sign, which is the determinant of every isometry made here.
    const double s = M.sign;
    out.sign = 1 / s;
    out.m00 = (M.m11 * M.m22 - M.m12 * M.m21) / s;
    out.m01 = (M.m02 * M.m21 - M.m01 * M.m22) / s;
    out.m02 = (M.m01 * M.m12 - M.m02 * M.m11) / s;
    out.m10 = (M.m12 * M.m20 - M.m10 * M.m22) / s;
    out.m11 = (M.m00 * M.m22 - M.m02 * M.m20) / s;
    out.m12 = (M.m02 * M.m10 - M.m00 * M.m12) / s;
    out.m20 = (M.m10 * M.m21 - M.m11 * M.m20) / s;
    out.m21 = (M.m01 * M.m20 - M.m00 * M.m21) / s;
    out.m22 = (M.m00 * M.m11 - M.m01 * M.m10) / s;
}

void smallM(Matrix& out, const BMatrix& M) {
    out = {static_cast<double>(M.sign), static_cast<double>(M.m00), static_cast<double>(M.m01),
           static_cast<double>(M.m02),  static_cast<double>(M.m10), static_cast<double>(M.m11),
           static_cast<double>(M.m12),  static_cast<double>(M.m20), static_cast<double>(M.m21),
           static_cast<double>(M.m22)};
}

void reflectM(int gen, Matrix& out, const Point& l) {
    reflection(out, l.x, l.y, l.z, current(gen));
}
void reflectBM(int gen, BMatrix& out, const BPoint& l) {
    reflection(out, l.x, l.y, l.z, current(gen));
}

void translateM(int gen, Matrix& out, const Point& p) {
    translation(out, p.x, p.y, p.z, false, current(gen));
}
void translateMInv(int gen, Matrix& out, const Point& p) {
    translation(out, p.x, p.y, p.z, true, current(gen));
}
void translateBM(int gen, BMatrix& out, const BPoint& p) {
    translation(out, p.x, p.y, p.z, false, current(gen));
}
void rotateMXY(int gen, Matrix& out, const Point& a, const Point& b) {
    const double C = a.x * b.x + a.y * b.y;
    const double S = a.x * b.y - a.y * b.x;
    // On the plane the divisor |b|² makes it a rotation with scaling that carries b onto a.
    const double d = gen != 0 ? std::sqrt(C * C + S * S) : b.x * b.x + b.y * b.y;
    out = {1, C / d, S / d, 0, -S / d, C / d, 0, 0, 0, 1};
}

bool equalsP(const Point& a, const Point& b) {
    return compareP(a, b) == 0;
}

bool equalsM(const Matrix& A, const Matrix& B) {
    return A.sign == B.sign && compareM(A, B) == 0;
}

bool validP(const Point& p) {
    return p.x < kOffModel && p.y < kOffModel && p.z < kOffModel;
}

double minDouble(double a, double b) {
    return a < b ? a : b;
}
double maxDouble(double a, double b) {
    return a > b ? a : b;
}
