#include "tiling/describe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <numeric>
#include <optional>
#include <string>
#include <vector>

namespace {

using Lengths = std::array<double, 3>;

// Where P sits, as edge-length shares (lengthV, lengthE, lengthF).
constexpr Lengths atV{1, 0, 0}, atE{0, 1, 0}, atF{0, 0, 1};
constexpr Lengths onVE{0.5, 0.5, 0}, onEF{0, 0.5, 0.5}, onFV{0.5, 0, 0.5};
constexpr Lengths inside{1. / 3, 1. / 3, 1. / 3};

struct Known {
    int p, q, r;
    Lengths at;
    const char* wythoff;
    const char* configuration;
    const char* name;  // nullptr: none
    long vertices, edges;
    std::map<int, long> faces;  // by number of sides; empty off the sphere
};

// The uniform tilings from the books: Wythoff symbols, vertex configurations, names and counts
// of the Platonic and Archimedean solids, prisms, dihedra and hosohedra, the Euclidean tilings
// and the Wythoffian tilings of (2,3,7), (2,4,5) and beyond.
// clang-format off
const std::vector<Known>& knownTilings() {
    static const std::vector<Known> rows = {
        {2, 3, 4, atV, "2 | 3 4", "3.4.3.4", "cuboctahedron", 12, 24, {{3, 8}, {4, 6}}},
        {2, 3, 4, atE, "3 | 2 4", "4.4.4", "cube", 8, 12, {{4, 6}}},
        {2, 3, 4, atF, "4 | 2 3", "3.3.3.3", "octahedron", 6, 12, {{3, 8}}},
        {2, 3, 4, onVE, "2 3 | 4", "3.8.8", "truncated cube", 24, 36, {{3, 8}, {8, 6}}},
        {2, 3, 4, onEF, "3 4 | 2", "3.4.4.4", "rhombicuboctahedron", 24, 48, {{3, 8}, {4, 18}}},
        {2, 3, 4, onFV, "2 4 | 3", "4.6.6", "truncated octahedron", 24, 36, {{4, 6}, {6, 8}}},
        {2, 3, 4, inside, "2 3 4 |", "4.6.8", "truncated cuboctahedron", 48, 72, {{4, 12}, {6, 8}, {8, 6}}},
        {2, 3, 5, atV, "2 | 3 5", "3.5.3.5", "icosidodecahedron", 30, 60, {{3, 20}, {5, 12}}},
        {2, 3, 5, atE, "3 | 2 5", "5.5.5", "dodecahedron", 20, 30, {{5, 12}}},
        {2, 3, 5, atF, "5 | 2 3", "3.3.3.3.3", "icosahedron", 12, 30, {{3, 20}}},
        {2, 3, 5, onVE, "2 3 | 5", "3.10.10", "truncated dodecahedron", 60, 90, {{3, 20}, {10, 12}}},
        {2, 3, 5, onEF, "3 5 | 2", "3.4.5.4", "rhombicosidodecahedron", 60, 120, {{3, 20}, {4, 30}, {5, 12}}},
        {2, 3, 5, onFV, "2 5 | 3", "5.6.6", "truncated icosahedron", 60, 90, {{5, 12}, {6, 20}}},
        {2, 3, 5, inside, "2 3 5 |", "4.6.10", "truncated icosidodecahedron", 120, 180, {{4, 30}, {6, 20}, {10, 12}}},
        {2, 3, 3, atE, "3 | 2 3", "3.3.3", "tetrahedron", 4, 6, {{3, 4}}},
        {2, 3, 3, onVE, "2 3 | 3", "3.6.6", "truncated tetrahedron", 12, 18, {{3, 4}, {6, 4}}},
        // The corners in other orders: the shares follow their corners.
        {3, 4, 2, onEF, "2 4 | 3", "4.6.6", "truncated octahedron", 24, 36, {{4, 6}, {6, 8}}},
        {5, 2, 3, onFV, "3 5 | 2", "3.4.5.4", "rhombicosidodecahedron", 60, 120, {{3, 20}, {4, 30}, {5, 12}}},
        // Prisms, dihedra and hosohedra.
        {2, 2, 5, onFV, "2 5 | 2", "4.4.5", "pentagonal prism", 10, 15, {{4, 5}, {5, 2}}},
        {2, 2, 12, inside, "2 2 12 |", "4.4.24", "icositetragonal prism", 48, 72, {{4, 24}, {24, 2}}},
        {2, 2, 7, atV, "2 | 2 7", "7.7", "heptagonal dihedron", 7, 7, {{7, 2}}},
        {2, 2, 5, onVE, "2 2 | 5", "10.10", "decagonal dihedron", 10, 10, {{10, 2}}},
        {2, 2, 7, atF, "7 | 2 2", "2.2.2.2.2.2.2", "heptagonal hosohedron", 2, 7, {{2, 7}}},
        {2, 2, 2, atE, "2 | 2 2", "2.2", "digonal hosohedron", 2, 2, {{2, 2}}},
        // The Euclidean and the hyperbolic plane.
        {2, 4, 4, onVE, "2 4 | 4", "4.8.8", "truncated square tiling", 0, 0, {}},
        {2, 4, 4, onEF, "4 4 | 2", "4.4.4.4", "square tiling", 0, 0, {}},
        {2, 3, 6, atV, "2 | 3 6", "3.6.3.6", "trihexagonal tiling", 0, 0, {}},
        {2, 3, 6, atE, "3 | 2 6", "6.6.6", "hexagonal tiling", 0, 0, {}},
        {2, 3, 6, atF, "6 | 2 3", "3.3.3.3.3.3", "triangular tiling", 0, 0, {}},
        {2, 3, 6, onEF, "3 6 | 2", "3.4.6.4", "rhombitrihexagonal tiling", 0, 0, {}},
        {2, 3, 6, inside, "2 3 6 |", "4.6.12", "truncated trihexagonal tiling", 0, 0, {}},
        {3, 3, 3, inside, "3 3 3 |", "6.6.6", "hexagonal tiling", 0, 0, {}},
        {2, 3, 7, atF, "7 | 2 3", "3.3.3.3.3.3.3", "order-7 triangular tiling", 0, 0, {}},
        {2, 3, 7, onVE, "2 3 | 7", "3.14.14", "truncated heptagonal tiling", 0, 0, {}},
        {2, 3, 7, onFV, "2 7 | 3", "6.6.7", "truncated order-7 triangular tiling", 0, 0, {}},
        {2, 4, 5, atV, "2 | 4 5", "4.5.4.5", "tetrapentagonal tiling", 0, 0, {}},
        {2, 4, 5, onEF, "4 5 | 2", "4.4.4.5", "rhombitetrapentagonal tiling", 0, 0, {}},
        {2, 4, 5, inside, "2 4 5 |", "4.8.10", "truncated tetrapentagonal tiling", 0, 0, {}},
        {3, 3, 4, onVE, "3 3 | 4", "3.8.3.8", "trioctagonal tiling", 0, 0, {}},
        {3, 4, 5, inside, "3 4 5 |", "6.8.10", nullptr, 0, 0, {}},
        {3, 4, 4, onFV, "3 4 | 4", "3.8.4.8", nullptr, 0, 0, {}},
    };
    return rows;
}
// clang-format on

Description describe(int p, int q, int r, const Lengths& l) {
    return describeTiling(p, q, r, l[0], l[1], l[2]);
}

TEST(Describe, KnownTilings) {
    for (const Known& k : knownTilings()) {
        SCOPED_TRACE(testing::Message() << k.p << "," << k.q << "," << k.r << " " << k.wythoff);
        const Description d = describe(k.p, k.q, k.r, k.at);
        EXPECT_EQ(d.wythoff, k.wythoff);
        EXPECT_EQ(configurationText(d.vertexConfiguration), k.configuration);
        EXPECT_EQ(d.name.value_or("(none)"), k.name ? k.name : "(none)");
        EXPECT_TRUE(d.uniform);
        ASSERT_EQ(d.counts.has_value(), !k.faces.empty());
        if (!d.counts) continue;
        EXPECT_EQ(d.geometry, "sphere");
        EXPECT_EQ(d.counts->vertices, k.vertices);
        EXPECT_EQ(d.counts->edges, k.edges);
        std::map<int, long> faces;
        for (const FaceCount& f : d.counts->facesBySides) faces[f.sides] = f.count;
        EXPECT_EQ(faces, k.faces);
    }
}

TEST(Describe, GeometryAndSymmetryGroups) {
    struct Row {
        int p, q, r;
        const char *geometry, *coxeter, *orbifold;
    };
    for (const Row& row :
         {Row{2, 3, 4, "sphere", "[4,3]", "*432"}, Row{5, 3, 2, "sphere", "[5,3]", "*532"},
          Row{3, 2, 3, "sphere", "[3,3]", "*332"}, Row{2, 7, 2, "sphere", "[7,2]", "*722"},
          Row{2, 2, 12, "sphere", "[12,2]", "*12.2.2"}, Row{4, 2, 4, "plane", "[4,4]", "*442"},
          Row{2, 3, 6, "plane", "[6,3]", "*632"}, Row{3, 3, 3, "plane", "(3 3 3)", "*333"},
          Row{7, 3, 2, "hyperbolic", "[7,3]", "*732"},
          Row{4, 3, 3, "hyperbolic", "(3 3 4)", "*433"},
          Row{11, 12, 2, "hyperbolic", "[12,11]", "*12.11.2"}}) {
        SCOPED_TRACE(testing::Message() << row.p << "," << row.q << "," << row.r);
        const Description d = describe(row.p, row.q, row.r, inside);
        EXPECT_EQ(d.geometry, row.geometry);
        EXPECT_EQ(d.coxeter, row.coxeter);
        EXPECT_EQ(d.orbifold, row.orbifold);
        EXPECT_EQ(d.generators, (std::array<int, 3>{row.p, row.q, row.r}));
    }
}

// Orders below 2 make no group: no counts, and no division by them.
TEST(Describe, OrdersBelowTwoGiveNoPolyhedron) {
    for (int p : {0, 1}) EXPECT_FALSE(describe(p, 3, 4, atV).counts) << p;
}

// Unequal edges keep the combinatorial tiling; equal ones within 1e-9 are uniform, and a
// share of at most 1e-9 is an edge shrunk to a point.
TEST(Describe, UnequalLengthsAreTheSameTilingButNotUniform) {
    struct Row {
        Lengths uneven, even;
        bool uniform;
    };
    for (const Row& row :
         {Row{{0.2, 0.3, 0.5}, inside, false}, Row{{0.7, 0.3, 0}, onVE, false},
          Row{{0, 0.45, 0.55}, onEF, false}, Row{{0.5 + 4e-10, 0.5 - 4e-10, 0}, onVE, true},
          Row{{0.5, 0.5 - 1e-10, 1e-10}, onVE, true}, Row{{1 - 2e-9, 1e-9, 1e-9}, atV, true},
          Row{{0.5 + 2e-9, 0.5 - 2e-9, 0}, onVE, false}}) {
        SCOPED_TRACE(testing::Message()
                     << row.uneven[0] << " " << row.uneven[1] << " " << row.uneven[2]);
        for (auto [p, q, r] : {std::array{2, 3, 4}, {2, 4, 4}, {2, 3, 7}}) {
            const Description d = describe(p, q, r, row.uneven);
            const Description e = describe(p, q, r, row.even);
            EXPECT_EQ(d.uniform, row.uniform);
            EXPECT_EQ(d.wythoff, e.wythoff);
            EXPECT_EQ(d.vertexConfiguration, e.vertexConfiguration);
            EXPECT_EQ(d.name, e.name);
        }
    }
}

// Over every triangle with orders 2..12 and every place of P: Euler's V − E + F = 2 on the
// sphere, where each face kind, counted from the vertices (V times its number in the
// configuration, over its sides), agrees with the count from the corners; the angles of regular
// faces round a vertex add up to less than, exactly or more than 2π as the geometry says;
// naming the corners in another order changes nothing; and the sphere and the plane name all
// their tilings.
TEST(Describe, InvariantsOverEveryTriangle) {
    const Lengths places[] = {atV, atE, atF, onVE, onEF, onFV, inside};
    for (int p = 2; p <= 12; ++p) {
        for (int q = 2; q <= 12; ++q) {
            for (int r = 2; r <= 12; ++r) {
                for (const Lengths& at : places) {
                    SCOPED_TRACE(testing::Message() << p << "," << q << "," << r << " at " << at[0]
                                                    << " " << at[1] << " " << at[2]);
                    const Description d = describe(p, q, r, at);
                    const std::vector<int>& c = d.vertexConfiguration;
                    ASSERT_FALSE(c.empty());
                    // The angles of regular faces round a vertex, in units of π, against 2.
                    double angles = 0;
                    for (int s : c) angles += (s - 2.0) / s;
                    const double full = 2;
                    if (d.geometry == "sphere") {
                        EXPECT_LT(angles, full - 1e-6);
                        ASSERT_TRUE(d.counts);
                        const PolyhedronCounts& n = *d.counts;
                        EXPECT_EQ(n.vertices - n.edges + n.faces, 2);
                        long total = 0;
                        for (const FaceCount& f : n.facesBySides) {
                            const long seen = std::count(c.begin(), c.end(), f.sides);
                            EXPECT_EQ(f.count * f.sides, n.vertices * seen) << f.sides;
                            total += f.count;
                        }
                        EXPECT_EQ(total, n.faces);
                        EXPECT_TRUE(d.name) << configurationText(c);
                    } else {
                        EXPECT_FALSE(d.counts);
                        if (d.geometry == "plane") {
                            EXPECT_NEAR(angles, full, 1e-12);
                            EXPECT_TRUE(d.name) << configurationText(c);
                        } else {
                            EXPECT_GT(angles, full + 1e-6);
                        }
                    }
                    // Corners renamed: (q, r, p) with the shares moved along.
                    const Description turned = describeTiling(q, r, p, at[1], at[2], at[0]);
                    EXPECT_EQ(turned.wythoff, d.wythoff);
                    EXPECT_EQ(turned.vertexConfiguration, c);
                    EXPECT_EQ(turned.name, d.name);
                    EXPECT_EQ(turned.orbifold, d.orbifold);
                    const Description swapped = describeTiling(q, p, r, at[1], at[0], at[2]);
                    EXPECT_EQ(swapped.vertexConfiguration, c);
                    EXPECT_EQ(swapped.wythoff, d.wythoff);
                }
            }
        }
    }
}

TEST(Describe, CaptionLine) {
    EXPECT_EQ(captionText(describe(2, 3, 4, atV)),
              "3.4.3.4 \u00b7 2 | 3 4 \u00b7 cuboctahedron \u00b7 12 vertices, 24 edges, 14 faces");
    EXPECT_EQ(
        captionText(describe(2, 3, 4, {0.2, 0.3, 0.5})),
        "4.6.8 \u00b7 2 3 4 | \u00b7 truncated cuboctahedron, not uniform \u00b7 48 vertices, "
        "72 edges, 26 faces");
    EXPECT_EQ(captionText(describe(2, 3, 7, onEF)),
              "3.4.7.4 \u00b7 3 7 | 2 \u00b7 rhombitriheptagonal tiling \u00b7 [7,3] (*732)");
    EXPECT_EQ(captionText(describe(3, 4, 5, {0.1, 0.2, 0.7})),
              "6.8.10 \u00b7 3 4 5 | \u00b7 not uniform \u00b7 (3 4 5) (*543)");
}

// The snubs from the books, in every arrangement of the corners: the Wythoff symbol, the faces
// round a vertex, the name and, on the sphere, the counts (which satisfy Euler's formula).
TEST(Describe, Snubs) {
    struct Snub {
        int p, q, r;
        const char* wythoff;
        const char* configuration;
        const char* name;
        long vertices, edges;
        std::map<int, long> faces;
    };
    const Snub rows[] = {
        {2, 3, 4, "| 2 3 4", "3.3.3.3.4", "snub cube", 24, 60, {{3, 32}, {4, 6}}},
        {2, 3, 5, "| 2 3 5", "3.3.3.3.5", "snub dodecahedron", 60, 150, {{3, 80}, {5, 12}}},
        {2, 3, 3, "| 2 3 3", "3.3.3.3.3", "icosahedron", 12, 30, {{3, 20}}},
        {2, 2, 5, "| 2 2 5", "3.3.3.5", "pentagonal antiprism", 10, 20, {{3, 10}, {5, 2}}},
        {2, 2, 3, "| 2 2 3", "3.3.3.3", "octahedron", 6, 12, {{3, 8}}},
        {2, 2, 2, "| 2 2 2", "3.3.3", "tetrahedron", 4, 6, {{3, 4}}},
        {2, 4, 4, "| 2 4 4", "3.3.4.3.4", "snub square tiling", 0, 0, {}},
        {2, 3, 6, "| 2 3 6", "3.3.3.3.6", "snub trihexagonal tiling", 0, 0, {}},
        {3, 3, 3, "| 3 3 3", "3.3.3.3.3.3", "triangular tiling", 0, 0, {}},
        {2, 3, 7, "| 2 3 7", "3.3.3.3.7", "snub heptagonal tiling", 0, 0, {}},
        {2, 4, 5, "| 2 4 5", "3.3.4.3.5", "snub order-4 pentagonal tiling", 0, 0, {}},
        {2, 5, 5, "| 2 5 5", "3.3.5.3.5", "snub order-5 pentagonal tiling", 0, 0, {}},
        {3, 3, 4, "| 3 3 4", "3.3.3.3.3.4", nullptr, 0, 0, {}},
    };
    for (const Snub& row : rows) {
        const int n[3] = {row.p, row.q, row.r};
        for (const auto& [a, b, c] : {std::array{0, 1, 2}, {1, 2, 0}, {2, 1, 0}}) {
            SCOPED_TRACE(testing::Message() << n[a] << n[b] << n[c]);
            const Description d = describeSnub(n[a], n[b], n[c], 1. / 3, 1. / 3, 1. / 3);
            EXPECT_EQ(d.wythoff, row.wythoff);
            EXPECT_EQ(configurationText(d.vertexConfiguration), row.configuration);
            EXPECT_EQ(d.name, row.name ? std::optional<std::string>(row.name) : std::nullopt);
            EXPECT_TRUE(d.uniform);
            EXPECT_FALSE(d.nearest);
            EXPECT_EQ(d.counts.has_value(), row.vertices > 0);
            if (!d.counts) continue;
            EXPECT_EQ(d.counts->vertices, row.vertices);
            EXPECT_EQ(d.counts->edges, row.edges);
            std::map<int, long> faces;
            for (const FaceCount& f : d.counts->facesBySides) faces[f.sides] = f.count;
            EXPECT_EQ(faces, row.faces);
            EXPECT_EQ(d.counts->vertices - d.counts->edges + d.counts->faces, 2);
        }
    }
}

TEST(Describe, SnubCaptions) {
    const char* const dot = " \u00b7 ";
    EXPECT_EQ(captionText(describeSnub(2, 3, 4, 1. / 3, 1. / 3, 1. / 3)),
              std::string("3.3.3.3.4") + dot + "| 2 3 4" + dot + "snub cube" + dot +
                  "24 vertices, 60 edges, 38 faces");
    EXPECT_EQ(captionText(describeSnub(7, 3, 2, 1. / 3, 1. / 3, 1. / 3)),
              std::string("3.3.3.3.7") + dot + "| 2 3 7" + dot + "snub heptagonal tiling" + dot +
                  "[7,3]+ (732)");
    // Unequal but reachable proportions, and proportions that no point has.
    const Description unequal = describeSnub(2, 4, 4, 0.3, 0.3, 0.4);
    EXPECT_FALSE(unequal.uniform);
    EXPECT_FALSE(unequal.nearest);
    const Description far = describeSnub(2, 4, 4, 1, 0, 0);
    EXPECT_TRUE(far.nearest);
    EXPECT_FALSE(far.uniform);
    EXPECT_EQ(captionText(far),
              std::string("3.3.4.3.4") + dot + "| 2 4 4" + dot + "snub square tiling, not uniform" +
                  dot + "proportions out of reach: nearest point" + dot + "[4,4]+ (442)");
}

}  // namespace
