#include "geometry/triangle_group.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <set>
#include <tuple>

#include "geometry/kernel.h"
#include "geometry/settings.h"

// The record the geometry under test is read from.
namespace {
Settings settings;
TriangleGroup triangleGroup;
}  // namespace

namespace {

void setOrders(int p, int q, int r) {
    settings = Settings{};
    settings.genV = p;
    settings.genE = q;
    settings.genF = r;
    setGenType(settings);
}

double lineDot(const Point& l, const Point& p) {
    return l.x * p.x + l.y * p.y + l.z * p.z;
}

// The ten numbers of a matrix record in order (sign, then the rows).
std::array<double, 10> entries(const Matrix& M) {
    return {M.sign, M.m00, M.m01, M.m02, M.m10, M.m11, M.m12, M.m20, M.m21, M.m22};
}

bool matrixNear(const Matrix& A, const Matrix& B, double tolerance) {
    const std::array<double, 10> a = entries(A), b = entries(B);
    for (int i = 0; i < 10; ++i) {
        if (!(std::fabs(a[i] - b[i]) <= tolerance)) return false;
    }
    return true;
}

}  // namespace

TEST(TriangleGroup, GenAndGroupOrderOfTheListedTriples) {
    struct Row {
        int p, q, r, gen, groupOrderMax;
    };
    const Row rows[] = {
        {3, 3, 3, 0, 0},   {2, 3, 5, -1, 120}, {5, 3, 2, -1, 120}, {2, 3, 4, -2, 48},
        {2, 3, 3, -3, 24}, {2, 2, 7, -4, 28},  {7, 2, 2, -4, 28},  {2, 2, 2, -4, 8},
        {7, 3, 2, 1, 0},   {8, 3, 2, 2, 0},    {2, 4, 4, 0, 0},    {12, 12, 12, 1296, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.p << "," << row.q << "," << row.r);
        setOrders(row.p, row.q, row.r);
        EXPECT_EQ(settings.gen, row.gen);
        setGroupOrderMax(settings);
        EXPECT_EQ(settings.groupOrderMax, row.groupOrderMax);
    }
}

TEST(TriangleGroup, RandomGeneratorsMatchTheAskedGeometry) {
    srandom(12345);
    for (int geometry : {0, 1, 2}) {
        SCOPED_TRACE(testing::Message() << "geometry " << geometry);
        std::set<std::tuple<int, int, int>> seen;
        for (int i = 0; i < 300; ++i) {
            settings = Settings{};
            settings.geometry = geometry;
            ranGen(settings);
            const int p = settings.genV, q = settings.genE, r = settings.genF;
            ASSERT_TRUE(p >= 2 && p <= 12 && q >= 2 && q <= 12 && r >= 2 && r <= 12);
            const int gen = settings.gen;
            setGenType(settings);
            EXPECT_EQ(gen, settings.gen);
            EXPECT_EQ(geometry, gen < 0 ? 0 : gen == 0 ? 1 : 2);
            seen.insert({p, q, r});
        }
        // The plane has exactly ten arrangements with orders up to 12.
        if (geometry == 1) {
            EXPECT_EQ(seen.size(), 10u);
            for (auto [p, q, r] : seen) {
                std::multiset<int> orders{p, q, r};
                EXPECT_TRUE(orders == std::multiset<int>({3, 3, 3}) ||
                            orders == std::multiset<int>({2, 4, 4}) ||
                            orders == std::multiset<int>({2, 3, 6}));
            }
        }
    }
}

// Every triangle with orders 2..12: the corners on the model surface, the sides of unit size
// through their corners, the reflections involutions that fix their side, the angles right.
TEST(TriangleGroup, EveryTriangleIsPlacedConsistently) {
    for (int p = 2; p <= 12; ++p) {
        for (int q = 2; q <= 12; ++q) {
            for (int r = 2; r <= 12; ++r) {
                SCOPED_TRACE(testing::Message() << p << "," << q << "," << r);
                setOrders(p, q, r);
                setTriangle(triangleGroup, settings);
                const TriangleGroup& g = triangleGroup;
                const Point V = g.triV, E = g.triE, F = g.triF;
                ASSERT_EQ(V.x, 0);
                ASSERT_EQ(V.y, 0);
                ASSERT_EQ(V.z, 1);
                EXPECT_EQ(E.x, 0);                    // side VE on the y axis
                EXPECT_GT(F.x, 0);                    // F on the side of positive x
                for (const Point& corner : {E, F}) {  // on the model surface
                    EXPECT_NEAR(settings.gen != 0 ? dot(settings.gen, corner, corner) : corner.z, 1,
                                1e-12);
                }
                EXPECT_GT(E.z, 0);
                EXPECT_GT(F.z, 0);

                Point lines[3];
                smallP(lines[0], g.bNormalEF);
                smallP(lines[1], g.bNormalFV);
                smallP(lines[2], g.bNormalVE);
                const Matrix* reflections[3] = {&g.reflectEF, &g.reflectFV, &g.reflectVE};
                const Point* ends[3][2] = {{&E, &F}, {&F, &V}, {&V, &E}};
                const Point* opposite[3] = {&V, &E, &F};
                for (int k = 0; k < 3; ++k) {
                    SCOPED_TRACE(testing::Message() << "side " << k);
                    EXPECT_NEAR(lengthLine(settings.gen, lines[k]), 1, 1e-12);
                    EXPECT_NEAR(lineDot(lines[k], *ends[k][0]), 0, 1e-12);
                    EXPECT_NEAR(lineDot(lines[k], *ends[k][1]), 0, 1e-12);
                    const Matrix& R = *reflections[k];
                    EXPECT_EQ(R.sign, -1);
                    const Matrix RR = dotM(R, R);
                    EXPECT_TRUE(equalsM(RR, identity));
                    EXPECT_TRUE(equalsP(dotP(R, *ends[k][0]), *ends[k][0]));
                    EXPECT_TRUE(equalsP(dotP(R, *ends[k][1]), *ends[k][1]));
                    // The opposite corner goes to the other side of the line.
                    EXPECT_LT(
                        lineDot(lines[k], *opposite[k]) * lineDot(lines[k], dotP(R, *opposite[k])),
                        0);
                }
                // The rotation about each corner is the product of the reflections in its two
                // sides, fixes the corner and has the corner's order: that many turns bring back
                // the identity, fewer do not. Far corners have large entries, so the tolerance
                // grows with them.
                const BMatrix* rotations[3] = {&g.bRotateV, &g.bRotateE, &g.bRotateF};
                const Point* corners[3] = {&V, &E, &F};
                const int orders[3] = {p, q, r};
                for (int c = 0; c < 3; ++c) {
                    SCOPED_TRACE(testing::Message() << "corner " << c);
                    Matrix rotation;
                    smallM(rotation, *rotations[c]);
                    EXPECT_EQ(rotation.sign, 1);
                    EXPECT_TRUE(equalsP(dotP(rotation, *corners[c]), *corners[c]));
                    double size = 0;
                    for (int i = 1; i < 10; ++i) {
                        size = std::max(size, std::fabs(entries(rotation)[i]));
                    }
                    const double tolerance = 1e-9 * size * size;
                    BMatrix power = bIdentity;
                    for (int i = 1; i <= orders[c]; ++i) {
                        BMatrix next;
                        dotBM(next, power, *rotations[c]);
                        power = next;
                        Matrix rounded;
                        smallM(rounded, power);
                        const bool back = matrixNear(rounded, identity, tolerance);
                        EXPECT_EQ(back, i == orders[c]) << "after " << i << " turns";
                    }
                }
            }
        }
    }
}
