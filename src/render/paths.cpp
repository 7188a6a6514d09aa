#include "render/paths.h"

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
    if (interior) {
        const double sd = gen < 0 ? std::sin(d) : std::sinh(d);
        auto arc = [gen, d, n](int k) {
            return gen < 0 ? std::sin(k * d / n) : std::sinh(k * d / n);
        };
        // Piece end i weighs a by arc(n − i) and b by arc(i): each value serves two piece
        // ends, so it is computed once.
        double arcs[101];
        const bool table = gen != 0 && n <= 100;
        if (table) {
            for (int k = 1; k < n; ++k) arcs[k] = arc(k);
        }
        for (int i = 1; i < n; ++i) {
            double ca, cb;
            if (gen != 0) {
                ca = (table ? arcs[n - i] : arc(n - i)) / sd;
                cb = (table ? arcs[i] : arc(i)) / sd;
            } else {
                ca = double(n - i) / n;
                cb = double(i) / n;
            }
            Point p;
            linCom(p, ca, a, cb, b);
            out[i] = projXYSelf(settings, p);
        }
    }
    out[n] = projXYSelf(settings, b);
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
    computeGeodesic(target.settings, *lo, *hi, n, cache.points.data() + s.offset, s.interior);
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
void steps(const PathTarget& target, const Geodesic& g) {
    DrawLayer& layer = target.layer;
    const bool mirror = target.mirror;
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
    cache.points.clear();
    cache.kept.clear();
    cache.recent.fill({});
    cache.tolerance = tolerance > 0 ? tolerance : 0;
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
