#pragma once

// What the mouse does to the picture, free of any toolkit: the press state and the steps of a
// drag, in model co-ordinates of the view (origin at the view centre, y upwards).
//
// A drag in "translate [xyz]" (mode 2) or "rotate [xy]" (mode 1) grabs the model point under the
// pointer at the press and computes every later step from the state saved then, never from the
// previous step, so the grabbed point stays under the pointer. Positions without a preimage on
// the model surface are skipped. In "set edge lengths" (mode 0) the press and every drag position
// move the generating point to the pointer.

#include "geometry/kernel.h"
#include "geometry/types.h"

struct Model;

struct MouseState {
    int mode = -1;  // settings.mouseMode of the drag in progress; −1 when no drag is in progress
    Point oldPoint{kOffModel, kOffModel, kOffModel};  // model point grabbed at the press
    Point newPoint{kOffModel, kOffModel, kOffModel};  // model point of the last accepted step
    Matrix pointMatrix0, colorMatrix0;                // the two matrices at the press
};

extern MouseState mouseState;

// What a mouse event changed, for the view to act on.
enum class MouseEffect {
    none,     // nothing changed
    redraw,   // the view matrices changed and the draw lists were re-sorted
    lengths,  // the generating point and the three edge lengths changed
};

MouseEffect mouseDown(Model& m, float x, float y);
MouseEffect mouseDragged(Model& m, float x, float y);
void mouseUp();

// "Set edge lengths" at p on one copy. True when a drawn quad was hit. *changed (optional)
// tells whether the generating point moved.
bool reshapeSelf(Model& m, float x, float y, bool* changed = nullptr);
bool reshapeMirror(Model& m, float x, float y, bool* changed = nullptr);
