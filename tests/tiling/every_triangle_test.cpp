#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <vector>

#include "tiling_support.h"

namespace {

// A description that holds together: the angles of regular faces round a vertex add up to less
// than, exactly or more than 2π as the geometry says; the sphere and the plane name all their
// tilings; on the sphere Euler's V − E + F = 2, and each face kind counted from the vertices (V
// times its number in the configuration, over its sides) as from the corners.
void expectSound(const Description& d) {
    const std::vector<int>& c = d.vertexConfiguration;
    ASSERT_FALSE(c.empty());
    double angles = 0;  // in units of π
    for (int s : c) angles += (s - 2.0) / s;
    EXPECT_TRUE(d.geometry == "hyperbolic" || d.name) << configurationText(c);
    if (d.geometry != "sphere") {
        EXPECT_FALSE(d.counts);
        EXPECT_TRUE(d.geometry == "plane" ? std::fabs(angles - 2) < 1e-12 : angles > 2 + 1e-6);
        return;
    }
    EXPECT_LT(angles, 2 - 1e-6);
    ASSERT_TRUE(d.counts);
    const PolyhedronCounts& n = *d.counts;
    EXPECT_EQ(n.vertices - n.edges + n.faces, 2);
    long total = 0;
    for (const FaceCount& f : n.facesBySides) {
        EXPECT_EQ(f.count * f.sides, n.vertices * std::count(c.begin(), c.end(), f.sides));
        total += f.count;
    }
    EXPECT_EQ(total, n.faces);
}

}  // namespace

// Every triangle with orders 2..12, set up once and seen by each stage in turn.
// - The triangle: its geometry from the angle sum; V at O, the corners on the model surface; each
//   side's reflection taking the opposite corner across; the incentre inside; each corner's
//   rotation fixing it; the three rotations composing to the identity. (That the rotations have
//   their orders the finite groups' closure below and the recorded pictures show.)
// - The generating point, at each corner, on each side and inside: on the model surface, in the
//   closed triangle, with its edges in the asked proportions (within h; exactly on the plane) and
//   its feet on the sides; proportions of no use, and P moved by hand, below.
// - Descriptions of the tiling at each place of P and of the snub hold together, and naming the
//   corners in another order changes nothing; the snub's equal proportions are always reached.
// - Enumeration: a single pass (order 0) keeps exactly the triangles round V; the largest order,
//   plain or band-limited, finds what was asked or the whole finite group, which is closed under
//   products (and so holds the inverses) and half rotations; every point is finite; the modules
//   hold one tri record per element (but for elements so far out that rounding has stored one
//   triangle twice).
TEST(EveryTriangle, PointsDescriptionsAndEnumerationHoldTogether) {
    const double t = 1. / 3, nan = std::numeric_limits<double>::quiet_NaN();
    const Lengths places[] = {{1, 0, 0},     {0, 1, 0},       {0, 0, 1},
                              {0.5, 0.5, 0}, {0, 0.5, 0.5},   {0.5, 0, 0.5},
                              {t, t, t},     {0.2, 0.3, 0.5}, {0.98, 0.01, 0.01}};
    const SortedTable<Matrix>& group = model.groupTables.matrix;
    for (int p = 2; p <= 12; ++p) {
        for (int q = 2; q <= 12; ++q) {
            for (int r = 2; r <= 12; ++r) {
                SCOPED_TRACE(testing::Message() << p << "," << q << "," << r);
                makeTriangle(p, q, r);
                const int gen = model.settings.gen;
                const TriangleGroup& g = model.triangleGroup;
                const SpecialPoints& s = model.specialPoints;
                const double angles = 1. / p + 1. / q + 1. / r;  // the angle sum over π
                EXPECT_TRUE(gen < 0   ? angles > 1 + 1e-9
                            : gen > 0 ? angles < 1 - 1e-9
                                      : std::fabs(angles - 1) < 1e-9);
                ASSERT_TRUE(near(g.triV, O, 0));
                const Point* corners[3] = {&g.triV, &g.triE, &g.triF};
                const BPoint bLines[3] = {g.bNormalEF, g.bNormalFV, g.bNormalVE};
                const Matrix* reflections[3] = {&g.reflectEF, &g.reflectFV, &g.reflectVE};
                const BMatrix* turns[3] = {&g.bRotateV, &g.bRotateE, &g.bRotateF};
                const Point* polyFeet[3] = {&s.polyEF, &s.polyFV, &s.polyVE};
                Point lines[3];
                Matrix product = identity;
                for (int k = 0; k < 3; ++k) {
                    const Point& c = *corners[k];
                    smallP(lines[k], bLines[k]);
                    EXPECT_NEAR(gen != 0 ? dot(gen, c, c) : c.z, 1, 1e-12);
                    EXPECT_GT(c.z, 0);
                    EXPECT_LT(lineDot(lines[k], c) * lineDot(lines[k], dotP(*reflections[k], c)),
                              0);
                    EXPECT_GT(lineDot(lines[k], s.triVEF) * lineDot(lines[k], c), 0);
                    // The corner's turn fixes it: its two sides pass through it.
                    Matrix turn;
                    smallM(turn, *turns[k]);
                    EXPECT_TRUE(equalsP(dotP(turn, c), c));
                    product = dotM(product, turn);
                }
                EXPECT_TRUE(equalsM(product, identity));
                for (const Lengths& L : places) {
                    SCOPED_TRACE(testing::Message()
                                 << "at " << L[0] << ", " << L[1] << ", " << L[2]);
                    model.settings.lengthV = L[0], model.settings.lengthE = L[1],
                    model.settings.lengthF = L[2];
                    setPolyPoint(model.specialPoints, g, model.settings);
                    const Point& P = s.polyVEF;
                    ASSERT_TRUE(finite(P));
                    EXPECT_NEAR(gen == 0 ? P.z : dot(gen, P, P), 1, 1e-9 * (1 + P.z * P.z));
                    EXPECT_GT(P.z, 0);
                    const Lengths ratio = ratios(P);
                    EXPECT_TRUE(inTriangle(P));
                    for (int k = 0; k < 3; ++k) {
                        EXPECT_NEAR(ratio[k], L[k], gen == 0 ? 1e-12 : h * (1 + 1e-9)) << k;
                        EXPECT_NEAR(lineDot(lines[k], *polyFeet[k]), 0,
                                    1e-9 * (1 + std::fabs(polyFeet[k]->z)));
                    }
                    const Description d = describeTiling(p, q, r, L[0], L[1], L[2]);
                    expectSound(d);
                    EXPECT_EQ(summary(describeTiling(q, r, p, L[1], L[2], L[0])), summary(d));
                    EXPECT_EQ(summary(describeTiling(q, p, r, L[1], L[0], L[2])), summary(d));
                    // Unequal edges make the same tiling, not uniform.
                    Lengths even = L;
                    const int sides = (L[0] > 0) + (L[1] > 0) + (L[2] > 0);
                    for (double& l : even) l = l > 0 ? 1.0 / sides : 0;
                    EXPECT_EQ(summary(describeTiling(p, q, r, even[0], even[1], even[2])),
                              summary(d));
                    EXPECT_EQ(d.uniform, even == L);
                }
                // Proportions that are no use (all zero, not a number, negative) still give a
                // finite point. Moving P sets the proportions from its edges, and placing P from
                // them finds the same point again.
                for (const Lengths& L :
                     {Lengths{0, 0, 0}, Lengths{nan, 0.5, 0.5}, Lengths{-1, 1, 1}}) {
                    model.settings.lengthV = L[0], model.settings.lengthE = L[1],
                    model.settings.lengthF = L[2];
                    setPolyPoint(model.specialPoints, g, model.settings);
                    EXPECT_TRUE(finite(s.polyVEF) && finite(s.polyEF)) << L[0] << " " << L[1];
                }
                const Point moved = model.specialPoints.polyVEF = weighted({0.6, 0.25, 0.15});
                setLengthFromPoint(model);
                const Lengths edges = ratios(moved);
                EXPECT_TRUE(near(lengths(), Point{edges[0], edges[1], edges[2]}, 1e-15));
                setPolyPoint(model.specialPoints, g, model.settings);
                EXPECT_NEAR(dist(gen, moved, s.polyVEF), 0, 1e-5);
                const Description snub = describeSnub(p, q, r, 1. / 3, 1. / 3, 1. / 3);
                EXPECT_TRUE(snub.uniform && !snub.nearest);
                expectSound(snub);

                model.settings.groupOrder = 0;
                ASSERT_EQ(setGroup(model), 2 * p);
                for (int i = 0; i < group.count; ++i) EXPECT_TRUE(equalsP(dotP(group.at(i), O), O));
                model.settings.groupOrder = 2000;
                model.settings.project3D2D = 2 + (p + q + r) % 2;
                const int count = setGroup(model);
                const int most = gen < 0 ? model.settings.groupOrderMax : kCapacity;
                ASSERT_TRUE(count >= std::min(2000, most) && count <= most) << count;
                for (int i = 0; i < count; ++i) ASSERT_TRUE(finite(dotP(group.at(i), O)));
                for (DataTable* table : dataTables()) {
                    for (int i = 0; i < table->count; ++i)
                        ASSERT_TRUE(finite(table->at(i).polyPoint));
                }
                newModules(model);
                ASSERT_LE(model.moduleTables.triModule.count, count);
                ASSERT_GE(model.moduleTables.triModule.count, count * 99 / 100);
                if (gen >= 0) continue;
                int rotations = 0;
                for (int i = 0; i < count; ++i) {
                    const Matrix& A = group.at(i);
                    rotations += A.sign == 1;
                    for (int j = 0; j < count; ++j) ASSERT_TRUE(inGroup(dotM(A, group.at(j))));
                }
                EXPECT_EQ(rotations, count / 2);
            }
        }
    }
}
