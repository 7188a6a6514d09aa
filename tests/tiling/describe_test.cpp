#include "tiling/describe.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "tiling_support.h"

namespace {

// Where P sits, as edge-length shares (lengthV, lengthE, lengthF).
constexpr Lengths atV{1, 0, 0}, atE{0, 1, 0}, atF{0, 0, 1};
constexpr Lengths onVE{0.5, 0.5, 0}, onEF{0, 0.5, 0.5}, onFV{0.5, 0, 0.5};
constexpr Lengths inside{1. / 3, 1. / 3, 1. / 3};

Description describe(int p, int q, int r, const Lengths& l) {
    return describeTiling(p, q, r, l[0], l[1], l[2]);
}

}  // namespace

// The uniform tilings from the books: Wythoff symbols, vertex configurations, names, geometries
// and symmetry groups of the Platonic and Archimedean solids, prisms, dihedra and hosohedra, the
// Euclidean tilings and the Wythoffian tilings of (2,3,7), (2,4,5) and beyond, and the snubs in
// three arrangements of the corners.
TEST(Describe, KnownTilings) {
    struct Known {
        int p, q, r;
        Lengths at;
        const char* summary;
    };
    const Known rows[] = {
        {2, 3, 4, atV, "2 | 3 4 3.4.3.4 cuboctahedron, sphere [4,3] *432"},
        {2, 3, 4, atF, "4 | 2 3 3.3.3.3 octahedron, sphere [4,3] *432"},
        {2, 3, 4, onVE, "2 3 | 4 3.8.8 truncated cube, sphere [4,3] *432"},
        {2, 3, 4, onEF, "3 4 | 2 3.4.4.4 rhombicuboctahedron, sphere [4,3] *432"},
        {2, 3, 4, inside, "2 3 4 | 4.6.8 truncated cuboctahedron, sphere [4,3] *432"},
        {2, 2, 12, inside, "2 2 12 | 4.4.24 icositetragonal prism, sphere [12,2] *12.2.2"},
        {2, 7, 2, atE, "7 | 2 2 2.2.2.2.2.2.2 heptagonal hosohedron, sphere [7,2] *722"},
        {2, 2, 7, atV, "2 | 2 7 7.7 heptagonal dihedron, sphere [7,2] *722"},
        {2, 4, 4, onVE, "2 4 | 4 4.8.8 truncated square tiling, plane [4,4] *442"},
        {3, 3, 3, inside, "3 3 3 | 6.6.6 hexagonal tiling, plane (3 3 3) *333"},
        {2, 3, 7, atF, "7 | 2 3 3.3.3.3.3.3.3 order-7 triangular tiling, hyperbolic [7,3] *732"},
        {2, 4, 5, inside, "2 4 5 | 4.8.10 truncated tetrapentagonal tiling, hyperbolic [5,4] *542"},
        {3, 4, 5, inside, "3 4 5 | 6.8.10 -, hyperbolic (3 4 5) *543"},
        {11, 12, 2, inside,
         "2 11 12 | 4.22.24 truncated hendecadodecagonal tiling, hyperbolic [12,11] *12.11.2"},
    };
    for (const Known& k : rows) EXPECT_EQ(summary(describe(k.p, k.q, k.r, k.at)), k.summary);
    const Known snubs[] = {
        {2, 3, 4, inside, "| 2 3 4 3.3.3.3.4 snub cube, sphere [4,3]+ 432"},
        {2, 3, 3, inside, "| 2 3 3 3.3.3.3.3 icosahedron, sphere [3,3]+ 332"},
        {2, 2, 5, inside, "| 2 2 5 3.3.3.5 pentagonal antiprism, sphere [5,2]+ 522"},
        {2, 4, 4, inside, "| 2 4 4 3.3.4.3.4 snub square tiling, plane [4,4]+ 442"},
        {3, 3, 3, inside, "| 3 3 3 3.3.3.3.3.3 triangular tiling, plane (3 3 3)+ 333"},
        {2, 3, 7, inside, "| 2 3 7 3.3.3.3.7 snub heptagonal tiling, hyperbolic [7,3]+ 732"},
        {3, 3, 4, inside, "| 3 3 4 3.3.3.3.3.4 -, hyperbolic (3 3 4)+ 433"},
    };
    for (const Known& k : snubs) {
        for (const auto& [a, b, c] : {std::array{k.p, k.q, k.r}, {k.q, k.r, k.p}, {k.r, k.q, k.p}})
            EXPECT_EQ(summary(describeSnub(a, b, c, 1. / 3, 1. / 3, 1. / 3)), k.summary);
    }
    // Orders that make no group describe no polyhedron.
    for (int p : {0, 1}) EXPECT_FALSE(describe(p, 3, 4, atV).counts) << p;
}

TEST(Describe, Captions) {
    EXPECT_EQ(captionText(describe(2, 3, 4, {0.2, 0.3, 0.5})),
              "4.6.8 \u00b7 2 3 4 | \u00b7 truncated cuboctahedron, not uniform \u00b7 48 "
              "vertices, 72 edges, 26 faces");
    EXPECT_EQ(captionText(describe(3, 4, 5, {0.1, 0.2, 0.7})),
              "6.8.10 \u00b7 3 4 5 | \u00b7 not uniform \u00b7 (3 4 5) (*543)");
    // Unequal but reachable proportions, and proportions that no point has.
    const Description unequal = describeSnub(2, 4, 4, 0.3, 0.3, 0.4);
    EXPECT_FALSE(unequal.uniform || unequal.nearest);
    EXPECT_EQ(
        captionText(describeSnub(2, 4, 4, 1, 0, 0)),
        "3.3.4.3.4 \u00b7 | 2 4 4 \u00b7 snub square tiling, not uniform \u00b7 proportions out of "
        "reach: nearest point \u00b7 [4,4]+ (442)");
}
