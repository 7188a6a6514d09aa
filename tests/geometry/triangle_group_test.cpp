#include "geometry/triangle_group.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <set>
#include <tuple>

#include "geometry/settings.h"
#include "geometry_support.h"

namespace {

Settings withOrders(int p, int q, int r) {
    Settings s;
    s.genV = p, s.genE = q, s.genF = r;
    setGenType(s);
    return s;
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
        Settings s = withOrders(row.p, row.q, row.r);
        EXPECT_EQ(s.gen, row.gen);
        setGroupOrderMax(s);
        EXPECT_EQ(s.groupOrderMax, row.groupOrderMax);
    }
}

TEST(TriangleGroup, RandomGeneratorsMatchTheAskedGeometry) {
    srandom(12345);
    for (int geometry : {0, 1, 2}) {
        std::set<std::tuple<int, int, int>> seen;
        std::set<int> orders[3];
        for (int i = 0; i < 300; ++i) {
            Settings s;
            s.geometry = geometry;
            ranGen(s);
            const Settings again = withOrders(s.genV, s.genE, s.genF);
            ASSERT_EQ(s.gen, again.gen);
            ASSERT_EQ(geometry, s.gen < 0 ? 0 : s.gen == 0 ? 1 : 2);
            seen.insert({s.genV, s.genE, s.genF});
            const int drawn[3] = {s.genV, s.genE, s.genF};
            for (int k = 0; k < 3; ++k) orders[k].insert(drawn[k]);
        }
        // Orders 2..12 in every place, all of them on the hyperbolic plane; the plane has exactly
        // ten arrangements of them.
        for (const std::set<int>& o : orders) {
            EXPECT_TRUE(*o.begin() >= 2 && *o.rbegin() <= 12);
            EXPECT_TRUE(geometry != 2 || o.size() == 11u);
        }
        EXPECT_TRUE(geometry != 1 || seen.size() == 10u);
    }
}

// Every triangle with orders 2..12: V at O, E on the y axis, F at positive x, the corners on the
// model surface; each side a unit line through its two corners, its reflection taking the
// opposite corner across; each corner's rotation fixes it and comes back to the identity after
// exactly its order of turns. (That reflections are involutions fixing their line is the
// kernel's, tested there.)
TEST(TriangleGroup, EveryTriangleIsPlacedConsistently) {
    for (int p = 2; p <= 12; ++p) {
        for (int q = 2; q <= 12; ++q) {
            for (int r = 2; r <= 12; ++r) {
                SCOPED_TRACE(testing::Message() << p << "," << q << "," << r);
                const Settings s = withOrders(p, q, r);
                TriangleGroup g;
                setTriangle(g, s);
                const Point corners[3] = {g.triV, g.triE, g.triF};
                ASSERT_TRUE(near(g.triV, O, 0));
                EXPECT_EQ(g.triE.x, 0);
                EXPECT_GT(g.triF.x, 0);
                for (const Point& c : corners) {
                    EXPECT_NEAR(s.gen != 0 ? dot(s.gen, c, c) : c.z, 1, 1e-12);
                    EXPECT_GT(c.z, 0);
                }
                const BPoint lines[3] = {g.bNormalEF, g.bNormalFV, g.bNormalVE};
                const Matrix reflections[3] = {g.reflectEF, g.reflectFV, g.reflectVE};
                const BMatrix rotations[3] = {g.bRotateV, g.bRotateE, g.bRotateF};
                const int orders[3] = {p, q, r};
                Matrix product = identity;
                for (int k = 0; k < 3; ++k) {
                    SCOPED_TRACE(testing::Message() << "side and corner " << k);
                    Point line;
                    smallP(line, lines[k]);
                    const Matrix& R = reflections[k];
                    const Point &opposite = corners[k], &a = corners[(k + 1) % 3],
                                &b = corners[(k + 2) % 3];
                    EXPECT_NEAR(lengthLine(s.gen, line), 1, 1e-12);
                    EXPECT_NEAR(lineDot(line, a), 0, 1e-12);
                    EXPECT_NEAR(lineDot(line, b), 0, 1e-12);
                    EXPECT_LT(lineDot(line, opposite) * lineDot(line, dotP(R, opposite)), 0);

                    Matrix turn;
                    smallM(turn, rotations[k]);
                    EXPECT_TRUE(equalsP(dotP(turn, opposite), opposite));
                    product = dotM(product, turn);
                    // Far corners have large entries: the tolerance grows with them.
                    const double size =
                        1 + std::fabs(turn.m02) + std::fabs(turn.m12) + std::fabs(turn.m22);
                    BMatrix power = bIdentity;
                    for (int i = 1; i <= orders[k]; ++i) {
                        BMatrix next;
                        dotBM(next, power, rotations[k]);
                        power = next;
                        Matrix rounded;
                        smallM(rounded, power);
                        EXPECT_EQ(bool(near(rounded, identity, 1e-9 * size * size)), i == orders[k])
                            << "after " << i << " turns";
                    }
                }
                // The three turns in turn compose to the identity.
                EXPECT_TRUE(equalsM(product, identity));
            }
        }
    }
}
