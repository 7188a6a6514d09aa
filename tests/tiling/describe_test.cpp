#include "tiling/describe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

namespace {

using Lengths = std::array<double, 3>;

// Where P sits, as edge-length shares (lengthV, lengthE, lengthF).
constexpr Lengths atV{1, 0, 0}, atE{0, 1, 0}, atF{0, 0, 1};
constexpr Lengths onVE{0.5, 0.5, 0}, onEF{0, 0.5, 0.5}, onFV{0.5, 0, 0.5};
constexpr Lengths inside{1. / 3, 1. / 3, 1. / 3};

Description describe(int p, int q, int r, const Lengths& l) {
    return describeTiling(p, q, r, l[0], l[1], l[2]);
}

std::string summary(const Description& d) {
    return d.wythoff + " " + configurationText(d.vertexConfiguration) + " " + d.name.value_or("-");
}

// Counts of the sphere that hold together: Euler's V − E + F = 2, and each face kind counted from
// the vertices (V times its number in the configuration, over its sides) as from the corners.
void expectSoundCounts(const Description& d) {
    ASSERT_TRUE(d.counts);
    const PolyhedronCounts& n = *d.counts;
    EXPECT_EQ(n.vertices - n.edges + n.faces, 2);
    long total = 0;
    for (const FaceCount& f : n.facesBySides) {
        const long seen =
            std::count(d.vertexConfiguration.begin(), d.vertexConfiguration.end(), f.sides);
        EXPECT_EQ(f.count * f.sides, n.vertices * seen) << f.sides;
        total += f.count;
    }
    EXPECT_EQ(total, n.faces);
}

}  // namespace

// The uniform tilings from the books: Wythoff symbols, vertex configurations and names of the
// Platonic and Archimedean solids, prisms, dihedra and hosohedra, the Euclidean tilings and the
// Wythoffian tilings of (2,3,7), (2,4,5) and beyond, and the snubs in three arrangements of the
// corners.
TEST(Describe, KnownTilings) {
    struct Known {
        int p, q, r;
        Lengths at;
        const char* summary;
    };
    const Known rows[] = {
        {2, 3, 4, atV, "2 | 3 4 3.4.3.4 cuboctahedron"},
        {2, 3, 4, atE, "3 | 2 4 4.4.4 cube"},
        {2, 3, 4, atF, "4 | 2 3 3.3.3.3 octahedron"},
        {2, 3, 4, onVE, "2 3 | 4 3.8.8 truncated cube"},
        {2, 3, 4, onEF, "3 4 | 2 3.4.4.4 rhombicuboctahedron"},
        {2, 3, 4, onFV, "2 4 | 3 4.6.6 truncated octahedron"},
        {2, 3, 4, inside, "2 3 4 | 4.6.8 truncated cuboctahedron"},
        {2, 3, 5, onEF, "3 5 | 2 3.4.5.4 rhombicosidodecahedron"},
        {2, 3, 3, atE, "3 | 2 3 3.3.3 tetrahedron"},
        {3, 4, 2, onEF, "2 4 | 3 4.6.6 truncated octahedron"},
        {5, 2, 3, onFV, "3 5 | 2 3.4.5.4 rhombicosidodecahedron"},
        {2, 2, 5, onFV, "2 5 | 2 4.4.5 pentagonal prism"},
        {2, 2, 12, inside, "2 2 12 | 4.4.24 icositetragonal prism"},
        {2, 2, 7, atV, "2 | 2 7 7.7 heptagonal dihedron"},
        {2, 2, 5, onVE, "2 2 | 5 10.10 decagonal dihedron"},
        {2, 2, 7, atF, "7 | 2 2 2.2.2.2.2.2.2 heptagonal hosohedron"},
        {2, 2, 2, atE, "2 | 2 2 2.2 digonal hosohedron"},
        {2, 4, 4, onVE, "2 4 | 4 4.8.8 truncated square tiling"},
        {2, 3, 6, atV, "2 | 3 6 3.6.3.6 trihexagonal tiling"},
        {2, 3, 6, onEF, "3 6 | 2 3.4.6.4 rhombitrihexagonal tiling"},
        {3, 3, 3, inside, "3 3 3 | 6.6.6 hexagonal tiling"},
        {2, 3, 7, atF, "7 | 2 3 3.3.3.3.3.3.3 order-7 triangular tiling"},
        {2, 3, 7, onVE, "2 3 | 7 3.14.14 truncated heptagonal tiling"},
        {2, 3, 7, onFV, "2 7 | 3 6.6.7 truncated order-7 triangular tiling"},
        {2, 4, 5, atV, "2 | 4 5 4.5.4.5 tetrapentagonal tiling"},
        {2, 4, 5, onEF, "4 5 | 2 4.4.4.5 rhombitetrapentagonal tiling"},
        {2, 4, 5, inside, "2 4 5 | 4.8.10 truncated tetrapentagonal tiling"},
        {3, 3, 4, onVE, "3 3 | 4 3.8.3.8 trioctagonal tiling"},
        {3, 4, 5, inside, "3 4 5 | 6.8.10 -"},
        {3, 4, 4, onFV, "3 4 | 4 3.8.4.8 -"},
    };
    for (const Known& k : rows) EXPECT_EQ(summary(describe(k.p, k.q, k.r, k.at)), k.summary);
    const std::array<int, 3> snubs[] = {{2, 3, 4}, {2, 3, 5}, {2, 3, 3}, {2, 2, 5}, {2, 2, 3},
                                        {2, 2, 2}, {2, 4, 4}, {2, 3, 6}, {3, 3, 3}, {2, 3, 7},
                                        {2, 4, 5}, {2, 5, 5}, {3, 3, 4}};
    const char* const snubSummaries[] = {"| 2 3 4 3.3.3.3.4 snub cube",
                                         "| 2 3 5 3.3.3.3.5 snub dodecahedron",
                                         "| 2 3 3 3.3.3.3.3 icosahedron",
                                         "| 2 2 5 3.3.3.5 pentagonal antiprism",
                                         "| 2 2 3 3.3.3.3 octahedron",
                                         "| 2 2 2 3.3.3 tetrahedron",
                                         "| 2 4 4 3.3.4.3.4 snub square tiling",
                                         "| 2 3 6 3.3.3.3.6 snub trihexagonal tiling",
                                         "| 3 3 3 3.3.3.3.3.3 triangular tiling",
                                         "| 2 3 7 3.3.3.3.7 snub heptagonal tiling",
                                         "| 2 4 5 3.3.4.3.5 snub order-4 pentagonal tiling",
                                         "| 2 5 5 3.3.5.3.5 snub order-5 pentagonal tiling",
                                         "| 3 3 4 3.3.3.3.3.4 -"};
    for (int i = 0; i < 13; ++i) {
        const auto [p, q, r] = snubs[i];
        for (const auto& [a, b, c] : {std::array{p, q, r}, {q, r, p}, {r, q, p}}) {
            const Description d = describeSnub(a, b, c, 1. / 3, 1. / 3, 1. / 3);
            EXPECT_EQ(summary(d), snubSummaries[i]);
            EXPECT_TRUE(d.uniform && !d.nearest) << snubSummaries[i];
            if (d.geometry == "sphere") expectSoundCounts(d);
        }
    }
}

TEST(Describe, GeometryAndSymmetryGroups) {
    struct Row {
        int p, q, r;
        const char* expected;
    };
    for (const Row& row :
         {Row{2, 3, 4, "sphere [4,3] *432"}, Row{5, 3, 2, "sphere [5,3] *532"},
          Row{2, 7, 2, "sphere [7,2] *722"}, Row{2, 2, 12, "sphere [12,2] *12.2.2"},
          Row{4, 2, 4, "plane [4,4] *442"}, Row{3, 3, 3, "plane (3 3 3) *333"},
          Row{7, 3, 2, "hyperbolic [7,3] *732"}, Row{4, 3, 3, "hyperbolic (3 3 4) *433"},
          Row{11, 12, 2, "hyperbolic [12,11] *12.11.2"}}) {
        const Description d = describe(row.p, row.q, row.r, inside);
        EXPECT_EQ(d.geometry + " " + d.coxeter + " " + d.orbifold, row.expected);
        EXPECT_EQ(d.generators, (std::array<int, 3>{row.p, row.q, row.r}));
    }
    for (int p : {0, 1}) EXPECT_FALSE(describe(p, 3, 4, atV).counts) << p;  // no group
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
        for (auto [p, q, r] : {std::array{2, 3, 4}, {2, 4, 4}, {2, 3, 7}}) {
            const Description d = describe(p, q, r, row.uneven);
            EXPECT_EQ(d.uniform, row.uniform) << row.uneven[0] << " " << row.uneven[1];
            EXPECT_EQ(summary(d), summary(describe(p, q, r, row.even)));
        }
    }
}

// Over every triangle with orders 2..12 and every place of P, and its snub: counts that hold
// together on the sphere; the angles of regular faces round a vertex add up to less than,
// exactly or more than 2π as the geometry says; naming the corners in another order changes
// nothing; and the sphere and the plane name all their tilings.
TEST(Describe, InvariantsOverEveryTriangle) {
    for (int p = 2; p <= 12; ++p) {
        for (int q = 2; q <= 12; ++q) {
            for (int r = 2; r <= 12; ++r) {
                for (const Lengths& at : {atV, atE, atF, onVE, onEF, onFV, inside}) {
                    SCOPED_TRACE(testing::Message() << p << "," << q << "," << r << " at " << at[0]
                                                    << " " << at[1] << " " << at[2]);
                    const Description d = describe(p, q, r, at);
                    const std::vector<int>& c = d.vertexConfiguration;
                    ASSERT_FALSE(c.empty());
                    double angles = 0;  // in units of π
                    for (int s : c) angles += (s - 2.0) / s;
                    EXPECT_EQ(d.geometry == "hyperbolic" || bool(d.name), true)
                        << configurationText(c);
                    if (d.geometry == "sphere") {
                        EXPECT_LT(angles, 2 - 1e-6);
                        expectSoundCounts(d);
                    } else {
                        EXPECT_FALSE(d.counts);
                        EXPECT_TRUE(d.geometry == "plane" ? std::fabs(angles - 2) < 1e-12
                                                          : angles > 2 + 1e-6);
                    }
                    const Description turned = describeTiling(q, r, p, at[1], at[2], at[0]);
                    EXPECT_EQ(summary(turned), summary(d));
                    EXPECT_EQ(turned.orbifold, d.orbifold);
                    EXPECT_EQ(summary(describeTiling(q, p, r, at[1], at[0], at[2])), summary(d));
                }
            }
        }
    }
}

TEST(Describe, Captions) {
    EXPECT_EQ(captionText(describe(2, 3, 4, atV)),
              "3.4.3.4 \u00b7 2 | 3 4 \u00b7 cuboctahedron \u00b7 12 vertices, 24 edges, 14 faces");
    EXPECT_EQ(captionText(describe(2, 3, 4, {0.2, 0.3, 0.5})),
              "4.6.8 \u00b7 2 3 4 | \u00b7 truncated cuboctahedron, not uniform \u00b7 48 "
              "vertices, 72 edges, 26 faces");
    EXPECT_EQ(captionText(describe(2, 3, 7, onEF)),
              "3.4.7.4 \u00b7 3 7 | 2 \u00b7 rhombitriheptagonal tiling \u00b7 [7,3] (*732)");
    EXPECT_EQ(captionText(describe(3, 4, 5, {0.1, 0.2, 0.7})),
              "6.8.10 \u00b7 3 4 5 | \u00b7 not uniform \u00b7 (3 4 5) (*543)");
    EXPECT_EQ(captionText(describeSnub(2, 3, 4, 1. / 3, 1. / 3, 1. / 3)),
              "3.3.3.3.4 \u00b7 | 2 3 4 \u00b7 snub cube \u00b7 24 vertices, 60 edges, 38 faces");
    EXPECT_EQ(captionText(describeSnub(7, 3, 2, 1. / 3, 1. / 3, 1. / 3)),
              "3.3.3.3.7 \u00b7 | 2 3 7 \u00b7 snub heptagonal tiling \u00b7 [7,3]+ (732)");
    // Unequal but reachable proportions, and proportions that no point has.
    const Description unequal = describeSnub(2, 4, 4, 0.3, 0.3, 0.4);
    EXPECT_FALSE(unequal.uniform || unequal.nearest);
    EXPECT_EQ(
        captionText(describeSnub(2, 4, 4, 1, 0, 0)),
        "3.3.4.3.4 \u00b7 | 2 4 4 \u00b7 snub square tiling, not uniform \u00b7 proportions out of "
        "reach: nearest point \u00b7 [4,4]+ (442)");
}
