#include "render/frame.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>
#include <utility>
#include <vector>

#include "colour/colour.h"
#include "geometry/settings.h"
#include "render/depth_order.h"
#include "render_support.h"
#include "test_model.h"
#include "tiling/tables.h"

namespace {

using Op = RecordingLayer::Op;
using Paint = RecordingLayer::Paint;

struct Group {
    int v, e, f, order;
};
// Orthographic views keep every point valid, so every decided feature is also stroked.
const Group kGroups[] = {
    {3, 3, 3, 200}, {2, 4, 4, 300}, {7, 3, 2, 200}, {4, 5, 3, 150}, {2, 3, 5, 200}};

bool isDot(const Paint& p) {
    return !p.stroke && !p.path.empty() && p.path[0].op == Op::ovalPath;
}
bool isFace(const Paint& p) {
    return !p.stroke && !isDot(p);
}
int typeOf(const Paint& p) {
    return typeOfColour(p.r, p.g, p.b);
}

// The recording of one drawSelf or drawMirror alone.
std::vector<RecordingLayer::Command> recordPass(void (*pass)(Model&, DrawLayer&)) {
    RecordingLayer layer;
    pass(model, layer);
    return layer.commands();
}

void prepare(const Group& g, int emphasis) {
    makePicture(g.v, g.e, g.f, g.order);
    model.settings.project3D2D = 0;
    model.settings.segments = 1;
    model.settings.polyTriEmphasis = emphasis;
    setOrder(model);
}

}  // namespace

// The copies come in emphasis order, and a second frame repeats the first exactly.
TEST(Frame, CopiesFollowTheEmphasisOrder) {
    RecordingScope scope;
    makePicture(2, 3, 5, 200);
    model.settings.windowDraw = model.settings.circleDraw = model.settings.originDraw = false;
    const auto self = recordPass(drawSelf);
    const auto mirror = recordPass(drawMirror);
    ASSERT_FALSE(self.empty());
    ASSERT_FALSE(mirror.empty());
    struct Row {
        int emphasis;
        bool selfOn, mirrorOn;
        std::vector<const std::vector<RecordingLayer::Command>*> order;
    };
    for (const Row& row :
         {Row{0, true, true, {&mirror, &self}}, Row{1, true, true, {&self, &mirror}},
          Row{0, false, true, {&mirror}}, Row{1, true, false, {&self}}, Row{2, true, true, {}}}) {
        SCOPED_TRACE(testing::Message() << row.emphasis << row.selfOn << row.mirrorOn);
        model.settings.selfMirrorEmphasis = row.emphasis;
        model.settings.selfDraw = row.selfOn;
        model.settings.mirrorDraw = row.mirrorOn;
        std::vector<RecordingLayer::Command> want;
        for (const auto* part : row.order) want.insert(want.end(), part->begin(), part->end());
        for (int frame = 0; frame < 2; ++frame) {
            scope.layer.clear();
            drawFrame(model, {640, 480}, scope.layer);
            expectSameCommands(scope.layer.commands(), want);
        }
    }
}

TEST(Frame, SparkleSchemeGivesNewColoursEveryFrame) {
    RecordingScope scope;
    makePicture(3, 3, 3, 100);
    Settings& s = model.settings;
    s.polyFaceScheme = s.polyEdgeScheme = s.polyVertScheme = 0;
    s.triFaceScheme = s.triEdgeScheme = s.triVertScheme = 0;
    drawFrame(model, {300, 200}, scope.layer);
    const auto first = scope.layer.paints();
    scope.layer.clear();
    drawFrame(model, {300, 200}, scope.layer);
    const auto& second = scope.layer.paints();
    ASSERT_EQ(first.size(), second.size());
    int same = 0;
    for (size_t i = 1; i + 2 < first.size(); ++i)  // past the background, before the circle
        same += first[i].r == second[i].r && first[i].g == second[i].g && first[i].b == second[i].b;
    EXPECT_LT(same, int(first.size()) / 100 + 1);
}

// Poly switches alone run the poly walk only; tri switches alone the tri walk; both the kites.
TEST(Frame, FamilySwitchesChooseTheWalk) {
    RecordingScope scope;
    makePicture(3, 3, 3, 200);
    model.settings.project3D2D = 0;
    setOrder(model);
    const int tris = model.drawLists.triCount, polys = model.drawLists.polyCount,
              quads = model.drawLists.quadCount;
    ASSERT_NE(polys, quads);
    struct Row {
        bool poly, triFace, triEdge, triVert;
        int faces;
        std::set<int> typesAllowed;  // colours of the strokes and dots
    };
    for (const Row& row : {Row{true, false, false, false, polys, {0, 1, 2, 3, 4, 5, 6, 7}},
                           Row{false, true, true, true, tris, {8, 9, 10, 11, 12, 13, 14, 15}},
                           Row{true, false, false, true, quads, {3, 4, 5, 6, 7, 13, 14, 15}},
                           Row{false, false, false, false, 0, {}}}) {
        SCOPED_TRACE(testing::Message() << row.poly << row.triFace << row.triEdge << row.triVert);
        Settings& s = model.settings;
        s.polyFaceDraw = s.polyEdgeDraw = s.polyVertDraw = row.poly;
        s.triFaceDraw = row.triFace, s.triEdgeDraw = row.triEdge, s.triVertDraw = row.triVert;
        scope.layer.clear();
        drawSelf(model, scope.layer);
        int faces = 0;
        for (const Paint& p : scope.layer.paints()) {
            if (isFace(p))
                ++faces;
            else
                EXPECT_TRUE(row.typesAllowed.count(typeOf(p))) << typeOf(p);
        }
        EXPECT_EQ(faces, row.faces);
    }
}

// The working counters make every shared feature paint exactly once per pass: in the kite and
// the tri walk, tri features by their first visitor under emphasis 0 and their last under 1,
// poly features by their first visitor. Paints are assigned to the element whose face they
// precede (or follow), as the walk calls them.
TEST(SharedFeatures, KiteAndTriWalksPaintEachOnceByTheRightVisitor) {
    using Feature = std::pair<const DataModule*, int>;  // record and working counter
    for (const Group& g : kGroups) {
        for (int walk = 0; walk < 2; ++walk) {
            for (int emphasis : {0, 1}) {
                SCOPED_TRACE(testing::Message()
                             << "(" << g.v << "," << g.e << "," << g.f << ") "
                             << (walk ? "tri" : "kite") << " walk, emphasis " << emphasis);
                RecordingScope scope;
                prepare(g, emphasis);
                if (walk == 1) model.settings.polyFaceDraw = model.settings.polyEdgeDraw = false;
                if (walk == 1) model.settings.polyVertDraw = false;
                drawSelf(model, scope.layer);
                const int n = walk ? model.drawLists.triCount : model.drawLists.quadCount;
                std::map<Feature, std::vector<int>> visitors, painters;
                std::vector<std::map<int, Feature>> byType(n);
                for (int i = 0; i < n; ++i) {
                    if (walk == 1) {
                        const TriModule& t = *model.drawLists.tri[i];
                        byType[i] = {{10, {t.EF, 4}}, {11, {t.FV, 4}}, {12, {t.VE, 4}},
                                     {13, {t.V, 0}},  {14, {t.E, 0}},  {15, {t.F, 0}}};
                    } else {
                        const QuadModule& q = *model.drawLists.quad[i];
                        const int k = q.kind, half = q.centre->matrix.sign > 0 ? 2 : 3;
                        byType[i] = {{(k + 1) % 3 + 10, {q.side1, 0}},
                                     {(k + 2) % 3 + 10, {q.side2, 1}},
                                     {13 + k, {q.corner, 0}},
                                     {(k + 1) % 3 + 3, {q.side1, half}},
                                     {(k + 2) % 3 + 3, {q.side2, half}},
                                     {half == 2 ? 6 : 7, {q.centre, 2}}};
                    }
                    for (const auto& [type, feature] : byType[i]) visitors[feature].push_back(i);
                }
                // Tri paints precede the element's face under emphasis 0, poly ones under 1.
                int current = -1, faces = 0;
                bool faceSeen = true;
                for (const Paint& p : scope.layer.paints()) {
                    if (isFace(p)) {
                        if (faceSeen) ++current;
                        faceSeen = true;
                        ++faces;
                        continue;
                    }
                    const int type = typeOf(p);
                    if ((type >= 8) == (emphasis == 0) && faceSeen) ++current, faceSeen = false;
                    ASSERT_GE(current, 0);
                    ASSERT_TRUE(byType[current].count(type)) << current << " type " << type;
                    painters[byType[current].at(type)].push_back(current);
                }
                ASSERT_EQ(faces, n);
                EXPECT_EQ(painters.size(), visitors.size());
                for (const auto& [feature, who] : visitors) {
                    ASSERT_EQ(painters[feature].size(), 1u);
                    const bool last = feature.second != 2 && feature.second != 3 && emphasis == 1;
                    EXPECT_EQ(painters[feature].front(), last ? who.back() : who.front());
                }
            }
        }
    }
}

// In the poly walk every poly edge (whole, or the half beside the rim) and every poly vertex is
// painted once.
TEST(SharedFeatures, PolyWalkPaintsEachEdgeAndVertexOnce) {
    for (const Group& g : kGroups) {
        SCOPED_TRACE(testing::Message() << "(" << g.v << "," << g.e << "," << g.f << ")");
        RecordingScope scope;
        prepare(g, 0);
        model.settings.triFaceDraw = model.settings.triEdgeDraw = model.settings.triVertDraw =
            false;
        drawSelf(model, scope.layer);
        std::set<const DataModule*> sides, corners;
        for (int i = 0; i < model.drawLists.polyCount; ++i) {
            const PolyModule& p = *model.drawLists.poly[i];
            for (int j = 0; j < p.n; ++j) {
                const DataModule *a = p.cornerA[j], *b = p.cornerB[j];
                if (p.sideA[j] && (a || b)) sides.insert(p.sideA[j]);
                if (p.sideB[j] && (b || p.cornerA[(j + 1) % p.n])) sides.insert(p.sideB[j]);
                for (const DataModule* c : {a, b})
                    if (c) corners.insert(c);
            }
        }
        int dots = 0;
        for (const Paint& p : scope.layer.paints()) dots += isDot(p);
        EXPECT_EQ(scope.layer.strokeCount(), int(sides.size()));
        EXPECT_EQ(dots, int(corners.size()));
    }
}
