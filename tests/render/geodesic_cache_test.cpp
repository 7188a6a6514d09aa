// Shared geodesics while a frame paints: looked up instead of recomputed, the drawing must be
// the very same, command for command and bit for bit; thinned for a raster device, every left
// out piece end must stay within the tolerance of the line drawn.

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "geometry/settings.h"
#include "render/depth_order.h"
#include "render/frame.h"
#include "render/paths.h"
#include "render/projection.h"
#include "render_support.h"

namespace {

using Op = RecordingLayer::Op;

struct Picture {
    const char* name;
    int v, e, f, order;
};
const Picture kPictures[] = {{"sphere", 2, 3, 5, 200},
                             {"plane", 2, 4, 4, 300},
                             {"hyperbolic", 7, 3, 2, 300},
                             {"hyperbolic (4,4,4)", 4, 4, 4, 200}};

// Both copies, in the order a frame draws them, into the scope's recording layer.
void drawCopies() {
    drawMirror();
    drawSelf();
}

std::string describe(const RecordingLayer::Command& c) {
    return std::to_string(int(c.op)) + " " + std::to_string(c.v[0]) + " " + std::to_string(c.v[1]);
}

// Runs every picture in projections 0 to 5 with the family switches given, as the tests below
// need them: setup(scope) is called with the picture made.
template <class Check>
void forEveryView(Check check) {
    for (const Picture& p : kPictures) {
        for (int projection = 0; projection < 6; ++projection) {
            SCOPED_TRACE(std::string(p.name) + " projection " + std::to_string(projection));
            RecordingScope scope;
            makePicture(p.v, p.e, p.f, p.order);
            settings.project3D2D = projection;
            setOrder();
            check(scope);
        }
    }
}

// Distance from q to the segment a–b.
double segmentDistance(const float* q, const float* a, const float* b) {
    const double dx = double(b[0]) - a[0], dy = double(b[1]) - a[1];
    const double px = double(q[0]) - a[0], py = double(q[1]) - a[1];
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? (px * dx + py * dy) / len2 : 0;
    t = t < 0 ? 0 : (t > 1 ? 1 : t);
    return std::hypot(px - t * dx, py - t * dy);
}

}  // namespace

TEST(GeodesicCache, FrameDrawsExactlyWhatItDrawsWithout) {
    for (int walk = 0; walk < 3; ++walk) {
        SCOPED_TRACE(walk == 0 ? "kites" : (walk == 1 ? "triangles" : "polygons"));
        forEveryView([walk](RecordingScope& scope) {
            Settings& s = settings;
            if (walk == 1) s.polyFaceDraw = s.polyEdgeDraw = s.polyVertDraw = false;
            if (walk == 2) s.triFaceDraw = s.triEdgeDraw = s.triVertDraw = false;
            drawCopies();
            const std::vector<RecordingLayer::Command> plain = scope.layer.commands();
            scope.layer.clear();
            {
                GeodesicCacheScope cache;
                drawCopies();
                EXPECT_GT(geodesicCacheSize(), 0);
            }
            const std::vector<RecordingLayer::Command>& cached = scope.layer.commands();
            ASSERT_EQ(cached.size(), plain.size());
            for (size_t i = 0; i < plain.size(); ++i) {
                // Bit for bit: the looked-up points are the computed ones.
                ASSERT_EQ(describe(cached[i]), describe(plain[i])) << "command " << i;
                ASSERT_EQ(cached[i].v[0], plain[i].v[0]) << "command " << i;
                ASSERT_EQ(cached[i].v[1], plain[i].v[1]) << "command " << i;
            }
        });
    }
}

TEST(GeodesicCache, GeodesicBackwardsIsTheSamePointsInReverse) {
    // The cache keeps one direction of each geodesic and reads it backwards for the other.
    forEveryView([](RecordingScope& scope) {
        settings.segments = 7;
        const QuadModule& q = *drawLists.quad[drawLists.quadCount / 3];
        const Point* ends[] = {&q.centre->polyPoint, &q.side1->polyPoint, &q.corner->polyPoint};
        for (int k = 0; k < 3; ++k) {
            const Point& a = *ends[k];
            const Point& b = *ends[(k + 1) % 3];
            scope.layer.clear();
            path1Self(a, b);
            const std::vector<RecordingLayer::Command> forth = scope.layer.commands();
            scope.layer.clear();
            path1Self(b, a);
            const std::vector<RecordingLayer::Command> back = scope.layer.commands();
            // forth: p1 .. p7 (b); back: p6 .. p0 (a). The shared interior points, reversed:
            ASSERT_EQ(forth.size(), back.size());
            const size_t n = forth.size();
            for (size_t i = 0; i + 1 < n; ++i) {
                EXPECT_EQ(forth[i].v[0], back[n - 2 - i].v[0]) << i;
                EXPECT_EQ(forth[i].v[1], back[n - 2 - i].v[1]) << i;
            }
        }
    });
}

TEST(GeodesicCache, EveryGeodesicOfTheKiteWalkIsComputedOnce) {
    for (const Picture& p : kPictures) {
        SCOPED_TRACE(p.name);
        RecordingScope scope;
        makePicture(p.v, p.e, p.f, p.order);
        // The kites' four sides are all the lines the kite walk draws.
        std::set<std::pair<const Point*, const Point*>> sides;
        auto add = [&](const DataModule* a, const DataModule* b) {
            const Point* x = &a->polyPoint;
            const Point* y = &b->polyPoint;
            sides.insert(x < y ? std::make_pair(x, y) : std::make_pair(y, x));
        };
        for (int i = 0; i < drawLists.quadCount; ++i) {
            const QuadModule& q = *drawLists.quad[i];
            add(q.centre, q.side1);
            add(q.side1, q.corner);
            add(q.corner, q.side2);
            add(q.side2, q.centre);
        }
        GeodesicCacheScope cache;
        drawCopies();
        EXPECT_EQ(geodesicCacheSize(), int(sides.size()));
    }
}

TEST(GeodesicCache, ThinnedLinesStayWithinTheTolerance) {
    const double tolerance = 0.002;
    forEveryView([tolerance](RecordingScope& scope) {
        {
            GeodesicCacheScope cache;
            drawCopies();
        }
        const std::vector<RecordingLayer::Paint> full = scope.layer.paints();
        scope.layer.clear();
        setGeodesicTolerance(tolerance);
        {
            GeodesicCacheScope cache;
            drawCopies();
        }
        setGeodesicTolerance(0);
        const std::vector<RecordingLayer::Paint>& thin = scope.layer.paints();
        ASSERT_EQ(thin.size(), full.size());
        size_t before = 0, after = 0;
        for (size_t i = 0; i < full.size(); ++i) {
            const auto& f = full[i].path;
            const auto& t = thin[i].path;
            ASSERT_EQ(thin[i].stroke, full[i].stroke);
            ASSERT_EQ(thin[i].r, full[i].r);
            ASSERT_FALSE(t.empty() && !f.empty());
            before += f.size(), after += t.size();
            // The thinned line keeps a subsequence of the points, starting where the full one
            // starts, and passes within the tolerance of every point it leaves out.
            size_t k = 0;
            for (size_t j = 0; j < f.size(); ++j) {
                if (k < t.size() && t[k].v[0] == f[j].v[0] && t[k].v[1] == f[j].v[1]) {
                    ++k;
                    continue;
                }
                // Lines reaching far beyond any view are left whole.
                ASSERT_LT(std::fabs(f[j].v[0]), 1e4) << "paint " << i;
                ASSERT_LT(std::fabs(f[j].v[1]), 1e4) << "paint " << i;
                ASSERT_GT(k, 0u) << "paint " << i;
                // Past the last kept point only repeats of it can be left out.
                const float* to = k < t.size() ? t[k].v : t[k - 1].v;
                const double off = segmentDistance(f[j].v, t[k - 1].v, to);
                ASSERT_LE(off, tolerance * (1 + 1e-3) + 1e-6) << "paint " << i << " point " << j;
            }
            ASSERT_EQ(k, t.size()) << "paint " << i;
        }
        EXPECT_LT(after, before);
    });
}

TEST(GeodesicCache, LinesWithPointsWithoutImageAreNotThinned) {
    RecordingScope scope;
    settings.gen = -1;
    settings.project3D2D = 2;
    settings.segments = 4;
    // Through the south pole, which has no stereographic image: the full line is drawn.
    const Point a{0.6, 0, -0.8}, b{-0.6, 0, -0.8};
    path2Self(a, b, 1);
    const std::vector<RecordingLayer::Command> plain = scope.layer.commands();
    scope.layer.clear();
    setGeodesicTolerance(10);
    {
        GeodesicCacheScope cache;
        path2Self(a, b, 1);
    }
    setGeodesicTolerance(0);
    ASSERT_EQ(scope.layer.commands().size(), plain.size());
    // A straight line in the plane keeps its two ends only.
    scope.layer.clear();
    settings.gen = 0;
    settings.project3D2D = 0;
    setGeodesicTolerance(1e-9);
    {
        GeodesicCacheScope cache;
        path2Self(Point{-1, 0, 1}, Point{1, 0.5, 1}, 1);
    }
    setGeodesicTolerance(0);
    EXPECT_EQ(scope.layer.paints().at(0).path.size(), 2u);
}

TEST(GeodesicCache, InvertedImagesAreTheMirrorProjections) {
    // The inverted copy is drawn from the direct images, inverted in the unit circle: every
    // point must come out as projXYMirror gives it, including points without a direct image
    // (drawn at the centre) and the centre itself (without an inverted image).
    const Point sphere[] = {{0, 0, 1}, {0, 0, -1}, {0.6, 0, 0.8}, {0.48, -0.6, 0.64}, {1, 0, 0}};
    const Point plane[] = {{0, 0, 1}, {2, 3, 1}, {-0.001, 0.002, 1}, {40, -7, 1}};
    const Point hyperbolic[] = {{0, 0, 1}, {3, 4, std::sqrt(26.0)}, {0.1, -0.2, std::sqrt(1.05)}};
    struct Case {
        int gen;
        const Point* points;
        int count;
    };
    const Case cases[] = {{-1, sphere, 5}, {0, plane, 4}, {1, hyperbolic, 3}};
    for (const Case& c : cases) {
        for (int projection = 0; projection < 6; ++projection) {
            SCOPED_TRACE(testing::Message() << "gen " << c.gen << " projection " << projection);
            RecordingScope scope;
            settings.gen = c.gen;
            settings.project3D2D = projection;
            settings.segments = 1;
            for (int i = 0; i < c.count; ++i) {
                scope.layer.clear();
                path1Mirror(c.points[0], c.points[i]);
                const ScreenPoint expected = projXYMirror(c.points[i]);
                if (!validS(expected)) {
                    EXPECT_TRUE(scope.layer.commands().empty()) << i;
                    continue;
                }
                ASSERT_EQ(scope.layer.commands().size(), 1u) << i;
                EXPECT_EQ(scope.layer.commands()[0].v[0], expected.x) << i;
                EXPECT_EQ(scope.layer.commands()[0].v[1], expected.y) << i;
            }
        }
    }
}
