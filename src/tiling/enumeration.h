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

// Re-centres settings.pointMatrix on V (keeping the previous one in pointMatrixInitial) and
// rebuilds the group table and the data tables; returns matrixCount.
int setGroup();

inline int matrixCount() {
    return groupTables.matrix.count;
}

// One pass at the current thresholds, from scratch: identity, the seven data records of the
// fundamental triangle, then the fill from its three sides. Data records get fresh random colours.
void initGroup();

// One step of the fill (with everything it reaches) for the candidate element B, reached across
// side k (0 EF, 1 FV, 2 VE). XY: plain; Z: limited to the band |Y| < π·spiralAngle.
void addXYEll(int k, const BMatrix& B);
void addXYHyp(int k, const BMatrix& B);
void addXYPar(int k, const BMatrix& B);
void addZEll(int k, const BMatrix& B);
void addZHyp(int k, const BMatrix& B);
void addZPar(int k, const BMatrix& B);

// Binary search between lo and hi: the index of an entry equal to M under compareM, or
// −(insertion position) − 1.
int indexMatrix(const Matrix& M, int lo, int hi);
// Shifts the entries from position up by one and stores M there; the table must not be full.
void insertMatrix(const Matrix& M, int position);
// Inserts M at position and records the images of the special points in the data tables.
void insertAll(const Matrix& M, const BMatrix& B, int position);

// The same search and insertion on a data table, keyed by compareP on the tri point.
int indexDataModule(const DataTable& table, const Point& p, int lo, int hi);
void insertDataModule(DataTable& table, const Matrix& M, const Point& triPoint,
                      const Point& polyPoint, int position);
