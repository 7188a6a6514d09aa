#include "tiling/tiling.h"

#include <cstdint>

namespace {

// The record at the same place in `to` as p has in `from` (null stays null).
DataModule* rebased(DataModule* p, const GroupTables& from, GroupTables& to) {
    if (!p) return nullptr;
    const auto offset = reinterpret_cast<uintptr_t>(p) - reinterpret_cast<uintptr_t>(&from);
    return reinterpret_cast<DataModule*>(reinterpret_cast<char*>(&to) + offset);
}

// Module records refer to data records by address: after a copy they still point into the
// source's tables, and are moved over to the copy's own.
void rebase(ModuleTables& m, const GroupTables& from, GroupTables& to) {
    auto move = [&](DataModule*& p) { p = rebased(p, from, to); };
    for (int i = 0; i < m.triModule.count; ++i) {
        TriModule& r = m.triModule.pool[i];
        for (DataModule** p : {&r.V, &r.E, &r.F, &r.EF, &r.FV, &r.VE, &r.VEF}) move(*p);
    }
    for (SortedTable<PolyModule>* table :
         {&m.polyModuleV, &m.polyModuleE, &m.polyModuleF, &m.snubModule}) {
        for (int i = 0; i < table->count; ++i) {
            PolyModule& r = table->pool[i];
            move(r.centre);
            for (int k = 0; k < 12; ++k) {
                move(r.cornerA[k]);
                move(r.sideA[k]);
                move(r.cornerB[k]);
                move(r.sideB[k]);
            }
        }
    }
    for (SortedTable<QuadModule>* table : {&m.quadModuleV, &m.quadModuleE, &m.quadModuleF}) {
        for (int i = 0; i < table->count; ++i) {
            QuadModule& r = table->pool[i];
            for (DataModule** p : {&r.centre, &r.side1, &r.corner, &r.side2}) move(*p);
        }
    }
}

}  // namespace

Tiling::Tiling(const Tiling& other)
    : settings(other.settings),
      triangleGroup(other.triangleGroup),
      specialPoints(other.specialPoints),
      groupTables(other.groupTables),
      moduleTables(other.moduleTables) {
    rebase(moduleTables, other.groupTables, groupTables);
}

Tiling& Tiling::operator=(const Tiling& other) {
    if (this == &other) return *this;
    settings = other.settings;
    triangleGroup = other.triangleGroup;
    specialPoints = other.specialPoints;
    groupTables = other.groupTables;
    moduleTables = other.moduleTables;
    rebase(moduleTables, other.groupTables, groupTables);
    return *this;
}
