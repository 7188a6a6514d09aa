#pragma once

#include "geometry/kernel.h"

// From the model surface to the drawing plane and back.
//
// Screen points are in the view's model units: origin at the centre of the view, y upwards, the
// unit circle of the drawing plane being the circle the frame draws. A point is first carried
// through settings.pointMatrix, then projected by settings.project3D2D:
//   0 [x,y,z] → [x,y]          1 [x,y,z] → [x,y]/z        2 [x,y,z] → [x,y]/(z+1)
//   3 [x,y,z] → [y,z]          4 radius × exp(x)          5 radius × exp(−x)
// (3..5 look along the x axis; the plane is wrapped round the cylinder y²+z²=1 and the sheet of
// the hyperboloid onto the hyperboloid of one sheet y²+z²=1+x²).

struct ScreenPoint {
    float x = 0, y = 0;
};

// The image of a point without a finite image; every consumer skips it (validQ).
inline constexpr ScreenPoint offView{kOffView, kOffView};
// What projInv answers when a screen point has no preimage; validP rejects it.
inline constexpr Point offModel{kOffModel, kOffModel, kOffModel};

inline bool validS(const ScreenPoint& s) {
    return validQ(s.x, s.y);
}

struct Settings;

// The direct image. Off-view near the singular plane of choices 1 and 2, on overflow, for a
// projection outside 0..5, and whenever a co-ordinate does not fit a float.
ScreenPoint projXYSelf(const Settings& s, const Point& p);

// A direct image inverted in the unit circle: s/|s|². The inverse of an image that is not valid
// is the centre; the inverse of the centre (within h) is off-view.
inline ScreenPoint invertedImage(ScreenPoint s) {
    if (!validS(s)) return {0, 0};
    const float d = s.x * s.x + s.y * s.y;
    if (h * h > d) return offView;
    return {s.x / d, s.y / d};
}

// The direct image inverted in the unit circle (invertedImage of projXYSelf).
ScreenPoint projXYMirror(const Settings& s, const Point& p);

// The model point (after pointMatrix) seen at screen point (sx, sy), or offModel. `reference`
// is the point found for the previous mouse position of the same drag, or null; only its y is
// read, to pick the turn of the periodic projections nearest to it. May beep.
Point projInv(const Settings& s, float sx, float sy, const Point* reference);
