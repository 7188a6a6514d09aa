#include "render/chain.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <tuple>
#include <vector>

#include "colour/colour.h"
#include "geometry/kernel.h"
#include "geometry/settings.h"
#include "geometry/triangle_group.h"
#include "render/depth_order.h"
#include "render_support.h"
#include "test_model.h"
#include "tiling/generating_point.h"
#include "tiling/tables.h"

namespace {

void picture(int v, int e, int f, int order) {
    model.settings = Settings{};
    model.colourState = ColourState{};
    initColorMatrices(model.colourState);
    makePicture(v, e, f, order);
}

// Everything a rebuild of the group or the modules would change, poly points aside, flattened.
struct Snapshot {
    std::vector<double> values;
    std::vector<const void*> references;
    std::vector<Point> polyPoints;

    static Snapshot take() {
        Snapshot s;
        auto add = [&s](std::initializer_list<double> v) {
            for (double x : v) s.values.push_back(x);
        };
        auto addMatrix = [&](const Matrix& m) {
            add({m.sign, m.m00, m.m01, m.m02, m.m10, m.m11, m.m12, m.m20, m.m21, m.m22});
        };
        const GroupTables& g = model.groupTables;
        add({double(g.matrix.count)});
        for (int i = 0; i < g.matrix.count; ++i) addMatrix(g.matrix.at(i));
        for (const DataTable* t :
             {&g.dataV, &g.dataE, &g.dataF, &g.dataEF, &g.dataFV, &g.dataVE, &g.dataVEF}) {
            add({double(t->count)});
            for (int i = 0; i < t->count; ++i) {
                const DataModule& r = t->at(i);
                add({r.triPoint.x, r.triPoint.y, r.triPoint.z, r.triColor.r, r.triColor.g,
                     r.triColor.b, r.polyColor.r, r.polyColor.g, r.polyColor.b, double(r.c0),
                     double(r.c1), double(r.c2), double(r.c3)});
                addMatrix(r.matrix);
                s.polyPoints.push_back(r.polyPoint);
            }
        }
        const ModuleTables& m = model.moduleTables;
        for (int i = 0; i < m.triModule.count; ++i) {
            const TriModule& t = m.triModule.at(i);
            s.references.insert(s.references.end(), {t.V, t.E, t.F, t.EF, t.FV, t.VE, t.VEF});
        }
        for (auto* table : {&m.polyModuleV, &m.polyModuleE, &m.polyModuleF}) {
            add({double(table->count)});
            for (int i = 0; i < table->count; ++i) {
                const PolyModule& p = table->at(i);
                s.references.push_back(p.centre);
                for (int k = 0; k < p.n; ++k)
                    s.references.insert(s.references.end(),
                                        {p.cornerA[k], p.sideA[k], p.cornerB[k], p.sideB[k]});
            }
        }
        for (auto* table : {&m.quadModuleV, &m.quadModuleE, &m.quadModuleF}) {
            add({double(table->count)});
            for (int i = 0; i < table->count; ++i) {
                const QuadModule& q = table->at(i);
                s.references.insert(s.references.end(), {q.centre, q.side1, q.corner, q.side2});
            }
        }
        add({double(model.drawLists.triCount), double(model.drawLists.polyCount),
             double(model.drawLists.quadCount)});
        return s;
    }
};

void expectSameGroupAndModules(const Snapshot& a, const Snapshot& b) {
    EXPECT_TRUE(a.values == b.values);
    EXPECT_TRUE(a.references == b.references);
}

// The draw lists hold every module once, and adjacent depths never fall by more than a few
// tolerances (ties within h may land either way round).
bool drawListsSound() {
    const ModuleTables& m = model.moduleTables;
    const DrawLists& d = model.drawLists;
    std::set<const void*> all[3], listed[3];
    for (int i = 0; i < m.triModule.count; ++i) all[0].insert(&m.triModule.at(i));
    for (auto* t : {&m.polyModuleV, &m.polyModuleE, &m.polyModuleF})
        for (int i = 0; i < t->count; ++i) all[1].insert(&t->at(i));
    for (auto* t : {&m.quadModuleV, &m.quadModuleE, &m.quadModuleF})
        for (int i = 0; i < t->count; ++i) all[2].insert(&t->at(i));
    bool ok = true;
    for (int i = 0; i < d.triCount; ++i) {
        listed[0].insert(d.tri[i]);
        ok &=
            i == 0 ||
            depthTri(model.settings, *d.tri[i - 1]) - depthTri(model.settings, *d.tri[i]) <= 4 * h;
    }
    for (int i = 0; i < d.polyCount; ++i) {
        listed[1].insert(d.poly[i]);
        ok &= i == 0 ||
              depthPoly(model.settings, *d.poly[i - 1]) - depthPoly(model.settings, *d.poly[i]) <=
                  4 * h;
    }
    for (int i = 0; i < d.quadCount; ++i) {
        listed[2].insert(d.quad[i]);
        ok &= i == 0 ||
              depthQuad(model.settings, *d.quad[i - 1]) - depthQuad(model.settings, *d.quad[i]) <=
                  4 * h;
    }
    return ok && d.triCount == int(all[0].size()) && listed[0] == all[0] &&
           d.polyCount == int(all[1].size()) && listed[1] == all[1] &&
           d.quadCount == int(all[2].size()) && listed[2] == all[2];
}

}  // namespace

TEST(LengthChain, MovesOnlyThePolyPoints) {
    for (auto [v, e, f] : {std::tuple{2, 3, 5}, {3, 3, 3}, {2, 4, 4}, {7, 3, 2}}) {
        for (int move = 0; move < 4; ++move) {
            SCOPED_TRACE(testing::Message() << v << "," << e << "," << f << " move " << move);
            picture(v, e, f, 200);
            const Snapshot before = Snapshot::take();
            if (move == 0) model.settings.lengthV = 0.6;
            if (move == 1) model.settings.lengthF = 0;
            EXPECT_TRUE(move < 2
                            ? chainSetLength(model, 2 * move)
                            : (move == 2 ? chainEqualizeLength(model) : chainRanLength(model)));
            const Snapshot after = Snapshot::take();
            expectSameGroupAndModules(before, after);
            EXPECT_NEAR(model.settings.lengthV + model.settings.lengthE + model.settings.lengthF, 1,
                        1e-12);
            int moved = 0;
            for (size_t i = 0; i < before.polyPoints.size(); ++i)
                moved += !equalsP(before.polyPoints[i], after.polyPoints[i]);
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

TEST(GeneratorChain, GeometryLabelsFollowGenAndProjection) {
    struct Row {
        int gen, project, geometry;
        const char *manifold, *circle, *perspective;
    };
    for (const Row& row :
         {Row{-1, 2, 0, "z*z = 1-x*x-y*y σφαῖρα", "1 = x*x+y*y unit κύκλος", "z axis perspective"},
          Row{0, 5, 1, "y*y+z*z = 1 κύλινδρος", "y*y+z*z = 1 unit κύκλος", "x axis perspective"},
          Row{1, 4, 2, "y*y+z*z = 1+x*x ὑπερβολοειδές (1 sheet)", "y*y+z*z = 1 unit κύκλος",
              "x axis perspective"}}) {
        SCOPED_TRACE(testing::Message() << "gen " << row.gen << " projection " << row.project);
        model.settings = Settings{};
        model.settings.gen = row.gen;
        model.settings.project3D2D = row.project;
        updateGeometryLabels(model.settings);
        EXPECT_EQ(model.settings.geometry, row.geometry);
        EXPECT_EQ(model.settings.eqManifold, row.manifold);
        EXPECT_EQ(model.settings.eqCircle, row.circle);
        EXPECT_EQ(model.settings.eqPerspective, row.perspective);
    }
}

TEST(GroupOrderChain, CompleteGroupKeepsItsPictureAndColours) {
    picture(2, 3, 5, 200);
    ASSERT_EQ(model.groupTables.matrix.count, 120);
    const Snapshot before = Snapshot::take();
    model.settings.groupOrder = 1000;
    EXPECT_FALSE(chainSetGroupOrder(model));
    // Made afresh, but with the colours and live counters of the picture shown.
    expectSameGroupAndModules(before, Snapshot::take());
    EXPECT_EQ(model.groupTables.dataF.at(0).c0, 10u);  // 2 · 5 triangles meet at every F corner
    model.settings.groupOrder = 20;
    EXPECT_TRUE(chainSetGroupOrder(model));
    EXPECT_LT(model.groupTables.matrix.count, 120);
    EXPECT_TRUE(drawListsSound());

    // The spiral angle matters only under the x axis projections.
    picture(7, 3, 2, 300);
    const Snapshot plain = Snapshot::take();
    model.settings.spiralAngle = 5;
    EXPECT_FALSE(chainSetSpiralAngle(model));
    expectSameGroupAndModules(plain, Snapshot::take());
}

TEST(ViewChain, CentreProjectionAndViewKeepTheListsSound) {
    for (auto [v, e, f] : {std::tuple{2, 3, 4}, {2, 3, 6}, {4, 4, 4}}) {
        SCOPED_TRACE(testing::Message() << v << "," << e << "," << f);
        picture(v, e, f, 200);
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
    for (auto [v, e, f] : {std::tuple{2, 3, 5},
                           {3, 3, 3},
                           {2, 4, 4},
                           {2, 3, 6},
                           {7, 3, 2},
                           {4, 4, 4},
                           {12, 12, 12},
                           {2, 2, 12}}) {
        for (int order : {0, 200, 2000}) {
            for (int project : {2, 3}) {
                SCOPED_TRACE(testing::Message() << v << "," << e << "," << f << " order " << order
                                                << " projection " << project);
                model.settings = Settings{};
                model.settings.project3D2D = project;
                makePicture(v, e, f, order);
                EXPECT_TRUE(drawListsSound());
                for (const Point& p : Snapshot::take().polyPoints)
                    ASSERT_TRUE(std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z));
            }
        }
    }
}
