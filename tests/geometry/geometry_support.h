#pragma once

// Points and comparisons for the tests of the three geometries.

#include <gtest/gtest.h>

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

}  // namespace
