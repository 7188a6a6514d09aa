#pragma once

// Points and comparisons for the tests of the three geometries.

#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "geometry/kernel.h"

namespace {

constexpr int kGeometries[] = {-1, 0, 1};  // a value of gen for the sphere, plane, hyperbolic
const Point O{0, 0, 1};

// The point of the model surface at distance d from O in the direction a.
inline Point at(int gen, double d, double a) {
    const double s = gen < 0 ? std::sin(d) : gen == 0 ? d : std::sinh(d);
    const double c = gen < 0 ? std::cos(d) : gen == 0 ? 1 : std::cosh(d);
    return {s * std::cos(a), s * std::sin(a), c};
}

inline double lineDot(const Point& l, const Point& p) {
    return l.x * p.x + l.y * p.y + l.z * p.z;
}

inline testing::AssertionResult near(const Point& a, const Point& b, double tolerance) {
    if (std::fabs(a.x - b.x) <= tolerance && std::fabs(a.y - b.y) <= tolerance &&
        std::fabs(a.z - b.z) <= tolerance)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "(" << a.x << ", " << a.y << ", " << a.z << ") against ("
                                       << b.x << ", " << b.y << ", " << b.z << ")";
}

// Every entry, the sign included, within the tolerance.
inline testing::AssertionResult near(const Matrix& A, const Matrix& B, double tolerance) {
    const std::array<double, 10> a{A.sign, A.m00, A.m01, A.m02, A.m10,
                                   A.m11,  A.m12, A.m20, A.m21, A.m22};
    const std::array<double, 10> b{B.sign, B.m00, B.m01, B.m02, B.m10,
                                   B.m11,  B.m12, B.m20, B.m21, B.m22};
    for (int i = 0; i < 10; ++i) {
        if (!(std::fabs(a[i] - b[i]) <= tolerance))
            return testing::AssertionFailure()
                   << "entry " << i << ": " << a[i] << " against " << b[i];
    }
    return testing::AssertionSuccess();
}

}  // namespace
