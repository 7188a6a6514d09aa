// Mouse actions on the drawing view, driven by real events: drags move the view or the
// colours, clicks set the edge lengths; then the hit test under them.

#include "canvas/mouse.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <cmath>

#include "canvas/hit_path.h"
#include "canvas/navigation.h"
#include "canvas/view.h"
#include "canvas_support.h"
#include "geometry/settings.h"
#include "platform/beep.h"
#include "render/depth_order.h"
#include "render/projection.h"
#include "test_model.h"
#include "tiling/tables.h"

namespace {

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

TEST_F(ViewTest, TranslateDragKeepsTheGrabbedPointUnderThePointerAndTheColoursOnTheTiles) {
    for (const Picture& row : kPictures) {
        for (int projection : {0, 1, 2}) {
            SCOPED_TRACE(testing::Message() << row.name << " projection " << projection);
            makePicture(row.p, row.q, row.r);
            model.settings.project3D2D = projection;
            model.settings.mouseMode = 2;
            const Matrix point0 = model.settings.pointMatrix;
            const Matrix product0 = dotM(model.settings.colorMatrix, point0);
            const QPointF s = modelAt(pixel(0.3, -0.2));
            const Point grabbed =
                dotP(inverseOf(point0), projInv(model.settings, s.x(), s.y(), nullptr));
            press(pixel(0.3, -0.2));
            EXPECT_EQ(maxDiff(model.settings.pointMatrix, point0), 0);  // a press moves nothing
            for (const QPoint& to : {pixel(0.1, 0.1), pixel(-0.4, 0.25), pixel(0.05, -0.5)}) {
                move(to);
                const ScreenPoint seen = projXYSelf(model.settings, grabbed);
                EXPECT_NEAR(seen.x, modelAt(to).x(), 1e-5);
                EXPECT_NEAR(seen.y, modelAt(to).y(), 1e-5);
                EXPECT_LT(
                    maxDiff(dotM(model.settings.colorMatrix, model.settings.pointMatrix), product0),
                    1e-9);
            }
            release(pixel(0.05, -0.5));
        }
    }
}

// The two switches choose which matrix a drag and a step move.
TEST_F(ViewTest, SwitchesChooseWhichMatrixADragOrAStepMoves) {
    for (int row = 0; row < 4; ++row) {
        const bool points = row & 1, colours = row & 2;
        SCOPED_TRACE(testing::Message() << "points " << points << " colours " << colours);
        makePicture(7, 3, 2);
        model.settings.mouseMode = 2;
        model.settings.mousePoints = points;
        model.settings.mouseColors = colours;
        for (int step = 0; step < 2; ++step) {
            const Matrix point0 = model.settings.pointMatrix, color0 = model.settings.colorMatrix;
            if (step == 0) {
                press(pixel(0.2, 0.1));
                move(pixel(-0.15, 0.3));
                release(pixel(-0.15, 0.3));
            } else {
                translateZY(model, 0.5);
            }
            EXPECT_EQ(maxDiff(model.settings.pointMatrix, point0) > 1e-3, points);
            EXPECT_EQ(maxDiff(model.settings.colorMatrix, color0) > 1e-3, colours);
        }
    }
}

// Positions without a preimage, or without a finite motion to them (the south pole under a
// translation, a point on the axis of a turn), are skipped; later ones count again, each step
// from the press.
TEST_F(ViewTest, PositionsWithoutAFiniteMotionAreSkipped) {
    const int rows[][3] = {{1, 0, 1}, {0, 3, 2}, {0, 3, 1}};  // picture, projection, mode
    const QPoint skipped[] = {pixel(0, 0), pixel(0, -1), pixel(0, 1)};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const Picture& p = kPictures[rows[i][0]];
        makePicture(p.p, p.q, p.r);
        model.settings.project3D2D = rows[i][1];
        model.settings.mouseMode = rows[i][2];
        press(pixel(0.3, 0));
        move(pixel(-0.3, 0));
        const Matrix direct = model.settings.pointMatrix;
        move(pixel(0.25, 0.3));
        const Matrix kept = model.settings.pointMatrix;
        move(skipped[i]);
        EXPECT_EQ(maxDiff(model.settings.pointMatrix, kept), 0);
        move(pixel(-0.3, 0));
        EXPECT_LT(maxDiff(model.settings.pointMatrix, direct), 1e-12);
        release(pixel(-0.3, 0));
        if (i == 0) {  // a half turn of the plane
            EXPECT_LT(maxDiff(direct, Matrix{1, -1, 0, 0, 0, -1, 0, 0, 0, 1}), 1e-12);
        }
    }
    // A press without a preimage makes the whole drag inert.
    makePicture(2, 4, 4);
    model.settings.mouseMode = 1;
    const int beeps = beepCount();
    press(pixel(0, 0));
    EXPECT_EQ(beepCount(), beeps + 1);
    move(pixel(0.5, 0.5));
    release(pixel(0.5, 0.5));
    EXPECT_EQ(maxDiff(model.settings.pointMatrix, identity), 0);
}

// A set edge lengths click moves the generating point under the pointer, on the copy drawn on
// top and only on a copy drawn. On the sphere both copies overlap everywhere; V of odd order
// makes them differ.
TEST_F(ViewTest, SetEdgeLengthsClickMovesTheGeneratingPointOfTheCopyOnTop) {
    const int rows[][7] = {
        // p, q, r, self, mirror, emphasis, the copy hit (0 self, 1 mirror, −1 none)
        {5, 3, 2, 1, 1, 0, 0}, {5, 3, 2, 1, 1, 1, 1},  {5, 3, 2, 1, 0, 1, 0},
        {5, 3, 2, 0, 1, 0, 1}, {5, 3, 2, 0, 0, 0, -1}, {5, 3, 2, 1, 1, 2, -1},
        {2, 4, 4, 1, 0, 0, 0}, {7, 3, 2, 1, 0, 0, 0}};
    const QPoint at = pixel(0.35, 0.2);
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message()
                     << row[0] << row[1] << row[2] << " " << row[3] << row[4] << row[5]);
        makePicture(row[0], row[1], row[2], 0.5, 0.3, 0.2);
        model.settings.mouseMode = 0;
        model.settings.selfDraw = row[3];
        model.settings.mirrorDraw = row[4];
        model.settings.selfMirrorEmphasis = row[5];
        QSignalSpy lengths(&view, &View::lengthChanged);
        press(at);
        release(at);
        EXPECT_EQ(lengths.count(), row[6] >= 0);
        EXPECT_NEAR(model.settings.lengthV + model.settings.lengthE + model.settings.lengthF, 1,
                    1e-12);
        EXPECT_EQ(std::fabs(model.settings.lengthV - 0.5) > 1e-3, row[6] >= 0);
        EXPECT_EQ(recordsSeenAt(modelAt(at), false) > 0, row[6] == 0);
        EXPECT_EQ(recordsSeenAt(modelAt(at), true) > 0, row[6] == 1);
    }
    EXPECT_EQ(mouseDown(model, 1e6f, 1e6f), MouseEffect::none);  // far outside the picture
    // The mirror copy has no image at the view centre (its far side is at infinity).
    makePicture(2, 3, 5);
    EXPECT_FALSE(reshapeMirror(model, 0, 0));
    EXPECT_TRUE(reshapeMirror(model, 0.01f, 0.0f));
}

// Filled area under the non-zero winding rule; an open outline is closed as a fill closes it.
TEST(HitPathLayer, ContainsFollowsTheNonZeroWindingRule) {
    HitPathLayer layer;
    EXPECT_FALSE(layer.contains(0, 0));                        // empty path
    const float dart[][2] = {{0, 0}, {2, 1}, {0, 2}, {1, 1}};  // the notch is outside
    for (const auto& p : dart) layer.lineTo(p[0], p[1]);
    EXPECT_TRUE(layer.contains(1.5f, 1));
    EXPECT_FALSE(layer.contains(0.5f, 1));
    layer.rectPath(0, 0, 4, 4);  // a square with a hole turning the other way
    layer.moveTo(1, 1);
    const float hole[][2] = {{1, 3}, {3, 3}, {3, 1}};
    for (const auto& p : hole) layer.lineTo(p[0], p[1]);
    EXPECT_FALSE(layer.contains(2, 2));
    EXPECT_TRUE(layer.contains(0.5f, 0.5f));
    layer.ovalPath(-1, -1, 2, 2);  // replaces the path
    EXPECT_TRUE(layer.contains(0.69f, 0.69f));
    EXPECT_FALSE(layer.contains(0.72f, 0.72f));
    layer.removeAllPoints();
    layer.arc(0, 0, 1, 0, 180);  // a half disc closed by the diameter
    EXPECT_TRUE(layer.contains(0, 0.5f));
    EXPECT_FALSE(layer.contains(0, -0.5f));
}

}  // namespace
