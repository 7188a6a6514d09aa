#include "canvas/navigation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "canvas_support.h"
#include "geometry/settings.h"
#include "render/depth_order.h"
#include "test_model.h"

namespace {

constexpr int kGens[] = {-1, 0, 1};  // sphere, plane, hyperbolic plane

// Both matrices away from the identity, so that restoring them is a real test.
void startFromSomeView(int gen) {
    model.settings = Settings{};
    model.drawLists = DrawLists{};
    model.settings.gen = gen;
    applyViewStep(model, translateZXMatrix(gen, 0.4));
    applyViewStep(model, translateXYMatrix(gen, 1.1));
    model.settings.colorMatrix = dotM(translateZYMatrix(gen, 0.3), model.settings.colorMatrix);
}

// How far the view's motion since point0 carries a point off the axes.
double moved(const Matrix& point0) {
    const Point p{0.3, 0.2, 0.9};
    const Point q = dotP(dotM(model.settings.pointMatrix, inverseOf(point0)), p);
    return std::fabs(q.x - p.x) + std::fabs(q.y - p.y) + std::fabs(q.z - p.z);
}

TEST(Navigation, StepsAndReflectionsMoveTheViewAndUndoThemselves) {
    struct Pair {
        const char* name;
        void (*forward)();
        void (*back)();
        bool sphereOnly;
    };
    const Pair pairs[] = {
        {"zx/xz", [] { translateZX(model, 0.7); }, [] { translateXZ(model, 0.7); }, false},
        {"zy/yz", [] { translateZY(model, 1.9); }, [] { translateYZ(model, 1.9); }, false},
        {"xy/yx", [] { translateXY(model, PI / 12); }, [] { translateYX(model, PI / 12); }, false},
        {"reflectX twice", [] { reflectX(model); }, [] { reflectX(model); }, false},
        {"reflectY twice", [] { reflectY(model); }, [] { reflectY(model); }, false},
        {"reflectZ twice", [] { reflectZ(model); }, [] { reflectZ(model); }, true}};
    for (int gen : kGens) {
        for (const Pair& pair : pairs) {
            SCOPED_TRACE(testing::Message() << gen << " " << pair.name);
            startFromSomeView(gen);
            const Matrix point0 = model.settings.pointMatrix, color0 = model.settings.colorMatrix;
            pair.forward();
            EXPECT_EQ(moved(point0) > 1e-3, gen < 0 || !pair.sphereOnly);
            EXPECT_LT(maxDiff(dotM(model.settings.colorMatrix, model.settings.pointMatrix),
                              dotM(color0, point0)),
                      1e-9);  // the position colours stay on the tiles
            pair.back();
            EXPECT_LT(maxDiff(model.settings.pointMatrix, point0), 1e-9);
            EXPECT_LT(maxDiff(model.settings.colorMatrix, color0), 1e-9);
        }
    }
}

TEST(Navigation, RandomViewDoesNotDependOnThePreviousView) {
    for (int gen : kGens) {
        SCOPED_TRACE(gen);
        model.settings = Settings{};
        model.settings.gen = gen;
        srandom(77);
        ranMatrix(model);
        const Matrix pointA = model.settings.pointMatrix, colorA = model.settings.colorMatrix;
        EXPECT_GT(maxDiff(pointA, identity), 1e-3);
        EXPECT_LT(maxDiff(dotM(colorA, pointA), identity), 1e-9);  // colours follow
        startFromSomeView(gen);
        reflectX(model);
        srandom(77);
        ranMatrix(model);
        EXPECT_EQ(maxDiff(model.settings.pointMatrix, pointA), 0);
        EXPECT_EQ(maxDiff(model.settings.colorMatrix, colorA), 0);
    }
}

}  // namespace
