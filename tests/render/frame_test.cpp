#include "render/frame.h"

#include <gtest/gtest.h>

#include <set>
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
