#include "canvas/mouse.h"

#include <cmath>

#include "canvas/hit_path.h"
#include "geometry/settings.h"
#include "platform/draw.h"
#include "render/depth_order.h"
#include "render/model.h"
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
void applyDragStep(Model& m, const Matrix& M) {
    if (m.settings.mousePoints) dotM(m.settings.pointMatrix, M, mouseState.pointMatrix0);
    if (m.settings.mouseColors) {
        Matrix Minv;
        inv(Minv, M);
        dotM(m.settings.colorMatrix, mouseState.colorMatrix0, Minv);
    }
    setOrder(m);
}

MouseEffect dragStep(Model& m, float x, float y) {
    MouseState& s = mouseState;
    if (!validP(s.oldPoint)) {
        // The press found no model point: the drag changes nothing (projInv may still beep).
        (void)projInv(m.settings, x, y, nullptr);
        return MouseEffect::none;
    }
    const Point t = projInv(m.settings, x, y, &s.newPoint);
    if (!validP(t)) return MouseEffect::none;
    Matrix M;
    if (s.mode == 1) {
        rotateMXY(m.settings.gen, M, t, s.oldPoint);
    } else {
        Matrix to, from;
        translateM(m.settings.gen, to, t);
        translateMInv(m.settings.gen, from, s.oldPoint);
        dotM(M, to, from);
    }
    // A point on the axis of the turn, or antipodal to the view centre, has no finite motion:
    // such a position is skipped like one without a preimage.
    if (!finiteM(M)) return MouseEffect::none;
    s.newPoint = t;
    applyDragStep(m, M);
    return MouseEffect::redraw;
}

// The three proportions and the edge midpoints from the generating point (polyVEF), then the
// poly points of every data record.
void mouseLength(Model& m) {
    setLengthFromPoint(m);
    setPolyModules(m.groupTables, m.specialPoints);
}

enum class Hit { miss, unchanged, moved };

// Hit test of one copy from the top of the drawing order down, then the generating point
// carried back from the pointer into the fundamental triangle.
Hit reshapeCopy(Model& m, bool mirror, float x, float y) {
    if (mirror && x == 0 && y == 0) return Hit::miss;
    HitPathLayer& layer = hitLayer();
    const PathTarget target = pathTarget(m, layer, mirror);
    const QuadModule* hit = nullptr;
    for (int i = m.drawLists.quadCount - 1; i >= 0; --i) {
        const QuadModule& q = *m.drawLists.quad[i];
        path4(target, q.centre->polyPoint, q.side1->polyPoint, q.corner->polyPoint,
              q.side2->polyPoint);
        if (layer.contains(x, y)) {
            hit = &q;
            break;
        }
    }
    if (!hit) return Hit::miss;

    const DataModule& e = *hit->centre;
    Matrix G, Ginv;
    dotM(G, m.settings.pointMatrix, e.matrix);
    Point c;
    dotP(c, m.settings.pointMatrix, e.polyPoint);
    // The mirror copy is drawn inverted in the unit circle, which is its own inverse.
    const ScreenPoint s = mirror ? invertedImage({x, y}) : ScreenPoint{x, y};
    const Point q = projInv(m.settings, s.x, s.y, &c);
    // Inside a drawn kite but without a preimage: the generating point stays where it is.
    if (!validP(q)) return Hit::unchanged;
    inv(Ginv, G);
    Point p;
    dotP(p, Ginv, q);
    if (!finiteP(p)) return Hit::unchanged;
    m.specialPoints.polyVEF = p;
    mouseLength(m);
    return Hit::moved;
}

bool reshapeOne(Model& m, bool mirror, float x, float y, bool* changed) {
    const Hit hit = reshapeCopy(m, mirror, x, y);
    if (changed) *changed = hit == Hit::moved;
    return hit != Hit::miss;
}

// "Set edge lengths" at p: tries the copy drawn on top first. True when a drawn quad was hit.
// *changed (optional) tells whether the generating point moved.
bool reshape(Model& m, float x, float y, bool* changed = nullptr) {
    if (changed) *changed = false;
    const bool self = m.settings.selfDraw, mirror = m.settings.mirrorDraw;
    if (m.settings.selfMirrorEmphasis == 0) {
        if (self && reshapeSelf(m, x, y, changed)) return true;
        if (mirror && reshapeMirror(m, x, y, changed)) return true;
    } else if (m.settings.selfMirrorEmphasis == 1) {
        if (mirror && reshapeMirror(m, x, y, changed)) return true;
        if (self && reshapeSelf(m, x, y, changed)) return true;
    }
    return false;
}

}  // namespace

MouseEffect mouseDown(Model& m, float x, float y) {
    MouseState& s = mouseState;
    s.mode = m.settings.mouseMode;
    if (s.mode != 0) {
        s.oldPoint = projInv(m.settings, x, y, nullptr);
        if (validP(s.oldPoint)) {
            s.newPoint = s.oldPoint;
            s.pointMatrix0 = m.settings.pointMatrix;
            s.colorMatrix0 = m.settings.colorMatrix;
        }
        return MouseEffect::none;
    }
    bool changed = false;
    reshape(m, x, y, &changed);
    return changed ? MouseEffect::lengths : MouseEffect::none;
}

MouseEffect mouseDragged(Model& m, float x, float y) {
    switch (mouseState.mode) {
        case 0: {
            bool changed = false;
            reshape(m, x, y, &changed);
            return changed ? MouseEffect::lengths : MouseEffect::none;
        }
        case 1:
        case 2:
            return dragStep(m, x, y);
        default:
            return MouseEffect::none;
    }
}

void mouseUp() {
    mouseState.mode = -1;
}

bool reshapeSelf(Model& m, float x, float y, bool* changed) {
    return reshapeOne(m, false, x, y, changed);
}

bool reshapeMirror(Model& m, float x, float y, bool* changed) {
    return reshapeOne(m, true, x, y, changed);
}
