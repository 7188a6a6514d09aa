#include "canvas/mouse.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "canvas_support.h"
#include "geometry/settings.h"
#include "render/depth_order.h"
#include "render/projection.h"
#include "test_model.h"
#include "tiling/generating_point.h"
#include "tiling/tables.h"

namespace {

// The ten numbers of a matrix record in order (sign, then the rows).
std::array<double, 10> entries(const Matrix& M) {
    return {M.sign, M.m00, M.m01, M.m02, M.m10, M.m11, M.m12, M.m20, M.m21, M.m22};
}

bool finiteM(const Matrix& M) {
    const std::array<double, 10> m = entries(M);
    return std::all_of(m.begin() + 1, m.end(), [](double v) { return std::isfinite(v); });
}

class Mouse : public testing::Test {
  protected:
    void TearDown() override { mouseUp(); }
};

// Positions whose model point has no finite motion to or from the view centre: the south pole
// (antipodal to the centre) for a translation, a point on the axis of the turn for a rotation.
TEST_F(Mouse, StepsWithoutAFiniteMotionAreSkipped) {
    struct Row {
        const char* name;
        int mode;
        float x, y;  // seen on the x axis of the sphere: (sqrt(1 − r²), x, y)
    };
    const Row rows[] = {{"translate onto the south pole", 2, 0, -1},
                        {"turn onto the z axis", 1, 0, 1}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        makePicture(2, 3, 5);
        model.settings.project3D2D = 3;
        model.settings.mouseMode = row.mode;
        EXPECT_EQ(mouseDown(model, 0.3f, 0.2f), MouseEffect::none);
        EXPECT_EQ(mouseDragged(model, 0.25f, 0.3f), MouseEffect::redraw);
        const Matrix kept = model.settings.pointMatrix, keptColour = model.settings.colorMatrix;
        EXPECT_EQ(mouseDragged(model, row.x, row.y), MouseEffect::none);
        EXPECT_TRUE(sameBits(model.settings.pointMatrix, kept));
        EXPECT_TRUE(sameBits(model.settings.colorMatrix, keptColour));
        EXPECT_EQ(mouseDragged(model, 0.2f, 0.35f), MouseEffect::redraw);
        EXPECT_TRUE(finiteM(model.settings.pointMatrix));
        EXPECT_TRUE(finiteM(model.settings.colorMatrix));
        mouseUp();
    }
}

TEST_F(Mouse, KiteWithoutPreimageUnderThePointerKeepsTheLengths) {
    // The Poincaré disc (hyperbolic plane, stereographic view) has no preimage on the unit
    // circle. Stretch one kite of the picture across the circle at (1, 0) and click there.
    makePicture(7, 3, 2, 0.5, 0.3, 0.2);
    model.settings.mouseMode = 0;
    model.settings.mirrorDraw = false;
    ASSERT_GT(model.drawLists.quadCount, 0);
    QuadModule& q = *model.drawLists.quad[model.drawLists.quadCount - 1];
    // Points with z = 0 are seen at (x, y) under this projection.
    q.centre->polyPoint = {0.9, -0.1, 0};
    q.side1->polyPoint = {1.1, -0.1, 0};
    q.corner->polyPoint = {1.1, 0.1, 0};
    q.side2->polyPoint = {0.9, 0.1, 0};
    const Point generating = model.specialPoints.polyVEF;
    const double lengths[] = {model.settings.lengthV, model.settings.lengthE,
                              model.settings.lengthF};

    bool changed = true;
    EXPECT_TRUE(reshapeSelf(model, 1.0f, 0.0f, &changed));
    EXPECT_FALSE(changed);
    EXPECT_EQ(mouseDown(model, 1.0f, 0.0f), MouseEffect::none);
    EXPECT_EQ(model.settings.lengthV, lengths[0]);
    EXPECT_EQ(model.settings.lengthE, lengths[1]);
    EXPECT_EQ(model.settings.lengthF, lengths[2]);
    EXPECT_EQ(std::memcmp(&model.specialPoints.polyVEF, &generating, sizeof generating), 0);
}

TEST_F(Mouse, NothingHitWhereNoCopyIsDrawn) {
    makePicture(2, 4, 4);
    model.settings.mouseMode = 0;
    const double lengthV = model.settings.lengthV;
    model.settings.selfDraw = false;
    model.settings.mirrorDraw = false;
    EXPECT_EQ(mouseDown(model, 0.1f, 0.1f), MouseEffect::none);
    model.settings.selfDraw = true;
    model.settings.selfMirrorEmphasis = 2;  // neither order: neither copy is tried
    EXPECT_EQ(mouseDown(model, 0.1f, 0.1f), MouseEffect::none);
    EXPECT_EQ(model.settings.lengthV, lengthV);
    model.settings.selfMirrorEmphasis = 0;
    EXPECT_EQ(mouseDown(model, 0.1f, 0.1f), MouseEffect::lengths);
    // Far outside the enumerated picture nothing is hit.
    const double moved = model.settings.lengthV;
    EXPECT_EQ(mouseDown(model, 1e6f, 1e6f), MouseEffect::none);
    EXPECT_EQ(model.settings.lengthV, moved);
    // The mirror copy has no image at the view centre (its far side is at infinity).
    makePicture(2, 3, 5);
    bool changed = true;
    EXPECT_FALSE(reshapeMirror(model, 0, 0, &changed));
    EXPECT_FALSE(changed);
    EXPECT_TRUE(reshapeMirror(model, 0.01f, 0.0f, &changed));
}

}  // namespace
