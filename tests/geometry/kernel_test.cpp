#include "geometry/kernel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

#include "geometry_support.h"

TEST(Kernel, ComparisonsAgreeWithinARelativeToleranceAndGoComponentByComponent) {
    struct Row {
        Point a, b;
        int expected;
    };
    // Near 1 the tolerance is (|b| + 1)·h = 2e-6; near 1000 it is about 1e-3. x decides first,
    // then y, then z.
    const Row rows[] = {
        {{1 + 1.9e-6, 0, 0}, {1, 0, 0}, 0}, {{1 + 3e-6, 0, 0}, {1, 0, 0}, 1},
        {{1 - 3e-6, 0, 0}, {1, 0, 0}, -1},  {{1000.0005, 0, 0}, {1000, 0, 0}, 0},
        {{0, 1, 5}, {0, 2, 0}, -1},         {{1, 0, 0}, {0, 9, 9}, 1},
        {{0, 0, 2}, {0, 0, 1}, 1},          {{5e-7, 2, 0}, {0, 1, 0}, 1},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(compareP(row.a, row.b), row.expected) << row.a.x << " " << row.a.y;
        EXPECT_EQ(equalsP(row.a, row.b), row.expected == 0) << row.a.x << " " << row.a.y;
    }
    // Matrices: the nine entries in rows, the sign left to equalsM.
    const Matrix rotation{1, 0, -1, 0, 1, 0, 0, 0, 0, 1},
        reflection{-1, 0, -1, 0, 1, 0, 0, 0, 0, 1};
    EXPECT_EQ(compareM(rotation, reflection), 0);
    EXPECT_FALSE(equalsM(rotation, reflection));
    Matrix nudged = rotation;
    nudged.m22 += 1.9e-6;
    EXPECT_TRUE(equalsM(nudged, rotation));
    nudged.m22 += 2e-6;
    EXPECT_EQ(compareM(nudged, rotation), 1);
}

// In each geometry: the distance from O along a geodesic is the parameter of the geodesic;
// translations carry O to their point and back; a reflection is an involution that reverses
// orientation and the side of its line; and motions keep the surface and every distance.
// (Midpoints are the feet of the tiling's points, checked there.)
TEST(Kernel, MotionsKeepTheSurfaceAndTheDistances) {
    for (int gen : kGeometries) {
        for (auto [d, a] : {std::pair{0.0, 0.0}, {0.5, 0.9}, {1.2, -2.0}, {2.9, 3.0}}) {
            SCOPED_TRACE(testing::Message() << "gen " << gen << " at " << d << ", " << a);
            const Point p = at(gen, d, a), q = at(gen, 0.7, 2.2 - a);
            EXPECT_NEAR(dist(gen, O, p), d, 1e-9);
            // Nearly equal and nearly antipodal points, whose cosine rounding can push beyond ±1.
            const Point n = at(gen, d + 1e-10, a);
            EXPECT_NEAR(dist(gen, p, n), 0, 1e-7);
            if (gen < 0) {
                EXPECT_NEAR(dist(gen, p, Point{-n.x, -n.y, -n.z}), PI, 1e-7);
            }

            Matrix T, Tinv, R, TR, TRinv;
            translateM(gen, T, p);
            translateMInv(gen, Tinv, p);
            EXPECT_TRUE(near(dotP(T, O), p, 1e-13));
            EXPECT_TRUE(near(dotP(Tinv, p), O, 1e-13));
            EXPECT_TRUE(equalsM(dotM(T, Tinv), identity));

            Point l;
            normalizeLine(gen, l, Point{0.6, -0.5, 0.2 + a / 10});
            reflectM(gen, R, l);
            EXPECT_TRUE(equalsM(dotM(R, R), identity));
            EXPECT_NEAR(lineDot(l, dotP(R, p)), -lineDot(l, p), 1e-12);
            TR = dotM(T, R);
            inv(TRinv, TR);
            EXPECT_EQ(TR.sign, -1);
            EXPECT_TRUE(equalsM(dotM(TRinv, TR), identity));
            for (const Matrix& M : {T, R, TR}) {
                const Point Mp = dotP(M, p), Mq = dotP(M, q);
                EXPECT_NEAR(dot(gen, Mq, Mq), dot(gen, q, q), 1e-9 * Mq.z * Mq.z);
                EXPECT_NEAR(dist(gen, Mp, Mq), dist(gen, p, q), 1e-8);
            }
        }
    }
}

// (Turning on the sphere and the hyperbolic plane is seen in every turned recorded picture.)
TEST(Kernel, OnThePlaneRotateXYAlsoScalesAndNormalizeKeepsTheSide) {
    const Point a{1, 0, 1}, b{0, 2, 1};
    Matrix M;
    rotateMXY(0, M, a, b);  // b carried onto a: half its length, turned a quarter
    EXPECT_TRUE(near(dotP(M, b), a, 1e-15));
    EXPECT_TRUE(near(dotP(M, Point{0, 4, 1}), Point{2, 0, 1}, 1e-15));
    Point n;  // normalizing on the plane divides by |z|, keeping the side
    normalize(0, n, Point{2, 4, -2});
    EXPECT_TRUE(near(n, Point{1, 2, -1}, 0));
}
