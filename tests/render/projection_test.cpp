#include "render/projection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "geometry/kernel.h"
#include "geometry/settings.h"
#include "platform/beep.h"

namespace {

constexpr int kSphere = -1, kPlane = 0, kHyperbolic = 1;

void reset(int gen, int choice) {
    settings = Settings{};
    settings.gen = gen;
    settings.project3D2D = choice;
}

Point onSurface(int gen, double x, double y) {
    if (gen < 0) return {x, y, std::sqrt(1 - x * x - y * y)};
    if (gen == 0) return {x, y, 1};
    return {x, y, std::sqrt(1 + x * x + y * y)};
}

void expectScreen(ScreenPoint s, float x, float y, float tol = 1e-6f) {
    EXPECT_NEAR(s.x, x, tol);
    EXPECT_NEAR(s.y, y, tol);
}

void expectPoint(const Point& p, const Point& q, double tol = 1e-6) {
    EXPECT_NEAR(p.x, q.x, tol);
    EXPECT_NEAR(p.y, q.y, tol);
    EXPECT_NEAR(p.z, q.z, tol);
}

bool isOffView(ScreenPoint s) {
    return s.x == kOffView && s.y == kOffView;
}

}  // namespace

TEST(Projection, DefaultStereographicImages) {
    reset(kSphere, 2);
    expectScreen(projXYSelf({0, 0, 1}), 0, 0);
    EXPECT_TRUE(isOffView(projXYSelf({0, 0, -1})));
    expectScreen(projXYSelf({1, 0, 0}), 1, 0);

    reset(kHyperbolic, 2);
    expectScreen(projXYSelf({0, 0, 1}), 0, 0);

    reset(kPlane, 2);
    for (auto [x, y] : {std::pair{3.0, -4.0}, {0.5, 0.25}, {-10.0, 7.0}}) {
        SCOPED_TRACE(testing::Message() << x << "," << y);
        expectScreen(projXYSelf({x, y, 1}), float(x / 2), float(y / 2));
    }
}

TEST(Projection, MirrorIsInversionInTheUnitCircle) {
    reset(kPlane, 0);
    expectScreen(projXYMirror({2, 0, 1}), 0.5f, 0);
    expectScreen(projXYMirror({0, -4, 1}), 0, -0.25f);
    // The centre has no mirror image; a point without image mirrors to the centre.
    EXPECT_TRUE(isOffView(projXYMirror({0, 0, 1})));
    reset(kSphere, 2);
    const ScreenPoint m = projXYMirror({0, 0, -1});
    EXPECT_EQ(m.x, 0.0f);
    EXPECT_EQ(m.y, 0.0f);
}

TEST(Projection, AxisViewsOfTheSphere) {
    reset(kSphere, 4);
    expectScreen(projXYSelf({0, 0.6, 0.8}), 0.6f, 0.8f);
    reset(kSphere, 5);
    const double y = 0.6, z = std::sqrt(1 - 0.25 - y * y);
    expectScreen(projXYSelf({0.5, y, z}), float(y * std::exp(-0.5)), float(z * std::exp(-0.5)));
    reset(kSphere, 3);
    expectScreen(projXYSelf({0.6, 0, 0.8}), 0, 0.8f);
}

TEST(Projection, SingularAndUnknownChoicesHaveNoImage) {
    reset(kSphere, 1);
    EXPECT_TRUE(isOffView(projXYSelf({1, 0, 0})));
    EXPECT_TRUE(isOffView(projXYSelf({1, 0, 5e-7})));
    EXPECT_FALSE(isOffView(projXYSelf({0.8, 0, 0.6})));
    for (int choice : {-1, 6, 1000}) {
        SCOPED_TRACE(choice);
        reset(kPlane, choice);
        EXPECT_TRUE(isOffView(projXYSelf({0, 0, 1})));
        const int beeps = beepCount();
        EXPECT_FALSE(validP(projInv(0.5f, 0.5f, nullptr)));
        EXPECT_EQ(beepCount(), beeps);
    }
}

// exp(x) beyond the float range must not come out as an infinity that passes as valid.
TEST(Projection, ImagesBeyondTheFloatRangeAreOffView) {
    for (int choice : {4, 5}) {
        SCOPED_TRACE(choice);
        reset(kPlane, choice);
        const double x = choice == 4 ? 100 : -100;
        for (double y : {0.5, -0.5, 2.0, -2.0, 4.0}) {
            const ScreenPoint s = projXYSelf({x, y, 1});
            EXPECT_TRUE(isOffView(s)) << s.x << " " << s.y;
            EXPECT_FALSE(validS(s));
        }
    }
    reset(kHyperbolic, 4);
    EXPECT_TRUE(isOffView(projXYSelf(onSurface(kHyperbolic, 800, 0))));
}

TEST(Projection, ViewMatrixActsFirst) {
    reset(kSphere, 0);
    // A quarter turn about z carries (1, 0, 0) to (0, 1, 0).
    settings.pointMatrix = Matrix{1, 0, -1, 0, 1, 0, 0, 0, 0, 1};
    expectScreen(projXYSelf({1, 0, 0}), 0, 1);
}

TEST(ProjectionInverse, InvertsStereographicExactly) {
    reset(kSphere, 2);
    expectPoint(projInv(1, 0, nullptr), {1, 0, 0}, 1e-12);
    expectPoint(projInv(0, 0, nullptr), {0, 0, 1}, 1e-12);
}

TEST(ProjectionInverse, OrthographicOutsideTheCircleInvertsTheScreenPoint) {
    reset(kSphere, 0);
    const float sx = 1.5f, sy = 2.0f;
    const double r2 = double(sx) * sx + double(sy) * sy;
    const Point p = projInv(sx, sy, nullptr);
    const Point inside = projInv(float(sx / r2), float(sy / r2), nullptr);
    expectPoint(p, inside, 1e-6);
    EXPECT_GT(p.z, 0);
}

TEST(ProjectionInverse, PlaneWindingFollowsTheReference) {
    reset(kPlane, 4);
    const float sx = 0.3f, sy = 0.4f;
    const double theta = std::atan2(double(sx), double(sy));
    const Point ref{0, 2 * PI + theta + 0.1, 1};
    const Point p = projInv(sx, sy, &ref);
    EXPECT_NEAR(p.y, theta + 2 * PI, 1e-12);
    EXPECT_NEAR(p.x, std::log(0.5), 1e-6);
    const Point below{0, -2 * PI + theta - 0.4, 1};
    EXPECT_NEAR(projInv(sx, sy, &below).y, theta - 2 * PI, 1e-12);
    EXPECT_NEAR(projInv(sx, sy, nullptr).y, theta, 1e-12);
}

TEST(ProjectionInverse, CentreBeepsInRotationAndOnAxisViews) {
    reset(kSphere, 2);
    settings.mouseMode = 1;
    int beeps = beepCount();
    EXPECT_FALSE(validP(projInv(0, 0, nullptr)));
    EXPECT_EQ(beepCount(), beeps + 1);

    settings.mouseMode = 2;
    beeps = beepCount();
    expectPoint(projInv(0, 0, nullptr), {0, 0, 1}, 1e-12);
    EXPECT_EQ(beepCount(), beeps);

    for (int gen : {kPlane, kHyperbolic}) {
        for (int choice : {3, 4, 5}) {
            SCOPED_TRACE(testing::Message() << gen << " " << choice);
            reset(gen, choice);
            beeps = beepCount();
            EXPECT_FALSE(validP(projInv(0, 0, nullptr)));
            EXPECT_EQ(beepCount(), beeps + 1);
        }
    }
}

TEST(ProjectionInverse, UndefinedPointsAreInvalidNotCrashes) {
    // The unit circle itself has no preimage under choices 1 and 2 on the hyperbolic plane.
    for (int choice : {1, 2}) {
        reset(kHyperbolic, choice);
        EXPECT_FALSE(validP(projInv(1, 0, nullptr)));
    }
    reset(kHyperbolic, 1);
    EXPECT_FALSE(validP(projInv(0, -1, nullptr)));
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
            const ScreenPoint s = projXYSelf(p);
            ASSERT_TRUE(validS(s));
            const Point q = projInv(s.x, s.y, &p);
            ASSERT_TRUE(validP(q));
            // Screen points are floats: allow their rounding, scaled by the size of the point.
            const double tol = 2e-5 * (1 + std::fabs(p.x) + std::fabs(p.y) + std::fabs(p.z));
            expectPoint(q, p, tol);
        }
    }
}

TEST(ProjectionInverse, PlaneAxisViewTakesARandomDepth) {
    reset(kPlane, 3);
    srandom(7);
    const Point a = projInv(0.6f, 0.8f, nullptr);
    const Point b = projInv(0.6f, 0.8f, nullptr);
    EXPECT_NE(a.x, b.x);
    for (const Point& p : {a, b}) {
        EXPECT_GE(p.x, -1);
        EXPECT_LE(p.x, 1);
        EXPECT_NEAR(p.y, std::atan2(0.6, 0.8), 1e-6);
        EXPECT_EQ(p.z, 1);
    }
}
