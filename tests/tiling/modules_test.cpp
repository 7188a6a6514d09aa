#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <tuple>
#include <vector>

#include "test_model.h"
#include "tiling_support.h"

namespace {

void build(int p, int q, int r, int groupOrder, int project = 2) {
    makeTriangle(p, q, r);
    model.settings.groupOrder = groupOrder;
    model.settings.project3D2D = project;
    setGroup(model);
    newModules(model);
}

std::vector<const SortedTable<PolyModule>*> polyTables() {
    const ModuleTables& m = model.moduleTables;
    return {&m.polyModuleV, &m.polyModuleE, &m.polyModuleF};
}

std::vector<const SortedTable<QuadModule>*> quadTables() {
    const ModuleTables& m = model.moduleTables;
    return {&m.quadModuleV, &m.quadModuleE, &m.quadModuleF};
}

bool complete(const PolyModule& poly) {
    for (int i = 0; i < poly.n; ++i) {
        if (!poly.cornerA[i] || !poly.sideA[i] || !poly.cornerB[i] || !poly.sideB[i]) return false;
    }
    return poly.centre != nullptr;
}

}  // namespace

TEST(Modules, EveryFullSphericalGroupHasCompletePolygons) {
    for (auto [p, q, r] :
         {std::tuple{2, 3, 5}, {2, 3, 4}, {2, 3, 3}, {2, 2, 7}, {4, 3, 2}, {2, 2, 2}}) {
        SCOPED_TRACE(testing::Message() << p << "," << q << "," << r);
        build(p, q, r, 2000);
        const int order = model.settings.groupOrderMax;
        ASSERT_EQ(model.groupTables.matrixCount(), order);
        EXPECT_EQ(model.moduleTables.triModule.count, order);
        const int n[3] = {p, q, r};
        for (int kind = 0; kind < 3; ++kind) {
            const SortedTable<PolyModule>& table = *polyTables()[kind];
            EXPECT_EQ(table.count, order / (2 * n[kind]));
            for (int i = 0; i < table.count; ++i) {
                const PolyModule& poly = table.at(i);
                EXPECT_TRUE(poly.kind == kind && poly.n == n[kind] && complete(poly)) << i;
                for (int j = poly.n; j < 12; ++j) EXPECT_EQ(poly.cornerA[j], nullptr);
            }
            EXPECT_EQ(quadTables()[kind]->count, order);
        }
    }
}

TEST(Modules, RimPolygonsHaveGapsWhileTrianglesAreComplete) {
    for (auto [p, q, r] : {std::tuple{2, 4, 4}, {3, 3, 3}, {7, 3, 2}, {5, 5, 5}}) {
        SCOPED_TRACE(testing::Message() << p << "," << q << "," << r);
        build(p, q, r, 200);
        int withGaps = 0, whole = 0;
        for (const SortedTable<PolyModule>* table : polyTables()) {
            for (int i = 0; i < table->count; ++i) {
                complete(table->at(i)) ? ++whole : ++withGaps;
            }
        }
        EXPECT_GT(withGaps, 0);
        EXPECT_GT(whole, 0);
        for (int i = 0; i < model.moduleTables.triModule.count; ++i) {
            const TriModule& t = model.moduleTables.triModule.at(i);
            for (const DataModule* d : {t.V, t.E, t.F, t.EF, t.FV, t.VE, t.VEF}) {
                ASSERT_NE(d, nullptr);
            }
        }
    }
}

TEST(Modules, DrawCountersCountTheTrianglesAtEachPoint) {
    for (auto [p, q, r, full] : {std::tuple{2, 3, 5, true}, {3, 3, 3, false}, {7, 3, 2, false}}) {
        SCOPED_TRACE(testing::Message() << p << "," << q << "," << r);
        build(p, q, r, 400);
        const GroupTables& g = model.groupTables;
        // The corner records: c0 is the number of enumerated triangles there, at most 2·order,
        // exactly that round V of the fundamental triangle (and everywhere on the full sphere).
        const DataTable* corners[3] = {&g.dataV, &g.dataE, &g.dataF};
        const int orders[3] = {p, q, r};
        for (int k = 0; k < 3; ++k) {
            for (int i = 0; i < corners[k]->count; ++i) {
                const DataModule& d = corners[k]->at(i);
                EXPECT_LE(d.c0, 2u * orders[k]);
                if (full) {
                    EXPECT_EQ(d.c0, 2u * orders[k]);
                }
            }
        }
        const int v0 = indexDataModule(g.dataV, model.triangleGroup.triV, 0, g.dataV.count);
        EXPECT_EQ(g.dataV.at(v0).c0, 2u * p);
        // Side points: one or two triangles; where two, one of each orientation.
        int inside = 0;
        for (const DataTable* sides : {&g.dataEF, &g.dataFV, &g.dataVE}) {
            for (int i = 0; i < sides->count; ++i) {
                const DataModule& d = sides->at(i);
                EXPECT_TRUE(d.c1 == 1 || d.c1 == 2);
                EXPECT_EQ(d.c0, d.c1);
                EXPECT_EQ(d.c2 + d.c3, d.c1);
                if (d.c1 == 2) {
                    ++inside;
                    EXPECT_EQ(d.c2, 1u);
                    EXPECT_EQ(d.c3, 1u);
                }
                if (full) {
                    EXPECT_EQ(d.c1, 2u);
                }
            }
        }
        EXPECT_GT(inside, 0);
        for (int i = 0; i < g.dataVEF.count; ++i) EXPECT_EQ(g.dataVEF.at(i).c2, 1u);
        // Building the modules again counts afresh rather than on top.
        newModules(model);
        EXPECT_EQ(g.dataV.at(v0).c0, 2u * p);
        for (int i = 0; i < g.dataVEF.count; ++i) EXPECT_EQ(g.dataVEF.at(i).c2, 1u);
    }
}

// A new length moves the generating point only: the group, the module tables and the tri points
// stay, and the poly points become each record's matrix applied to the new point.
TEST(Modules, MovingALengthChangesOnlyPolyPoints) {
    for (auto [p, q, r] : {std::tuple{2, 3, 5}, {2, 3, 6}, {7, 3, 2}}) {
        SCOPED_TRACE(testing::Message() << p << "," << q << "," << r);
        build(p, q, r, 300);
        const int count = model.groupTables.matrixCount();
        // Megabytes each: kept off the stack.
        const auto before = std::make_unique<GroupTables>(model.groupTables);
        const auto modulesBefore = std::make_unique<ModuleTables>(model.moduleTables);
        setLength(model.settings, 0, 0.7);
        setPolyPoint(model.specialPoints, model.triangleGroup, model.settings);
        setPolyModules(model.groupTables, model.specialPoints);
        EXPECT_EQ(model.groupTables.matrixCount(), count);
        EXPECT_EQ(std::memcmp(modulesBefore.get(), &model.moduleTables, sizeof(ModuleTables)), 0);
        const std::vector<DataTable*> tables = dataTables();
        const GroupTables& old = *before;
        const DataTable* oldTables[7] = {&old.dataV,  &old.dataE,  &old.dataF,  &old.dataEF,
                                         &old.dataFV, &old.dataVE, &old.dataVEF};
        const SpecialPoints& s = model.specialPoints;
        const Point* feet[7] = {nullptr,   nullptr,   nullptr,   &s.polyEF,
                                &s.polyFV, &s.polyVE, &s.polyVEF};
        int moved = 0;
        for (int k = 0; k < 7; ++k) {
            ASSERT_EQ(tables[k]->count, oldTables[k]->count);
            for (int i = 0; i < tables[k]->count; ++i) {
                const DataModule& now = tables[k]->at(i);
                const DataModule& was = oldTables[k]->at(i);
                EXPECT_EQ(std::memcmp(&now.triPoint, &was.triPoint, sizeof(Point)), 0);
                EXPECT_TRUE(equalsM(now.matrix, was.matrix));
                EXPECT_EQ(now.c0, was.c0);
                EXPECT_TRUE(now.triColor == was.triColor && now.polyColor == was.polyColor);
                if (!feet[k]) {
                    EXPECT_EQ(std::memcmp(&now.polyPoint, &was.polyPoint, sizeof(Point)), 0);
                    continue;
                }
                const Point expected = dotP(now.matrix, *feet[k]);
                EXPECT_EQ(std::memcmp(&now.polyPoint, &expected, sizeof(Point)), 0);
                moved += !equalsP(now.polyPoint, was.polyPoint);
            }
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
                for (int j = 0; j < poly.n; ++j) {
                    for (auto [corner, side] : {std::pair{poly.cornerA[j], poly.sideA[j]},
                                                {poly.cornerB[j], poly.sideB[j]}}) {
                        if (!corner || !side) continue;
                        // Far out, where rounding may store one point twice, a search can find
                        // its twin: only the polygons in view are held to it.
                        if (std::fabs(corner->triPoint.z) > 50) continue;
                        ++checked;
                        ASSERT_NEAR(dist(gen, corner->triPoint, side->triPoint), inradius,
                                    1e-4 * (1 + inradius))
                            << "polygon " << i << " step " << j;
                    }
                }
            }
        }
        EXPECT_GT(checked, 100);
    }
}
