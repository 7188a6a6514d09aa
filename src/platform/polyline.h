#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>

// Plane polygons and polylines as arrays of points with members x and y (float or double):
// the winding number that decides what a fill paints, and the thinning of a polyline to the
// points that show. The drawing layers, the hit test and the geodesics share these, so they
// agree with each other.

// The winding number of the closed polygon p[0..n) (the last point joins the first) about
// (x, y): an edge going up with the point on its left counts +1, one going down with the point
// on its right −1. Points on an edge going up or on a horizontal edge count as outside it.
template <class P>
int windingNumber(const P* p, size_t n, double x, double y) {
    int w = 0;
    for (size_t i = 0; i < n; ++i) {
        const P& a = p[i];
        const P& b = p[i + 1 < n ? i + 1 : 0];
        const double ax = a.x, ay = a.y, bx = b.x, by = b.y;
        const double side = (bx - ax) * (y - ay) - (x - ax) * (by - ay);
        if (ay <= y) {
            if (by > y && side > 0) ++w;
        } else if (by <= y && side < 0) {
            --w;
        }
    }
    return w;
}

// Thinning works on polylines whose points all lie within this many tolerances of the origin.
// The distances are computed in double from the points' differences: within this reach their
// rounding stays below a millionth of the tolerance, and farther out no view shows the points.
inline constexpr double kThinningReach = 1e8;

// Douglas–Peucker: marks in keep[0..n) the points of the polyline p[0..n) that a line through
// them alone needs to pass within `tolerance` of every point it leaves out; both ends are kept.
// Returns false, with keep untouched, when it leaves the polyline as it is: fewer than three
// points, a tolerance that is not positive, or a point beyond kThinningReach (or not finite).
template <class P>
bool thinPolyline(const P* p, size_t n, double tolerance, uint8_t* keep) {
    if (n < 3 || !(tolerance > 0)) return false;
    const double reach = kThinningReach * tolerance;
    for (size_t k = 0; k < n; ++k) {
        if (!(std::fabs(double(p[k].x)) < reach && std::fabs(double(p[k].y)) < reach)) return false;
    }
    const double limit = tolerance * tolerance;
    keep[0] = keep[n - 1] = 1;
    for (size_t k = 1; k + 1 < n; ++k) keep[k] = 0;
    // Each span between two kept points is split at its farthest point until every dropped
    // point is near enough; spans are taken from the left, which gives the same points as any
    // other order.
    size_t i = 0, j = n - 1;
    while (i + 1 < n) {
        double worst = -1;
        size_t at = i;
        if (j > i + 1) {
            const double ax = p[i].x, ay = p[i].y;
            const double dx = double(p[j].x) - ax, dy = double(p[j].y) - ay;
            const double len2 = dx * dx + dy * dy;
            for (size_t k = i + 1; k < j; ++k) {
                const double px = double(p[k].x) - ax, py = double(p[k].y) - ay;
                double t = len2 > 0 ? (px * dx + py * dy) / len2 : 0;
                t = t < 0 ? 0 : (t > 1 ? 1 : t);
                const double ex = px - t * dx, ey = py - t * dy;
                const double e = ex * ex + ey * ey;
                if (e > worst) worst = e, at = k;
            }
        }
        if (worst > limit) {
            keep[at] = 1;
            j = at;
        } else {
            i = j;
            for (j = i + 1; j + 1 < n && !keep[j];) ++j;
        }
    }
    return true;
}
