#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <tuple>

#include "test_model.h"
#include "tiling_support.h"

namespace {

const SortedTable<Matrix>& group() {
    return model.groupTables.matrix;
}

// The table entry equal to M (sign included), or −1.
int find(const Matrix& M) {
    const int i = indexMatrix(model.groupTables.matrix, M, 0, model.groupTables.matrixCount());
    return i >= 0 && group().at(i).sign == M.sign ? i : -1;
}

std::array<Point, 3> corners(const Matrix& M) {
    const TriangleGroup& g = model.triangleGroup;
    const Matrix Q = dotM(model.settings.pointMatrix, M);
    return {dotP(Q, g.triV), dotP(Q, g.triE), dotP(Q, g.triF)};
}

// How near the viewer the triangle carried by M is: the largest z on the sphere, the smallest z
// on the hyperbolic plane, the smallest x² + y² on the plane (x² alone in a band).
double key(const Matrix& M) {
    const std::array<Point, 3> c = corners(M);
    if (model.settings.gen < 0) return std::max({c[0].z, c[1].z, c[2].z});
    if (model.settings.gen > 0) return std::min({c[0].z, c[1].z, c[2].z});
    if (model.settings.project3D2D > 2) return std::min({normX(c[0]), normX(c[1]), normX(c[2])});
    return std::min({norm2(c[0]), norm2(c[1]), norm2(c[2])});
}

// Better means nearer the viewer: larger on the sphere, smaller elsewhere.
bool better(double a, double b) {
    return model.settings.gen < 0 ? a > b : a < b;
}

// How far the triangle reaches into the band of the band-limited projections: below 0 inside,
// in units of the half-width; always inside for the others.
double depth(const Matrix& M) {
    if (model.settings.project3D2D <= 2) return -1;
    const std::array<Point, 3> c = corners(M);
    const int gen = model.settings.gen;
    const double w = std::min({normY(gen, c[0]), normY(gen, c[1]), normY(gen, c[2])});
    const double band = PI * model.settings.spiralAngle;
    return (std::sqrt(w) - band) / band;
}

Matrix translation(double x, double y) {
    Point p{x, y, 1};
    if (model.settings.gen < 0) p.z = std::sqrt(1 - x * x - y * y);
    if (model.settings.gen > 0) p.z = std::sqrt(1 + x * x + y * y);
    Matrix T;
    translateM(model.settings.gen, T, p);
    return T;
}

// What the fill shows is a sublevel set: everything it holds lies in the band, and no triangle
// next to one it holds, in the band and nearer the viewer than the worst it holds (beyond the
// tolerance), is left out.
testing::AssertionResult isSublevelSet() {
    const TriangleGroup& g = model.triangleGroup;
    const int count = model.groupTables.matrixCount();
    double worst = key(identity);
    for (int i = 0; i < count; ++i) {
        const double k = key(group().at(i));
        if (better(worst, k)) worst = k;
        if (depth(group().at(i)) >= 1e-4) return testing::AssertionFailure() << i << " outside";
    }
    const double t = (std::fabs(worst) + 1) * 2 * h;
    for (int i = 0; i < count; ++i) {
        for (const Matrix* R : {&g.reflectEF, &g.reflectFV, &g.reflectVE}) {
            const Matrix n = dotM(group().at(i), *R);
            if (find(n) >= 0 || depth(n) > -1e-4) continue;
            const double k = key(n);
            if (better(k, worst) && std::fabs(k - worst) > t)
                return testing::AssertionFailure()
                       << "a neighbour of " << i << " with key " << k << " beyond " << worst;
        }
    }
    return testing::AssertionSuccess();
}

}  // namespace

TEST(Enumeration, FullSphericalGroupsAreClosedUnderProducts) {
    for (auto [p, q, r, order] : {std::tuple{2, 3, 5, 120}, {2, 3, 4, 48}, {2, 2, 7, 28}}) {
        SCOPED_TRACE(testing::Message() << p << "," << q << "," << r);
        makeTriangle(p, q, r);
        model.settings.groupOrder = 2000;
        ASSERT_EQ(setGroup(model), order);
        int positive = 0;
        for (int i = 0; i < order; ++i) {
            const Matrix& A = group().at(i);
            positive += A.sign == 1;
            Matrix Ainv;
            inv(Ainv, A);
            EXPECT_GE(find(Ainv), 0) << "inverse of entry " << i;
            for (int j = 0; j < order; ++j) ASSERT_GE(find(dotM(A, group().at(j))), 0);
        }
        EXPECT_EQ(positive, order / 2);
    }
}

TEST(Enumeration, TablesAreSortedWithoutEqualEntries) {
    for (auto [p, q, r, project] :
         {std::tuple{2, 3, 5, 2}, {3, 3, 3, 2}, {2, 4, 4, 3}, {7, 3, 2, 2}, {5, 5, 5, 2}}) {
        SCOPED_TRACE(testing::Message() << p << "," << q << "," << r << " projection " << project);
        makeTriangle(p, q, r);
        model.settings.groupOrder = 1000;
        model.settings.project3D2D = project;
        setGroup(model);
        // Every pair, not only neighbours: the comparisons have a tolerance.
        const int n = model.groupTables.matrixCount();
        for (int i = 0; i < n; ++i) {
            for (int j = i + 1; j < n; ++j) ASSERT_LT(compareM(group().at(i), group().at(j)), 0);
        }
        for (DataTable* table : dataTables()) {
            for (int i = 0; i < table->count; ++i) {
                for (int j = i + 1; j < table->count; ++j)
                    ASSERT_LT(compareP(table->at(i).triPoint, table->at(j).triPoint), 0);
            }
        }
    }
}

TEST(Enumeration, EveryEnumeratedSetIsASublevelSet) {
    for (auto [p, q, r, order] : {std::tuple{2, 3, 5, 40},
                                  {2, 3, 7, 200},
                                  {3, 3, 3, 500},
                                  {2, 4, 4, 300},
                                  {7, 3, 2, 1000},
                                  {4, 5, 6, 700}}) {
        SCOPED_TRACE(testing::Message() << p << "," << q << "," << r << " at " << order);
        makeTriangle(p, q, r);
        model.settings.groupOrder = order;
        model.settings.pointMatrix = translation(0.11, -0.07);
        const int count = setGroup(model);
        EXPECT_GE(count, std::min(order, model.settings.gen < 0 ? 120 : order));
        EXPECT_TRUE(isSublevelSet());
    }
}

// Under the projections with a band the fill keeps only triangles reaching into the band. A ring
// may lie wholly outside it while the ring after it does not, so the count must still reach the
// order asked for.
TEST(Enumeration, BandLimitedFillsReachTheOrderAndStaySublevelSets) {
    for (auto [p, q, r, order] : {std::tuple{3, 3, 3, 200},
                                  {2, 4, 4, 700},
                                  {2, 3, 6, 1000},
                                  {2, 3, 12, 2000},
                                  {7, 3, 2, 2000},
                                  {4, 5, 6, 1500}}) {
        for (int project = 3; project <= 5; ++project) {
            for (double turn : {0.0, 0.097, 0.6}) {
                for (double spiral : {1.0, 2.0}) {
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
                    EXPECT_TRUE(count >= order || count == kCapacity) << count;
                    ASSERT_TRUE(isSublevelSet());
                }
            }
        }
    }
}

// Under the band-limited fill a view turned a hair off a symmetric one puts rejected triangles
// a hair apart, closer than the comparisons' tolerance but not equal: whichever the fill meets
// first, it must still end on a sublevel set with the order asked for.
TEST(Enumeration, NearTiesEndOnASublevelSet) {
    for (auto [p, q, r] : {std::tuple{3, 3, 3}, {2, 4, 4}, {7, 3, 2}}) {
        for (double turn : {3e-8, 7e-7}) {
            SCOPED_TRACE(testing::Message() << p << "," << q << "," << r << " turned " << turn);
            makeTriangle(p, q, r);
            model.settings.groupOrder = 300;
            model.settings.project3D2D = 3;
            const double c = std::cos(turn), s = std::sin(turn);
            model.settings.pointMatrix = Matrix{1, c, -s, 0, s, c, 0, 0, 0, 1};
            EXPECT_GE(setGroup(model), 300);
            EXPECT_TRUE(isSublevelSet());
        }
    }
}

// A view so magnified that the keys of all but the triangles round V overflow: the fill keeps
// those, with finite points, rather than ranking infinities.
TEST(Enumeration, KeysBeyondTheNumbersKeepTheTrianglesRoundV) {
    for (auto [p, q, r] : {std::tuple{3, 3, 3}, {2, 4, 4}}) {
        SCOPED_TRACE(testing::Message() << p << "," << q << "," << r);
        makeTriangle(p, q, r);
        model.settings.groupOrder = 400;
        model.settings.pointMatrix = Matrix{1, 1e160, 0, 0, 0, 1e160, 0, 0, 0, 1};
        ASSERT_EQ(setGroup(model), 2 * p);
        const Point& V = model.triangleGroup.triV;
        for (int i = 0; i < 2 * p; ++i) EXPECT_TRUE(equalsP(dotP(group().at(i), V), V));
        for (DataTable* table : dataTables()) {
            for (int i = 0; i < table->count; ++i) EXPECT_TRUE(finite(table->at(i).polyPoint));
        }
    }
}

TEST(Enumeration, TheFirstPassTakesTheTrianglesRoundV) {
    for (auto [p, q, r, count] :
         {std::tuple{3, 3, 3, 6}, {7, 3, 2, 14}, {4, 5, 6, 8}, {2, 3, 5, 4}}) {
        SCOPED_TRACE(testing::Message() << p << "," << q << "," << r);
        makeTriangle(p, q, r);
        model.settings.groupOrder = 0;  // a single pass
        EXPECT_EQ(setGroup(model), count);
        const Point& V = model.triangleGroup.triV;
        for (int i = 0; i < count; ++i) EXPECT_TRUE(equalsP(dotP(group().at(i), V), V));
    }
}

TEST(Enumeration, RecentringPutsVAtTheOriginAndKeepsTheOldView) {
    for (auto [p, q, r] : {std::tuple{2, 3, 5}, {3, 3, 3}, {7, 3, 2}}) {
        SCOPED_TRACE(testing::Message() << p << "," << q << "," << r);
        makeTriangle(p, q, r);
        const Matrix view = dotM(translation(0.4, -0.3), Matrix{1, 0, -1, 0, 1, 0, 0, 0, 0, 1});
        model.settings.pointMatrix = view;
        setGroup(model);
        EXPECT_TRUE(equalsM(model.settings.pointMatrixInitial, view));
        const Point V = dotP(model.settings.pointMatrix, model.triangleGroup.triV);
        EXPECT_LE(std::max({std::fabs(V.x), std::fabs(V.y), std::fabs(V.z - 1)}), 1e-12);
    }
    // V at the south pole of the sphere, where the translation to O would divide by zero.
    makeTriangle(2, 3, 5);
    model.settings.pointMatrix = Matrix{1, 1, 0, 0, 0, -1, 0, 0, 0, -1};  // half-turn about x
    EXPECT_EQ(setGroup(model), 120);
    EXPECT_NEAR(dotP(model.settings.pointMatrix, model.triangleGroup.triV).z, 1, 1e-12);
}

// Views whose keys are not numbers or overflow, and orders out of range: the fill ends within
// the capacity, and where the view is finite what it shows is still a sublevel set.
TEST(Enumeration, HostileViewsAndOrdersEndSoundly) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Row {
        const char* what;
        int p, q, r;
        Matrix view;
        int groupOrder;
    };
    const Row rows[] = {
        {"NaN view on the plane", 3, 3, 3, Matrix{1, nan, 0, 0, 0, 1, 0, 0, 0, 1}, 200},
        {"NaN view on the sphere", 2, 3, 5, Matrix{1, 1, 0, 0, 0, 1, 0, 0, 0, nan}, 200},
        {"NaN view, hyperbolic", 7, 3, 2, Matrix{1, 1, 0, nan, 0, 1, 0, 0, 0, 1}, 200},
        {"zero view, hyperbolic", 7, 3, 2, Matrix{1, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 200},
        {"zero view, sphere", 2, 3, 5, Matrix{1, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 200},
        {"far hyperbolic view", 7, 3, 2, Matrix{1, 1e150, 0, 0, 0, 1, 0, 0, 0, 1e150}, 200},
        {"huge order on the plane", 3, 3, 3, identity, 1000000},
        {"huge order, hyperbolic", 12, 12, 12, identity, 1000000},
        {"negative order", 7, 3, 2, identity, -5},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        makeTriangle(row.p, row.q, row.r);
        model.settings.pointMatrix = row.view;
        model.settings.groupOrder = row.groupOrder;
        const int count = setGroup(model);
        EXPECT_GE(count, 1);
        EXPECT_LE(count, kCapacity);
        for (DataTable* table : dataTables()) EXPECT_LE(table->count, kCapacity);
        newModules(model);
        EXPECT_LE(model.moduleTables.triModule.count, kCapacity);
    }
}

// Every triangle, at no, the default and the largest group order, plain and band-limited: the
// fill ends, finds what was asked and leaves only finite points.
TEST(Enumeration, EveryTriangleAtEveryOrderEndsWithFinitePoints) {
    for (int p = 2; p <= 12; ++p) {
        for (int q = 2; q <= 12; ++q) {
            for (int r = 2; r <= 12; ++r) {
                for (auto [order, project] : {std::pair{0, 2}, {200, 3}, {2000, 2}, {2000, 3}}) {
                    SCOPED_TRACE(testing::Message() << p << "," << q << "," << r << " at " << order
                                                    << ", projection " << project);
                    makeTriangle(p, q, r);
                    model.settings.groupOrder = order;
                    model.settings.project3D2D = project;
                    const int count = setGroup(model);
                    ASSERT_LE(count, kCapacity);
                    const int most =
                        model.settings.gen < 0 ? model.settings.groupOrderMax : kCapacity;
                    EXPECT_GE(count, std::min(order, most));
                    EXPECT_LE(count, most);
                    for (int i = 0; i < count; ++i) ASSERT_TRUE(finite(group().at(i)));
                    for (DataTable* table : dataTables()) {
                        for (int i = 0; i < table->count; ++i)
                            ASSERT_TRUE(finite(table->at(i).polyPoint));
                    }
                    newModules(model);
                    // One tri record per element, but for elements so far out that rounding has
                    // stored one triangle twice.
                    ASSERT_LE(model.moduleTables.triModule.count, count);
                    ASSERT_GE(model.moduleTables.triModule.count, count * 99 / 100);
                }
            }
        }
    }
}

TEST(Enumeration, EveryProjectionAndSpiralAngleReachesTheOrder) {
    for (auto [p, q, r] : {std::tuple{3, 3, 3}, {2, 4, 4}, {7, 3, 2}, {2, 3, 5}}) {
        for (int project = 0; project <= 5; ++project) {
            for (double spiral : {1.0, 2.5, 10.0}) {
                SCOPED_TRACE(testing::Message() << p << "," << q << "," << r << " projection "
                                                << project << " spiral " << spiral);
                makeTriangle(p, q, r);
                model.settings.project3D2D = project;
                model.settings.spiralAngle = spiral;
                model.settings.groupOrder = 600;
                const int count = setGroup(model);
                EXPECT_LE(count, kCapacity);
                EXPECT_GE(count, model.settings.gen < 0 ? 120 : 600);
            }
        }
    }
}
