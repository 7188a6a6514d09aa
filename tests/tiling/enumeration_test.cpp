#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <tuple>

#include "tiling_support.h"

namespace {

const SortedTable<Matrix>& group = model.groupTables.matrix;

// How near the viewer the triangle carried by M is (the largest z on the
// sphere, the smallest z on the hyperbolic plane, the smallest x² + y² on the
// plane, x² alone in a band), and how far it reaches into the band of the
// band-limited projections: below 0 inside, in half-widths.
std::pair<double, double> keyAndDepth(const Matrix& M) {
    const TriangleGroup& g = model.triangleGroup;
    const Settings& s = model.settings;
    const Matrix Q = dotM(s.pointMatrix, M);
    double key = s.gen < 0 ? -1e300 : 1e300, w = 1e300;
    for (const Point& corner : {g.triV, g.triE, g.triF}) {
        const Point c = dotP(Q, corner);
        const double k = s.gen != 0 ? c.z : s.project3D2D > 2 ? c.x * c.x : c.x * c.x + c.y * c.y;
        key = s.gen < 0 ? std::max(key, k) : std::min(key, k);
        w = std::min(w, normY(s.gen, c));
    }
    const double band = PI * s.spiralAngle;
    return {key, s.project3D2D > 2 ? (std::sqrt(w) - band) / band : -1};
}

// Nearer the viewer: larger on the sphere, smaller elsewhere.
bool better(double a, double b) {
    return model.settings.gen < 0 ? a > b : a < b;
}

// What the fill shows is a sublevel set: everything it holds lies in the band,
// and no triangle next to one it holds, in the band and nearer the viewer than
// the worst it holds (beyond the tolerance), is left out.
testing::AssertionResult isSublevelSet() {
    const TriangleGroup& g = model.triangleGroup;
    double worst = keyAndDepth(identity).first;
    for (int i = 0; i < group.count; ++i) {
        const auto [k, depth] = keyAndDepth(group.at(i));
        if (better(worst, k)) worst = k;
        if (depth >= 1e-4) return testing::AssertionFailure() << i << " outside the band";
    }
    for (int i = 0; i < group.count; ++i) {
        for (const Matrix* R : {&g.reflectEF, &g.reflectFV, &g.reflectVE}) {
            const Matrix n = dotM(group.at(i), *R);
            const auto [k, depth] = keyAndDepth(n);
            if (!inGroup(n) && depth <= -1e-4 && better(k, worst) &&
                std::fabs(k - worst) > (std::fabs(worst) + 1) * 2 * h)
                return testing::AssertionFailure()
                       << "a neighbour of " << i << " with key " << k << " beyond " << worst;
        }
    }
    return testing::AssertionSuccess();
}

}  // namespace

// In every geometry, plain and band-limited, in views turned to symmetric, a
// hair off symmetric (where rejected keys come a hair apart, closer than the
// tolerance but not equal) and anywhere: the fill reaches the order asked for
// (under a band even where a ring lies wholly outside it and the ring after
// does not) and ends on a sublevel set.
TEST(Enumeration, FillsReachTheOrderAndAreSublevelSets) {
    const std::tuple<int, int, int, int> rows[] = {
        {2, 3, 5, 40},    {2, 3, 4, 1000}, {3, 3, 3, 500}, {2, 4, 4, 700},
        {2, 3, 12, 2000}, {7, 3, 2, 1000}, {4, 5, 6, 700}, {5, 5, 5, 300}};
    for (auto [p, q, r, order] : rows) {
        for (int project : {2, 3}) {
            for (double turn : {0.0, 3e-8, 7e-7, 0.097, 0.6}) {
                for (double spiral : {1.0, 2.5}) {
                    SCOPED_TRACE(testing::Message()
                                 << p << "," << q << "," << r << " at " << order << ", projection "
                                 << project << ", turned " << turn << ", spiral " << spiral);
                    makeTriangle(p, q, r);
                    model.settings.groupOrder = order;
                    model.settings.project3D2D = project;
                    model.settings.spiralAngle = spiral;
                    const double c = std::cos(turn), s = std::sin(turn);
                    model.settings.pointMatrix = Matrix{1, c, -s, 0, s, c, 0, 0, 0, 1};
                    const int count = setGroup(model);
                    const int most =
                        model.settings.gen < 0 ? model.settings.groupOrderMax : kCapacity;
                    EXPECT_TRUE(count >= std::min(order, most) && count <= most) << count;
                    ASSERT_TRUE(isSublevelSet());
                }
            }
        }
    }
}

// Views whose keys are not numbers or overflow, and orders out of range: the fill ends within the
// capacity. A view so magnified that the keys of all but the triangles round V overflow keeps
// exactly those. Recentring keeps the old view and puts V at O, also from the south pole of the
// sphere, where the translation to O would divide by zero (elsewhere every turned picture shows
// it).
TEST(Enumeration, ExtremeViewsAndOrdersAndTheSouthPole) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::tuple<int, int, int, Matrix, int> rows[] = {
        {3, 3, 3, Matrix{1, nan, 0, 0, 0, 1, 0, 0, 0, 1}, 200},
        {2, 3, 5, Matrix{1, 1, 0, 0, 0, 1, 0, 0, 0, nan}, 200},
        {7, 3, 2, Matrix{1, 1, 0, nan, 0, 1, 0, 0, 0, 1}, 200},
        {7, 3, 2, Matrix{1, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 200},
        {7, 3, 2, Matrix{1, 1e150, 0, 0, 0, 1, 0, 0, 0, 1e150}, 200},
        {12, 12, 12, identity, 1000000},
        {7, 3, 2, identity, -5},
    };
    for (const auto& [p, q, r, view, order] : rows) {
        SCOPED_TRACE(testing::Message()
                     << p << q << r << " at " << order << " view " << view.m01 << " " << view.m22);
        makeTriangle(p, q, r);
        model.settings.pointMatrix = view;
        model.settings.groupOrder = order;
        const int count = setGroup(model);
        EXPECT_TRUE(count >= 1 && count <= kCapacity) << count;
        newModules(model);
        EXPECT_LE(model.moduleTables.triModule.count, kCapacity);
        for (DataTable* table : dataTables()) EXPECT_LE(table->count, kCapacity);
    }
    makeTriangle(3, 3, 3);
    model.settings.pointMatrix = Matrix{1, 1e160, 0, 0, 0, 1e160, 0, 0, 0, 1};
    model.settings.groupOrder = 400;
    ASSERT_EQ(setGroup(model), 6);
    for (int i = 0; i < 6; ++i) EXPECT_TRUE(equalsP(dotP(group.at(i), O), O));

    makeTriangle(2, 3, 5);
    const Matrix view{1, 1, 0, 0, 0, -1, 0, 0, 0, -1};  // half-turn about x
    model.settings.pointMatrix = view;
    EXPECT_EQ(setGroup(model), 120);
    EXPECT_TRUE(equalsM(model.settings.pointMatrixInitial, view));
    EXPECT_TRUE(near(dotP(model.settings.pointMatrix, O), O, 1e-12));
}
