#pragma once

#include "geometry/types.h"

// The special points of the fundamental triangle V, E, F (corners in triangleGroup).
//
// The tri points are fixed by the triangle: the incentre and the touch points of the incircle.
// The poly points follow the generating point P of the Wythoff construction, placed from the
// three edge-length proportions settings.lengthV/E/F: an edge of the tiling joins P to its
// mirror image in a side, and lengthV is the share of the edges crossing side EF (opposite V),
// lengthE of those crossing FV, lengthF of those crossing VE.
struct SpecialPoints {
    Point refTriV, refTriE, refTriF;  // each corner mirrored in its opposite side
    Point triVEF;                     // incentre
    Point triEF, triFV, triVE;        // feet of the incentre on the sides
    Point polyVEF;                    // the generating point P
    Point polyEF, polyFV, polyVE;     // feet of P on the sides (midpoints of the tiling's edges)
    // In snub mode: no point has the asked proportions, and P is the nearest one found.
    bool snubNearest = false;
};

struct Settings;
struct TriangleGroup;
struct GroupTables;
struct Tiling;

// Incentre and touch points from the corners and reflections of the triangle group.
void setTriPoint(SpecialPoints& s, const TriangleGroup& g, const Settings& settings);

// P and its feet from the proportions: exact on the plane, by bracketing (widening by (0.8, 1.25)
// until some ratio is strictly bracketed) and geometric bisection of a scale parameter on the
// sphere and the hyperbolic plane. The search always stops. In snub mode (settings.snubForm) P is
// placed by the proportions of the snub's edges instead (solveSnubPoint), and snubNearest tells
// whether they were out of reach.
void setPolyPoint(SpecialPoints& s, const TriangleGroup& g, const Settings& settings);

// One step of the proportions toward equal shares for the kinds flagged uniform.
void equalizeLength(Settings& settings);
// Random proportions with sum 1.
void ranLength(Settings& settings);
// Set proportion `which` (0 V, 1 E, 2 F) to value and rescale the other two so the three sum to 1.
// Only the settings change; the caller then runs setPolyPoint and setPolyModules.
void setLength(Settings& settings, int which, double value);
// After the flag `which` (0 V, 1 E, 2 F) was toggled: if no flag is left set, set that one again
// and return true (the caller refreshes its check box).
bool keepUniform(Settings& settings, int which);
// After P (specialPoints.polyVEF) was moved directly: the proportions become its three edge
// lengths (of the snub in snub mode) over their sum, and the feet of P are recomputed. The caller
// runs setPolyModules.
void setLengthFromPoint(Tiling& t);

// Refresh the poly points of the data records from the current feet and P, without enumerating
// the group again: dataEF, dataFV, dataVE, dataVEF take their matrix applied to polyEF, polyFV,
// polyVE, polyVEF. Tri points, matrices, colours and counters stay as they are.
void setPolyModules(GroupTables& tables, const SpecialPoints& s);
