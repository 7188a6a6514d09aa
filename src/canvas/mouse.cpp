#include "canvas/mouse.h"

#include <cmath>

#include "canvas/hit_path.h"
#include "geometry/settings.h"
#include "platform/draw.h"
#include "render/depth_order.h"
#include "render/paths.h"
#include "render/projection.h"
#include "tiling/generating_point.h"
#include "tiling/tables.h"

MouseState mouseState;

namespace {

// The shared path of the hit tests; it never paints.
HitPathLayer& hitLayer() {
    static HitPathLayer layer;
    return layer;
}

bool finiteM(const Matrix& M) {
    return std::isfinite(M.m00) && std::isfinite(M.m01) && std::isfinite(M.m02) &&
           std::isfinite(M.m10) && std::isfinite(M.m11) && std::isfinite(M.m12) &&
           std::isfinite(M.m20) && std::isfinite(M.m21) && std::isfinite(M.m22);
}

bool finiteP(const Point& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

// One accepted step of a translate or rotate drag: M moves the picture as it was at the press.
void applyDragStep(const Matrix& M) {
    if (settings.mousePoints) dotM(settings.pointMatrix, M, mouseState.pointMatrix0);
    if (settings.mouseColors) {
        Matrix Minv;
        inv(Minv, M);
        dotM(settings.colorMatrix, mouseState.colorMatrix0, Minv);
    }
    setOrder();
}

MouseEffect dragStep(float x, float y) {
    MouseState& s = mouseState;
    if (!validP(s.oldPoint)) {
        // The press found no model point: the drag changes nothing (projInv may still beep).
        (void)projInv(x, y, nullptr);
        return MouseEffect::none;
    }
    const Point t = projInv(x, y, &s.newPoint);
    if (!validP(t)) return MouseEffect::none;
    Matrix M;
    if (s.mode == 1) {
        rotateMXY(M, t, s.oldPoint);
    } else {
        Matrix to, from;
        translateM(to, t);
        translateMInv(from, s.oldPoint);
        dotM(M, to, from);
    }
    // A point on the axis of the turn, or antipodal to the view centre, has no finite motion:
    // such a position is skipped like one without a preimage.
    if (!finiteM(M)) return MouseEffect::none;
    s.newPoint = t;
    applyDragStep(M);
    return MouseEffect::redraw;
}

enum class Hit { miss, unchanged, moved };

// Hit test of one copy from the top of the drawing order down, then the generating point
// carried back from the pointer into the fundamental triangle.
Hit reshapeCopy(bool mirror, float x, float y) {
    if (mirror && x == 0 && y == 0) return Hit::miss;
    HitPathLayer& layer = hitLayer();
    DrawLayer* previous = currentLayer();
    setCurrentLayer(&layer);
    const QuadModule* hit = nullptr;
    for (int i = drawLists.quadCount - 1; i >= 0; --i) {
        const QuadModule& q = *drawLists.quad[i];
        if (mirror)
            path4Mirror(q.centre->polyPoint, q.side1->polyPoint, q.corner->polyPoint,
                        q.side2->polyPoint);
        else
            path4Self(q.centre->polyPoint, q.side1->polyPoint, q.corner->polyPoint,
                      q.side2->polyPoint);
        if (layer.contains(x, y)) {
            hit = &q;
            break;
        }
    }
    setCurrentLayer(previous);
    if (!hit) return Hit::miss;

    const DataModule& e = *hit->centre;
    Matrix G, Ginv;
    dotM(G, settings.pointMatrix, e.matrix);
    Point c;
    dotP(c, settings.pointMatrix, e.polyPoint);
    // The mirror copy is drawn inverted in the unit circle, which is its own inverse.
    const ScreenPoint s = mirror ? invertedImage({x, y}) : ScreenPoint{x, y};
    const Point m = projInv(s.x, s.y, &c);
    // Inside a drawn kite but without a preimage: the generating point stays where it is.
    if (!validP(m)) return Hit::unchanged;
    inv(Ginv, G);
    Point p;
    dotP(p, Ginv, m);
    if (!finiteP(p)) return Hit::unchanged;
    specialPoints.polyVEF = p;
    mouseLength();
    return Hit::moved;
}

bool reshapeOne(bool mirror, float x, float y, bool* changed) {
    const Hit hit = reshapeCopy(mirror, x, y);
    if (changed) *changed = hit == Hit::moved;
    return hit != Hit::miss;
}

}  // namespace

MouseEffect mouseDown(float x, float y) {
    MouseState& s = mouseState;
    s.mode = settings.mouseMode;
    if (s.mode != 0) {
        s.oldPoint = projInv(x, y, nullptr);
        if (validP(s.oldPoint)) {
            s.newPoint = s.oldPoint;
            s.pointMatrix0 = settings.pointMatrix;
            s.colorMatrix0 = settings.colorMatrix;
        }
        return MouseEffect::none;
    }
    bool changed = false;
    reshape(x, y, &changed);
    return changed ? MouseEffect::lengths : MouseEffect::none;
}

MouseEffect mouseDragged(float x, float y) {
    switch (mouseState.mode) {
        case 0: {
            bool changed = false;
            reshape(x, y, &changed);
            return changed ? MouseEffect::lengths : MouseEffect::none;
        }
        case 1:
        case 2:
            return dragStep(x, y);
        default:
            return MouseEffect::none;
    }
}

void mouseUp() {
    mouseState.mode = -1;
}

bool reshapeSelf(float x, float y, bool* changed) {
    return reshapeOne(false, x, y, changed);
}

bool reshapeMirror(float x, float y, bool* changed) {
    return reshapeOne(true, x, y, changed);
}

bool reshape(float x, float y, bool* changed) {
    if (changed) *changed = false;
    const bool self = settings.selfDraw, mirror = settings.mirrorDraw;
    if (settings.selfMirrorEmphasis == 0) {
        if (self && reshapeSelf(x, y, changed)) return true;
        if (mirror && reshapeMirror(x, y, changed)) return true;
    } else if (settings.selfMirrorEmphasis == 1) {
        if (mirror && reshapeMirror(x, y, changed)) return true;
        if (self && reshapeSelf(x, y, changed)) return true;
    }
    return false;
}

void mouseLength() {
    setLengthFromPoint();
    setPolyModules();
}
