#include "tiling/snub.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <map>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

#include "tiling_support.h"

namespace {

// The shares of the three kinds of edge at P, from the kernel's distance and the rotations formed
// from the reflections: P to R·P with R = reflectFV·reflectVE, reflectVE·reflectEF,
// reflectEF·reflectFV.
Lengths shares(const Point& P) {
    const TriangleGroup& g = model.triangleGroup;
    const Matrix R[3] = {dotM(g.reflectFV, g.reflectVE), dotM(g.reflectVE, g.reflectEF),
                         dotM(g.reflectEF, g.reflectFV)};
    Lengths e;
    for (int k = 0; k < 3; ++k) e[k] = dist(model.settings.gen, P, dotP(R[k], P));
    const double sum = e[0] + e[1] + e[2];
    return {e[0] / sum, e[1] / sum, e[2] / sum};
}

}  // namespace

// P lands in the closed triangle with the proportions of a point of the triangle, whichever point
// that was, in every geometry, to 1e-9 on the plane and 1e-6 elsewhere; the equal proportions of
// the uniform snub are always reached. Two vanishing kinds of edge would need P at two corners at
// once: no point has them, and the one given lies in the triangle and is at least as near as any
// point of a fine scan of it.
TEST(SnubPoint, ReachesEveryProportionAPointHasAndElseTheNearestPoint) {
    srandom(17);
    for (auto [p, q, r] :
         {std::tuple{2, 3, 5}, {2, 2, 7}, {2, 2, 2}, {6, 3, 2}, {3, 3, 4}, {12, 12, 12}}) {
        makeTriangle(p, q, r);
        const int gen = model.settings.gen;
        std::vector<Lengths> targets = {{1. / 3, 1. / 3, 1. / 3}};
        for (int i = 0; i < 6; ++i) {
            targets.push_back(shares(weighted(
                {double(random() % 1000 + 1), double(random() % 1000), double(random() % 1000)})));
        }
        for (const Lengths& L : targets) {
            SCOPED_TRACE(testing::Message() << p << q << r << " L " << L[0] << " " << L[1]);
            const SnubSolution s = solveSnubPoint(model.triangleGroup, gen, L);
            EXPECT_TRUE(s.exact);
            EXPECT_TRUE(inTriangle(s.point));
            const Lengths d = shares(s.point);
            EXPECT_LE(
                std::max({std::fabs(d[0] - L[0]), std::fabs(d[1] - L[1]), std::fabs(d[2] - L[2])}),
                gen == 0 ? 1e-9 : 1e-6);
        }
        for (const Lengths& L : {Lengths{1, 0, 0}, Lengths{0, 0, 1}, Lengths{0.9, 0.05, 0.05}}) {
            SCOPED_TRACE(testing::Message()
                         << p << q << r << " out of reach " << L[0] << " " << L[2]);
            const SnubSolution s = solveSnubPoint(model.triangleGroup, gen, L);
            EXPECT_FALSE(s.exact);
            EXPECT_TRUE(inTriangle(s.point));
            auto squares = [&](const Point& P) {
                const Lengths d = shares(P);
                return std::pow(d[0] - L[0], 2) + std::pow(d[1] - L[1], 2) +
                       std::pow(d[2] - L[2], 2);
            };
            const double found = squares(s.point);
            constexpr int n = 240;
            for (int i = 0; i <= n; ++i) {
                for (int j = 0; i + j <= n; ++j)
                    ASSERT_LE(
                        found,
                        squares(weighted({1 - double(i + j) / n, double(i) / n, double(j) / n})) +
                            1e-12);
            }
        }
    }
}
