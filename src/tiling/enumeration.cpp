#include "tiling/enumeration.h"

// Sections: searching and inserting; the step of the fill; the threshold search that lets
// setGroup run only the last pass from scratch; one pass; setGroup.

#include <cassert>
#include <cmath>
#include <cstring>

#include "geometry/kernel.h"
#include "geometry/random.h"
#include "tiling/point_grid.h"
#include "tiling/search.h"
#include "tiling/tiling.h"

// ---------------------------------------------------------------------------------------------
// Searching and inserting

namespace {

// A point of the plane that a matrix moves (x, y) to, standing for the whole matrix in grids.
constexpr double kProbeX = 0.1234, kProbeY = 0.3571;
double probeX(const Matrix& M) {
    return M.m00 * kProbeX + M.m01 * kProbeY + M.m02;
}
double probeY(const Matrix& M) {
    return M.m10 * kProbeX + M.m11 * kProbeY + M.m12;
}

int lookupMatrix(const SortedTable<Matrix>& table, const Matrix& M) {
    return splitSearch(table.count, [&](int i) { return compareM(table.at(i), M); });
}

}  // namespace

int indexMatrix(const SortedTable<Matrix>& table, const Matrix& M, int lo, int hi) {
    return tolerantSearch(lo, hi, [&](int i) { return compareM(table.at(i), M); });
}

int indexDataModule(const DataTable& table, const Point& p, int lo, int hi) {
    return tolerantSearch(lo, hi, [&](int i) { return compareP(table.at(i).triPoint, p); });
}

namespace {

// drawColours: whether the record is born with random colours; only the passes whose tables are
// kept draw them.
int insertData(DataTable& table, const Matrix& M, const Point& triPoint, const Point& polyPoint,
               int position, bool drawColours) {
    DataModule record;
    if (drawColours) {
        ranColor(&record.triColor);
        ranColor(&record.polyColor);
    }
    record.triPoint = triPoint;
    record.polyPoint = polyPoint;
    record.matrix = M;
    return insertSorted(table, record, position);
}

// The seven data tables with the fixed point (the key) and the paired poly point of each.
struct DataSource {
    DataTable* table;
    const Point* triPoint;
    const Point* polyPoint;
};

std::array<DataSource, 7> dataSources(Tiling& tiling) {
    const TriangleGroup& g = tiling.triangleGroup;
    const SpecialPoints& s = tiling.specialPoints;
    GroupTables& t = tiling.groupTables;
    return {{{&t.dataV, &g.triV, &g.triV},
             {&t.dataE, &g.triE, &g.triE},
             {&t.dataF, &g.triF, &g.triF},
             {&t.dataEF, &s.triEF, &s.polyEF},
             {&t.dataFV, &s.triFV, &s.polyFV},
             {&t.dataVE, &s.triVE, &s.polyVE},
             {&t.dataVEF, &s.triVEF, &s.polyVEF}}};
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// The step of the fill

namespace {

enum class KeyKind { sphere, hyperbolic, plane, planeX };

struct Variant {
    KeyKind kind;
    bool band;  // limited to |Y| < π·spiralAngle
};

Variant currentVariant(const Settings& settings) {
    const bool band = settings.project3D2D > 2;
    if (settings.gen < 0) return {KeyKind::sphere, band};
    if (settings.gen > 0) return {KeyKind::hyperbolic, band};
    return {band ? KeyKind::planeX : KeyKind::plane, band};
}

struct Evaluation {
    Matrix M;       // the candidate element, rounded
    double key;     // of its triangle under the view
    Point V, E, F;  // its corners under the view
};

Evaluation evaluate(const Tiling& t, const Variant& v, const BMatrix& B) {
    const TriangleGroup& g = t.triangleGroup;
    Evaluation e;
    smallM(e.M, B);
    const Matrix Q = dotM(t.settings.pointMatrix, e.M);
    const Point& V = e.V = dotP(Q, g.triV);
    const Point& E = e.E = dotP(Q, g.triE);
    const Point& F = e.F = dotP(Q, g.triF);
    switch (v.kind) {
        case KeyKind::sphere:
            e.key = maxDouble(maxDouble(V.z, E.z), F.z);
            break;
        case KeyKind::hyperbolic:
            e.key = minDouble(minDouble(V.z, E.z), F.z);
            break;
        case KeyKind::plane:
            e.key = minDouble(minDouble(norm2(V), norm2(E)), norm2(F));
            break;
        case KeyKind::planeX:
            e.key = minDouble(minDouble(normX(V), normX(E)), normX(F));
            break;
    }
    return e;
}

bool accepts(const Variant& v, double key, double normMax) {
    const double t = (normMax + 1) * h;
    return v.kind == KeyKind::sphere ? key > normMax - t : key < normMax + t;
}

// Whether key beats the reference by more than the tolerance: larger on the sphere, smaller
// elsewhere.
bool beats(const Variant& v, double key, double reference) {
    const double t = h * (1 + reference);
    return v.kind == KeyKind::sphere ? key - reference > t : reference - key > t;
}

void recordRejection(GroupTables& t, const Variant& v, double key) {
    if (t.normMax == t.normMin || beats(v, key, t.normMin)) t.normMin = key;
}

bool inBand(const Settings& settings, const Variant& v, const Evaluation& e) {
    if (!v.band) return true;
    const double w = minDouble(minDouble(normY(settings.gen, e.V), normY(settings.gen, e.E)),
                               normY(settings.gen, e.F));
    const double band = PI * settings.spiralAngle;
    return std::sqrt(w) - band < (band + 1) * h;
}

const BMatrix& reflection(const TriangleGroup& g, int k) {
    return k == 0 ? g.bReflectEF : k == 1 ? g.bReflectFV : g.bReflectVE;
}

// ---------------------------------------------------------------------------------------------
// The threshold search
//
// Pass i of the fill accepts the connected set S_i of triangles whose key is within T_i, and
// T_{i+1} is the best key among the neighbours of S_i outside it. Since T only loosens, S_i grows:
// S_{i+1} is S_i together with everything reachable from its rejected neighbours within T_{i+1}.
// Keeping those rejected neighbours in a heap ordered by key, each pass costs only what it adds,
// and the thresholds and counts come out as the passes from scratch give them; setGroup then runs
// the last pass from scratch, so the tables (their records, their order, which element owns a
// point) are exactly those of the straightforward passes.
//
// The one place where a pass's visiting order matters is its threshold when two rejected keys
// differ by less than the tolerance without being the same value: the first one met wins. When
// that happens the pass is run from scratch to read its threshold.

// One pass at the current thresholds (colours: whether the data records get random colours).
void runPass(Tiling& t, EnumerationScratch& x, bool colours);

class ThresholdSearch {
  public:
    enum class Outcome { ok, nonFinite };

    // Runs the passes; on ok, lastThreshold() is the threshold of the last pass.
    Outcome run(Tiling& t, EnumerationScratch& x, const Variant& v) {
        t_ = &t;
        x_ = &x;
        v_ = v;
        const bool sphere = v_.kind == KeyKind::sphere;
        const int wanted = t.settings.groupOrder;
        const int finite = t.settings.groupOrderMax;
        double T = sphere || v_.kind == KeyKind::hyperbolic ? 1 : 0;
        groupCount_ = 0;
        grid_.clear();
        store(identity);
        heapSize_ = 0;
        slotCount_ = 0;
        hasPrevious_ = false;
        full_ = false;
        nonFinite_ = false;
        for (int k = 0; k < 3; ++k) consider(k, reflection(t.triangleGroup, k), T);
        for (;;) {
            // This pass: everything rejected so far that T now accepts, and what it reaches.
            while (heapSize_ > 0 && !full_ && accepts(v_, heap_[0].key, T)) {
                const Entry entry = heap_[0];
                popHeap();
                admit(pending_[entry.slot].k, pending_[entry.slot].B, T);
            }
            drain(T);
            if (nonFinite_) return Outcome::nonFinite;
            // A pass can add nothing while the threshold still moves: under the band-limited
            // projections the next ring may lie wholly outside the band, and the ring after it
            // not. The passes end only when nothing is left to loosen the threshold towards.
            const int count = groupCount_;
            bool more = count < wanted && heapSize_ > 0 && !full_;
            if (sphere) more = more && count < finite;
            if (!more) break;
            previous_ = T;
            hasPrevious_ = true;
            T = nextThreshold(T);
        }
        last_ = T;
        // When the last pass rejects nothing (the whole finite group, or nothing more in the
        // band) the thresholds end at its own, which the pass before kept; it is read from that
        // pass run from scratch so that it is the same value to the last bit.
        if (heapSize_ == 0 && hasPrevious_) {
            GroupTables& g = t.groupTables;
            g.normMax = g.normMin = previous_;
            runPass(t, x, false);
            last_ = g.normMin;
        }
        return Outcome::ok;
    }

    double lastThreshold() const { return last_; }

  private:
    struct Entry {
        double key;
        int slot;
    };
    struct Pending {
        int k;
        BMatrix B;
    };
    static constexpr int kSlots = 3 * kCapacity + 8;

    // The candidate B reached across side k, tested against T.
    void consider(int k, const BMatrix& B, double T) {
        const Evaluation e = evaluate(*t_, v_, B);
        if (!std::isfinite(e.key)) {
            nonFinite_ = true;
            return;
        }
        if (!accepts(v_, e.key, T)) {
            if (slotCount_ == kSlots) {
                nonFinite_ = true;  // cannot happen with kCapacity elements; stay safe
                return;
            }
            pending_[slotCount_] = {k, B};
            pushHeap({e.key, slotCount_++});
            return;
        }
        if (!inBand(t_->settings, v_, e)) return;
        insertIfNew(k, B, e.M);
    }

    // A rejected candidate that the current threshold accepts.
    void admit(int k, const BMatrix& B, double /*T*/) {
        const Evaluation e = evaluate(*t_, v_, B);
        if (!inBand(t_->settings, v_, e)) return;
        insertIfNew(k, B, e.M);
    }

    void insertIfNew(int k, const BMatrix& B, const Matrix& M) {
        if (stored(M)) return;
        if (groupCount_ == kCapacity) {
            full_ = true;
            return;
        }
        store(M);
        flood_[floodSize_++] = {k, B};
    }

    // The elements found so far need no order here, only an answer to "is it there": whether
    // some element compares equal to M, which the grid lists all candidates for.
    bool stored(const Matrix& M) const {
        bool equal = false;
        const double tx = h * (kProbeX * (std::fabs(M.m00) + 1) + kProbeY * (std::fabs(M.m01) + 1) +
                               (std::fabs(M.m02) + 1));
        const double ty = h * (kProbeX * (std::fabs(M.m10) + 1) + kProbeY * (std::fabs(M.m11) + 1) +
                               (std::fabs(M.m12) + 1));
        const bool answered = grid_.visit(probeX(M), probeY(M), tx, ty, [&](int id) {
            equal = equal || compareM(group_[id], M) == 0;
        });
        if (answered) return equal;
        for (int id = 0; id < groupCount_; ++id) {
            if (compareM(group_[id], M) == 0) return true;
        }
        return false;
    }

    void store(const Matrix& M) {
        group_[groupCount_] = M;
        grid_.insert(groupCount_++, probeX(M), probeY(M));
    }

    void drain(double T) {
        while (floodSize_ > 0 && !full_ && !nonFinite_) {
            const Pending p = flood_[--floodSize_];
            for (int k = 0; k < 3; ++k) {
                if (k == p.k) continue;
                BMatrix child;
                dotBM(child, p.B, reflection(t_->triangleGroup, k));
                consider(k, child, T);
            }
        }
        floodSize_ = 0;
    }

    // The best rejected key, as the pass from scratch would record it.
    double nextThreshold(double T) {
        const double best = heap_[0].key;
        if (!nearTie(best)) return best;
        GroupTables& g = t_->groupTables;
        g.normMax = g.normMin = T;
        runPass(*t_, *x_, false);
        return g.normMin;
    }

    // Whether some rejected key other than best itself (beyond rounding) lies within the
    // tolerance of it, so that the order of visiting decides which one a pass keeps.
    bool nearTie(double best) const {
        const double same = 1e-9 * (1 + std::fabs(best));
        int stack[64];
        int top = 0;
        stack[top++] = 0;
        while (top > 0) {
            const int i = stack[--top];
            const double key = heap_[i].key;
            if (beats(v_, best, key)) continue;  // and so does every key below it in the heap
            if (std::fabs(key - best) > same) return true;
            for (int c = 2 * i + 1; c <= 2 * i + 2; ++c) {
                if (c < heapSize_ && top < 64)
                    stack[top++] = c;
                else if (c < heapSize_)
                    return true;  // too many ties to walk: be exact
            }
        }
        return false;
    }

    bool better(double a, double b) const { return v_.kind == KeyKind::sphere ? a > b : a < b; }
    void pushHeap(Entry e) {
        int i = heapSize_++;
        while (i > 0) {
            const int parent = (i - 1) / 2;
            if (!better(e.key, heap_[parent].key)) break;
            heap_[i] = heap_[parent];
            i = parent;
        }
        heap_[i] = e;
    }
    void popHeap() {
        const Entry last = heap_[--heapSize_];
        int i = 0;
        for (;;) {
            int c = 2 * i + 1;
            if (c >= heapSize_) break;
            if (c + 1 < heapSize_ && better(heap_[c + 1].key, heap_[c].key)) ++c;
            if (!better(heap_[c].key, last.key)) break;
            heap_[i] = heap_[c];
            i = c;
        }
        if (heapSize_ > 0) heap_[i] = last;
    }

    Tiling* t_ = nullptr;
    EnumerationScratch* x_ = nullptr;
    Variant v_{KeyKind::plane, false};
    Matrix group_[kCapacity];
    int groupCount_ = 0;
    PointGrid<kCapacity> grid_;
    Entry heap_[kSlots];
    int heapSize_ = 0;
    Pending pending_[kSlots];
    int slotCount_ = 0;
    Pending flood_[kCapacity + 8];
    int floodSize_ = 0;
    bool full_ = false;
    bool nonFinite_ = false;
    double last_ = 0;
    double previous_ = 0;  // threshold of the pass before the last
    bool hasPrevious_ = false;
};

}  // namespace

// The fill's working space, kept by the picture from one rebuild to the next: megabytes that
// never go on the stack.
struct EnumerationScratch {
    // The tri points of the data records by table (V … VEF) and pool slot: the keys the pass
    // searches thousands of times, kept together instead of spread over the records.
    Point dataKeys[7][kCapacity];
    // The fill recurses once per accepted triangle, thousands deep; an explicit stack visits in
    // the same order (children pushed in reverse, so side 0's subtree is finished before side
    // 1's).
    struct Frame {
        int k;
        BMatrix B;
    };
    Frame fillStack[2 * kCapacity + 8];
    ThresholdSearch thresholdSearch;
};

namespace {

// ---------------------------------------------------------------------------------------------
// One pass

// One pass of the fill over a picture's tables.
struct Pass {
    Tiling& t;
    EnumerationScratch& x;
    bool colours;
    bool full = false;  // the group table filled up: the pass ends at once

    // Inserts M at position and records the images of the special points in the data tables,
    // searching the pass's copy of their keys.
    void insertElement(const Matrix& M, int position) {
        insertSorted(t.groupTables.matrix, M, position);
        const std::array<DataSource, 7> sources = dataSources(t);
        for (int i = 0; i < 7; ++i) {
            DataTable& table = *sources[i].table;
            const Point triPoint = dotP(M, *sources[i].triPoint);
            const Point* keys = x.dataKeys[i];
            const int found = splitSearch(
                table.count, [&](int j) { return compareP(keys[table.order[j]], triPoint); });
            if (found >= 0) continue;
            // A data table gains at most one record per group element, so it cannot fill before
            // the group table does; the test only guards against overrunning.
            if (table.full()) continue;
            const int slot =
                insertData(table, M, triPoint, dotP(M, *sources[i].polyPoint), -found - 1, colours);
            x.dataKeys[i][slot] = triPoint;
        }
    }

    void fill(const Variant& v, int k0, const BMatrix& B0) {
        if (full) return;
        GroupTables& g = t.groupTables;
        EnumerationScratch::Frame* stack = x.fillStack;
        int top = 0;
        stack[top++] = {k0, B0};
        while (top > 0) {
            const EnumerationScratch::Frame frame = stack[--top];
            const Evaluation e = evaluate(t, v, frame.B);
            if (!accepts(v, e.key, g.normMax)) {
                recordRejection(g, v, e.key);
                continue;
            }
            if (!inBand(t.settings, v, e)) continue;
            const int found = lookupMatrix(g.matrix, e.M);
            if (found >= 0) continue;
            if (g.matrix.full()) {
                full = true;
                return;
            }
            insertElement(e.M, -found - 1);
            for (int k = 2; k >= 0; --k) {
                if (k == frame.k) continue;
                EnumerationScratch::Frame& child = stack[top++];
                child.k = k;
                dotBM(child.B, frame.B, reflection(t.triangleGroup, k));
            }
        }
    }
};

// Runs one pass; returns whether the group table filled up.
bool pass(Tiling& t, EnumerationScratch& x, bool colours) {
    Pass p{t, x, colours};
    GroupTables& g = t.groupTables;
    g.matrix.count = 0;
    insertSorted(g.matrix, identity, 0);
    const std::array<DataSource, 7> sources = dataSources(t);
    for (int i = 0; i < 7; ++i) {
        const DataSource& source = sources[i];
        const Point& q = *source.triPoint;
        source.table->count = 0;
        insertData(*source.table, identity, q, *source.polyPoint, 0, colours);
        x.dataKeys[i][0] = q;
    }
    const Variant v = currentVariant(t.settings);
    for (int k = 0; k < 3; ++k) p.fill(v, k, reflection(t.triangleGroup, k));
    return p.full;
}

void runPass(Tiling& t, EnumerationScratch& x, bool colours) {
    pass(t, x, colours);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// setGroup

namespace {

bool finiteMatrix(const Matrix& M) {
    for (double m : {M.sign, M.m00, M.m01, M.m02, M.m10, M.m11, M.m12, M.m20, M.m21, M.m22}) {
        if (!std::isfinite(m)) return false;
    }
    return true;
}

// The passes exactly as written: from scratch each time, until enough elements, the whole finite
// group, a full table, or a threshold that can no longer move (nothing rejected, or a key
// without a finite value).
void passesFromScratch(Tiling& tiling, EnumerationScratch& x) {
    GroupTables& t = tiling.groupTables;
    const Settings& settings = tiling.settings;
    const bool sphere = settings.gen < 0;
    for (;;) {
        const double threshold = t.normMax;
        const bool full = pass(tiling, x, true);
        const bool moved = t.normMin != threshold && std::isfinite(t.normMin);
        t.normMax = t.normMin;
        const int count = t.matrix.count;
        bool more = count < settings.groupOrder && moved && !full;
        if (sphere) more = more && count < settings.groupOrderMax;
        if (!more) break;
    }
}

void recentre(Settings& settings, const TriangleGroup& g) {
    Matrix& view = settings.pointMatrix;
    settings.pointMatrixInitial = view;
    const Point P = dotP(view, g.triV);
    Matrix T;
    if (settings.gen < 0 && 1 + P.z <= h) {
        // V shows at (or next to) the south pole, where the translation to O divides by z + 1 = 0:
        // turn half-way round the y axis first, then translate.
        const Matrix halfTurn{1, -1, 0, 0, 0, 1, 0, 0, 0, -1};
        Matrix rest;
        translateMInv(settings.gen, rest, dotP(halfTurn, P));
        dotM(T, rest, halfTurn);
    } else {
        translateMInv(settings.gen, T, P);
    }
    view = dotM(T, view);
}

}  // namespace

int setGroup(Tiling& tiling) {
    EnumerationScratch& x = tiling.enumerationScratch.get();
    recentre(tiling.settings, tiling.triangleGroup);
    GroupTables& t = tiling.groupTables;
    const Variant v = currentVariant(tiling.settings);
    const double start = v.kind == KeyKind::sphere || v.kind == KeyKind::hyperbolic ? 1 : 0;
    t.normMax = t.normMin = start;
    if (!finiteMatrix(tiling.settings.pointMatrix)) {
        passesFromScratch(tiling, x);
        return t.matrix.count;
    }
    if (x.thresholdSearch.run(tiling, x, v) != ThresholdSearch::Outcome::ok) {
        t.normMax = t.normMin = start;
        passesFromScratch(tiling, x);
        return t.matrix.count;
    }
    t.normMax = t.normMin = x.thresholdSearch.lastThreshold();
    runPass(tiling, x, true);
    t.normMax = t.normMin;
    return t.matrix.count;
}
