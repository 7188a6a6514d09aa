#include "render/chain.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <tuple>
#include <vector>

#include "geometry/kernel.h"
#include "geometry/settings.h"
#include "render/depth_order.h"
#include "render_support.h"
#include "test_model.h"
#include "tiling/tables.h"

namespace {

const std::tuple<int, int, int> kTriples[] = {{2, 3, 5}, {3, 3, 3}, {2, 4, 4},    {2, 3, 6},
                                              {7, 3, 2}, {4, 4, 4}, {12, 12, 12}, {2, 2, 12}};

std::vector<const DataTable*> dataTables() {
    const GroupTables& g = model.groupTables;
    return {&g.dataV, &g.dataE, &g.dataF, &g.dataEF, &g.dataFV, &g.dataVE, &g.dataVEF};
}

// What a rebuild of the group or the modules would change, poly points aside: the records'
// points, colours, live counters and matrices, and the sizes of the tables and lists.
std::vector<double> groupAndModules() {
    const ModuleTables& m = model.moduleTables;
    const DrawLists& d = model.drawLists;
    std::vector<double> v = {double(model.groupTables.matrix.count),
                             double(m.triModule.count),
                             double(m.polyModuleF.count),
                             double(m.quadModuleE.count),
                             double(d.triCount),
                             double(d.polyCount),
                             double(d.quadCount)};
    for (const DataTable* t : dataTables()) {
        for (int i = 0; i < t->count; ++i) {
            const DataModule& r = t->at(i);
            v.insert(v.end(), {r.triPoint.x, r.triPoint.y, r.triPoint.z, r.triColor.r, r.triColor.g,
                               r.triColor.b, r.polyColor.r, r.polyColor.g, r.polyColor.b,
                               double(r.c0), double(r.c1), double(r.c2), double(r.c3),
                               r.matrix.sign, r.matrix.m01, r.matrix.m12});
        }
    }
    return v;
}

std::vector<Point> polyPoints() {
    std::vector<Point> points;
    for (const DataTable* t : dataTables())
        for (int i = 0; i < t->count; ++i) points.push_back(t->at(i).polyPoint);
    return points;
}

template <class Table>
void addAll(std::set<const void*>& s, const Table& t) {
    for (int i = 0; i < t.count; ++i) s.insert(&t.at(i));
}

// The list holds every module once, and adjacent depths never fall by more than a few
// tolerances (ties within h may land either way round).
template <class M>
bool soundList(M* const* list, int count, const std::set<const void*>& all,
               double (*depth)(const Settings&, const M&)) {
    for (int i = 1; i < count; ++i)
        if (depth(model.settings, *list[i - 1]) - depth(model.settings, *list[i]) > 4 * h)
            return false;
    return count == int(all.size()) && std::set<const void*>(list, list + count) == all;
}

bool drawListsSound() {
    const ModuleTables& m = model.moduleTables;
    const DrawLists& d = model.drawLists;
    std::set<const void*> tris, polys, quads;
    addAll(tris, m.triModule);
    for (auto* t : {&m.polyModuleV, &m.polyModuleE, &m.polyModuleF}) addAll(polys, *t);
    for (auto* t : {&m.quadModuleV, &m.quadModuleE, &m.quadModuleF}) addAll(quads, *t);
    return soundList(d.tri.data(), d.triCount, tris, depthTri) &&
           soundList(d.poly.data(), d.polyCount, polys, depthPoly) &&
           soundList(d.quad.data(), d.quadCount, quads, depthQuad);
}

}  // namespace

TEST(LengthChain, MovesOnlyThePolyPoints) {
    for (auto [v, e, f] : {kTriples[0], kTriples[1], kTriples[2], kTriples[4]}) {
        for (int move = 0; move < 4; ++move) {
            SCOPED_TRACE(testing::Message() << v << "," << e << "," << f << " move " << move);
            makePicture(v, e, f, 200);
            const std::vector<double> before = groupAndModules();
            const std::vector<Point> points = polyPoints();
            if (move == 0) model.settings.lengthV = 0.6;
            if (move == 1) model.settings.lengthF = 0;
            EXPECT_TRUE(move < 2
                            ? chainSetLength(model, 2 * move)
                            : (move == 2 ? chainEqualizeLength(model) : chainRanLength(model)));
            EXPECT_EQ(groupAndModules(), before);
            EXPECT_NEAR(model.settings.lengthV + model.settings.lengthE + model.settings.lengthF, 1,
                        1e-12);
            const std::vector<Point> after = polyPoints();
            int moved = 0;
            for (size_t i = 0; i < points.size(); ++i) moved += !equalsP(points[i], after[i]);
            EXPECT_GT(moved, 0);
            const DataTable& centres = model.groupTables.dataVEF;
            for (int i = 0; i < centres.count; ++i) {
                Point p;
                dotP(p, centres.at(i).matrix, model.specialPoints.polyVEF);
                EXPECT_TRUE(equalsP(p, centres.at(i).polyPoint)) << "centre " << i;
            }
        }
    }
}

TEST(GroupOrderChain, CompleteGroupKeepsItsPictureAndColours) {
    makePicture(2, 3, 5, 200);
    ASSERT_EQ(model.groupTables.matrix.count, 120);
    const std::vector<double> before = groupAndModules();
    model.settings.groupOrder = 1000;
    EXPECT_FALSE(chainSetGroupOrder(model));
    // Made afresh, but with the colours and live counters of the picture shown.
    EXPECT_EQ(groupAndModules(), before);
    EXPECT_EQ(model.groupTables.dataF.at(0).c0, 10u);  // 2 · 5 triangles meet at every F corner
    model.settings.groupOrder = 20;
    EXPECT_TRUE(chainSetGroupOrder(model));
    EXPECT_LT(model.groupTables.matrix.count, 120);
    EXPECT_TRUE(drawListsSound());

    // The spiral angle matters only under the x axis projections.
    makePicture(7, 3, 2, 300);
    const std::vector<double> plain = groupAndModules();
    model.settings.spiralAngle = 5;
    EXPECT_FALSE(chainSetSpiralAngle(model));
    EXPECT_EQ(groupAndModules(), plain);
}

TEST(ViewChain, CentreProjectionAndViewKeepTheListsSound) {
    for (auto [v, e, f] : {std::tuple{2, 3, 4}, {2, 3, 6}, {4, 4, 4}}) {
        SCOPED_TRACE(testing::Message() << v << "," << e << "," << f);
        makePicture(v, e, f, 200);
        Point far;
        normalize(model.settings.gen, far, Point{0.4, -0.3, 1});
        translateM(model.settings.gen, model.settings.pointMatrix, far);
        EXPECT_TRUE(chainCenter(model));
        Point seen;
        dotP(seen, model.settings.pointMatrix, model.triangleGroup.triV);
        EXPECT_TRUE(equalsP(seen, Point{0, 0, 1}));
        for (int project : {0, 3, 4, 5, 2}) {
            model.settings.project3D2D = project;
            EXPECT_TRUE(chainSetProject3D2D(model));
            EXPECT_EQ(model.settings.eqPerspective,
                      project < 3 ? "z axis perspective" : "x axis perspective");
            EXPECT_TRUE(drawListsSound()) << project;
        }
        translateM(model.settings.gen, model.settings.pointMatrix, far);
        EXPECT_TRUE(chainView(model));
        EXPECT_TRUE(drawListsSound());
    }
}

TEST(Chain, EveryBenchTripleAndOrderEndsWithSoundFiniteLists) {
    for (auto [v, e, f] : kTriples) {
        for (int order : {0, 200, 2000}) {
            for (int project : {2, 3}) {
                SCOPED_TRACE(testing::Message() << v << "," << e << "," << f << " order " << order
                                                << " projection " << project);
                makePicture(v, e, f, order, project);
                EXPECT_TRUE(drawListsSound());
                for (const Point& p : polyPoints())
                    ASSERT_TRUE(std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z));
            }
        }
    }
}
