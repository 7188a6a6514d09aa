#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>

#include "tiling_support.h"

namespace {

Point lengths() {
    return {model.settings.lengthV, model.settings.lengthE, model.settings.lengthF};
}

}  // namespace

// Proportions that are no use (all zero, not a number, negative) still give a finite point.
TEST(GeneratingPoint, UnusableProportionsGiveAFinitePoint) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (auto [p, q, r] : {std::tuple{2, 3, 5}, {3, 3, 3}, {7, 3, 2}}) {
        for (Lengths L : {Lengths{0, 0, 0}, Lengths{nan, 0.5, 0.5}, Lengths{-1, 1, 1}}) {
            makeTriangle(p, q, r, L[0], L[1], L[2]);
            EXPECT_TRUE(finite(model.specialPoints.polyVEF) && finite(model.specialPoints.polyEF))
                << p << q << r << " " << L[0] << "," << L[1] << "," << L[2];
        }
    }
}

// A step toward equal shares of the flagged kinds; setting one share rebalances the other two.
TEST(Lengths, EqualizeAndSetOne) {
    Settings& s = model.settings;
    s = Settings{};
    s.lengthV = 1, s.lengthE = 0, s.lengthF = 0;
    equalizeLength(s);
    EXPECT_TRUE(near(lengths(), Point{5.0 / 6, 1.0 / 12, 1.0 / 12}, 1e-15));
    // Only E flagged: E's share grows toward 1, the others shrink toward 0.
    s = Settings{};
    s.uniformV = s.uniformF = false;
    s.lengthV = 0.2, s.lengthE = 0.3, s.lengthF = 0.5;
    for (int i = 0; i < 200; ++i) equalizeLength(s);
    EXPECT_NEAR(s.lengthE, 1, 1e-12);
    // A full step onto zero targets leaves nothing to divide: equal thirds.
    s = Settings{};
    s.uniformV = s.uniformE = s.uniformF = false;
    s.lengthStep = 1;
    equalizeLength(s);
    EXPECT_TRUE(near(lengths(), Point{1.0 / 3, 1.0 / 3, 1.0 / 3}, 1e-15));

    const std::tuple<int, double, Point, Point> rows[] = {
        {0, 0.6, {0.2, 0.3, 0.5}, {0.6, 0.15, 0.25}},
        {0, 0.4, {1, 0, 0}, {0.4, 0.3, 0.3}},
        {1, 0.5, {0.25, 0.25, 0.5}, {1.0 / 6, 0.5, 1.0 / 3}},
    };
    for (const auto& [which, value, before, after] : rows) {
        s.lengthV = before.x, s.lengthE = before.y, s.lengthF = before.z;
        setLength(s, which, value);
        EXPECT_TRUE(near(lengths(), after, 1e-15)) << which << " to " << value;
    }
}

// Moving P inside the triangle sets the proportions from its edges, and placing P from them
// finds the same point again.
TEST(Lengths, MovingPSetsTheProportionsFromItsEdges) {
    for (auto [p, q, r] : {std::tuple{2, 3, 5}, {2, 4, 4}, {7, 3, 2}}) {
        SCOPED_TRACE(testing::Message() << p << "," << q << "," << r);
        makeTriangle(p, q, r, 0.2, 0.3, 0.5);
        SpecialPoints& s = model.specialPoints;
        const TriangleGroup& g = model.triangleGroup;
        Point P;
        linCom(P, 0.6, g.triV, 0.25, g.triE);
        linCom(P, 1, P, 0.15, g.triF);
        normalize(model.settings.gen, s.polyVEF, P);
        setLengthFromPoint(model);
        const Lengths edges = ratios(s.polyVEF);
        EXPECT_TRUE(near(lengths(), Point{edges[0], edges[1], edges[2]}, 1e-15));
        const Point moved = s.polyVEF;
        setPolyPoint(model.specialPoints, model.triangleGroup, model.settings);
        EXPECT_NEAR(dist(model.settings.gen, moved, s.polyVEF), 0, 1e-5);
    }
}
