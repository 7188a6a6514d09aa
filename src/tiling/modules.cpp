#include "tiling/modules.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>

#include "geometry/kernel.h"
#include "tiling/enumeration.h"
#include "tiling/point_grid.h"
#include "tiling/search.h"
#include "tiling/tiling.h"

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

// The seven data records of a group element, in the order V, E, F, EF, FV, VE, VEF.
enum : int { kV, kE, kF, kEF, kFV, kVE, kVEF };

}  // namespace

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
        const int i = tolerantSearch(0, count, [&](int j) { return compareP(keys[j], image); });
        return i >= 0 ? &table->at(i) : nullptr;
    }
};

}  // namespace

// The builders' working space, kept by the picture from one rebuild to the next.
struct ModuleScratch {
    Searchable searchable[7];
    std::array<DataModule*, 7> elementRefs[kCapacity];
    Point moduleKeys[kCapacity];  // the keys of the module table being built, by pool slot
    // The elements round each corner record of the kind being built: members[memberStart[c] ..
    // memberStart[c + 1]) for the corner record in pool slot c.
    int memberStart[kCapacity + 1];
    int members[kCapacity];
    int fillAt[kCapacity];
};

namespace {

// The tables of one picture, built with that picture's working space.
struct Build {
    Tiling& t;
    ModuleScratch& x;

    PolySides polySides(int kind) {
        const TriangleGroup& g = t.triangleGroup;
        const SpecialPoints& s = t.specialPoints;
        GroupTables& tables = t.groupTables;
        switch (kind) {
            case 0:
                return {&tables.dataVE, &s.triVE, &g.reflectVE,
                        &tables.dataFV, &s.triFV, &g.reflectFV};
            case 1:
                return {&tables.dataEF, &s.triEF, &g.reflectEF,
                        &tables.dataVE, &s.triVE, &g.reflectVE};
            default:
                return {&tables.dataFV, &s.triFV, &g.reflectFV,
                        &tables.dataEF, &s.triEF, &g.reflectEF};
        }
    }

    DataTable& cornerTable(int kind) {
        GroupTables& tables = t.groupTables;
        return kind == 0 ? tables.dataV : kind == 1 ? tables.dataE : tables.dataF;
    }

    const Point& cornerPoint(int kind) {
        const TriangleGroup& g = t.triangleGroup;
        return kind == 0 ? g.triV : kind == 1 ? g.triE : g.triF;
    }

    int cornerOrder(int kind) {
        const int n = kind == 0 ? t.settings.genV : kind == 1 ? t.settings.genE : t.settings.genF;
        return std::clamp(n, 0, 12);
    }

    // The record carried by group element M. Only kind 0 exists for tri records; any other kind
    // leaves the record unset. initTri and initQuad return false when a point is missing from its
    // data table (which enumeration never leaves); initPoly stores null for a point past the rim.
    bool initTri(TriModule& out, int kind, const Matrix& M) {
        if (kind != 0) return false;
        const TriangleGroup& g = t.triangleGroup;
        const SpecialPoints& s = t.specialPoints;
        GroupTables& tables = t.groupTables;
        out.kind = 0;
        out.V = find(tables.dataV, M, g.triV);
        out.E = find(tables.dataE, M, g.triE);
        out.F = find(tables.dataF, M, g.triF);
        out.EF = find(tables.dataEF, M, s.triEF);
        out.FV = find(tables.dataFV, M, s.triFV);
        out.VE = find(tables.dataVE, M, s.triVE);
        out.VEF = find(tables.dataVEF, M, s.triVEF);
        return out.V && out.E && out.F && out.EF && out.FV && out.VE && out.VEF;
    }

    // The walk round the centre, once the centre itself is known.
    void walkPoly(PolyModule& out, int kind, const Matrix& M) {
        const PolySides sides = polySides(kind);
        DataTable& centres = t.groupTables.dataVEF;
        const Point& incentre = t.specialPoints.triVEF;
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

    void initPoly(PolyModule& out, int kind, const Matrix& M) {
        out = PolyModule{};
        out.kind = kind;
        out.n = cornerOrder(kind);
        out.centre = find(cornerTable(kind), M, cornerPoint(kind));
        walkPoly(out, kind, M);
    }

    bool initQuad(QuadModule& out, int kind, const Matrix& M) {
        const SpecialPoints& s = t.specialPoints;
        GroupTables& tables = t.groupTables;
        out.kind = kind;
        out.centre = find(tables.dataVEF, M, s.triVEF);
        DataTable& corners = cornerTable(kind);
        const Point& corner = cornerPoint(kind);
        out.corner = find(corners, M, corner);
        switch (kind) {
            case 0:
                out.side1 = find(tables.dataFV, M, s.triFV);
                out.side2 = find(tables.dataVE, M, s.triVE);
                break;
            case 1:
                out.side1 = find(tables.dataVE, M, s.triVE);
                out.side2 = find(tables.dataEF, M, s.triEF);
                break;
            default:
                out.side1 = find(tables.dataEF, M, s.triEF);
                out.side2 = find(tables.dataFV, M, s.triFV);
                break;
        }
        midpoint(t.settings.gen, out.key, dotP(M, s.triVEF), dotP(M, corner));
        return out.centre && out.side1 && out.corner && out.side2;
    }

    std::array<const Point*, 7> triPoints() {
        const TriangleGroup& g = t.triangleGroup;
        const SpecialPoints& s = t.specialPoints;
        return {&g.triV, &g.triE, &g.triF, &s.triEF, &s.triFV, &s.triVE, &s.triVEF};
    }

    void prepareSearches() {
        GroupTables& tables = t.groupTables;
        DataTable* data[7] = {&tables.dataV,  &tables.dataE,  &tables.dataF,  &tables.dataEF,
                              &tables.dataFV, &tables.dataVE, &tables.dataVEF};
        for (int i = 0; i < 7; ++i) x.searchable[i].prepare(*data[i]);
        const std::array<const Point*, 7> points = triPoints();
        const SortedTable<Matrix>& group = tables.matrix;
        for (int i = 0; i < group.count; ++i) {
            const Matrix& M = group.at(i);
            for (int k = 0; k < 7; ++k)
                x.elementRefs[i][k] = x.searchable[k].find(dotP(M, *points[k]));
        }
    }

    // What buildSnub alone searches: the centre records.
    void prepareCentres() { x.searchable[kVEF].prepare(t.groupTables.dataVEF); }

    template <class Record>
    void insertKeyed(SortedTable<Record>& table, const Record& record, const Point& key,
                     int position) {
        x.moduleKeys[insertSorted(table, record, position)] = key;
    }

    template <class Record>
    int searchModuleKeys(const SortedTable<Record>& table, const Point& key) {
        return tolerantSearch(0, table.count,
                              [&](int j) { return compareP(x.moduleKeys[table.order[j]], key); });
    }

    void buildTri(SortedTable<TriModule>& table, int kind) {
        table.count = 0;
        TriModule record;
        if (!initTri(record, kind, identity)) return;
        insertKeyed(table, record, record.VEF->triPoint, 0);
        const int count = t.groupTables.matrix.count;
        for (int i = 0; i < count && !table.full(); ++i) {
            const std::array<DataModule*, 7>& d = x.elementRefs[i];
            if (std::find(d.begin(), d.end(), nullptr) != d.end()) continue;
            record = {0, d[kV], d[kE], d[kF], d[kEF], d[kFV], d[kVE], d[kVEF]};
            const Point& key = record.VEF->triPoint;
            const int found = splitSearch(
                table.count, [&](int j) { return compareP(x.moduleKeys[table.order[j]], key); });
            if (found < 0) insertKeyed(table, record, key, -found - 1);
        }
    }

    // initPoly's walk from group element i, whose first position needs no search.
    void walkFrom(PolyModule& record, int kind, int i) {
        const PolySides sides = polySides(kind);
        const int first = kind == 0 ? kVE : kind == 1 ? kEF : kFV;
        const int second = kind == 0 ? kFV : kind == 1 ? kVE : kEF;
        const Searchable& centres = x.searchable[kVEF];
        const Point& incentre = t.specialPoints.triVEF;
        Matrix R = t.groupTables.matrix.at(i);
        for (int j = 0; j < record.n; ++j) {
            if (j == 0) {
                record.cornerA[0] = x.elementRefs[i][kVEF];
                record.sideA[0] = x.elementRefs[i][first];
            } else {
                record.cornerA[j] = centres.find(dotP(R, incentre));
                record.sideA[j] = x.searchable[first].find(dotP(R, *sides.firstPoint));
            }
            R = dotM(R, *sides.firstReflection);
            record.cornerB[j] = centres.find(dotP(R, incentre));
            record.sideB[j] = x.searchable[second].find(dotP(R, *sides.secondPoint));
            R = dotM(R, *sides.secondReflection);
        }
    }

    void collectMembers(int kind) {
        const DataTable& corners = *x.searchable[kind].table;
        const int count = t.groupTables.matrix.count;
        std::fill(x.memberStart, x.memberStart + corners.count + 1, 0);
        auto slotOf = [&](int i) {
            const DataModule* c = x.elementRefs[i][kind];
            return c ? static_cast<int>(c - corners.pool.data()) : -1;
        };
        for (int i = 0; i < count; ++i) {
            if (const int c = slotOf(i); c >= 0) ++x.memberStart[c + 1];
        }
        for (int c = 0; c < corners.count; ++c) x.memberStart[c + 1] += x.memberStart[c];
        std::copy(x.memberStart, x.memberStart + corners.count, x.fillAt);
        for (int i = 0; i < count; ++i) {
            if (const int c = slotOf(i); c >= 0) x.members[x.fillAt[c]++] = i;
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
    // veryClose). Returns false, leaving the walk to walkFrom, for a centre with too many members
    // or with a member whose own incentre a search did not find again.
    bool walkAmongMembers(PolyModule& record, int kind, int i) {
        const PolySides sides = polySides(kind);
        const int first = kind == 0 ? kVE : kind == 1 ? kEF : kFV;
        const int second = kind == 0 ? kFV : kind == 1 ? kVE : kEF;
        const int n = record.n;
        const int c = static_cast<int>(record.centre - x.searchable[kind].table->pool.data());
        const int* begin = x.members + x.memberStart[c];
        const int count = x.memberStart[c + 1] - x.memberStart[c];
        constexpr int kMaxMembers = 24;
        if (count > kMaxMembers) return false;
        for (int m = 0; m < count; ++m) {
            if (!x.elementRefs[begin[m]][kVEF]) return false;  // its own incentre not found again
        }
        bool placed[kMaxMembers] = {};
        int placedCount = 0;
        const Point& incentre = t.specialPoints.triVEF;

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
        Matrix R = t.groupTables.matrix.at(i);
        for (int p = 0; p < 2 * n; ++p) {
            const bool even = p % 2 == 0;
            // Once every member is placed the remaining positions find nothing, except the side
            // point after the last position, which the member at position 0 may hold.
            if (placedCount < count) {
                centreAt[p] = dotP(R, incentre);
                for (int m = 0; m < count; ++m) {
                    if (placed[m] || !near(x.elementRefs[begin[m]][kVEF]->triPoint, centreAt[p])) {
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

        auto sidePoint = [&](int p, int next, int k) -> DataModule* {
            const int holder = at[p] >= 0 ? at[p] : at[next];
            return holder >= 0 ? answer(x.elementRefs[holder][k], sideAt[p], x.searchable[k])
                               : nullptr;
        };
        for (int j = 0; j < n; ++j) {
            const int a = 2 * j, b = 2 * j + 1, next = (2 * j + 2) % (2 * n);
            record.cornerA[j] =
                at[a] >= 0 ? answer(x.elementRefs[at[a]][kVEF], centreAt[a], x.searchable[kVEF])
                           : nullptr;
            record.cornerB[j] =
                at[b] >= 0 ? answer(x.elementRefs[at[b]][kVEF], centreAt[b], x.searchable[kVEF])
                           : nullptr;
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
        const bool shortcut = x.searchable[kind].distinct && x.searchable[kVEF].distinct &&
                              x.searchable[first].distinct && x.searchable[second].distinct;
        if (shortcut) collectMembers(kind);
        const SortedTable<Matrix>& group = t.groupTables.matrix;
        for (int i = 0; i < group.count && !table.full(); ++i) {
            if (group.at(i).sign != 1) continue;  // polygons are walked from rotations only
            DataModule* centre = x.elementRefs[i][kind];
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
        const SortedTable<Matrix>& group = t.groupTables.matrix;
        for (int i = 0; i < group.count && !table.full(); ++i) {
            const std::array<DataModule*, 7>& d = x.elementRefs[i];
            record.kind = kind;
            record.centre = d[kVEF];
            record.side1 = d[side1];
            record.corner = d[kind];
            record.side2 = d[side2];
            if (!record.centre || !record.side1 || !record.corner || !record.side2) continue;
            const Matrix& M = group.at(i);
            midpoint(t.settings.gen, record.key, dotP(M, t.specialPoints.triVEF), dotP(M, corner));
            const int found = searchModuleKeys(table, record.key);
            if (found < 0) insertKeyed(table, record, record.key, -found - 1);
        }
    }

    // One snub triangle per tri record, in the tri table's order (so the table is sorted by the
    // same key): the incentres of the three neighbours across the sides.
    void buildSnub(SortedTable<PolyModule>& table, const SortedTable<TriModule>& tris) {
        const TriangleGroup& g = t.triangleGroup;
        const Point& incentre = t.specialPoints.triVEF;
        const Searchable& centres = x.searchable[kVEF];
        table.count = 0;
        for (int i = 0; i < tris.count && !table.full(); ++i) {
            DataModule* centre = tris.at(i).VEF;
            const Matrix& M = centre->matrix;
            PolyModule record;
            record.kind = kSnubKind;
            record.n = 3;
            record.centre = centre;
            int k = 0;
            for (const Matrix* reflection : {&g.reflectEF, &g.reflectFV, &g.reflectVE})
                record.cornerA[k++] = centres.find(dotP(dotM(M, *reflection), incentre));
            table.pool[table.count] = record;
            table.order[table.count] = static_cast<uint16_t>(table.count);
            ++table.count;
        }
    }

    // The draw counters of the data records, from the tri records: c0 of a corner counts the
    // triangles meeting there; c1 of a side point is 1 or 2 (triangles beside it); c2/c3 of a side
    // point count the positive/negative triangles beside it; c2 of a centre counts its triangle.
    void initTriModuleDraw(SortedTable<TriModule>& table) {
        // Count from zero even when the modules are rebuilt without a new enumeration.
        GroupTables& g = t.groupTables;
        for (DataTable* data :
             {&g.dataV, &g.dataE, &g.dataF, &g.dataEF, &g.dataFV, &g.dataVE, &g.dataVEF}) {
            for (int i = 0; i < data->count; ++i) {
                DataModule& d = data->pool[i];
                d.c0 = d.c1 = d.c2 = d.c3 = 0;
            }
        }
        for (int i = 0; i < table.count; ++i) {
            const TriModule& tri = table.at(i);
            for (DataModule* d : {tri.V, tri.E, tri.F, tri.EF, tri.FV, tri.VE}) ++d->c0;
            for (DataModule* d : {tri.EF, tri.FV, tri.VE}) ++d->c1;
            const bool positive = tri.VEF->matrix.sign > 0;
            for (DataModule* d : {tri.EF, tri.FV, tri.VE}) ++(positive ? d->c2 : d->c3);
            ++tri.VEF->c2;
        }
    }
};

}  // namespace

void newModules(Tiling& tiling) {
    ModuleTables& m = tiling.moduleTables;
    Build build{tiling, tiling.moduleScratch.get()};
    build.prepareSearches();
    build.buildTri(m.triModule, 0);
    build.buildPoly(m.polyModuleV, 0);
    build.buildPoly(m.polyModuleE, 1);
    build.buildPoly(m.polyModuleF, 2);
    build.buildQuad(m.quadModuleV, 0);
    build.buildQuad(m.quadModuleE, 1);
    build.buildQuad(m.quadModuleF, 2);
    // The snub triangles only when they are shown: newSnubModules adds them when snub mode is
    // switched on over these tables.
    m.snubModule.count = 0;
    if (tiling.settings.snubForm) build.buildSnub(m.snubModule, m.triModule);
    build.initTriModuleDraw(m.triModule);
}

void newSnubModules(Tiling& tiling) {
    ModuleTables& m = tiling.moduleTables;
    if (m.snubModule.count > 0 || m.triModule.count == 0) return;
    Build build{tiling, tiling.moduleScratch.get()};
    build.prepareCentres();
    build.buildSnub(m.snubModule, m.triModule);
}
