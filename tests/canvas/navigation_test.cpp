#include "canvas/navigation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "canvas_support.h"
#include "geometry/settings.h"
#include "render/depth_order.h"

namespace {

struct GeometryRow {
    const char* name;
    int gen;
};
constexpr GeometryRow kGeometries[] = {{"sphere", -1}, {"plane", 0}, {"hyperbolic", 1}};

// Both matrices away from the identity, so that restoring them is a real test.
void startFromSomeView(int gen) {
    settings = Settings{};
    drawLists = DrawLists{};
    settings.gen = gen;
    applyViewStep(translateZXMatrix(0.4));
    applyViewStep(translateXYMatrix(1.1));
    settings.colorMatrix = dotM(translateZYMatrix(0.3), settings.colorMatrix);
}

TEST(Navigation, StepsAndReflectionsUndoThemselvesInEveryGeometry) {
    struct Pair {
        const char* name;
        void (*forward)();
        void (*back)();
    };
    const Pair pairs[] = {{"zx/xz", [] { translateZX(0.7); }, [] { translateXZ(0.7); }},
                          {"zy/yz", [] { translateZY(1.9); }, [] { translateYZ(1.9); }},
                          {"xy/yx", [] { translateXY(PI / 12); }, [] { translateYX(PI / 12); }},
                          {"reflectX twice", reflectX, reflectX},
                          {"reflectY twice", reflectY, reflectY}};
    for (const GeometryRow& g : kGeometries) {
        for (const Pair& pair : pairs) {
            SCOPED_TRACE(testing::Message() << g.name << " " << pair.name);
            startFromSomeView(g.gen);
            const Matrix point0 = settings.pointMatrix, color0 = settings.colorMatrix;
            pair.forward();
            EXPECT_GT(maxDiff(settings.pointMatrix, point0), 1e-3);
            EXPECT_GT(maxDiff(settings.colorMatrix, color0), 1e-3);
            pair.back();
            EXPECT_LT(maxDiff(settings.pointMatrix, point0), 1e-9);
            EXPECT_LT(maxDiff(settings.colorMatrix, color0), 1e-9);
        }
    }
}

TEST(Navigation, TwentyFourStepsOfZxGoOnceRoundTheSphere) {
    startFromSomeView(-1);
    const Matrix point0 = settings.pointMatrix, color0 = settings.colorMatrix;
    for (int i = 0; i < 24; ++i) {
        translateZX(PI * settings.translateStep);
        if (i == 11) {
            EXPECT_GT(maxDiff(settings.pointMatrix, point0), 0.5);
        }
    }
    EXPECT_LT(maxDiff(settings.pointMatrix, point0), 1e-12);
    EXPECT_LT(maxDiff(settings.colorMatrix, color0), 1e-12);
}

TEST(Navigation, ReflectZActsOnTheSphereOnly) {
    for (const GeometryRow& g : kGeometries) {
        SCOPED_TRACE(g.name);
        startFromSomeView(g.gen);
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

TEST(Navigation, RandomViewDoesNotDependOnThePreviousView) {
    for (const GeometryRow& g : kGeometries) {
        SCOPED_TRACE(g.name);
        settings = Settings{};
        settings.gen = g.gen;
        srandom(77);
        ranMatrix();
        const Matrix pointA = settings.pointMatrix, colorA = settings.colorMatrix;
        EXPECT_GT(maxDiff(pointA, identity), 1e-3);
        EXPECT_LT(maxDiff(dotM(colorA, pointA), identity), 1e-9);  // colours follow
        startFromSomeView(g.gen);
        reflectX();
        srandom(77);
        ranMatrix();
        EXPECT_EQ(maxDiff(settings.pointMatrix, pointA), 0);
        EXPECT_EQ(maxDiff(settings.colorMatrix, colorA), 0);
    }
}

TEST(Navigation, SwitchesChooseWhichMatrixAStepMoves) {
    for (const GeometryRow& g : kGeometries) {
        for (int row = 0; row < 4; ++row) {
            const bool points = row & 1, colors = row & 2;
            SCOPED_TRACE(testing::Message()
                         << g.name << " points " << points << " colours " << colors);
            startFromSomeView(g.gen);
            settings.mousePoints = points;
            settings.mouseColors = colors;
            const Matrix point0 = settings.pointMatrix, color0 = settings.colorMatrix;
            translateZY(0.5);
            translateXY(0.8);
            EXPECT_EQ(maxDiff(settings.pointMatrix, point0) > 1e-3, points);
            EXPECT_EQ(maxDiff(settings.colorMatrix, color0) > 1e-3, colors);
            // With both switches the position colours stay attached to the tiles.
            if (points && colors) {
                EXPECT_LT(
                    maxDiff(dotM(settings.colorMatrix, settings.pointMatrix), dotM(color0, point0)),
                    1e-12);
            }
        }
    }
}

}  // namespace
