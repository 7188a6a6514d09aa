#include "render/frame.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

#include "colour/colour.h"
#include "geometry/settings.h"
#include "render/depth_order.h"
#include "render/projection.h"
#include "render_support.h"
#include "tiling/tables.h"

namespace {

using Op = RecordingLayer::Op;
using Paint = RecordingLayer::Paint;

struct Group {
    int v, e, f, order;
};

// Orthographic views keep every point valid, so every decided feature is also stroked.
const Group kGroups[] = {
    {3, 3, 3, 200},  // plane
    {2, 4, 4, 300},  // plane
    {7, 3, 2, 200},  // hyperbolic
    {4, 5, 3, 150},  // hyperbolic
    {2, 3, 5, 200},  // sphere, the full group of 120
};

bool isDot(const Paint& p) {
    return !p.stroke && !p.path.empty() && p.path[0].op == Op::ovalPath;
}
bool isFace(const Paint& p) {
    return !p.stroke && !isDot(p);
}

// Which copy's paints are which: the recording of one drawSelf or drawMirror alone.
std::vector<RecordingLayer::Command> recordPass(void (*pass)()) {
    RecordingLayer layer;
    DrawLayer* previous = currentLayer();
    setCurrentLayer(&layer);
    pass();
    setCurrentLayer(previous);
    return layer.commands();
}

void expectSameStream(const std::vector<RecordingLayer::Command>& got,
                      const std::vector<RecordingLayer::Command>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < got.size(); ++i) {
        ASSERT_EQ(got[i].op, want[i].op) << i;
        for (int k = 0; k < 5; ++k) ASSERT_EQ(got[i].v[k], want[i].v[k]) << i;
    }
}

// A shared feature: a data record and the working counter that decides it (0..3); tri edges of
// the tri walk use both w0 and w1 and are keyed 4.
using Feature = std::pair<const DataModule*, int>;

// Assigns the paints of one walk to the elements that made them. Each element paints exactly
// one face; `before` tells whether a non-face paint precedes its element's face in the walk's
// call order (true) or follows it.
template <class Before>
std::vector<int> owners(const std::vector<Paint>& paints, Before before, int& faces) {
    std::vector<int> owner;
    int current = -1;
    bool faceSeen = true;
    faces = 0;
    for (const Paint& p : paints) {
        if (isFace(p)) {
            if (faceSeen) ++current;
            faceSeen = true;
            ++faces;
        } else if (before(p)) {
            if (faceSeen) ++current, faceSeen = false;
        }
        owner.push_back(current);
    }
    return owner;
}

int typeOf(const Paint& p) {
    return typeOfColour(p.r, p.g, p.b);
}

}  // namespace

TEST(ViewBounds, ShorterSideSpansTwiceTheZoom) {
    const ViewRect wide = viewRectFor(1920, 1080, 2);
    EXPECT_FLOAT_EQ(wide.x, -2.0f * 1920 / 1080);
    EXPECT_FLOAT_EQ(wide.y, -2);
    EXPECT_FLOAT_EQ(wide.width, 4.0f * 1920 / 1080);
    EXPECT_FLOAT_EQ(wide.height, 4);
    const ViewRect tall = viewRectFor(600, 800, 5);
    EXPECT_FLOAT_EQ(tall.x, -5);
    EXPECT_FLOAT_EQ(tall.y, -5.0f * 800 / 600);
    EXPECT_FLOAT_EQ(tall.width, 10);
    EXPECT_FLOAT_EQ(tall.height, 10.0f * 800 / 600);
    settings = Settings{};
    settings.windowZoom = 3;
    setWindowZoom(1000, 500);
    EXPECT_FLOAT_EQ(viewState.rect0.height, 6);  // the unit circle spans 1/3 of the height
    EXPECT_FLOAT_EQ(viewState.rect0.width, 12);
    // An empty screen still gives a usable square.
    const ViewRect none = viewRectFor(0, 0, 2);
    EXPECT_FLOAT_EQ(none.width, 4);
}

TEST(Frame, BackgroundCircleAndOriginMark) {
    RecordingScope scope;
    Settings& s = settings;
    s.selfDraw = s.mirrorDraw = false;
    s.windowColor = {0.1f, 0.2f, 0.3f};
    s.circleColor = {0.4f, 0.5f, 0.6f};
    s.originColor = {0.7f, 0.8f, 0.9f};
    s.windowAlpha = 0.9;
    s.circleAlpha = 0.25;
    s.originAlpha = 0.75;
    s.windowZoom = 4;
    s.circleThick = 0.5;  // 0.02 model units
    s.originThick = 1;    // t = 0.04
    drawFrame(scope.layer, 800, 400);
    expectCommands(scope.layer, {{Op::setColor, {0.1f, 0.2f, 0.3f, 0.9f}},
                                 {Op::rectPath, {-8, -4, 16, 8}},
                                 {Op::fill},
                                 {Op::setColor, {0.4f, 0.5f, 0.6f, 0.25f}},
                                 {Op::ovalPath, {-1, -1, 2, 2}},
                                 {Op::setLineWidth, {0.02f}},
                                 {Op::stroke},
                                 {Op::setColor, {0.7f, 0.8f, 0.9f, 0.75f}},
                                 {Op::ovalPath, {-0.04f, -0.04f, 0.08f, 0.08f}},
                                 {Op::setLineWidth, {0.04f}},
                                 {Op::stroke}});
    EXPECT_EQ(currentLayer(), &scope.layer);  // the layer in place before is put back

    scope.layer.clear();
    s.windowDraw = s.circleDraw = s.originDraw = false;
    drawFrame(scope.layer, 800, 400);
    EXPECT_TRUE(scope.layer.commands().empty());
}

TEST(Frame, CopiesFollowTheEmphasisOrder) {
    RecordingScope scope;
    makePicture(2, 3, 5, 200);
    settings.windowDraw = settings.circleDraw = settings.originDraw = false;
    const auto self = recordPass(drawSelf);
    const auto mirror = recordPass(drawMirror);
    ASSERT_FALSE(self.empty());
    ASSERT_FALSE(mirror.empty());

    struct Row {
        int emphasis;
        bool selfOn, mirrorOn;
        std::vector<const std::vector<RecordingLayer::Command>*> order;
    };
    const Row rows[] = {{0, true, true, {&mirror, &self}},
                        {1, true, true, {&self, &mirror}},
                        {0, false, true, {&mirror}},
                        {1, true, false, {&self}},
                        {2, true, true, {}}};
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.emphasis << row.selfOn << row.mirrorOn);
        settings.selfMirrorEmphasis = row.emphasis;
        settings.selfDraw = row.selfOn;
        settings.mirrorDraw = row.mirrorOn;
        scope.layer.clear();
        drawFrame(scope.layer, 640, 480);
        std::vector<RecordingLayer::Command> want;
        for (const auto* part : row.order) want.insert(want.end(), part->begin(), part->end());
        expectSameStream(scope.layer.commands(), want);
    }
}

TEST(Frame, EveryFrameStartsAfresh) {
    RecordingScope scope;
    makePicture(7, 3, 2, 300);
    for (int emphasis : {0, 1}) {
        SCOPED_TRACE(emphasis);
        settings.polyTriEmphasis = emphasis;
        scope.layer.clear();
        drawFrame(scope.layer, 300, 200);
        const auto first = scope.layer.commands();
        scope.layer.clear();
        drawFrame(scope.layer, 300, 200);
        expectSameStream(scope.layer.commands(), first);
    }
}

TEST(Frame, SparkleSchemeGivesNewColoursEveryFrame) {
    RecordingScope scope;
    makePicture(3, 3, 3, 100);
    Settings& s = settings;
    s.polyFaceScheme = s.polyEdgeScheme = s.polyVertScheme = 0;
    s.triFaceScheme = s.triEdgeScheme = s.triVertScheme = 0;
    drawFrame(scope.layer, 300, 200);
    const auto first = scope.layer.paints();
    scope.layer.clear();
    drawFrame(scope.layer, 300, 200);
    const auto& second = scope.layer.paints();
    ASSERT_EQ(first.size(), second.size());
    int same = 0;
    for (size_t i = 1; i + 2 < first.size(); ++i) {  // past the background, before the circle
        same += first[i].r == second[i].r && first[i].g == second[i].g && first[i].b == second[i].b;
    }
    EXPECT_LT(same, int(first.size()) / 100 + 1);
}

TEST(Frame, FamilySwitchesChooseTheWalk) {
    RecordingScope scope;
    makePicture(3, 3, 3, 200);
    settings.windowDraw = settings.circleDraw = settings.originDraw = settings.mirrorDraw = false;
    settings.project3D2D = 0;
    setOrder();
    const int tris = drawLists.triCount, polys = drawLists.polyCount, quads = drawLists.quadCount;
    ASSERT_NE(polys, quads);

    struct Row {
        const char* name;
        bool polyFace, polyEdge, polyVert, triFace, triEdge, triVert;
        int faces;                   // face fills expected
        std::set<int> typesAllowed;  // colours of the strokes and dots
    };
    const Row rows[] = {
        {"poly only", true, true, true, false, false, false, polys, {0, 1, 2, 3, 4, 5, 6, 7}},
        {"tri only", false, false, false, true, true, true, tris, {8, 9, 10, 11, 12, 13, 14, 15}},
        {"poly and one tri switch",
         true,
         true,
         true,
         false,
         false,
         true,
         quads,
         {3, 4, 5, 6, 7, 13, 14, 15}},
        {"nothing", false, false, false, false, false, false, 0, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Settings& s = settings;
        s.polyFaceDraw = row.polyFace, s.polyEdgeDraw = row.polyEdge, s.polyVertDraw = row.polyVert;
        s.triFaceDraw = row.triFace, s.triEdgeDraw = row.triEdge, s.triVertDraw = row.triVert;
        scope.layer.clear();
        drawSelf();
        int faces = 0;
        for (const Paint& p : scope.layer.paints()) {
            if (isFace(p)) {
                ++faces;
            } else {
                EXPECT_TRUE(row.typesAllowed.count(typeOf(p))) << typeOf(p);
            }
        }
        EXPECT_EQ(faces, row.faces);
    }
}

TEST(Frame, EdgeSwitchRemovesItsEdgesFromEveryWalk) {
    RecordingScope scope;
    makePicture(3, 4, 4, 200);
    settings.project3D2D = 0;
    setOrder();
    for (bool triOn : {false, true}) {
        for (bool efOn : {true, false}) {
            SCOPED_TRACE(testing::Message() << "tri " << triOn << " EF " << efOn);
            Settings& s = settings;
            s.triFaceDraw = s.triEdgeDraw = s.triVertDraw = triOn;
            s.polyEdgeEFDraw = efOn;
            scope.layer.clear();
            drawSelf();
            int ef = 0, others = 0;
            for (const Paint& p : scope.layer.paints()) {
                if (!p.stroke) continue;
                const int type = typeOf(p);
                ef += type == 3;
                others += type == 4 || type == 5;
            }
            EXPECT_EQ(ef > 0, efOn);
            EXPECT_GT(others, 0);
        }
    }
}

// The working counters make every shared tri edge, tri vertex, poly half edge and poly vertex
// paint exactly once per pass in the quad walk: tri features by their first visitor under
// emphasis 0 and their last under emphasis 1, poly features by their first visitor.
TEST(SharedFeatures, QuadWalkPaintsEachOnceByTheRightVisitor) {
    for (const Group& g : kGroups) {
        for (int emphasis : {0, 1}) {
            SCOPED_TRACE(testing::Message()
                         << "(" << g.v << "," << g.e << "," << g.f << ") emphasis " << emphasis);
            RecordingScope scope;
            makePicture(g.v, g.e, g.f, g.order);
            settings.project3D2D = 0;
            settings.segments = 1;
            settings.polyTriEmphasis = emphasis;
            setOrder();
            drawSelf();

            // Who visits what, in drawing order.
            const int n = drawLists.quadCount;
            std::map<Feature, std::vector<int>> visitors;
            std::vector<std::map<int, Feature>> byType(n);
            for (int i = 0; i < n; ++i) {
                const QuadModule& q = *drawLists.quad[i];
                const int k = q.kind;
                const int half = q.centre->matrix.sign > 0 ? 2 : 3;
                byType[i] = {{(k + 1) % 3 + 10, {q.side1, 0}},
                             {(k + 2) % 3 + 10, {q.side2, 1}},
                             {13 + k, {q.corner, 0}},
                             {(k + 1) % 3 + 3, {q.side1, half}},
                             {(k + 2) % 3 + 3, {q.side2, half}},
                             {half == 2 ? 6 : 7, {q.centre, 2}}};
                for (const auto& [type, feature] : byType[i]) visitors[feature].push_back(i);
            }

            // Who painted what: tri paints come before the kite's face under emphasis 0, poly
            // paints under emphasis 1.
            const auto& paints = scope.layer.paints();
            int faces = 0;
            const auto owner = owners(
                paints, [&](const Paint& p) { return (typeOf(p) >= 8) == (emphasis == 0); }, faces);
            ASSERT_EQ(faces, n);
            std::map<Feature, std::vector<int>> painters;
            for (size_t i = 0; i < paints.size(); ++i) {
                if (isFace(paints[i])) continue;
                const int type = typeOf(paints[i]);
                const int q = owner[i];
                ASSERT_GE(q, 0);
                ASSERT_TRUE(byType[q].count(type)) << "quad " << q << " type " << type;
                painters[byType[q].at(type)].push_back(q);
            }

            for (const auto& [feature, who] : visitors) {
                const auto it = painters.find(feature);
                ASSERT_TRUE(it != painters.end());
                ASSERT_EQ(it->second.size(), 1u);
                // Tri features count on w0 and w1 (of side and corner records); poly ones on
                // w2 and w3.
                const bool triFeature = feature.second <= 1;
                const int expected = triFeature && emphasis == 1 ? who.back() : who.front();
                EXPECT_EQ(it->second.front(), expected);
            }
            EXPECT_EQ(painters.size(), visitors.size());
        }
    }
}

// In the tri walk whole tri edges (both counters) and tri vertices go to the first visitor
// under emphasis 0 and the last under 1.
TEST(SharedFeatures, TriWalkPaintsEachOnceByTheRightVisitor) {
    for (const Group& g : kGroups) {
        for (int emphasis : {0, 1}) {
            SCOPED_TRACE(testing::Message()
                         << "(" << g.v << "," << g.e << "," << g.f << ") emphasis " << emphasis);
            RecordingScope scope;
            makePicture(g.v, g.e, g.f, g.order);
            Settings& s = settings;
            s.project3D2D = 0;
            s.segments = 1;
            s.polyTriEmphasis = emphasis;
            s.polyFaceDraw = s.polyEdgeDraw = s.polyVertDraw = false;
            setOrder();
            drawSelf();

            const int n = drawLists.triCount;
            std::map<Feature, std::vector<int>> visitors;
            std::vector<std::map<int, Feature>> byType(n);
            for (int i = 0; i < n; ++i) {
                const TriModule& t = *drawLists.tri[i];
                byType[i] = {{10, {t.EF, 4}}, {11, {t.FV, 4}}, {12, {t.VE, 4}},
                             {13, {t.V, 0}},  {14, {t.E, 0}},  {15, {t.F, 0}}};
                for (const auto& [type, feature] : byType[i]) visitors[feature].push_back(i);
            }
            const auto& paints = scope.layer.paints();
            int faces = 0;
            const auto owner = owners(
                paints, [&](const Paint&) { return emphasis == 0; }, faces);
            ASSERT_EQ(faces, n);
            std::map<Feature, std::vector<int>> painters;
            for (size_t i = 0; i < paints.size(); ++i) {
                if (isFace(paints[i])) continue;
                const int t = owner[i];
                ASSERT_TRUE(byType[t].count(typeOf(paints[i])));
                painters[byType[t].at(typeOf(paints[i]))].push_back(t);
            }
            for (const auto& [feature, who] : visitors) {
                ASSERT_EQ(painters[feature].size(), 1u);
                EXPECT_EQ(painters[feature].front(), emphasis == 0 ? who.front() : who.back());
            }
        }
    }
}

// In the poly walk every poly edge (whole, or the half beside the one enumerated triangle) and
// every poly vertex is painted once, by the first polygon in drawing order that has it.
TEST(SharedFeatures, PolyWalkPaintsEachOnceByTheFirstVisitor) {
    for (const Group& g : kGroups) {
        for (int emphasis : {0, 1}) {
            SCOPED_TRACE(testing::Message()
                         << "(" << g.v << "," << g.e << "," << g.f << ") emphasis " << emphasis);
            RecordingScope scope;
            makePicture(g.v, g.e, g.f, g.order);
            Settings& s = settings;
            s.project3D2D = 0;
            s.segments = 1;
            s.polyTriEmphasis = emphasis;
            s.triFaceDraw = s.triEdgeDraw = s.triVertDraw = false;
            if (s.gen < 0) {
                // Tilt the sphere so that no two points of a polygon overlap in the view.
                const double c = std::cos(0.3), t = std::sin(0.3);
                s.pointMatrix = Matrix{1, 1, 0, 0, 0, c, -t, 0, t, c};
            }
            setOrder();
            drawSelf();

            auto key = [](const DataModule* d) {
                const ScreenPoint p = projXYSelf(d->polyPoint);
                return std::pair{p.x, p.y};
            };
            const int n = drawLists.polyCount;
            // Per polygon: the side record of every stroke it could make, by its two ends, and
            // its corners by their place.
            std::map<const DataModule*, std::vector<int>> edgeVisitors, vertVisitors;
            std::vector<std::map<std::pair<std::pair<float, float>, std::pair<float, float>>,
                                 const DataModule*>>
                edgeOf(n);
            std::vector<std::map<std::pair<float, float>, const DataModule*>> cornerAt(n);
            for (int i = 0; i < n; ++i) {
                const PolyModule& p = *drawLists.poly[i];
                for (int j = 0; j < p.n; ++j) {
                    const DataModule* a = p.cornerA[j];
                    const DataModule* b = p.cornerB[j];
                    const DataModule* next = p.cornerA[(j + 1) % p.n];
                    if (const DataModule* sa = p.sideA[j]; sa && (a || b)) {
                        edgeVisitors[sa].push_back(i);
                        if (a && b)
                            edgeOf[i][{key(a), key(b)}] = sa;
                        else if (a)
                            edgeOf[i][{key(a), key(sa)}] = sa;
                        else
                            edgeOf[i][{key(sa), key(b)}] = sa;
                    }
                    if (const DataModule* sb = p.sideB[j]; sb && (b || next)) {
                        edgeVisitors[sb].push_back(i);
                        if (b && next)
                            edgeOf[i][{key(b), key(next)}] = sb;
                        else if (b)
                            edgeOf[i][{key(b), key(sb)}] = sb;
                        else
                            edgeOf[i][{key(sb), key(next)}] = sb;
                    }
                    for (const DataModule* c : {a, b}) {
                        if (!c) continue;
                        vertVisitors[c].push_back(i);
                        cornerAt[i][key(c)] = c;
                    }
                }
            }
            const auto& paints = scope.layer.paints();
            int faces = 0;
            const auto owner = owners(
                paints, [&](const Paint&) { return emphasis == 1; }, faces);
            ASSERT_EQ(faces, n);
            std::map<const DataModule*, std::vector<int>> edgePainters, vertPainters;
            for (size_t i = 0; i < paints.size(); ++i) {
                const Paint& p = paints[i];
                const int o = owner[i];
                if (p.stroke) {
                    const std::pair ends{std::pair{p.path[0].v[0], p.path[0].v[1]},
                                         std::pair{p.path[1].v[0], p.path[1].v[1]}};
                    ASSERT_TRUE(edgeOf[o].count(ends));
                    edgePainters[edgeOf[o].at(ends)].push_back(o);
                } else if (isDot(p)) {
                    const float r = p.path[0].v[2] / 2;
                    const std::pair centre{p.path[0].v[0] + r, p.path[0].v[1] + r};
                    // The dot's centre is rounded through x − r + r: find the nearest corner.
                    const DataModule* best = nullptr;
                    float bestD = 1e30f;
                    for (const auto& [at, c] : cornerAt[o]) {
                        const float d =
                            std::abs(at.first - centre.first) + std::abs(at.second - centre.second);
                        if (d < bestD) bestD = d, best = c;
                    }
                    ASSERT_LT(bestD, 1e-4f);
                    vertPainters[best].push_back(o);
                }
            }
            for (const auto& [side, who] : edgeVisitors) {
                ASSERT_EQ(edgePainters[side].size(), 1u);
                EXPECT_EQ(edgePainters[side].front(), who.front());
            }
            for (const auto& [corner, who] : vertVisitors) {
                ASSERT_EQ(vertPainters[corner].size(), 1u);
                EXPECT_EQ(vertPainters[corner].front(), who.front());
            }
        }
    }
}
