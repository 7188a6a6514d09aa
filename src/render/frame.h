#pragma once

#include "platform/draw.h"

// One frame of the picture: the background, the direct and the inverted copy in the order of
// settings.selfMirrorEmphasis, the unit circle and the origin mark.

// The view's bounds in model units: the origin at the centre and the shorter side spanning
// −windowZoom..windowZoom.
struct ViewRect {
    float x = -2, y = -2, width = 4, height = 4;
};

// The bounds for a screen (or any device) of the given size at the given zoom.
ViewRect viewRectFor(double width, double height, double zoom);

// The drawing view's bounds, kept for printing, the cursor area and the mouse.
struct ViewState {
    ViewRect rect0;
};
extern ViewState viewState;

// rect0 from the main screen's size and settings.windowZoom.
void setWindowZoom(double screenWidth, double screenHeight);

// Paint one copy of the picture into the current layer: reset the working counters, then walk
// the tri, poly or quad draw list in depth order (whichever the family switches call for).
void drawSelf();
void drawMirror();

// A whole frame of width × height device units onto the layer, whose model rectangle must be
// viewRectFor(width, height, settings.windowZoom). The layer is current while the frame paints.
void drawFrame(DrawLayer& layer, double width, double height);
