#include "canvas/view.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <cmath>
#include <cstring>
#include <vector>

#include "canvas/mouse.h"
#include "canvas_support.h"
#include "geometry/kernel.h"
#include "geometry/settings.h"
#include "platform/beep.h"
#include "render/depth_order.h"
#include "render/frame.h"
#include "render/projection.h"
#include "tiling/enumeration.h"
#include "tiling/generating_point.h"
#include "tiling/tables.h"

namespace {

struct PictureRow {
    const char* name;
    int p, q, r;
};
constexpr PictureRow kPictures[] = {
    {"sphere 2,3,5", 2, 3, 5}, {"plane 2,4,4", 2, 4, 4}, {"hyperbolic 7,3,2", 7, 3, 2}};

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

bool sameBits(const Matrix& a, const Matrix& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

std::vector<QuadModule*> quadOrder() {
    return {drawLists.quad.begin(), drawLists.quad.begin() + drawLists.quadCount};
}

// A view 800 × 800 at zoom 2: the model square −2..2 on both axes, 200 pixels per unit, so the
// model points used below fall on whole pixels.
class ViewTest : public testing::Test {
  protected:
    void SetUp() override { view.resize(800, 800); }
    void TearDown() override { mouseUp(); }

    QPoint pixel(double x, double y) const {
        const QPointF w = view.widgetPoint({x, y});
        return {static_cast<int>(std::lround(w.x())), static_cast<int>(std::lround(w.y()))};
    }
    QPointF model(const QPoint& pixel) const { return view.modelPoint(QPointF(pixel)); }

    void press(const QPoint& at) { QTest::mousePress(&view, Qt::LeftButton, {}, at); }
    void move(const QPoint& to) { QTest::mouseMove(&view, to); }
    void release(const QPoint& at) { QTest::mouseRelease(&view, Qt::LeftButton, {}, at); }

    View view;
};

TEST_F(ViewTest, PixelsMapOntoTheModelRectangleWithYUpwards) {
    settings = Settings{};
    EXPECT_EQ(model(QPoint(400, 400)), QPointF(0, 0));
    EXPECT_EQ(model(QPoint(0, 0)), QPointF(-2, 2));
    EXPECT_EQ(model(QPoint(800, 800)), QPointF(2, -2));
    view.resize(1600, 800);
    EXPECT_EQ(model(QPoint(0, 800)), QPointF(-4, -2));
    settings.windowZoom = 5;
    EXPECT_EQ(model(QPoint(1600, 0)), QPointF(10, 5));
    const QPointF back = view.modelPoint(view.widgetPoint({1.25, -3.5}));
    EXPECT_NEAR(back.x(), 1.25, 1e-12);
    EXPECT_NEAR(back.y(), -3.5, 1e-12);
}

TEST_F(ViewTest, OnePagePrintedAtTheViewBounds) {
    settings = Settings{};
    setWindowZoom(1440, 900);
    int first = 0, last = 0;
    EXPECT_TRUE(view.knowsPageRange(first, last));
    EXPECT_EQ(first, 1);
    EXPECT_EQ(last, 1);
    const QRectF page = view.rectForPage(1);
    EXPECT_FLOAT_EQ(page.x(), -3.2f);
    EXPECT_FLOAT_EQ(page.y(), -2.0f);
    EXPECT_FLOAT_EQ(page.width(), 6.4f);
    EXPECT_FLOAT_EQ(page.height(), 4.0f);
    EXPECT_TRUE(view.rectForPage(2).isEmpty());
    EXPECT_TRUE(view.rectForPage(0).isEmpty());
    EXPECT_EQ(view.heightAdjustLimit(), 1.0);
    EXPECT_EQ(view.widthAdjustLimit(), 1.0);
    EXPECT_EQ(view.cursor().shape(), Qt::CrossCursor);
}

TEST_F(ViewTest, TranslateDragKeepsTheGrabbedPointUnderThePointer) {
    for (const PictureRow& row : kPictures) {
        for (int projection : {0, 1, 2}) {
            SCOPED_TRACE(testing::Message() << row.name << " projection " << projection);
            makePicture(row.p, row.q, row.r);
            settings.project3D2D = projection;
            settings.mouseMode = 2;
            const QPoint start = pixel(0.3, -0.2);
            const QPointF s = model(start);
            // The model point under the pointer, in the picture's own co-ordinates.
            const Point grabbed =
                dotP(inverseOf(settings.pointMatrix), projInv(s.x(), s.y(), nullptr));
            const Matrix product0 = dotM(settings.colorMatrix, settings.pointMatrix);
            press(start);
            for (const QPoint& to : {pixel(0.1, 0.1), pixel(-0.4, 0.25), pixel(0.05, -0.5)}) {
                move(to);
                const ScreenPoint seen = projXYSelf(grabbed);
                const QPointF want = model(to);
                EXPECT_NEAR(seen.x, want.x(), 1e-5);
                EXPECT_NEAR(seen.y, want.y(), 1e-5);
                // The colours travel with the tiles.
                EXPECT_LT(maxDiff(dotM(settings.colorMatrix, settings.pointMatrix), product0),
                          1e-9);
            }
            release(pixel(0.05, -0.5));
        }
    }
}

TEST_F(ViewTest, PlaneRotateDragTurnsAQuarterAnticlockwiseAndDoubles) {
    makePicture(2, 4, 4);
    settings.mouseMode = 1;
    const Matrix before = settings.pointMatrix;
    // Stereographic view of the plane: (x, y, 1) is seen at (x/2, y/2).
    press(pixel(0.5, 0));
    move(pixel(0, 1));
    const Matrix turn{1, 0, -2, 0, 2, 0, 0, 0, 0, 1};
    EXPECT_LT(maxDiff(settings.pointMatrix, dotM(turn, before)), 1e-12);
    const Point moved = dotP(settings.pointMatrix, dotP(inverseOf(before), Point{1, 0, 1}));
    EXPECT_NEAR(moved.x, 0, 1e-12);
    EXPECT_NEAR(moved.y, 2, 1e-12);
    release(pixel(0, 1));
}

TEST_F(ViewTest, RotateDragNeverScalesOnTheSphereOrTheHyperbolicPlane) {
    for (const PictureRow& row : {kPictures[0], kPictures[2]}) {
        SCOPED_TRACE(row.name);
        makePicture(row.p, row.q, row.r);
        settings.mouseMode = 1;
        const Matrix before = settings.pointMatrix;
        press(pixel(0.25, 0));
        move(pixel(0, 0.5));  // twice as far from the centre, a quarter turn on
        const Matrix M = dotM(settings.pointMatrix, inverseOf(before));
        EXPECT_NEAR(M.m00, 0, 1e-12);
        EXPECT_NEAR(M.m10, 1, 1e-12);
        EXPECT_NEAR(M.m01, -1, 1e-12);
        EXPECT_NEAR(M.m22, 1, 1e-12);
        // Distances from the centre are kept.
        const Point p{0.3, 0.4, settings.gen < 0 ? std::sqrt(0.75) : std::sqrt(1.25)};
        EXPECT_NEAR(dist(dotP(M, p), Point{0, 0, 1}), dist(p, Point{0, 0, 1}), 1e-12);
        release(pixel(0, 0.5));
    }
}

TEST_F(ViewTest, ColoursOnlyDragMovesThePositionColoursNotTheShapes) {
    for (int mode : {1, 2}) {
        SCOPED_TRACE(testing::Message() << "mode " << mode);
        makePicture(7, 3, 2);
        settings.mouseMode = mode;
        settings.mousePoints = false;
        settings.mouseColors = true;
        const Matrix point0 = settings.pointMatrix, color0 = settings.colorMatrix;
        const QPoint from = pixel(0.2, 0.1), to = pixel(-0.15, 0.3);
        const QPointF a = model(from), b = model(to);
        const Point grabbed = projInv(a.x(), a.y(), nullptr);
        press(from);
        move(to);
        release(to);
        EXPECT_TRUE(sameBits(settings.pointMatrix, point0));
        EXPECT_GT(maxDiff(settings.colorMatrix, color0), 1e-3);
        if (mode == 1) continue;  // a turn carries the direction only
        // The colour that belonged to the point under the press now belongs to the point under
        // the release: the colour field moved as the picture would have.
        const Point under = projInv(b.x(), b.y(), &grabbed);
        const Point colourBefore = dotP(color0, grabbed);
        const Point colourAfter = dotP(settings.colorMatrix, under);
        EXPECT_NEAR(colourAfter.x, colourBefore.x, 1e-9);
        EXPECT_NEAR(colourAfter.y, colourBefore.y, 1e-9);
        EXPECT_NEAR(colourAfter.z, colourBefore.z, 1e-9);
    }
}

TEST_F(ViewTest, ReleaseWithoutMovingChangesNothingInModesOneAndTwo) {
    for (int mode : {1, 2}) {
        for (const PictureRow& row : kPictures) {
            SCOPED_TRACE(testing::Message() << row.name << " mode " << mode);
            makePicture(row.p, row.q, row.r);
            settings.mouseMode = mode;
            const Matrix point0 = settings.pointMatrix, color0 = settings.colorMatrix;
            const double lengthV = settings.lengthV;
            const std::vector<QuadModule*> order = quadOrder();
            QSignalSpy lengths(&view, &View::lengthChanged);
            press(pixel(0.3, 0.2));
            release(pixel(0.3, 0.2));
            EXPECT_TRUE(sameBits(settings.pointMatrix, point0));
            EXPECT_TRUE(sameBits(settings.colorMatrix, color0));
            EXPECT_EQ(settings.lengthV, lengthV);
            EXPECT_EQ(quadOrder(), order);
            EXPECT_EQ(lengths.count(), 0);
        }
    }
}

TEST_F(ViewTest, PressWithoutPreimageMakesTheWholeDragInert) {
    makePicture(2, 4, 4);
    settings.mouseMode = 1;  // the centre has no direction to turn from
    const Matrix point0 = settings.pointMatrix;
    const int beeps = beepCount();
    press(pixel(0, 0));
    EXPECT_EQ(beepCount(), beeps + 1);
    move(pixel(0.5, 0.5));
    move(pixel(-0.5, 0.25));
    release(pixel(-0.5, 0.25));
    EXPECT_TRUE(sameBits(settings.pointMatrix, point0));
}

TEST_F(ViewTest, DragPositionWithoutPreimageIsSkipped) {
    makePicture(2, 4, 4);
    settings.mouseMode = 1;
    press(pixel(0.5, 0));
    move(pixel(0, 0.5));
    const Matrix kept = settings.pointMatrix;
    move(pixel(0, 0));  // the centre: no preimage while rotating
    EXPECT_TRUE(sameBits(settings.pointMatrix, kept));
    move(pixel(-0.5, 0));  // later positions count again, still from the press
    const Matrix half{1, -1, 0, 0, 0, -1, 0, 0, 0, 1};
    EXPECT_LT(maxDiff(settings.pointMatrix, half), 1e-12);
    release(pixel(-0.5, 0));
}

// Data records whose poly point is seen (self or mirror image) at the model point q.
int recordsSeenAt(const QPointF& q, bool mirror) {
    const DataTable& t = groupTables.dataVEF;
    int found = 0;
    for (int i = 0; i < t.count; ++i) {
        const ScreenPoint s =
            mirror ? projXYMirror(t.at(i).polyPoint) : projXYSelf(t.at(i).polyPoint);
        if (std::hypot(s.x - q.x(), s.y - q.y()) < 1e-5) ++found;
    }
    return found;
}

TEST_F(ViewTest, SetEdgeLengthsClickMovesTheGeneratingPointUnderThePointer) {
    for (const PictureRow& row : kPictures) {
        SCOPED_TRACE(row.name);
        makePicture(row.p, row.q, row.r, 0.5, 0.3, 0.2);
        settings.mouseMode = 0;
        settings.mirrorDraw = false;
        const int matrices = matrixCount();
        const int quads = drawLists.quadCount;
        const Point triPoint = groupTables.dataEF.at(3).triPoint;
        const Point polyPoint = groupTables.dataVEF.at(3).polyPoint;
        QSignalSpy lengths(&view, &View::lengthChanged);

        const QPoint at = pixel(0.15, 0.1);
        press(at);
        release(at);

        EXPECT_EQ(lengths.count(), 1);
        EXPECT_NEAR(settings.lengthV + settings.lengthE + settings.lengthF, 1, 1e-12);
        EXPECT_GT(std::fabs(settings.lengthV - 0.5) + std::fabs(settings.lengthE - 0.3), 1e-3);
        // Only the poly points moved: the group, the modules and the tri points stayed.
        EXPECT_EQ(matrixCount(), matrices);
        EXPECT_EQ(drawLists.quadCount, quads);
        EXPECT_TRUE(equalsP(groupTables.dataEF.at(3).triPoint, triPoint));
        EXPECT_FALSE(equalsP(groupTables.dataVEF.at(3).polyPoint, polyPoint));
        // An image of the new generating point lies exactly under the pointer.
        EXPECT_GE(recordsSeenAt(model(at), false), 1);
    }
}

TEST_F(ViewTest, SetEdgeLengthsActsOnTheCopyDrawnOnTop) {
    // On the sphere both copies cover the whole drawing plane, so they overlap everywhere. V of
    // odd order: the mirror copy (the other hemisphere) differs from the direct one.
    for (int emphasis : {0, 1}) {
        SCOPED_TRACE(testing::Message() << "selfMirrorEmphasis " << emphasis);
        makePicture(5, 3, 2, 0.5, 0.3, 0.2);
        settings.mouseMode = 0;
        settings.selfMirrorEmphasis = emphasis;
        const QPoint at = pixel(0.35, 0.2);
        press(at);
        release(at);
        const bool mirror = emphasis == 1;
        EXPECT_GE(recordsSeenAt(model(at), mirror), 1);
        EXPECT_EQ(recordsSeenAt(model(at), !mirror), 0);
    }
}

TEST_F(ViewTest, SetEdgeLengthsDragFollowsThePointer) {
    makePicture(2, 4, 4, 0.5, 0.3, 0.2);
    settings.mouseMode = 0;
    settings.mirrorDraw = false;
    QSignalSpy lengths(&view, &View::lengthChanged);
    press(pixel(0.15, 0.1));
    move(pixel(0.2, 0.05));
    move(pixel(0.1, 0.15));
    release(pixel(0.1, 0.15));
    EXPECT_EQ(lengths.count(), 3);
    EXPECT_GE(recordsSeenAt(model(pixel(0.1, 0.15)), false), 1);
}

}  // namespace
