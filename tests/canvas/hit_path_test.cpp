#include "canvas/hit_path.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>
#include <vector>

namespace {

// Filled area under the non-zero winding rule: open outlines closed as a fill closes them.
TEST(HitPathLayer, ContainsFollowsTheNonZeroWindingRule) {
    struct Probe {
        float x, y;
        bool inside;
    };
    struct Row {
        const char* name;
        std::vector<std::pair<float, float>> outline;  // one subpath per run, split at NaN
        std::vector<Probe> probes;
    };
    const float cut = std::numeric_limits<float>::quiet_NaN();
    const Row rows[] = {
        {"open triangle", {{0, 0}, {2, 0}, {0, 2}}, {{0.5f, 0.5f, true}, {1.5f, 1.5f, false}}},
        {"dart: the notch is outside",
         {{0, 0}, {2, 1}, {0, 2}, {1, 1}},
         {{1.5f, 1, true}, {0.5f, 1, false}}},
        {"overlapping squares, same turn",
         {{0, 0}, {2, 0}, {2, 2}, {0, 2}, {cut, 0}, {1, 1}, {3, 1}, {3, 3}, {1, 3}},
         {{1.5f, 1.5f, true}, {2.5f, 2.5f, true}, {2.5f, 0.5f, false}}},
        {"square with a hole turning the other way",
         {{0, 0}, {4, 0}, {4, 4}, {0, 4}, {cut, 0}, {1, 1}, {1, 3}, {3, 3}, {3, 1}},
         {{2, 2, false}, {0.5f, 0.5f, true}}},
        {"bow tie",
         {{0, 0}, {2, 2}, {2, 0}, {0, 2}},
         {{0.2f, 1, true}, {1.8f, 1, true}, {1, 1.8f, false}}},
    };
    HitPathLayer layer;
    EXPECT_FALSE(layer.contains(0, 0));  // empty path
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        layer.removeAllPoints();
        bool start = true;
        for (auto [x, y] : row.outline) {
            if (std::isnan(x)) {
                layer.closePath();
                start = true;
            } else if (start) {
                layer.moveTo(x, y);
                start = false;
            } else {
                layer.lineTo(x, y);
            }
        }
        for (const Probe& p : row.probes) EXPECT_EQ(layer.contains(p.x, p.y), p.inside);
    }
    layer.ovalPath(-1, -1, 2, 2);
    EXPECT_TRUE(layer.contains(0.69f, 0.69f));
    EXPECT_FALSE(layer.contains(0.72f, 0.72f));
    layer.removeAllPoints();
    layer.arc(0, 0, 1, 0, 180);  // a half disc closed by the diameter
    EXPECT_TRUE(layer.contains(0, 0.5f));
    EXPECT_FALSE(layer.contains(0, -0.5f));
}

}  // namespace
