#pragma once

#include "render/view_rect.h"

// One frame of the picture: the background, the direct and the inverted copy in the order of
// settings.selfMirrorEmphasis, the unit circle and the origin mark.

class DrawLayer;
struct Model;

// viewState.rect0 from the main screen's size and settings.windowZoom.
void setWindowZoom(Model& m, double screenWidth, double screenHeight);

// Paint one copy of the picture onto the layer (see drawCopy), sharing geodesics while a
// GeodesicCacheScope of the picture is open.
void drawSelf(Model& m, DrawLayer& layer);
void drawMirror(Model& m, DrawLayer& layer);

// The device a frame is drawn for: its size in device units and how far, in model units, a drawn
// geodesic may stray from its piece ends (see GeodesicCacheScope; 0 keeps every piece end).
struct FrameView {
    double width = 0, height = 0;
    double tolerance = 0;
};

// A whole frame of the picture onto the layer, whose model rectangle must be
// viewRectFor(view.width, view.height, settings.windowZoom). Only the working counters and the
// working space of the picture change.
void drawFrame(Model& m, const FrameView& view, DrawLayer& layer);
