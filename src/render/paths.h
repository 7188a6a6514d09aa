#pragma once

#include <array>

#include "geometry/kernel.h"
#include "tiling/tables.h"

// Geodesics drawn as polylines on a layer's one path. A geodesic is cut into settings.segments
// pieces on the model surface; every piece end is projected and the valid images are joined by
// straight lines (an invalid image is skipped, the line bridging it). The direct copy projects
// with projXYSelf, the inverted copy (mirror) with projXYMirror; nothing else differs. Points of
// records are always their poly points.

class DrawLayer;
struct GeodesicCache;
struct Model;
struct Settings;

// Where paths are drawn: one copy of a picture (direct, or inverted in the unit circle) on one
// layer. The picture's geodesic cache holds the points of the geodesic being drawn, and shares
// geodesics while a GeodesicCacheScope is open.
struct PathTarget {
    const Settings& settings;
    DrawLayer& layer;
    GeodesicCache& geodesics;
    bool mirror = false;
};

PathTarget pathTarget(Model& m, DrawLayer& layer, bool mirror = false);

// The outline of the polygon being drawn: up to four entries per step of at most twelve steps.
struct PathPointList {
    std::array<const Point*, 48> point{};
    int count = 0;
};

// Appends the geodesic from a (exclusive) to b (inclusive) as line-tos.
void path1(const PathTarget& target, const Point& a, const Point& b);

// Rebuilds the path as the edge a–b and strokes it with the given width. The line runs from a,
// or from b when a has no image, to the other end, once; nothing is stroked when neither end
// has an image.
void path2(const PathTarget& target, const Point& a, const Point& b, float width);

// Rebuild the path as the closed outline from the first corner (in argument order) that has an
// image; the path stays empty when none has. The caller fills.
void path3(const PathTarget& target, const Point& a, const Point& b, const Point& c);
void path4(const PathTarget& target, const Point& a, const Point& b, const Point& c,
           const Point& d);

// The same for the closed outline through corners[0..n).
void pathCycle(const PathTarget& target, const Point* const* corners, int n);

// Fills pathPoint with the polygon's outline: its 2n corners, or, where the rim of the
// enumerated region cuts it, the centre and side points in place of the missing corners.
void buildPolyOutline(PathPointList& pathPoint, const PolyModule& poly);

// Rebuilds the path as the polygon's outline and fills it with the current colour.
void pathPoly(const PathTarget& target, const PolyModule& poly);

// While a frame paints, neighbouring shapes share their geodesics: a kite's sides are its
// neighbours' sides and the edges stroked over them, and the inverted copy sees the same points
// as the direct one. For the life of this object every geodesic of the picture between two
// records' points is computed and projected once and then looked up by the addresses of its two
// end points, in either direction; the points drawn are exactly those computed without it. The
// settings, the view matrix and the records' points must not change meanwhile. Scopes of one
// picture do not nest.
//
// tolerance: how far, in model units, a cached geodesic's drawn polyline may stray from its
// piece ends. A raster device sets a fraction of its pixel so that a geodesic a few pixels long
// is drawn with the few points that show rather than all `segments` pieces. Points are only left
// out of polylines whose every piece end has an image. Where images of geodesics are circles
// and lines, a short geodesic is drawn from its ends, or from the piece ends at its halves or
// quarters, when these show that its image stays within the tolerance; its other piece ends are
// then not computed. 0 hands every piece end over (vector output and everything else keep the
// exact polylines).
class GeodesicCacheScope {
  public:
    explicit GeodesicCacheScope(Model& m, double tolerance = 0);
    ~GeodesicCacheScope();
    GeodesicCacheScope(const GeodesicCacheScope&) = delete;
    GeodesicCacheScope& operator=(const GeodesicCacheScope&) = delete;

    // The number of geodesics computed since the scope opened (for tests and benchmarks).
    int size() const;
    // The number of times a geodesic was drawn from a few piece ends without computing the
    // others.
    int shortcuts() const;

  private:
    GeodesicCache& cache_;
};
