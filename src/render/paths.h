#pragma once

#include <array>

#include "geometry/kernel.h"
#include "tiling/tables.h"

// Geodesics drawn as polylines on the current layer's one path. A geodesic is cut into
// settings.segments pieces on the model surface; every piece end is projected and the valid
// images are joined by straight lines (an invalid image is skipped, the line bridging it).
// The Self forms project with projXYSelf, the Mirror forms with projXYMirror; nothing else
// differs. Points of records are always their poly points.

// The outline of the polygon being drawn: up to four entries per step of at most twelve steps.
struct PathPointList {
    std::array<const Point*, 48> point{};
    int count = 0;
};
extern PathPointList pathPoint;

// Appends the geodesic from a (exclusive) to b (inclusive) as line-tos.
void path1Self(const Point& a, const Point& b);
void path1Mirror(const Point& a, const Point& b);

// Rebuilds the path as the edge a–b and strokes it with the given width. The line runs from a,
// or from b when a has no image, to the other end, once; nothing is stroked when neither end
// has an image.
void path2Self(const Point& a, const Point& b, float width);
void path2Mirror(const Point& a, const Point& b, float width);

// Rebuild the path as the closed outline from the first corner (in argument order) that has an
// image; the path stays empty when none has. The caller fills.
void path3Self(const Point& a, const Point& b, const Point& c);
void path3Mirror(const Point& a, const Point& b, const Point& c);
void path4Self(const Point& a, const Point& b, const Point& c, const Point& d);
void path4Mirror(const Point& a, const Point& b, const Point& c, const Point& d);

// Fills pathPoint with the polygon's outline: its 2n corners, or, where the rim of the
// enumerated region cuts it, the centre and side points in place of the missing corners.
void buildPolyOutline(const PolyModule& poly);

// Rebuilds the path as the polygon's outline and fills it with the current colour.
void pathPolySelf(const PolyModule& poly);
void pathPolyMirror(const PolyModule& poly);

// While a frame paints, neighbouring shapes share their geodesics: a kite's sides are its
// neighbours' sides and the edges stroked over them, and the inverted copy sees the same points
// as the direct one. For the life of this object every geodesic between two records' points is
// computed and projected once and then looked up by the addresses of its two end points, in
// either direction; the points drawn are exactly those computed without it. The settings, the
// view matrix and the records' points must not change meanwhile. Scopes do not nest.
class GeodesicCacheScope {
  public:
    GeodesicCacheScope();
    ~GeodesicCacheScope();
    GeodesicCacheScope(const GeodesicCacheScope&) = delete;
    GeodesicCacheScope& operator=(const GeodesicCacheScope&) = delete;
};

// The number of geodesics computed since the current scope opened (for tests and benchmarks).
int geodesicCacheSize();

// How far, in model units, a cached geodesic's drawn polyline may stray from its piece ends:
// a raster device sets a fraction of its pixel so that a geodesic a few pixels long is drawn
// with the few points that show rather than all `segments` pieces. Points are only left out of
// polylines whose every piece end has an image. 0, the default, hands every piece end over
// (vector output and everything else keep the exact polylines).
void setGeodesicTolerance(double modelUnits);
double geodesicTolerance();
