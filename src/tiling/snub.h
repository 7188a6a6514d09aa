#pragma once

#include <array>

#include "geometry/types.h"

// The snub of the triangle group: the images of a point P under the rotations of the group (the
// even elements, orientation sign +1), or, for the mirror copy, under the odd elements. The odd
// images are the even images of the mirror image of P, so the two copies are mirror images of
// each other and one P serves both.
//
// The rotations R_V = reflectFV·reflectVE, R_E = reflectVE·reflectEF, R_F = reflectEF·reflectFV
// turn by 2π/p, 2π/q, 2π/r about V, E, F, and R_V·R_E·R_F = 1. The snub has three kinds of edge:
// P to R_V·P (the sides of the p-gons round the images of V), P to R_E·P (the q-gons) and P to
// R_F·P (the r-gons). Each odd triangle of the kaleidoscope carries one snub triangle whose
// corners are P carried by its three even neighbours: over reflectEF they are P, R_F·P and
// R_E⁻¹·P, one edge of each kind. Round a vertex: 3.p.3.q.3.r, a 2-gon being a single edge.

struct DataModule;
struct PolyModule;
struct TriangleGroup;

// The lengths of the three kinds of edge (V, E, F) at P, computed from chords so that short
// edges keep their relative precision.
std::array<double, 3> snubEdgeLengths(const TriangleGroup& g, int gen, const Point& P);

// How close the proportions of the edges must come to the asked ones: 1e-9 on the plane, 1e-6 on
// the sphere and the hyperbolic plane.
double snubTolerance(int gen);

struct SnubSolution {
    Point point;           // P, in the closed fundamental triangle
    double deviation = 0;  // the largest difference between an edge's share and its proportion
    bool exact = false;    // deviation within snubTolerance; otherwise P is the nearest point
};

// The point of the closed triangle V, E, F whose three kinds of edge have the shares L (which
// must be non-negative with sum 1). A coarse scan of the triangle picks the start, then damped
// Gauss-Newton (Levenberg-Marquardt) on the two barycentric weights of E and F, kept inside the
// triangle, minimises the squared differences. Where no point of the triangle has the asked
// shares (a zero share for two kinds, say) the search ends at the nearest point it finds.
SnubSolution solveSnubPoint(const TriangleGroup& g, int gen, const std::array<double, 3>& L);

// The corners, in cyclic order, of the face that a poly record (kinds 0, 1, 2) or a snub
// triangle (kSnubKind) gives the snub (mirror false) or its mirror image: the even corners of a
// polygon walk (cornerA, since walks start from rotations) or the odd ones (cornerB), the three
// neighbours of an odd triangle or of an even one. Returns the number of corners, 2 for a 2-gon
// (a single edge) and 0 when the record has no face in that copy; corners past the rim are null.
int snubCorners(const PolyModule& record, bool mirror, const DataModule* corners[12]);
