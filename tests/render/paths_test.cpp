#include "render/paths.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

#include "geometry/kernel.h"
#include "geometry/settings.h"
#include "render/projection.h"
#include "render_support.h"

namespace {

using Op = RecordingLayer::Op;

constexpr int kSphere = -1, kPlane = 0, kHyperbolic = 1;

void use(int gen, int choice, int segments) {
    settings.gen = gen;
    settings.project3D2D = choice;
    settings.segments = segments;
}

// The points of every moveTo and lineTo, in order.
std::vector<std::array<float, 2>> polyline(const RecordingLayer& layer) {
    std::vector<std::array<float, 2>> out;
    for (const auto& c : layer.commands()) {
        if (c.op == Op::moveTo || c.op == Op::lineTo) out.push_back({c.v[0], c.v[1]});
    }
    return out;
}

Point hyperbolicPoint(double x, double y) {
    return {x, y, std::sqrt(1 + x * x + y * y)};
}

// A polygon of n steps round the origin of the plane with every entry present.
struct PlanePolygon {
    std::array<DataModule, 1 + 4 * 12> records;
    PolyModule poly;

    explicit PlanePolygon(int n) {
        poly.n = n;
        poly.centre = &records[0];
        records[0].polyPoint = {0, 0, 1};
        for (int i = 0; i < n; ++i) {
            auto at = [&](int k, double radius) {
                const double a = 2 * PI * (4 * i + k) / (4.0 * n);
                DataModule& d = records[1 + 4 * i + k];
                d.polyPoint = {radius * std::cos(a), radius * std::sin(a), 1};
                return &d;
            };
            poly.cornerA[i] = at(0, 1);
            poly.sideA[i] = at(1, 0.9);
            poly.cornerB[i] = at(2, 1);
            poly.sideB[i] = at(3, 0.9);
        }
    }
};

}  // namespace

TEST(Paths, SingleSegmentEdgeIsOneStraightLine) {
    RecordingScope scope;
    use(kPlane, 0, 1);
    path2Self({1, 2, 1}, {3, -1, 1}, 0.25f);
    expectCommands(scope.layer, {{Op::removeAllPoints},
                                 {Op::moveTo, {1, 2}},
                                 {Op::lineTo, {3, -1}},
                                 {Op::setLineWidth, {0.25f}},
                                 {Op::stroke}});
}

TEST(Paths, EdgeWithoutImageAtItsFirstEndStartsAtTheOther) {
    RecordingScope scope;
    use(kSphere, 2, 2);
    // The south pole has no stereographic image; the midpoint of the quarter circle maps to
    // (1 + √2, 0).
    path2Self({0, 0, -1}, {1, 0, 0}, 0.5f);
    const float m = 1 + std::sqrt(2.0f);
    expectCommands(scope.layer, {{Op::removeAllPoints},
                                 {Op::moveTo, {1, 0}},
                                 {Op::lineTo, {m, 0}},
                                 {Op::setLineWidth, {0.5f}},
                                 {Op::stroke}});
}

TEST(Paths, EdgeWithoutAnyImageStrokesNothing) {
    RecordingScope scope;
    use(kSphere, 1, 5);
    path2Self({1, 0, 0}, {0, 1, 0}, 1);
    expectCommands(scope.layer, {{Op::removeAllPoints}});
    EXPECT_EQ(scope.layer.strokeCount(), 0);
}

TEST(Paths, InteriorPointWithoutImageIsBridged) {
    RecordingScope scope;
    use(kSphere, 2, 2);
    // The great circle from (0.6, 0, −0.8) to (−0.6, 0, −0.8) runs through the south pole.
    path2Self({0.6, 0, -0.8}, {-0.6, 0, -0.8}, 1);
    expectCommands(scope.layer,
                   {{Op::removeAllPoints},
                    {Op::moveTo, {3, 0}},
                    {Op::lineTo, {-3, 0}},
                    {Op::setLineWidth, {1}},
                    {Op::stroke}},
                   1e-4f);
}

TEST(Paths, EdgeOfLengthZeroIsAMoveAndALineToOnePoint) {
    for (int gen : {kSphere, kPlane, kHyperbolic}) {
        SCOPED_TRACE(gen);
        RecordingScope scope;
        use(gen, 0, 20);
        const Point p =
            gen < 0 ? Point{0, 0.6, 0.8} : (gen == 0 ? Point{2, 3, 1} : hyperbolicPoint(2, 3));
        path2Self(p, p, 1);
        const float x = float(p.x), y = float(p.y);
        expectCommands(scope.layer, {{Op::removeAllPoints},
                                     {Op::moveTo, {x, y}},
                                     {Op::lineTo, {x, y}},
                                     {Op::setLineWidth, {1}},
                                     {Op::stroke}});
    }
}

TEST(Paths, TriangleWithoutImageAtItsFirstCornerStartsAtTheSecond) {
    RecordingScope scope;
    use(kSphere, 2, 2);
    path3Self({0, 0, -1}, {1, 0, 0}, {0, 1, 0});
    const float r = std::sqrt(0.5f), m = 1 + std::sqrt(2.0f);
    // b→c, c→a (a itself skipped), a→b.
    expectCommands(scope.layer, {{Op::removeAllPoints},
                                 {Op::moveTo, {1, 0}},
                                 {Op::lineTo, {r, r}},
                                 {Op::lineTo, {0, 1}},
                                 {Op::lineTo, {0, m}},
                                 {Op::lineTo, {m, 0}},
                                 {Op::lineTo, {1, 0}}});
    EXPECT_EQ(scope.layer.fillCount(), 0);
}

TEST(Paths, ShapeWithoutAnyImageLeavesThePathEmpty) {
    RecordingScope scope;
    use(kSphere, 1, 3);
    path3Self({1, 0, 0}, {0, 1, 0}, {-1, 0, 0});
    path4Self({1, 0, 0}, {0, 1, 0}, {-1, 0, 0}, {0, -1, 0});
    expectCommands(scope.layer, {{Op::removeAllPoints}, {Op::removeAllPoints}});
}

TEST(Paths, QuadrilateralCyclesFromTheFirstCornerWithAnImage) {
    RecordingScope scope;
    use(kPlane, 0, 1);
    path4Self({0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1});
    expectCommands(scope.layer, {{Op::removeAllPoints},
                                 {Op::moveTo, {0, 0}},
                                 {Op::lineTo, {1, 0}},
                                 {Op::lineTo, {1, 1}},
                                 {Op::lineTo, {0, 1}},
                                 {Op::lineTo, {0, 0}}});
    scope.layer.clear();
    use(kPlane, 1, 1);  // choice 1 on the plane: z = 0 has no image
    path4Self({0, 0, 0}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1});
    expectCommands(scope.layer, {{Op::removeAllPoints},
                                 {Op::moveTo, {1, 0}},
                                 {Op::lineTo, {1, 1}},
                                 {Op::lineTo, {0, 1}},
                                 {Op::lineTo, {1, 0}}});
}

TEST(Paths, MirrorFormsInvertInTheUnitCircle) {
    RecordingScope scope;
    use(kPlane, 0, 1);
    path2Mirror({2, 0, 1}, {0, 4, 1}, 1);
    expectCommands(scope.layer, {{Op::removeAllPoints},
                                 {Op::moveTo, {0.5f, 0}},
                                 {Op::lineTo, {0, 0.25f}},
                                 {Op::setLineWidth, {1}},
                                 {Op::stroke}});
}

// Under the central projection (choice 1) great circles of the sphere and geodesics of the
// hyperboloid are straight lines: every interpolated point must fall on the chord. Read back
// onto the surface, consecutive points are one n-th of the distance apart.
TEST(Paths, GeodesicStepsLieOnTheGeodesicEvenlySpaced) {
    struct Row {
        int gen;
        Point a, b;
    };
    const Row rows[] = {
        {kSphere, {0.6, 0, 0.8}, {0, 0.8, 0.6}},
        {kSphere, {-0.48, 0.6, 0.64}, {0.36, -0.48, 0.8}},
        {kHyperbolic, hyperbolicPoint(1.5, -0.5), hyperbolicPoint(-2, 1)},
        {kHyperbolic, hyperbolicPoint(0.2, 3), hyperbolicPoint(2.5, 0.1)},
        {kPlane, {1, 2, 1}, {-3, 5, 1}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "gen " << row.gen);
        for (int n : {1, 2, 7, 20, 100}) {
            SCOPED_TRACE(n);
            RecordingScope scope;
            use(row.gen, 1, n);
            scope.layer.moveTo(0, 0);
            path1Self(row.a, row.b);
            auto pts = polyline(scope.layer);
            ASSERT_EQ(pts.size(), size_t(n) + 1);
            pts.erase(pts.begin());
            const ScreenPoint sa = projXYSelf(row.a), sb = projXYSelf(row.b);
            const double dx = sb.x - sa.x, dy = sb.y - sa.y, len = std::hypot(dx, dy);
            const double d = dist(row.a, row.b);
            Point previous = row.a;
            for (const auto& p : pts) {
                const double off = ((p[0] - sa.x) * dy - (p[1] - sa.y) * dx) / len;
                EXPECT_NEAR(off, 0, 1e-5);
                const Point back = projInv(p[0], p[1], nullptr);
                EXPECT_NEAR(dist(previous, back), d / n, 1e-5);
                previous = back;
            }
            EXPECT_NEAR(pts.back()[0], sb.x, 1e-6);
            EXPECT_NEAR(pts.back()[1], sb.y, 1e-6);
        }
    }
}

TEST(Paths, CompletePolygonOutlineListsItsCorners) {
    for (int n : {2, 3, 7, 12}) {
        SCOPED_TRACE(n);
        PlanePolygon p(n);
        buildPolyOutline(p.poly);
        ASSERT_EQ(pathPoint.count, 2 * n);
        for (int i = 0; i < n; ++i) {
            EXPECT_EQ(pathPoint.point[2 * i], &p.poly.cornerA[i]->polyPoint);
            EXPECT_EQ(pathPoint.point[2 * i + 1], &p.poly.cornerB[i]->polyPoint);
        }
    }
}

TEST(Paths, HexagonIsFilledAsOneClosedOutline) {
    RecordingScope scope;
    use(kPlane, 0, 1);
    PlanePolygon p(3);
    pathPolySelf(p.poly);
    auto at = [&](const DataModule* d) {
        return ExpectedCommand{Op::lineTo, {float(d->polyPoint.x), float(d->polyPoint.y)}};
    };
    const PolyModule& q = p.poly;
    const ExpectedCommand move{Op::moveTo, at(q.cornerA[0]).v};
    expectCommands(scope.layer, {{Op::removeAllPoints},
                                 move,
                                 at(q.cornerB[0]),
                                 at(q.cornerA[1]),
                                 at(q.cornerB[1]),
                                 at(q.cornerA[2]),
                                 at(q.cornerB[2]),
                                 at(q.cornerA[0]),
                                 {Op::fill}});
}

TEST(Paths, RimPolygonRunsThroughCentreAndSidePoints) {
    PlanePolygon p(3);
    PolyModule& q = p.poly;
    q.cornerA[0] = nullptr;
    buildPolyOutline(q);
    const Point* expected[] = {&q.centre->polyPoint,     &q.sideA[0]->polyPoint,
                               &q.cornerB[0]->polyPoint, &q.cornerA[1]->polyPoint,
                               &q.cornerB[1]->polyPoint, &q.cornerA[2]->polyPoint,
                               &q.cornerB[2]->polyPoint, &q.sideB[2]->polyPoint};
    ASSERT_EQ(pathPoint.count, 8);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(pathPoint.point[i], expected[i]) << i;

    // A missing cornerB on a side: the side point follows cornerA, and the centre and the side
    // point stand for the corner in the sideB walk.
    PlanePolygon r(2);
    r.poly.cornerB[1] = nullptr;
    buildPolyOutline(r.poly);
    const PolyModule& s = r.poly;
    const Point* expected2[] = {&s.cornerA[0]->polyPoint, &s.cornerB[0]->polyPoint,
                                &s.cornerA[1]->polyPoint, &s.sideA[1]->polyPoint,
                                &s.centre->polyPoint,     &s.sideB[1]->polyPoint};
    ASSERT_EQ(pathPoint.count, 6);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(pathPoint.point[i], expected2[i]) << i;

    // Missing side points drop their steps altogether.
    PlanePolygon t(3);
    for (int i = 0; i < 3; ++i) t.poly.sideB[i] = nullptr;
    buildPolyOutline(t.poly);
    EXPECT_EQ(pathPoint.count, 3);
}

TEST(Paths, PolygonWithoutImagesFillsNothing) {
    RecordingScope scope;
    use(kPlane, 1, 4);
    PlanePolygon p(3);
    for (DataModule& d : p.records) d.polyPoint.z = 0;  // all on the singular line of choice 1
    pathPolySelf(p.poly);
    expectCommands(scope.layer, {{Op::removeAllPoints}});
}

TEST(Paths, LargestPolygonFitsTheOutlineList) {
    // Every corner missing: each of the twelve steps lists centre, sideA, centre, sideB.
    PlanePolygon p(12);
    p.poly.cornerA.fill(nullptr);
    p.poly.cornerB.fill(nullptr);
    buildPolyOutline(p.poly);
    ASSERT_EQ(pathPoint.count, 48);
    EXPECT_EQ(pathPoint.point[46], &p.poly.centre->polyPoint);
    EXPECT_EQ(pathPoint.point[47], &p.poly.sideB[11]->polyPoint);
}
