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

// Rebuilds the path as the edge a–b traced there and back, and strokes it with the given width.
// Starts at a, or at b when a has no image; strokes nothing when neither has one.
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
