#include "render/projection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>
#include <vector>

#include "geometry/kernel.h"
#include "geometry/settings.h"
#include "platform/beep.h"
#include "test_model.h"

namespace {

constexpr int kSphere = -1, kPlane = 0, kHyperbolic = 1;
constexpr float kOff = kOffView;

void reset(int gen, int choice) {
    model.settings = Settings{};
    model.settings.gen = gen;
    model.settings.project3D2D = choice;
}

Point onSurface(int gen, double x, double y) {
    if (gen < 0) return {x, y, std::sqrt(1 - x * x - y * y)};
    if (gen == 0) return {x, y, 1};
    return {x, y, std::sqrt(1 + x * x + y * y)};
}

double apart(const Point& p, const Point& q) {
    return std::max({std::fabs(p.x - q.x), std::fabs(p.y - q.y), std::fabs(p.z - q.z)});
}

}  // namespace

// Points near a singular plane, beyond the float range or in unknown choices have no image.
TEST(Projection, PointsWithoutImageAreOffView) {
    const std::tuple<int, int, Point> rows[] = {
        {kSphere, 2, {0, 0, -1}},   {kSphere, 1, {1, 0, 0}},    {kSphere, 1, {1, 0, 5e-7}},
        {kPlane, 4, {100, 0.5, 1}}, {kPlane, 5, {-100, PI, 1}}, {kHyperbolic, 4, {800, 0, 800}},
        {kPlane, -1, {0, 0, 1}},    {kPlane, 6, {0, 0, 1}}};
    for (const auto& [gen, choice, p] : rows) {
        SCOPED_TRACE(testing::Message() << "gen " << gen << " choice " << choice);
        reset(gen, choice);
        EXPECT_FALSE(validS(projXYSelf(model.settings, p)));
    }
    // The centre has no inverted image; a point without a direct image is inverted to the centre.
    reset(kPlane, 0);
    EXPECT_FALSE(validS(projXYMirror(model.settings, {0, 0, 1})));
    reset(kSphere, 2);
    const ScreenPoint centre = projXYMirror(model.settings, {0, 0, -1});
    EXPECT_TRUE(centre.x == 0 && centre.y == 0);
}

TEST(ProjectionInverse, SpecialCases) {
    // Orthographic outside the circle: the screen point is inverted first.
    reset(kSphere, 0);
    const Point outside = projInv(model.settings, 1.5f, 2.0f, nullptr);
    EXPECT_LT(apart(outside, projInv(model.settings, 1.5f / 6.25f, 2.0f / 6.25f, nullptr)), 1e-6);
    EXPECT_GT(outside.z, 0);

    // The periodic view picks the turn nearest the reference.
    reset(kPlane, 4);
    const double theta = std::atan2(double(0.3f), double(0.4f));
    const Point above{0, 2 * PI + theta + 0.1, 1}, below{0, -2 * PI + theta - 0.4, 1};
    EXPECT_NEAR(projInv(model.settings, 0.3f, 0.4f, &above).y, theta + 2 * PI, 1e-12);
    EXPECT_NEAR(projInv(model.settings, 0.3f, 0.4f, &below).y, theta - 2 * PI, 1e-12);
    EXPECT_NEAR(projInv(model.settings, 0.3f, 0.4f, nullptr).y, theta, 1e-12);
}

// The centre beeps and gives the off-model point when it cannot be grabbed (rotation mode, the
// axis views off the sphere); points without a preimage and unknown choices are invalid, silent.
TEST(ProjectionInverse, CentreBeepsAndUndefinedPointsAreInvalid) {
    struct Row {
        int gen, choice, mouseMode;
        float x, y;
        bool valid, beeps;
    };
    const Row rows[] = {
        {kSphere, 2, 1, 0, 0, false, true},          {kSphere, 2, 2, 0, 0, true, false},
        {kPlane, 3, 0, 0, 0, false, true},           {kHyperbolic, 5, 0, 0, 0, false, true},
        {kHyperbolic, 1, 0, 1, 0, false, false},     {kHyperbolic, 2, 0, 0, -1, false, false},
        {kPlane, 1000, 0, 0.5f, 0.5f, false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "gen " << row.gen << " choice " << row.choice << " mode "
                                        << row.mouseMode << " at " << row.x << "," << row.y);
        reset(row.gen, row.choice);
        model.settings.mouseMode = row.mouseMode;
        const int beeps = beepCount();
        EXPECT_EQ(validP(projInv(model.settings, row.x, row.y, nullptr)), row.valid);
        EXPECT_EQ(beepCount(), beeps + (row.beeps ? 1 : 0));
    }
}

// projInv undoes projXYSelf wherever the projection is one to one (not the plane seen along x,
// nor the sign of x in that view; choice 4 finds the sphere near x = 1 only); the reference (the
// point itself) picks the turn of the periodic views. Far out on the hyperbolic plane (radius 60
// and 750 on the screen under choices 4 and 5) the steps alone stop short of the root.
TEST(ProjectionInverse, RoundTripsInEveryGeometryAndChoice) {
    const std::vector<std::pair<double, double>> points[3] = {
        {{-0.5, 0.6}, {0.1, 0.2}, {0.8, -0.5}, {0.9, 0.1}},
        {{0.1, 0.2}, {-2, 6}, {3, -40}},
        {{0.1, 0.2}, {-2, 1.5}, {3, -2}, {5, 1}, {-5, 1}}};
    for (int gen = kSphere; gen <= kHyperbolic; ++gen) {
        for (int choice = 0; choice < 6; ++choice) {
            for (auto [x, y] : points[gen + 1]) {
                if ((choice == 3 && (gen == kPlane || x < 0)) ||
                    (gen < 0 && choice == 4 && x < 0.7))
                    continue;
                SCOPED_TRACE(testing::Message()
                             << "gen " << gen << " choice " << choice << " at " << x << "," << y);
                reset(gen, choice);
                const Point p = onSurface(gen, x, y);
                const ScreenPoint s = projXYSelf(model.settings, p);
                ASSERT_TRUE(validS(s));
                const Point q = projInv(model.settings, s.x, s.y, &p);
                ASSERT_TRUE(validP(q));
                // Screen points are floats: allow their rounding, scaled by the size of the point.
                EXPECT_LT(apart(q, p),
                          2e-5 * (1 + std::fabs(p.x) + std::fabs(p.y) + std::fabs(p.z)));
            }
        }
    }
}
