#include "tiling/snub.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <map>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

#include "tiling_support.h"

namespace {

using Triple = std::array<double, 3>;

// The shares of the three kinds of edge at P, from the kernel's distance and the rotations formed
// from the reflections: P to R·P with R = reflectFV·reflectVE, reflectVE·reflectEF,
// reflectEF·reflectFV.
Triple shares(const Point& P) {
    const TriangleGroup& g = model.triangleGroup;
    const Matrix R[3] = {dotM(g.reflectFV, g.reflectVE), dotM(g.reflectVE, g.reflectEF),
                         dotM(g.reflectEF, g.reflectFV)};
    Triple e;
    for (int k = 0; k < 3; ++k) e[k] = dist(model.settings.gen, P, dotP(R[k], P));
    const double sum = e[0] + e[1] + e[2];
    return {e[0] / sum, e[1] / sum, e[2] / sum};
}

double largestDifference(const Triple& a, const Triple& b) {
    return std::max({std::fabs(a[0] - b[0]), std::fabs(a[1] - b[1]), std::fabs(a[2] - b[2])});
}

// The point with barycentric weights w of V, E, F.
Point weighted(const Triple& w) {
    const TriangleGroup& g = model.triangleGroup;
    Point P, Q;
    linCom(P, w[0], g.triV, w[1], g.triE);
    linCom(Q, 1, P, w[2], g.triF);
    normalize(model.settings.gen, P, Q);
    return P;
}

// P on the closed triangle: on the inner side of each of its three lines, up to rounding.
bool inTriangle(const Point& P) {
    const TriangleGroup& g = model.triangleGroup;
    const Point corners[3] = {g.triV, g.triE, g.triF};
    const BPoint lines[3] = {g.bNormalEF, g.bNormalFV, g.bNormalVE};
    for (int k = 0; k < 3; ++k) {
        Point l;
        smallP(l, lines[k]);
        if (lineDot(l, P) * lineDot(l, corners[k]) < -1e-12) return false;
    }
    return true;
}

}  // namespace

// P lands in the closed triangle with the proportions of a point of the triangle, whichever point
// that was, in every geometry, to 1e-9 on the plane and 1e-6 elsewhere; the equal proportions of
// the uniform snub are always reached.
TEST(SnubPoint, ReachesEveryProportionThatAPointOfTheTriangleHas) {
    srandom(17);
    for (auto [p, q, r] : {std::tuple{2, 3, 4},
                           {2, 3, 5},
                           {2, 2, 7},
                           {2, 2, 2},
                           {3, 3, 3},
                           {2, 4, 4},
                           {6, 3, 2},
                           {2, 3, 7},
                           {3, 3, 4},
                           {12, 12, 12},
                           {2, 12, 3}}) {
        makeTriangle(p, q, r);
        const int gen = model.settings.gen;
        std::vector<Triple> targets = {{1. / 3, 1. / 3, 1. / 3}};
        for (int i = 0; i < 6; ++i) {
            targets.push_back(shares(weighted(
                {double(random() % 1000 + 1), double(random() % 1000), double(random() % 1000)})));
        }
        for (const Triple& L : targets) {
            SCOPED_TRACE(testing::Message() << p << q << r << " L " << L[0] << " " << L[1]);
            const SnubSolution s = solveSnubPoint(model.triangleGroup, gen, L);
            EXPECT_TRUE(s.exact);
            EXPECT_TRUE(inTriangle(s.point));
            EXPECT_LE(largestDifference(shares(s.point), L), gen == 0 ? 1e-9 : 1e-6);
            const Triple e = snubEdgeLengths(model.triangleGroup, gen, s.point);
            const double sum = e[0] + e[1] + e[2];
            EXPECT_LE(largestDifference({e[0] / sum, e[1] / sum, e[2] / sum}, L),
                      snubTolerance(gen));
        }
    }
}

// Two vanishing kinds of edge would need P at two corners at once: no point has them, and the
// one given lies in the triangle and is at least as near as any point of a fine scan of it. Through
// setPolyPoint the flag reaches the picture's points.
TEST(SnubPoint, OutOfReachGivesTheNearestPointAndSaysSo) {
    for (auto [p, q, r] : {std::tuple{2, 3, 4}, {2, 4, 4}, {2, 3, 7}}) {
        makeTriangle(p, q, r);
        for (const Triple& L : {Triple{1, 0, 0}, Triple{0, 0, 1}, Triple{0.9, 0.05, 0.05}}) {
            SCOPED_TRACE(testing::Message() << p << q << r << " L " << L[0] << " " << L[2]);
            const SnubSolution s = solveSnubPoint(model.triangleGroup, model.settings.gen, L);
            EXPECT_FALSE(s.exact);
            EXPECT_TRUE(inTriangle(s.point));
            auto squares = [&](const Point& P) {
                const Triple d = shares(P);
                return std::pow(d[0] - L[0], 2) + std::pow(d[1] - L[1], 2) +
                       std::pow(d[2] - L[2], 2);
            };
            const double found = squares(s.point);
            constexpr int n = 240;
            for (int i = 0; i <= n; ++i) {
                for (int j = 0; i + j <= n; ++j)
                    ASSERT_LE(
                        found,
                        squares(weighted({1 - double(i + j) / n, double(i) / n, double(j) / n})) +
                            1e-12);
            }
        }
    }
    makeTriangle(2, 3, 4, 1, 0, 0);
    model.settings.snubForm = true;
    setPolyPoint(model.specialPoints, model.triangleGroup, model.settings);
    EXPECT_TRUE(model.specialPoints.snubNearest);
    model.settings.lengthV = model.settings.lengthE = model.settings.lengthF = 1. / 3;
    setPolyPoint(model.specialPoints, model.triangleGroup, model.settings);
    EXPECT_FALSE(model.specialPoints.snubNearest);
}

// The snub cube, the snub dodecahedron, the icosahedron as the snub tetrahedron, the pentagonal
// antiprism, and the snubs of the plane and the hyperbolic plane, in both copies: every whole
// face has sides of one length and its corners in the copy's orientation; on the sphere the
// faces close up into a polyhedron of the known counts (every edge on exactly two faces) with
// 3.3.3.3.p (3.3.3.5 for the antiprism) round every vertex. The odd images of P are the even
// ones reflected in a mirror, and not the even ones themselves: the snub is chiral.
TEST(Snub, UniformSnubsAreChiralWithEqualEdgesAndTheKnownFaces) {
    struct Row {
        int p, q, r;
        int vertices, edges, faces;
        std::multiset<int> round;
    };
    const Row rows[] = {{2, 3, 4, 24, 60, 38, {3, 3, 3, 3, 4}},
                        {4, 3, 2, 24, 60, 38, {3, 3, 3, 3, 4}},
                        {2, 3, 5, 60, 150, 92, {3, 3, 3, 3, 5}},
                        {3, 2, 3, 12, 30, 20, {3, 3, 3, 3, 3}},
                        {2, 2, 5, 10, 20, 12, {3, 3, 3, 5}},
                        {2, 4, 4, 0, 0, 0, {}},
                        {2, 3, 7, 0, 0, 0, {}},
                        {2, 4, 5, 0, 0, 0, {}},
                        {3, 3, 4, 0, 0, 0, {}}};
    for (const Row& row : rows) {
        build(row.p, row.q, row.r, 600, true);
        const int gen = model.settings.gen;
        const ModuleTables& m = model.moduleTables;
        for (bool mirror : {false, true}) {
            SCOPED_TRACE(testing::Message() << row.p << row.q << row.r << " mirror " << mirror);
            std::map<std::pair<const DataModule*, const DataModule*>, int> edges;
            std::map<const DataModule*, std::multiset<int>> round;
            int faces = 0;
            double first = 0;
            for (const SortedTable<PolyModule>* table :
                 {&m.polyModuleV, &m.polyModuleE, &m.polyModuleF, &m.snubModule}) {
                for (int i = 0; i < table->count; ++i) {
                    const DataModule* c[12];
                    const int n = snubCorners(table->at(i), mirror, c);
                    if (n < 3 || std::find(c, c + n, nullptr) != c + n) continue;
                    ++faces;
                    for (int k = 0; k < n; ++k) {
                        const DataModule *a = c[k], *b = c[(k + 1) % n];
                        ++edges[{std::min(a, b), std::max(a, b)}];
                        round[a].insert(n);
                        EXPECT_EQ(a->matrix.sign, mirror ? -1 : 1);
                        const double e = dist(gen, a->polyPoint, b->polyPoint);
                        if (first == 0) first = e;
                        ASSERT_NEAR(e, first, 1e-6);
                    }
                }
            }
            EXPECT_GT(first, 0.01);
            if (row.vertices == 0) {
                EXPECT_GT(faces, 50);
                continue;
            }
            EXPECT_EQ(int(round.size()), row.vertices);
            EXPECT_EQ(int(edges.size()), row.edges);
            EXPECT_EQ(faces, row.faces);
            for (const auto& [edge, count] : edges) EXPECT_EQ(count, 2);
            for (const auto& [vertex, sides] : round) EXPECT_EQ(sides, row.round);
        }
        std::vector<Point> images[2];
        const DataTable& t = model.groupTables.dataVEF;
        for (int i = 0; i < t.count; ++i)
            images[t.at(i).matrix.sign < 0].push_back(t.at(i).polyPoint);
        auto contains = [&](int odd, const Point& p) {
            return std::any_of(images[odd].begin(), images[odd].end(),
                               [&](const Point& q) { return near(p, q, 1e-9); });
        };
        bool symmetric = true;
        for (const Point& v : images[0]) {
            const Point mirrored = dotP(model.triangleGroup.reflectVE, v);
            EXPECT_TRUE(contains(1, mirrored) || model.settings.gen >= 0);
            symmetric = symmetric && contains(0, mirrored);
        }
        EXPECT_FALSE(symmetric);
    }
}
