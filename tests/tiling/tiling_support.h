#pragma once

// Setting up a triangle group and reading tables back, for the tiling tests.

#include <cmath>
#include <memory>
#include <vector>

#include "geometry/kernel.h"
#include "geometry/settings.h"
#include "geometry/triangle_group.h"
#include "test_model.h"
#include "tiling/enumeration.h"
#include "tiling/generating_point.h"
#include "tiling/modules.h"

// Defaults, then the orders p, q, r and the stages that come before the enumeration.
inline void makeTriangle(int p, int q, int r, double lengthV = 1.0 / 3, double lengthE = 1.0 / 3,
                         double lengthF = 1.0 / 3) {
    model.settings = Settings{};
    // Rebuilt where they stand: a fresh value to copy from would put megabytes on the stack.
    std::destroy_at(&model.groupTables);
    std::construct_at(&model.groupTables);
    std::destroy_at(&model.moduleTables);
    std::construct_at(&model.moduleTables);
    model.settings.genV = p;
    model.settings.genE = q;
    model.settings.genF = r;
    model.settings.lengthV = lengthV;
    model.settings.lengthE = lengthE;
    model.settings.lengthF = lengthF;
    setGenType(model.settings);
    setTriangle(model.triangleGroup, model.settings);
    setTriPoint(model.specialPoints, model.triangleGroup, model.settings);
    setPolyPoint(model.specialPoints, model.triangleGroup, model.settings);
    if (model.settings.gen >= -4 && model.settings.gen <= -1) setGroupOrderMax(model.settings);
}

inline std::vector<DataTable*> dataTables() {
    GroupTables& t = model.groupTables;
    return {&t.dataV, &t.dataE, &t.dataF, &t.dataEF, &t.dataFV, &t.dataVE, &t.dataVEF};
}

inline bool finite(const Point& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

inline bool finite(const Matrix& M) {
    for (double m : {M.sign, M.m00, M.m01, M.m02, M.m10, M.m11, M.m12, M.m20, M.m21, M.m22}) {
        if (!std::isfinite(m)) return false;
    }
    return true;
}

// Table order of the records of a data table, so that references can be read as indices.
struct TableIndex {
    const DataTable* table;
    std::vector<int> ofSlot;

    explicit TableIndex(const DataTable& t) : table(&t), ofSlot(t.count, -2) {
        for (int i = 0; i < t.count; ++i) ofSlot[t.order[i]] = i;
    }
    // −1 for null, −2 for a pointer that is not to a record of this table.
    int operator()(const DataModule* record) const {
        if (!record) return -1;
        const long slot = record - table->pool.data();
        return slot >= 0 && slot < table->count ? ofSlot[slot] : -2;
    }
};
