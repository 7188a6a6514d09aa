#include "render/paths.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

#include "geometry/kernel.h"
#include "geometry/settings.h"
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

}  // namespace

// Points without an image are skipped: a shape starts at the first corner that has one.
TEST(Paths, PointsWithoutImageAreSkippedAndAPointToItselfIsNoStep) {
    const float m = 1 + std::sqrt(2.0f), r = std::sqrt(0.5f);  // images on the stereographic view
    const Point south{0, 0, -1}, x{1, 0, 0}, y{0, 1, 0}, o{0, 0, 0}, a{1, 0, 1}, b{1, 1, 1};
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
        {kPlane, 1, 1, {o, a, b, {0, 1, 1}}, {{1, 0}, {1, 1}, {0, 1}, {1, 0}}, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(&row - rows);
        RecordingLayer layer;
        use(row.gen, row.choice, row.segments);
        const std::vector<Point>& c = row.corners;
        const PathTarget t = pathTarget(model, layer);
        if (c.size() == 2) path2(t, c[0], c[1], 1);
        if (c.size() == 3) path3(t, c[0], c[1], c[2]);
        if (c.size() == 4) path4(t, c[0], c[1], c[2], c[3]);
        const Points got = polyline(layer);
        ASSERT_EQ(got.size(), row.expected.size());
        for (size_t i = 0; i < got.size(); ++i) {
            EXPECT_NEAR(got[i][0], row.expected[i][0], 1e-4f) << i;
            EXPECT_NEAR(got[i][1], row.expected[i][1], 1e-4f) << i;
        }
        EXPECT_EQ(layer.strokeCount(), row.strokes);
        EXPECT_EQ(layer.fillCount(), 0);
    }
    // From a point to itself: a move and a line to it, no step undefined.
    const Point alone[] = {{0.6, 0, 0.8}, {1, 2, 1}, {2, 1, std::sqrt(6.0)}};
    for (int gen = kSphere; gen <= kHyperbolic; ++gen) {
        const Point& p = alone[gen + 1];
        RecordingLayer layer;
        use(gen, 0, 20);
        path2(pathTarget(model, layer), p, p, 1);
        const std::array<float, 2> at{float(p.x), float(p.y)};
        EXPECT_EQ(polyline(layer), (Points{at, at}));
    }
}
