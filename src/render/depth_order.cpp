#include "render/depth_order.h"

#include <algorithm>
#include <cassert>
#include <cfloat>
#include <cmath>
#include <utility>

#include "geometry/kernel.h"
#include "render/model.h"

namespace {

constexpr int kListCapacity = 3 * kCapacity;

// One entry being sorted: its depth, computed once per sort, and its reference.
struct Keyed {
    double depth;
    void* record;
};

// Pending ranges of the sort. The left part of a partition is finished before the right part
// starts, so the stack never holds more than one range per partition level; the ranges it holds
// are disjoint and at least two entries long.
struct Range {
    int lo, hi;
};

}  // namespace

// The sort's working space, kept by the picture from one sort to the next.
struct DepthScratch {
    std::array<Keyed, kListCapacity> keyed;
    std::array<Range, kListCapacity / 2 + 2> pending;
};

namespace {

// The depth component of pointMatrix · p. Depths that are not finite numbers (only possible with
// a broken view matrix) are pinned to the far end, so that every comparison of the sort has an
// answer and its loops end.
double depthOf(const Settings& s, const Point& p) {
    const Matrix& m = s.pointMatrix;
    double d;
    if (s.project3D2D >= 3 && s.project3D2D <= 5) {
        d = s.gen != 0 ? m.m00 * p.x + m.m01 * p.y + m.m02 * p.z
                       : m.m10 * p.x + m.m11 * p.y + m.m12 * p.z;
    } else {
        d = m.m20 * p.x + m.m21 * p.y + m.m22 * p.z;
    }
    if (std::isnan(d)) return -DBL_MAX;
    return std::fmax(-DBL_MAX, std::fmin(DBL_MAX, d));
}

// Step 1 of the sort, for exactly two entries.
void sortPair(Keyed* e, int lo, int hi) {
    if (e[lo].depth - e[hi].depth > h) std::swap(e[lo], e[hi]);
}

// True when no two depths of lo … hi differ by more than h. Floating-point subtraction is
// monotone, so max − min ≤ h bounds every pairwise difference the sort could form.
bool allTied(const Keyed* e, int lo, int hi) {
    double lowest = e[lo].depth, highest = e[lo].depth;
    for (int i = lo + 1; i <= hi; ++i) {
        lowest = std::fmin(lowest, e[i].depth);
        highest = std::fmax(highest, e[i].depth);
        if (highest - lowest > h) return false;
    }
    return true;
}

// Ascending depth, ties within h placed by the visiting order of the partition below.
//
// sort(lo, hi):
//   hi − lo = 1: swap when depth(lo) − depth(hi) > h.
//   otherwise while lo < hi: swap the middle entry to hi as pivot (depth k); raise i from lo while
//   depth(i) − k ≤ h, lower j from hi while k − depth(j) ≤ h, each stopping where they meet,
//   swapping the pair and resuming; put the pivot where they met (p); sort(lo, p − 1); then go
//   on with lo = p + 1 (finishing a last pair by the first rule).
//
// The recursion is replaced by a stack of ranges still to be sorted, popped in the order the
// recursion would reach them: the left part first, then the rest of the loop, which is exactly
// sort(p + 1, hi). Equal depths make the left part almost the whole range, so the recursion
// depth would reach the list length.
//
// A range whose depths are all tied is finished without partitioning: each partition of such a
// range moves the middle entry to the end, puts the pivot back where it is and leaves the front
// to the next level, so the outcome is that sequence of swaps, in linear rather than quadratic
// time (the Euclidean plane under projections 0..2 has every depth equal).
void sortKeyed(DepthScratch& x, Keyed* e, int lo, int hi) {
    auto& pending = x.pending;
    int top = 0;
    pending[top++] = {lo, hi};
    while (top > 0) {
        Range r = pending[--top];
        lo = r.lo;
        hi = r.hi;
        if (hi - lo == 1) {
            sortPair(e, lo, hi);
            continue;
        }
        if (lo >= hi) continue;
        if (allTied(e, lo, hi)) {
            for (int end = hi; end - lo >= 2; --end) std::swap(e[(lo + end) / 2], e[end]);
            continue;
        }
        int m = (lo + hi) / 2;
        std::swap(e[m], e[hi]);
        double k = e[hi].depth;
        int i = lo, j = hi;
        for (;;) {
            while (i < j && e[i].depth - k <= h) ++i;
            if (i == j) break;
            while (j > i && k - e[j].depth <= h) --j;
            if (j == i) break;
            std::swap(e[i], e[j]);
        }
        int p = i;
        std::swap(e[p], e[hi]);
        // Pushed first, popped last: the rest of the loop, then the left part.
        if (hi - (p + 1) >= 1) {
            assert(top < static_cast<int>(pending.size()));
            pending[top++] = {p + 1, hi};
        }
        if (p - 1 - lo >= 1) {
            assert(top < static_cast<int>(pending.size()));
            pending[top++] = {lo, p - 1};
        }
    }
}

template <class Record, std::size_t N, class Depth>
void sortList(DepthScratch& x, std::array<Record*, N>& list, int count, int lo, int hi,
              Depth depth) {
    count = std::min(count, static_cast<int>(N));
    if (lo < 0) lo = 0;
    if (hi > count - 1) hi = count - 1;
    if (hi - lo < 1) return;
    for (int i = lo; i <= hi; ++i) x.keyed[i] = {depth(*list[i]), list[i]};
    sortKeyed(x, x.keyed.data(), lo, hi);
    for (int i = lo; i <= hi; ++i) list[i] = static_cast<Record*>(x.keyed[i].record);
}

template <class Record, std::size_t N>
void append(std::array<Record*, N>& list, int& count, SortedTable<Record>& table) {
    for (int i = 0; i < table.count && count < static_cast<int>(N); ++i) {
        list[count++] = &table.at(i);
    }
}

}  // namespace

// A record without its centre (not built for want of room) sorts to the far end.
double depthTri(const Settings& s, const TriModule& record) {
    return record.VEF ? depthOf(s, record.VEF->triPoint) : -DBL_MAX;
}

double depthPoly(const Settings& s, const PolyModule& record) {
    return record.centre ? depthOf(s, record.centre->triPoint) : -DBL_MAX;
}

double depthQuad(const Settings& s, const QuadModule& record) {
    return depthOf(s, record.key);
}

void sortTri(Model& m, int lo, int hi) {
    auto depth = [&s = m.settings](const TriModule& r) { return depthTri(s, r); };
    sortList(m.depthScratch.get(), m.drawLists.tri, m.drawLists.triCount, lo, hi, depth);
}

void sortPoly(Model& m, int lo, int hi) {
    auto depth = [&s = m.settings](const PolyModule& r) { return depthPoly(s, r); };
    sortList(m.depthScratch.get(), m.drawLists.poly, m.drawLists.polyCount, lo, hi, depth);
}

void sortQuad(Model& m, int lo, int hi) {
    auto depth = [&s = m.settings](const QuadModule& r) { return depthQuad(s, r); };
    sortList(m.depthScratch.get(), m.drawLists.quad, m.drawLists.quadCount, lo, hi, depth);
}

void setOrder(Model& model) {
    const DrawLists& d = model.drawLists;
    sortTri(model, 0, d.triCount - 1);
    sortPoly(model, 0, d.polyCount - 1);
    sortQuad(model, 0, d.quadCount - 1);
}

void setShape(Model& model) {
    DrawLists& d = model.drawLists;
    ModuleTables& m = model.moduleTables;
    d.triCount = d.polyCount = d.quadCount = 0;
    append(d.tri, d.triCount, m.triModule);
    append(d.poly, d.polyCount, m.polyModuleV);
    append(d.poly, d.polyCount, m.polyModuleE);
    append(d.poly, d.polyCount, m.polyModuleF);
    if (model.settings.snubForm) {
        // The snub's triangles stand over the odd triangles, its mirror image's over the even.
        SortedTable<PolyModule>& snub = m.snubModule;
        for (int i = 0; i < snub.count && d.polyCount < static_cast<int>(d.poly.size()); ++i) {
            PolyModule& r = snub.at(i);
            if ((r.centre->matrix.sign > 0) == model.settings.snubMirror)
                d.poly[d.polyCount++] = &r;
        }
    }
    append(d.quad, d.quadCount, m.quadModuleV);
    append(d.quad, d.quadCount, m.quadModuleE);
    append(d.quad, d.quadCount, m.quadModuleF);
    setOrder(model);
}
