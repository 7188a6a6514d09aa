#include "geometry/triangle_group.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <tuple>

#include "geometry/settings.h"

// Orders 2..12 in every place, of the asked geometry (its type as setGenType gives it), all of
// them on the hyperbolic plane; the plane has exactly ten arrangements of them. How each triangle
// is placed is checked over every triangle with the tiling's stages.
TEST(TriangleGroup, RandomGeneratorsMatchTheAskedGeometry) {
    srandom(12345);
    for (int geometry : {0, 1, 2}) {
        std::set<std::tuple<int, int, int>> seen;
        std::set<int> orders[3];
        for (int i = 0; i < 300; ++i) {
            Settings s;
            s.geometry = geometry;
            ranGen(s);
            const int gen = s.gen;
            setGenType(s);
            ASSERT_EQ(s.gen, gen);
            ASSERT_EQ(geometry, gen < 0 ? 0 : gen == 0 ? 1 : 2);
            seen.insert({s.genV, s.genE, s.genF});
            const int drawn[3] = {s.genV, s.genE, s.genF};
            for (int k = 0; k < 3; ++k) orders[k].insert(drawn[k]);
        }
        for (const std::set<int>& o : orders) {
            EXPECT_TRUE(*o.begin() >= 2 && *o.rbegin() <= 12);
            EXPECT_TRUE(geometry != 2 || o.size() == 11u);
        }
        EXPECT_TRUE(geometry != 1 || seen.size() == 10u);
    }
}
