#include "tiling/modules.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>

#include "geometry/kernel.h"
#include "geometry/settings.h"
#include "geometry/triangle_group.h"
#include "tiling/enumeration.h"
#include "tiling/generating_point.h"
#include "tiling/point_grid.h"
#include "tiling/search.h"

ModuleTables moduleTables;

namespace {

// The record of the data table whose tri point equals M·point, or null.
DataModule* find(DataTable& table, const Matrix& M, const Point& point) {
    const Point image = dotP(M, point);
    const int i = table.count > 0 ? indexDataModule(table, image, 0, table.count) : -1;
    return i >= 0 ? &table.at(i) : nullptr;
}

// The sides walked round a polygon centre of each kind: the side point and reflection of the
// first side, then of the second.
struct PolySides {
    DataTable* firstTable;
    const Point* firstPoint;
    const Matrix* firstReflection;
    DataTable* secondTable;
    const Point* secondPoint;
    const Matrix* secondReflection;
};

PolySides polySides(int kind) {
    const TriangleGroup& g = triangleGroup;
    const SpecialPoints& s = specialPoints;
    GroupTables& t = groupTables;
    switch (kind) {
        case 0:
            return {&t.dataVE, &s.triVE, &g.reflectVE, &t.dataFV, &s.triFV, &g.reflectFV};
        case 1:
            return {&t.dataEF, &s.triEF, &g.reflectEF, &t.dataVE, &s.triVE, &g.reflectVE};
        default:
            return {&t.dataFV, &s.triFV, &g.reflectFV, &t.dataEF, &s.triEF, &g.reflectEF};
    }
}

DataTable& cornerTable(int kind) {
    GroupTables& t = groupTables;
    return kind == 0 ? t.dataV : kind == 1 ? t.dataE : t.dataF;
}

const Point& cornerPoint(int kind) {
    const TriangleGroup& g = triangleGroup;
    return kind == 0 ? g.triV : kind == 1 ? g.triE : g.triF;
}

int cornerOrder(int kind) {
    const int n = kind == 0 ? settings.genV : kind == 1 ? settings.genE : settings.genF;
    return std::clamp(n, 0, 12);
}

}  // namespace

bool initTri(TriModule& out, int kind, const Matrix& M) {
    if (kind != 0) return false;
    const TriangleGroup& g = triangleGroup;
    const SpecialPoints& s = specialPoints;
    GroupTables& t = groupTables;
    out.kind = 0;
    out.V = find(t.dataV, M, g.triV);
    out.E = find(t.dataE, M, g.triE);
    out.F = find(t.dataF, M, g.triF);
    out.EF = find(t.dataEF, M, s.triEF);
    out.FV = find(t.dataFV, M, s.triFV);
    out.VE = find(t.dataVE, M, s.triVE);
    out.VEF = find(t.dataVEF, M, s.triVEF);
    return out.V && out.E && out.F && out.EF && out.FV && out.VE && out.VEF;
}

namespace {

// The walk round the centre, once the centre itself is known.
void walkPoly(PolyModule& out, int kind, const Matrix& M) {
    const PolySides sides = polySides(kind);
    DataTable& centres = groupTables.dataVEF;
    const Point& incentre = specialPoints.triVEF;
    Matrix R = M;
    for (int i = 0; i < out.n; ++i) {
        out.cornerA[i] = find(centres, R, incentre);
        out.sideA[i] = find(*sides.firstTable, R, *sides.firstPoint);
        R = dotM(R, *sides.firstReflection);
        out.cornerB[i] = find(centres, R, incentre);
        out.sideB[i] = find(*sides.secondTable, R, *sides.secondPoint);
        R = dotM(R, *sides.secondReflection);
    }
}

}  // namespace

void initPoly(PolyModule& out, int kind, const Matrix& M) {
    out = PolyModule{};
    out.kind = kind;
    out.n = cornerOrder(kind);
    out.centre = find(cornerTable(kind), M, cornerPoint(kind));
    walkPoly(out, kind, M);
}

bool initQuad(QuadModule& out, int kind, const Matrix& M) {
    const SpecialPoints& s = specialPoints;
    GroupTables& t = groupTables;
    out.kind = kind;
    out.centre = find(t.dataVEF, M, s.triVEF);
    DataTable& corners = cornerTable(kind);
    const Point& corner = cornerPoint(kind);
    out.corner = find(corners, M, corner);
    switch (kind) {
        case 0:
            out.side1 = find(t.dataFV, M, s.triFV);
            out.side2 = find(t.dataVE, M, s.triVE);
            break;
        case 1:
            out.side1 = find(t.dataVE, M, s.triVE);
            out.side2 = find(t.dataEF, M, s.triEF);
            break;
        default:
            out.side1 = find(t.dataEF, M, s.triEF);
            out.side2 = find(t.dataFV, M, s.triFV);
            break;
    }
    midpoint(out.key, dotP(M, s.triVEF), dotP(M, corner));
    return out.centre && out.side1 && out.corner && out.side2;
}

int indexTriModule(const SortedTable<TriModule>& table, const TriModule& record, int lo, int hi) {
    const Point& key = record.VEF->triPoint;
    return tolerantSearch(lo, hi, [&](int i) { return compareP(table.at(i).VEF->triPoint, key); });
}

int indexPolyModule(const SortedTable<PolyModule>& table, const PolyModule& record, int lo,
                    int hi) {
    const Point& key = record.centre->triPoint;
    return tolerantSearch(lo, hi,
                          [&](int i) { return compareP(table.at(i).centre->triPoint, key); });
}

int indexQuadModule(const SortedTable<QuadModule>& table, const QuadModule& record, int lo,
                    int hi) {
    return tolerantSearch(lo, hi, [&](int i) { return compareP(table.at(i).key, record.key); });
}

void insertTriModule(SortedTable<TriModule>& table, const TriModule& record, int position) {
    insertSorted(table, record, position);
}

void insertPolyModule(SortedTable<PolyModule>& table, const PolyModule& record, int position) {
    insertSorted(table, record, position);
}

void insertQuadModule(SortedTable<QuadModule>& table, const QuadModule& record, int position) {
    insertSorted(table, record, position);
}

// ---------------------------------------------------------------------------------------------
// The table builders
//
// Each builds exactly the table that one record per group element from initTri, initPoly or
// initQuad gives, with the same searches of the data tables for the same points, but cheaper:
// an element's seven points are searched once and serve its tri record, its quad records and the
// centre of its polygons; and a grid of each data table answers most searches outright (see
// veryClose in search.h), so that the binary search runs only where the grid cannot tell.

namespace {

// One data table made ready for searching: its tri points in table order, side by side, and a
// grid of them.
struct Searchable {
    DataTable* table = nullptr;
    Point keys[kCapacity];
    PointGrid<kCapacity> grid;

    // No two records lie within 1e-3 of each other (relative to their size) in every
    // co-ordinate. Distinct points of a tiling are always much further apart; only the same point
    // stored twice, because rounding far out split it, comes this close.
    bool distinct = true;
    // Whether a search for an entry's own key finds that entry. Tolerant comparisons are not
    // transitive, and where rounding far out has left near ties a search can miss an entry equal
    // to what it looks for; a point all but identical to a findable entry (see veryClose) takes
    // the same path and finds it too.
    bool findable[kCapacity];
    int indexOfSlot[kCapacity];

    void prepare(DataTable& t) {
        table = &t;
        grid.clear();
        for (int i = 0; i < t.count; ++i) {
            keys[i] = t.at(i).triPoint;
            grid.insert(i, keys[i].x, keys[i].y);
        }
        const bool clear = inClearOrder(keys, t.count);
        for (int i = 0; i < t.count; ++i) {
            indexOfSlot[t.order[i]] = i;
            findable[i] = clear || tolerantSearch(0, t.count, [&](int j) {
                                       return compareP(keys[j], keys[i]);
                                   }) == i;
        }
        distinct = true;
        constexpr double near = 1e-3;
        for (int i = 0; i < t.count && distinct; ++i) {
            const Point& p = keys[i];
            const bool answered = grid.visit(
                p.x, p.y, (std::fabs(p.x) + 1) * near, (std::fabs(p.y) + 1) * near, [&](int j) {
                    const Point& o = keys[j];
                    if (j != i && std::fabs(o.x - p.x) <= (std::fabs(p.x) + 1) * near &&
                        std::fabs(o.y - p.y) <= (std::fabs(p.y) + 1) * near &&
                        std::fabs(o.z - p.z) <= (std::fabs(p.z) + 1) * near) {
                        distinct = false;
                    }
                });
            if (!answered) distinct = false;
        }
    }

    // The record indexDataModule over the whole table finds for image.
    DataModule* find(const Point& image) const {
        int equal = 0, at = -1;
        const bool answered = grid.visit(image.x, image.y, (std::fabs(image.x) + 1) * h,
                                         (std::fabs(image.y) + 1) * h, [&](int i) {
                                             if (compareP(keys[i], image) == 0) {
                                                 ++equal;
                                                 at = i;
                                             }
                                         });
        if (answered && equal == 0) return nullptr;
        if (answered && equal == 1 && findable[at] && veryClose(keys[at], image)) {
            return &table->at(at);
        }
        return search(image);
    }

    DataModule* search(const Point& image) const {
        const int count = table->count;
        if (count == 0) return nullptr;
        const int i =
            tolerantSearch(0, count, [&](int j) { return compareP(keys[j], image); });
        return i >= 0 ? &table->at(i) : nullptr;
    }
};

// The seven data records of a group element, in the order V, E, F, EF, FV, VE, VEF.
enum : int { kV, kE, kF, kEF, kFV, kVE, kVEF };
Searchable searchable[7];
std::array<DataModule*, 7> elementRefs[kCapacity];

std::array<const Point*, 7> triPoints() {
    const TriangleGroup& g = triangleGroup;
    const SpecialPoints& s = specialPoints;
    return {&g.triV, &g.triE, &g.triF, &s.triEF, &s.triFV, &s.triVE, &s.triVEF};
}

void prepareSearches() {
    GroupTables& t = groupTables;
    DataTable* tables[7] = {&t.dataV,  &t.dataE,  &t.dataF,  &t.dataEF,
                            &t.dataFV, &t.dataVE, &t.dataVEF};
    for (int i = 0; i < 7; ++i) searchable[i].prepare(*tables[i]);
    const std::array<const Point*, 7> points = triPoints();
    const SortedTable<Matrix>& group = t.matrix;
    for (int i = 0; i < group.count; ++i) {
        const Matrix& M = group.at(i);
        for (int k = 0; k < 7; ++k) elementRefs[i][k] = searchable[k].find(dotP(M, *points[k]));
    }
}

// The keys of the module table being built, by pool slot.
Point moduleKeys[kCapacity];

template <class Record>
void insertKeyed(SortedTable<Record>& table, const Record& record, const Point& key, int position) {
    moduleKeys[insertSorted(table, record, position)] = key;
}

template <class Record>
int searchModuleKeys(const SortedTable<Record>& table, const Point& key) {
    return tolerantSearch(0, table.count,
                          [&](int j) { return compareP(moduleKeys[table.order[j]], key); });
}

void buildTri(SortedTable<TriModule>& table, int kind) {
    table.count = 0;
    TriModule record;
    if (!initTri(record, kind, identity)) return;
    insertKeyed(table, record, record.VEF->triPoint, 0);
    const int count = groupTables.matrix.count;
    for (int i = 0; i < count && !table.full(); ++i) {
        const std::array<DataModule*, 7>& d = elementRefs[i];
        if (std::find(d.begin(), d.end(), nullptr) != d.end()) continue;
        record = {0, d[kV], d[kE], d[kF], d[kEF], d[kFV], d[kVE], d[kVEF]};
        const Point& key = record.VEF->triPoint;
        const int found = splitSearch(
            table.count, [&](int j) { return compareP(moduleKeys[table.order[j]], key); });
        if (found < 0) insertKeyed(table, record, key, -found - 1);
    }
}

// initPoly's walk from group element i, whose first position needs no search.
void walkFrom(PolyModule& record, int kind, int i) {
    const PolySides sides = polySides(kind);
    const int first = kind == 0 ? kVE : kind == 1 ? kEF : kFV;
    const int second = kind == 0 ? kFV : kind == 1 ? kVE : kEF;
    const Searchable& centres = searchable[kVEF];
    const Point& incentre = specialPoints.triVEF;
    Matrix R = groupTables.matrix.at(i);
    for (int j = 0; j < record.n; ++j) {
        if (j == 0) {
            record.cornerA[0] = elementRefs[i][kVEF];
            record.sideA[0] = elementRefs[i][first];
        } else {
            record.cornerA[j] = centres.find(dotP(R, incentre));
            record.sideA[j] = searchable[first].find(dotP(R, *sides.firstPoint));
        }
        R = dotM(R, *sides.firstReflection);
        record.cornerB[j] = centres.find(dotP(R, incentre));
        record.sideB[j] = searchable[second].find(dotP(R, *sides.secondPoint));
        R = dotM(R, *sides.secondReflection);
    }
}

// The elements round each corner record of the kind being built: members[start[c] ..
// start[c + 1]) for the corner record in pool slot c.
int memberStart[kCapacity + 1];
int members[kCapacity];

void collectMembers(int kind) {
    const DataTable& corners = *searchable[kind].table;
    const int count = groupTables.matrix.count;
    std::fill(memberStart, memberStart + corners.count + 1, 0);
    auto slotOf = [&](int i) {
        const DataModule* c = elementRefs[i][kind];
        return c ? static_cast<int>(c - corners.pool.data()) : -1;
    };
    for (int i = 0; i < count; ++i) {
        if (const int c = slotOf(i); c >= 0) ++memberStart[c + 1];
    }
    for (int c = 0; c < corners.count; ++c) memberStart[c + 1] += memberStart[c];
    static int fillAt[kCapacity];
    std::copy(memberStart, memberStart + corners.count, fillAt);
    for (int i = 0; i < count; ++i) {
        if (const int c = slotOf(i); c >= 0) members[fillAt[c]++] = i;
    }
}

// The same walk when the tables involved hold no point twice (Searchable::distinct). Then the
// triangles round the centre that were enumerated are exactly the elements whose corner record
// is the centre (its members), and every other record of a table is so far from the walk's
// points that no search could find it. So each member is placed at the position whose point its
// incentre is nearest to; a position's search finds that member's incentre if it is equal to
// the walk's point there, and nothing otherwise; a side point's search finds the record of a
// member beside it if that is equal to the walk's point, and nothing otherwise. An equal record
// that is not all but identical to the walk's point is left to the search itself (see
// veryClose). Returns false, leaving the walk to walkFrom, for a centre with too many members or
// with a member whose own incentre a search did not find again.
bool walkAmongMembers(PolyModule& record, int kind, int i) {
    const PolySides sides = polySides(kind);
    const int first = kind == 0 ? kVE : kind == 1 ? kEF : kFV;
    const int second = kind == 0 ? kFV : kind == 1 ? kVE : kEF;
    const int n = record.n;
    const int c = static_cast<int>(record.centre - searchable[kind].table->pool.data());
    const int* begin = members + memberStart[c];
    const int count = memberStart[c + 1] - memberStart[c];
    constexpr int kMaxMembers = 24;
    if (count > kMaxMembers) return false;
    for (int m = 0; m < count; ++m) {
        if (!elementRefs[begin[m]][kVEF]) return false;  // its own incentre not found again
    }
    bool placed[kMaxMembers] = {};
    int placedCount = 0;
    const Point& incentre = specialPoints.triVEF;

    // A search's answer for the walk's point q, given the one record d it could find.
    auto answer = [](DataModule* d, const Point& q, const Searchable& table) -> DataModule* {
        if (!d || compareP(d->triPoint, q) != 0) return nullptr;
        const int index = table.indexOfSlot[d - table.table->pool.data()];
        return table.findable[index] && veryClose(d->triPoint, q) ? d : table.search(q);
    };
    auto near = [](const Point& a, const Point& q) {
        constexpr double e = 1e-4;
        return std::fabs(a.x - q.x) <= (std::fabs(q.x) + 1) * e &&
               std::fabs(a.y - q.y) <= (std::fabs(q.y) + 1) * e &&
               std::fabs(a.z - q.z) <= (std::fabs(q.z) + 1) * e;
    };

    int at[24];
    Point centreAt[24], sideAt[24];  // the walk's incentre and side point at each position
    std::fill(at, at + 2 * n, -1);
    Matrix R = groupTables.matrix.at(i);
    for (int p = 0; p < 2 * n; ++p) {
        const bool even = p % 2 == 0;
        // Once every member is placed the remaining positions find nothing, except the side
        // point after the last position, which the member at position 0 may hold.
        if (placedCount < count) {
            centreAt[p] = dotP(R, incentre);
            for (int m = 0; m < count; ++m) {
                if (placed[m] || !near(elementRefs[begin[m]][kVEF]->triPoint, centreAt[p])) {
                    continue;
                }
                placed[m] = true;
                ++placedCount;
                at[p] = begin[m];
                break;
            }
        }
        if (at[p] >= 0 || placedCount < count || p == 2 * n - 1) {
            sideAt[p] = dotP(R, even ? *sides.firstPoint : *sides.secondPoint);
        }
        R = dotM(R, even ? *sides.firstReflection : *sides.secondReflection);
    }

    auto sidePoint = [&](int p, int next, int t) -> DataModule* {
        const int holder = at[p] >= 0 ? at[p] : at[next];
        return holder >= 0 ? answer(elementRefs[holder][t], sideAt[p], searchable[t]) : nullptr;
    };
    for (int j = 0; j < n; ++j) {
        const int a = 2 * j, b = 2 * j + 1, next = (2 * j + 2) % (2 * n);
        record.cornerA[j] =
            at[a] >= 0 ? answer(elementRefs[at[a]][kVEF], centreAt[a], searchable[kVEF]) : nullptr;
        record.cornerB[j] =
            at[b] >= 0 ? answer(elementRefs[at[b]][kVEF], centreAt[b], searchable[kVEF]) : nullptr;
        record.sideA[j] = sidePoint(a, b, first);
        record.sideB[j] = sidePoint(b, next, second);
    }
    return true;
}

void buildPoly(SortedTable<PolyModule>& table, int kind) {
    table.count = 0;
    PolyModule record;
    initPoly(record, kind, identity);
    if (!record.centre) return;
    insertKeyed(table, record, record.centre->triPoint, 0);
    const int first = kind == 0 ? kVE : kind == 1 ? kEF : kFV;
    const int second = kind == 0 ? kFV : kind == 1 ? kVE : kEF;
    const bool shortcut = searchable[kind].distinct && searchable[kVEF].distinct &&
                          searchable[first].distinct && searchable[second].distinct;
    if (shortcut) collectMembers(kind);
    const SortedTable<Matrix>& group = groupTables.matrix;
    for (int i = 0; i < group.count && !table.full(); ++i) {
        if (group.at(i).sign != 1) continue;  // polygons are walked from rotations only
        DataModule* centre = elementRefs[i][kind];
        if (!centre) continue;
        // The record's key is its centre: look that up first and walk only round new centres.
        const Point& key = centre->triPoint;
        const int found = searchModuleKeys(table, key);
        if (found >= 0) continue;
        record = PolyModule{};
        record.kind = kind;
        record.n = cornerOrder(kind);
        record.centre = centre;
        if (!shortcut || !walkAmongMembers(record, kind, i)) {
            record = PolyModule{};
            record.kind = kind;
            record.n = cornerOrder(kind);
            record.centre = centre;
            walkFrom(record, kind, i);
        }
        insertKeyed(table, record, key, -found - 1);
    }
}

void buildQuad(SortedTable<QuadModule>& table, int kind) {
    table.count = 0;
    QuadModule record;
    if (!initQuad(record, kind, identity)) return;
    insertKeyed(table, record, record.key, 0);
    const int side1 = kind == 0 ? kFV : kind == 1 ? kVE : kEF;
    const int side2 = kind == 0 ? kVE : kind == 1 ? kEF : kFV;
    const Point& corner = cornerPoint(kind);
    const SortedTable<Matrix>& group = groupTables.matrix;
    for (int i = 0; i < group.count && !table.full(); ++i) {
        const std::array<DataModule*, 7>& d = elementRefs[i];
        record.kind = kind;
        record.centre = d[kVEF];
        record.side1 = d[side1];
        record.corner = d[kind];
        record.side2 = d[side2];
        if (!record.centre || !record.side1 || !record.corner || !record.side2) continue;
        const Matrix& M = group.at(i);
        midpoint(record.key, dotP(M, specialPoints.triVEF), dotP(M, corner));
        const int found = searchModuleKeys(table, record.key);
        if (found < 0) insertKeyed(table, record, record.key, -found - 1);
    }
}

}  // namespace

void initTriModule(SortedTable<TriModule>& table, int kind) {
    prepareSearches();
    buildTri(table, kind);
}

void initPolyModule(SortedTable<PolyModule>& table, int kind) {
    prepareSearches();
    buildPoly(table, kind);
}

void initQuadModule(SortedTable<QuadModule>& table, int kind) {
    prepareSearches();
    buildQuad(table, kind);
}

void initTriModuleDraw(SortedTable<TriModule>& table) {
    // Count from zero even when the modules are rebuilt without a new enumeration.
    GroupTables& g = groupTables;
    for (DataTable* data :
         {&g.dataV, &g.dataE, &g.dataF, &g.dataEF, &g.dataFV, &g.dataVE, &g.dataVEF}) {
        for (int i = 0; i < data->count; ++i) {
            DataModule& d = data->pool[i];
            d.c0 = d.c1 = d.c2 = d.c3 = 0;
        }
    }
    for (int i = 0; i < table.count; ++i) {
        const TriModule& t = table.at(i);
        for (DataModule* d : {t.V, t.E, t.F, t.EF, t.FV, t.VE}) ++d->c0;
        for (DataModule* d : {t.EF, t.FV, t.VE}) ++d->c1;
        const bool positive = t.VEF->matrix.sign > 0;
        for (DataModule* d : {t.EF, t.FV, t.VE}) ++(positive ? d->c2 : d->c3);
        ++t.VEF->c2;
    }
}

void newModules() {
    ModuleTables& m = moduleTables;
    prepareSearches();
    buildTri(m.triModule, 0);
    buildPoly(m.polyModuleV, 0);
    buildPoly(m.polyModuleE, 1);
    buildPoly(m.polyModuleF, 2);
    buildQuad(m.quadModuleV, 0);
    buildQuad(m.quadModuleE, 1);
    buildQuad(m.quadModuleF, 2);
    initTriModuleDraw(m.triModule);
}
