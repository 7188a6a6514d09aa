#pragma once

// Setting up a triangle group and its tables, for the tiling tests.

#include <cmath>
#include <memory>
#include <vector>

#include "geometry/geometry_support.h"
#include "geometry/settings.h"
#include "geometry/triangle_group.h"
#include "test_model.h"
#include "tiling/enumeration.h"
#include "tiling/generating_point.h"
#include "tiling/modules.h"

// Defaults, then the orders p, q, r and the stages that come before the
// enumeration.
inline void makeTriangle(int p, int q, int r, double lengthV = 1.0 / 3, double lengthE = 1.0 / 3,
                         double lengthF = 1.0 / 3) {
    Settings& s = model.settings;
    s = Settings{};
    // Rebuilt where they stand: a fresh value to copy from would put megabytes on
    // the stack.
    std::destroy_at(&model.groupTables);
    std::construct_at(&model.groupTables);
    std::destroy_at(&model.moduleTables);
    std::construct_at(&model.moduleTables);
    s.genV = p, s.genE = q, s.genF = r;
    s.lengthV = lengthV, s.lengthE = lengthE, s.lengthF = lengthF;
    setGenType(s);
    setTriangle(model.triangleGroup, s);
    setTriPoint(model.specialPoints, model.triangleGroup, s);
    setPolyPoint(model.specialPoints, model.triangleGroup, s);
    if (s.gen >= -4 && s.gen <= -1) setGroupOrderMax(s);
}

// The triangle, then the group table and the module tables at the group order
// asked for.
inline int build(int p, int q, int r, int groupOrder, bool snub = false) {
    makeTriangle(p, q, r);
    model.settings.groupOrder = groupOrder;
    model.settings.snubForm = snub;
    setPolyPoint(model.specialPoints, model.triangleGroup, model.settings);
    const int count = setGroup(model);
    newModules(model);
    return count;
}

inline std::vector<DataTable*> dataTables() {
    GroupTables& t = model.groupTables;
    return {&t.dataV, &t.dataE, &t.dataF, &t.dataEF, &t.dataFV, &t.dataVE, &t.dataVEF};
}

inline bool finite(const Point& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}
