#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <tuple>
#include <vector>

#include "compare_support.h"
#include "test_model.h"
#include "tiling_support.h"

namespace {

using Lengths = std::array<double, 3>;

const SortedTable<Matrix>& group() {
    return model.groupTables.matrix;
}

// The table entry equal to M (sign included), or −1.
int find(const Matrix& M) {
    const int i = indexMatrix(model.groupTables.matrix, M, 0, model.groupTables.matrixCount());
    return i >= 0 && group().at(i).sign == M.sign ? i : -1;
}

// The key of the triangle carried by M under the current view, as the plain fill ranks it.
double key(const Matrix& M) {
    const TriangleGroup& g = model.triangleGroup;
    const Matrix Q = dotM(model.settings.pointMatrix, M);
    const Point c[3] = {dotP(Q, g.triV), dotP(Q, g.triE), dotP(Q, g.triF)};
    if (model.settings.gen < 0) return std::max({c[0].z, c[1].z, c[2].z});
    if (model.settings.gen > 0) return std::min({c[0].z, c[1].z, c[2].z});
    return std::min({norm2(c[0]), norm2(c[1]), norm2(c[2])});
}

// Better means nearer the viewer: larger on the sphere, smaller elsewhere.
bool better(double a, double b) {
    return model.settings.gen < 0 ? a > b : a < b;
}

Matrix translation(double x, double y) {
    Point p{x, y, 1};
    if (model.settings.gen < 0) p.z = std::sqrt(1 - x * x - y * y);
    if (model.settings.gen > 0) p.z = std::sqrt(1 + x * x + y * y);
    Matrix T;
    translateM(model.settings.gen, T, p);
    return T;
}

}  // namespace

TEST(Enumeration, FullSphericalGroupsAreClosedUnderProducts) {
    struct Row {
        int p, q, r, order;
    };
    for (const Row& row : {Row{2, 3, 5, 120}, {2, 3, 4, 48}, {2, 3, 3, 24}, {2, 2, 7, 28}}) {
        for (int groupOrder : {200, 2000}) {
            SCOPED_TRACE(testing::Message()
                         << row.p << "," << row.q << "," << row.r << " at " << groupOrder);
            makeTriangle(row.p, row.q, row.r);
            model.settings.groupOrder = groupOrder;
            ASSERT_EQ(setGroup(model), row.order);
            int positive = 0;
            for (int i = 0; i < model.groupTables.matrixCount(); ++i) {
                const Matrix& A = group().at(i);
                positive += A.sign == 1;
                Matrix Ainv;
                inv(Ainv, A);
                EXPECT_GE(find(Ainv), 0) << "inverse of entry " << i;
                for (int j = 0; j < model.groupTables.matrixCount(); ++j) {
                    ASSERT_GE(find(dotM(A, group().at(j))), 0) << "product " << i << "·" << j;
                }
            }
            EXPECT_EQ(positive, row.order / 2);
            EXPECT_GE(find(identity), 0);
        }
    }
}

TEST(Enumeration, TablesAreSortedWithoutEqualEntries) {
    for (auto [p, q, r, project] : {std::tuple{2, 3, 5, 2},
                                    {3, 3, 3, 2},
                                    {2, 4, 4, 3},
                                    {7, 3, 2, 2},
                                    {7, 3, 2, 3},
                                    {5, 5, 5, 2}}) {
        SCOPED_TRACE(testing::Message() << p << "," << q << "," << r << " projection " << project);
        makeTriangle(p, q, r);
        model.settings.groupOrder = 1000;
        model.settings.project3D2D = project;
        setGroup(model);
        // Every pair in order, not only neighbours: the comparisons have a tolerance.
        for (int i = 0; i < model.groupTables.matrixCount(); ++i) {
            for (int j = i + 1; j < model.groupTables.matrixCount(); ++j) {
                ASSERT_LT(compareM(group().at(i), group().at(j)), 0) << i << " and " << j;
            }
        }
        for (DataTable* table : dataTables()) {
            for (int i = 0; i < table->count; ++i) {
                for (int j = i + 1; j < table->count; ++j) {
                    ASSERT_LT(compareP(table->at(i).triPoint, table->at(j).triPoint), 0);
                }
            }
        }
    }
}

TEST(Enumeration, OneElementReachedByTwoWordsIsStoredOnce) {
    makeTriangle(7, 3, 2);
    model.settings.groupOrder = 300;
    setGroup(model);
    const TriangleGroup& g = model.triangleGroup;
    // Round F (order 2) both ways: EF·FV·EF·FV is the identity, and EF·FV = FV·EF.
    const Matrix a = dotM(g.reflectEF, g.reflectFV);
    const Matrix b = dotM(g.reflectFV, g.reflectEF);
    const int i = find(a);
    ASSERT_GE(i, 0);
    EXPECT_EQ(find(b), i);
    // Round V the long way (seven turns less one) and the short way (one turn back).
    Matrix longWay = identity;
    for (int k = 0; k < 6; ++k) longWay = dotM(longWay, dotM(g.reflectFV, g.reflectVE));
    const Matrix shortWay = dotM(g.reflectVE, g.reflectFV);
    ASSERT_GE(find(shortWay), 0);
    EXPECT_EQ(find(longWay), find(shortWay));
}

// What a pass accepts is everything with a key within its threshold, connected: no triangle
// next to an accepted one is left out while having a better key than the worst accepted.
TEST(Enumeration, EveryEnumeratedSetIsASublevelSet) {
    const TriangleGroup& g = model.triangleGroup;
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
        setGroup(model);
        double worst = key(identity);
        for (int i = 0; i < model.groupTables.matrixCount(); ++i) {
            const double k = key(group().at(i));
            if (better(worst, k)) worst = k;
        }
        const Matrix* reflections[3] = {&g.reflectEF, &g.reflectFV, &g.reflectVE};
        int outside = 0;
        for (int i = 0; i < model.groupTables.matrixCount(); ++i) {
            for (const Matrix* R : reflections) {
                const Matrix neighbour = dotM(group().at(i), *R);
                if (find(neighbour) >= 0) continue;
                ++outside;
                const double k = key(neighbour);
                const double t = (std::fabs(worst) + 1) * 2 * h;
                EXPECT_FALSE(better(k, worst) && std::fabs(k - worst) > t)
                    << "a neighbour of entry " << i << " with key " << k << " beyond " << worst;
            }
        }
        if (model.settings.gen >= 0) {
            EXPECT_GT(outside, 0);
        }
    }
}

// Under the projections with a band the fill keeps only triangles reaching into |Y| < π·spiral
// angle, ranked on the plane by x² alone. A ring may lie wholly outside the band while the ring
// after it does not, so the count must still reach the order asked for, and the table must be
// what the key selects: no in-band neighbour better than its worst entry is left out.
TEST(Enumeration, BandLimitedFillsReachTheOrderAndStaySublevelSets) {
    const TriangleGroup& g = model.triangleGroup;
    const Matrix* reflections[3] = {&g.reflectEF, &g.reflectFV, &g.reflectVE};
    const auto corners = [&](const Matrix& M) {
        const Matrix Q = dotM(model.settings.pointMatrix, M);
        return std::array<Point, 3>{dotP(Q, g.triV), dotP(Q, g.triE), dotP(Q, g.triF)};
    };
    const auto bandKey = [&](const Matrix& M) {
        const std::array<Point, 3> c = corners(M);
        if (model.settings.gen != 0) return key(M);
        return std::min({normX(c[0]), normX(c[1]), normX(c[2])});
    };
    // How far into the band the triangle reaches: below 0 inside, in units of the half-width.
    const auto depth = [&](const Matrix& M) {
        const std::array<Point, 3> c = corners(M);
        const double w = std::min({normY(model.settings.gen, c[0]), normY(model.settings.gen, c[1]),
                                   normY(model.settings.gen, c[2])});
        const double band = PI * model.settings.spiralAngle;
        return (std::sqrt(w) - band) / band;
    };
    struct Row {
        int p, q, r, order;
    };
    for (const Row& row : {Row{3, 3, 3, 200},
                           {2, 4, 4, 700},
                           {2, 3, 6, 1000},
                           {2, 3, 12, 2000},
                           {7, 3, 2, 2000},
                           {4, 5, 6, 1500}}) {
        for (int project = 3; project <= 5; ++project) {
            for (double turn : {0.0, 0.097, 0.6}) {
                for (double spiral : {1.0, 2.0}) {
                    SCOPED_TRACE(testing::Message()
                                 << row.p << "," << row.q << "," << row.r << " at " << row.order
                                 << ", projection " << project << ", turned " << turn << ", spiral "
                                 << spiral);
                    makeTriangle(row.p, row.q, row.r);
                    model.settings.groupOrder = row.order;
                    model.settings.project3D2D = project;
                    model.settings.spiralAngle = spiral;
                    const double c = std::cos(turn), s = std::sin(turn);
                    model.settings.pointMatrix = Matrix{1, c, -s, 0, s, c, 0, 0, 0, 1};
                    const int count = setGroup(model);
                    EXPECT_TRUE(count >= row.order || count == kCapacity) << count;
                    double worst = bandKey(identity);
                    for (int i = 0; i < count; ++i) {
                        const double k = bandKey(group().at(i));
                        if (better(worst, k)) worst = k;
                        ASSERT_LT(depth(group().at(i)), 1e-4) << "entry " << i;
                    }
                    const double t = (std::fabs(worst) + 1) * 2 * h;
                    for (int i = 0; i < count; ++i) {
                        for (const Matrix* R : reflections) {
                            const Matrix neighbour = dotM(group().at(i), *R);
                            if (find(neighbour) >= 0 || depth(neighbour) > -1e-4) continue;
                            const double k = bandKey(neighbour);
                            ASSERT_FALSE(better(k, worst) && std::fabs(k - worst) > t)
                                << "an in-band neighbour of entry " << i << " with key " << k
                                << " beyond " << worst;
                        }
                    }
                }
            }
        }
    }
}

TEST(Enumeration, TheFirstPassTakesTheTrianglesRoundV) {
    struct Row {
        int p, q, r, count;
    };
    for (const Row& row : {Row{3, 3, 3, 6}, Row{6, 3, 2, 12}, Row{7, 3, 2, 14}, Row{4, 5, 6, 8},
                           Row{12, 12, 12, 24}, Row{2, 3, 5, 4}}) {
        SCOPED_TRACE(testing::Message() << row.p << "," << row.q << "," << row.r);
        makeTriangle(row.p, row.q, row.r);
        model.settings.groupOrder = 0;  // a single pass
        EXPECT_EQ(setGroup(model), row.count);
        for (int i = 0; i < model.groupTables.matrixCount(); ++i) {
            EXPECT_TRUE(
                equalsP(dotP(group().at(i), model.triangleGroup.triV), model.triangleGroup.triV));
        }
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
    // V shown at the south pole of the sphere, where the translation to O would divide by zero.
    makeTriangle(2, 3, 5);
    model.settings.pointMatrix = Matrix{1, 1, 0, 0, 0, -1, 0, 0, 0, -1};  // half-turn about x
    EXPECT_EQ(setGroup(model), 120);
    EXPECT_TRUE(finite(model.settings.pointMatrix));
    const Point V = dotP(model.settings.pointMatrix, model.triangleGroup.triV);
    EXPECT_NEAR(V.z, 1, 1e-12);
}

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
// fill ends, stays within capacity, finds what was asked and leaves only finite points.
TEST(Enumeration, EveryTriangleAtEveryOrderEndsWithFinitePoints) {
    for (int p = 2; p <= 12; ++p) {
        for (int q = 2; q <= 12; ++q) {
            for (int r = 2; r <= 12; ++r) {
                for (int order : {0, 200, 2000}) {
                    for (int project : {2, 3}) {
                        SCOPED_TRACE(testing::Message() << p << "," << q << "," << r << " at "
                                                        << order << ", projection " << project);
                        makeTriangle(p, q, r);
                        model.settings.groupOrder = order;
                        model.settings.project3D2D = project;
                        const int count = setGroup(model);
                        ASSERT_LE(count, kCapacity);
                        if (model.settings.gen < 0) {
                            EXPECT_GE(count, std::min(order, model.settings.groupOrderMax));
                            EXPECT_LE(count, model.settings.groupOrderMax);
                        } else {
                            EXPECT_GE(count, order);
                        }
                        for (int i = 0; i < count; ++i) ASSERT_TRUE(finite(group().at(i)));
                        for (DataTable* table : dataTables()) {
                            for (int i = 0; i < table->count; ++i) {
                                ASSERT_TRUE(finite(table->at(i).triPoint));
                                ASSERT_TRUE(finite(table->at(i).polyPoint));
                            }
                        }
                        newModules(model);
                        // One tri record per element, but for elements so far out that rounding
                        // has stored one triangle twice.
                        ASSERT_LE(model.moduleTables.triModule.count, count);
                        ASSERT_GE(model.moduleTables.triModule.count, count * 99 / 100);
                    }
                }
            }
        }
    }
}

TEST(Enumeration, SpiralAngleAndProjectionsEnd) {
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
                if (model.settings.gen >= 0) {
                    EXPECT_GE(count, 600);
                }
            }
        }
    }
}

// The program fills later passes from where the last one stopped and runs only the last one
// from scratch; the straightforward build must give the very same tables: every triangle at
// small orders, then large orders.
TEST(Enumeration, AgreesWithTheStraightforwardBuild) {
    struct Row {
        int p, q, r, order, project;
        Lengths lengths;
        Point viewCentre;  // z = 0: the view is left alone
    };
    std::vector<Row> rows = {
        {2, 3, 5, 2000, 2, {}, {}},    {3, 3, 3, 200, 2, {}, {}},    {3, 3, 3, 2000, 3, {}, {}},
        {2, 4, 4, 1000, 2, {}, {}},    {2, 3, 6, 700, 3, {}, {}},    {7, 3, 2, 2000, 2, {}, {}},
        {7, 3, 2, 2000, 3, {}, {}},    {4, 4, 4, 2000, 2, {}, {}},   {12, 12, 12, 2000, 2, {}, {}},
        {12, 12, 12, 2000, 3, {}, {}}, {11, 10, 5, 2000, 3, {}, {}}, {7, 10, 7, 2000, 2, {}, {}}};
    for (Row& row : rows) {
        row.lengths = {0.5, 0.25, 0.25};
        row.viewCentre = {0.05, 0.1, 1};
    }
    int index = 0;
    for (int p = 2; p <= 12; ++p) {
        for (int q = 2; q <= 12; ++q) {
            for (int r = 2; r <= 12; ++r) {
                ++index;
                rows.push_back({p,
                                q,
                                r,
                                40 + index % 50,
                                2 + index % 2,
                                {0.2, 0.3, 0.5},
                                Point{0.3, 0.2, index % 3 == 0 ? 1.0 : 0.0}});
            }
        }
    }
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.p << "," << row.q << "," << row.r << " at "
                                        << row.order << ", projection " << row.project);
        makeTriangle(row.p, row.q, row.r, row.lengths[0], row.lengths[1], row.lengths[2]);
        model.settings.groupOrder = row.order;
        model.settings.project3D2D = row.project;
        if (row.viewCentre.z != 0) {
            model.settings.pointMatrix = translation(row.viewCentre.x, row.viewCentre.y);
        }
        const reference::Group expected = reference::buildGroup();
        setGroup(model);
        ASSERT_TRUE(sameGroupAsReference(expected));
    }
}
