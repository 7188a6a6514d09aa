#include "render/snub_draw.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <vector>

#include "geometry/settings.h"
#include "render/chain.h"
#include "render/depth_order.h"
#include "render/frame.h"
#include "render_support.h"
#include "test_model.h"

namespace {

// The direct copy of the snub of (p, q, r), orthographic so that every point has an image.
std::vector<Paint> paintSnub(int p, int q, int r, int order, bool mirror) {
    makePicture(p, q, r, order, 0, 1. / 3, 1. / 3, 1. / 3);
    Settings& s = model.settings;
    s.segments = 1;
    s.triFaceDraw = s.triEdgeDraw = s.triVertDraw = false;
    s.snubForm = true;
    s.snubMirror = mirror;
    chainSnub(model);
    RecordingLayer layer;
    drawSelf(model, layer);
    return layer.paints();
}

}  // namespace

// The whole snub cube and snub dodecahedron in one copy: each face once in its class (the
// polygons round V, E, F in types 0, 1, 2, the snub triangles in the class of the triangles they
// stand over), each edge once in the type of its kind, each vertex once; a 2-gon is an edge.
TEST(SnubDraw, EveryFaceEdgeAndVertexOnceInItsClass) {
    struct Row {
        int p, q, r, order;
        std::map<int, int> faces, edges;
        int vertices;
    };
    for (const Row& row : {Row{2, 3, 4, 48, {{1, 8}, {2, 6}}, {{3, 12}, {4, 24}, {5, 24}}, 24},
                           Row{2, 3, 5, 120, {{1, 20}, {2, 12}}, {{3, 30}, {4, 60}, {5, 60}}, 60},
                           Row{3, 3, 2, 24, {{0, 4}, {1, 4}}, {{3, 12}, {4, 12}, {5, 6}}, 12}}) {
        for (bool mirror : {false, true}) {
            SCOPED_TRACE(testing::Message() << row.p << row.q << row.r << " mirror " << mirror);
            std::map<int, int> faces, edges, dots, want = row.faces;
            for (const Paint& p : paintSnub(row.p, row.q, row.r, row.order, mirror))
                ++(p.stroke ? edges : isDot(p) ? dots : faces)[typeOf(p)];
            want[mirror ? 8 : 9] = row.vertices;  // as many snub triangles as vertices
            EXPECT_EQ(faces, want);
            EXPECT_EQ(edges, row.edges);
            EXPECT_EQ(dots, (std::map<int, int>{{mirror ? 7 : 6, row.vertices}}));
        }
    }
}

// With the tri families on, the kaleidoscope's triangles and the snub are painted together far to
// near: both begin among the far elements and both end among the near ones, under either emphasis
// (two whole layers would paint the back of one over the front of the other). Turning snub mode
// off gives back the kites' picture exactly.
TEST(SnubDraw, TrianglesAndSnubArePaintedTogetherFarToNearAndSnubOffChangesNothing) {
    makePicture(2, 3, 4, 48, 0, 1. / 3, 1. / 3, 1. / 3);
    model.settings.triFaceAlpha = 0.25;  // tells tri faces from snub triangles of their class
    setShape(model);                     // as a switch of snub mode refills the lists
    RecordingLayer plain, snubOff;
    drawSelf(model, plain);
    model.settings.snubForm = true;
    chainSnub(model);
    for (int emphasis : {0, 1}) {
        SCOPED_TRACE(emphasis);
        model.settings.polyTriEmphasis = emphasis;
        RecordingLayer layer;
        drawSelf(model, layer);
        std::vector<bool> isTri;
        for (const Paint& p : layer.paints()) {
            // Tri faces, edges and vertices are types 8 to 15; the snub's are 0 to 7 and the
            // snub triangles, which are filled with the poly face alpha.
            const int type = typeOf(p);
            isTri.push_back(type >= 10 || ((type == 8 || type == 9) && p.alpha == 0.25f));
        }
        const std::ptrdiff_t quarter = isTri.size() / 4;
        ASSERT_GT(quarter, 0);
        for (auto from : {isTri.begin(), isTri.end() - quarter}) {
            EXPECT_GT(std::count(from, from + quarter, true), 0);
            EXPECT_GT(std::count(from, from + quarter, false), 0);
        }
    }
    model.settings.polyTriEmphasis = 0;
    model.settings.snubForm = false;
    chainSnub(model);
    drawSelf(model, snubOff);
    EXPECT_TRUE(same(snubOff.commands(), plain.commands()));
}
