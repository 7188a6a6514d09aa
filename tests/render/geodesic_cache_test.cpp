// Shared geodesics while a frame paints: looked up instead of recomputed, the drawing must be
// the very same, command for command and bit for bit; thinned for a raster device, every left
// out piece end must stay within the tolerance of the line drawn.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <tuple>
#include <vector>

#include "geometry/settings.h"
#include "platform/polyline.h"
#include "render/depth_order.h"
#include "render/frame.h"
#include "render/projection.h"
#include "render_support.h"
#include "test_model.h"

namespace {

// Both copies, in the order a frame draws them, with no cache or one of the tolerance; the
// cache's shortcuts are added up.
RecordingLayer drawCopies(bool cached, double tolerance = 0, int* shortcuts = nullptr) {
    RecordingLayer layer;
    std::optional<GeodesicCacheScope> cache;
    if (cached) cache.emplace(model, tolerance);
    drawMirror(model, layer);
    drawSelf(model, layer);
    EXPECT_TRUE(!cached || cache->size() > 0);
    if (shortcuts) *shortcuts += cache->shortcuts();
    return layer;
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
void expectThinnedWithin(const std::vector<Paint>& full, const std::vector<Paint>& thin,
                         double tolerance) {
    ASSERT_EQ(thin.size(), full.size());
    size_t before = 0, after = 0;
    for (size_t i = 0; i < full.size(); ++i) {
        const auto &f = full[i].path, &t = thin[i].path;
        ASSERT_TRUE(thin[i].stroke == full[i].stroke && thin[i].r == full[i].r);
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

// Every picture in projections 0 to 5, drawn by each walk, and by the kites in a turned and moved
// view: shared lines draw exactly what is drawn without, and thinned ones hold. Where images of
// geodesics are circles and lines (central and stereographic views) most are drawn from a few
// piece ends without computing the others.
TEST(GeodesicCache, SharedLinesDrawExactlyAndThinnedOnesWithinTheTolerance) {
    int shortcuts[6] = {};
    for (auto [v, e, f, order] :
         {std::tuple{2, 3, 5, 200}, {2, 4, 4, 300}, {7, 3, 2, 300}, {4, 4, 4, 200}}) {
        for (int projection = 0; projection < 6; ++projection) {
            makePicture(v, e, f, order, projection);
            Settings& s = model.settings;
            for (int step = 0; step < 4; ++step) {
                SCOPED_TRACE(testing::Message()
                             << "(" << v << "," << e << "," << f << ") projection " << projection
                             << " step " << step);
                s.polyFaceDraw = s.polyEdgeDraw = s.polyVertDraw = step != 1;
                s.triFaceDraw = s.triEdgeDraw = s.triVertDraw = step != 2;
                if (step == 3) {
                    Matrix r, t;
                    rotateMXY(s.gen, r, Point{1, 0, 0}, Point{0.6, 0.8, 0});
                    Point p;
                    normalize(s.gen, p, Point{0.3, -0.2, 1});
                    translateM(s.gen, t, p);
                    s.pointMatrix = dotM(t, dotM(r, s.pointMatrix));
                }
                setOrder(model);
                const RecordingLayer full = drawCopies(false);
                EXPECT_TRUE(same(drawCopies(true).commands(), full.commands()));
                for (const double tolerance : {1e-4, 2e-3})
                    expectThinnedWithin(
                        full.paints(), drawCopies(true, tolerance, &shortcuts[projection]).paints(),
                        tolerance);
            }
        }
    }
    EXPECT_GT(shortcuts[1], 0);
    EXPECT_GT(shortcuts[2], 0);
}
