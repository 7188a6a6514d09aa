#pragma once

#include "geometry/types.h"
#include "tiling/tables.h"

// The elements of the picture (moduleTables), built from the group table and the data tables:
// one tri record per triangle, one poly record per polygon centre (kinds 0, 1, 2 centred on
// images of V, E, F), three quad records (kites) and, in snub mode, one snub triangle per
// triangle. Records
// refer to the shared data records, so they stay valid while only the generating point moves,
// and must be rebuilt after every setGroup.

struct Tiling;

// All the tables (the snub table only in snub mode, else empty), then the draw counters. The depth
// order (setShape) is the caller's next step.
void newModules(Tiling& t);
// The snub table over the tables in place, when it is empty: after snub mode is switched on, or a
// picture in snub mode is laid over tables built without it.
void newSnubModules(Tiling& t);
