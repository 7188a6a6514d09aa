#include "render/elements.h"

#include <cstdint>

#include "colour/colour.h"
#include "platform/draw.h"
#include "render/model.h"
#include "render/paths.h"
#include "render/projection.h"
#include "render/snub_draw.h"

namespace {

bool positive(const DataModule& record) {
    return record.matrix.sign > 0;
}

// Every visit uses up one count; the visit that reaches exactly 0 paints. The unsigned counters
// wrap below 0, so later visitors never reach 0 again within the pass.
bool countDown(uint32_t& w) {
    return --w == 0;
}

}  // namespace

ElementPainter::ElementPainter(const Model& m, const PathTarget& target)
    : s_(m.settings), c_(m.colourState), target_(target) {}

// Takes the colour of the record by the family's scheme and makes it current with the family's
// alpha.
void ElementPainter::familyColor(int family, const DataModule& record) {
    const FamilyInfo& f = kFamilies[family];
    color_ = schemeColor(s_, c_, s_.*f.scheme, type_, record, f.tri, color_);
    setColor(target_.layer, color_, static_cast<float>(s_.*f.alpha));
}

float ElementPainter::width(double thick) const {
    return static_cast<float>(thick * s_.windowZoom / 100);
}

// A filled circle of radius r round the image of the point; a point without image would
// put it far outside the view, so it is left out.
void ElementPainter::dot(const Point& p, float r) {
    const ScreenPoint s = target_.mirror ? projXYMirror(s_, p) : projXYSelf(s_, p);
    if (!validS(s)) return;
    DrawLayer& layer = target_.layer;
    layer.ovalPath(s.x - r, s.y - r, 2 * r, 2 * r);
    layer.fill();
}

void ElementPainter::drawTriFace(const TriModule& t) {
    type_ = positive(*t.VEF) ? 8 : 9;
    if (!typeDrawn(s_, type_)) return;
    familyColor(kTriFace, *t.VEF);
    path3(target_, t.V->polyPoint, t.E->polyPoint, t.F->polyPoint);
    target_.layer.fill();
}

void ElementPainter::drawTriEdge(const TriModule& t) {
    struct Side {
        int type;
        DataModule* side;
        const DataModule* from;
        const DataModule* to;
    };
    const Side sides[] = {{10, t.EF, t.E, t.F}, {11, t.FV, t.F, t.V}, {12, t.VE, t.V, t.E}};
    for (const Side& s : sides) {
        type_ = s.type;
        if (!typeDrawn(s_, s.type)) continue;
        const bool first = countDown(s.side->w0);
        const bool second = countDown(s.side->w1);
        if (!first || !second) continue;
        familyColor(kTriEdge, *s.side);
        path2(target_, s.from->polyPoint, s.to->polyPoint, width(s_.triEdgeThick));
    }
}

void ElementPainter::drawTriVert(const TriModule& t) {
    DataModule* const corners[] = {t.V, t.E, t.F};
    for (int i = 0; i < 3; ++i) {
        type_ = 13 + i;
        if (!typeDrawn(s_, type_)) continue;
        if (!countDown(corners[i]->w0)) continue;
        familyColor(kTriVert, *corners[i]);
        dot(corners[i]->polyPoint, width(s_.triVertThick));
    }
}

void ElementPainter::drawPolyFace(const PolyModule& p) {
    type_ = p.kind;
    if (!typeDrawn(s_, p.kind)) return;
    familyColor(kPolyFace, *p.centre);
    pathPoly(target_, p);
}

// Pass over the sideA (first) or sideB (second) edges: half edges through the side point
// where a corner is missing at the rim. The colour is set before the counters decide.
void ElementPainter::polyEdgePass(const PolyModule& p, bool second) {
    type_ = (p.kind + (second ? 1 : 2)) % 3 + 3;
    if (!typeDrawn(s_, type_)) return;
    const float w = width(s_.polyEdgeThick);
    const int n = p.n < 0 ? 0 : (p.n > 12 ? 12 : p.n);
    for (int i = 0; i < n; ++i) {
        DataModule* s = second ? p.sideB[i] : p.sideA[i];
        if (!s) continue;
        // a: the corner next to the positive triangle (w2), b: next to the negative (w3).
        const DataModule* a = second ? p.cornerA[(i + 1) % n] : p.cornerA[i];
        const DataModule* b = p.cornerB[i];
        familyColor(kPolyEdge, *s);
        if (a && b) {
            const bool first = countDown(s->w2);
            const bool other = countDown(s->w3);
            if (first && other) {
                if (second) {
                    path2(target_, b->polyPoint, a->polyPoint, w);
                } else {
                    path2(target_, a->polyPoint, b->polyPoint, w);
                }
            }
        } else if (a) {
            if (countDown(s->w2)) {
                if (second) {
                    path2(target_, s->polyPoint, a->polyPoint, w);
                } else {
                    path2(target_, a->polyPoint, s->polyPoint, w);
                }
            }
        } else if (b) {
            if (countDown(s->w3)) {
                if (second) {
                    path2(target_, b->polyPoint, s->polyPoint, w);
                } else {
                    path2(target_, s->polyPoint, b->polyPoint, w);
                }
            }
        }
    }
}

void ElementPainter::drawPolyEdge(const PolyModule& p) {
    polyEdgePass(p, false);
    polyEdgePass(p, true);
}

void ElementPainter::drawPolyVert(const PolyModule& p) {
    const int n = p.n < 0 ? 0 : (p.n > 12 ? 12 : p.n);
    const float r = width(s_.polyVertThick);
    for (int type = 6; type <= 7; ++type) {
        type_ = type;
        if (!typeDrawn(s_, type)) continue;
        for (int i = 0; i < n; ++i) {
            DataModule* corner = type == 6 ? p.cornerA[i] : p.cornerB[i];
            if (!corner || !countDown(corner->w2)) continue;
            familyColor(kPolyVert, *corner);
            dot(corner->polyPoint, r);
        }
    }
}

// The kite is painted once with the poly face colour and the tri face colour of the two
// faces that overlap there blended by their alphas, the emphasised layer on top.
void ElementPainter::drawQuadFace(const QuadModule& q) {
    const Settings& s = s_;
    BColor cp, ct;
    float ap = 0, at = 0;
    if (s.polyFaceDraw && typeDrawn(s_, q.kind)) {
        type_ = q.kind;
        cp = schemeColor(s, c_, s.polyFaceScheme, type_, *q.corner, false, color_);
        ap = static_cast<float>(s.polyFaceAlpha);
    }
    const int t = positive(*q.centre) ? 8 : 9;
    if (s.triFaceDraw && typeDrawn(s_, t)) {
        type_ = t;
        ct = schemeColor(s, c_, s.triFaceScheme, type_, *q.centre, true, color_);
        at = static_cast<float>(s.triFaceAlpha);
    }
    BColor c;
    float A;
    if (s.polyTriEmphasis == 0) {
        const float f = (1 - ap) * at;
        A = ap + f;
        if (A == 0) return;
        c = {(f * ct.r + ap * cp.r) / A, (f * ct.g + ap * cp.g) / A, (f * ct.b + ap * cp.b) / A};
    } else if (s.polyTriEmphasis == 1) {
        const float f = (1 - at) * ap;
        A = at + f;
        if (A == 0) return;
        c = {(f * cp.r + at * ct.r) / A, (f * cp.g + at * ct.g) / A, (f * cp.b + at * ct.b) / A};
    } else {
        return;
    }
    setColor(target_.layer, c, A);
    path4(target_, q.centre->polyPoint, q.side1->polyPoint, q.corner->polyPoint,
          q.side2->polyPoint);
    target_.layer.fill();
}

void ElementPainter::drawQuadTriEdge(const QuadModule& q) {
    const float w = width(s_.triEdgeThick);
    type_ = (q.kind + 1) % 3 + 10;
    if (typeDrawn(s_, type_) && countDown(q.side1->w0)) {
        familyColor(kTriEdge, *q.side1);
        path2(target_, q.corner->polyPoint, q.side1->polyPoint, w);
    }
    type_ = (q.kind + 2) % 3 + 10;
    if (typeDrawn(s_, type_) && countDown(q.side2->w1)) {
        familyColor(kTriEdge, *q.side2);
        path2(target_, q.corner->polyPoint, q.side2->polyPoint, w);
    }
}

void ElementPainter::drawQuadPolyEdge(const QuadModule& q) {
    const float w = width(s_.polyEdgeThick);
    const bool plus = positive(*q.centre);
    type_ = (q.kind + 1) % 3 + 3;
    if (typeDrawn(s_, type_) && countDown(plus ? q.side1->w2 : q.side1->w3)) {
        familyColor(kPolyEdge, *q.side1);
        path2(target_, q.centre->polyPoint, q.side1->polyPoint, w);
    }
    type_ = (q.kind + 2) % 3 + 3;
    if (typeDrawn(s_, type_) && countDown(plus ? q.side2->w2 : q.side2->w3)) {
        familyColor(kPolyEdge, *q.side2);
        path2(target_, q.centre->polyPoint, q.side2->polyPoint, w);
    }
}

void ElementPainter::drawQuadTriVert(const QuadModule& q) {
    type_ = 13 + q.kind;
    if (!typeDrawn(s_, type_) || !countDown(q.corner->w0)) return;
    familyColor(kTriVert, *q.corner);
    dot(q.corner->polyPoint, width(s_.triVertThick));
}

void ElementPainter::drawQuadPolyVert(const QuadModule& q) {
    type_ = positive(*q.centre) ? 6 : 7;
    if (!typeDrawn(s_, type_) || !countDown(q.centre->w2)) return;
    familyColor(kPolyVert, *q.centre);
    dot(q.centre->polyPoint, width(s_.polyVertThick));
}

void setColor(DrawLayer& layer, const BColor& color, float alpha) {
    layer.setColor(color.r, color.g, color.b, alpha);
}

namespace {

// Under emphasis 0 tri vertices and edges are painted by their first visitor and a poly half
// edge only beside a present triangle; under 1 tri features go to the last visitor and poly
// half edges to the first. Poly vertices go to the first visitor under both.
void resetCounters(GroupTables& g, int emphasis) {
    if (emphasis != 0 && emphasis != 1) return;
    for (DataTable* table : {&g.dataV, &g.dataE, &g.dataF}) {
        for (int i = 0; i < table->count; ++i) {
            DataModule& d = table->at(i);
            d.w0 = emphasis == 0 ? 1 : d.c0;
        }
    }
    for (DataTable* table : {&g.dataEF, &g.dataFV, &g.dataVE}) {
        for (int i = 0; i < table->count; ++i) {
            DataModule& d = table->at(i);
            if (emphasis == 0) {
                d.w0 = 1, d.w1 = 1, d.w2 = d.c2, d.w3 = d.c3;
            } else {
                d.w0 = d.c0, d.w1 = d.c1, d.w2 = 1, d.w3 = 1;
            }
        }
    }
    for (int i = 0; i < g.dataVEF.count; ++i) {
        DataModule& d = g.dataVEF.at(i);
        d.w2 = emphasis == 0 ? d.c2 : 1;
    }
}

}  // namespace

void drawTriParts(ElementPainter& f, const Settings& s, const TriModule& t) {
    if (s.polyTriEmphasis == 0) {
        if (s.triEdgeDraw) f.drawTriEdge(t);
        if (s.triVertDraw) f.drawTriVert(t);
        if (s.triFaceDraw) f.drawTriFace(t);
    } else {
        if (s.triFaceDraw) f.drawTriFace(t);
        if (s.triEdgeDraw) f.drawTriEdge(t);
        if (s.triVertDraw) f.drawTriVert(t);
    }
}

void drawTriList(const Model& m, const PathTarget& target) {
    const DrawLists& lists = m.drawLists;
    ElementPainter f(m, target);
    for (int i = 0; i < lists.triCount; ++i) drawTriParts(f, m.settings, *lists.tri[i]);
}

void drawCopy(Model& m, const PathTarget& target) {
    const Settings& s = m.settings;
    const int emphasis = s.polyTriEmphasis;
    resetCounters(m.groupTables, emphasis);
    const bool P = s.polyFaceDraw || s.polyEdgeDraw || s.polyVertDraw;
    const bool T = s.triFaceDraw || s.triEdgeDraw || s.triVertDraw;
    if (emphasis != 0 && emphasis != 1) return;
    if (s.snubForm) return drawSnubCopy(m, target);
    const DrawLists& lists = m.drawLists;
    ElementPainter f(m, target);
    if (T && !P) {
        drawTriList(m, target);
    } else if (P && !T) {
        for (int i = 0; i < lists.polyCount; ++i) {
            const PolyModule& p = *lists.poly[i];
            if (emphasis == 0) {
                if (s.polyFaceDraw) f.drawPolyFace(p);
                if (s.polyEdgeDraw) f.drawPolyEdge(p);
                if (s.polyVertDraw) f.drawPolyVert(p);
            } else {
                if (s.polyEdgeDraw) f.drawPolyEdge(p);
                if (s.polyVertDraw) f.drawPolyVert(p);
                if (s.polyFaceDraw) f.drawPolyFace(p);
            }
        }
    } else if (P && T) {
        const bool faces = s.triFaceDraw || s.polyFaceDraw;
        for (int i = 0; i < lists.quadCount; ++i) {
            const QuadModule& q = *lists.quad[i];
            if (emphasis == 0) {
                if (s.triEdgeDraw) f.drawQuadTriEdge(q);
                if (s.triVertDraw) f.drawQuadTriVert(q);
                if (faces) f.drawQuadFace(q);
                if (s.polyEdgeDraw) f.drawQuadPolyEdge(q);
                if (s.polyVertDraw) f.drawQuadPolyVert(q);
            } else {
                if (s.polyEdgeDraw) f.drawQuadPolyEdge(q);
                if (s.polyVertDraw) f.drawQuadPolyVert(q);
                if (faces) f.drawQuadFace(q);
                if (s.triEdgeDraw) f.drawQuadTriEdge(q);
                if (s.triVertDraw) f.drawQuadTriVert(q);
            }
        }
    }
}
