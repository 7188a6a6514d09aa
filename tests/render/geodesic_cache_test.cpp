// Shared geodesics while a frame paints: looked up instead of recomputed, the drawing must be
// the very same, command for command and bit for bit; thinned for a raster device, every left
// out piece end must stay within the tolerance of the line drawn.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "geometry/settings.h"
#include "platform/polyline.h"
#include "render/depth_order.h"
#include "render/frame.h"
#include "render/paths.h"
#include "render/projection.h"
#include "render_support.h"
#include "test_model.h"

namespace {

struct Picture {
    int v, e, f, order;
};
const Picture kPictures[] = {{2, 3, 5, 200}, {2, 4, 4, 300}, {7, 3, 2, 300}, {4, 4, 4, 200}};

// Both copies, in the order a frame draws them.
void drawCopies(RecordingLayer& layer) {
    drawMirror(model, layer);
    drawSelf(model, layer);
}

// Runs check(scope, picture) for every picture in projections 0 to 5.
template <class Check>
void forEveryView(Check check) {
    for (const Picture& p : kPictures) {
        for (int projection = 0; projection < 6; ++projection) {
            SCOPED_TRACE(testing::Message() << "(" << p.v << "," << p.e << "," << p.f
                                            << ") projection " << projection);
            RecordingScope scope;
            makePicture(p.v, p.e, p.f, p.order);
            model.settings.project3D2D = projection;
            setOrder(model);
            check(scope);
        }
    }
}

// Distance from q to the segment a–b.
double segmentDistance(const float* q, const float* a, const float* b) {
    const double dx = double(b[0]) - a[0], dy = double(b[1]) - a[1];
    const double px = double(q[0]) - a[0], py = double(q[1]) - a[1];
    const double len2 = dx * dx + dy * dy;
    const double t = len2 > 0 ? std::clamp((px * dx + py * dy) / len2, 0.0, 1.0) : 0;
    return std::hypot(px - t * dx, py - t * dy);
}

// Each thinned paint keeps a subsequence of the full one's points, starting where it starts,
// and passes within the tolerance of every point it leaves out; fewer points in all.
void expectThinnedWithin(const std::vector<RecordingLayer::Paint>& full,
                         const std::vector<RecordingLayer::Paint>& thin, double tolerance) {
    ASSERT_EQ(thin.size(), full.size());
    size_t before = 0, after = 0;
    for (size_t i = 0; i < full.size(); ++i) {
        const auto &f = full[i].path, &t = thin[i].path;
        ASSERT_EQ(thin[i].stroke, full[i].stroke);
        ASSERT_EQ(thin[i].r, full[i].r);
        ASSERT_FALSE(t.empty() && !f.empty());
        before += f.size(), after += t.size();
        size_t k = 0;
        for (size_t j = 0; j < f.size(); ++j) {
            if (k < t.size() && t[k].v[0] == f[j].v[0] && t[k].v[1] == f[j].v[1]) {
                ++k;
                continue;
            }
            // Lines reaching far beyond any view are left whole.
            ASSERT_LT(std::fabs(f[j].v[0]) + std::fabs(f[j].v[1]), 2 * kThinningReach * tolerance)
                << "paint " << i;
            ASSERT_GT(k, 0u) << "paint " << i;
            const float* to = k < t.size() ? t[k].v : t[k - 1].v;
            ASSERT_LE(segmentDistance(f[j].v, t[k - 1].v, to), tolerance * (1 + 1e-3) + 1e-6)
                << "paint " << i << " point " << j;
        }
        ASSERT_EQ(k, t.size()) << "paint " << i;
    }
    EXPECT_LT(after, before);
}

}  // namespace

TEST(GeodesicCache, FrameDrawsExactlyWhatItDrawsWithout) {
    for (int walk = 0; walk < 3; ++walk) {
        SCOPED_TRACE(walk == 0 ? "kites" : (walk == 1 ? "triangles" : "polygons"));
        forEveryView([walk](RecordingScope& scope) {
            Settings& s = model.settings;
            if (walk == 1) s.polyFaceDraw = s.polyEdgeDraw = s.polyVertDraw = false;
            if (walk == 2) s.triFaceDraw = s.triEdgeDraw = s.triVertDraw = false;
            drawCopies(scope.layer);
            const std::vector<RecordingLayer::Command> plain = scope.layer.commands();
            scope.layer.clear();
            GeodesicCacheScope cache(model);
            drawCopies(scope.layer);
            EXPECT_GT(cache.size(), 0);
            expectSameCommands(scope.layer.commands(), plain);
        });
    }
}

// Turns and moves the view.
void turnView() {
    Settings& s = model.settings;
    Matrix r, t;
    rotateMXY(s.gen, r, Point{1, 0, 0}, Point{0.6, 0.8, 0});
    Point p;
    normalize(s.gen, p, Point{0.3, -0.2, 1});
    translateM(s.gen, t, p);
    s.pointMatrix = dotM(t, dotM(r, s.pointMatrix));
    setOrder(model);
}

// The thinned line keeps a subsequence of the points, starting where the full one starts, and
// passes within the tolerance of every point it leaves out, in plain and in turned and moved
// views. Where images of geodesics are circles and lines (central and stereographic views) most
// are drawn from a few piece ends without computing the others.
TEST(GeodesicCache, ThinnedLinesStayWithinTheTolerance) {
    int shortcuts[6] = {};
    for (const double tolerance : {1e-4, 2e-3}) {
        SCOPED_TRACE(tolerance);
        forEveryView([tolerance, &shortcuts](RecordingScope& scope) {
            for (int turn = 0; turn < 2; ++turn) {
                if (turn) turnView();
                std::vector<RecordingLayer::Paint> drawn[2];
                for (int thin = 0; thin < 2; ++thin) {
                    scope.layer.clear();
                    GeodesicCacheScope cache(model, thin ? tolerance : 0);
                    drawCopies(scope.layer);
                    drawn[thin] = scope.layer.paints();
                    shortcuts[model.settings.project3D2D] += cache.shortcuts();
                }
                expectThinnedWithin(drawn[0], drawn[1], tolerance);
            }
        });
    }
    EXPECT_GT(shortcuts[1], 0);
    EXPECT_GT(shortcuts[2], 0);
}

TEST(GeodesicCache, LinesWithPointsWithoutImageAreNotThinned) {
    RecordingScope scope;
    model.settings.gen = -1;
    model.settings.project3D2D = 2;
    model.settings.segments = 4;
    // Through the south pole, which has no stereographic image: the full line is drawn.
    const Point a{0.6, 0, -0.8}, b{-0.6, 0, -0.8};
    path2(scope.target(), a, b, 1);
    const size_t plain = scope.layer.commands().size();
    scope.layer.clear();
    {
        GeodesicCacheScope cache(model, 10);
        path2(scope.target(), a, b, 1);
    }
    EXPECT_EQ(scope.layer.commands().size(), plain);
}

// The inverted copy is drawn from the direct images inverted in the unit circle: every point
// must come out as projXYMirror gives it, including points without a direct image (drawn at
// the centre) and the centre itself (without an inverted image).
TEST(GeodesicCache, InvertedImagesAreTheMirrorProjections) {
    const std::vector<Point> cases[3] = {
        {{0, 0, 1}, {0, 0, -1}, {0.6, 0, 0.8}, {0.48, -0.6, 0.64}, {1, 0, 0}},
        {{0, 0, 1}, {2, 3, 1}, {-0.001, 0.002, 1}, {40, -7, 1}},
        {{0, 0, 1}, {3, 4, std::sqrt(26.0)}, {0.1, -0.2, std::sqrt(1.05)}}};
    for (int gen = -1; gen <= 1; ++gen) {
        for (int projection = 0; projection < 6; ++projection) {
            SCOPED_TRACE(testing::Message() << "gen " << gen << " projection " << projection);
            RecordingScope scope;
            model.settings.gen = gen;
            model.settings.project3D2D = projection;
            model.settings.segments = 1;
            const std::vector<Point>& points = cases[gen + 1];
            for (size_t i = 0; i < points.size(); ++i) {
                scope.layer.clear();
                path1(scope.target(true), points[0], points[i]);
                const ScreenPoint expected = projXYMirror(model.settings, points[i]);
                const auto& got = scope.layer.commands();
                ASSERT_EQ(got.size(), validS(expected) ? 1u : 0u) << i;
                if (got.empty()) continue;
                EXPECT_EQ(got[0].v[0], expected.x) << i;
                EXPECT_EQ(got[0].v[1], expected.y) << i;
            }
        }
    }
}
