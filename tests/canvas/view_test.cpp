#include "canvas/view.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <vector>

#include "canvas/mouse.h"
#include "canvas_support.h"
#include "geometry/settings.h"
#include "platform/beep.h"
#include "render/depth_order.h"
#include "render/frame.h"
#include "render/projection.h"
#include "test_model.h"
#include "tiling/enumeration.h"
#include "tiling/tables.h"

namespace {

struct PictureRow {
    const char* name;
    int p, q, r;
};
constexpr PictureRow kPictures[] = {
    {"sphere 2,3,5", 2, 3, 5}, {"plane 2,4,4", 2, 4, 4}, {"hyperbolic 7,3,2", 7, 3, 2}};

// Data records whose poly point is seen (self or mirror image) at the model point q.
int recordsSeenAt(const QPointF& q, bool mirror) {
    const DataTable& t = model.groupTables.dataVEF;
    int found = 0;
    for (int i = 0; i < t.count; ++i) {
        const Point& p = t.at(i).polyPoint;
        const ScreenPoint s =
            mirror ? projXYMirror(model.settings, p) : projXYSelf(model.settings, p);
        found += std::hypot(s.x - q.x(), s.y - q.y()) < 1e-5;
    }
    return found;
}

// A view 800 × 800 at zoom 2: the model square −2..2, 200 pixels per unit.
class ViewTest : public testing::Test {
  protected:
    void SetUp() override { view.resize(800, 800); }
    void TearDown() override { mouseUp(); }
    QPoint pixel(double x, double y) const { return view.widgetPoint({x, y}).toPoint(); }
    QPointF modelAt(const QPoint& pixel) const { return view.modelPoint(QPointF(pixel)); }
    void press(const QPoint& at) { QTest::mousePress(&view, Qt::LeftButton, {}, at); }
    void move(const QPoint& to) { QTest::mouseMove(&view, to); }
    void release(const QPoint& at) { QTest::mouseRelease(&view, Qt::LeftButton, {}, at); }
    View view{model};
};

TEST_F(ViewTest, TranslateDragKeepsTheGrabbedPointUnderThePointer) {
    for (const PictureRow& row : kPictures) {
        for (int projection : {0, 1, 2}) {
            SCOPED_TRACE(testing::Message() << row.name << " projection " << projection);
            makePicture(row.p, row.q, row.r);
            model.settings.project3D2D = projection;
            model.settings.mouseMode = 2;
            const QPointF s = modelAt(pixel(0.3, -0.2));
            const Point grabbed = dotP(inverseOf(model.settings.pointMatrix),
                                       projInv(model.settings, s.x(), s.y(), nullptr));
            const Matrix product0 = dotM(model.settings.colorMatrix, model.settings.pointMatrix);
            press(pixel(0.3, -0.2));
            for (const QPoint& to : {pixel(0.1, 0.1), pixel(-0.4, 0.25), pixel(0.05, -0.5)}) {
                move(to);
                const ScreenPoint seen = projXYSelf(model.settings, grabbed);
                EXPECT_NEAR(seen.x, modelAt(to).x(), 1e-5);
                EXPECT_NEAR(seen.y, modelAt(to).y(), 1e-5);
                // The colours travel with the tiles.
                EXPECT_LT(
                    maxDiff(dotM(model.settings.colorMatrix, model.settings.pointMatrix), product0),
                    1e-9);
            }
            release(pixel(0.05, -0.5));
        }
    }
}

TEST_F(ViewTest, RotateDragScalesOnThePlaneOnly) {
    for (const PictureRow& row : kPictures) {
        SCOPED_TRACE(row.name);
        makePicture(row.p, row.q, row.r);
        model.settings.mouseMode = 1;
        const Matrix before = model.settings.pointMatrix;
        // (x, y, 1) on the plane is seen at (x/2, y/2): from (1, 0, 1) to (0, 2, 1). Elsewhere
        // twice as far from the centre, a quarter turn on: turned, never scaled.
        const double a = model.settings.gen == 0 ? 0.5 : 0.25;
        press(pixel(a, 0));
        move(pixel(0, 2 * a));
        const Matrix M = dotM(model.settings.pointMatrix, inverseOf(before));
        const double scale = model.settings.gen == 0 ? 2 : 1;
        const Matrix turn{1, 0, -scale, 0, scale, 0, 0, 0, 0, 1};
        EXPECT_LT(maxDiff(M, turn), 1e-12);
        release(pixel(0, 2 * a));
    }
}

TEST_F(ViewTest, ColoursOnlyDragMovesThePositionColoursNotTheShapes) {
    for (int mode : {1, 2}) {
        SCOPED_TRACE(testing::Message() << "mode " << mode);
        makePicture(7, 3, 2);
        model.settings.mouseMode = mode;
        model.settings.mousePoints = false;
        const Matrix point0 = model.settings.pointMatrix, color0 = model.settings.colorMatrix;
        const QPoint from = pixel(0.2, 0.1), to = pixel(-0.15, 0.3);
        const Point grabbed =
            projInv(model.settings, modelAt(from).x(), modelAt(from).y(), nullptr);
        press(from);
        move(to);
        release(to);
        EXPECT_TRUE(sameBits(model.settings.pointMatrix, point0));
        EXPECT_GT(maxDiff(model.settings.colorMatrix, color0), 1e-3);
        if (mode == 1) continue;  // a turn carries the direction only
        // The colour under the press now belongs to the point under the release.
        const Point under = projInv(model.settings, modelAt(to).x(), modelAt(to).y(), &grabbed);
        const Point want = dotP(color0, grabbed), got = dotP(model.settings.colorMatrix, under);
        EXPECT_NEAR(got.x, want.x, 1e-9);
        EXPECT_NEAR(got.y, want.y, 1e-9);
        EXPECT_NEAR(got.z, want.z, 1e-9);
    }
}

TEST_F(ViewTest, ReleaseWithoutMovingChangesNothingInModesOneAndTwo) {
    for (int mode : {1, 2}) {
        for (const PictureRow& row : kPictures) {
            SCOPED_TRACE(testing::Message() << row.name << " mode " << mode);
            makePicture(row.p, row.q, row.r);
            model.settings.mouseMode = mode;
            const Matrix point0 = model.settings.pointMatrix, color0 = model.settings.colorMatrix;
            const std::vector<QuadModule*> order(
                model.drawLists.quad.begin(),
                model.drawLists.quad.begin() + model.drawLists.quadCount);
            QSignalSpy lengths(&view, &View::lengthChanged);
            press(pixel(0.3, 0.2));
            release(pixel(0.3, 0.2));
            EXPECT_TRUE(sameBits(model.settings.pointMatrix, point0));
            EXPECT_TRUE(sameBits(model.settings.colorMatrix, color0));
            EXPECT_TRUE(std::equal(order.begin(), order.end(), model.drawLists.quad.begin()));
            EXPECT_EQ(lengths.count(), 0);
        }
    }
}

TEST_F(ViewTest, PositionsWithoutPreimageAreSkipped) {
    makePicture(2, 4, 4);
    model.settings.mouseMode = 1;  // the centre has no direction to turn from
    const Matrix point0 = model.settings.pointMatrix;
    const int beeps = beepCount();
    press(pixel(0, 0));  // a press there makes the whole drag inert
    EXPECT_EQ(beepCount(), beeps + 1);
    move(pixel(0.5, 0.5));
    release(pixel(0.5, 0.5));
    EXPECT_TRUE(sameBits(model.settings.pointMatrix, point0));

    press(pixel(0.5, 0));
    move(pixel(0, 0.5));
    const Matrix kept = model.settings.pointMatrix;
    move(pixel(0, 0));
    EXPECT_TRUE(sameBits(model.settings.pointMatrix, kept));
    move(pixel(-0.5, 0));  // later positions count again, still from the press
    EXPECT_LT(maxDiff(model.settings.pointMatrix, Matrix{1, -1, 0, 0, 0, -1, 0, 0, 0, 1}), 1e-12);
    release(pixel(-0.5, 0));
}

TEST_F(ViewTest, SetEdgeLengthsClickMovesTheGeneratingPointUnderThePointer) {
    for (const PictureRow& row : kPictures) {
        SCOPED_TRACE(row.name);
        makePicture(row.p, row.q, row.r, 0.5, 0.3, 0.2);
        model.settings.mouseMode = 0;
        model.settings.mirrorDraw = false;
        const int matrices = model.groupTables.matrixCount(), quads = model.drawLists.quadCount;
        const Point triPoint = model.groupTables.dataEF.at(3).triPoint;
        const Point polyPoint = model.groupTables.dataVEF.at(3).polyPoint;
        QSignalSpy lengths(&view, &View::lengthChanged);
        press(pixel(0.15, 0.1));
        release(pixel(0.15, 0.1));
        EXPECT_EQ(lengths.count(), 1);
        EXPECT_NEAR(model.settings.lengthV + model.settings.lengthE + model.settings.lengthF, 1,
                    1e-12);
        EXPECT_GT(std::fabs(model.settings.lengthV - 0.5) + std::fabs(model.settings.lengthE - 0.3),
                  1e-3);
        // Only the poly points moved.
        EXPECT_EQ(model.groupTables.matrixCount(), matrices);
        EXPECT_EQ(model.drawLists.quadCount, quads);
        EXPECT_TRUE(equalsP(model.groupTables.dataEF.at(3).triPoint, triPoint));
        EXPECT_FALSE(equalsP(model.groupTables.dataVEF.at(3).polyPoint, polyPoint));
        EXPECT_GE(recordsSeenAt(modelAt(pixel(0.15, 0.1)), false), 1);
    }
}

TEST_F(ViewTest, SetEdgeLengthsActsOnTheCopyDrawnOnTop) {
    // On the sphere both copies overlap everywhere; V of odd order makes them differ.
    for (int emphasis : {0, 1}) {
        SCOPED_TRACE(testing::Message() << "selfMirrorEmphasis " << emphasis);
        makePicture(5, 3, 2, 0.5, 0.3, 0.2);
        model.settings.mouseMode = 0;
        model.settings.selfMirrorEmphasis = emphasis;
        press(pixel(0.35, 0.2));
        release(pixel(0.35, 0.2));
        EXPECT_GE(recordsSeenAt(modelAt(pixel(0.35, 0.2)), emphasis == 1), 1);
        EXPECT_EQ(recordsSeenAt(modelAt(pixel(0.35, 0.2)), emphasis != 1), 0);
    }
}

}  // namespace
