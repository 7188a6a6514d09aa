#include "render/paths.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

#include "geometry/kernel.h"
#include "geometry/settings.h"
#include "render/projection.h"
#include "render_support.h"
#include "test_model.h"

namespace {

using Op = RecordingLayer::Op;
using Points = std::vector<std::array<float, 2>>;

constexpr int kSphere = -1, kPlane = 0, kHyperbolic = 1;

void use(int gen, int choice, int segments) {
    model.settings = Settings{};
    model.settings.gen = gen;
    model.settings.project3D2D = choice;
    model.settings.segments = segments;
}

// The points of every moveTo and lineTo, in order.
Points polyline(const RecordingLayer& layer) {
    Points out;
    for (const auto& c : layer.commands())
        if (c.op == Op::moveTo || c.op == Op::lineTo) out.push_back({c.v[0], c.v[1]});
    return out;
}

Point hyperbolicPoint(double x, double y) {
    return {x, y, std::sqrt(1 + x * x + y * y)};
}

}  // namespace

// Points without an image are skipped: a shape starts at the first corner that has one.
TEST(Paths, PointsWithoutImageAreSkipped) {
    const float m = 1 + std::sqrt(2.0f), r = std::sqrt(0.5f);  // images on the stereographic view
    const Point south{0, 0, -1}, x{1, 0, 0}, y{0, 1, 0};
    struct Row {
        int gen, choice, segments;
        std::vector<Point> corners;
        Points expected;
        int strokes;
    };
    const Row rows[] = {
        {kSphere, 2, 2, {south, x}, {{1, 0}, {m, 0}}, 1},
        {kSphere, 2, 2, {{0.6, 0, -0.8}, {-0.6, 0, -0.8}}, {{3, 0}, {-3, 0}}, 1},
        {kSphere, 1, 5, {x, y}, {}, 0},
        {kSphere, 2, 2, {south, x, y}, {{1, 0}, {r, r}, {0, 1}, {0, m}, {m, 0}, {1, 0}}, 0},
        {kPlane,
         1,
         1,
         {{0, 0, 0}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}},
         {{1, 0}, {1, 1}, {0, 1}, {1, 0}},
         0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(&row - rows);
        RecordingLayer layer;
        use(row.gen, row.choice, row.segments);
        const std::vector<Point>& c = row.corners;
        if (c.size() == 2) path2(target(layer), c[0], c[1], 1);
        if (c.size() == 3) path3(target(layer), c[0], c[1], c[2]);
        if (c.size() == 4) path4(target(layer), c[0], c[1], c[2], c[3]);
        const Points got = polyline(layer);
        ASSERT_EQ(got.size(), row.expected.size());
        for (size_t i = 0; i < got.size(); ++i) {
            EXPECT_NEAR(got[i][0], row.expected[i][0], 1e-4f) << i;
            EXPECT_NEAR(got[i][1], row.expected[i][1], 1e-4f) << i;
        }
        EXPECT_EQ(layer.strokeCount(), row.strokes);
        EXPECT_EQ(layer.fillCount(), 0);
    }
}

// Under the central projection (choice 1) geodesics of the sphere and the hyperboloid are
// straight: every step falls on the chord, and read back onto the surface the steps are one
// n-th of the distance apart.
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
        for (int n : {1, 2, 7, 20, 100}) {
            SCOPED_TRACE(testing::Message() << "gen " << row.gen << " n " << n);
            RecordingLayer layer;
            use(row.gen, 1, n);
            layer.moveTo(0, 0);
            path1(target(layer), row.a, row.b);
            Points pts = polyline(layer);
            ASSERT_EQ(pts.size(), size_t(n) + 1);
            pts.erase(pts.begin());
            const ScreenPoint sa = projXYSelf(model.settings, row.a),
                              sb = projXYSelf(model.settings, row.b);
            const double dx = sb.x - sa.x, dy = sb.y - sa.y, len = std::hypot(dx, dy);
            const double d = dist(model.settings.gen, row.a, row.b);
            Point previous = row.a;
            for (const auto& p : pts) {
                EXPECT_NEAR(((p[0] - sa.x) * dy - (p[1] - sa.y) * dx) / len, 0, 1e-5);
                const Point back = projInv(model.settings, p[0], p[1], nullptr);
                EXPECT_NEAR(dist(model.settings.gen, previous, back), d / n, 1e-5);
                previous = back;
            }
            EXPECT_NEAR(pts.back()[0], sb.x, 1e-6);
            EXPECT_NEAR(pts.back()[1], sb.y, 1e-6);
        }
        // From a point to itself: a move and a line to it, with no step undefined.
        RecordingLayer layer;
        use(row.gen, 0, 20);
        path2(target(layer), row.a, row.a, 1);
        const Points pts = polyline(layer);
        const std::array<float, 2> a{float(row.a.x), float(row.a.y)};
        EXPECT_EQ(pts, (Points{a, a}));
    }
}
