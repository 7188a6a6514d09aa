#pragma once

#include <array>
#include <cstdint>

#include "geometry/types.h"

// The tables a picture is assembled from. Every table holds at most kCapacity entries; fills stop
// at capacity and report it instead of overrunning.
//
// Sorted tables keep their records in a stable pool (slots filled in order of creation, never
// moved until the table is rebuilt) and a sorted array of 2-byte slot numbers; "table order" is
// the sorted order, `at(i)` the i-th record in it. Module records refer to data records by
// pointer into a pool, which stays valid until the next rebuild of the group.

inline constexpr int kCapacity = 4096;

// One distinct image of a special point of the triangle, shared by every element that meets there.
struct DataModule {
    uint32_t c0 = 0, c1 = 0, c2 = 0, c3 = 0;  // draw counters, filled by initTriModuleDraw
    uint32_t w0 = 0, w1 = 0, w2 = 0, w3 = 0;  // working copies, used up during one drawing pass
    BColor triColor;                          // individual colour in the tri layer
    BColor polyColor;                         // individual colour in the poly layer
    Point triPoint;   // image of the fixed special point; the table's sort key
    Point polyPoint;  // image of the paired point of the generating point
    Matrix matrix;    // the group element that first produced this point
};

template <class Record>
struct SortedTable {
    int count = 0;
    std::array<uint16_t, kCapacity> order{};  // pool slots in table order
    std::array<Record, kCapacity> pool{};

    Record& at(int i) { return pool[order[i]]; }
    const Record& at(int i) const { return pool[order[i]]; }
    bool full() const { return count >= kCapacity; }
};

using DataTable = SortedTable<DataModule>;

// The group table and the seven data tables (dataV … dataVEF), rebuilt by every setGroup.
struct GroupTables {
    SortedTable<Matrix> matrix;  // the group elements, sorted by compareM; count is matrixCount
    DataTable dataV, dataE, dataF, dataEF, dataFV, dataVE, dataVEF;
    double normMin = 0, normMax = 0;  // thresholds of the pass in progress

    int matrixCount() const { return matrix.count; }
};

// A triangle of the kaleidoscope.
struct TriModule {
    int kind = 0;
    DataModule *V = nullptr, *E = nullptr, *F = nullptr;
    DataModule *EF = nullptr, *FV = nullptr, *VE = nullptr;
    DataModule* VEF = nullptr;
};

// A polygon of the uniform tiling centred on an image of V (kind 0), E (1) or F (2). Walking
// round the centre: cornerA[0], sideA[0], cornerB[0], sideB[0], cornerA[1], … sideB[n−1].
// Null where the point was not enumerated (at the rim of the picture).
struct PolyModule {
    int kind = 0;
    int n = 0;  // order of the centre corner, 2..12; the first n entries of each array are used
    DataModule* centre = nullptr;
    std::array<DataModule*, 12> cornerA{};
    std::array<DataModule*, 12> sideA{};
    std::array<DataModule*, 12> cornerB{};
    std::array<DataModule*, 12> sideB{};
};

// A kite cut from a polygon by the mirrors, at corner V (kind 0), E (1) or F (2); the four
// references walk it in cyclic order.
struct QuadModule {
    int kind = 0;
    Point key;  // midpoint of the images of triVEF and of the kite's corner
    DataModule* centre = nullptr;
    DataModule* side1 = nullptr;
    DataModule* corner = nullptr;
    DataModule* side2 = nullptr;
};

// The triangles of the snub (see snub.h), one over each triangle of the kaleidoscope, in the
// order of triModule: kind 3, n = 3, centre = the triangle's VEF record, cornerA[0..2] = the VEF
// records of its neighbours across EF, FV and VE (null past the rim). Those of the odd triangles
// belong to the snub, those of the even ones to its mirror image.
inline constexpr int kSnubKind = 3;

struct ModuleTables {
    SortedTable<TriModule> triModule;
    SortedTable<PolyModule> polyModuleV, polyModuleE, polyModuleF;
    SortedTable<QuadModule> quadModuleV, quadModuleE, quadModuleF;
    SortedTable<PolyModule> snubModule;
};
