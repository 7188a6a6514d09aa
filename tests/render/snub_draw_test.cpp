#include "render/snub_draw.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <tuple>
#include <vector>

#include "geometry/settings.h"
#include "render/chain.h"
#include "render/depth_order.h"
#include "render/frame.h"
#include "render_support.h"
#include "test_model.h"

namespace {

using Op = RecordingLayer::Op;
using Paint = RecordingLayer::Paint;

// What one copy painted, counted by element type (class colour) and kind of paint.
struct Counts {
    std::map<int, int> faces, edges, dots;
};

Counts countPaints(const RecordingLayer& layer) {
    Counts c;
    for (const Paint& p : layer.paints()) {
        const int type = typeOfColour(p.r, p.g, p.b);
        if (p.stroke) {
            ++c.edges[type];
        } else if (!p.path.empty() && p.path[0].op == Op::ovalPath) {
            ++c.dots[type];
        } else {
            ++c.faces[type];
        }
    }
    return c;
}

void snubPicture(int p, int q, int r, int order, bool mirror) {
    makePicture(p, q, r, order, 1. / 3, 1. / 3, 1. / 3);
    Settings& s = model.settings;
    s.project3D2D = 0;  // orthographic: every point has an image
    s.segments = 1;
    s.triFaceDraw = s.triEdgeDraw = s.triVertDraw = false;
    s.snubForm = true;
    s.snubMirror = mirror;
    chainSnub(model);
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
    const Row rows[] = {
        {2, 3, 4, 48, {{1, 8}, {2, 6}}, {{3, 12}, {4, 24}, {5, 24}}, 24},
        {2, 3, 5, 120, {{1, 20}, {2, 12}}, {{3, 30}, {4, 60}, {5, 60}}, 60},
        {3, 3, 2, 24, {{0, 4}, {1, 4}}, {{3, 12}, {4, 12}, {5, 6}}, 12},
    };
    for (const Row& row : rows) {
        for (bool mirror : {false, true}) {
            SCOPED_TRACE(testing::Message() << row.p << row.q << row.r << " mirror " << mirror);
            RecordingScope scope;
            snubPicture(row.p, row.q, row.r, row.order, mirror);
            drawSelf(model, scope.layer);
            const Counts c = countPaints(scope.layer);
            std::map<int, int> faces = row.faces;
            faces[mirror ? 8 : 9] = row.vertices;  // as many snub triangles as vertices
            EXPECT_EQ(c.faces, faces);
            EXPECT_EQ(c.edges, row.edges);
            EXPECT_EQ(c.dots, (std::map<int, int>{{mirror ? 7 : 6, row.vertices}}));
        }
    }
}

// With the tri families on, the kaleidoscope's triangles and the snub are painted together far to
// near: both begin among the far elements and both end among the near ones, under either emphasis
// (two whole layers would paint the back of one over the front of the other). Turning snub mode
// off gives back the kites' picture exactly.
TEST(SnubDraw, TrianglesAndSnubArePaintedTogetherFarToNearAndSnubOffChangesNothing) {
    RecordingScope scope;
    makePicture(2, 3, 4, 48, 1. / 3, 1. / 3, 1. / 3);
    model.settings.project3D2D = 0;
    setShape(model);  // as a switch of snub mode refills the lists
    drawSelf(model, scope.layer);
    const auto plain = scope.layer.commands();

    model.settings.snubForm = true;
    model.settings.triFaceAlpha = 0.25;  // tells tri faces from snub triangles of their class
    chainSnub(model);
    for (int emphasis : {0, 1}) {
        SCOPED_TRACE(emphasis);
        model.settings.polyTriEmphasis = emphasis;
        scope.layer.clear();
        drawSelf(model, scope.layer);
        std::vector<bool> isTri;
        for (const Paint& p : scope.layer.paints()) {
            const int type = typeOfColour(p.r, p.g, p.b);
            // Tri faces, edges and vertices are types 8 to 15; the snub's are 0 to 7 and the
            // snub triangles, which are filled with the poly face alpha.
            isTri.push_back(type >= 10 || ((type == 8 || type == 9) && p.alpha == 0.25f));
        }
        const std::size_t quarter = isTri.size() / 4;
        ASSERT_GT(quarter, 0u);
        auto both = [&](std::size_t from, std::size_t to) {
            const auto first = isTri.begin() + std::ptrdiff_t(from);
            const auto last = isTri.begin() + std::ptrdiff_t(to);
            return std::count(first, last, true) > 0 && std::count(first, last, false) > 0;
        };
        EXPECT_TRUE(both(0, quarter));
        EXPECT_TRUE(both(isTri.size() - quarter, isTri.size()));
    }

    model.settings.polyTriEmphasis = 0;
    model.settings.triFaceAlpha = 0.5;
    model.settings.snubForm = false;
    chainSnub(model);
    scope.layer.clear();
    drawSelf(model, scope.layer);
    expectSameCommands(scope.layer.commands(), plain);
}
