#include "raster/raster_layer.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <memory>
#include <numbers>
#include <thread>
#include <utility>

#ifdef __SSE2__
#include <emmintrin.h>
#endif
#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define KALEIDRA_WIDE_PATH 1
#endif

#include "platform/polyline.h"
#include "raster/worker_pool.h"

namespace {

using Vec = RasterLayer::Vec;

// Pen details shared with QtDrawLayer: a corner whose miter would be longer than this many line
// widths is bevelled.
constexpr float kMiterLimit = 10;
// Flattening tolerance in pixels.
constexpr float kTolerance = 0.1f;
constexpr float kThinning = RasterLayer::kThinning;
// Rows per band: small enough to balance the cores, large enough that shapes seldom span many.
constexpr int kBandRows = 64;
// Fill outlines with points farther than this outside the image are clipped to it first, so
// that no co-ordinate reaches a size where float steps are coarse.
constexpr float kFillGuard = 4096;

bool finite(float a, float b) {
    return std::isfinite(a) && std::isfinite(b);
}

// NaN becomes 0; everything else is held in 0..1.
float unit(float v) {
    return v > 0 ? (v < 1 ? v : 1) : 0;
}

// x·a/255 for the four channels of x at once, rounded as the raster engine rounds.
inline uint32_t byteMul(uint32_t x, uint32_t a) {
    uint32_t t = (x & 0xff00ff) * a;
    t = (t + ((t >> 8) & 0xff00ff) + 0x800080) >> 8;
    t &= 0xff00ff;
    x = ((x >> 8) & 0xff00ff) * a;
    x = x + ((x >> 8) & 0xff00ff) + 0x800080;
    x &= 0xff00ff00;
    return x | t;
}

// Source-over of one premultiplied colour across n pixels.
inline void blendRun(uint32_t* dst, int n, uint32_t src) {
    const uint32_t ia = 255 - (src >> 24);
    if (ia == 0) {
        std::fill(dst, dst + n, src);
        return;
    }
    if (src == 0) return;
#ifdef __SSE2__
    // Four pixels at a time in 16-bit lanes, rounded exactly as byteMul rounds.
    const __m128i zero = _mm_setzero_si128();
    const __m128i alpha = _mm_set1_epi16(short(ia));
    const __m128i half = _mm_set1_epi16(0x80);
    const __m128i colour = _mm_set1_epi32(int(src));
    for (; n >= 4; n -= 4, dst += 4) {
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst));
        __m128i lo = _mm_mullo_epi16(_mm_unpacklo_epi8(d, zero), alpha);
        __m128i hi = _mm_mullo_epi16(_mm_unpackhi_epi8(d, zero), alpha);
        lo = _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(lo, _mm_srli_epi16(lo, 8)), half), 8);
        hi = _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(hi, _mm_srli_epi16(hi, 8)), half), 8);
        const __m128i r = _mm_add_epi8(_mm_packus_epi16(lo, hi), colour);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), r);
    }
#endif
    for (; n > 0; --n, ++dst) *dst = src + byteMul(*dst, ia);
}

// The first cell at or after `from` and before `to` that holds anything, or `to`. Cells are
// cleared to +0 and never hold −0 (+0 + −0 is +0), so a zero cell is all zero bits.
inline int zeroRun(const float* row, int from, int to) {
    if (from >= to || row[from] != 0) return from;
    int x = from + 1;
#ifdef __SSE2__
    const __m128i zero = _mm_setzero_si128();
    for (; x + 4 <= to; x += 4) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + x));
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(v, zero)) != 0xffff) break;
    }
#endif
    while (x < to && row[x] == 0) ++x;
    return x;
}

#ifdef KALEIDRA_WIDE_PATH
// blendRun and zeroRun eight pixels at a time, for processors with AVX2; the pixels and the
// answers are the same to the bit.
__attribute__((target("avx2"))) inline void blendRunWide(uint32_t* dst, int n, uint32_t src) {
    const uint32_t ia = 255 - (src >> 24);
    if (ia == 0 || src == 0) {
        blendRun(dst, n, src);
        return;
    }
    const __m256i zero = _mm256_setzero_si256();
    const __m256i alpha = _mm256_set1_epi16(short(ia));
    const __m256i half = _mm256_set1_epi16(0x80);
    const __m256i colour = _mm256_set1_epi32(int(src));
    for (; n >= 8; n -= 8, dst += 8) {
        const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dst));
        __m256i lo = _mm256_mullo_epi16(_mm256_unpacklo_epi8(d, zero), alpha);
        __m256i hi = _mm256_mullo_epi16(_mm256_unpackhi_epi8(d, zero), alpha);
        lo = _mm256_srli_epi16(
            _mm256_add_epi16(_mm256_add_epi16(lo, _mm256_srli_epi16(lo, 8)), half), 8);
        hi = _mm256_srli_epi16(
            _mm256_add_epi16(_mm256_add_epi16(hi, _mm256_srli_epi16(hi, 8)), half), 8);
        // Unpacking and packing both work within each 128-bit half, so the order comes back.
        const __m256i r = _mm256_add_epi8(_mm256_packus_epi16(lo, hi), colour);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst), r);
    }
    for (; n > 0; --n, ++dst) *dst = src + byteMul(*dst, ia);
}

__attribute__((target("avx2"))) inline int zeroRunWide(const float* row, int from, int to) {
    if (from >= to || row[from] != 0) return from;
    int x = from + 1;
    const __m256i zero = _mm256_setzero_si256();
    for (; x + 8 <= to; x += 8) {
        const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(row + x));
        if (_mm256_movemask_epi8(_mm256_cmpeq_epi32(v, zero)) != -1) break;
    }
    while (x < to && row[x] == 0) ++x;
    return x;
}

bool haveWide() {
    return __builtin_cpu_supports("avx2");
}
#else
bool haveWide() {
    return false;
}
#endif

// The points of p[0..n) that keep the line within `tolerance` of every one it drops.
void simplify(const Vec* p, uint32_t n, float tolerance, std::vector<Vec>& out,
              std::vector<uint8_t>& keep) {
    out.clear();
    keep.resize(n);
    if (!thinPolyline(p, n, tolerance, keep.data())) {
        out.assign(p, p + n);
        return;
    }
    for (uint32_t k = 0; k < n; ++k) {
        if (keep[k]) out.push_back(p[k]);
    }
}

struct Box {
    float x0, y0, x1, y1;
    bool contains(Vec p) const { return p.x >= x0 && p.x <= x1 && p.y >= y0 && p.y <= y1; }
};

// The part of segment a–b inside the box (Liang–Barsky), in double for far-off points.
bool clipSegment(Vec a, Vec b, const Box& box, Vec& outA, Vec& outB) {
    double t0 = 0, t1 = 1;
    const double dx = double(b.x) - a.x, dy = double(b.y) - a.y;
    auto edge = [&](double p, double q) {
        if (p == 0) return q >= 0;
        const double r = q / p;
        if (p < 0) {
            if (r > t1) return false;
            if (r > t0) t0 = r;
        } else {
            if (r < t0) return false;
            if (r < t1) t1 = r;
        }
        return true;
    };
    if (!edge(-dx, a.x - double(box.x0)) || !edge(dx, double(box.x1) - a.x) ||
        !edge(-dy, a.y - double(box.y0)) || !edge(dy, double(box.y1) - a.y))
        return false;
    outA = {float(a.x + t0 * dx), float(a.y + t0 * dy)};
    outB = {float(a.x + t1 * dx), float(a.y + t1 * dy)};
    return true;
}

// One side of a stroke's outline: the offsets of points p[0..n) by the left normals of their
// segments, with a miter on the outer side of every turn (a bevel where the miter would be
// longer than the limit times the line width) and a notch through the point itself on the
// inner side. A closed polyline joins at every point; an open one starts and ends square with
// its end points (flat caps).
void strokeSide(const Vec* p, uint32_t n, bool closed, float hw, std::vector<Vec>& out) {
    auto dir = [&](uint32_t i) {
        const Vec a = p[i], b = p[(i + 1) % n];
        const float dx = b.x - a.x, dy = b.y - a.y;
        const float l = std::sqrt(dx * dx + dy * dy);
        return Vec{dx / l, dy / l};
    };
    auto join = [&](Vec P, Vec u0, Vec u1) {
        const Vec a{-u0.y * hw, u0.x * hw}, b{-u1.y * hw, u1.x * hw};
        const float cross = u0.x * u1.y - u0.y * u1.x;
        const float cosT = u0.x * u1.x + u0.y * u1.y;
        if (std::fabs(cross) < 1e-4f && cosT > 0) {
            out.push_back({P.x + a.x, P.y + a.y});
            return;
        }
        // The side is on the outside of the turn when the next segment leaves away from it.
        const bool outer = a.x * u1.x + a.y * u1.y < 0;
        if (!outer) {
            out.push_back({P.x + a.x, P.y + a.y});
            out.push_back(P);
            out.push_back({P.x + b.x, P.y + b.y});
            return;
        }
        const float half = std::sqrt(std::max(0.0f, (1 + cosT) / 2));  // cos of half the turn
        if (half * kMiterLimit >= 1) {
            const float k = 1 / (1 + cosT);
            out.push_back({P.x + (a.x + b.x) * k, P.y + (a.y + b.y) * k});
            return;
        }
        // Beyond the limit the corner is bevelled.
        out.push_back({P.x + a.x, P.y + a.y});
        out.push_back({P.x + b.x, P.y + b.y});
    };
    if (closed) {
        Vec prev = dir(n - 1);
        for (uint32_t i = 0; i < n; ++i) {
            const Vec next = dir(i);
            join(p[i], prev, next);
            prev = next;
        }
        return;
    }
    Vec u = dir(0);
    out.push_back({p[0].x - u.y * hw, p[0].y + u.x * hw});
    for (uint32_t i = 1; i + 1 < n; ++i) {
        const Vec next = dir(i);
        join(p[i], u, next);
        u = next;
    }
    out.push_back({p[n - 1].x - u.y * hw, p[n - 1].y + u.x * hw});
}

}  // namespace

// Per-thread scratch, kept from frame to frame: the coverage cells of one band (two guard
// columns past the image's right edge) and the columns touched in each of its rows. Every item
// leaves the cells it used zero again.
struct RasterLayer::Scratch {
    std::vector<float> cells;
    std::vector<int> rowMin, rowMax;
    int stride = 0;

    void prepare(int width) {
        if (stride == width + 2) return;
        stride = width + 2;
        cells.assign(size_t(stride) * kBandRows, 0.0f);
        rowMin.assign(kBandRows, INT32_MAX);
        rowMax.assign(kBandRows, -1);
    }
};

namespace {

using BandScratch = RasterLayer::Scratch;

// The recorded list as raw arrays. While a helper follows the list being recorded the arrays do
// not move, and it reads only the items published to it, which are complete.
struct ListView {
    const RasterLayer::Item* items = nullptr;
    const uint32_t* ringEnd = nullptr;
    const Vec* points = nullptr;
};

// Rasterises the items of one band into the image rows [top, top + rows).
class BandPainter {
  public:
    BandPainter(BandScratch& s, int width, int top, int rows, uint32_t* bits, ptrdiff_t bpl,
                bool wide)
        : s_(s), width_(width), top_(top), rows_(rows), bits_(bits), bpl_(bpl), wide_(wide) {}

    void paintItem(const ListView& list, const RasterLayer::Item& item) {
#ifdef KALEIDRA_WIDE_PATH
        if (wide_) {
            paintItemWide(list, item);
            return;
        }
#endif
        paint<false>(list, item);
    }

  private:
#ifdef KALEIDRA_WIDE_PATH
    // The whole item compiled for AVX2, its sweep included.
    __attribute__((target("avx2"), flatten)) void paintItemWide(const ListView& list,
                                                                const RasterLayer::Item& item) {
        paint<true>(list, item);
    }
#endif

    template <bool Wide>
    void paint(const ListView& list, const RasterLayer::Item& item) {
        lo_ = rows_;
        hi_ = -1;
        const uint32_t* ends = list.ringEnd;
        const Vec* pts = list.points;
        for (uint32_t r = item.firstRing; r < item.firstRing + item.ringCount; ++r) {
            const uint32_t first = r == 0 ? 0 : ends[r - 1], last = ends[r];
            if (last - first < 3) continue;
            Vec a = pts[last - 1];
            for (uint32_t k = first; k < last; ++k) {
                const Vec b = pts[k];
                segment(a.x, a.y - float(top_), b.x, b.y - float(top_));
                a = b;
            }
        }
        if (hi_ >= lo_) sweep<Wide>(item.color);
    }

    // An edge in band co-ordinates, split where it crosses the image's left and right edges;
    // the parts outside become vertical edges on them, which keep the winding right inside.
    void segment(float x0, float y0, float x1, float y1) {
        if (y0 == y1) return;
        if ((y0 <= 0 && y1 <= 0) || (y0 >= rows_ && y1 >= rows_)) return;
        const float W = float(width_);
        if (x0 >= 0 && x1 >= 0 && x0 <= W && x1 <= W) {
            deposit(x0, y0, x1, y1);
            return;
        }
        float ts[4] = {0, 0, 0, 1};
        int n = 1;
        const float dx = x1 - x0;
        if (dx != 0) {
            for (float edge : {0.0f, W}) {
                const float t = (edge - x0) / dx;
                if (t > 0 && t < 1) ts[n++] = t;
            }
        }
        if (n == 3 && ts[2] < ts[1]) std::swap(ts[1], ts[2]);
        ts[n] = 1;
        const float dy = y1 - y0;
        float px = x0, py = y0;
        for (int i = 1; i <= n; ++i) {
            const float t = ts[i];
            const float qx = i == n ? x1 : x0 + dx * t, qy = i == n ? y1 : y0 + dy * t;
            const float mx = (px + qx) / 2;
            const float edge = mx < 0 ? 0 : (mx > W ? W : -1);
            if (edge >= 0) {
                deposit(edge, py, edge, qy);
            } else {
                deposit(std::clamp(px, 0.0f, W), py, std::clamp(qx, 0.0f, W), qy);
            }
            px = qx, py = qy;
        }
    }

    // Signed area of the edge accumulated into the cells it crosses (the area to the right of
    // the edge in each row is carried by the running sum of the sweep).
    void deposit(float x0, float y0, float x1, float y1) {
        if (y0 == y1) return;
        float dir = 1;
        if (y0 > y1) {
            std::swap(x0, x1);
            std::swap(y0, y1);
            dir = -1;
        }
        const float top = std::max(y0, 0.0f), bottom = std::min(y1, float(rows_));
        if (top >= bottom) return;
        const float W = float(width_);
        const float dxdy = (x1 - x0) / (y1 - y0);
        float x = x0 + (top - y0) * dxdy;
        const int first = int(top), last = int(std::ceil(bottom));
        lo_ = std::min(lo_, first);
        hi_ = std::max(hi_, last - 1);
        for (int y = first; y < last; ++y) {
            const float dy = std::min(float(y + 1), bottom) - std::max(float(y), top);
            const float xnext = x + dxdy * dy;
            const float d = dy * dir;
            const float xa = std::clamp(std::min(x, xnext), 0.0f, W);
            const float xb = std::clamp(std::max(x, xnext), 0.0f, W);
            // Both are at least 0: truncation is the floor.
            const int xai = int(xa);
            const float xaf = float(xai);
            const int xbi = int(xb) + (float(int(xb)) < xb);
            const float xbc = float(xbi);
            float* row = s_.cells.data() + size_t(y) * s_.stride;
            int hi;
            if (xbi <= xai + 1) {
                const float xmf = 0.5f * (xa + xb) - xaf;
                row[xai] += d - d * xmf;
                row[xai + 1] += d * xmf;
                hi = xai + 1;
            } else {
                const float s = 1 / (xb - xa);
                const float x0f = xa - xaf;
                const float a0 = 0.5f * s * (1 - x0f) * (1 - x0f);
                const float x1f = xb - xbc + 1;
                const float am = 0.5f * s * x1f * x1f;
                row[xai] += d * a0;
                if (xbi == xai + 2) {
                    row[xai + 1] += d * (1 - a0 - am);
                } else {
                    const float a1 = s * (1.5f - x0f);
                    row[xai + 1] += d * (a1 - a0);
                    const float ds = d * s;
                    for (int xi = xai + 2; xi < xbi - 1; ++xi) row[xi] += ds;
                    const float a2 = a1 + float(xbi - xai - 3) * s;
                    row[xbi - 1] += d * (1 - a2 - am);
                }
                row[xbi] += d * am;
                hi = xbi;
            }
            int& mn = s_.rowMin[y];
            int& mx = s_.rowMax[y];
            if (xai < mn) mn = xai;
            if (hi > mx) mx = hi;
            x = xnext;
        }
    }

    // Turns the accumulated cells into coverage and composites the colour row by row, clearing
    // the cells for the next item.
    template <bool Wide>
    void sweep(uint32_t color) {
        const int W = width_;
        for (int y = std::max(lo_, 0); y <= std::min(hi_, rows_ - 1); ++y) {
            int& mn = s_.rowMin[y];
            int& mx = s_.rowMax[y];
            if (mx < mn) continue;
            float* row = s_.cells.data() + size_t(y) * s_.stride;
            uint32_t* dst = reinterpret_cast<uint32_t*>(reinterpret_cast<unsigned char*>(bits_) +
                                                        (top_ + y) * bpl_);
            float acc = 0;
            const int end = std::min(mx, W - 1);
            int x = mn;
            while (x <= end) {
                acc += row[x];
                row[x] = 0;
                const float c = std::min(std::fabs(acc), 1.0f);
                const uint32_t k = uint32_t(c * 255 + 0.5f);
                // Cells that add nothing keep the coverage: one run.
                int run;
#ifdef KALEIDRA_WIDE_PATH
                if constexpr (Wide)
                    run = zeroRunWide(row, x + 1, end + 1);
                else
#endif
                    run = zeroRun(row, x + 1, end + 1);
                if (k != 0) {
                    const uint32_t src = k == 255 ? color : byteMul(color, k);
                    if (run == x + 1) {
                        dst[x] = src + byteMul(dst[x], 255 - (src >> 24));
                    } else {
#ifdef KALEIDRA_WIDE_PATH
                        if constexpr (Wide)
                            blendRunWide(dst + x, run - x, src);
                        else
#endif
                            blendRun(dst + x, run - x, src);
                    }
                }
                x = run;
            }
            for (; x <= mx; ++x) row[x] = 0;
            mn = INT32_MAX;
            mx = -1;
        }
    }

    BandScratch& s_;
    int width_, top_, rows_;
    uint32_t* bits_;
    ptrdiff_t bpl_;
    [[maybe_unused]] bool wide_;
    int lo_ = 0, hi_ = -1;
};

// Items [first, count) sorted into bands, each band's in drawing order; bands are handed out
// to the painting threads one at a time.
struct BandPlan {
    int bands = 0;
    std::vector<uint32_t> start, order;
    std::atomic<int> next{0};

    void build(const ListView& list, uint32_t first, uint32_t count, int height) {
        bands = (height + kBandRows - 1) / kBandRows;
        start.assign(size_t(bands) + 1, 0);
        for (uint32_t i = first; i < count; ++i) {
            const RasterLayer::Item& it = list.items[i];
            for (int b = it.y0 / kBandRows; b <= (it.y1 - 1) / kBandRows; ++b) ++start[b + 1];
        }
        for (int b = 0; b < bands; ++b) start[b + 1] += start[b];
        order.resize(start[bands]);
        std::vector<uint32_t> at(start.begin(), start.end() - 1);
        for (uint32_t i = first; i < count; ++i) {
            const RasterLayer::Item& it = list.items[i];
            for (int b = it.y0 / kBandRows; b <= (it.y1 - 1) / kBandRows; ++b) order[at[b]++] = i;
        }
        next.store(0);
    }
};

struct Target {
    uint32_t* bits = nullptr;
    ptrdiff_t bpl = 0;
    int width = 0, height = 0;
    bool clear = false;  // clear each row to transparent before painting into it
    bool wide = false;   // paint eight pixels at a time

    void clearRows(int from, int to) const {
        if (!clear) return;
        for (int y = from; y < to; ++y)
            std::fill_n(
                reinterpret_cast<uint32_t*>(reinterpret_cast<unsigned char*>(bits) + y * bpl),
                width, 0u);
    }
};

// Paints whole bands until none is left.
void workBands(const ListView& list, BandPlan& plan, const Target& t, BandScratch& scratch) {
    scratch.prepare(t.width);
    for (int b; (b = plan.next.fetch_add(1)) < plan.bands;) {
        const int top = b * kBandRows;
        t.clearRows(top, std::min(top + kBandRows, t.height));
        BandPainter band(scratch, t.width, top, std::min(kBandRows, t.height - top), t.bits, t.bpl,
                         t.wide);
        const uint32_t end = plan.start[b + 1];
        for (uint32_t k = plan.start[b]; k < end; ++k) {
            // The items of a band lie scattered through the list: fetch ahead.
            if (k + 8 < end) __builtin_prefetch(&list.items[plan.order[k + 8]]);
            if (k + 4 < end) {
                const RasterLayer::Item& ahead = list.items[plan.order[k + 4]];
                __builtin_prefetch(&list.ringEnd[ahead.firstRing]);
                __builtin_prefetch(&list.points[ahead.firstPoint]);
            }
            band.paintItem(list, list.items[plan.order[k]]);
        }
    }
}

// Whether the item is an opaque rectangle over the whole image, whose every pixel it covers to
// at least 254.5/255: painted first, it leaves every pixel its colour whatever was there, so
// clearing the image first would change nothing (the background of a frame).
bool coversImage(const ListView& list, const RasterLayer::Item& item, int width, int height) {
    if ((item.color >> 24) != 255 || item.ringCount != 1) return false;
    const uint32_t first = item.firstRing == 0 ? 0 : list.ringEnd[item.firstRing - 1];
    if (list.ringEnd[item.firstRing] - first != 4) return false;
    const Vec* p = list.points + first;
    // Corners in the order rectPath adds them: along x, along y, back along x.
    if (p[0].y != p[1].y || p[1].x != p[2].x || p[2].y != p[3].y || p[3].x != p[0].x) return false;
    // Edges at most this far inside the image leave its corner pixels (1 − e)² ≥ 0.9995.
    constexpr float e = 2.5e-4f;
    const float x0 = std::min(p[0].x, p[1].x), x1 = std::max(p[0].x, p[1].x);
    const float y0 = std::min(p[1].y, p[2].y), y1 = std::max(p[1].y, p[2].y);
    return x0 <= e && y0 <= e && x1 >= float(width) - e && y1 >= float(height) - e;
}

int threadCount(int threads) {
    return threads > 0 ? threads : int(std::max(1u, std::thread::hardware_concurrency()));
}

}  // namespace

// A task for one painting thread that paints the list while it is being recorded, item after
// item, each into every band it touches; when told to stop it reports how far it got and then
// takes part in painting the rest band by band.
struct RasterLayer::Follower {
    static constexpr uint32_t kStop = 0x80000000u;

    ListView list;
    Target target;
    int threads = 1;
    // The number of complete items, with kStop set once the helper is to stop.
    std::atomic<uint32_t> state{0};
    std::atomic<bool> waiting{false};
    std::atomic<int64_t> reached{-1};
    std::atomic<bool> bandsReady{false};
    bool cleared = false;  // the image, by the follower before its first item
    BandPlan plan;

    void publish(uint32_t value) {
        state.store(value, std::memory_order_seq_cst);
        if (waiting.load(std::memory_order_seq_cst)) state.notify_one();
    }

    BandScratch* scratch = nullptr;

    void run() {
        scratch->prepare(target.width);
        uint32_t i = 0;
        for (;;) {
            const uint32_t now = state.load(std::memory_order_acquire);
            if (now & kStop) break;
            if (i == 0 && now > 0 && target.clear) {
                // Before the first item, unless it covers every pixel anyway.
                if (!coversImage(list, list.items[0], target.width, target.height))
                    target.clearRows(0, target.height);
                target.clear = false;
            }
            if (i == now) {
                // Caught up: wait a moment, then sleep until something is published.
                for (int spin = 0; spin < 200 && state.load(std::memory_order_acquire) == now;
                     ++spin) {
#ifdef __SSE2__
                    _mm_pause();
#endif
                }
                if (state.load(std::memory_order_acquire) != now) continue;
                waiting.store(true, std::memory_order_seq_cst);
                if (state.load(std::memory_order_seq_cst) == now) state.wait(now);
                waiting.store(false, std::memory_order_relaxed);
                continue;
            }
            const Item& item = list.items[i];
            for (int b = item.y0 / kBandRows; b <= (item.y1 - 1) / kBandRows; ++b) {
                const int top = b * kBandRows;
                BandPainter band(*scratch, target.width, top,
                                 std::min(kBandRows, target.height - top), target.bits, target.bpl,
                                 target.wide);
                band.paintItem(list, item);
            }
            ++i;
        }
        // Stopped before any item: the bands clear the image as they paint (finishPainting).
        cleared = !target.clear;
        reached.store(i, std::memory_order_release);
        reached.notify_all();
        bandsReady.wait(false, std::memory_order_acquire);
        workBands(list, plan, target, *scratch);
    }
};

RasterLayer::RasterLayer(int threads) : threads_(threadCount(threads)), wide_(haveWide()) {
    while (int(bandScratch_.size()) < std::max(threads_, 2))
        bandScratch_.push_back(std::make_unique<Scratch>());
}

RasterLayer::~RasterLayer() {
    finishPainting();
}

void RasterLayer::setWidePath(bool on) {
    wide_ = on && haveWide();
}

WorkerPool& RasterLayer::pool() {
    if (!pool_) pool_ = std::make_unique<WorkerPool>(threads_ - 1);
    return *pool_;
}

void RasterLayer::begin(const ModelRect& modelRect, int width, int height) {
    finishPainting();
    lastPoints_ = std::max(lastPoints_ * 3 / 4, points_.size());
    lastRings_ = std::max(lastRings_ * 3 / 4, ringEnd_.size());
    lastItems_ = std::max(lastItems_ * 3 / 4, items_.size());
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    const double sx = modelRect.width != 0 ? width_ / modelRect.width : 1;
    const double sy = modelRect.height != 0 ? height_ / modelRect.height : 1;
    sx_ = float(sx);
    sy_ = float(-sy);
    tx_ = float(-modelRect.x * sx);
    ty_ = float((modelRect.y + modelRect.height) * sy);
    path_.clear();
    subpaths_.clear();
    points_.clear();
    ringEnd_.clear();
    items_.clear();
    pending_ = {};
    lineWidth_ = 1;
    setColor(0, 0, 0, 1);
}

void RasterLayer::removeAllPoints() {
    path_.clear();
    subpaths_.clear();
}

void RasterLayer::startSubpath(Vec p) {
    subpaths_.push_back({uint32_t(path_.size()), 1, false});
    path_.push_back(p);
}

void RasterLayer::addPoint(Vec p) {
    if (subpaths_.empty()) {
        startSubpath(p);
    } else if (subpaths_.back().closed) {
        // A line after a closed subpath starts a new one at the closed one's first point.
        startSubpath(path_[subpaths_.back().first]);
    }
    path_.push_back(p);
    ++subpaths_.back().count;
}

void RasterLayer::moveTo(float x, float y) {
    if (!finite(x, y)) return;
    startSubpath(toDevice(x, y));
}

void RasterLayer::lineTo(float x, float y) {
    if (!finite(x, y)) return;
    addPoint(toDevice(x, y));
}

void RasterLayer::arc(float cx, float cy, float radius, float startDeg, float endDeg) {
    if (!finite(cx, cy) || !finite(radius, startDeg) || !std::isfinite(endDeg)) return;
    double sweep = 0;
    if (startDeg != endDeg) {
        sweep = std::fmod(double(endDeg) - startDeg, 360.0);
        if (sweep <= 0) sweep += 360;
    }
    const double a0 = double(startDeg) * std::numbers::pi / 180;
    const double pixels = std::fabs(radius) * std::max(std::fabs(sx_), std::fabs(sy_));
    const double step = pixels > kTolerance ? 2 * std::acos(1 - kTolerance / pixels) : 1.0;
    const int n = std::clamp(int(std::ceil(sweep * std::numbers::pi / 180 / step)), 1, 4096);
    auto at = [&](double a) {
        return toDevice(float(cx + radius * std::cos(a)), float(cy + radius * std::sin(a)));
    };
    const Vec start = at(a0);
    if (subpaths_.empty() || subpaths_.back().closed) {
        startSubpath(start);
    } else {
        addPoint(start);
    }
    if (sweep == 0) return;
    for (int i = 1; i <= n; ++i) addPoint(at(a0 + sweep * std::numbers::pi / 180 * i / n));
}

void RasterLayer::closePath() {
    if (!subpaths_.empty()) subpaths_.back().closed = true;
}

void RasterLayer::flattenEllipse(float cx, float cy, float rx, float ry) {
    const Vec c = toDevice(cx, cy);
    const float px = std::fabs(rx * sx_), py = std::fabs(ry * sy_);
    const float r = std::max(px, py);
    if (!(r > 0)) return;
    const double step = r > kTolerance ? 2 * std::acos(1 - double(kTolerance) / r) : 1.0;
    const size_t n = size_t(std::clamp(int(std::ceil(2 * std::numbers::pi / step)), 8, 4096));
    if (circle_.size() != n) {
        circle_.resize(n);
        for (size_t i = 0; i < n; ++i) {
            const double a = 2 * std::numbers::pi * double(i) / double(n);
            circle_[i] = {float(std::cos(a)), float(std::sin(a))};
        }
    }
    startSubpath({c.x + px, c.y});
    for (size_t i = 1; i < n; ++i) addPoint({c.x + px * circle_[i].x, c.y - py * circle_[i].y});
    subpaths_.back().closed = true;
    subpaths_.back().flat = true;
}

void RasterLayer::ovalPath(float x, float y, float w, float h) {
    removeAllPoints();
    if (!finite(x, y) || !finite(w, h)) return;
    flattenEllipse(x + w / 2, y + h / 2, std::fabs(w / 2), std::fabs(h / 2));
}

void RasterLayer::rectPath(float x, float y, float w, float h) {
    removeAllPoints();
    if (!finite(x, y) || !finite(w, h)) return;
    startSubpath(toDevice(x, y));
    addPoint(toDevice(x + w, y));
    addPoint(toDevice(x + w, y + h));
    addPoint(toDevice(x, y + h));
    subpaths_.back().closed = true;
    subpaths_.back().flat = true;
}

void RasterLayer::setLineWidth(float width) {
    lineWidth_ = width > 0 ? width : 0;
}

void RasterLayer::setColor(float r, float g, float b, float alpha) {
    r_ = unit(r), g_ = unit(g), b_ = unit(b), alpha_ = unit(alpha);
    auto byte = [](float v) { return uint32_t(v * 255 + 0.5f); };
    color_ =
        byte(alpha_) << 24 | byte(r_ * alpha_) << 16 | byte(g_ * alpha_) << 8 | byte(b_ * alpha_);
}

void RasterLayer::makeRoom(size_t points, size_t rings, size_t items) {
    if (following_ && (points_.size() + points > points_.capacity() ||
                       ringEnd_.size() + rings > ringEnd_.capacity() ||
                       items_.size() + items > items_.capacity()))
        stopFollowing();
}

namespace {

// The bounds of p[0..n) joined to b (points that are not numbers count for nothing).
void extend(RasterLayer::Vec const* p, uint32_t n, float& x0, float& y0, float& x1, float& y1) {
    for (uint32_t i = 0; i < n; ++i) {
        const RasterLayer::Vec q = p[i];
        x0 = std::min(x0, q.x), x1 = std::max(x1, q.x);
        y0 = std::min(y0, q.y), y1 = std::max(y1, q.y);
    }
}

}  // namespace

void RasterLayer::addRing(const Vec* p, uint32_t n) {
    if (n < 3) return;
    makeRoom(n, 1, 0);
    Bounds b;
    extend(p, n, b.x0, b.y0, b.x1, b.y1);
    if (b.x0 < -kFillGuard || b.y0 < -kFillGuard || b.x1 > width_ + kFillGuard ||
        b.y1 > height_ + kFillGuard) {
        addClippedRing(p, n);
        return;
    }
    points_.insert(points_.end(), p, p + n);
    ringEnd_.push_back(uint32_t(points_.size()));
    pending_.x0 = std::min(pending_.x0, b.x0), pending_.x1 = std::max(pending_.x1, b.x1);
    pending_.y0 = std::min(pending_.y0, b.y0), pending_.y1 = std::max(pending_.y1, b.y1);
}

// Sutherland–Hodgman against a box just larger than the image, in double: inside the box every
// point keeps its winding number.
void RasterLayer::addClippedRing(const Vec* p, uint32_t n) {
    const double bounds[4] = {-2.0, -2.0, width_ + 2.0, height_ + 2.0};
    clipA_.assign(p, p + n);
    for (int side = 0; side < 4; ++side) {
        clipB_.clear();
        const size_t m = clipA_.size();
        if (m == 0) break;
        auto inside = [&](Vec q) {
            switch (side) {
                case 0:
                    return q.x >= bounds[0];
                case 1:
                    return q.y >= bounds[1];
                case 2:
                    return q.x <= bounds[2];
                default:
                    return q.y <= bounds[3];
            }
        };
        auto cut = [&](Vec a, Vec b) {
            const bool vertical = side == 0 || side == 2;
            const double edge = bounds[side];
            const double t =
                vertical ? (edge - a.x) / (double(b.x) - a.x) : (edge - a.y) / (double(b.y) - a.y);
            return vertical ? Vec{float(edge), float(a.y + t * (double(b.y) - a.y))}
                            : Vec{float(a.x + t * (double(b.x) - a.x)), float(edge)};
        };
        Vec prev = clipA_[m - 1];
        bool prevIn = inside(prev);
        for (size_t i = 0; i < m; ++i) {
            const Vec cur = clipA_[i];
            const bool curIn = inside(cur);
            if (curIn != prevIn) clipB_.push_back(cut(prev, cur));
            if (curIn) clipB_.push_back(cur);
            prev = cur, prevIn = curIn;
        }
        std::swap(clipA_, clipB_);
    }
    if (clipA_.size() < 3) return;
    makeRoom(clipA_.size(), 1, 0);
    points_.insert(points_.end(), clipA_.begin(), clipA_.end());
    ringEnd_.push_back(uint32_t(points_.size()));
    extend(clipA_.data(), uint32_t(clipA_.size()), pending_.x0, pending_.y0, pending_.x1,
           pending_.y1);
}

void RasterLayer::finishItem(uint32_t firstRing) {
    const uint32_t rings = uint32_t(ringEnd_.size()) - firstRing;
    if (rings == 0) return;
    const uint32_t from = firstRing == 0 ? 0 : ringEnd_[firstRing - 1];
    const float x0 = pending_.x0, y0 = pending_.y0, x1 = pending_.x1, y1 = pending_.y1;
    pending_ = {};
    Item item;
    item.firstRing = firstRing;
    item.ringCount = rings;
    item.firstPoint = from;
    item.color = color_;
    item.x0 = int(std::max(0.0f, std::floor(x0)));
    item.y0 = int(std::max(0.0f, std::floor(y0)));
    item.x1 = int(std::min(float(width_), std::ceil(x1) + 1));
    item.y1 = int(std::min(float(height_), std::ceil(y1) + 1));
    if (item.x0 >= item.x1 || item.y0 >= item.y1) {
        // Wholly outside the image: taken back.
        points_.resize(from);
        ringEnd_.resize(firstRing);
        return;
    }
    makeRoom(0, 0, 1);
    items_.push_back(item);
    if (following_) follower_->publish(uint32_t(items_.size()));
}

void RasterLayer::fill() {
    if ((color_ >> 24) == 0) return;  // paints nothing
    const uint32_t firstRing = uint32_t(ringEnd_.size());
    for (const Subpath& s : subpaths_) {
        if (s.count < 3) continue;
        if (s.flat) {
            addRing(path_.data() + s.first, s.count);
            continue;
        }
        if (!thinLines_) {
            addRing(path_.data() + s.first, s.count);
            continue;
        }
        simplify(path_.data() + s.first, s.count, kThinning, thin_, keep_);
        addRing(thin_.data(), uint32_t(thin_.size()));
    }
    finishItem(firstRing);
}

void RasterLayer::stroke() {
    if ((color_ >> 24) == 0 || subpaths_.empty()) return;
    // A width of 0 is the thinnest line the device shows: one pixel.
    const float scale = std::sqrt(std::fabs(sx_ * sy_));
    const float hw = lineWidth_ > 0 ? lineWidth_ * scale / 2 : 0.5f;
    if (!(hw > 0) || !std::isfinite(hw)) return;
    const uint32_t firstRing = uint32_t(ringEnd_.size());
    for (const Subpath& s : subpaths_)
        strokeOutline(path_.data() + s.first, s.count, s.closed, s.flat, hw);
    finishItem(firstRing);
}

// Drops repeated points, clips the line to the image widened by the longest miter, and strokes
// what is left.
void RasterLayer::strokeOutline(const Vec* p, uint32_t n, bool closed, bool flat, float hw) {
    piece_.clear();
    for (uint32_t i = 0; i < n; ++i) {
        if (piece_.empty() || piece_.back().x != p[i].x || piece_.back().y != p[i].y)
            piece_.push_back(p[i]);
    }
    // A line that comes back to its start is joined there, as if closed.
    if (piece_.size() > 2 && piece_.front().x == piece_.back().x &&
        piece_.front().y == piece_.back().y) {
        piece_.pop_back();
        closed = true;
    }
    if (piece_.size() < 2) return;
    if (piece_.size() == 2) closed = false;
    if (!flat && thinLines_) {
        simplify(piece_.data(), uint32_t(piece_.size()), kThinning, thin_, keep_);
        piece_.swap(thin_);
    }
    const float margin = kMiterLimit * hw + 4;
    const Box box{-margin, -margin, width_ + margin, height_ + margin};
    bool inside = true;
    for (const Vec& q : piece_) inside = inside && box.contains(q);
    if (inside) {
        strokePiece(piece_.data(), uint32_t(piece_.size()), closed, hw);
        return;
    }
    // The parts inside the box, each stroked as an open line; their cut ends lie outside the
    // image, where the missing joins would not show.
    std::vector<Vec> all;
    all.swap(piece_);
    const size_t m = all.size();
    const size_t segments = closed ? m : m - 1;
    std::vector<Vec> run;
    for (size_t i = 0; i < segments; ++i) {
        Vec a, b;
        if (!clipSegment(all[i], all[(i + 1) % m], box, a, b)) {
            if (run.size() >= 2) strokePiece(run.data(), uint32_t(run.size()), false, hw);
            run.clear();
            continue;
        }
        if (!run.empty() && (run.back().x != a.x || run.back().y != a.y)) {
            if (run.size() >= 2) strokePiece(run.data(), uint32_t(run.size()), false, hw);
            run.clear();
        }
        if (run.empty()) run.push_back(a);
        if (b.x != run.back().x || b.y != run.back().y) run.push_back(b);
    }
    if (run.size() >= 2) strokePiece(run.data(), uint32_t(run.size()), false, hw);
    all.swap(piece_);
}

void RasterLayer::strokePiece(const Vec* p, uint32_t n, bool closed, float hw) {
    scratch_.clear();
    strokeSide(p, n, closed, hw, scratch_);
    if (closed) {
        addRing(scratch_.data(), uint32_t(scratch_.size()));
        scratch_.clear();
    }
    // The other side is the left side of the line run backwards.
    clipB_.assign(p, p + n);
    std::reverse(clipB_.begin(), clipB_.end());
    strokeSide(clipB_.data(), n, closed, hw, scratch_);
    addRing(scratch_.data(), uint32_t(scratch_.size()));
}

bool RasterLayer::contains(float x, float y) const {
    if (!finite(x, y)) return false;
    const Vec q = toDevice(x, y);
    int winding = 0;
    for (const Subpath& s : subpaths_) {
        if (s.count >= 3) winding += windingNumber(path_.data() + s.first, s.count, q.x, q.y);
    }
    return winding != 0;
}

DrawLayer::TextSize RasterLayer::measureText(const std::string&, float) const {
    return {};
}

void RasterLayer::drawText(const std::string&, float, float, float) {}

bool RasterLayer::fits(const RasterPixels& image) const {
    return image.bits && image.width == width_ && image.height == height_ && width_ > 0 &&
           height_ > 0 && image.stride >= ptrdiff_t(width_) * ptrdiff_t(sizeof(uint32_t));
}

void RasterLayer::paint(const RasterPixels& image, bool clear) {
    if (!fits(image) || follower_) return;
    const ListView list{items_.data(), ringEnd_.data(), points_.data()};
    const bool covered = !items_.empty() && coversImage(list, items_[0], width_, height_);
    const Target target{image.bits, image.stride, width_, height_, clear && !covered, wide_};
    BandPlan plan;
    plan.build(list, 0, uint32_t(items_.size()), height_);
    const int threads = std::min(threads_, plan.bands);
    WorkerPool* helpers = threads > 1 ? &pool() : nullptr;
    for (int t = 1; t < threads; ++t)
        helpers->post([&, t] { workBands(list, plan, target, *bandScratch_[t]); });
    workBands(list, plan, target, *bandScratch_[0]);
    if (helpers) helpers->wait();
}

void RasterLayer::startPainting(const RasterPixels& image, bool clear) {
    finishPainting();
    if (!fits(image) || threads_ < 2) return;
    // Room for a list a good deal longer than the last one, so that nothing moves while the
    // follower reads; should it not do, the follower stops early (stopFollowing).
    points_.reserve(std::max(points_.capacity(), lastPoints_ + lastPoints_ / 2 + 4096));
    ringEnd_.reserve(std::max(ringEnd_.capacity(), lastRings_ + lastRings_ / 2 + 1024));
    items_.reserve(std::max(items_.capacity(), lastItems_ + lastItems_ / 2 + 1024));
    follower_ = std::make_unique<Follower>();
    Follower& f = *follower_;
    f.list = {items_.data(), ringEnd_.data(), points_.data()};
    f.target = {image.bits, image.stride, width_, height_, clear, wide_};
    f.threads = threads_;
    f.scratch = bandScratch_[0].get();
    f.publish(uint32_t(items_.size()));
    following_ = true;
    pool().post([&f] { f.run(); });
}

void RasterLayer::stopFollowing() {
    if (!following_) return;
    following_ = false;
    Follower& f = *follower_;
    f.publish(uint32_t(items_.size()) | Follower::kStop);
    f.reached.wait(-1, std::memory_order_acquire);
}

void RasterLayer::finishPainting() {
    if (!follower_) return;
    stopFollowing();
    Follower& f = *follower_;
    // Everything from where the follower stopped is painted band by band; the arrays may have
    // moved since it stopped.
    f.list = {items_.data(), ringEnd_.data(), points_.data()};
    f.target.clear = !f.cleared;
    f.plan.build(f.list, uint32_t(f.reached.load()), uint32_t(items_.size()), height_);
    f.bandsReady.store(true, std::memory_order_release);
    f.bandsReady.notify_all();
    // The follower takes one worker; the others join in.
    for (int t = 2; t < std::min(f.threads, f.plan.bands); ++t)
        pool().post([&f, this, t] { workBands(f.list, f.plan, f.target, *bandScratch_[t]); });
    workBands(f.list, f.plan, f.target, *bandScratch_[1]);
    pool().wait();
    follower_.reset();
}
