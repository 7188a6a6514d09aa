#pragma once

#include "geometry/settings.h"
#include "geometry/triangle_group.h"
#include "tiling/generating_point.h"
#include "tiling/scratch.h"
#include "tiling/tables.h"

struct EnumerationScratch;
struct ModuleScratch;

// What the tiling stages read and write: the settings, the triangle group, the special points,
// the group and data tables, the module tables, and the stages' working space. It is the lower
// part of a picture (Model); copying it copies the tables and points the module records at the
// copy's own data records. Megabytes of tables: keep it on the heap (or in static storage).
struct Tiling {
    Settings settings;
    TriangleGroup triangleGroup;
    SpecialPoints specialPoints;
    GroupTables groupTables;
    ModuleTables moduleTables;
    Scratch<EnumerationScratch> enumerationScratch;
    Scratch<ModuleScratch> moduleScratch;

    Tiling() = default;
    Tiling(const Tiling& other);
    Tiling& operator=(const Tiling& other);
};
