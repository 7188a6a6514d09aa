#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <tuple>
#include <vector>

#include "tiling_support.h"

namespace {

std::vector<const SortedTable<PolyModule>*> polyTables() {
    const ModuleTables& m = model.moduleTables;
    return {&m.polyModuleV, &m.polyModuleE, &m.polyModuleF};
}

bool complete(const PolyModule& poly) {
    for (int i = 0; i < poly.n; ++i) {
        if (!poly.cornerA[i] || !poly.sideA[i] || !poly.cornerB[i] || !poly.sideB[i]) return false;
    }
    return poly.centre != nullptr;
}

}  // namespace

// The full spherical groups: one tri record and three quad records per element, every polygon
// complete with its corner's order of steps and nothing beyond, as many polygons of a kind as
// the order over twice the corner's. Elsewhere the triangles are complete and the polygons at
// the rim have gaps.
TEST(Modules, PolygonsAreCompleteOnTheSphereAndHaveGapsAtTheRim) {
    for (auto [p, q, r, order] : {std::tuple{2, 3, 5, 2000},
                                  {2, 3, 4, 2000},
                                  {2, 3, 3, 2000},
                                  {2, 2, 7, 2000},
                                  {4, 3, 2, 2000},
                                  {2, 2, 2, 2000},
                                  {2, 4, 4, 200},
                                  {3, 3, 3, 200},
                                  {7, 3, 2, 200},
                                  {5, 5, 5, 200}}) {
        SCOPED_TRACE(testing::Message() << p << "," << q << "," << r);
        const int count = build(p, q, r, order);
        const ModuleTables& m = model.moduleTables;
        const int n[3] = {p, q, r};
        int withGaps = 0;
        for (int kind = 0; kind < 3; ++kind) {
            const SortedTable<PolyModule>& table = *polyTables()[kind];
            for (int i = 0; i < table.count; ++i) {
                const PolyModule& poly = table.at(i);
                EXPECT_TRUE(poly.kind == kind && poly.n == n[kind] &&
                            poly.cornerA[poly.n % 12] == nullptr)
                    << i;
                withGaps += !complete(poly);
            }
            if (model.settings.gen < 0) {
                EXPECT_EQ(table.count, count / (2 * n[kind]));
            }
        }
        EXPECT_EQ(withGaps > 0, model.settings.gen >= 0);
        for (const SortedTable<QuadModule>* quads :
             {&m.quadModuleV, &m.quadModuleE, &m.quadModuleF})
            EXPECT_TRUE(model.settings.gen >= 0 || quads->count == count);
        for (int i = 0; i < m.triModule.count; ++i) {
            const TriModule& t = m.triModule.at(i);
            for (const DataModule* d : {t.V, t.E, t.F, t.EF, t.FV, t.VE, t.VEF})
                ASSERT_NE(d, nullptr);
        }
    }
}

// c0 of a corner counts the triangles there: at most twice its order, exactly that round V and
// everywhere on the full sphere. A side point has one or two triangles beside it, where two one
// of each orientation; a centre has its own. Building the modules again counts afresh.
TEST(Modules, DrawCountersCountTheTrianglesAtEachPoint) {
    for (auto [p, q, r] : {std::tuple{2, 3, 5}, {3, 3, 3}, {7, 3, 2}}) {
        SCOPED_TRACE(testing::Message() << p << "," << q << "," << r);
        build(p, q, r, 400);
        const bool full = model.settings.gen < 0;
        const GroupTables& g = model.groupTables;
        newModules(model);
        const int orders[3] = {p, q, r};
        int k = 0, inside = 0;
        for (const DataTable* corners : {&g.dataV, &g.dataE, &g.dataF}) {
            for (int i = 0; i < corners->count; ++i) {
                const uint32_t c0 = corners->at(i).c0;
                EXPECT_TRUE(full ? c0 == 2u * orders[k] : c0 <= 2u * orders[k]);
            }
            ++k;
        }
        EXPECT_EQ(g.dataV.at(indexDataModule(g.dataV, O, 0, g.dataV.count)).c0, 2u * p);
        for (const DataTable* sides : {&g.dataEF, &g.dataFV, &g.dataVE}) {
            for (int i = 0; i < sides->count; ++i) {
                const DataModule& d = sides->at(i);
                EXPECT_TRUE(d.c0 == d.c1 && d.c2 + d.c3 == d.c1 &&
                            (d.c1 == 1 || (d.c2 == 1 && d.c3 == 1)));
                EXPECT_TRUE(d.c1 == 2 || !full);
                inside += d.c1 == 2;
            }
        }
        EXPECT_GT(inside, 0);
        for (int i = 0; i < g.dataVEF.count; ++i) EXPECT_EQ(g.dataVEF.at(i).c2, 1u);
    }
}

// A new length moves the generating point only: the group, the module tables and the tri points
// stay, and the poly points become each record's matrix applied to the new point.
TEST(Modules, MovingALengthChangesOnlyPolyPoints) {
    for (auto [p, q, r] : {std::tuple{2, 3, 5}, {2, 3, 6}, {7, 3, 2}}) {
        SCOPED_TRACE(testing::Message() << p << "," << q << "," << r);
        build(p, q, r, 300);
        // Megabytes each: kept off the stack.
        const auto before = std::make_unique<GroupTables>(model.groupTables);
        const auto modulesBefore = std::make_unique<ModuleTables>(model.moduleTables);
        setLength(model.settings, 0, 0.7);
        setPolyPoint(model.specialPoints, model.triangleGroup, model.settings);
        setPolyModules(model.groupTables, model.specialPoints);
        EXPECT_EQ(std::memcmp(modulesBefore.get(), &model.moduleTables, sizeof(ModuleTables)), 0);
        const GroupTables& old = *before;
        const DataTable* oldTables[7] = {&old.dataV,  &old.dataE,  &old.dataF,  &old.dataEF,
                                         &old.dataFV, &old.dataVE, &old.dataVEF};
        const SpecialPoints& s = model.specialPoints;
        const Point* feet[7] = {nullptr,   nullptr,   nullptr,   &s.polyEF,
                                &s.polyFV, &s.polyVE, &s.polyVEF};
        int moved = 0, k = 0;
        for (const DataTable* table : dataTables()) {
            ASSERT_EQ(table->count, oldTables[k]->count);
            for (int i = 0; i < table->count; ++i) {
                DataModule now = table->at(i);
                const DataModule& was = oldTables[k]->at(i);
                const Point expected = feet[k] ? dotP(now.matrix, *feet[k]) : was.polyPoint;
                EXPECT_EQ(std::memcmp(&now.polyPoint, &expected, sizeof(Point)), 0);
                moved += !equalsP(now.polyPoint, was.polyPoint);
                now.polyPoint = was.polyPoint;
                EXPECT_EQ(std::memcmp(&now, &was, sizeof(DataModule)), 0);
            }
            ++k;
        }
        EXPECT_GT(moved, 0);
    }
}

// Every polygon runs round its centre through its triangles: each corner is a triangle's
// incentre and the side point next to it that triangle's foot on a side, an inradius away.
TEST(Modules, EachSidePointIsTheFootOfItsCornersTriangle) {
    for (auto [p, q, r, order] : {std::tuple{2, 3, 5, 300},
                                  {2, 4, 4, 300},
                                  {7, 3, 2, 2000},
                                  {12, 12, 12, 2000},
                                  {11, 10, 5, 2000}}) {
        SCOPED_TRACE(testing::Message() << p << "," << q << "," << r);
        build(p, q, r, order);
        const int gen = model.settings.gen;
        const SpecialPoints& s = model.specialPoints;
        const double inradius = dist(gen, s.triVEF, s.triEF);
        int checked = 0;
        for (const SortedTable<PolyModule>* table : polyTables()) {
            for (int i = 0; i < table->count; ++i) {
                const PolyModule& poly = table->at(i);
                for (int j = 0; j < 2 * poly.n; ++j) {
                    const DataModule* corner = j % 2 ? poly.cornerB[j / 2] : poly.cornerA[j / 2];
                    const DataModule* side = j % 2 ? poly.sideB[j / 2] : poly.sideA[j / 2];
                    // Far out, where rounding may store one point twice, a search can find its
                    // twin: only the polygons in view are held to it.
                    if (!corner || !side || std::fabs(corner->triPoint.z) > 50) continue;
                    ++checked;
                    ASSERT_NEAR(dist(gen, corner->triPoint, side->triPoint), inradius,
                                1e-4 * (1 + inradius))
                        << "polygon " << i << " step " << j;
                }
            }
        }
        EXPECT_GT(checked, 100);
    }
}
