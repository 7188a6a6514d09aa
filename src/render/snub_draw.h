#pragma once

// Painting one copy of the picture in snub mode (settings.snubForm): the snub takes the place of
// the Wythoff tiling in the poly families, and the kaleidoscope's triangles stay as they are.
//
// The poly draw list then holds the p-, q- and r-gon records and the snub triangles of the copy
// chosen by settings.snubMirror (setShape). A polygon record paints its face (types 0, 1, 2 round
// V, E, F), the edges between its corners (types 3, 4, 5 for the kinds V, E, F; a 2-gon paints its
// one edge and no face) and its corners (type 6 for the rotations' images, 7 for the mirror's).
// Every snub edge is a side of exactly one such record, so it is painted once without counters. A
// snub triangle paints its face only, in the poly face family with the class of the kaleidoscope
// triangle it stands over (type 9 "–" for the snub, 8 "+" for its mirror), so that the triangles
// keep a colour class apart from the three kinds of polygon. Faces cut by the rim of the picture
// are left out.
//
// With the tri families on, their triangles are painted as a layer of their own: under the snub
// when polygons are emphasised, over it otherwise.

struct Model;
struct PathTarget;

// The working counters have been reset for this pass (drawCopy).
void drawSnubCopy(Model& m, const PathTarget& target);
