#include "render/frame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

#include "geometry/settings.h"
#include "render/depth_order.h"
#include "render_support.h"
#include "test_model.h"

// The view spans −zoom..zoom on its shorter side, centred, in the device's proportions.
TEST(Frame, ViewRectangleIsCentredWithTheShorterSideSpanningTheZoom) {
    for (auto [w, h] : {std::pair{640.0, 480.0}, {300.0, 900.0}, {0.0, 10.0}}) {
        SCOPED_TRACE(testing::Message() << w << " × " << h);
        const ViewRect r = viewRectFor(w, h, 2.5);
        EXPECT_FLOAT_EQ(std::min(r.width, r.height), 5);
        EXPECT_FLOAT_EQ(r.x, -r.width / 2);
        EXPECT_FLOAT_EQ(r.y, -r.height / 2);
        EXPECT_FLOAT_EQ(r.width / r.height, w > 0 ? w / h : 1);
    }
}

// In the poly walk every poly edge (whole, or the half beside the rim) and every poly vertex is
// painted once.
TEST(Frame, PolyWalkPaintsEachEdgeAndVertexOnce) {
    for (auto [v, e, f, order] : {std::tuple{3, 3, 3, 200}, {7, 3, 2, 200}, {4, 5, 3, 150}}) {
        SCOPED_TRACE(testing::Message() << "(" << v << "," << e << "," << f << ")");
        makePicture(v, e, f, order, 0);
        Settings& s = model.settings;
        s.segments = 1;
        s.triFaceDraw = s.triEdgeDraw = s.triVertDraw = false;
        setOrder(model);
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
        RecordingLayer layer;
        drawSelf(model, layer);
        int strokes = 0, dots = 0;
        for (const Paint& p : layer.paints()) strokes += p.stroke, dots += isDot(p);
        EXPECT_EQ(strokes, int(sides.size()));
        EXPECT_EQ(dots, int(corners.size()));
    }
}
