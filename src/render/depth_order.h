#pragma once

#include <array>

#include "tiling/tables.h"

// The draw lists: every module record, in depth order for a painter's algorithm (far elements
// first). `tri` lists triModule; `poly` lists polyModuleV, then polyModuleE, then polyModuleF
// (then, in snub mode, the snubModule records of the copy on show);
// `quad` lists quadModuleV, quadModuleE, quadModuleF. The references stay valid until the module
// tables are rebuilt, and setShape must follow every rebuild.
//
// Depth of an element: its key point carried through pointMatrix, q = pointMatrix · point, where
// the key point is the tri point of the centre (VEF) record for a triangle, the tri point of the
// centre record for a polygon and the kite's own key. The depth is q.z under projections 0..2;
// under 3..5 it is q.x (q.y on the plane). Depths within h of each other count as equal, and the
// order in which the sort visits entries decides where such ties land, and so which element paints
// a shared edge or vertex.
struct DrawLists {
    std::array<TriModule*, kCapacity> tri{};
    std::array<PolyModule*, 3 * kCapacity> poly{};
    std::array<QuadModule*, 3 * kCapacity> quad{};
    int triCount = 0, polyCount = 0, quadCount = 0;
};

struct Model;
struct Settings;

// Refill the three lists from the module tables, then sort them as setOrder does.
void setShape(Model& m);
// Sort all three lists again; after any change of pointMatrix, project3D2D or gen.
void setOrder(Model& m);
// Sort entries lo … hi of one list by ascending depth.
void sortTri(Model& m, int lo, int hi);
void sortPoly(Model& m, int lo, int hi);
void sortQuad(Model& m, int lo, int hi);

// The depth of one element under the view and projection of the settings.
double depthTri(const Settings& s, const TriModule& record);
double depthPoly(const Settings& s, const PolyModule& record);
double depthQuad(const Settings& s, const QuadModule& record);
