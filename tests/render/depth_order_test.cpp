#include "render/depth_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <tuple>
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

// Depths drawn from a few levels, each jittered within or just beyond h, so that ties are not
// transitive; the longest lists all tied; some not numbers at all. Every element is listed once,
// and far elements come first: no finite depth is followed by one more than a few tolerances
// smaller. With every depth not a number the sort still ends.
TEST(DepthSort, ListsEveryElementOnceFarthestFirst) {
    std::mt19937 gen(12345);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const double notFinite[] = {nan, inf, -inf};
    const std::tuple<int, int, double> rows[] = {{300, 0, 0},           {700, 6, 0.4e-6},
                                                 {900, 5, 3e-6},        {4000, 2, 0.9e-6},
                                                 {3 * kCapacity, 1, 0}, {60, -1, 0}};
    for (const auto& [n, levels, jitter] : rows) {
        SCOPED_TRACE(testing::Message() << n << " " << levels << " " << jitter);
        std::uniform_real_distribution<double> unit(-1, 1);
        std::uniform_int_distribution<int> level(0, std::max(0, levels - 1));
        std::vector<double> depths(n);
        for (double& d : depths)
            d = levels <= 0 ? unit(gen) : 0.25 * level(gen) + jitter * unit(gen);
        if (levels < 0)
            for (int i = 0; i < n; i += 3) depths[i] = notFinite[i % 9 / 3];
        Fixture f(depths);
        setOrder(model);
        const std::vector<int> order = f.order();
        std::vector<int> sorted = order;
        std::sort(sorted.begin(), sorted.end());
        for (int i = 0; i < n; ++i) ASSERT_EQ(sorted[i], i);
        double last = -inf;
        for (int i : order) {
            if (!std::isfinite(depths[i])) continue;
            ASSERT_LE(last - depths[i], 4 * h) << i;
            last = depths[i];
        }
        model.settings.pointMatrix.m20 = nan;
        setOrder(model);
        EXPECT_EQ(f.order().size(), size_t(n));
    }
}
