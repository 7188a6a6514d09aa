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
#include "test_model.h"

namespace {

// Records whose depth under the default view (identity, projection 2) is the z of their point,
// listed in the draw lists in index order.
struct Fixture {
    std::vector<DataModule> data;
    std::vector<TriModule> tris;
    std::vector<PolyModule> polys;
    std::vector<QuadModule> quads;

    explicit Fixture(const std::vector<double>& depths)
        : data(depths.size()), tris(depths.size()), polys(depths.size()), quads(depths.size()) {
        model.settings = Settings{};
        model.drawLists = DrawLists{};
        DrawLists& d = model.drawLists;
        d.polyCount = d.quadCount = int(depths.size());
        d.triCount = std::min(d.polyCount, kCapacity);
        for (size_t i = 0; i < depths.size(); ++i) {
            data[i].triPoint = quads[i].key = Point{0, 0, depths[i]};
            tris[i].VEF = polys[i].centre = &data[i];
            if (int(i) < d.triCount) d.tri[i] = &tris[i];
            d.poly[i] = &polys[i];
            d.quad[i] = &quads[i];
        }
    }
    // Original indices in list order; the three lists must agree.
    std::vector<int> order() const {
        std::vector<int> tri, poly, quad;
        for (int i = 0; i < model.drawLists.triCount; ++i)
            tri.push_back(model.drawLists.tri[i] - tris.data());
        for (int i = 0; i < model.drawLists.polyCount; ++i) {
            poly.push_back(model.drawLists.poly[i] - polys.data());
            quad.push_back(model.drawLists.quad[i] - quads.data());
        }
        EXPECT_EQ(poly, quad);
        if (model.drawLists.triCount == model.drawLists.polyCount) {
            EXPECT_EQ(tri, quad);
        }
        return quad;
    }
};

}  // namespace

TEST(DepthSort, TiesWithinTheToleranceStayAndEqualDepthsGoACB) {
    struct Row {
        std::vector<double> depths;
        std::vector<int> expected;
    };
    for (const Row& row :
         {Row{{0.3, 0.2}, {1, 0}}, Row{{0.3, 0.3 + 1e-7}, {0, 1}}, Row{{0.3 + 1e-7, 0.3}, {0, 1}},
          Row{{0.2, 0.3}, {0, 1}}, Row{{0.5, 0.5, 0.5}, {0, 2, 1}}, Row{{0.7}, {0}}, Row{{}, {}}}) {
        SCOPED_TRACE(testing::PrintToString(row.depths));
        Fixture f(row.depths);
        setOrder(model);
        EXPECT_EQ(f.order(), row.expected);
    }
}

// Depths drawn from a few levels, each jittered within or just beyond h, so that ties are not
// transitive; the longest lists all tied. Far elements come first: no depth is followed by one
// more than a few tolerances smaller, and every element is listed once.
TEST(DepthSort, ListsEveryElementOnceFarthestFirst) {
    std::mt19937 gen(12345);
    struct Row {
        int n, levels;
        double jitter;
    };
    for (const Row& row : {Row{300, 0, 0}, Row{700, 6, 0.4e-6}, Row{900, 5, 3e-6},
                           Row{4000, 2, 0.9e-6}, Row{3 * kCapacity, 1, 0}}) {
        SCOPED_TRACE(testing::Message() << row.n << " " << row.levels << " " << row.jitter);
        std::uniform_real_distribution<double> unit(-1, 1);
        std::uniform_int_distribution<int> level(0, std::max(0, row.levels - 1));
        std::vector<double> depths(row.n);
        for (double& d : depths)
            d = row.levels == 0 ? unit(gen) : 0.25 * level(gen) + row.jitter * unit(gen);
        Fixture f(depths);
        setOrder(model);
        const std::vector<int> order = f.order();
        std::vector<int> sorted = order;
        std::sort(sorted.begin(), sorted.end());
        for (int i = 0; i < row.n; ++i) ASSERT_EQ(sorted[i], i);
        for (int i = 1; i < row.n; ++i)
            ASSERT_LE(depths[order[i - 1]] - depths[order[i]], 4 * h) << i;
    }
}

TEST(DepthSort, EndsOnDepthsThatAreNotNumbers) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    Fixture f({0.3, nan, -inf, 0.1, inf, nan, 0.2, 0.3, inf, -inf});
    setOrder(model);
    std::vector<double> finite;  // the finite ones keep their order among themselves
    for (int i : f.order())
        if (std::isfinite(f.quads[i].key.z)) finite.push_back(f.quads[i].key.z);
    EXPECT_EQ(finite, (std::vector<double>{0.1, 0.2, 0.3, 0.3}));
    model.settings.pointMatrix.m20 = nan;  // every depth tied: the sort still ends
    setOrder(model);
    EXPECT_EQ(f.order().size(), 10u);
}
