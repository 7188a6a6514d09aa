#include "geometry/kernel.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <tuple>

#include "geometry/settings.h"

// The record the geometry under test is read from.
namespace {
Settings settings;
}  // namespace

namespace {

constexpr int kGeometries[] = {-1, 0, 1};  // a value of gen for the sphere, plane, hyperbolic

const char* name(int gen) {
    return gen < 0 ? "sphere" : gen == 0 ? "plane" : "hyperbolic";
}

// A point of the model surface of the current geometry over (x, y).
Point surface(double x, double y) {
    if (settings.gen < 0) return {x, y, std::sqrt(1 - x * x - y * y)};
    if (settings.gen == 0) return {x, y, 1};
    return {x, y, std::sqrt(1 + x * x + y * y)};
}

// The ten numbers of a matrix record in order (sign, then the rows).
std::array<double, 10> entries(const Matrix& M) {
    return {M.sign, M.m00, M.m01, M.m02, M.m10, M.m11, M.m12, M.m20, M.m21, M.m22};
}

void expectMatrixNear(const Matrix& A, const Matrix& B, double tolerance) {
    const std::array<double, 10> a = entries(A), b = entries(B);
    for (int i = 0; i < 10; ++i) EXPECT_NEAR(a[i], b[i], tolerance) << "entry " << i;
}

void expectPointNear(const Point& a, const Point& b, double tolerance) {
    EXPECT_NEAR(a.x, b.x, tolerance);
    EXPECT_NEAR(a.y, b.y, tolerance);
    EXPECT_NEAR(a.z, b.z, tolerance);
}

}  // namespace

TEST(Kernel, ComparePointsUsesTheToleranceComponentByComponent) {
    settings = Settings{};
    struct Row {
        const char* what;
        Point a, b;
        int expected;
    };
    const Row rows[] = {
        {"5e-7 apart in x", {1 + 5e-7, 0, 0}, {1, 0, 0}, 0},
        {"3e-6 above in x, near 1", {1 + 3e-6, 0, 0}, {1, 0, 0}, 1},
        {"3e-6 below in x, near 1", {1 - 3e-6, 0, 0}, {1, 0, 0}, -1},
        // Near 1 the tolerance is (|b| + 1)·h = 2e-6: 1.9e-6 still agrees.
        {"1.9e-6 apart near 1", {1 + 1.9e-6, 0, 0}, {1, 0, 0}, 0},
        // Near 1000 it has grown to about 1e-3.
        {"5e-4 apart near 1000", {1000.0005, 0, 0}, {1000, 0, 0}, 0},
        {"y decides when x agrees", {0, 1, 5}, {0, 2, 0}, -1},
        {"x decides before y", {1, 0, 0}, {0, 9, 9}, 1},
        {"z decides last", {0, 0, 2}, {0, 0, 1}, 1},
        {"x agrees within tolerance, then y", {5e-7, 2, 0}, {0, 1, 0}, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(compareP(row.a, row.b), row.expected);
        EXPECT_EQ(equalsP(row.a, row.b), row.expected == 0);
    }
}

TEST(Kernel, CompareMatricesIgnoresTheSignButEqualsSeesIt) {
    settings = Settings{};
    const Matrix rotation{1, 0, -1, 0, 1, 0, 0, 0, 0, 1};
    const Matrix reflection{-1, 0, -1, 0, 1, 0, 0, 0, 0, 1};
    EXPECT_EQ(compareM(rotation, reflection), 0);
    EXPECT_FALSE(equalsM(rotation, reflection));
    EXPECT_TRUE(equalsM(rotation, rotation));

    Matrix nudged = rotation;
    nudged.m22 += 5e-7;
    EXPECT_EQ(compareM(nudged, rotation), 0);
    nudged.m22 += 3e-6;
    EXPECT_EQ(compareM(nudged, rotation), 1);
    // The entries are walked in row order: an earlier entry decides over a later one.
    const Matrix late{1, 0, -1, 0, 1, 0, 0, 0, 1, 1};
    const Matrix both{1, 0, -2, 0, 1, 0, 0, 0, 1, 1};
    EXPECT_EQ(compareM(both, rotation), -1);
    EXPECT_EQ(compareM(late, rotation), 1);
}

TEST(Kernel, DistanceFromAPointToItselfIsZeroEvenAfterRounding) {
    for (int gen : kGeometries) {
        SCOPED_TRACE(name(gen));
        settings = Settings{};
        settings.gen = gen;
        for (auto [x, y] : {std::tuple{0.0, 0.0}, {0.3, 0.4}, {0.1, -0.7}, {0.577, 0.577}}) {
            Point p = surface(x, y);
            normalize(settings.gen, p, p);  // may leave B(p, p) a rounding away from 1
            const double d = dist(settings.gen, p, p);
            EXPECT_FALSE(std::isnan(d));
            EXPECT_EQ(d, 0);
        }
    }
    settings.gen = -1;
    // The cosine computed for two antipodal points can fall a rounding below −1; acos would give
    // NaN there.
    Point a;
    normalize(settings.gen, a, Point{0.1, 0.7, 0.3});
    const Point b{-a.x, -a.y, -a.z};
    EXPECT_NEAR(dist(settings.gen, a, b), PI, 1e-7);
    EXPECT_FALSE(std::isnan(dist(settings.gen, a, b)));
}

TEST(Kernel, PlaneNormalizeKeepsTheSignOfZ) {
    settings = Settings{};
    settings.gen = 0;
    Point p, q;
    normalize(settings.gen, p, Point{2, 4, -2});
    normalize(settings.gen, q, Point{3, 6, 3});
    expectPointNear(p, Point{1, 2, -1}, 1e-15);
    expectPointNear(q, Point{1, 2, 1}, 1e-15);
}

TEST(Kernel, TranslationsCarryTheOriginToAPointAndBack) {
    const Point O{0, 0, 1};
    for (int gen : kGeometries) {
        SCOPED_TRACE(name(gen));
        settings = Settings{};
        settings.gen = gen;
        for (auto [x, y] : {std::tuple{0.3, 0.4}, {-0.2, 0.1}, {0.0, -0.9}, {0.0, 0.0}}) {
            SCOPED_TRACE(testing::Message() << "p = (" << x << ", " << y << ")");
            const Point p = surface(x, y);
            Matrix T, Tinv;
            translateM(settings.gen, T, p);
            translateMInv(settings.gen, Tinv, p);
            expectPointNear(dotP(T, O), p, 1e-14);
            expectPointNear(dotP(Tinv, p), O, 1e-14);
            expectMatrixNear(dotM(T, Tinv), identity, 1e-14);
            Matrix Minv;  // the general inverse of a translation composed with a reflection
            Matrix R;
            reflectM(settings.gen, R, Point{0, 1, 0});
            inv(Minv, dotM(T, R));
            EXPECT_EQ(Minv.sign, -1);
            expectMatrixNear(dotM(Minv, dotM(T, R)), identity, 1e-13);
            // The extended-precision twins agree.
            BMatrix B;
            translateBM(settings.gen, B, BPoint{p.x, p.y, p.z});
            Matrix rounded;
            smallM(rounded, B);
            expectMatrixNear(rounded, T, 1e-15);
        }
    }
}

TEST(Kernel, AReflectionSquaredIsTheIdentityAndFixesItsLine) {
    for (int gen : kGeometries) {
        SCOPED_TRACE(name(gen));
        settings = Settings{};
        settings.gen = gen;
        Point line;  // unit under the line form of the geometry
        normalizeLine(settings.gen, line, Point{0.6, -0.5, 0.2});
        EXPECT_NEAR(lengthLine(settings.gen, line), 1, 1e-15);
        Matrix R;
        reflectM(settings.gen, R, line);
        EXPECT_EQ(R.sign, -1);
        const Matrix RR = dotM(R, R);
        EXPECT_EQ(RR.sign, 1);
        expectMatrixNear(RR, identity, 1e-14);

        // A point of the surface on the line stays where it is.
        Point q;
        if (gen == 0) {
            q = {-line.x * line.z, -line.y * line.z, 1};
        } else {
            cross(q, line, Point{1, 0, 0});  // orthogonal to the covector: on the line
            normalize(settings.gen, q, q);
        }
        EXPECT_NEAR(line.x * q.x + line.y * q.y + line.z * q.z, 0, 1e-15);
        expectPointNear(dotP(R, q), q, 1e-14);
    }
}

TEST(Kernel, RotateXYScalesOnThePlaneOnly) {
    settings = Settings{};
    settings.gen = 0;
    const Point a{1, 0, 1}, b{0, 2, 1};
    Matrix M;
    rotateMXY(settings.gen, M, a, b);
    // b is carried exactly onto a: half its length, turned a quarter.
    expectPointNear(dotP(M, b), Point{1, 0, 1}, 1e-15);
    expectPointNear(dotP(M, Point{0, 4, 1}), Point{2, 0, 1}, 1e-15);
    for (int gen : {-1, 1}) {
        SCOPED_TRACE(name(gen));
        settings.gen = gen;
        rotateMXY(settings.gen, M, a, b);
        const Point image = dotP(M, Point{0, 2, 0});
        EXPECT_NEAR(image.x, 2, 1e-15);  // turned, not scaled
        EXPECT_NEAR(image.y, 0, 1e-15);
        EXPECT_EQ(M.sign, 1);
    }
}
