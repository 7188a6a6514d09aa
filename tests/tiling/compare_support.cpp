#include "compare_support.h"

#include <cstring>

#include "test_model.h"
#include "tiling_support.h"

namespace {

bool same(const Matrix& a, const Matrix& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}
bool same(const Point& a, const Point& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace

testing::AssertionResult sameGroupAsReference(const reference::Group& g) {
    const GroupTables& t = model.groupTables;
    if (static_cast<int>(g.matrix.size()) != t.matrix.count) {
        return testing::AssertionFailure()
               << "matrixCount " << t.matrix.count << ", reference " << g.matrix.size();
    }
    for (int i = 0; i < t.matrix.count; ++i) {
        if (!same(g.matrix[i], t.matrix.at(i))) {
            return testing::AssertionFailure() << "group entry " << i << " differs";
        }
    }
    const std::vector<DataTable*> tables = dataTables();
    for (int k = 0; k < 7; ++k) {
        const DataTable& table = *tables[k];
        if (static_cast<int>(g.data[k].size()) != table.count) {
            return testing::AssertionFailure() << "data table " << k << " holds " << table.count
                                               << ", reference " << g.data[k].size();
        }
        for (int i = 0; i < table.count; ++i) {
            const DataModule& a = table.at(i);
            const reference::Data& b = g.data[k][i];
            if (!same(a.triPoint, b.triPoint) || !same(a.polyPoint, b.polyPoint) ||
                !same(a.matrix, b.matrix)) {
                return testing::AssertionFailure() << "data table " << k << " record " << i;
            }
        }
    }
    if (std::memcmp(&g.normMin, &t.normMin, sizeof(double)) != 0 ||
        std::memcmp(&g.normMax, &t.normMax, sizeof(double)) != 0) {
        return testing::AssertionFailure() << "thresholds " << t.normMin << ", " << t.normMax
                                           << ", reference " << g.normMin << ", " << g.normMax;
    }
    if (!same(g.pointMatrix, model.settings.pointMatrix)) {
        return testing::AssertionFailure() << "re-centred view differs";
    }
    return testing::AssertionSuccess();
}

testing::AssertionResult sameModulesAsReference(const reference::Group&,
                                                const reference::Modules& m) {
    const std::vector<DataTable*> tables = dataTables();
    std::vector<TableIndex> index;
    for (DataTable* table : tables) index.emplace_back(*table);
    const ModuleTables& t = model.moduleTables;

    if (static_cast<int>(m.tri.size()) != t.triModule.count) {
        return testing::AssertionFailure()
               << "tri records " << t.triModule.count << ", reference " << m.tri.size();
    }
    for (int i = 0; i < t.triModule.count; ++i) {
        const TriModule& a = t.triModule.at(i);
        const DataModule* refs[7] = {a.V, a.E, a.F, a.EF, a.FV, a.VE, a.VEF};
        for (int k = 0; k < 7; ++k) {
            if (index[k](refs[k]) != m.tri[i].ref[k]) {
                return testing::AssertionFailure() << "tri record " << i << " reference " << k;
            }
        }
    }

    const SortedTable<PolyModule>* polys[3] = {&t.polyModuleV, &t.polyModuleE, &t.polyModuleF};
    for (int kind = 0; kind < 3; ++kind) {
        const SortedTable<PolyModule>& table = *polys[kind];
        if (static_cast<int>(m.poly[kind].size()) != table.count) {
            return testing::AssertionFailure()
                   << "poly records of kind " << kind << ": " << table.count << ", reference "
                   << m.poly[kind].size();
        }
        const int first = kind == 0 ? 5 : kind == 1 ? 3 : 4;
        const int second = kind == 0 ? 4 : kind == 1 ? 5 : 3;
        for (int i = 0; i < table.count; ++i) {
            const PolyModule& a = table.at(i);
            const reference::Poly& b = m.poly[kind][i];
            if (a.kind != b.kind || a.n != b.n || index[kind](a.centre) != b.centre) {
                return testing::AssertionFailure() << "poly record " << i << " of kind " << kind;
            }
            for (int j = 0; j < a.n; ++j) {
                if (index[6](a.cornerA[j]) != b.cornerA[j] ||
                    index[first](a.sideA[j]) != b.sideA[j] ||
                    index[6](a.cornerB[j]) != b.cornerB[j] ||
                    index[second](a.sideB[j]) != b.sideB[j]) {
                    return testing::AssertionFailure()
                           << "poly record " << i << " of kind " << kind << ", step " << j;
                }
            }
        }
    }

    const SortedTable<QuadModule>* quads[3] = {&t.quadModuleV, &t.quadModuleE, &t.quadModuleF};
    const int side1[3] = {4, 5, 3}, side2[3] = {5, 3, 4};
    for (int kind = 0; kind < 3; ++kind) {
        const SortedTable<QuadModule>& table = *quads[kind];
        if (static_cast<int>(m.quad[kind].size()) != table.count) {
            return testing::AssertionFailure()
                   << "quad records of kind " << kind << ": " << table.count << ", reference "
                   << m.quad[kind].size();
        }
        for (int i = 0; i < table.count; ++i) {
            const QuadModule& a = table.at(i);
            const reference::Quad& b = m.quad[kind][i];
            if (a.kind != b.kind || !same(a.key, b.key) || index[6](a.centre) != b.centre ||
                index[kind](a.corner) != b.corner || index[side1[kind]](a.side1) != b.side1 ||
                index[side2[kind]](a.side2) != b.side2) {
                return testing::AssertionFailure() << "quad record " << i << " of kind " << kind;
            }
        }
    }
    return testing::AssertionSuccess();
}
