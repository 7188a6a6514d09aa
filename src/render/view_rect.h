#pragma once

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
