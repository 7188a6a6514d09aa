#include "render/frame.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <utility>
#include <vector>

#include "geometry/settings.h"
#include "render/depth_order.h"
#include "render_support.h"
#include "test_model.h"
#include "tiling/tables.h"

namespace {

struct Group {
    int v, e, f, order;
};
const Group kGroups[] = {
    {3, 3, 3, 200}, {2, 4, 4, 300}, {7, 3, 2, 200}, {4, 5, 3, 150}, {2, 3, 5, 200}};

// The direct copy, orthographic so that every point is valid and every decided feature stroked,
// with the poly family on or off and the tri family's faces, edges and vertices by bits 0 to 2.
std::vector<Paint> paintSelf(bool poly, int tri, int emphasis = 0) {
    Settings& s = model.settings;
    s.project3D2D = 0;
    s.segments = 1;
    s.polyTriEmphasis = emphasis;
    s.polyFaceDraw = s.polyEdgeDraw = s.polyVertDraw = poly;
    s.triFaceDraw = tri & 1, s.triEdgeDraw = tri & 2, s.triVertDraw = tri & 4;
    setOrder(model);
    RecordingLayer layer;
    drawSelf(model, layer);
    return layer.paints();
}

}  // namespace

// The copies come in emphasis order, and a second frame repeats the first exactly.
TEST(Frame, CopiesFollowTheEmphasisOrder) {
    makePicture(2, 3, 5, 200);
    model.settings.windowDraw = model.settings.circleDraw = model.settings.originDraw = false;
    RecordingLayer self, mirror;
    drawSelf(model, self);
    drawMirror(model, mirror);
    ASSERT_FALSE(self.commands().empty() || mirror.commands().empty());
    struct Row {
        int emphasis;
        bool selfOn, mirrorOn;
        std::vector<const RecordingLayer*> order;
    };
    for (const Row& row :
         {Row{0, true, true, {&mirror, &self}}, Row{1, true, true, {&self, &mirror}},
          Row{0, false, true, {&mirror}}, Row{1, true, false, {&self}}, Row{2, true, true, {}}}) {
        SCOPED_TRACE(testing::Message() << row.emphasis << row.selfOn << row.mirrorOn);
        model.settings.selfMirrorEmphasis = row.emphasis;
        model.settings.selfDraw = row.selfOn;
        model.settings.mirrorDraw = row.mirrorOn;
        Commands want;
        for (const auto* part : row.order)
            want.insert(want.end(), part->commands().begin(), part->commands().end());
        for (int frame = 0; frame < 2; ++frame) {
            RecordingLayer layer;
            drawFrame(model, {640, 480}, layer);
            EXPECT_TRUE(same(layer.commands(), want)) << "frame " << frame;
        }
    }
}

TEST(Frame, SparkleSchemeGivesNewColoursEveryFrame) {
    makePicture(3, 3, 3, 100);
    Settings& s = model.settings;
    s.polyFaceScheme = s.polyEdgeScheme = s.polyVertScheme = 0;
    s.triFaceScheme = s.triEdgeScheme = s.triVertScheme = 0;
    RecordingLayer first, second;
    drawFrame(model, {300, 200}, first);
    drawFrame(model, {300, 200}, second);
    const auto &a = first.paints(), &b = second.paints();
    ASSERT_EQ(a.size(), b.size());
    int same = 0;
    for (size_t i = 1; i + 2 < a.size(); ++i)  // past the background, before the circle
        same += a[i].r == b[i].r && a[i].g == b[i].g && a[i].b == b[i].b;
    EXPECT_LT(same, int(a.size()) / 100 + 1);
}

// Poly switches alone run the poly walk only; tri switches alone the tri walk; both the kites.
TEST(Frame, FamilySwitchesChooseTheWalk) {
    makePicture(3, 3, 3, 200);
    struct Row {
        bool poly;
        int tri;
        int faces;
        std::set<int> typesAllowed;  // colours of the strokes and dots
    };
    setOrder(model);
    const DrawLists& d = model.drawLists;
    ASSERT_NE(d.polyCount, d.quadCount);
    for (const Row& row :
         {Row{true, 0, d.polyCount, {0, 1, 2, 3, 4, 5, 6, 7}},
          Row{false, 7, d.triCount, {8, 9, 10, 11, 12, 13, 14, 15}},
          Row{true, 4, d.quadCount, {3, 4, 5, 6, 7, 13, 14, 15}}, Row{false, 0, 0, {}}}) {
        SCOPED_TRACE(testing::Message() << row.poly << row.tri);
        int faces = 0;
        for (const Paint& p : paintSelf(row.poly, row.tri)) {
            if (!p.stroke && !isDot(p))
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
        makePicture(g.v, g.e, g.f, g.order);
        for (int walk = 0; walk < 2; ++walk) {
            for (int emphasis : {0, 1}) {
                SCOPED_TRACE(testing::Message()
                             << "(" << g.v << "," << g.e << "," << g.f << ") "
                             << (walk ? "tri" : "kite") << " walk, emphasis " << emphasis);
                const std::vector<Paint> paints = paintSelf(walk == 0, 7, emphasis);
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
                for (const Paint& p : paints) {
                    if (!p.stroke && !isDot(p)) {
                        current += faceSeen;
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
        makePicture(g.v, g.e, g.f, g.order);
        const std::vector<Paint> paints = paintSelf(true, 0);
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
        int strokes = 0, dots = 0;
        for (const Paint& p : paints) strokes += p.stroke, dots += isDot(p);
        EXPECT_EQ(strokes, int(sides.size()));
        EXPECT_EQ(dots, int(corners.size()));
    }
}
