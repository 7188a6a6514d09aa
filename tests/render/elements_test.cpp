#include "render/elements.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "colour/colour.h"
#include "geometry/kernel.h"
#include "geometry/settings.h"
#include "render_support.h"

namespace {

using Op = RecordingLayer::Op;

// One triangle of the plane, seen straight on (choice 0, one segment per geodesic), with its
// three kites; the records carry distinct points and the type colours are all distinct.
struct Triangle {
    DataModule v, e, f, ef, fv, ve, vef;
    TriModule tri;
    QuadModule kite[3];

    Triangle() {
        settings.gen = 0;
        settings.project3D2D = 0;
        settings.segments = 1;
        v.polyPoint = {1, 1, 1};
        e.polyPoint = {1, 3, 1};
        f.polyPoint = {3, 1, 1};
        ef.polyPoint = {2, 2, 1};
        fv.polyPoint = {2, 1, 1};
        ve.polyPoint = {1, 2, 1};
        vef.polyPoint = {1.6, 1.6, 1};
        for (DataModule* d : {&v, &e, &f, &ef, &fv, &ve, &vef}) {
            d->triPoint = d->polyPoint;
            d->w0 = d->w1 = d->w2 = d->w3 = 1;
        }
        tri = TriModule{0, &v, &e, &f, &ef, &fv, &ve, &vef};
        kite[0] = QuadModule{0, {}, &vef, &fv, &v, &ve};
        kite[1] = QuadModule{1, {}, &vef, &ve, &e, &ef};
        kite[2] = QuadModule{2, {}, &vef, &ef, &f, &fv};
        for (int t = 0; t < 16; ++t) *typeColor(t) = BColor{t / 16.0f, 1 - t / 16.0f, 0.5f};
    }
};

ExpectedCommand colourOf(int type, float alpha) {
    const BColor c = *typeColor(type);
    return {Op::setColor, {c.r, c.g, c.b, alpha}};
}

ExpectedCommand pointOf(Op op, const DataModule& d) {
    return {op, {float(d.polyPoint.x), float(d.polyPoint.y)}};
}

}  // namespace

TEST(TriElements, EdgesAreStrokedInSideOrderWithTheirTypeColours) {
    RecordingScope scope;
    Triangle t;
    settings.triEdgeAlpha = 0.25;
    settings.triEdgeThick = 0.5;
    settings.windowZoom = 4;
    drawTriEdgeSelf(t.tri);
    const float w = 0.02f;
    expectCommands(scope.layer, {colourOf(10, 0.25f),
                                 {Op::removeAllPoints},
                                 pointOf(Op::moveTo, t.e),
                                 pointOf(Op::lineTo, t.f),
                                 {Op::setLineWidth, {w}},
                                 {Op::stroke},
                                 colourOf(11, 0.25f),
                                 {Op::removeAllPoints},
                                 pointOf(Op::moveTo, t.f),
                                 pointOf(Op::lineTo, t.v),
                                 {Op::setLineWidth, {w}},
                                 {Op::stroke},
                                 colourOf(12, 0.25f),
                                 {Op::removeAllPoints},
                                 pointOf(Op::moveTo, t.v),
                                 pointOf(Op::lineTo, t.e),
                                 {Op::setLineWidth, {w}},
                                 {Op::stroke}});
    EXPECT_EQ(colourState.type, 12);
}

TEST(TriElements, EdgeNeedsBothCountersAtZero) {
    RecordingScope scope;
    Triangle t;
    t.ef.w1 = 2;  // EF: the second counter stays above 0 on the first visit
    t.fv.w0 = 0;  // FV: already used up, wraps round
    settings.triEdgeFVDraw = false;
    drawTriEdgeSelf(t.tri);
    // Only VE is painted; FV's switch is off, so its counters are not touched.
    EXPECT_EQ(scope.layer.strokeCount(), 1);
    EXPECT_EQ(t.ef.w0, 0u);
    EXPECT_EQ(t.ef.w1, 1u);
    EXPECT_EQ(t.fv.w0, 0u);
    drawTriEdgeSelf(t.tri);
    // EF now reaches 0 on w1 but w0 has wrapped below 0: still not painted.
    EXPECT_EQ(scope.layer.strokeCount(), 1);
}

TEST(TriElements, FaceTypeFollowsTheOrientation) {
    for (double sign : {1.0, -1.0}) {
        SCOPED_TRACE(sign);
        RecordingScope scope;
        Triangle t;
        t.vef.matrix.sign = sign;
        settings.triFaceAlpha = 0.75;
        drawTriFaceSelf(t.tri);
        const int type = sign > 0 ? 8 : 9;
        expectCommands(scope.layer, {colourOf(type, 0.75f),
                                     {Op::removeAllPoints},
                                     pointOf(Op::moveTo, t.v),
                                     pointOf(Op::lineTo, t.e),
                                     pointOf(Op::lineTo, t.f),
                                     pointOf(Op::lineTo, t.v),
                                     {Op::fill}});
        scope.layer.clear();
        (sign > 0 ? settings.triFacePosDraw : settings.triFaceNegDraw) = false;
        drawTriFaceSelf(t.tri);
        EXPECT_TRUE(scope.layer.commands().empty());
        EXPECT_EQ(colourState.type, type);
    }
}

TEST(TriElements, VertexDotsAreCirclesOfTheFamilyThickness) {
    RecordingScope scope;
    Triangle t;
    settings.triVertThick = 0.25;  // radius 0.25 × 2 / 100
    t.e.w0 = 2;                    // E is painted by a later visitor
    drawTriVertSelf(t.tri);
    const float r = 0.005f;
    expectCommands(scope.layer, {colourOf(13, 0.5f),
                                 {Op::ovalPath, {1 - r, 1 - r, 2 * r, 2 * r}},
                                 {Op::fill},
                                 colourOf(15, 0.5f),
                                 {Op::ovalPath, {3 - r, 1 - r, 2 * r, 2 * r}},
                                 {Op::fill}});
}

TEST(TriElements, MirrorDotOfAPointWithoutImageSitsAtTheCentre) {
    RecordingScope scope;
    Triangle t;
    settings.gen = -1;
    settings.project3D2D = 2;
    t.v.polyPoint = {0, 0, -1};  // the south pole: no stereographic image
    t.e.w0 = t.f.w0 = 5;
    drawTriVertMirror(t.tri);
    const float r = 0.01f;
    expectCommands(scope.layer,
                   {colourOf(13, 0.5f), {Op::ovalPath, {-r, -r, 2 * r, 2 * r}}, {Op::fill}});
    // Its direct image is off-view: the Self dot is left out.
    scope.layer.clear();
    t.v.w0 = 1;
    drawTriVertSelf(t.tri);
    EXPECT_EQ(scope.layer.fillCount(), 0);
}

// The kite shows the poly and the tri face colour blended by their alphas, the emphasised
// layer on top: colour = wp·cp + wt·ct with alpha A.
TEST(QuadElements, KiteBlendsPolyAndTriFaceColours) {
    struct Row {
        const char* name;
        int emphasis;
        double ap, at;
        bool polyOn, triOn;
        float wp, wt, A;
    };
    const Row rows[] = {
        {"opaque polygon on top", 0, 1.0, 0.5, true, true, 1, 0, 1},
        {"half and half, polygon on top", 0, 0.5, 0.5, true, true, 0.5f / 0.75f, 0.25f / 0.75f,
         0.75f},
        {"half and half, triangle on top", 1, 0.5, 0.5, true, true, 0.25f / 0.75f, 0.5f / 0.75f,
         0.75f},
        {"tri faces off", 0, 0.6, 0.9, true, false, 1, 0, 0.6f},
        {"poly faces off", 1, 0.6, 0.9, false, true, 0, 1, 0.9f},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RecordingScope scope;
        Triangle t;
        settings.polyTriEmphasis = row.emphasis;
        settings.polyFaceAlpha = row.ap;
        settings.triFaceAlpha = row.at;
        settings.polyFaceDraw = row.polyOn;
        settings.triFaceDraw = row.triOn;
        const BColor cp = *typeColor(0), ct = *typeColor(8);
        colourState.color = BColor{0.125f, 0.25f, 0.375f};
        drawQuadFaceSelf(t.kite[0]);
        const float wp = row.wp, wt = row.wt;
        expectCommands(
            scope.layer,
            {{Op::setColor,
              {wp * cp.r + wt * ct.r, wp * cp.g + wt * ct.g, wp * cp.b + wt * ct.b, row.A}},
             {Op::removeAllPoints},
             pointOf(Op::moveTo, t.vef),
             pointOf(Op::lineTo, t.fv),
             pointOf(Op::lineTo, t.v),
             pointOf(Op::lineTo, t.ve),
             pointOf(Op::lineTo, t.vef),
             {Op::fill}});
        // The two colours are worked out aside: the scratch colour is untouched.
        EXPECT_EQ(colourState.color, (BColor{0.125f, 0.25f, 0.375f}));
    }
}

TEST(QuadElements, KiteWithNothingToShowPaintsNothing) {
    struct Row {
        const char* name;
        void (*change)();
    };
    const Row rows[] = {
        {"both families off", [] { settings.polyFaceDraw = settings.triFaceDraw = false; }},
        {"both type switches off",
         [] { settings.polyFaceVDraw = settings.triFacePosDraw = false; }},
        {"both transparent", [] { settings.polyFaceAlpha = settings.triFaceAlpha = 0; }},
        {"emphasis out of range", [] { settings.polyTriEmphasis = 2; }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RecordingScope scope;
        Triangle t;
        row.change();
        drawQuadFaceSelf(t.kite[0]);
        EXPECT_EQ(scope.layer.fillCount(), 0);
    }
}

TEST(QuadElements, HalfEdgesAndVerticesOfAKite) {
    RecordingScope scope;
    Triangle t;
    settings.triEdgeThick = 1;   // width 0.02
    settings.polyEdgeThick = 2;  // width 0.04
    drawQuadTriEdgeSelf(t.kite[0]);
    drawQuadPolyEdgeSelf(t.kite[0]);
    const auto& paints = scope.layer.paints();
    ASSERT_EQ(paints.size(), 4u);
    struct Expect {
        int type;
        float width;
        const DataModule *from, *to;
    };
    const Expect expected[] = {{11, 0.02f, &t.v, &t.fv},
                               {12, 0.02f, &t.v, &t.ve},
                               {4, 0.04f, &t.vef, &t.fv},
                               {5, 0.04f, &t.vef, &t.ve}};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        const BColor c = *typeColor(expected[i].type);
        EXPECT_FLOAT_EQ(paints[i].r, c.r);
        EXPECT_FLOAT_EQ(paints[i].lineWidth, expected[i].width);
        ASSERT_EQ(paints[i].path.size(), 2u);
        EXPECT_FLOAT_EQ(paints[i].path[0].v[0], float(expected[i].from->polyPoint.x));
        EXPECT_FLOAT_EQ(paints[i].path[1].v[1], float(expected[i].to->polyPoint.y));
    }
    // Counters used: w0 of the first side, w1 of the second (tri), w2 beside a positive
    // triangle (poly).
    EXPECT_EQ(t.fv.w0, 0u);
    EXPECT_EQ(t.ve.w1, 0u);
    EXPECT_EQ(t.fv.w2, 0u);
    EXPECT_EQ(t.ve.w2, 0u);
    EXPECT_EQ(t.fv.w3, 1u);

    // Beside a negative triangle the poly half edges count on w3.
    scope.layer.clear();
    t.vef.matrix.sign = -1;
    drawQuadPolyEdgeSelf(t.kite[1]);
    EXPECT_EQ(t.ve.w3, 0u);
    EXPECT_EQ(t.ef.w3, 0u);
    EXPECT_EQ(scope.layer.strokeCount(), 2);

    // Vertices: the kite's corner (tri, type 13 + kind) and its centre (poly, 6 or 7).
    scope.layer.clear();
    drawQuadTriVertSelf(t.kite[2]);
    drawQuadPolyVertSelf(t.kite[2]);
    drawQuadPolyVertSelf(t.kite[0]);  // the centre is used up by now
    ASSERT_EQ(scope.layer.paints().size(), 2u);
    EXPECT_FLOAT_EQ(scope.layer.paints()[0].r, typeColor(15)->r);
    EXPECT_FLOAT_EQ(scope.layer.paints()[1].r, typeColor(7)->r);
}

// A hexagon round V with every record present, and the same cut at the rim.
struct Hexagon {
    DataModule centre, corner[6], side[6];
    PolyModule poly;

    Hexagon() {
        settings.gen = 0;
        settings.project3D2D = 0;
        settings.segments = 1;
        centre.polyPoint = {0, 0, 1};
        for (int k = 0; k < 6; ++k) {
            const double a = k * PI / 3, b = a + PI / 6;
            corner[k].polyPoint = {std::cos(a), std::sin(a), 1};
            side[k].polyPoint = {0.8 * std::cos(b), 0.8 * std::sin(b), 1};
            corner[k].w2 = 1;
            side[k].w2 = side[k].w3 = 1;
        }
        poly.kind = 0;
        poly.n = 3;
        poly.centre = &centre;
        for (int i = 0; i < 3; ++i) {
            poly.cornerA[i] = &corner[2 * i];
            poly.sideA[i] = &side[2 * i];
            poly.cornerB[i] = &corner[2 * i + 1];
            poly.sideB[i] = &side[2 * i + 1];
        }
        for (int t = 0; t < 16; ++t) *typeColor(t) = BColor{t / 16.0f, 1 - t / 16.0f, 0.5f};
    }
};

TEST(PolyElements, EdgePassesStrokeWholeEdgesAndHalvesAtTheRim) {
    RecordingScope scope;
    Hexagon hx;
    hx.poly.cornerA[1] = nullptr;  // the rim cuts off one corner
    drawPolyEdgeSelf(hx.poly);
    // Kind 0: sideA edges are VE (type 5), sideB edges FV (type 4).
    const auto& paints = scope.layer.paints();
    ASSERT_EQ(paints.size(), 6u);
    auto ends = [](const RecordingLayer::Paint& p) {
        return std::array<float, 4>{p.path[0].v[0], p.path[0].v[1], p.path[1].v[0], p.path[1].v[1]};
    };
    auto pt = [](const DataModule& a, const DataModule& b) {
        return std::array<float, 4>{float(a.polyPoint.x), float(a.polyPoint.y),
                                    float(b.polyPoint.x), float(b.polyPoint.y)};
    };
    // sideA pass: corner 0–1 whole; step 1 has only cornerB: side point to corner 3; 4–5 whole.
    EXPECT_EQ(ends(paints[0]), pt(hx.corner[0], hx.corner[1]));
    EXPECT_EQ(ends(paints[1]), pt(hx.side[2], hx.corner[3]));
    EXPECT_EQ(ends(paints[2]), pt(hx.corner[4], hx.corner[5]));
    // sideB pass: corner 1 to the missing cornerA[1]: half edge to the side point; 3–4; 5–0.
    EXPECT_EQ(ends(paints[3]), pt(hx.corner[1], hx.side[1]));
    EXPECT_EQ(ends(paints[4]), pt(hx.corner[3], hx.corner[4]));
    EXPECT_EQ(ends(paints[5]), pt(hx.corner[5], hx.corner[0]));
    for (int i = 0; i < 6; ++i) {
        EXPECT_FLOAT_EQ(paints[i].r, typeColor(i < 3 ? 5 : 4)->r);
    }
}

TEST(PolyElements, EdgeColourIsSetBeforeTheCountersDecide) {
    RecordingScope scope;
    Hexagon hx;
    for (DataModule& s : hx.side) s.w2 = s.w3 = 7;  // nothing reaches 0 on this visit
    settings.polyEdgeScheme = 0;
    const int before = static_cast<int>(scope.layer.commands().size());
    drawPolyEdgeSelf(hx.poly);
    EXPECT_EQ(scope.layer.strokeCount(), 0);
    int colours = 0;
    for (const auto& c : scope.layer.commands()) colours += c.op == Op::setColor;
    EXPECT_EQ(colours - before, 6);
}

TEST(PolyElements, FacesAndVertices) {
    RecordingScope scope;
    Hexagon hx;
    drawPolyFaceSelf(hx.poly);
    ASSERT_EQ(scope.layer.fillCount(), 1);
    EXPECT_FLOAT_EQ(scope.layer.paints()[0].r, typeColor(0)->r);
    EXPECT_EQ(scope.layer.paints()[0].path.size(), 7u);  // a move and six lines round

    scope.layer.clear();
    hx.corner[3].w2 = 2;  // cornerB[1]: painted by a later visitor
    drawPolyVertSelf(hx.poly);
    const auto& paints = scope.layer.paints();
    ASSERT_EQ(paints.size(), 5u);
    for (int i = 0; i < 5; ++i) EXPECT_FLOAT_EQ(paints[i].r, typeColor(i < 3 ? 6 : 7)->r);

    scope.layer.clear();
    settings.polyFaceVDraw = false;
    drawPolyFaceSelf(hx.poly);
    EXPECT_EQ(scope.layer.fillCount(), 0);
}

TEST(Schemes, SparkleGivesNewColoursOnEveryDraw) {
    RecordingScope scope;
    Triangle t;
    settings.triFaceScheme = 0;
    srandom(11);
    drawTriFaceSelf(t.tri);
    drawTriFaceSelf(t.tri);
    const auto& p = scope.layer.paints();
    ASSERT_EQ(p.size(), 2u);
    EXPECT_FALSE(p[0].r == p[1].r && p[0].g == p[1].g && p[0].b == p[1].b);
}
