#include "canvas/navigation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "geometry/kernel.h"
#include "geometry/settings.h"
#include "render/depth_order.h"

namespace {

struct GeometryRow {
    const char* name;
    int gen;
};
constexpr GeometryRow kGeometries[] = {{"sphere", -1}, {"plane", 0}, {"hyperbolic", 1}};

Matrix inverseOf(const Matrix& M) {
    Matrix out;
    inv(out, M);
    return out;
}

double maxDiff(const Matrix& a, const Matrix& b) {
    const double d[] = {a.sign - b.sign, a.m00 - b.m00, a.m01 - b.m01, a.m02 - b.m02,
                        a.m10 - b.m10,   a.m11 - b.m11, a.m12 - b.m12, a.m20 - b.m20,
                        a.m21 - b.m21,   a.m22 - b.m22};
    double m = 0;
    for (double x : d) m = std::max(m, std::fabs(x));
    return m;
}

// A model point of the current geometry at parameter (u, v).
Point surfacePoint(double u, double v) {
    if (settings.gen < 0) {
        Point p{u, v, 1};
        normalize(p, Point{u, v, 1});
        return p;
    }
    if (settings.gen == 0) return {u, v, 1};
    return {u, v, std::sqrt(1 + u * u + v * v)};
}

// Residual of the surface equation.
double offSurface(const Point& p) {
    if (settings.gen < 0) return std::fabs(p.x * p.x + p.y * p.y + p.z * p.z - 1);
    if (settings.gen == 0) return std::fabs(p.z - 1);
    return std::fabs(p.z * p.z - p.x * p.x - p.y * p.y - 1) + (p.z > 0 ? 0 : 1);
}

// Both matrices away from the identity, so that restoring them is a real test.
void startFromSomeView() {
    settings.pointMatrix = identity;
    settings.colorMatrix = identity;
    applyViewStep(translateZXMatrix(0.4));
    applyViewStep(translateXYMatrix(1.1));
    applyViewStep(translateYZMatrix(0.25));
    settings.colorMatrix = dotM(translateZYMatrix(0.3), settings.colorMatrix);
}

class Navigation : public testing::Test {
  protected:
    void SetUp() override {
        settings = Settings{};
        drawLists = DrawLists{};
    }
};

TEST_F(Navigation, ForwardThenBackRestoresBothMatricesInEveryGeometry) {
    struct Pair {
        const char* name;
        void (*forward)(double);
        void (*back)(double);
    };
    const Pair pairs[] = {{"zx/xz", translateZX, translateXZ},
                          {"xz/zx", translateXZ, translateZX},
                          {"zy/yz", translateZY, translateYZ},
                          {"xy/yx", translateXY, translateYX}};
    for (const GeometryRow& g : kGeometries) {
        for (const Pair& pair : pairs) {
            for (double theta : {PI / 12, 0.7, 1.9}) {
                SCOPED_TRACE(testing::Message() << g.name << " " << pair.name << " θ=" << theta);
                settings.gen = g.gen;
                startFromSomeView();
                const Matrix point0 = settings.pointMatrix, color0 = settings.colorMatrix;
                pair.forward(theta);
                EXPECT_GT(maxDiff(settings.pointMatrix, point0), 1e-3);
                pair.back(theta);
                EXPECT_LT(maxDiff(settings.pointMatrix, point0), 1e-9);
                EXPECT_LT(maxDiff(settings.colorMatrix, color0), 1e-9);
            }
        }
    }
}

TEST_F(Navigation, TwentyFourStepsOfZxGoOnceRoundTheSphere) {
    settings.gen = -1;
    startFromSomeView();
    const Matrix point0 = settings.pointMatrix, color0 = settings.colorMatrix;
    for (int i = 0; i < 24; ++i) {
        translateZX(PI * settings.translateStep);
        if (i == 11) {
            EXPECT_GT(maxDiff(settings.pointMatrix, point0), 0.5);  // half way: far off
        }
    }
    EXPECT_LT(maxDiff(settings.pointMatrix, point0), 1e-12);
    EXPECT_LT(maxDiff(settings.colorMatrix, color0), 1e-12);
}

TEST_F(Navigation, MotionsMoveTheViewCentreTheWayTheirNamesSay) {
    const Point O{0, 0, 1};
    for (const GeometryRow& g : kGeometries) {
        SCOPED_TRACE(g.name);
        settings.gen = g.gen;
        const Point zx = dotP(translateZXMatrix(0.3), O), xz = dotP(translateXZMatrix(0.3), O);
        const Point zy = dotP(translateZYMatrix(0.3), O), yz = dotP(translateYZMatrix(0.3), O);
        EXPECT_GT(zx.x, 0.2);
        EXPECT_LT(xz.x, -0.2);
        EXPECT_GT(zy.y, 0.2);
        EXPECT_LT(yz.y, -0.2);
        EXPECT_NEAR(zx.y, 0, 1e-15);
        EXPECT_NEAR(zy.x, 0, 1e-15);
        // The distance moved is θ in each geometry.
        EXPECT_NEAR(dist(zx, O), 0.3, 1e-12);
        EXPECT_NEAR(dist(yz, O), 0.3, 1e-12);
        // A turn about the centre carries +x towards +y.
        const Point turned = dotP(translateXYMatrix(PI / 2), surfacePoint(0.5, 0));
        EXPECT_NEAR(turned.x, 0, 1e-12);
        EXPECT_GT(turned.y, 0.4);
    }
}

TEST_F(Navigation, EveryStepKeepsTheModelSurface) {
    using Maker = Matrix (*)(double);
    const Maker makers[] = {translateXYMatrix, translateYXMatrix, translateZXMatrix,
                            translateXZMatrix, translateZYMatrix, translateYZMatrix};
    for (const GeometryRow& g : kGeometries) {
        settings.gen = g.gen;
        for (int k = 0; k < 6; ++k) {
            for (double u : {-0.8, 0.0, 0.35}) {
                SCOPED_TRACE(testing::Message() << g.name << " motion " << k << " u=" << u);
                const Point p = surfacePoint(u, 0.6 - u);
                const Point q = dotP(makers[k](1.3), p);
                EXPECT_LT(offSurface(q), 1e-12);
                const Matrix M = makers[k](1.3);
                EXPECT_EQ(M.sign, 1);
            }
        }
    }
}

TEST_F(Navigation, ReflectXTwiceRestoresBothMatricesAndFlipsTheSignEachTime) {
    for (const GeometryRow& g : kGeometries) {
        SCOPED_TRACE(g.name);
        settings.gen = g.gen;
        startFromSomeView();
        const Matrix point0 = settings.pointMatrix, color0 = settings.colorMatrix;
        reflectX();
        EXPECT_EQ(settings.pointMatrix.sign, -point0.sign);
        EXPECT_EQ(settings.colorMatrix.sign, -color0.sign);
        EXPECT_GT(maxDiff(settings.pointMatrix, point0), 1e-3);
        reflectX();
        EXPECT_EQ(settings.pointMatrix.sign, point0.sign);
        EXPECT_LT(maxDiff(settings.pointMatrix, point0), 1e-12);
        EXPECT_LT(maxDiff(settings.colorMatrix, color0), 1e-12);
        reflectY();
        reflectY();
        EXPECT_LT(maxDiff(settings.pointMatrix, point0), 1e-12);
    }
}

TEST_F(Navigation, ReflectZActsOnTheSphereOnly) {
    for (const GeometryRow& g : kGeometries) {
        SCOPED_TRACE(g.name);
        settings.gen = g.gen;
        startFromSomeView();
        const Matrix point0 = settings.pointMatrix, color0 = settings.colorMatrix;
        reflectZ();
        if (g.gen < 0) {
            EXPECT_EQ(settings.pointMatrix.sign, -point0.sign);
            // The north pole goes to the south pole.
            EXPECT_NEAR(dotP(settings.pointMatrix, dotP(inverseOf(point0), Point{0, 0, 1})).z, -1,
                        1e-12);
        } else {
            EXPECT_EQ(maxDiff(settings.pointMatrix, point0), 0);
            EXPECT_EQ(maxDiff(settings.colorMatrix, color0), 0);
        }
    }
}

TEST_F(Navigation, RandomViewDoesNotDependOnThePreviousView) {
    for (const GeometryRow& g : kGeometries) {
        SCOPED_TRACE(g.name);
        settings.gen = g.gen;
        settings.pointMatrix = identity;
        settings.colorMatrix = identity;
        srandom(77);
        ranMatrix();
        const Matrix pointA = settings.pointMatrix, colorA = settings.colorMatrix;

        startFromSomeView();
        reflectX();
        srandom(77);
        ranMatrix();
        EXPECT_EQ(maxDiff(settings.pointMatrix, pointA), 0);
        EXPECT_EQ(maxDiff(settings.colorMatrix, colorA), 0);

        // A real walk: away from the identity, on the model surface, colours following.
        EXPECT_GT(maxDiff(pointA, identity), 1e-3);
        EXPECT_LT(offSurface(dotP(pointA, surfacePoint(0.2, -0.3))), 1e-9);
        EXPECT_LT(maxDiff(dotM(colorA, pointA), identity), 1e-9);

        srandom(78);
        ranMatrix();
        EXPECT_GT(maxDiff(settings.pointMatrix, pointA), 1e-6);
    }
}

TEST_F(Navigation, IdentityResetsBothMatrices) {
    settings.gen = 1;
    startFromSomeView();
    reflectX();
    identityMatrix();
    EXPECT_EQ(maxDiff(settings.pointMatrix, identity), 0);
    EXPECT_EQ(maxDiff(settings.colorMatrix, identity), 0);
}

TEST_F(Navigation, SwitchesChooseWhichMatrixAStepMoves) {
    struct Row {
        const char* name;
        bool points, colors;
    };
    const Row rows[] = {{"both", true, true},
                        {"points only", true, false},
                        {"colours only", false, true},
                        {"neither", false, false}};
    for (const GeometryRow& g : kGeometries) {
        for (const Row& row : rows) {
            SCOPED_TRACE(testing::Message() << g.name << " " << row.name);
            settings.gen = g.gen;
            startFromSomeView();
            settings.mousePoints = row.points;
            settings.mouseColors = row.colors;
            const Matrix point0 = settings.pointMatrix, color0 = settings.colorMatrix;
            const Matrix product0 = dotM(color0, point0);
            translateZY(0.5);
            translateXY(0.8);
            EXPECT_EQ(maxDiff(settings.pointMatrix, point0) > 1e-3, row.points);
            EXPECT_EQ(maxDiff(settings.colorMatrix, color0) > 1e-3, row.colors);
            // With both switches the position colours stay attached to the tiles.
            if (row.points && row.colors) {
                EXPECT_LT(maxDiff(dotM(settings.colorMatrix, settings.pointMatrix), product0),
                          1e-12);
            }
        }
    }
}

}  // namespace
