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

#include "test_model.h"
#include "tiling_support.h"

namespace {

using Triple = std::array<double, 3>;

// The snub tables of (p, q, r): the whole group on the sphere, groupOrder elements elsewhere.
void buildSnub(int p, int q, int r, int groupOrder = 2000, Triple L = {1. / 3, 1. / 3, 1. / 3}) {
    makeTriangle(p, q, r, L[0], L[1], L[2]);
    model.settings.snubForm = true;
    model.settings.groupOrder = groupOrder;
    setPolyPoint(model.specialPoints, model.triangleGroup, model.settings);
    setGroup(model);
    newModules(model);
    setPolyModules(model.groupTables, model.specialPoints);
}

// The shares of the three kinds of edge at P, from the kernel's distance and rotations formed
// from the reflections: P to R·P with R = reflectFV·reflectVE, reflectVE·reflectEF,
// reflectEF·reflectFV.
Triple shares(const Point& P) {
    const TriangleGroup& g = model.triangleGroup;
    const int gen = model.settings.gen;
    const Matrix R[3] = {dotM(g.reflectFV, g.reflectVE), dotM(g.reflectVE, g.reflectEF),
                         dotM(g.reflectEF, g.reflectFV)};
    Triple e;
    for (int k = 0; k < 3; ++k) e[k] = dist(gen, P, dotP(R[k], P));
    const double sum = e[0] + e[1] + e[2];
    return {e[0] / sum, e[1] / sum, e[2] / sum};
}

double largestDifference(const Triple& a, const Triple& b) {
    return std::max({std::fabs(a[0] - b[0]), std::fabs(a[1] - b[1]), std::fabs(a[2] - b[2])});
}

// P on the closed triangle: on the inner side of each of its three lines, up to rounding.
bool inTriangle(const Point& P) {
    const TriangleGroup& g = model.triangleGroup;
    const Point corners[3] = {g.triV, g.triE, g.triF};
    const BPoint lines[3] = {g.bNormalEF, g.bNormalFV, g.bNormalVE};
    for (int k = 0; k < 3; ++k) {
        auto side = [&](const Point& p) {
            return double(lines[k].x) * p.x + double(lines[k].y) * p.y + double(lines[k].z) * p.z;
        };
        if (side(P) * side(corners[k]) < -1e-12) return false;
    }
    return true;
}

// The faces of one copy of the snub, each a cycle of vertex records, whole faces only.
struct Faces {
    std::vector<std::vector<const DataModule*>> faces;
    std::vector<int> kind;  // 0, 1, 2 for the p-, q-, r-gons, 3 for the snub triangles
};

Faces snubFaces(bool mirror) {
    Faces out;
    const ModuleTables& m = model.moduleTables;
    for (const SortedTable<PolyModule>* table :
         {&m.polyModuleV, &m.polyModuleE, &m.polyModuleF, &m.snubModule}) {
        for (int i = 0; i < table->count; ++i) {
            const DataModule* c[12];
            const int n = snubCorners(table->at(i), mirror, c);
            if (n < 3 || std::find(c, c + n, nullptr) != c + n) continue;
            out.faces.emplace_back(c, c + n);
            out.kind.push_back(table->at(i).kind);
        }
    }
    return out;
}

std::vector<Point> vertices(bool odd) {
    std::vector<Point> out;
    const DataTable& t = model.groupTables.dataVEF;
    for (int i = 0; i < t.count; ++i) {
        if ((t.at(i).matrix.sign < 0) == odd) out.push_back(t.at(i).polyPoint);
    }
    return out;
}

bool contains(const std::vector<Point>& points, const Point& p) {
    return std::any_of(points.begin(), points.end(), [&](const Point& q) {
        return std::fabs(p.x - q.x) < 1e-9 && std::fabs(p.y - q.y) < 1e-9 &&
               std::fabs(p.z - q.z) < 1e-9;
    });
}

// Every edge of every face, against the first.
void expectEqualEdges(const Faces& f, double tolerance) {
    const int gen = model.settings.gen;
    const double first = dist(gen, f.faces[0][0]->polyPoint, f.faces[0][1]->polyPoint);
    EXPECT_GT(first, 0.01);
    double worst = 0;
    for (const auto& face : f.faces) {
        for (std::size_t i = 0; i < face.size(); ++i) {
            const double e = dist(gen, face[i]->polyPoint, face[(i + 1) % face.size()]->polyPoint);
            worst = std::max(worst, std::fabs(e - first));
        }
    }
    EXPECT_LT(worst, tolerance);
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
        const TriangleGroup& g = model.triangleGroup;
        const int gen = model.settings.gen;
        std::vector<Triple> targets = {{1. / 3, 1. / 3, 1. / 3}};
        for (int i = 0; i < 6; ++i) {
            const double w[3] = {double(random() % 1000 + 1), double(random() % 1000),
                                 double(random() % 1000)};
            Point P;
            normalize(gen, P,
                      {w[0] * g.triV.x + w[1] * g.triE.x + w[2] * g.triF.x,
                       w[0] * g.triV.y + w[1] * g.triE.y + w[2] * g.triF.y,
                       w[0] * g.triV.z + w[1] * g.triE.z + w[2] * g.triF.z});
            targets.push_back(shares(P));
        }
        for (const Triple& L : targets) {
            SCOPED_TRACE(testing::Message() << p << q << r << " L " << L[0] << " " << L[1]);
            const SnubSolution s = solveSnubPoint(g, gen, L);
            EXPECT_TRUE(s.exact);
            EXPECT_TRUE(inTriangle(s.point));
            EXPECT_LE(largestDifference(shares(s.point), L), gen == 0 ? 1e-9 : 1e-6);
            const Triple e = snubEdgeLengths(g, gen, s.point);
            const Triple own = {e[0] / (e[0] + e[1] + e[2]), e[1] / (e[0] + e[1] + e[2]),
                                e[2] / (e[0] + e[1] + e[2])};
            EXPECT_LE(largestDifference(own, L), snubTolerance(gen));
        }
    }
}

// Two vanishing kinds of edge would need P at two corners at once: no point has them, and the
// one given is at least as near as any point of a fine scan of the triangle.
TEST(SnubPoint, OutOfReachGivesTheNearestPointAndSaysSo) {
    for (auto [p, q, r] : {std::tuple{2, 3, 4}, {2, 4, 4}, {2, 3, 7}}) {
        makeTriangle(p, q, r);
        const TriangleGroup& g = model.triangleGroup;
        const int gen = model.settings.gen;
        for (const Triple& L : {Triple{1, 0, 0}, Triple{0, 0, 1}, Triple{0.9, 0.05, 0.05}}) {
            SCOPED_TRACE(testing::Message() << p << q << r << " L " << L[0] << " " << L[2]);
            const SnubSolution s = solveSnubPoint(g, gen, L);
            EXPECT_FALSE(s.exact);
            auto squares = [&](const Point& P) {
                const Triple r = shares(P);
                return std::pow(r[0] - L[0], 2) + std::pow(r[1] - L[1], 2) +
                       std::pow(r[2] - L[2], 2);
            };
            const double found = squares(s.point);
            constexpr int n = 60;
            for (int i = 0; i <= n; ++i) {
                for (int j = 0; i + j <= n; ++j) {
                    const double b = double(i) / n, c = double(j) / n, a = 1 - b - c;
                    Point P;
                    normalize(gen, P,
                              {a * g.triV.x + b * g.triE.x + c * g.triF.x,
                               a * g.triV.y + b * g.triE.y + c * g.triF.y,
                               a * g.triV.z + b * g.triE.z + c * g.triF.z});
                    ASSERT_LE(found, squares(P) + 1e-12);
                }
            }
        }
    }
    // Through setPolyPoint the flag reaches the picture's points.
    makeTriangle(2, 3, 4, 1, 0, 0);
    model.settings.snubForm = true;
    setPolyPoint(model.specialPoints, model.triangleGroup, model.settings);
    EXPECT_TRUE(model.specialPoints.snubNearest);
    model.settings.lengthV = model.settings.lengthE = model.settings.lengthF = 1. / 3;
    setPolyPoint(model.specialPoints, model.triangleGroup, model.settings);
    EXPECT_FALSE(model.specialPoints.snubNearest);
}

// The snub cube and the snub dodecahedron, and the antiprism of (2, 2, 5): the faces close up into
// a polyhedron of the known counts (every edge on exactly two faces), all edges are equal, and
// every vertex has the faces 3.3.3.3.p (3.3.3.5 for the antiprism) round it, in both copies.
TEST(Snub, UniformSnubPolyhedra) {
    struct Row {
        int p, q, r;
        int vertices, edges, faces;
        std::multiset<int> round;
    };
    const Row rows[] = {{2, 3, 4, 24, 60, 38, {3, 3, 3, 3, 4}},
                        {4, 3, 2, 24, 60, 38, {3, 3, 3, 3, 4}},
                        {2, 3, 5, 60, 150, 92, {3, 3, 3, 3, 5}},
                        {3, 2, 3, 12, 30, 20, {3, 3, 3, 3, 3}},
                        {2, 2, 5, 10, 20, 12, {3, 3, 3, 5}}};
    for (const Row& row : rows) {
        buildSnub(row.p, row.q, row.r);
        for (bool mirror : {false, true}) {
            SCOPED_TRACE(testing::Message() << row.p << row.q << row.r << " mirror " << mirror);
            const Faces f = snubFaces(mirror);
            std::map<std::pair<const DataModule*, const DataModule*>, int> edges;
            std::map<const DataModule*, std::multiset<int>> round;
            for (const auto& face : f.faces) {
                for (std::size_t i = 0; i < face.size(); ++i) {
                    const DataModule* a = face[i];
                    const DataModule* b = face[(i + 1) % face.size()];
                    ++edges[{std::min(a, b), std::max(a, b)}];
                    round[a].insert(int(face.size()));
                    EXPECT_EQ(a->matrix.sign, mirror ? -1 : 1);
                }
            }
            EXPECT_EQ(int(round.size()), row.vertices);
            EXPECT_EQ(int(edges.size()), row.edges);
            EXPECT_EQ(int(f.faces.size()), row.faces);
            for (const auto& [edge, faces] : edges) EXPECT_EQ(faces, 2);
            for (const auto& [vertex, sides] : round) EXPECT_EQ(sides, row.round);
            expectEqualEdges(f, 1e-6);
        }
    }
}

// The odd images of P are the even ones reflected in a mirror, and not the even ones themselves:
// the two copies are mirror images and the snub is chiral.
TEST(Snub, TheTwoCopiesAreMirrorImages) {
    for (auto [p, q, r] : {std::tuple{2, 3, 4}, {2, 3, 5}}) {
        SCOPED_TRACE(testing::Message() << p << q << r);
        buildSnub(p, q, r);
        const std::vector<Point> even = vertices(false), odd = vertices(true);
        ASSERT_EQ(even.size(), odd.size());
        bool symmetric = true;
        for (const Point& v : even) {
            EXPECT_TRUE(contains(odd, dotP(model.triangleGroup.reflectVE, v)));
            symmetric = symmetric && contains(even, dotP(model.triangleGroup.reflectVE, v));
        }
        EXPECT_FALSE(symmetric);
    }
}

// The snub square tiling 3.3.4.3.4: a triangle has √3/4 of a square's area, and the two
// kaleidoscope triangles of one rotation hold one snub triangle and half a square.
TEST(Snub, SnubSquareTilingAreas) {
    buildSnub(2, 4, 4, 400);
    auto area = [](const std::vector<const DataModule*>& face) {
        double twice = 0;
        for (std::size_t i = 0; i < face.size(); ++i) {
            const Point& a = face[i]->polyPoint;
            const Point& b = face[(i + 1) % face.size()]->polyPoint;
            twice += a.x * b.y - a.y * b.x;
        }
        return std::fabs(twice) / 2;
    };
    const Faces f = snubFaces(false);
    double triangle = 0, square = 0;
    int squares = 0;
    for (std::size_t i = 0; i < f.faces.size(); ++i) {
        const double a = area(f.faces[i]);
        if (f.faces[i].size() == 3) {
            if (triangle == 0) triangle = a;
            EXPECT_NEAR(a, triangle, 1e-12);
        } else {
            ASSERT_EQ(f.faces[i].size(), 4u);
            ++squares;
            if (square == 0) square = a;
            EXPECT_NEAR(a, square, 1e-12);
        }
    }
    EXPECT_GT(squares, 10);
    EXPECT_NEAR(triangle / square, std::sqrt(3.0) / 4, 1e-12);
    const TriangleGroup& g = model.triangleGroup;
    const double kaleidoscope = std::fabs((g.triE.x - g.triV.x) * (g.triF.y - g.triV.y) -
                                          (g.triE.y - g.triV.y) * (g.triF.x - g.triV.x)) /
                                2;
    EXPECT_NEAR(triangle + square / 2, 2 * kaleidoscope, 1e-12);
}

// Hyperbolic snubs, with a right angle and without: every whole face has sides of one length.
TEST(Snub, HyperbolicSnubsHaveEqualEdges) {
    for (auto [p, q, r] : {std::tuple{2, 3, 7}, {2, 4, 5}, {3, 3, 4}}) {
        SCOPED_TRACE(testing::Message() << p << q << r);
        buildSnub(p, q, r, 600);
        const Faces f = snubFaces(false);
        ASSERT_GT(f.faces.size(), 50u);
        expectEqualEdges(f, 1e-6);
    }
}
