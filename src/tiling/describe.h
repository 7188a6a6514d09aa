#pragma once

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// What a picture is, in words: the tiling that the triangle group (p, q, r) and the generating
// point P make, named the way a geometer would.
//
// The corners V, E, F of the fundamental triangle carry the angles π/p, π/q, π/r. The three
// proportions are the edge-length shares of the tiling: lengthV belongs to the edges that cross
// side EF (opposite V), lengthE to those that cross FV, lengthF to those that cross VE. A share
// of 0 (at most 1e-9) puts P on that side, two zero shares put it on a corner: lengthV alone
// non-zero puts P at V.
//
// The orders are 2 or more (the panel's sliders and documents keep them 2 to 12). A pure function
// of its arguments: it reads no program state.

struct FaceCount {
    int sides = 0;
    long count = 0;
};

// The polyhedron of a spherical tiling.
struct PolyhedronCounts {
    long vertices = 0, edges = 0, faces = 0;
    std::vector<FaceCount> facesBySides;  // ascending by sides; faces of equal sides merged
};

struct Description {
    std::string geometry;           // "sphere", "plane" or "hyperbolic"
    std::array<int, 3> generators;  // p, q, r
    std::array<double, 3> lengths;  // lengthV, lengthE, lengthF as given
    std::string wythoff;            // "2 | 3 4", "2 3 | 4", "2 3 4 |"
    // The faces round a vertex in cyclic order, the smallest rotation or reflection.
    std::vector<int> vertexConfiguration;
    bool uniform = false;                    // every edge that is not a point has one length
    std::optional<std::string> name;         // a well-known English name, or none
    std::optional<PolyhedronCounts> counts;  // on the sphere only
    std::string coxeter;                     // "[4,3]", or the triangle group "(3 3 4)"
    std::string orbifold;                    // "*432"
    // A snub whose proportions no point reaches: the picture shows the nearest point.
    bool nearest = false;
};

Description describeTiling(int p, int q, int r, double lengthV, double lengthE, double lengthF);

// The snub "| p q r" with the proportions of its three kinds of edge (P to its images under the
// rotations about V, E, F): the faces 3.p.3.q.3.r round a vertex, 2-gons dropped; uniform when
// the proportions are equal (the equal proportions are always reached); "snub cube", "snub
// dodecahedron", "icosahedron" for (2,3,3), antiprisms for (2,2,n), "snub square tiling", "snub
// trihexagonal tiling", and "snub order-q p-gonal tiling" for the hyperbolic (2, q, p), p ≥ q.
// Whether the proportions are reached is found by placing P (solveSnubPoint), as the picture
// does; the result still depends on the arguments alone.
Description describeSnub(int p, int q, int r, double lengthV, double lengthE, double lengthF);

// "3.4.3.4".
std::string configurationText(const std::vector<int>& configuration);

// One line for the drawing window, for example
// "3.4.3.4 · 2 | 3 4 · cuboctahedron · 12 vertices, 24 edges, 14 faces"; off the sphere the
// symmetry group ends it instead of the counts. A snub out of reach says that it shows the
// nearest point.
std::string captionText(const Description& d);
