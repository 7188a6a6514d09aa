#include "render/elements.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "colour/colour.h"
#include "geometry/kernel.h"
#include "geometry/settings.h"
#include "render_support.h"
#include "test_model.h"

namespace {

using Op = RecordingLayer::Op;

// One triangle of the plane seen straight on with one segment per geodesic, and its three
// kites; the records carry distinct points and the type colours are distinct.
struct Triangle {
    DataModule v, e, f, ef, fv, ve, vef;
    TriModule tri;
    QuadModule kite[3];

    Triangle() {
        model.settings.gen = 0;
        model.settings.project3D2D = 0;
        model.settings.segments = 1;
        const Point at[7] = {{1, 1, 1}, {1, 3, 1}, {3, 1, 1},    {2, 2, 1},
                             {2, 1, 1}, {1, 2, 1}, {1.6, 1.6, 1}};
        DataModule* all[7] = {&v, &e, &f, &ef, &fv, &ve, &vef};
        for (int i = 0; i < 7; ++i) {
            all[i]->polyPoint = all[i]->triPoint = at[i];
            all[i]->w0 = all[i]->w1 = all[i]->w2 = all[i]->w3 = 1;
        }
        tri = TriModule{0, &v, &e, &f, &ef, &fv, &ve, &vef};
        kite[0] = QuadModule{0, {}, &vef, &fv, &v, &ve};
        for (int t = 0; t < 16; ++t)
            *typeColor(model.settings, t) = BColor{t / 16.0f, 1 - t / 16.0f, 0.5f};
    }
};

std::array<float, 4> ends(const RecordingLayer::Paint& p) {
    return {p.path[0].v[0], p.path[0].v[1], p.path.back().v[0], p.path.back().v[1]};
}
std::array<float, 4> ends(const DataModule& a, const DataModule& b) {
    return {float(a.polyPoint.x), float(a.polyPoint.y), float(b.polyPoint.x), float(b.polyPoint.y)};
}

}  // namespace

TEST(TriElements, EdgesAreStrokedInSideOrderWithTheirTypeColours) {
    RecordingScope scope;
    Triangle t;
    model.settings.triEdgeAlpha = 0.25;
    model.settings.triEdgeThick = 0.5;
    scope.painter().drawTriEdge(t.tri);
    const auto& paints = scope.layer.paints();
    ASSERT_EQ(paints.size(), 3u);
    const std::array<float, 4> want[3] = {ends(t.e, t.f), ends(t.f, t.v), ends(t.v, t.e)};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(typeOfColour(paints[i].r, paints[i].g, paints[i].b), 10 + i);
        EXPECT_EQ(paints[i].alpha, 0.25f);
        EXPECT_FLOAT_EQ(paints[i].lineWidth, 0.01f);
        EXPECT_EQ(ends(paints[i]), want[i]);
    }
}

TEST(TriElements, FacesFollowTheOrientationAndDotsTheCounters) {
    for (double sign : {1.0, -1.0}) {
        SCOPED_TRACE(sign);
        RecordingScope scope;
        Triangle t;
        t.vef.matrix.sign = sign;
        scope.painter().drawTriFace(t.tri);
        ASSERT_EQ(scope.layer.fillCount(), 1);
        const auto& p = scope.layer.paints()[0];
        EXPECT_EQ(typeOfColour(p.r, p.g, p.b), sign > 0 ? 8 : 9);
        EXPECT_EQ(p.path.size(), 4u);  // a move and three lines
        (sign > 0 ? model.settings.triFacePosDraw : model.settings.triFaceNegDraw) = false;
        scope.painter().drawTriFace(t.tri);
        EXPECT_EQ(scope.layer.fillCount(), 1);
    }
    RecordingScope scope;
    Triangle t;
    model.settings.triVertThick = 0.25;  // radius 0.25 × 2 / 100
    t.e.w0 = 2;                          // E is painted by a later visitor
    scope.painter().drawTriVert(t.tri);
    const float r = 0.005f;
    expectCommands(scope.layer, {{Op::setColor, {13 / 16.0f, 3 / 16.0f, 0.5f, 0.5f}},
                                 {Op::ovalPath, {1 - r, 1 - r, 2 * r, 2 * r}},
                                 {Op::fill},
                                 {Op::setColor, {15 / 16.0f, 1 / 16.0f, 0.5f, 0.5f}},
                                 {Op::ovalPath, {3 - r, 1 - r, 2 * r, 2 * r}},
                                 {Op::fill}});
}

// The kite shows the poly and the tri face colour blended by their alphas, the emphasised
// layer on top: colour = wp·cp + wt·ct with alpha A; with nothing to show it paints nothing.
TEST(QuadElements, KiteBlendsPolyAndTriFaceColours) {
    struct Row {
        int emphasis;
        double ap, at;
        bool polyOn, triOn;
        float wp, wt, A;
    };
    const Row rows[] = {
        {0, 1.0, 0.5, true, true, 1, 0, 1},
        {0, 0.5, 0.5, true, true, 0.5f / 0.75f, 0.25f / 0.75f, 0.75f},
        {1, 0.5, 0.5, true, true, 0.25f / 0.75f, 0.5f / 0.75f, 0.75f},
        {0, 0.6, 0.9, true, false, 1, 0, 0.6f},
        {1, 0.6, 0.9, false, true, 0, 1, 0.9f},
        {0, 0.6, 0.9, false, false, 0, 0, 0},
        {0, 0.0, 0.0, true, true, 0, 0, 0},
        {2, 0.6, 0.9, true, true, 0, 0, 0},  // emphasis out of range
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.emphasis << " " << row.ap << " " << row.at << " "
                                        << row.polyOn << row.triOn);
        RecordingScope scope;
        Triangle t;
        Settings& s = model.settings;
        s.polyTriEmphasis = row.emphasis;
        s.polyFaceAlpha = row.ap, s.triFaceAlpha = row.at;
        s.polyFaceDraw = row.polyOn, s.triFaceDraw = row.triOn;
        const BColor cp = *typeColor(model.settings, 0), ct = *typeColor(model.settings, 8);
        scope.painter().drawQuadFace(t.kite[0]);
        if (row.A == 0) {
            EXPECT_EQ(scope.layer.fillCount(), 0);
            continue;
        }
        const float wp = row.wp, wt = row.wt;
        expectCommands(
            scope.layer,
            {{Op::setColor,
              {wp * cp.r + wt * ct.r, wp * cp.g + wt * ct.g, wp * cp.b + wt * ct.b, row.A}},
             {Op::removeAllPoints},
             {Op::moveTo, {1.6f, 1.6f}},
             {Op::lineTo, {2, 1}},
             {Op::lineTo, {1, 1}},
             {Op::lineTo, {1, 2}},
             {Op::lineTo, {1.6f, 1.6f}},
             {Op::fill}});
    }
}

TEST(PolyElements, EdgePassesStrokeWholeEdgesAndHalvesAtTheRim) {
    RecordingScope scope;
    model.settings.gen = 0;
    model.settings.project3D2D = 0;
    model.settings.segments = 1;
    for (int t = 0; t < 16; ++t)
        *typeColor(model.settings, t) = BColor{t / 16.0f, 1 - t / 16.0f, 0.5f};
    // A hexagon round V with the rim cutting off one corner.
    DataModule centre, corner[6], side[6];
    PolyModule poly;
    poly.n = 3;
    poly.centre = &centre;
    centre.polyPoint = {0, 0, 1};
    for (int k = 0; k < 6; ++k) {
        const double a = k * PI / 3, b = a + PI / 6;
        corner[k].polyPoint = {std::cos(a), std::sin(a), 1};
        side[k].polyPoint = {0.8 * std::cos(b), 0.8 * std::sin(b), 1};
        side[k].w2 = side[k].w3 = 1;
        (k % 2 ? poly.cornerB : poly.cornerA)[k / 2] = &corner[k];
        (k % 2 ? poly.sideB : poly.sideA)[k / 2] = &side[k];
    }
    poly.cornerA[1] = nullptr;
    scope.painter().drawPolyEdge(poly);
    // Kind 0: sideA edges are VE (type 5), sideB edges FV (type 4). Step 1 of the sideA pass
    // has only its cornerB: side point to corner; the sideB pass ends there at the side point.
    const std::array<float, 4> want[6] = {ends(corner[0], corner[1]), ends(side[2], corner[3]),
                                          ends(corner[4], corner[5]), ends(corner[1], side[1]),
                                          ends(corner[3], corner[4]), ends(corner[5], corner[0])};
    const auto& paints = scope.layer.paints();
    ASSERT_EQ(paints.size(), 6u);
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(ends(paints[i]), want[i]);
        EXPECT_EQ(typeOfColour(paints[i].r, paints[i].g, paints[i].b), i < 3 ? 5 : 4);
    }
}
