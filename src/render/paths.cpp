#include "render/paths.h"

#include <array>
#include <cassert>
#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/draw.h"
#include "platform/polyline.h"
#include "render/projection.h"

PathPointList pathPoint;

namespace {

// Every shape is drawn into the layer the frame has made current.
DrawLayer& target() {
    assert(currentLayer() && "paths are drawn only while a frame paints");
    return *currentLayer();
}

template <bool mirror>
ScreenPoint image(ScreenPoint direct) {
    return mirror ? invertedImage(direct) : direct;
}

template <bool mirror>
void lineToIfValid(DrawLayer& layer, ScreenPoint s) {
    s = image<mirror>(s);
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
void computeGeodesic(const Point& a, const Point& b, int n, ScreenPoint* out, bool& interior) {
    out[0] = projXYSelf(a);
    const double d = dist(a, b);
    interior = d != 0 && n > 1;
    if (interior) {
        const int gen = settings.gen;
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
            out[i] = projXYSelf(p);
        }
    }
    out[n] = projXYSelf(b);
}

// Geodesics keyed by the addresses of their end points (lower address first), with the images
// of their piece ends in one growing buffer. Slots are emptied by moving to a new stamp.
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
};

GeodesicCache cache;
std::vector<ScreenPoint> scratch;
double tolerance = 0;

size_t slotOf(const Point* a, const Point* b, size_t mask) {
    uint64_t x = uint64_t(reinterpret_cast<uintptr_t>(a)) * 0x9E3779B97F4A7C15ull ^
                 uint64_t(reinterpret_cast<uintptr_t>(b)) * 0xC2B2AE3D27D4EB4Full;
    x ^= x >> 29;
    return size_t(x) & mask;
}

void growSlots() {
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
Geodesic fetch(const Point& a, const Point& b) {
    const int n = std::max(settings.segments, 1);
    if (!cache.active || n != cache.n) {
        scratch.resize(size_t(n) + 1);
        Geodesic g{scratch.data(), n};
        computeGeodesic(a, b, n, scratch.data(), g.interior);
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
        growSlots();
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
    computeGeodesic(*lo, *hi, n, cache.points.data() + s.offset, s.interior);
    ++cache.count;
    recent = {lo, hi, int(i)};
    return {cache.points.data() + s.offset, n, reversed, s.interior, int(i)};
}

// The piece ends of a cached geodesic that a copy needs to draw it within the tolerance, in
// stored order; null when all are drawn.
template <bool mirror>
const uint8_t* thinned(const Geodesic& g, int& count) {
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
            for (int i = 0; i <= n; ++i) q[i] = image<mirror>(g.p[i]);
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
template <bool mirror>
void steps(DrawLayer& layer, const Geodesic& g) {
    int count;
    if (const uint8_t* kept = thinned<mirror>(g, count)) {
        // Every kept end has an image; the first is where the line already is.
        for (int k = 1; k < count; ++k) {
            const ScreenPoint s = image<mirror>(g.p[kept[g.reversed ? count - 1 - k : k]]);
            layer.lineTo(s.x, s.y);
        }
        return;
    }
    if (g.interior) {
        for (int i = 1; i < g.n; ++i) lineToIfValid<mirror>(layer, g.at(i));
    }
    lineToIfValid<mirror>(layer, g.at(g.n));
}

template <bool mirror>
void edge(const Point& a, const Point& b, float width) {
    DrawLayer& layer = target();
    layer.removeAllPoints();
    const Geodesic g = fetch(a, b);
    if (const ScreenPoint s = image<mirror>(g.at(0)); validS(s)) {
        layer.moveTo(s.x, s.y);
        steps<mirror>(layer, g);
    } else if (const ScreenPoint t = image<mirror>(g.at(g.n)); validS(t)) {
        layer.moveTo(t.x, t.y);
        steps<mirror>(layer, g.backwards());
    } else {
        return;
    }
    layer.setLineWidth(width);
    layer.stroke();
}

// The closed cycle through corners[0..n) starting at the first corner with an image.
template <bool mirror>
bool cycle(const Point* const* corners, int n) {
    DrawLayer& layer = target();
    layer.removeAllPoints();
    for (int s = 0; s < n; ++s) {
        const ScreenPoint first = image<mirror>(projXYSelf(*corners[s]));
        if (!validS(first)) continue;
        layer.moveTo(first.x, first.y);
        for (int k = s; k < s + n; ++k)
            steps<mirror>(layer, fetch(*corners[k % n], *corners[(k + 1) % n]));
        return true;
    }
    return false;
}

template <bool mirror>
void polygon(const PolyModule& poly) {
    buildPolyOutline(poly);
    if (cycle<mirror>(pathPoint.point.data(), pathPoint.count)) target().fill();
}

}  // namespace

GeodesicCacheScope::GeodesicCacheScope() {
    assert(!cache.active && "geodesic cache scopes do not nest");
    cache.active = true;
    cache.n = std::max(settings.segments, 1);
    cache.count = 0;
    cache.points.clear();
    cache.kept.clear();
    cache.recent.fill({});
    cache.tolerance = tolerance;
    if (++cache.stamp == 0) {
        // After four billion frames the stamps come round again: start from empty slots.
        cache.slots.assign(cache.slots.size(), {});
        cache.stamp = 1;
    }
}

GeodesicCacheScope::~GeodesicCacheScope() {
    cache.active = false;
}

int geodesicCacheSize() {
    return cache.count;
}

void setGeodesicTolerance(double modelUnits) {
    tolerance = modelUnits > 0 ? modelUnits : 0;
}

double geodesicTolerance() {
    return tolerance;
}

void path1Self(const Point& a, const Point& b) {
    steps<false>(target(), fetch(a, b));
}
void path1Mirror(const Point& a, const Point& b) {
    steps<true>(target(), fetch(a, b));
}

void path2Self(const Point& a, const Point& b, float width) {
    edge<false>(a, b, width);
}
void path2Mirror(const Point& a, const Point& b, float width) {
    edge<true>(a, b, width);
}

void path3Self(const Point& a, const Point& b, const Point& c) {
    const Point* corners[] = {&a, &b, &c};
    cycle<false>(corners, 3);
}

void path3Mirror(const Point& a, const Point& b, const Point& c) {
    const Point* corners[] = {&a, &b, &c};
    cycle<true>(corners, 3);
}

void path4Self(const Point& a, const Point& b, const Point& c, const Point& d) {
    const Point* corners[] = {&a, &b, &c, &d};
    cycle<false>(corners, 4);
}

void path4Mirror(const Point& a, const Point& b, const Point& c, const Point& d) {
    const Point* corners[] = {&a, &b, &c, &d};
    cycle<true>(corners, 4);
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
    polygon<false>(poly);
}
void pathPolyMirror(const PolyModule& poly) {
    polygon<true>(poly);
}
