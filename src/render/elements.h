#pragma once

#include "geometry/types.h"
#include "render/paths.h"
#include "tiling/tables.h"

// Painting one element: the face, edges or vertices of a tri, poly or quad record, in one copy of
// the picture (the path target's).
//
// Each painter notes the type of the feature it is about to draw (0..15), tests the feature's
// switch, picks the colour by its family's scheme and alpha, and fills or strokes through the
// geodesic paths. Features shared by neighbouring elements (edges, vertices) carry working
// counters in their data records: every visit decrements, and only the visit that brings the
// counter (or both counters) to exactly 0 paints. drawCopy sets the counters before each pass,
// which decides whether the first or the last visitor paints.
//
// Line widths and dot radii are the family's thickness × windowZoom / 100 model units.

class DrawLayer;
struct ColourState;
struct Model;
struct Settings;

// Makes (r, g, b, alpha) the current colour of the layer.
void setColor(DrawLayer& layer, const BColor& color, float alpha);

class ElementPainter {
  public:
    // Paints with the settings and colour state of m; the records' counters are used up.
    ElementPainter(const Model& m, const PathTarget& target);

    void drawTriFace(const TriModule& t);
    void drawTriEdge(const TriModule& t);
    void drawTriVert(const TriModule& t);
    void drawPolyFace(const PolyModule& p);
    void drawPolyEdge(const PolyModule& p);
    void drawPolyVert(const PolyModule& p);
    void drawQuadFace(const QuadModule& q);
    void drawQuadTriEdge(const QuadModule& q);
    void drawQuadPolyEdge(const QuadModule& q);
    void drawQuadTriVert(const QuadModule& q);
    void drawQuadPolyVert(const QuadModule& q);

  private:
    void familyColor(int family, const DataModule& record);
    float width(double thick) const;
    void dot(const Point& p, float r);
    void polyEdgePass(const PolyModule& p, bool second);

    const Settings& s_;
    const ColourState& c_;
    PathTarget target_;
    int type_ = 0;  // the type of the feature being drawn
    BColor color_;  // the colour given to the feature drawn last
};

// Paint one copy of the picture onto the target: reset the working counters, then walk the tri,
// poly or quad draw list in depth order (whichever the family switches call for).
void drawCopy(Model& m, const PathTarget& target);
// One tri module's parts that are switched on, in the emphasis order.
void drawTriParts(ElementPainter& f, const Settings& s, const TriModule& t);
// The tri draw list alone (the tri family without the poly family).
void drawTriList(const Model& m, const PathTarget& target);
