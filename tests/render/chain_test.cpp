#include "render/chain.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <tuple>
#include <vector>

#include "geometry/kernel.h"
#include "geometry/settings.h"
#include "render/depth_order.h"
#include "render_support.h"
#include "test_model.h"
#include "tiling/tables.h"

namespace {

const std::tuple<int, int, int> kTriples[] = {{2, 3, 5}, {3, 3, 3},    {2, 4, 4},
                                              {7, 3, 2}, {12, 12, 12}, {2, 2, 12}};

// The points of every record that a polygon of the picture may have for a corner or centre.
std::vector<Point> polyPoints() {
    const GroupTables& g = model.groupTables;
    std::vector<Point> points;
    for (const DataTable* t :
         {&g.dataV, &g.dataE, &g.dataF, &g.dataEF, &g.dataFV, &g.dataVE, &g.dataVEF})
        for (int i = 0; i < t->count; ++i) points.push_back(t->at(i).polyPoint);
    return points;
}

template <class Table>
void addAll(std::set<const void*>& s, const Table& t) {
    for (int i = 0; i < t.count; ++i) s.insert(&t.at(i));
}

// The list holds every module once, and adjacent depths never fall by more than a few
// tolerances (ties within h may land either way round).
template <class M>
bool soundList(M* const* list, int count, const std::set<const void*>& all,
               double (*depth)(const Settings&, const M&)) {
    for (int i = 1; i < count; ++i)
        if (depth(model.settings, *list[i - 1]) - depth(model.settings, *list[i]) > 4 * h)
            return false;
    return count == int(all.size()) && std::set<const void*>(list, list + count) == all;
}

bool drawListsSound() {
    const ModuleTables& m = model.moduleTables;
    const DrawLists& d = model.drawLists;
    std::set<const void*> tris, polys, quads;
    addAll(tris, m.triModule);
    for (auto* t : {&m.polyModuleV, &m.polyModuleE, &m.polyModuleF}) addAll(polys, *t);
    for (auto* t : {&m.quadModuleV, &m.quadModuleE, &m.quadModuleF}) addAll(quads, *t);
    return soundList(d.tri.data(), d.triCount, tris, depthTri) &&
           soundList(d.poly.data(), d.polyCount, polys, depthPoly) &&
           soundList(d.quad.data(), d.quadCount, quads, depthQuad);
}

}  // namespace

// Whatever the group and its order, in a view along z or along x: every module listed once, far
// to near, every poly point finite.
TEST(Chain, EveryKindOfGroupAndOrderEndsWithSoundFiniteLists) {
    for (auto [v, e, f] : kTriples) {
        for (int order : {0, 2000}) {
            for (int project : {2, 3}) {
                SCOPED_TRACE(testing::Message() << v << "," << e << "," << f << " order " << order
                                                << " projection " << project);
                makePicture(v, e, f, order, project);
                EXPECT_TRUE(drawListsSound());
                for (const Point& p : polyPoints())
                    ASSERT_TRUE(std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z));
            }
        }
    }
}
