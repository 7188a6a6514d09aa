#pragma once

// The generation chain and the places its callers enter it.
//
//   1 setGenType or ranGen      gen (and for ranGen the three orders)
//   2 setTriangle               corners, lines, reflections, rotations
//   3 setTriPoint               incentre and its feet
//   4 setPolyPoint              the generating point and its feet
//   5 setGroupOrderMax          size of the finite group (sphere only)
//   6 setGroup                  re-centred view, group table, the seven data tables
//   7 newModules, setShape      tri, poly and quad tables, draw counters, sorted draw lists
//   8 ranAllColor               individual colours
//   9 redisplay                 (the canvas)
//
// Side chains: new lengths run setPolyPoint and setPolyModules only (the group and modules stay);
// a new view or projection runs setOrder only.
//
// The entries below are what the panel, the canvas and the document reader call after they have
// stored the new setting. Each returns true when the picture must be redrawn; the redisplay
// itself, and refreshing the panel's controls, is the caller's.

struct Model;
struct Settings;

// Stages 2 to 6.
void setGen(Model& m);
// Stage 7.
void rebuildModules(Model& m);

// Launch: colour matrices, equation captions and offset matrices; srandom(seed); a random
// geometry, lengths and generators; stages 2 to 8; random type, circle, origin and window colours.
void initRandom(Model& m, unsigned seed);
void initRandom(Model& m);  // seeded from the clock

// geometry from the sign of gen, and the three equation captions for gen and project3D2D.
void updateGeometryLabels(Settings& s);

// A generator order has changed; oldGen is gen before the change. The view is reset when the
// geometry (sign of gen) changes.
bool finishGen(Model& m, int oldGen);
bool chainRanGen(Model& m);
bool chainSetGeometry(Model& m);  // settings.geometry holds the geometry asked for
bool chainCenter(Model& m);
bool chainSetGroupOrder(Model& m);
bool chainSetSpiralAngle(Model& m);

// Lengths side chain.
bool chainEqualizeLength(Model& m);
bool chainRanLength(Model& m);
// One proportion (0 lengthV, 1 lengthE, 2 lengthF) has been stored; the other two are rescaled
// so that the three sum to 1.
bool chainSetLength(Model& m, int which);
// Snub mode or its mirror copy was switched (snubForm, snubMirror): the lengths side chain, which
// places P for the form now on show, and the draw lists refilled.
bool chainSnub(Model& m);

// View side chain: after pointMatrix (or colorMatrix) changed.
bool chainView(Model& m);
bool chainSetProject3D2D(Model& m);
