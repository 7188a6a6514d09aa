#pragma once

#include "geometry/settings.h"
#include "geometry/types.h"

// The Schwarz triangle V, E, F with angles π/genV, π/genE, π/genF and the reflections in its
// sides. V sits at the origin O = (0, 0, 1), side VE lies along the y axis and F has positive x.
// Sides are named by the two corners they join: EF lies opposite V, FV opposite E, VE opposite F.
struct TriangleGroup {
    BPoint bTriV, bTriE, bTriF;
    Point triV, triE, triF;
    BPoint bNormalEF, bNormalFV, bNormalVE;  // unit lines of the sides
    BMatrix bReflectEF, bReflectFV, bReflectVE;
    Matrix reflectEF, reflectFV, reflectVE;
    BMatrix bRotateV, bRotateE, bRotateF;  // rotations by 2π/p, 2π/q, 2π/r about the corners
};

// gen from the three orders.
void setGenType(Settings& s);
// New orders (2..12 each) for the geometry in s.geometry; sets gen.
void ranGen(Settings& s);
// groupOrderMax from gen alone (sphere only; any other gen leaves it as it was).
void setGroupOrderMax(Settings& s);
// Corners, lines, reflections and rotations from the orders and gen (no later stage runs).
void setTriangle(TriangleGroup& g, const Settings& s);
