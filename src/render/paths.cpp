#include "render/paths.h"

#include <cassert>
#include <cmath>

#include "platform/draw.h"
#include "render/projection.h"

PathPointList pathPoint;

namespace {

using Projection = ScreenPoint (*)(const Point&);

// Every shape is drawn into the layer the frame has made current.
DrawLayer& target() {
    assert(currentLayer() && "paths are drawn only while a frame paints");
    return *currentLayer();
}

template <Projection project>
void lineToIfValid(DrawLayer& layer, const Point& p) {
    const ScreenPoint s = project(p);
    if (validS(s)) layer.lineTo(s.x, s.y);
}

template <Projection project>
void steps(DrawLayer& layer, const Point& a, const Point& b) {
    const double d = dist(a, b);
    if (d != 0) {
        const int gen = settings.gen;
        // The sphere and the hyperboloid interpolate by sin (sinh) of the arc, the plane
        // linearly. The points lie on the geodesic already, so they are not normalised again.
        const double sd = gen < 0 ? std::sin(d) : std::sinh(d);
        for (int i = 1; i < settings.segments; ++i) {
            const int n = settings.segments;
            double ca, cb;
            if (gen < 0) {
                ca = std::sin((n - i) * d / n) / sd;
                cb = std::sin(i * d / n) / sd;
            } else if (gen > 0) {
                ca = std::sinh((n - i) * d / n) / sd;
                cb = std::sinh(i * d / n) / sd;
            } else {
                ca = double(n - i) / n;
                cb = double(i) / n;
            }
            Point p;
            linCom(p, ca, a, cb, b);
            lineToIfValid<project>(layer, p);
        }
    }
    lineToIfValid<project>(layer, b);
}

template <Projection project>
void edge(const Point& a, const Point& b, float width) {
    DrawLayer& layer = target();
    layer.removeAllPoints();
    if (const ScreenPoint s = project(a); validS(s)) {
        layer.moveTo(s.x, s.y);
        steps<project>(layer, a, b);
        steps<project>(layer, b, a);
    } else if (const ScreenPoint t = project(b); validS(t)) {
        layer.moveTo(t.x, t.y);
        steps<project>(layer, b, a);
        steps<project>(layer, a, b);
    } else {
        return;
    }
    layer.setLineWidth(width);
    layer.stroke();
}

// The closed cycle through corners[0..n) starting at the first corner with an image.
template <Projection project>
bool cycle(const Point* const* corners, int n) {
    DrawLayer& layer = target();
    layer.removeAllPoints();
    for (int s = 0; s < n; ++s) {
        const ScreenPoint first = project(*corners[s]);
        if (!validS(first)) continue;
        layer.moveTo(first.x, first.y);
        for (int k = s; k < s + n; ++k)
            steps<project>(layer, *corners[k % n], *corners[(k + 1) % n]);
        return true;
    }
    return false;
}

template <Projection project>
void polygon(const PolyModule& poly) {
    buildPolyOutline(poly);
    if (cycle<project>(pathPoint.point.data(), pathPoint.count)) target().fill();
}

}  // namespace

void path1Self(const Point& a, const Point& b) {
    steps<projXYSelf>(target(), a, b);
}
void path1Mirror(const Point& a, const Point& b) {
    steps<projXYMirror>(target(), a, b);
}

void path2Self(const Point& a, const Point& b, float width) {
    edge<projXYSelf>(a, b, width);
}
void path2Mirror(const Point& a, const Point& b, float width) {
    edge<projXYMirror>(a, b, width);
}

void path3Self(const Point& a, const Point& b, const Point& c) {
    const Point* corners[] = {&a, &b, &c};
    cycle<projXYSelf>(corners, 3);
}

void path3Mirror(const Point& a, const Point& b, const Point& c) {
    const Point* corners[] = {&a, &b, &c};
    cycle<projXYMirror>(corners, 3);
}

void path4Self(const Point& a, const Point& b, const Point& c, const Point& d) {
    const Point* corners[] = {&a, &b, &c, &d};
    cycle<projXYSelf>(corners, 4);
}

void path4Mirror(const Point& a, const Point& b, const Point& c, const Point& d) {
    const Point* corners[] = {&a, &b, &c, &d};
    cycle<projXYMirror>(corners, 4);
}

void buildPolyOutline(const PolyModule& poly) {
    pathPoint.count = 0;
    auto append = [](const DataModule* record) {
        if (record) pathPoint.point[pathPoint.count++] = &record->polyPoint;
    };
    // The arrays hold twelve steps; a larger n cannot come from the tables.
    const int n = poly.n < 0 ? 0 : (poly.n > 12 ? 12 : poly.n);
    for (int i = 0; i < n; ++i) {
        if (poly.sideA[i]) {
            if (poly.cornerA[i]) {
                append(poly.cornerA[i]);
                if (!poly.cornerB[i]) append(poly.sideA[i]);
            } else {
                append(poly.centre);
                append(poly.sideA[i]);
            }
        }
        if (poly.sideB[i]) {
            if (poly.cornerB[i]) {
                append(poly.cornerB[i]);
                if (!poly.cornerA[(i + 1) % n]) append(poly.sideB[i]);
            } else {
                append(poly.centre);
                append(poly.sideB[i]);
            }
        }
    }
}

void pathPolySelf(const PolyModule& poly) {
    polygon<projXYSelf>(poly);
}
void pathPolyMirror(const PolyModule& poly) {
    polygon<projXYMirror>(poly);
}
