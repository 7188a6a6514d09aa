// The drawing view and what moves its picture: drags driven by real events, set edge lengths
// clicks and the hit test under them, the transform tab's steps; whole frames through the banded
// raster layer (the view, PNG export) against QPainter (printing, PDF, SVG), and the caption.

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <cmath>
#include <cstdlib>
#include <tuple>
#include <vector>

#include "canvas/frame_painter.h"
#include "canvas/hit_path.h"
#include "canvas/mouse.h"
#include "canvas/navigation.h"
#include "canvas/view.h"
#include "colour/colour.h"
#include "geometry/kernel.h"
#include "geometry/settings.h"
#include "geometry/triangle_group.h"
#include "platform/beep.h"
#include "render/chain.h"
#include "render/depth_order.h"
#include "render/projection.h"
#include "test_model.h"
#include "tiling/tables.h"

namespace {

constexpr int kTriangles[3][3] = {{2, 3, 5}, {2, 4, 4}, {7, 3, 2}};  // sphere, plane, hyperbolic

// Default settings, then the triangle (p, q, r) with the given proportions, enumerated and
// assembled; the view matrices are the identity.
void makePicture(const int* pqr, double lengthV = 1.0 / 3, double lengthE = 1.0 / 3) {
    model.settings = Settings{};
    model.settings.genV = pqr[0];
    model.settings.genE = pqr[1];
    model.settings.genF = pqr[2];
    model.settings.lengthV = lengthV;
    model.settings.lengthE = lengthE;
    model.settings.lengthF = 1 - lengthV - lengthE;
    initColorMatrices(model.colourState);
    setGenType(model.settings);
    setGen(model);
    rebuildModules(model);
}

// Largest entry difference, the sign included; NaN when an entry is not a number.
double maxDiff(const Matrix& a, const Matrix& b) {
    const double x[] = {a.sign, a.m00, a.m01, a.m02, a.m10, a.m11, a.m12, a.m20, a.m21, a.m22};
    const double y[] = {b.sign, b.m00, b.m01, b.m02, b.m10, b.m11, b.m12, b.m20, b.m21, b.m22};
    double m = 0;
    for (int i = 0; i < 10; ++i) {
        const double d = std::fabs(x[i] - y[i]);
        if (!(d <= m)) m = d;  // a NaN wins
    }
    return m;
}

// A frame over an image that held something else: it starts clear.
QImage frame(QSize size, bool raster, QImage::Format format = QImage::Format_ARGB32_Premultiplied) {
    QImage image(size, format);
    image.fill(Qt::green);
    raster ? renderFrame(model, image) : renderFrameWithPainter(model, image);
    return image;
}

// A view 800 × 800 at zoom 2: the model square −2..2, 200 pixels per unit.
class ViewTest : public testing::Test {
  protected:
    void SetUp() override { view.resize(800, 800); }
    void TearDown() override { mouseUp(); }
    QPoint pixel(const QPointF& p) const { return view.widgetPoint(p).toPoint(); }
    // The model point of the pixel nearest p.
    QPointF at(const QPointF& p) const { return view.modelPoint(QPointF(pixel(p))); }
    void press(const QPointF& p) { QTest::mousePress(&view, Qt::LeftButton, {}, pixel(p)); }
    void move(const QPointF& p) { QTest::mouseMove(&view, pixel(p)); }
    void release(const QPointF& p) { QTest::mouseRelease(&view, Qt::LeftButton, {}, pixel(p)); }
    View view{model};
};

// Picture, projection, mouse mode, the two switches, the press and then the moves, and the
// position left out (−1 none; 0: the press, so the whole drag).
using Drag = std::tuple<int, int, int, bool, bool, std::vector<QPointF>, int>;

// Every step counts from the press, from a view already turned: the grabbed point goes under the
// pointer (a translation, or a turn of the plane) or onto its ray from the centre (a turn); the
// switches choose which matrices move, and with both the colours stay on the tiles. Positions
// without a preimage or a finite motion (the centre under a turn, the south pole under a
// translation, a point on the axis of a turn) are skipped, and a press there makes the drag inert.
TEST_F(ViewTest, DragsMoveTheSwitchedMatricesKeepingTheGrabbedPointUnderThePointer) {
    const QPointF a(0.3, -0.2), b(0.1, 0.1), c(-0.4, 0.25), d(0.05, -0.5), e(0.3, 0), w(-0.3, 0);
    const Drag drags[] = {
        {0, 0, 2, true, true, {a, b, c, d}, -1},      {1, 1, 2, true, true, {a, b, c, d}, -1},
        {2, 2, 2, true, true, {a, b, c, d}, -1},      {2, 2, 2, true, false, {a, b, c}, -1},
        {2, 2, 2, false, true, {a, b, c}, -1},        {0, 1, 1, true, true, {a, b, c, d}, -1},
        {1, 0, 1, true, false, {e, w, {0, 0}, b}, 2}, {0, 3, 2, true, true, {e, w, {0, -1}, b}, 2},
        {0, 3, 1, true, true, {e, w, {0, 1}, b}, 2},  {1, 0, 1, true, true, {{0, 0}, b, c}, 0}};
    for (const auto& [picture, projection, mode, points, colours, path, skipped] : drags) {
        SCOPED_TRACE(testing::Message() << picture << projection << mode << points << colours);
        makePicture(kTriangles[picture]);
        Settings& s = model.settings;
        applyViewStep(model, translateXYMatrix(s.gen, 0.5));
        s.project3D2D = projection;
        s.mouseMode = mode;
        s.mousePoints = points;
        s.mouseColors = colours;
        const Matrix point0 = s.pointMatrix, colour0 = s.colorMatrix;
        const QPointF pressed = at(path[0]);
        Matrix inverse;
        inv(inverse, point0);
        const Point grabbed = dotP(inverse, projInv(s, pressed.x(), pressed.y(), nullptr));
        const int beeps = beepCount();
        press(path[0]);
        EXPECT_EQ(beepCount() > beeps, skipped == 0);
        Matrix point = point0, colour = colour0;
        for (size_t i = 1; i < path.size(); ++i) {
            SCOPED_TRACE(i);
            move(path[i]);
            if (skipped == 0 || int(i) == skipped) {
                EXPECT_EQ(maxDiff(s.pointMatrix, point) + maxDiff(s.colorMatrix, colour), 0);
                continue;
            }
            point = s.pointMatrix;
            colour = s.colorMatrix;
            EXPECT_EQ(maxDiff(point, point0) > 1e-3, points);
            EXPECT_EQ(maxDiff(colour, colour0) > 1e-3, colours);
            if (points && colours) {
                EXPECT_LT(maxDiff(dotM(colour, point), dotM(colour0, point0)), 1e-9);
            }
            const ScreenPoint seen = projXYSelf(s, grabbed);
            const QPointF to = at(path[i]);
            if (points && (mode == 2 || s.gen == 0)) {
                EXPECT_NEAR(seen.x, to.x(), 1e-5);
                EXPECT_NEAR(seen.y, to.y(), 1e-5);
            } else if (points && projection < 3) {
                EXPECT_NEAR(seen.x * to.y() - seen.y * to.x(), 0, 1e-5);
                EXPECT_GT(seen.x * to.x() + seen.y * to.y(), 0);
            }
        }
        release(path.back());
    }
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
    const QPointF q = at({0.35, 0.2});
    for (const auto& row : rows) {
        SCOPED_TRACE(&row - rows);
        makePicture(row, 0.5, 0.3);
        model.settings.mouseMode = 0;
        model.settings.selfDraw = row[3];
        model.settings.mirrorDraw = row[4];
        model.settings.selfMirrorEmphasis = row[5];
        QSignalSpy lengths(&view, &View::lengthChanged);
        press(q);
        release(q);
        EXPECT_EQ(lengths.count(), row[6] >= 0);
        EXPECT_EQ(std::fabs(model.settings.lengthV - 0.5) > 1e-3, row[6] >= 0);
        // Data records whose poly point is seen (self or mirror image) at the pointer.
        int seen[2] = {0, 0};
        const DataTable& t = model.groupTables.dataVEF;
        for (int i = 0; i < t.count; ++i) {
            for (int mirror : {0, 1}) {
                const Point& p = t.at(i).polyPoint;
                const ScreenPoint s =
                    mirror ? projXYMirror(model.settings, p) : projXYSelf(model.settings, p);
                seen[mirror] += std::hypot(s.x - q.x(), s.y - q.y()) < 1e-5;
            }
        }
        EXPECT_EQ(seen[0] > 0, row[6] == 0);
        EXPECT_EQ(seen[1] > 0, row[6] == 1);
    }
    // The mirror copy has no image at the view centre (its far side is at infinity).
    makePicture(kTriangles[0]);
    EXPECT_FALSE(reshapeMirror(model, 0, 0));
    EXPECT_TRUE(reshapeMirror(model, 0.01f, 0.0f));
}

// The steps of the transform tab, from a view away from the identity: each moves the matrices
// the switches let move (reflectZ only the sphere's), keeps the colours on the tiles when both
// move, and is undone by its opposite; a random view starts afresh.
TEST(Steps, StepsMoveTheSwitchedMatricesAndUndoThemselves) {
    const std::pair<void (*)(), void (*)()> pairs[] = {
        {[] { translateZX(model, 0.7); }, [] { translateXZ(model, 0.7); }},
        {[] { translateZY(model, 1.9); }, [] { translateYZ(model, 1.9); }},
        {[] { translateXY(model, 0.3); }, [] { translateYX(model, 0.3); }},
        {[] { reflectX(model); }, [] { reflectX(model); }},
        {[] { reflectY(model); }, [] { reflectY(model); }},
        {[] { reflectZ(model); }, [] { reflectZ(model); }}};
    Settings& s = model.settings;
    for (int gen : {-1, 0, 1}) {
        // ZX carries the view centre towards +x, ZY towards +y, and XY turns x towards y.
        EXPECT_GT(translateZXMatrix(gen, 0.7).m02, 0);
        EXPECT_GT(translateZYMatrix(gen, 0.7).m12, 0);
        EXPECT_GT(translateXYMatrix(gen, 0.3).m10, 0);
        for (int switches = 1; switches < 4; ++switches) {
            for (int i = 0; i < 6; ++i) {
                SCOPED_TRACE(testing::Message() << gen << " " << switches << " " << i);
                s = Settings{};
                s.gen = gen;
                applyViewStep(model, translateZXMatrix(gen, 0.4));
                applyViewStep(model, translateXYMatrix(gen, 1.1));
                s.colorMatrix = dotM(translateZYMatrix(gen, 0.3), s.colorMatrix);
                s.mousePoints = switches & 1;
                s.mouseColors = switches & 2;
                const Matrix point0 = s.pointMatrix, colour0 = s.colorMatrix;
                const bool moves = gen < 0 || i != 5;  // reflectZ
                pairs[i].first();
                EXPECT_EQ(maxDiff(s.pointMatrix, point0) > 1e-3, moves && s.mousePoints);
                EXPECT_EQ(maxDiff(s.colorMatrix, colour0) > 1e-3, moves && s.mouseColors);
                if (switches == 3) {
                    EXPECT_LT(maxDiff(dotM(s.colorMatrix, s.pointMatrix), dotM(colour0, point0)),
                              1e-9);
                }
                pairs[i].second();
                EXPECT_LT(maxDiff(s.pointMatrix, point0), 1e-9);
                EXPECT_LT(maxDiff(s.colorMatrix, colour0), 1e-9);
            }
        }
    }
    // A random view does not depend on the view before it, and the colours follow it.
    srandom(77);
    ranMatrix(model);
    const Matrix random = s.pointMatrix;
    EXPECT_LT(maxDiff(dotM(s.colorMatrix, random), identity), 1e-9);
    translateZY(model, 0.4);
    srandom(77);
    ranMatrix(model);
    EXPECT_EQ(maxDiff(s.pointMatrix, random), 0);
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
    layer.arc(0, 0, 1, 0, 180);  // a half disc closed by the diameter, after a removal
    layer.removeAllPoints();
    layer.arc(0, 0, 1, 0, 180);
    EXPECT_TRUE(layer.contains(0, 0.5f));
    EXPECT_FALSE(layer.contains(0, -0.5f));
}

// The mean over the pixels of the largest channel difference.
double meanDifference(const QImage& a, const QImage& b) {
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum += std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                             std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
        }
    }
    return sum / (a.width() * a.height());
}

// Each geometry in another projection, emphasis and copies drawn, opaque or over a translucent
// background: the raster frame looks like the painter's up to antialiasing.
TEST(Frame, RasterFrameLooksLikeThePainters) {
    for (int row = 0; row < 3; ++row) {
        SCOPED_TRACE(row);
        makePicture(kTriangles[row], 0.2, 0.3);
        Settings& s = model.settings;
        s.windowColor = {0.1f, 0.1f, 0.2f};
        s.windowAlpha = row ? 0.5 : 1;
        s.project3D2D = row ? 2 * row + 1 : 2;
        s.triEdgeThick = s.polyEdgeThick = 1.5;  // lines wide enough to be seen at this size
        s.triVertThick = s.polyVertThick = 2;
        s.polyTriEmphasis = row % 2;
        s.selfMirrorEmphasis = row > 0;
        s.mirrorDraw = row < 2;
        setOrder(model);
        EXPECT_LT(meanDifference(frame({640, 360}, false), frame({640, 360}, true)), 0.25);
    }
    // The drawing view paints in device pixels: at a ratio of 2 the same picture on four times
    // the pixels. Each 2 × 2 block, averaged, is the plain frame up to antialiasing.
    EXPECT_LT(meanDifference(frame({320, 180}, true), frame({640, 360}, true)
                                                          .scaled(320, 180, Qt::IgnoreAspectRatio,
                                                                  Qt::SmoothTransformation)),
              1.2);
    // Images the raster layer cannot write are painted through the painter.
    EXPECT_EQ(frame({160, 90}, true, QImage::Format_RGB32),
              frame({160, 90}, false, QImage::Format_RGB32));
    QImage empty;  // no room: nothing breaks
    renderFrame(model, empty);
    paintFrame(model, nullptr, QSize(10, 10));
}

// The view shows its frame, the same from one paint to the next on its layer, with the caption
// over its lower-left corner unless it is hidden.
TEST(Frame, TheViewShowsTheFrameWithTheCaptionOverItUnlessHidden) {
    makePicture(kTriangles[1]);
    View view(model);
    view.resize(320, 180);
    const QImage bare = frame(view.size(), true);
    const QImage shown = view.grab().toImage().convertToFormat(bare.format());
    EXPECT_EQ(shown.copy(0, 0, 320, 120), bare.copy(0, 0, 320, 120));
    EXPECT_EQ(shown.copy(0, 0, 10, 180), bare.copy(0, 0, 10, 180));  // the margins stay clear
    EXPECT_EQ(shown.copy(0, 170, 320, 10), bare.copy(0, 170, 320, 10));
    EXPECT_NE(shown.copy(0, 120, 160, 60), bare.copy(0, 120, 160, 60));
    view.toggleCaption();
    EXPECT_EQ(view.grab().toImage().convertToFormat(bare.format()), bare);
}

}  // namespace
