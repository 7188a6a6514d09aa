#include "render/elements.h"

#include <cstdint>

#include "colour/colour.h"
#include "geometry/settings.h"
#include "platform/draw.h"
#include "render/paths.h"
#include "render/projection.h"

namespace {

enum class Family { polyFace, polyEdge, polyVert, triFace, triEdge, triVert };

// Fills colourState.color by the family's scheme from the record and makes it current with the
// family's alpha.
void familyColor(Family family, const DataModule& record) {
    const Settings& s = settings;
    int scheme = 0;
    double alpha = 1;
    bool tri = false;
    switch (family) {
        case Family::polyFace:
            scheme = s.polyFaceScheme, alpha = s.polyFaceAlpha;
            break;
        case Family::polyEdge:
            scheme = s.polyEdgeScheme, alpha = s.polyEdgeAlpha;
            break;
        case Family::polyVert:
            scheme = s.polyVertScheme, alpha = s.polyVertAlpha;
            break;
        case Family::triFace:
            scheme = s.triFaceScheme, alpha = s.triFaceAlpha, tri = true;
            break;
        case Family::triEdge:
            scheme = s.triEdgeScheme, alpha = s.triEdgeAlpha, tri = true;
            break;
        case Family::triVert:
            scheme = s.triVertScheme, alpha = s.triVertAlpha, tri = true;
            break;
    }
    schemeColor(scheme, record, tri);
    setColor(&colourState.color, static_cast<float>(alpha));
}

// The colour a scheme gives the record, computed aside: colourState.color is left as it was
// (a scheme outside 0..4 gives that previous colour).
BColor privateColor(int scheme, const DataModule& record, bool tri) {
    const BColor saved = colourState.color;
    schemeColor(scheme, record, tri);
    const BColor result = colourState.color;
    colourState.color = saved;
    return result;
}

float width(double thick) {
    return static_cast<float>(thick * settings.windowZoom / 100);
}

bool positive(const DataModule& record) {
    return record.matrix.sign > 0;
}

// Every visit uses up one count; the visit that reaches exactly 0 paints. The unsigned counters
// wrap below 0, so later visitors never reach 0 again within the pass.
bool countDown(uint32_t& w) {
    return --w == 0;
}

template <bool mirror>
struct Copy {
    static ScreenPoint project(const Point& p) { return mirror ? projXYMirror(p) : projXYSelf(p); }
    static void path2(const Point& a, const Point& b, float w) {
        mirror ? path2Mirror(a, b, w) : path2Self(a, b, w);
    }
    static void path3(const Point& a, const Point& b, const Point& c) {
        mirror ? path3Mirror(a, b, c) : path3Self(a, b, c);
    }
    static void path4(const Point& a, const Point& b, const Point& c, const Point& d) {
        mirror ? path4Mirror(a, b, c, d) : path4Self(a, b, c, d);
    }
    static void pathPoly(const PolyModule& p) { mirror ? pathPolyMirror(p) : pathPolySelf(p); }

    // A filled circle of radius r round the image of the point; a point without image would
    // put it far outside the view, so it is left out.
    static void dot(const Point& p, float r) {
        const ScreenPoint s = project(p);
        if (!validS(s)) return;
        DrawLayer& layer = *currentLayer();
        layer.ovalPath(s.x - r, s.y - r, 2 * r, 2 * r);
        layer.fill();
    }

    static void triFace(const TriModule& t) {
        colourState.type = positive(*t.VEF) ? 8 : 9;
        if (!typeDrawn(colourState.type)) return;
        familyColor(Family::triFace, *t.VEF);
        path3(t.V->polyPoint, t.E->polyPoint, t.F->polyPoint);
        currentLayer()->fill();
    }

    static void triEdge(const TriModule& t) {
        struct Side {
            int type;
            DataModule* side;
            const DataModule* from;
            const DataModule* to;
        };
        const Side sides[] = {{10, t.EF, t.E, t.F}, {11, t.FV, t.F, t.V}, {12, t.VE, t.V, t.E}};
        for (const Side& s : sides) {
            colourState.type = s.type;
            if (!typeDrawn(s.type)) continue;
            const bool first = countDown(s.side->w0);
            const bool second = countDown(s.side->w1);
            if (!first || !second) continue;
            familyColor(Family::triEdge, *s.side);
            path2(s.from->polyPoint, s.to->polyPoint, width(settings.triEdgeThick));
        }
    }

    static void triVert(const TriModule& t) {
        DataModule* const corners[] = {t.V, t.E, t.F};
        for (int i = 0; i < 3; ++i) {
            colourState.type = 13 + i;
            if (!typeDrawn(colourState.type)) continue;
            if (!countDown(corners[i]->w0)) continue;
            familyColor(Family::triVert, *corners[i]);
            dot(corners[i]->polyPoint, width(settings.triVertThick));
        }
    }

    static void polyFace(const PolyModule& p) {
        colourState.type = p.kind;
        if (!typeDrawn(p.kind)) return;
        familyColor(Family::polyFace, *p.centre);
        pathPoly(p);
    }

    // Pass over the sideA (first) or sideB (second) edges: half edges through the side point
    // where a corner is missing at the rim. The colour is set before the counters decide.
    static void polyEdgePass(const PolyModule& p, bool second) {
        colourState.type = (p.kind + (second ? 1 : 2)) % 3 + 3;
        if (!typeDrawn(colourState.type)) return;
        const float w = width(settings.polyEdgeThick);
        const int n = p.n < 0 ? 0 : (p.n > 12 ? 12 : p.n);
        for (int i = 0; i < n; ++i) {
            DataModule* s = second ? p.sideB[i] : p.sideA[i];
            if (!s) continue;
            // a: the corner next to the positive triangle (w2), b: next to the negative (w3).
            const DataModule* a = second ? p.cornerA[(i + 1) % n] : p.cornerA[i];
            const DataModule* b = p.cornerB[i];
            familyColor(Family::polyEdge, *s);
            if (a && b) {
                const bool first = countDown(s->w2);
                const bool other = countDown(s->w3);
                if (first && other) {
                    if (second) {
                        path2(b->polyPoint, a->polyPoint, w);
                    } else {
                        path2(a->polyPoint, b->polyPoint, w);
                    }
                }
            } else if (a) {
                if (countDown(s->w2)) {
                    if (second) {
                        path2(s->polyPoint, a->polyPoint, w);
                    } else {
                        path2(a->polyPoint, s->polyPoint, w);
                    }
                }
            } else if (b) {
                if (countDown(s->w3)) {
                    if (second) {
                        path2(b->polyPoint, s->polyPoint, w);
                    } else {
                        path2(s->polyPoint, b->polyPoint, w);
                    }
                }
            }
        }
    }

    static void polyEdge(const PolyModule& p) {
        polyEdgePass(p, false);
        polyEdgePass(p, true);
    }

    static void polyVert(const PolyModule& p) {
        const int n = p.n < 0 ? 0 : (p.n > 12 ? 12 : p.n);
        const float r = width(settings.polyVertThick);
        for (int type = 6; type <= 7; ++type) {
            colourState.type = type;
            if (!typeDrawn(type)) continue;
            for (int i = 0; i < n; ++i) {
                DataModule* corner = type == 6 ? p.cornerA[i] : p.cornerB[i];
                if (!corner || !countDown(corner->w2)) continue;
                familyColor(Family::polyVert, *corner);
                dot(corner->polyPoint, r);
            }
        }
    }

    // The kite is painted once with the poly face colour and the tri face colour of the two
    // faces that overlap there blended by their alphas, the emphasised layer on top.
    static void quadFace(const QuadModule& q) {
        const Settings& s = settings;
        BColor cp, ct;
        float ap = 0, at = 0;
        if (s.polyFaceDraw && typeDrawn(q.kind)) {
            colourState.type = q.kind;
            cp = privateColor(s.polyFaceScheme, *q.corner, false);
            ap = static_cast<float>(s.polyFaceAlpha);
        }
        const int t = positive(*q.centre) ? 8 : 9;
        if (s.triFaceDraw && typeDrawn(t)) {
            colourState.type = t;
            ct = privateColor(s.triFaceScheme, *q.centre, true);
            at = static_cast<float>(s.triFaceAlpha);
        }
        BColor c;
        float A;
        if (s.polyTriEmphasis == 0) {
            const float f = (1 - ap) * at;
            A = ap + f;
            if (A == 0) return;
            c = {(f * ct.r + ap * cp.r) / A, (f * ct.g + ap * cp.g) / A,
                 (f * ct.b + ap * cp.b) / A};
        } else if (s.polyTriEmphasis == 1) {
            const float f = (1 - at) * ap;
            A = at + f;
            if (A == 0) return;
            c = {(f * cp.r + at * ct.r) / A, (f * cp.g + at * ct.g) / A,
                 (f * cp.b + at * ct.b) / A};
        } else {
            return;
        }
        setColor(&c, A);
        path4(q.centre->polyPoint, q.side1->polyPoint, q.corner->polyPoint, q.side2->polyPoint);
        currentLayer()->fill();
    }

    static void quadTriEdge(const QuadModule& q) {
        const float w = width(settings.triEdgeThick);
        colourState.type = (q.kind + 1) % 3 + 10;
        if (typeDrawn(colourState.type) && countDown(q.side1->w0)) {
            familyColor(Family::triEdge, *q.side1);
            path2(q.corner->polyPoint, q.side1->polyPoint, w);
        }
        colourState.type = (q.kind + 2) % 3 + 10;
        if (typeDrawn(colourState.type) && countDown(q.side2->w1)) {
            familyColor(Family::triEdge, *q.side2);
            path2(q.corner->polyPoint, q.side2->polyPoint, w);
        }
    }

    static void quadPolyEdge(const QuadModule& q) {
        const float w = width(settings.polyEdgeThick);
        const bool plus = positive(*q.centre);
        colourState.type = (q.kind + 1) % 3 + 3;
        if (typeDrawn(colourState.type) && countDown(plus ? q.side1->w2 : q.side1->w3)) {
            familyColor(Family::polyEdge, *q.side1);
            path2(q.centre->polyPoint, q.side1->polyPoint, w);
        }
        colourState.type = (q.kind + 2) % 3 + 3;
        if (typeDrawn(colourState.type) && countDown(plus ? q.side2->w2 : q.side2->w3)) {
            familyColor(Family::polyEdge, *q.side2);
            path2(q.centre->polyPoint, q.side2->polyPoint, w);
        }
    }

    static void quadTriVert(const QuadModule& q) {
        colourState.type = 13 + q.kind;
        if (!typeDrawn(colourState.type) || !countDown(q.corner->w0)) return;
        familyColor(Family::triVert, *q.corner);
        dot(q.corner->polyPoint, width(settings.triVertThick));
    }

    static void quadPolyVert(const QuadModule& q) {
        colourState.type = positive(*q.centre) ? 6 : 7;
        if (!typeDrawn(colourState.type) || !countDown(q.centre->w2)) return;
        familyColor(Family::polyVert, *q.centre);
        dot(q.centre->polyPoint, width(settings.polyVertThick));
    }
};

using Self = Copy<false>;
using Mirror = Copy<true>;

}  // namespace

void setColor(const BColor* color, float alpha) {
    currentLayer()->setColor(color->r, color->g, color->b, alpha);
}

bool typeDrawn(int type) {
    const Settings& s = settings;
    switch (type) {
        case 0:
            return s.polyFaceVDraw;
        case 1:
            return s.polyFaceEDraw;
        case 2:
            return s.polyFaceFDraw;
        case 3:
            return s.polyEdgeEFDraw;
        case 4:
            return s.polyEdgeFVDraw;
        case 5:
            return s.polyEdgeVEDraw;
        case 6:
            return s.polyVertPosDraw;
        case 7:
            return s.polyVertNegDraw;
        case 8:
            return s.triFacePosDraw;
        case 9:
            return s.triFaceNegDraw;
        case 10:
            return s.triEdgeEFDraw;
        case 11:
            return s.triEdgeFVDraw;
        case 12:
            return s.triEdgeVEDraw;
        case 13:
            return s.triVertVDraw;
        case 14:
            return s.triVertEDraw;
        case 15:
            return s.triVertFDraw;
        default:
            return false;
    }
}

void drawTriFaceSelf(const TriModule& t) {
    Self::triFace(t);
}
void drawTriEdgeSelf(const TriModule& t) {
    Self::triEdge(t);
}
void drawTriVertSelf(const TriModule& t) {
    Self::triVert(t);
}
void drawPolyFaceSelf(const PolyModule& p) {
    Self::polyFace(p);
}
void drawPolyEdgeSelf(const PolyModule& p) {
    Self::polyEdge(p);
}
void drawPolyVertSelf(const PolyModule& p) {
    Self::polyVert(p);
}
void drawQuadFaceSelf(const QuadModule& q) {
    Self::quadFace(q);
}
void drawQuadTriEdgeSelf(const QuadModule& q) {
    Self::quadTriEdge(q);
}
void drawQuadPolyEdgeSelf(const QuadModule& q) {
    Self::quadPolyEdge(q);
}
void drawQuadTriVertSelf(const QuadModule& q) {
    Self::quadTriVert(q);
}
void drawQuadPolyVertSelf(const QuadModule& q) {
    Self::quadPolyVert(q);
}

void drawTriFaceMirror(const TriModule& t) {
    Mirror::triFace(t);
}
void drawTriEdgeMirror(const TriModule& t) {
    Mirror::triEdge(t);
}
void drawTriVertMirror(const TriModule& t) {
    Mirror::triVert(t);
}
void drawPolyFaceMirror(const PolyModule& p) {
    Mirror::polyFace(p);
}
void drawPolyEdgeMirror(const PolyModule& p) {
    Mirror::polyEdge(p);
}
void drawPolyVertMirror(const PolyModule& p) {
    Mirror::polyVert(p);
}
void drawQuadFaceMirror(const QuadModule& q) {
    Mirror::quadFace(q);
}
void drawQuadTriEdgeMirror(const QuadModule& q) {
    Mirror::quadTriEdge(q);
}
void drawQuadPolyEdgeMirror(const QuadModule& q) {
    Mirror::quadPolyEdge(q);
}
void drawQuadTriVertMirror(const QuadModule& q) {
    Mirror::quadTriVert(q);
}
void drawQuadPolyVertMirror(const QuadModule& q) {
    Mirror::quadPolyVert(q);
}
