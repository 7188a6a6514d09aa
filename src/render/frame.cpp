#include "render/frame.h"

#include "geometry/settings.h"
#include "render/depth_order.h"
#include "render/elements.h"
#include "render/paths.h"
#include "tiling/tables.h"

ViewState viewState;

ViewRect viewRectFor(double w, double h, double z) {
    if (!(w > 0) || !(h > 0)) return {float(-z), float(-z), float(2 * z), float(2 * z)};
    if (h > w) return {float(-z), float(-z * h / w), float(2 * z), float(2 * z * h / w)};
    return {float(-z * w / h), float(-z), float(2 * z * w / h), float(2 * z)};
}

void setWindowZoom(double screenWidth, double screenHeight) {
    viewState.rect0 = viewRectFor(screenWidth, screenHeight, settings.windowZoom);
}

namespace {

// Under emphasis 0 tri vertices and edges are painted by their first visitor and a poly half
// edge only beside a present triangle; under 1 tri features go to the last visitor and poly
// half edges to the first. Poly vertices go to the first visitor under both.
void resetCounters() {
    GroupTables& g = groupTables;
    const int emphasis = settings.polyTriEmphasis;
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

struct Pass {
    void (*triFace)(const TriModule&);
    void (*triEdge)(const TriModule&);
    void (*triVert)(const TriModule&);
    void (*polyFace)(const PolyModule&);
    void (*polyEdge)(const PolyModule&);
    void (*polyVert)(const PolyModule&);
    void (*quadFace)(const QuadModule&);
    void (*quadTriEdge)(const QuadModule&);
    void (*quadPolyEdge)(const QuadModule&);
    void (*quadTriVert)(const QuadModule&);
    void (*quadPolyVert)(const QuadModule&);
};

constexpr Pass selfPass{drawTriFaceSelf,     drawTriEdgeSelf,     drawTriVertSelf,
                        drawPolyFaceSelf,    drawPolyEdgeSelf,    drawPolyVertSelf,
                        drawQuadFaceSelf,    drawQuadTriEdgeSelf, drawQuadPolyEdgeSelf,
                        drawQuadTriVertSelf, drawQuadPolyVertSelf};

constexpr Pass mirrorPass{drawTriFaceMirror,     drawTriEdgeMirror,     drawTriVertMirror,
                          drawPolyFaceMirror,    drawPolyEdgeMirror,    drawPolyVertMirror,
                          drawQuadFaceMirror,    drawQuadTriEdgeMirror, drawQuadPolyEdgeMirror,
                          drawQuadTriVertMirror, drawQuadPolyVertMirror};

void walk(const Pass& f) {
    resetCounters();
    const Settings& s = settings;
    const bool P = s.polyFaceDraw || s.polyEdgeDraw || s.polyVertDraw;
    const bool T = s.triFaceDraw || s.triEdgeDraw || s.triVertDraw;
    const int emphasis = s.polyTriEmphasis;
    if (emphasis != 0 && emphasis != 1) return;
    const DrawLists& lists = drawLists;
    if (T && !P) {
        for (int i = 0; i < lists.triCount; ++i) {
            const TriModule& t = *lists.tri[i];
            if (emphasis == 0) {
                if (s.triEdgeDraw) f.triEdge(t);
                if (s.triVertDraw) f.triVert(t);
                if (s.triFaceDraw) f.triFace(t);
            } else {
                if (s.triFaceDraw) f.triFace(t);
                if (s.triEdgeDraw) f.triEdge(t);
                if (s.triVertDraw) f.triVert(t);
            }
        }
    } else if (P && !T) {
        for (int i = 0; i < lists.polyCount; ++i) {
            const PolyModule& p = *lists.poly[i];
            if (emphasis == 0) {
                if (s.polyFaceDraw) f.polyFace(p);
                if (s.polyEdgeDraw) f.polyEdge(p);
                if (s.polyVertDraw) f.polyVert(p);
            } else {
                if (s.polyEdgeDraw) f.polyEdge(p);
                if (s.polyVertDraw) f.polyVert(p);
                if (s.polyFaceDraw) f.polyFace(p);
            }
        }
    } else if (P && T) {
        const bool faces = s.triFaceDraw || s.polyFaceDraw;
        for (int i = 0; i < lists.quadCount; ++i) {
            const QuadModule& q = *lists.quad[i];
            if (emphasis == 0) {
                if (s.triEdgeDraw) f.quadTriEdge(q);
                if (s.triVertDraw) f.quadTriVert(q);
                if (faces) f.quadFace(q);
                if (s.polyEdgeDraw) f.quadPolyEdge(q);
                if (s.polyVertDraw) f.quadPolyVert(q);
            } else {
                if (s.polyEdgeDraw) f.quadPolyEdge(q);
                if (s.polyVertDraw) f.quadPolyVert(q);
                if (faces) f.quadFace(q);
                if (s.triEdgeDraw) f.quadTriEdge(q);
                if (s.triVertDraw) f.quadTriVert(q);
            }
        }
    }
}

void setColorAlpha(DrawLayer& layer, const BColor& c, double alpha) {
    layer.setColor(c.r, c.g, c.b, static_cast<float>(alpha));
}

}  // namespace

void drawSelf() {
    walk(selfPass);
}
void drawMirror() {
    walk(mirrorPass);
}

void drawFrame(DrawLayer& layer, double width, double height) {
    DrawLayer* const previous = currentLayer();
    setCurrentLayer(&layer);
    const Settings& s = settings;
    const double zoom = s.windowZoom;
    if (s.windowDraw) {
        const ViewRect r = viewRectFor(width, height, zoom);
        setColorAlpha(layer, s.windowColor, s.windowAlpha);
        layer.rectPath(r.x, r.y, r.width, r.height);
        layer.fill();
    }
    {
        // Both copies walk the same geodesics: each is projected once for the frame.
        GeodesicCacheScope geodesics;
        if (s.selfMirrorEmphasis == 0) {
            if (s.mirrorDraw) drawMirror();
            if (s.selfDraw) drawSelf();
        } else if (s.selfMirrorEmphasis == 1) {
            if (s.selfDraw) drawSelf();
            if (s.mirrorDraw) drawMirror();
        }
    }
    if (s.circleDraw) {
        setColorAlpha(layer, s.circleColor, s.circleAlpha);
        layer.ovalPath(-1, -1, 2, 2);
        layer.setLineWidth(static_cast<float>(s.circleThick * zoom / 100));
        layer.stroke();
    }
    if (s.originDraw) {
        const float t = static_cast<float>(s.originThick * zoom / 100);
        setColorAlpha(layer, s.originColor, s.originAlpha);
        layer.ovalPath(-t, -t, 2 * t, 2 * t);
        layer.setLineWidth(t);
        layer.stroke();
    }
    setCurrentLayer(previous);
}
