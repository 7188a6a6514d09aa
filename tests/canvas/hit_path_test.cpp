#include "canvas/hit_path.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

void outline(HitPathLayer& layer, std::vector<std::pair<float, float>> points) {
    layer.moveTo(points[0].first, points[0].second);
    for (size_t i = 1; i < points.size(); ++i) layer.lineTo(points[i].first, points[i].second);
}

// Filled area under the non-zero winding rule; an open outline is closed as a fill closes it.
TEST(HitPathLayer, ContainsFollowsTheNonZeroWindingRule) {
    HitPathLayer layer;
    EXPECT_FALSE(layer.contains(0, 0));  // empty path
    outline(layer, {{0, 0}, {2, 1}, {0, 2}, {1, 1}});  // a dart: the notch is outside
    EXPECT_TRUE(layer.contains(1.5f, 1));
    EXPECT_FALSE(layer.contains(0.5f, 1));

    layer.removeAllPoints();  // a square with a hole turning the other way
    outline(layer, {{0, 0}, {4, 0}, {4, 4}, {0, 4}});
    layer.closePath();
    outline(layer, {{1, 1}, {1, 3}, {3, 3}, {3, 1}});
    EXPECT_FALSE(layer.contains(2, 2));
    EXPECT_TRUE(layer.contains(0.5f, 0.5f));

    layer.removeAllPoints();  // a bow tie crossing itself: both lobes are inside
    outline(layer, {{0, 0}, {2, 2}, {2, 0}, {0, 2}});
    EXPECT_TRUE(layer.contains(0.2f, 1));
    EXPECT_TRUE(layer.contains(1.8f, 1));
    EXPECT_FALSE(layer.contains(1, 1.8f));

    layer.ovalPath(-1, -1, 2, 2);  // replaces the path
    EXPECT_TRUE(layer.contains(0.69f, 0.69f));
    EXPECT_FALSE(layer.contains(0.72f, 0.72f));
    layer.removeAllPoints();
    layer.arc(0, 0, 1, 0, 180);  // a half disc closed by the diameter
    EXPECT_TRUE(layer.contains(0, 0.5f));
    EXPECT_FALSE(layer.contains(0, -0.5f));
}

}  // namespace
