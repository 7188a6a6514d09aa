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
#include "tiling/generating_point.h"
#include "tiling/tables.h"

namespace {

// The tables are megabytes each: a rebuild replaces them, so only the small records are reset.
void resetSmall() {
    settings = Settings{};
    colourState = ColourState{};
    initColorMatrices();
}

void makePicture(int v, int e, int f, int order, double lv = 0.2, double le = 0.3,
                 double lf = 0.5) {
    resetSmall();
    Settings& s = settings;
    s.genV = v;
    s.genE = e;
    s.genF = f;
    s.groupOrder = order;
    s.lengthV = lv;
    s.lengthE = le;
    s.lengthF = lf;
    setGenType();
    setGen();
    rebuildModules();
    ranAllColor();
}

std::vector<DataTable*> dataTables() {
    GroupTables& g = groupTables;
    return {&g.dataV, &g.dataE, &g.dataF, &g.dataEF, &g.dataFV, &g.dataVE, &g.dataVEF};
}

// Everything a rebuild of the group or of the modules would change, apart from poly points.
struct Snapshot {
    int matrixCount = 0;
    std::vector<Matrix> matrices;
    std::vector<std::tuple<Point, Matrix, BColor, BColor, uint32_t, uint32_t, uint32_t, uint32_t>>
        records;
    std::vector<const void*> references;  // every module's references, in table order
    std::vector<int> counts;
    std::vector<Point> polyPoints;

    static Snapshot take() {
        Snapshot s;
        const GroupTables& g = groupTables;
        s.matrixCount = g.matrix.count;
        for (int i = 0; i < g.matrix.count; ++i) s.matrices.push_back(g.matrix.at(i));
        for (DataTable* t : dataTables()) {
            s.counts.push_back(t->count);
            for (int i = 0; i < t->count; ++i) {
                const DataModule& r = t->at(i);
                s.records.emplace_back(r.triPoint, r.matrix, r.triColor, r.polyColor, r.c0, r.c1,
                                       r.c2, r.c3);
                s.polyPoints.push_back(r.polyPoint);
            }
        }
        const ModuleTables& m = moduleTables;
        for (int i = 0; i < m.triModule.count; ++i) {
            const TriModule& t = m.triModule.at(i);
            for (const void* p : {t.V, t.E, t.F, t.EF, t.FV, t.VE, t.VEF}) {
                s.references.push_back(p);
            }
        }
        for (auto* table : {&m.polyModuleV, &m.polyModuleE, &m.polyModuleF}) {
            s.counts.push_back(table->count);
            for (int i = 0; i < table->count; ++i) {
                const PolyModule& p = table->at(i);
                s.references.push_back(p.centre);
                for (int k = 0; k < p.n; ++k) {
                    for (const void* q : {p.cornerA[k], p.sideA[k], p.cornerB[k], p.sideB[k]}) {
                        s.references.push_back(q);
                    }
                }
            }
        }
        for (auto* table : {&m.quadModuleV, &m.quadModuleE, &m.quadModuleF}) {
            s.counts.push_back(table->count);
            for (int i = 0; i < table->count; ++i) {
                const QuadModule& q = table->at(i);
                for (const void* p : {q.centre, q.side1, q.corner, q.side2}) {
                    s.references.push_back(p);
                }
            }
        }
        s.counts.push_back(drawLists.triCount);
        s.counts.push_back(drawLists.polyCount);
        s.counts.push_back(drawLists.quadCount);
        return s;
    }
};

bool sameMatrix(const Matrix& a, const Matrix& b) {
    return a.sign == b.sign && a.m00 == b.m00 && a.m01 == b.m01 && a.m02 == b.m02 &&
           a.m10 == b.m10 && a.m11 == b.m11 && a.m12 == b.m12 && a.m20 == b.m20 && a.m21 == b.m21 &&
           a.m22 == b.m22;
}

bool samePoint(const Point& a, const Point& b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

void expectSameGroupAndModules(const Snapshot& a, const Snapshot& b) {
    EXPECT_EQ(a.matrixCount, b.matrixCount);
    EXPECT_EQ(a.counts, b.counts);
    ASSERT_EQ(a.matrices.size(), b.matrices.size());
    for (size_t i = 0; i < a.matrices.size(); ++i) {
        EXPECT_TRUE(sameMatrix(a.matrices[i], b.matrices[i])) << "matrix " << i;
    }
    ASSERT_EQ(a.records.size(), b.records.size());
    for (size_t i = 0; i < a.records.size(); ++i) {
        const auto& [p, m, tc, pc, c0, c1, c2, c3] = a.records[i];
        const auto& [q, n, td, pd, d0, d1, d2, d3] = b.records[i];
        EXPECT_TRUE(samePoint(p, q)) << "record " << i;
        EXPECT_TRUE(sameMatrix(m, n)) << "record " << i;
        EXPECT_TRUE(tc == td && pc == pd) << "record " << i;
        EXPECT_TRUE(c0 == d0 && c1 == d1 && c2 == d2 && c3 == d3) << "record " << i;
    }
    EXPECT_EQ(a.references, b.references);
}

// A turn of the view about the z axis, which keeps V at the origin (re-centring leaves it).
Matrix turn(double angle) {
    Matrix r;
    rotateMXY(r, Point{std::cos(angle), std::sin(angle), 1}, Point{1, 0, 1});
    return r;
}

bool drawListsHoldEveryRecord() {
    const ModuleTables& m = moduleTables;
    const DrawLists& d = drawLists;
    std::set<const void*> tri, poly, quad;
    for (int i = 0; i < m.triModule.count; ++i) tri.insert(&m.triModule.at(i));
    for (auto* t : {&m.polyModuleV, &m.polyModuleE, &m.polyModuleF}) {
        for (int i = 0; i < t->count; ++i) poly.insert(&t->at(i));
    }
    for (auto* t : {&m.quadModuleV, &m.quadModuleE, &m.quadModuleF}) {
        for (int i = 0; i < t->count; ++i) quad.insert(&t->at(i));
    }
    std::set<const void*> listed[3];
    for (int i = 0; i < d.triCount; ++i) listed[0].insert(d.tri[i]);
    for (int i = 0; i < d.polyCount; ++i) listed[1].insert(d.poly[i]);
    for (int i = 0; i < d.quadCount; ++i) listed[2].insert(d.quad[i]);
    return d.triCount == static_cast<int>(tri.size()) && listed[0] == tri &&
           d.polyCount == static_cast<int>(poly.size()) && listed[1] == poly &&
           d.quadCount == static_cast<int>(quad.size()) && listed[2] == quad;
}

// Adjacent entries never step down by more than a few tolerances (ties within h may land either
// way round).
bool drawListsAscend() {
    const DrawLists& d = drawLists;
    for (int i = 1; i < d.triCount; ++i) {
        if (depthTri(*d.tri[i - 1]) - depthTri(*d.tri[i]) > 4 * h) return false;
    }
    for (int i = 1; i < d.polyCount; ++i) {
        if (depthPoly(*d.poly[i - 1]) - depthPoly(*d.poly[i]) > 4 * h) return false;
    }
    for (int i = 1; i < d.quadCount; ++i) {
        if (depthQuad(*d.quad[i - 1]) - depthQuad(*d.quad[i]) > 4 * h) return false;
    }
    return true;
}

}  // namespace

TEST(LengthChain, MovesOnlyThePolyPoints) {
    for (auto [v, e, f] : {std::tuple{2, 3, 5}, {3, 3, 3}, {2, 4, 4}, {7, 3, 2}}) {
        SCOPED_TRACE(testing::Message() << v << "," << e << "," << f);
        makePicture(v, e, f, 200);
        struct Move {
            const char* name;
            bool (*run)();
        };
        for (const Move& move : {Move{"length ef 0.6",
                                      [] {
                                          settings.lengthV = 0.6;
                                          return chainSetLength(0);
                                      }},
                                 Move{"length fv 1",
                                      [] {
                                          settings.lengthE = 1;
                                          return chainSetLength(1);
                                      }},
                                 Move{"equalize", chainEqualizeLength},
                                 Move{"random", chainRanLength}, Move{"length ve 0", [] {
                                                                          settings.lengthF = 0;
                                                                          return chainSetLength(2);
                                                                      }}}) {
            SCOPED_TRACE(move.name);
            Snapshot before = Snapshot::take();
            EXPECT_TRUE(move.run());
            Snapshot after = Snapshot::take();
            expectSameGroupAndModules(before, after);
            EXPECT_NEAR(settings.lengthV + settings.lengthE + settings.lengthF, 1, 1e-12);
            // The poly points are the new generating point's images, and some of them moved.
            int moved = 0;
            for (size_t i = 0; i < before.polyPoints.size(); ++i) {
                moved += !samePoint(before.polyPoints[i], after.polyPoints[i]);
            }
            EXPECT_GT(moved, 0);
            const DataTable& centres = groupTables.dataVEF;
            for (int i = 0; i < centres.count; ++i) {
                Point p;
                dotP(p, centres.at(i).matrix, specialPoints.polyVEF);
                EXPECT_TRUE(equalsP(p, centres.at(i).polyPoint)) << "centre " << i;
            }
        }
    }
}

TEST(LengthChain, SettingOneProportionRescalesTheOtherTwo) {
    struct Row {
        const char* name;
        int which;
        double value, others[2], expected[2];
    };
    for (const Row& row :
         {Row{"0.5 over 0.3 and 0.1", 0, 0.5, {0.3, 0.1}, {0.375, 0.125}},
          Row{"0.4 over nothing", 0, 0.4, {0, 0}, {0.3, 0.3}}, Row{"1", 0, 1, {0.3, 0.1}, {0, 0}},
          Row{"fv 0.5 over ve 0.3 and ef 0.1", 1, 0.5, {0.3, 0.1}, {0.375, 0.125}},
          Row{"ve 0", 2, 0, {0.2, 0.2}, {0.5, 0.5}}}) {
        SCOPED_TRACE(row.name);
        makePicture(3, 3, 3, 50);
        double* l[3] = {&settings.lengthV, &settings.lengthE, &settings.lengthF};
        *l[row.which] = row.value;
        *l[(row.which + 1) % 3] = row.others[0];
        *l[(row.which + 2) % 3] = row.others[1];
        EXPECT_TRUE(chainSetLength(row.which));
        EXPECT_DOUBLE_EQ(*l[row.which], row.value);
        EXPECT_NEAR(*l[(row.which + 1) % 3], row.expected[0], 1e-15);
        EXPECT_NEAR(*l[(row.which + 2) % 3], row.expected[1], 1e-15);
    }
}

TEST(GeneratorChain, ViewResetsOnlyWhenTheGeometryChanges) {
    struct Row {
        const char* name;
        int from[3];
        int slot, to;
        bool reset;
        int geometry;
    };
    for (const Row& row : {Row{"3,3,3 -> 4,3,3", {3, 3, 3}, 0, 4, true, 2},
                           Row{"7,3,2 -> 8,3,2", {7, 3, 2}, 0, 8, false, 2},
                           Row{"3,3,3 -> 3,3,4", {3, 3, 3}, 2, 4, true, 2},
                           Row{"3,3,4 -> 3,3,5", {3, 3, 4}, 2, 5, false, 2},
                           Row{"3,3,3 -> 3,3,2", {3, 3, 3}, 2, 2, true, 0},
                           Row{"2,3,5 -> 2,3,4", {2, 3, 5}, 2, 4, false, 0}}) {
        SCOPED_TRACE(row.name);
        makePicture(row.from[0], row.from[1], row.from[2], 200);
        updateGeometryLabels();
        const Matrix view = turn(0.3), colours = turn(-0.7);
        settings.pointMatrix = view;
        settings.colorMatrix = colours;
        int* gens[3] = {&settings.genV, &settings.genE, &settings.genF};
        int oldGen = settings.gen;
        *gens[row.slot] = row.to;
        EXPECT_TRUE(finishGen(oldGen));
        if (row.reset) {
            EXPECT_TRUE(equalsM(settings.pointMatrix, identity));
            EXPECT_TRUE(equalsM(settings.colorMatrix, identity));
        } else {
            EXPECT_TRUE(equalsM(settings.pointMatrix, view));
            EXPECT_TRUE(equalsM(settings.colorMatrix, colours));
        }
        EXPECT_EQ(settings.geometry, row.geometry);
        EXPECT_GT(groupTables.matrix.count, 0);
        EXPECT_TRUE(drawListsHoldEveryRecord());
    }
}

TEST(GeneratorChain, NewGeometryDrawsMatchingGeneratorsAndResetsTheView) {
    for (int geometry : {0, 1, 2}) {
        SCOPED_TRACE(geometry);
        makePicture(7, 3, 2, 100);
        settings.pointMatrix = turn(1.1);
        settings.geometry = geometry;
        EXPECT_TRUE(chainSetGeometry());
        int sign = (settings.gen > 0) - (settings.gen < 0);
        EXPECT_EQ(sign, geometry - 1);
        EXPECT_EQ(settings.geometry, geometry);
        EXPECT_TRUE(equalsM(settings.pointMatrix, identity));
        EXPECT_TRUE(drawListsHoldEveryRecord());
    }
}

TEST(GeneratorChain, GeometryLabelsFollowGenAndProjection) {
    struct Row {
        int gen, project;
        int geometry;
        const char *manifold, *circle, *perspective;
    };
    for (const Row& row :
         {Row{-1, 2, 0, "z*z = 1-x*x-y*y σφαῖρα", "1 = x*x+y*y unit κύκλος", "z axis perspective"},
          Row{-4, 3, 0, "y*y+z*z = 1-x*x σφαῖρα", "y*y+z*z = 1 unit κύκλος", "x axis perspective"},
          Row{0, 0, 1, "z*z = 1 plane", "1 = x*x+y*y unit κύκλος", "z axis perspective"},
          Row{0, 5, 1, "y*y+z*z = 1 κύλινδρος", "y*y+z*z = 1 unit κύκλος", "x axis perspective"},
          Row{3, 1, 2, "z*z = 1+x*x+y*y ὑπερβολοειδές (2 sheets)", "1 = x*x+y*y unit κύκλος",
              "z axis perspective"},
          Row{1, 4, 2, "y*y+z*z = 1+x*x ὑπερβολοειδές (1 sheet)", "y*y+z*z = 1 unit κύκλος",
              "x axis perspective"}}) {
        SCOPED_TRACE(testing::Message() << "gen " << row.gen << " projection " << row.project);
        resetSmall();
        settings.gen = row.gen;
        settings.project3D2D = row.project;
        updateGeometryLabels();
        EXPECT_EQ(settings.geometry, row.geometry);
        EXPECT_EQ(settings.eqManifold, row.manifold);
        EXPECT_EQ(settings.eqCircle, row.circle);
        EXPECT_EQ(settings.eqPerspective, row.perspective);
    }
}

TEST(GroupOrderChain, CompleteGroupKeepsItsPictureAndColours) {
    makePicture(2, 3, 5, 200);
    ASSERT_EQ(groupTables.matrix.count, 120);
    Snapshot before = Snapshot::take();
    settings.groupOrder = 1000;
    EXPECT_FALSE(chainSetGroupOrder());
    Snapshot after = Snapshot::take();
    EXPECT_EQ(after.matrixCount, 120);
    EXPECT_EQ(before.counts, after.counts);
    EXPECT_EQ(before.records.size(), after.records.size());
    // The records were made afresh, but the colours and counters are those of the picture shown.
    for (size_t i = 0; i < before.records.size() && i < after.records.size(); ++i) {
        const auto& [p, m, tc, pc, c0, c1, c2, c3] = before.records[i];
        const auto& [q, n, td, pd, d0, d1, d2, d3] = after.records[i];
        EXPECT_TRUE(equalsP(p, q)) << "record " << i;
        EXPECT_TRUE(tc == td && pc == pd) << "record " << i;
        EXPECT_TRUE(c0 == d0 && c1 == d1 && c2 == d2 && c3 == d3) << "record " << i;
    }
    // Every corner of the full group is met by 2·order triangles: the counters are live.
    const int orders[3] = {2, 3, 5};
    const DataTable* corners[3] = {&groupTables.dataV, &groupTables.dataE, &groupTables.dataF};
    for (int k = 0; k < 3; ++k) {
        for (int i = 0; i < corners[k]->count; ++i) {
            EXPECT_EQ(corners[k]->at(i).c0, static_cast<uint32_t>(2 * orders[k]));
        }
    }
    EXPECT_TRUE(drawListsHoldEveryRecord());

    // A smaller group is a new picture.
    settings.groupOrder = 20;
    EXPECT_TRUE(chainSetGroupOrder());
    EXPECT_LT(groupTables.matrix.count, 120);
    EXPECT_TRUE(drawListsHoldEveryRecord());
}

TEST(GroupOrderChain, SpiralAngleRebuildsOnlyUnderTheXAxisProjections) {
    makePicture(7, 3, 2, 300);
    settings.project3D2D = 2;
    Snapshot before = Snapshot::take();
    settings.spiralAngle = 5;
    EXPECT_FALSE(chainSetSpiralAngle());
    expectSameGroupAndModules(before, Snapshot::take());

    settings.project3D2D = 3;
    settings.spiralAngle = 1;
    chainSetSpiralAngle();
    EXPECT_GE(groupTables.matrix.count, 300);
    EXPECT_TRUE(drawListsHoldEveryRecord());
}

TEST(CenterChain, PutsCornerVBackAtTheOrigin) {
    for (auto [v, e, f] : {std::tuple{2, 3, 4}, {2, 3, 6}, {4, 4, 4}}) {
        SCOPED_TRACE(testing::Message() << v << "," << e << "," << f);
        makePicture(v, e, f, 200);
        Point far;
        normalize(far, Point{0.4, -0.3, 1});
        translateM(settings.pointMatrix, far);
        EXPECT_TRUE(chainCenter());
        Point seen;
        dotP(seen, settings.pointMatrix, triangleGroup.triV);
        EXPECT_TRUE(equalsP(seen, Point{0, 0, 1}));
        EXPECT_TRUE(drawListsHoldEveryRecord());
    }
}

TEST(ViewChain, ProjectionChangeResortsAndRelabels) {
    makePicture(2, 3, 5, 200);
    for (int project : {0, 3, 4, 5, 2}) {
        SCOPED_TRACE(project);
        settings.project3D2D = project;
        EXPECT_TRUE(chainSetProject3D2D());
        EXPECT_EQ(settings.eqPerspective,
                  project < 3 ? "z axis perspective" : "x axis perspective");
        EXPECT_TRUE(drawListsAscend());
    }
    settings.pointMatrix = dotM(turn(0.5), settings.pointMatrix);
    Point tilt;
    normalize(tilt, Point{0.5, 0.2, 1});
    Matrix t;
    translateM(t, tilt);
    settings.pointMatrix = dotM(t, settings.pointMatrix);
    EXPECT_TRUE(chainView());
    EXPECT_TRUE(drawListsAscend());
}

TEST(Launch, EverySeedDrawsItsOwnPicture) {
    struct Picture {
        int geometry, gens[3];
        double lengths[3];
        BColor window, firstIndividual;
        int matrixCount;
    };
    auto launch = [](unsigned seed) {
        resetSmall();
        initRandom(seed);
        const Settings& s = settings;
        return Picture{
            s.geometry,    {s.genV, s.genE, s.genF},           {s.lengthV, s.lengthE, s.lengthF},
            s.windowColor, groupTables.dataVEF.at(0).triColor, groupTables.matrix.count};
    };
    std::vector<Picture> pictures;
    for (unsigned seed : {1u, 2u, 1u, 1234567u}) {
        SCOPED_TRACE(seed);
        pictures.push_back(launch(seed));
        const Settings& s = settings;
        // Geometry, generators and lengths are drawn, not the stored defaults.
        int sign = (s.gen > 0) - (s.gen < 0);
        EXPECT_EQ(sign, s.geometry - 1);
        EXPECT_NEAR(s.lengthV + s.lengthE + s.lengthF, 1, 1e-12);
        EXPECT_FALSE(s.lengthV == 1.0 / 3 && s.lengthE == 1.0 / 3);
        EXPECT_FALSE(s.polyFaceVColor == BColor{});
        EXPECT_FALSE(s.windowColor == BColor{});
        EXPECT_EQ(s.eqPerspective, "z axis perspective");
        EXPECT_GT(groupTables.matrix.count, 0);
        EXPECT_TRUE(drawListsHoldEveryRecord());
        EXPECT_TRUE(drawListsAscend());
    }
    auto same = [](const Picture& a, const Picture& b) {
        return a.geometry == b.geometry && a.gens[0] == b.gens[0] && a.gens[1] == b.gens[1] &&
               a.gens[2] == b.gens[2] && a.lengths[0] == b.lengths[0] &&
               a.lengths[1] == b.lengths[1] && a.window == b.window &&
               a.firstIndividual == b.firstIndividual && a.matrixCount == b.matrixCount;
    };
    EXPECT_TRUE(same(pictures[0], pictures[2]));
    EXPECT_FALSE(same(pictures[0], pictures[1]));
    EXPECT_FALSE(same(pictures[0], pictures[3]));
}

TEST(Chain, EveryBenchTripleAndOrderEndsWithSoundDrawLists) {
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
                resetSmall();
                settings.project3D2D = project;
                Settings& s = settings;
                s.genV = v;
                s.genE = e;
                s.genF = f;
                s.groupOrder = order;
                setGenType();
                setGen();
                rebuildModules();
                ranAllColor();
                EXPECT_TRUE(drawListsHoldEveryRecord());
                EXPECT_TRUE(drawListsAscend());
            }
        }
    }
}
