#include "canvas/hit_path.h"

#include <gtest/gtest.h>

namespace {

void square(HitPathLayer& layer, float x, float y, float size, bool anticlockwise) {
    layer.moveTo(x, y);
    if (anticlockwise) {
        layer.lineTo(x + size, y);
        layer.lineTo(x + size, y + size);
        layer.lineTo(x, y + size);
    } else {
        layer.lineTo(x, y + size);
        layer.lineTo(x + size, y + size);
        layer.lineTo(x + size, y);
    }
    layer.closePath();
}

TEST(HitPathLayer, FilledAreaOfSimpleAndConcaveOutlines) {
    HitPathLayer layer;
    EXPECT_FALSE(layer.contains(0, 0));  // empty path

    square(layer, 0, 0, 1, true);
    EXPECT_TRUE(layer.contains(0.5f, 0.5f));
    EXPECT_FALSE(layer.contains(1.5f, 0.5f));
    EXPECT_FALSE(layer.contains(0.5f, -0.01f));

    // An open outline is closed as a fill would close it: a triangle from two line-tos.
    layer.removeAllPoints();
    layer.moveTo(0, 0);
    layer.lineTo(2, 0);
    layer.lineTo(0, 2);
    EXPECT_TRUE(layer.contains(0.5f, 0.5f));
    EXPECT_FALSE(layer.contains(1.5f, 1.5f));

    // A dart (concave kite): the notch is outside.
    layer.removeAllPoints();
    layer.moveTo(0, 0);
    layer.lineTo(2, 1);
    layer.lineTo(0, 2);
    layer.lineTo(1, 1);
    EXPECT_TRUE(layer.contains(1.5f, 1.0f));
    EXPECT_FALSE(layer.contains(0.5f, 1.0f));
}

TEST(HitPathLayer, NonZeroWindingRule) {
    HitPathLayer layer;
    // Two overlapping squares turning the same way: the overlap stays filled.
    square(layer, 0, 0, 2, true);
    square(layer, 1, 1, 2, true);
    EXPECT_TRUE(layer.contains(1.5f, 1.5f));
    EXPECT_TRUE(layer.contains(2.5f, 2.5f));

    // A square inside one turning the other way is a hole.
    layer.removeAllPoints();
    square(layer, 0, 0, 4, true);
    square(layer, 1, 1, 2, false);
    EXPECT_FALSE(layer.contains(2, 2));
    EXPECT_TRUE(layer.contains(0.5f, 0.5f));

    // A bow tie crossing itself: both lobes are inside.
    layer.removeAllPoints();
    layer.moveTo(0, 0);
    layer.lineTo(2, 2);
    layer.lineTo(2, 0);
    layer.lineTo(0, 2);
    EXPECT_TRUE(layer.contains(0.2f, 1.0f));
    EXPECT_TRUE(layer.contains(1.8f, 1.0f));
    EXPECT_FALSE(layer.contains(1.0f, 1.8f));
}

TEST(HitPathLayer, OvalsRectanglesAndArcs) {
    HitPathLayer layer;
    layer.ovalPath(-1, -1, 2, 2);
    EXPECT_TRUE(layer.contains(0.69f, 0.69f));
    EXPECT_FALSE(layer.contains(0.72f, 0.72f));
    layer.rectPath(2, 3, 4, 1);  // replaces the oval
    EXPECT_FALSE(layer.contains(0, 0));
    EXPECT_TRUE(layer.contains(5.9f, 3.9f));
    // A half disc: an arc from 0° to 180° closed by the diameter.
    layer.removeAllPoints();
    layer.arc(0, 0, 1, 0, 180);
    EXPECT_TRUE(layer.contains(0, 0.5f));
    EXPECT_FALSE(layer.contains(0, -0.5f));
}

}  // namespace
