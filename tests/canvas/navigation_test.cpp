#include "canvas/navigation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "canvas_support.h"
#include "geometry/settings.h"
#include "render/depth_order.h"
#include "test_model.h"

namespace {

struct GeometryRow {
    const char* name;
    int gen;
};
constexpr GeometryRow kGeometries[] = {{"sphere", -1}, {"plane", 0}, {"hyperbolic", 1}};

// Both matrices away from the identity, so that restoring them is a real test.
void startFromSomeView(int gen) {
    model.settings = Settings{};
    model.drawLists = DrawLists{};
    model.settings.gen = gen;
    applyViewStep(model, translateZXMatrix(model.settings.gen, 0.4));
    applyViewStep(model, translateXYMatrix(model.settings.gen, 1.1));
    model.settings.colorMatrix =
        dotM(translateZYMatrix(model.settings.gen, 0.3), model.settings.colorMatrix);
}

TEST(Navigation, StepsAndReflectionsUndoThemselvesInEveryGeometry) {
    struct Pair {
        const char* name;
        void (*forward)();
        void (*back)();
    };
    const Pair pairs[] = {
        {"zx/xz", [] { translateZX(model, 0.7); }, [] { translateXZ(model, 0.7); }},
        {"zy/yz", [] { translateZY(model, 1.9); }, [] { translateYZ(model, 1.9); }},
        {"xy/yx", [] { translateXY(model, PI / 12); }, [] { translateYX(model, PI / 12); }},
        {"reflectX twice", [] { reflectX(model); }, [] { reflectX(model); }},
        {"reflectY twice", [] { reflectY(model); }, [] { reflectY(model); }}};
    for (const GeometryRow& g : kGeometries) {
        for (const Pair& pair : pairs) {
            SCOPED_TRACE(testing::Message() << g.name << " " << pair.name);
            startFromSomeView(g.gen);
            const Matrix point0 = model.settings.pointMatrix, color0 = model.settings.colorMatrix;
            pair.forward();
            EXPECT_GT(maxDiff(model.settings.pointMatrix, point0), 1e-3);
            EXPECT_GT(maxDiff(model.settings.colorMatrix, color0), 1e-3);
            pair.back();
            EXPECT_LT(maxDiff(model.settings.pointMatrix, point0), 1e-9);
            EXPECT_LT(maxDiff(model.settings.colorMatrix, color0), 1e-9);
        }
    }
}

TEST(Navigation, TwentyFourStepsOfZxGoOnceRoundTheSphere) {
    startFromSomeView(-1);
    const Matrix point0 = model.settings.pointMatrix, color0 = model.settings.colorMatrix;
    for (int i = 0; i < 24; ++i) {
        translateZX(model, PI * model.settings.translateStep);
        if (i == 11) {
            EXPECT_GT(maxDiff(model.settings.pointMatrix, point0), 0.5);
        }
    }
    EXPECT_LT(maxDiff(model.settings.pointMatrix, point0), 1e-12);
    EXPECT_LT(maxDiff(model.settings.colorMatrix, color0), 1e-12);
}

TEST(Navigation, ReflectZActsOnTheSphereOnly) {
    for (const GeometryRow& g : kGeometries) {
        SCOPED_TRACE(g.name);
        startFromSomeView(g.gen);
        const Matrix point0 = model.settings.pointMatrix, color0 = model.settings.colorMatrix;
        reflectZ(model);
        if (g.gen < 0) {
            EXPECT_EQ(model.settings.pointMatrix.sign, -point0.sign);
            // The north pole goes to the south pole.
            EXPECT_NEAR(dotP(model.settings.pointMatrix, dotP(inverseOf(point0), Point{0, 0, 1})).z,
                        -1, 1e-12);
        } else {
            EXPECT_EQ(maxDiff(model.settings.pointMatrix, point0), 0);
            EXPECT_EQ(maxDiff(model.settings.colorMatrix, color0), 0);
        }
    }
}

TEST(Navigation, RandomViewDoesNotDependOnThePreviousView) {
    for (const GeometryRow& g : kGeometries) {
        SCOPED_TRACE(g.name);
        model.settings = Settings{};
        model.settings.gen = g.gen;
        srandom(77);
        ranMatrix(model);
        const Matrix pointA = model.settings.pointMatrix, colorA = model.settings.colorMatrix;
        EXPECT_GT(maxDiff(pointA, identity), 1e-3);
        EXPECT_LT(maxDiff(dotM(colorA, pointA), identity), 1e-9);  // colours follow
        startFromSomeView(g.gen);
        reflectX(model);
        srandom(77);
        ranMatrix(model);
        EXPECT_EQ(maxDiff(model.settings.pointMatrix, pointA), 0);
        EXPECT_EQ(maxDiff(model.settings.colorMatrix, colorA), 0);
    }
}

TEST(Navigation, SwitchesChooseWhichMatrixAStepMoves) {
    for (const GeometryRow& g : kGeometries) {
        for (int row = 0; row < 4; ++row) {
            const bool points = row & 1, colors = row & 2;
            SCOPED_TRACE(testing::Message()
                         << g.name << " points " << points << " colours " << colors);
            startFromSomeView(g.gen);
            model.settings.mousePoints = points;
            model.settings.mouseColors = colors;
            const Matrix point0 = model.settings.pointMatrix, color0 = model.settings.colorMatrix;
            translateZY(model, 0.5);
            translateXY(model, 0.8);
            EXPECT_EQ(maxDiff(model.settings.pointMatrix, point0) > 1e-3, points);
            EXPECT_EQ(maxDiff(model.settings.colorMatrix, color0) > 1e-3, colors);
            // With both switches the position colours stay attached to the tiles.
            if (points && colors) {
                EXPECT_LT(maxDiff(dotM(model.settings.colorMatrix, model.settings.pointMatrix),
                                  dotM(color0, point0)),
                          1e-12);
            }
        }
    }
}

}  // namespace
