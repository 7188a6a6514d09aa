#pragma once

#include "geometry/types.h"
#include "tiling/tables.h"

// The elements of the picture (moduleTables), built from the group table and the data tables:
// one tri record per triangle, one poly record per polygon centre (kinds 0, 1, 2 centred on
// images of V, E, F), three quad records (kites) per triangle. Records refer to the shared data
// records, so they stay valid while only the generating point moves, and must be rebuilt after
// every setGroup.

// All seven tables, then the draw counters. The depth order (setShape) is the caller's next step.
void newModules();

// The record carried by group element M. Only kind 0 exists for tri records; any other kind
// leaves the record unset. initTri and initQuad return false when a point is missing from its
// data table (which enumeration never leaves); initPoly stores null for a point past the rim.
bool initTri(TriModule& out, int kind, const Matrix& M);
void initPoly(PolyModule& out, int kind, const Matrix& M);
bool initQuad(QuadModule& out, int kind, const Matrix& M);

// One table: record 0 from identity, then one record per group element in table order (positive
// elements only for polygons), dropping records whose key is already present.
void initTriModule(SortedTable<TriModule>& table, int kind);
void initPolyModule(SortedTable<PolyModule>& table, int kind);
void initQuadModule(SortedTable<QuadModule>& table, int kind);

// Binary search by the record's key (the incentre image, the centre image, the kite's key
// point): the index, or −(insertion position) − 1.
int indexTriModule(const SortedTable<TriModule>& table, const TriModule& record, int lo, int hi);
int indexPolyModule(const SortedTable<PolyModule>& table, const PolyModule& record, int lo, int hi);
int indexQuadModule(const SortedTable<QuadModule>& table, const QuadModule& record, int lo, int hi);

// Shift the records from position up by one and store record there; the table must not be full.
void insertTriModule(SortedTable<TriModule>& table, const TriModule& record, int position);
void insertPolyModule(SortedTable<PolyModule>& table, const PolyModule& record, int position);
void insertQuadModule(SortedTable<QuadModule>& table, const QuadModule& record, int position);

// The draw counters of the data records, from the tri records: c0 of a corner counts the
// triangles meeting there; c1 of a side point is 1 or 2 (triangles beside it); c2/c3 of a side
// point count the positive/negative triangles beside it; c2 of a centre counts its triangle.
void initTriModuleDraw(SortedTable<TriModule>& table);
