#pragma once

#include "geometry/types.h"
#include "tiling/tables.h"

// The group table and the seven data tables (groupTables), filled by a best-first flood fill
// over the triangles of the tiling in passes of a falling threshold.
//
// A pass accepts every triangle connected to the fundamental one through triangles whose key
// (the largest z of its corners on the sphere, the smallest z on the hyperbolic plane, the
// smallest x²+y² on the plane, the smallest x² for the band-limited plane fill) is within the
// threshold normMax; the next pass's threshold is the best key this one rejected. Passes stop
// once groupOrder elements are found (or the whole finite group on the sphere), when a pass adds
// nothing, or when the table is full (kCapacity).

struct Tiling;

// Re-centres settings.pointMatrix on V (keeping the previous one in pointMatrixInitial) and
// rebuilds the group table and the data tables; returns the number of group elements.
int setGroup(Tiling& t);

// Binary search between lo and hi: the index of an entry equal to M under compareM, or
// −(insertion position) − 1.
int indexMatrix(const SortedTable<Matrix>& table, const Matrix& M, int lo, int hi);

// The same search on a data table, keyed by compareP on the tri point.
int indexDataModule(const DataTable& table, const Point& p, int lo, int hi);
