#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <tuple>
#include <utility>

#include "tiling/snub.h"
#include "tiling_support.h"

// Polygons: on the full spherical groups one tri record and three quad records per element, every
// polygon complete with its corner's order of steps and nothing beyond, as many polygons of a kind
// as the order over twice the corner's; elsewhere the triangles are complete and the polygons at
// the rim have gaps. Every polygon runs round its centre through its triangles: each corner is a
// triangle's incentre and the side point next to it that triangle's foot on a side, an inradius
// away (also where the walk has to search, in large hyperbolic groups).
// The snub's faces and a new length: below. The draw counters, which weigh what is drawn under
// the emphases, are left to the recorded pictures (which build their tables several times over).
TEST(Modules, PolygonsSnubFacesAndANewLength) {
    const std::tuple<int, int, int, int> rows[] = {
        {2, 3, 5, 2000}, {4, 3, 2, 2000}, {2, 2, 7, 2000}, {2, 2, 2, 2000},    {2, 4, 4, 300},
        {3, 3, 3, 200},  {7, 3, 2, 400},  {5, 5, 5, 200},  {12, 12, 12, 2000}, {11, 10, 5, 2000}};
    for (auto [p, q, r, order] : rows) {
        SCOPED_TRACE(testing::Message() << p << "," << q << "," << r);
        makeTriangle(p, q, r);
        model.settings.groupOrder = order;
        model.settings.snubForm = true;
        setPolyPoint(model.specialPoints, model.triangleGroup, model.settings);
        const int count = setGroup(model);
        newModules(model);
        const int gen = model.settings.gen;
        const bool full = gen < 0;
        const ModuleTables& m = model.moduleTables;
        const SpecialPoints& s = model.specialPoints;
        const double inradius = dist(gen, s.triVEF, s.triEF);
        const int n[3] = {p, q, r};
        int withGaps = 0, walked = 0;
        for (int kind = 0; kind < 3; ++kind) {
            const SortedTable<PolyModule>& table = kind == 0   ? m.polyModuleV
                                                   : kind == 1 ? m.polyModuleE
                                                               : m.polyModuleF;
            for (int i = 0; i < table.count; ++i) {
                const PolyModule& poly = table.at(i);
                EXPECT_TRUE(poly.kind == kind && poly.n == n[kind] &&
                            (poly.n == 12 || !poly.cornerA[poly.n]))
                    << i;
                bool complete = poly.centre != nullptr;
                for (int j = 0; j < 2 * poly.n; ++j) {
                    const DataModule* corner = j % 2 ? poly.cornerB[j / 2] : poly.cornerA[j / 2];
                    const DataModule* side = j % 2 ? poly.sideB[j / 2] : poly.sideA[j / 2];
                    complete = complete && corner && side;
                    // Far out, where rounding may store one point twice, a search can find its
                    // twin: only the polygons in view are held to it.
                    if (!corner || !side || std::fabs(corner->triPoint.z) > 50) continue;
                    ++walked;
                    ASSERT_NEAR(dist(gen, corner->triPoint, side->triPoint), inradius,
                                1e-4 * (1 + inradius))
                        << "polygon " << i << " step " << j;
                }
                withGaps += !complete;
            }
            EXPECT_TRUE(!full || table.count == count / (2 * n[kind]));
        }
        EXPECT_GT(walked, std::min(count, 200));
        EXPECT_EQ(withGaps > 0, !full);
        for (const SortedTable<QuadModule>* quads :
             {&m.quadModuleV, &m.quadModuleE, &m.quadModuleF})
            EXPECT_TRUE(!full || quads->count == count);
        for (int i = 0; i < m.triModule.count; ++i) {
            const TriModule& t = m.triModule.at(i);
            for (const DataModule* d : {t.V, t.E, t.F, t.EF, t.FV, t.VE, t.VEF})
                ASSERT_NE(d, nullptr);
        }

        // The uniform snub, in both copies: every whole face in view has sides of one length and
        // its corners in the copy's orientation; on the sphere the faces close up into the
        // polyhedron that the description counts, every edge on exactly two faces.
        const Description d = describeSnub(p, q, r, 1. / 3, 1. / 3, 1. / 3);
        for (bool mirror : {false, true}) {
            std::map<std::pair<const DataModule*, const DataModule*>, int> edges;
            std::set<const DataModule*> vertices;
            int faces = 0;
            double first = 0;
            for (const SortedTable<PolyModule>* table :
                 {&m.polyModuleV, &m.polyModuleE, &m.polyModuleF, &m.snubModule}) {
                for (int i = 0; i < table->count; ++i) {
                    const DataModule* c[12];
                    const int k = snubCorners(table->at(i), mirror, c);
                    if (k < 3 || std::find(c, c + k, nullptr) != c + k) continue;
                    ++faces;
                    for (int j = 0; j < k; ++j) {
                        const DataModule *a = c[j], *b = c[(j + 1) % k];
                        ++edges[{std::min(a, b), std::max(a, b)}];
                        vertices.insert(a);
                        EXPECT_EQ(a->matrix.sign, mirror ? -1 : 1);
                        if (std::fabs(a->polyPoint.z) + std::fabs(b->polyPoint.z) > 20) continue;
                        const double e = dist(gen, a->polyPoint, b->polyPoint);
                        if (first == 0) first = e;
                        ASSERT_NEAR(e, first, 1e-5 * first) << "mirror " << mirror;
                    }
                }
            }
            EXPECT_GT(first, 0.01);
            EXPECT_GT(faces, full ? 0 : 50);
            if (!full) continue;
            EXPECT_EQ(vertices.size(), d.counts->vertices);
            EXPECT_EQ(edges.size(), d.counts->edges);
            EXPECT_EQ(faces, d.counts->faces);
            for (const auto& [edge, count] : edges) EXPECT_EQ(count, 2);
        }

        // A new length: every poly point is its record's matrix applied to the new point (the
        // refresh writes nothing else).
        setLength(model.settings, 0, 0.7);
        setPolyPoint(model.specialPoints, model.triangleGroup, model.settings);
        setPolyModules(model.groupTables, model.specialPoints);
        const TriangleGroup& tg = model.triangleGroup;
        const Point* images[7] = {&tg.triV,  &tg.triE,  &tg.triF,  &s.polyEF,
                                  &s.polyFV, &s.polyVE, &s.polyVEF};
        int k = 0;
        for (const DataTable* table : dataTables()) {
            for (int i = 0; i < table->count; ++i) {
                const DataModule& d = table->at(i);
                ASSERT_TRUE(near(d.polyPoint, dotP(d.matrix, *images[k]), 0)) << k << " " << i;
            }
            ++k;
        }
    }
}
