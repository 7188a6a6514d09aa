#include "render/projection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
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

TEST(Projection, ImagesOfKnownPoints) {
    const double e = std::exp(-0.5), z5 = std::sqrt(1 - 0.25 - 0.36);
    struct Row {
        int gen, choice;
        bool mirror;
        Point p;
        float x, y;  // kOff: no image
    };
    const Row rows[] = {
        {kSphere, 2, false, {0, 0, 1}, 0, 0},         // north pole to the centre
        {kSphere, 2, false, {0, 0, -1}, kOff, kOff},  // south pole off-view
        {kSphere, 2, false, {1, 0, 0}, 1, 0},         // equator on the unit circle
        {kHyperbolic, 2, false, {0, 0, 1}, 0, 0},
        {kPlane, 2, false, {3, -4, 1}, 1.5f, -2},  // (x, y, 1) to (x/2, y/2)
        {kPlane, 2, false, {-10, 7, 1}, -5, 3.5f},
        {kPlane, 0, true, {2, 0, 1}, 0.5f, 0},  // inversion in the unit circle
        {kPlane, 0, true, {0, -4, 1}, 0, -0.25f},
        {kPlane, 0, true, {0, 0, 1}, kOff, kOff},        // the centre has no mirror image
        {kSphere, 2, true, {0, 0, -1}, 0, 0},            // no image mirrors to the centre
        {kSphere, 4, false, {0, 0.6, 0.8}, 0.6f, 0.8f},  // the axis views
        {kSphere, 5, false, {0.5, 0.6, z5}, float(0.6 * e), float(z5 * e)},
        {kSphere, 3, false, {0.6, 0, 0.8}, 0, 0.8f},
        {kSphere, 1, false, {1, 0, 0}, kOff, kOff},  // singular: z = 0
        {kSphere, 1, false, {1, 0, 5e-7}, kOff, kOff},
        {kSphere, 1, false, {0.8, 0, 0.6}, 4.0f / 3, 0},
        {kPlane, 4, false, {100, 0.5, 1}, kOff, kOff},  // exp beyond the float range
        {kPlane, 5, false, {-100, -2, 1}, kOff, kOff},
        {kHyperbolic, 4, false, onSurface(1, 800, 0), kOff, kOff},
        {kPlane, -1, false, {0, 0, 1}, kOff, kOff},  // unknown choices
        {kPlane, 6, false, {0, 0, 1}, kOff, kOff},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "gen " << row.gen << " choice " << row.choice
                                        << (row.mirror ? " mirror " : " ") << row.p.x << ","
                                        << row.p.y << "," << row.p.z);
        reset(row.gen, row.choice);
        const ScreenPoint s =
            row.mirror ? projXYMirror(model.settings, row.p) : projXYSelf(model.settings, row.p);
        EXPECT_NEAR(s.x, row.x, 1e-6f);
        EXPECT_NEAR(s.y, row.y, 1e-6f);
        EXPECT_EQ(validS(s), row.x != kOff);
    }
    reset(kSphere, 0);  // the view matrix acts first: a quarter turn about z
    model.settings.pointMatrix = Matrix{1, 0, -1, 0, 1, 0, 0, 0, 0, 1};
    EXPECT_NEAR(projXYSelf(model.settings, {1, 0, 0}).y, 1, 1e-6f);
}

TEST(ProjectionInverse, SpecialCases) {
    reset(kSphere, 2);
    EXPECT_LT(apart(projInv(model.settings, 1, 0, nullptr), {1, 0, 0}), 1e-12);
    EXPECT_LT(apart(projInv(model.settings, 0, 0, nullptr), {0, 0, 1}), 1e-12);

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
    EXPECT_NEAR(projInv(model.settings, 0.3f, 0.4f, &above).x, std::log(0.5), 1e-6);
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
        {kPlane, 3, 0, 0, 0, false, true},           {kPlane, 4, 0, 0, 0, false, true},
        {kPlane, 5, 0, 0, 0, false, true},           {kHyperbolic, 3, 0, 0, 0, false, true},
        {kHyperbolic, 4, 0, 0, 0, false, true},      {kHyperbolic, 5, 0, 0, 0, false, true},
        {kHyperbolic, 1, 0, 1, 0, false, false},     {kHyperbolic, 2, 0, 1, 0, false, false},
        {kHyperbolic, 1, 0, 0, -1, false, false},    {kPlane, -1, 0, 0.5f, 0.5f, false, false},
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

// projInv undoes projXYSelf wherever the projection is one to one; the reference (the point
// itself) picks the turn of the periodic views.
TEST(ProjectionInverse, RoundTripsInEveryGeometryAndChoice) {
    struct Row {
        int gen, choice;
        std::vector<std::pair<double, double>> xy;
    };
    const std::vector<Row> rows = {
        {kSphere, 0, {{0.1, 0.2}, {-0.5, 0.6}, {0.0, -0.9}}},
        {kSphere, 1, {{0.1, 0.2}, {-0.5, 0.6}, {0.3, -0.7}}},
        {kSphere, 2, {{0.1, 0.2}, {-0.5, 0.6}, {0.3, -0.7}}},
        {kSphere, 3, {{0.1, 0.2}, {0.5, -0.6}, {0.9, 0.1}}},
        {kSphere, 4, {{0.7, 0.2}, {0.9, -0.3}, {0.8, 0.5}}},
        {kSphere, 5, {{-0.3, 0.2}, {0.0, -0.6}, {0.5, 0.5}}},
        {kPlane, 0, {{0.1, 0.2}, {-5, 6}, {30, -40}}},
        {kPlane, 1, {{0.1, 0.2}, {-5, 6}, {30, -40}}},
        {kPlane, 2, {{0.1, 0.2}, {-5, 6}, {30, -40}}},
        {kPlane, 4, {{0.1, 0.2}, {-2, 6}, {3, -40}}},
        {kPlane, 5, {{0.1, 0.2}, {-2, 6}, {3, -40}}},
        {kHyperbolic, 0, {{0.1, 0.2}, {-5, 6}, {30, -40}}},
        {kHyperbolic, 1, {{0.1, 0.2}, {-5, 6}, {3, -4}}},
        {kHyperbolic, 2, {{0.1, 0.2}, {-5, 6}, {3, -4}}},
        {kHyperbolic, 3, {{0.1, 0.2}, {2, 1.5}, {3, -2}}},
        // Far out (radius 60 and 750 on the screen) the steps alone stop short of the root.
        {kHyperbolic, 4, {{0.1, 0.2}, {-2, 1.5}, {3, -2}, {5, 1}}},
        {kHyperbolic, 5, {{0.1, 0.2}, {-2, 1.5}, {3, -2}, {-5, 1}}},
    };
    for (const Row& row : rows) {
        for (auto [x, y] : row.xy) {
            SCOPED_TRACE(testing::Message() << "gen " << row.gen << " choice " << row.choice
                                            << " at " << x << "," << y);
            reset(row.gen, row.choice);
            const Point p = onSurface(row.gen, x, y);
            const ScreenPoint s = projXYSelf(model.settings, p);
            ASSERT_TRUE(validS(s));
            const Point q = projInv(model.settings, s.x, s.y, &p);
            ASSERT_TRUE(validP(q));
            // Screen points are floats: allow their rounding, scaled by the size of the point.
            EXPECT_LT(apart(q, p), 2e-5 * (1 + std::fabs(p.x) + std::fabs(p.y) + std::fabs(p.z)));
        }
    }
}
