#include "render/depth_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <utility>
#include <vector>

#include "geometry/kernel.h"
#include "geometry/settings.h"

namespace {

// Records whose depth under the default view (identity, projection 2) is the z of their point.
struct Fixture {
    std::vector<DataModule> data;
    std::vector<TriModule> tris;
    std::vector<PolyModule> polys;
    std::vector<QuadModule> quads;

    explicit Fixture(const std::vector<double>& depths)
        : data(depths.size()), tris(depths.size()), polys(depths.size()), quads(depths.size()) {
        for (size_t i = 0; i < depths.size(); ++i) {
            data[i].triPoint = Point{0, 0, depths[i]};
            tris[i].VEF = &data[i];
            polys[i].centre = &data[i];
            quads[i].key = Point{0, 0, depths[i]};
        }
        DrawLists& d = drawLists;
        d.polyCount = d.quadCount = static_cast<int>(depths.size());
        d.triCount = std::min(d.polyCount, kCapacity);
        for (size_t i = 0; i < depths.size(); ++i) {
            if (i < d.tri.size()) d.tri[i] = &tris[i];
            d.poly[i] = &polys[i];
            d.quad[i] = &quads[i];
        }
    }
    // Positions of the original entries in each list after sorting.
    std::vector<int> triOrder() const {
        std::vector<int> out;
        for (int i = 0; i < drawLists.triCount; ++i) out.push_back(drawLists.tri[i] - tris.data());
        return out;
    }
    std::vector<int> polyOrder() const {
        std::vector<int> out;
        for (int i = 0; i < drawLists.polyCount; ++i)
            out.push_back(drawLists.poly[i] - polys.data());
        return out;
    }
    std::vector<int> quadOrder() const {
        std::vector<int> out;
        for (int i = 0; i < drawLists.quadCount; ++i)
            out.push_back(drawLists.quad[i] - quads.data());
        return out;
    }
};

// The sort written plainly, recursion and all, for comparison.
void referenceSort(std::vector<std::pair<double, int>>& e, int lo, int hi) {
    auto pairStep = [&](int a, int b) {
        if (e[a].first - e[b].first > h) std::swap(e[a], e[b]);
    };
    if (hi - lo == 1) {
        pairStep(lo, hi);
        return;
    }
    while (lo < hi) {
        int m = (lo + hi) / 2;
        std::swap(e[m], e[hi]);
        double k = e[hi].first;
        int i = lo, j = hi;
        for (;;) {
            bool met = false;
            while (e[i].first - k <= h) {
                if (++i == j) {
                    met = true;
                    break;
                }
            }
            if (met) break;
            while (k - e[j].first <= h) {
                if (--j == i) {
                    met = true;
                    break;
                }
            }
            if (met) break;
            std::swap(e[i], e[j]);
        }
        int p = i;
        std::swap(e[p], e[hi]);
        referenceSort(e, lo, p - 1);
        lo = p + 1;
        if (hi - lo == 1) {
            pairStep(lo, hi);
            return;
        }
    }
}

std::vector<int> referenceOrder(const std::vector<double>& depths) {
    std::vector<std::pair<double, int>> e;
    for (size_t i = 0; i < depths.size(); ++i) e.push_back({depths[i], static_cast<int>(i)});
    referenceSort(e, 0, static_cast<int>(e.size()) - 1);
    std::vector<int> out;
    for (auto& [d, i] : e) out.push_back(i);
    return out;
}

// The module tables are megabytes; emptying them is clearing their counts.
void clearModuleTables() {
    ModuleTables& m = moduleTables;
    m.triModule.count = 0;
    m.polyModuleV.count = m.polyModuleE.count = m.polyModuleF.count = 0;
    m.quadModuleV.count = m.quadModuleE.count = m.quadModuleF.count = 0;
}

void resetAll() {
    settings = Settings{};
    drawLists = DrawLists{};
}

}  // namespace

TEST(DepthSort, TwoEntriesSwapOnlyBeyondTheTolerance) {
    struct Row {
        const char* name;
        double a, b;
        std::vector<int> expected;
    };
    for (const Row& row :
         {Row{"0.3 then 0.2", 0.3, 0.2, {1, 0}}, Row{"0.3 then 0.3+1e-7", 0.3, 0.3 + 1e-7, {0, 1}},
          Row{"0.3+1e-7 then 0.3", 0.3 + 1e-7, 0.3, {0, 1}},
          Row{"0.2 then 0.3", 0.2, 0.3, {0, 1}}}) {
        SCOPED_TRACE(row.name);
        resetAll();
        Fixture f({row.a, row.b});
        setOrder();
        EXPECT_EQ(f.triOrder(), row.expected);
        EXPECT_EQ(f.polyOrder(), row.expected);
        EXPECT_EQ(f.quadOrder(), row.expected);
    }
}

TEST(DepthSort, ThreeEqualDepthsMoveTheMiddleOneToTheEnd) {
    resetAll();
    Fixture f({0.5, 0.5, 0.5});
    setOrder();
    const std::vector<int> acb{0, 2, 1};
    EXPECT_EQ(f.triOrder(), acb);
    EXPECT_EQ(f.polyOrder(), acb);
    EXPECT_EQ(f.quadOrder(), acb);
}

TEST(DepthSort, EmptyAndSingleListsStayAsTheyAre) {
    resetAll();
    setOrder();
    EXPECT_EQ(drawLists.triCount, 0);
    Fixture f({0.7});
    setOrder();
    EXPECT_EQ(f.triOrder(), std::vector<int>{0});
    sortTri(0, -1);
    sortQuad(3, 2);
    EXPECT_EQ(f.quadOrder(), std::vector<int>{0});
}

TEST(DepthSort, LongestListOfEqualDepthsMatchesThePlainSort) {
    // Every element of the Euclidean plane under projections 0..2 has depth 1.
    resetAll();
    const int n = 3 * kCapacity;
    std::vector<double> depths(n, 1.0);
    Fixture f(depths);
    setOrder();
    std::vector<int> expected = referenceOrder(depths);
    EXPECT_EQ(f.quadOrder(), expected);
    EXPECT_EQ(f.polyOrder(), expected);
}

TEST(DepthSort, AgreesWithThePlainSortOnTiesNearTheTolerance) {
    // Depths drawn from a few levels, each jittered within or just beyond h, so that ties are
    // not transitive and the visiting order decides the result.
    std::mt19937 gen(12345);
    struct Row {
        const char* name;
        int n, levels;
        double jitter;
    };
    for (const Row& row :
         {Row{"distinct", 300, 0, 0}, Row{"few levels", 500, 4, 0},
          Row{"jitter inside h", 700, 6, 0.4e-6}, Row{"jitter across h", 900, 5, 3e-6},
          Row{"two levels long", 4000, 2, 0.9e-6}, Row{"one level jittered", 2500, 1, 1.5e-6}}) {
        for (int trial = 0; trial < 8; ++trial) {
            SCOPED_TRACE(testing::Message() << row.name << " trial " << trial);
            std::uniform_real_distribution<double> unit(-1, 1);
            std::uniform_int_distribution<int> level(0, std::max(0, row.levels - 1));
            std::vector<double> depths(row.n);
            for (double& d : depths) {
                d = row.levels == 0 ? unit(gen) : 0.25 * level(gen) + row.jitter * unit(gen);
            }
            resetAll();
            Fixture f(depths);
            setOrder();
            std::vector<int> expected = referenceOrder(depths);
            if (row.n <= kCapacity) {
                EXPECT_EQ(f.triOrder(), expected);
            }
            EXPECT_EQ(f.polyOrder(), expected);
            EXPECT_EQ(f.quadOrder(), expected);
        }
    }
}

TEST(DepthSort, SortsAPartOfTheListOnly) {
    resetAll();
    Fixture f({0.9, 0.8, 0.7, 0.6, 0.5, 0.4});
    sortTri(1, 4);
    EXPECT_EQ(f.triOrder(), (std::vector<int>{0, 4, 3, 2, 1, 5}));
}

TEST(DepthSort, EndsOnDepthsThatAreNotNumbers) {
    resetAll();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    Fixture f({0.3, nan, -inf, 0.1, inf, nan, 0.2, 0.3, inf, -inf});
    setOrder();
    std::vector<int> order = f.quadOrder();
    ASSERT_EQ(order.size(), 10u);
    // The finite ones keep their order among themselves: 0.1, 0.2, 0.3, 0.3 after the far ones.
    std::vector<double> finite;
    for (int i : order) {
        double d = f.quads[i].key.z;
        if (std::isfinite(d)) finite.push_back(d);
    }
    EXPECT_EQ(finite, (std::vector<double>{0.1, 0.2, 0.3, 0.3}));

    // A view matrix broken into NaNs leaves every depth tied; the sort still ends.
    settings.pointMatrix.m20 = nan;
    setOrder();
    EXPECT_EQ(f.quadOrder().size(), 10u);
}

TEST(DepthKey, FollowsTheViewAndTheProjection) {
    struct Row {
        const char* name;
        int project, gen;
        double expected;  // depth of the point (0.1, 0.2, 0.3) under the view below
    };
    // The view swaps nothing but scales the axes apart: x → 2x, y → 3y, z → 5z.
    Matrix view{1, 2, 0, 0, 0, 3, 0, 0, 0, 5};
    for (const Row& row :
         {Row{"projection 0", 0, 1, 1.5}, Row{"projection 2", 2, -1, 1.5},
          Row{"projection 3, sphere", 3, -1, 0.2}, Row{"projection 4, hyperbolic", 4, 1, 0.2},
          Row{"projection 5, plane", 5, 0, 0.6}, Row{"projection 3, plane", 3, 0, 0.6}}) {
        SCOPED_TRACE(row.name);
        resetAll();
        settings.pointMatrix = view;
        settings.project3D2D = row.project;
        settings.gen = row.gen;
        DataModule centre;
        centre.triPoint = Point{0.1, 0.2, 0.3};
        TriModule tri;
        tri.VEF = &centre;
        PolyModule poly;
        poly.centre = &centre;
        QuadModule quad;
        quad.key = centre.triPoint;
        EXPECT_DOUBLE_EQ(depthTri(tri), row.expected);
        EXPECT_DOUBLE_EQ(depthPoly(poly), row.expected);
        EXPECT_DOUBLE_EQ(depthQuad(quad), row.expected);
    }
}

TEST(DrawLists, SetShapeListsEveryRecordInTableOrderThenSorts) {
    resetAll();
    clearModuleTables();
    // Three poly tables of two records each and three quad tables of two; depths distinct and
    // falling in table order, so the sorted lists are the table order reversed.
    std::vector<DataModule> centres(6);
    ModuleTables& m = moduleTables;
    SortedTable<PolyModule>* polyTables[3] = {&m.polyModuleV, &m.polyModuleE, &m.polyModuleF};
    SortedTable<QuadModule>* quadTables[3] = {&m.quadModuleV, &m.quadModuleE, &m.quadModuleF};
    for (int t = 0; t < 3; ++t) {
        for (int i = 0; i < 2; ++i) {
            int k = 2 * t + i;
            centres[k].triPoint = Point{0, 0, 1.0 - 0.1 * k};
            polyTables[t]->pool[i].centre = &centres[k];
            polyTables[t]->order[i] = static_cast<uint16_t>(1 - i);  // pool slots in reverse
            quadTables[t]->pool[i].key = centres[k].triPoint;
            quadTables[t]->order[i] = static_cast<uint16_t>(1 - i);
        }
        polyTables[t]->count = quadTables[t]->count = 2;
    }
    m.triModule.count = 1;
    m.triModule.pool[0].VEF = &centres[0];
    setShape();
    ASSERT_EQ(drawLists.triCount, 1);
    ASSERT_EQ(drawLists.polyCount, 6);
    ASSERT_EQ(drawLists.quadCount, 6);
    // Table order of kind t is pool slots 1, 0, which hold depths of k = 2t + 1, 2t: the list
    // before sorting is k = 1, 0, 3, 2, 5, 4 with depths falling except within each pair.
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        EXPECT_DOUBLE_EQ(drawLists.poly[i]->centre->triPoint.z, 0.5 + 0.1 * i);
        EXPECT_DOUBLE_EQ(drawLists.quad[i]->key.z, 0.5 + 0.1 * i);
    }

    // With every depth tied the outcome is a fixed permutation of the fill order, which shows
    // that order: V, E, F tables one after the other, each in table order.
    for (int t = 0; t < 3; ++t) {
        for (int i = 0; i < 2; ++i) quadTables[t]->pool[i].key = Point{0, 0, 1};
    }
    for (DataModule& c : centres) c.triPoint = Point{0, 0, 1};
    setShape();
    std::vector<int> tied = referenceOrder(std::vector<double>(6, 1.0));
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        int k = tied[i];  // position in the fill
        EXPECT_EQ(drawLists.poly[i], &polyTables[k / 2]->at(k % 2));
        EXPECT_EQ(drawLists.quad[i], &quadTables[k / 2]->at(k % 2));
    }
    clearModuleTables();
    drawLists = DrawLists{};
}
