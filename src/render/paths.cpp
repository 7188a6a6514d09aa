#include "render/paths.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/draw.h"
#include "platform/polyline.h"
#include "render/model.h"
#include "render/projection.h"

namespace {

// The inverted copy's image of a direct image is as projXYMirror makes it.
ScreenPoint image(ScreenPoint direct, bool mirror) {
    return mirror ? invertedImage(direct) : direct;
}

void lineToIfValid(DrawLayer& layer, ScreenPoint s, bool mirror) {
    s = image(s, mirror);
    if (validS(s)) layer.lineTo(s.x, s.y);
}

// The direct images of the n + 1 piece ends of a geodesic, stored from one end to the other;
// at(0) is the end it was asked from. Between coinciding ends there are no interior points.
struct Geodesic {
    const ScreenPoint* p = nullptr;
    int n = 1;
    bool reversed = false;
    bool interior = false;
    int slot = -1;  // in the cache, or −1

    ScreenPoint at(int i) const { return p[reversed ? n - i : i]; }
    Geodesic backwards() const {
        Geodesic g = *this;
        g.reversed = !reversed;
        return g;
    }
};

// The weight of piece end k's arc, sin (sinh) of k/n of the length d; see computeGeodesic.
double arcWeight(int gen, double d, int n, int k) {
    return gen < 0 ? std::sin(k * d / n) : std::sinh(k * d / n);
}

// Piece end i of n of the geodesic from a to b of length d ≠ 0, whose sin (sinh) is sd.
ScreenPoint pieceEnd(const Settings& settings, const Point& a, const Point& b, int n, int i,
                     double d, double sd) {
    const int gen = settings.gen;
    double ca, cb;
    if (gen != 0) {
        ca = arcWeight(gen, d, n, n - i) / sd;
        cb = arcWeight(gen, d, n, i) / sd;
    } else {
        ca = double(n - i) / n;
        cb = double(i) / n;
    }
    Point p;
    linCom(p, ca, a, cb, b);
    return projXYSelf(settings, p);
}

// The piece ends of the geodesic from a to b. The sphere and the hyperboloid interpolate by sin
// (sinh) of the arc, the plane linearly; the points lie on the geodesic already, so they are not
// normalised again. The formulas are symmetric in a and b, so the points from b to a are these
// in reverse order, bit for bit.
void computeGeodesic(const Settings& settings, const Point& a, const Point& b, int n,
                     ScreenPoint* out, bool& interior) {
    out[0] = projXYSelf(settings, a);
    const int gen = settings.gen;
    const double d = dist(gen, a, b);
    interior = d != 0 && n > 1;
    if (interior && gen != 0 && n <= 100) {
        // Piece end i weighs a by arc(n − i) and b by arc(i): each value serves two piece
        // ends, so it is computed once.
        const double sd = gen < 0 ? std::sin(d) : std::sinh(d);
        double arcs[101];
        for (int k = 1; k < n; ++k) arcs[k] = arcWeight(gen, d, n, k);
        for (int i = 1; i < n; ++i) {
            Point p;
            linCom(p, arcs[n - i] / sd, a, arcs[i] / sd, b);
            out[i] = projXYSelf(settings, p);
        }
    } else if (interior) {
        const double sd = gen < 0 ? std::sin(d) : std::sinh(d);
        for (int i = 1; i < n; ++i) out[i] = pieceEnd(settings, a, b, n, i, d, sd);
    }
    out[n] = projXYSelf(settings, b);
}

// Whether the images of geodesics are circles or straight lines, so that the image of a piece
// between two ends is the arc through them and the image of any point between. Central
// projection (choice 1) carries every geodesic into a plane through the origin and so onto a
// line; choices 0 and 2 are linear or projective on the flat plane; the stereographic choice 2
// carries great circles of the sphere and geodesics of the hyperboloid onto circles, as long as
// the view matrix keeps the surface where it is. Inversion in the unit circle keeps circles.
bool imagesAreCircles(const Settings& settings) {
    const int gen = settings.gen;
    const int choice = settings.project3D2D;
    if (choice == 1 || (gen == 0 && (choice == 0 || choice == 2))) return true;
    if (choice != 2) return false;
    // M^T J M = J, with J = diag(1, 1, 1) on the sphere and diag(−1, −1, 1) on the hyperboloid.
    const Matrix& M = settings.pointMatrix;
    const double c[3][3] = {{M.m00, M.m01, M.m02}, {M.m10, M.m11, M.m12}, {M.m20, M.m21, M.m22}};
    const double j[3] = {gen < 0 ? 1.0 : -1.0, gen < 0 ? 1.0 : -1.0, 1.0};
    for (int r = 0; r < 3; ++r) {
        for (int k = 0; k < 3; ++k) {
            double sum = 0;
            for (int i = 0; i < 3; ++i) sum += c[i][r] * j[i] * c[i][k];
            if (!(std::fabs(sum - (r == k ? j[r] : 0.0)) < 1e-9)) return false;
        }
    }
    return true;
}

// The image of a geodesic as the arc from a through m to b (three points of a circle or a
// line), when the points can tell it for sure: m near the middle of the chord a–b, the chord
// long enough to measure, the arc the shorter one, the points not far out.
struct ArcImage {
    bool known = false;
    double sagitta = 0;   // how far the arc strays from the chord a–b
    double radius = 0;    // infinite for a line
    double rounding = 0;  // what the rounding of the points to floats may move these by
};

ArcImage arcImage(ScreenPoint a, ScreenPoint m, ScreenPoint b) {
    ArcImage arc;
    if (!validS(a) || !validS(m) || !validS(b)) return arc;
    const double big = std::max({std::fabs(a.x), std::fabs(a.y), std::fabs(m.x), std::fabs(m.y),
                                 std::fabs(b.x), std::fabs(b.y)});
    const double dx = double(b.x) - a.x, dy = double(b.y) - a.y;
    const double c2 = dx * dx + dy * dy;
    if (!(c2 > 0) || !(big < 1e30)) return arc;
    const double px = double(m.x) - a.x, py = double(m.y) - a.y;
    const double t = (px * dx + py * dy) / c2;
    if (!(t >= 0.2 && t <= 0.8)) return arc;
    const double c = std::sqrt(c2);
    // In the chord's frame: half chord hc, m at xm from its middle and e from it.
    const double hc = c / 2, xm = (t - 0.5) * c, e = std::fabs(px * dy - py * dx) / c;
    arc.rounding = 8e-6 * big;
    arc.radius = HUGE_VAL;
    if (e > 0) {
        // The centre lies y0 beyond the chord from m; the arc through m is the shorter one
        // when y0 ≥ 0.
        const double y0 = (hc * hc - xm * xm - e * e) / (2 * e);
        if (!(y0 >= 0)) return arc;
        arc.radius = std::sqrt(hc * hc + y0 * y0);
        arc.sagitta = hc * hc / (arc.radius + y0);
    }
    arc.known = true;
    return arc;
}

// Whether the whole arc stays within the tolerance of its chord. Then every piece end of the
// geodesic lies that near, and thinning keeps only the two ends.
bool straight(const ArcImage& arc, double tolerance) {
    return arc.known && arc.sagitta + arc.rounding <= tolerance;
}

// Whether the part of the arc between its points p and q stays within the tolerance of the
// chord p–q. The radius is known to a small fraction where the arc is not straight.
bool straightBetween(const ArcImage& arc, ScreenPoint p, ScreenPoint q, double tolerance) {
    if (!arc.known || !validS(p) || !validS(q) || !(arc.rounding <= 0.1 * tolerance)) return false;
    const double dx = double(q.x) - p.x, dy = double(q.y) - p.y;
    const double h2 = (dx * dx + dy * dy) / 4;
    const double r = arc.radius;
    if (!(h2 <= r * r)) return false;
    const double sagitta = std::isinf(r) ? 0 : h2 / (r + std::sqrt(r * r - h2));
    return sagitta * 1.01 + arc.rounding <= tolerance;
}

}  // namespace

// Geodesics keyed by the addresses of their end points (lower address first), with the images
// of their piece ends in one growing buffer. Slots are emptied by moving to a new stamp. Outside
// a scope only `scratch` is used, for the geodesic being drawn.
struct GeodesicCache {
    static constexpr uint32_t kNotThinned = UINT32_MAX;
    struct Slot {
        const Point* a = nullptr;
        const Point* b = nullptr;
        uint32_t offset = 0;
        uint32_t stamp = 0;
        bool interior = false;
        // Whether every piece end is stored; otherwise only the two ends, those the pieces
        // below need, and, in place of the first interior one, the image of the middle.
        bool computed = true;
        // For each copy (direct, inverted), into how many pieces of equal steps the geodesic
        // may be cut for its image to stay within the tolerance of every piece end: 1, 2 or 4,
        // or 0 when that is not known and the piece ends are thinned.
        uint8_t pieces[2] = {0, 0};
        // The piece ends kept for each copy (direct, inverted): kept[first .. first + count),
        // or kNotThinned until asked for; count 0 when every piece end is drawn.
        uint32_t keptFirst[2] = {kNotThinned, kNotThinned};
        uint8_t keptCount[2] = {0, 0};
    };
    bool active = false;
    int n = 0;
    int count = 0;
    uint32_t stamp = 0;
    double tolerance = 0;
    // Whether images of geodesics are tested for straightness before their piece ends are
    // computed (a tolerance and a projection that keeps circles).
    bool testStraight = false;
    int shortcuts = 0;
    std::vector<Slot> slots;
    std::vector<ScreenPoint> points;
    std::vector<uint8_t> kept;
    // The last few geodesics asked for, by a small hash of their ends: the sides of one kite
    // are asked for again by its edges, and its neighbour in the draw list often shares one.
    struct Recent {
        const Point* a = nullptr;
        const Point* b = nullptr;
        int slot = -1;
    };
    std::array<Recent, 64> recent{};
    std::vector<ScreenPoint> scratch;
};

namespace {

size_t slotOf(const Point* a, const Point* b, size_t mask) {
    uint64_t x = uint64_t(reinterpret_cast<uintptr_t>(a)) * 0x9E3779B97F4A7C15ull ^
                 uint64_t(reinterpret_cast<uintptr_t>(b)) * 0xC2B2AE3D27D4EB4Full;
    x ^= x >> 29;
    return size_t(x) & mask;
}

void growSlots(GeodesicCache& cache) {
    std::vector<GeodesicCache::Slot> old;
    old.swap(cache.slots);
    cache.slots.assign(std::max<size_t>(1024, old.size() * 2), {});
    const size_t mask = cache.slots.size() - 1;
    for (const GeodesicCache::Slot& s : old) {
        if (s.stamp != cache.stamp || !s.a) continue;
        size_t i = slotOf(s.a, s.b, mask);
        while (cache.slots[i].stamp == cache.stamp && cache.slots[i].a) i = (i + 1) & mask;
        cache.slots[i] = s;
    }
}

// A new slot's geodesic from a to b. Most geodesics of a large picture are a few pixels long on
// the screen, and thinning would leave out most of their piece ends. Where images of geodesics
// are circles, the images of the ends and of the middle tell how far each copy's arc strays from
// its chord: when within the tolerance the geodesic is drawn as its chord, else, when two or four
// equal pieces of it would do, from the piece ends at the halves (and quarters). The other piece
// ends are left uncomputed until a copy needs them.
void startGeodesic(const Settings& settings, const Point& a, const Point& b, int n,
                   ScreenPoint* out, GeodesicCache::Slot& s, double tolerance) {
    out[0] = projXYSelf(settings, a);
    out[n] = projXYSelf(settings, b);
    Point middle;
    midpoint(settings.gen, middle, a, b);
    out[1] = projXYSelf(settings, middle);
    const ArcImage arcs[2] = {
        arcImage(out[0], out[1], out[n]),
        arcImage(invertedImage(out[0]), invertedImage(out[1]), invertedImage(out[n]))};
    auto done = [&s] { return s.pieces[0] != 0 && s.pieces[1] != 0; };
    for (int c = 0; c < 2; ++c) s.pieces[c] = straight(arcs[c], tolerance) ? 1 : 0;
    // Cut into q pieces, the piece ends k·n/q are piece ends of the geodesic, bit for bit.
    double d = -1, sd = 0;
    for (const int q : {2, 4}) {
        if (done() || n % q != 0 || n / q < 2 || (!arcs[0].known && !arcs[1].known)) break;
        if (d < 0) {
            d = dist(settings.gen, a, b);
            sd = settings.gen < 0 ? std::sin(d) : std::sinh(d);
        }
        if (!(d > 0)) break;
        // The odd ones: the even ones are there from the halves.
        for (int k = 1; k < q; k += 2)
            out[k * n / q] = pieceEnd(settings, a, b, n, k * n / q, d, sd);
        for (int c = 0; c < 2; ++c) {
            if (s.pieces[c]) continue;
            bool within = true;
            for (int k = 0; k < q && within; ++k) {
                const ScreenPoint p = out[k * n / q], r = out[(k + 1) * n / q];
                within = c ? straightBetween(arcs[c], invertedImage(p), invertedImage(r), tolerance)
                           : straightBetween(arcs[c], p, r, tolerance);
            }
            if (within) s.pieces[c] = uint8_t(q);
        }
    }
    s.computed = s.pieces[0] == 0 && s.pieces[1] == 0;
    if (s.computed) computeGeodesic(settings, a, b, n, out, s.interior);
}

// The geodesic from a to b: looked up or computed while a scope is open, computed into scratch
// otherwise. The answer points into storage that the next call may move; use it at once.
Geodesic fetch(const PathTarget& target, const Point& a, const Point& b) {
    GeodesicCache& cache = target.geodesics;
    const int n = std::max(target.settings.segments, 1);
    if (!cache.active || n != cache.n) {
        cache.scratch.resize(size_t(n) + 1);
        Geodesic g{cache.scratch.data(), n};
        computeGeodesic(target.settings, a, b, n, cache.scratch.data(), g.interior);
        return g;
    }
    const bool reversed = std::less<const Point*>()(&b, &a);
    const Point* lo = reversed ? &b : &a;
    const Point* hi = reversed ? &a : &b;
    const size_t r = (reinterpret_cast<uintptr_t>(lo) ^ (reinterpret_cast<uintptr_t>(hi) >> 3)) /
                     sizeof(Point) % cache.recent.size();
    GeodesicCache::Recent& recent = cache.recent[r];
    if (recent.a == lo && recent.b == hi) {
        const GeodesicCache::Slot& s = cache.slots[recent.slot];
        return {cache.points.data() + s.offset, n, reversed, s.interior, recent.slot};
    }
    if (size_t(cache.count + 1) * 2 > cache.slots.size()) {
        growSlots(cache);
        cache.recent.fill({});
    }
    const size_t mask = cache.slots.size() - 1;
    size_t i = slotOf(lo, hi, mask);
    for (;; i = (i + 1) & mask) {
        GeodesicCache::Slot& s = cache.slots[i];
        if (s.stamp != cache.stamp || !s.a) break;
        if (s.a == lo && s.b == hi) {
            recent = {lo, hi, int(i)};
            return {cache.points.data() + s.offset, n, reversed, s.interior, int(i)};
        }
    }
    GeodesicCache::Slot& s = cache.slots[i];
    s = {lo, hi, uint32_t(cache.points.size()), cache.stamp, false};
    cache.points.resize(cache.points.size() + size_t(n) + 1);
    ScreenPoint* out = cache.points.data() + s.offset;
    if (cache.testStraight && n > 1) {
        startGeodesic(target.settings, *lo, *hi, n, out, s, cache.tolerance);
    } else {
        computeGeodesic(target.settings, *lo, *hi, n, out, s.interior);
    }
    ++cache.count;
    recent = {lo, hi, int(i)};
    return {cache.points.data() + s.offset, n, reversed, s.interior, int(i)};
}

// The piece ends of a cached geodesic that a copy needs to draw it within the tolerance, in
// stored order; null when all are drawn.
const uint8_t* thinned(GeodesicCache& cache, const Geodesic& g, bool mirror, int& count) {
    count = 0;
    if (g.slot < 0 || !g.interior || cache.tolerance <= 0) return nullptr;
    GeodesicCache::Slot& s = cache.slots[g.slot];
    if (s.keptFirst[mirror] == GeodesicCache::kNotThinned) {
        s.keptFirst[mirror] = uint32_t(cache.kept.size());
        s.keptCount[mirror] = 0;
        const int n = g.n;
        ScreenPoint q[101];
        uint8_t keep[101];
        // Lines with a point without image, or far out, are drawn whole.
        if (n <= 100) {
            for (int i = 0; i <= n; ++i) q[i] = image(g.p[i], mirror);
        }
        if (n <= 100 && thinPolyline(q, size_t(n) + 1, cache.tolerance, keep)) {
            for (int i = 0; i <= n; ++i) {
                if (keep[i]) cache.kept.push_back(uint8_t(i));
            }
            s.keptCount[mirror] = uint8_t(cache.kept.size() - s.keptFirst[mirror]);
        }
    }
    count = s.keptCount[mirror];
    return count ? cache.kept.data() + s.keptFirst[mirror] : nullptr;
}

// Line-tos to the piece ends after the first.
void steps(const PathTarget& target, Geodesic g) {
    DrawLayer& layer = target.layer;
    const bool mirror = target.mirror;
    if (g.slot >= 0) {
        GeodesicCache& cache = target.geodesics;
        GeodesicCache::Slot& s = cache.slots[g.slot];
        if (const int q = s.pieces[mirror]) {
            // Every piece end drawn has an image.
            for (int k = 1; k <= q; ++k) {
                const ScreenPoint p = image(g.at(k * g.n / q), mirror);
                layer.lineTo(p.x, p.y);
            }
            ++cache.shortcuts;
            return;
        }
        if (!s.computed) {
            computeGeodesic(target.settings, *s.a, *s.b, g.n, cache.points.data() + s.offset,
                            s.interior);
            s.computed = true;
        }
        g.interior = s.interior;
    }
    int count;
    if (const uint8_t* kept = thinned(target.geodesics, g, mirror, count)) {
        // Every kept end has an image; the first is where the line already is.
        for (int k = 1; k < count; ++k) {
            const ScreenPoint s = image(g.p[kept[g.reversed ? count - 1 - k : k]], mirror);
            layer.lineTo(s.x, s.y);
        }
        return;
    }
    if (g.interior) {
        for (int i = 1; i < g.n; ++i) lineToIfValid(layer, g.at(i), mirror);
    }
    lineToIfValid(layer, g.at(g.n), mirror);
}

// The closed cycle through corners[0..n) starting at the first corner with an image.
bool cycle(const PathTarget& target, const Point* const* corners, int n) {
    DrawLayer& layer = target.layer;
    layer.removeAllPoints();
    for (int s = 0; s < n; ++s) {
        const ScreenPoint first = image(projXYSelf(target.settings, *corners[s]), target.mirror);
        if (!validS(first)) continue;
        layer.moveTo(first.x, first.y);
        for (int k = s; k < s + n; ++k)
            steps(target, fetch(target, *corners[k % n], *corners[(k + 1) % n]));
        return true;
    }
    return false;
}

}  // namespace

PathTarget pathTarget(Model& m, DrawLayer& layer, bool mirror) {
    return {m.settings, layer, m.geodesicCache.get(), mirror};
}

GeodesicCacheScope::GeodesicCacheScope(Model& m, double tolerance) : cache_(m.geodesicCache.get()) {
    GeodesicCache& cache = cache_;
    assert(!cache.active && "geodesic cache scopes do not nest");
    cache.active = true;
    cache.n = std::max(m.settings.segments, 1);
    cache.count = 0;
    cache.shortcuts = 0;
    cache.points.clear();
    cache.kept.clear();
    cache.recent.fill({});
    cache.tolerance = tolerance > 0 ? tolerance : 0;
    cache.testStraight = cache.tolerance > 0 && imagesAreCircles(m.settings);
    if (++cache.stamp == 0) {
        // After four billion frames the stamps come round again: start from empty slots.
        cache.slots.assign(cache.slots.size(), {});
        cache.stamp = 1;
    }
}

GeodesicCacheScope::~GeodesicCacheScope() {
    cache_.active = false;
}

int GeodesicCacheScope::size() const {
    return cache_.count;
}

int GeodesicCacheScope::shortcuts() const {
    return cache_.shortcuts;
}

void path1(const PathTarget& target, const Point& a, const Point& b) {
    steps(target, fetch(target, a, b));
}

void path2(const PathTarget& target, const Point& a, const Point& b, float width) {
    DrawLayer& layer = target.layer;
    layer.removeAllPoints();
    const Geodesic g = fetch(target, a, b);
    if (const ScreenPoint s = image(g.at(0), target.mirror); validS(s)) {
        layer.moveTo(s.x, s.y);
        steps(target, g);
    } else if (const ScreenPoint t = image(g.at(g.n), target.mirror); validS(t)) {
        layer.moveTo(t.x, t.y);
        steps(target, g.backwards());
    } else {
        return;
    }
    layer.setLineWidth(width);
    layer.stroke();
}

void path3(const PathTarget& target, const Point& a, const Point& b, const Point& c) {
    const Point* corners[] = {&a, &b, &c};
    cycle(target, corners, 3);
}

void path4(const PathTarget& target, const Point& a, const Point& b, const Point& c,
           const Point& d) {
    const Point* corners[] = {&a, &b, &c, &d};
    cycle(target, corners, 4);
}

void pathCycle(const PathTarget& target, const Point* const* corners, int n) {
    cycle(target, corners, n);
}

void buildPolyOutline(PathPointList& pathPoint, const PolyModule& poly) {
    pathPoint.count = 0;
    auto append = [&pathPoint](const DataModule* record) {
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

void pathPoly(const PathTarget& target, const PolyModule& poly) {
    PathPointList outline;
    buildPolyOutline(outline, poly);
    if (cycle(target, outline.point.data(), outline.count)) target.layer.fill();
}
