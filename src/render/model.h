#pragma once

#include "colour/colour.h"
#include "render/depth_order.h"
#include "render/view_rect.h"
#include "tiling/scratch.h"
#include "tiling/tiling.h"

struct DepthScratch;
struct GeodesicCache;
struct SavedColours;

// Everything a picture is: the settings, the triangle group, the special points, the group and
// module tables (Tiling), the colour state, the draw lists and the drawing view's bounds, with
// the working space its stages use. Copying or assigning one is how a picture is kept, restored
// or reset: the copy's records and lists refer to its own tables. The program keeps one for the
// screen; an export or a test makes its own. Megabytes of tables: keep it on the heap (or in
// static storage), not on the stack.
struct Model : Tiling {
    ColourState colourState;
    DrawLists drawLists;
    ViewState viewState;
    Scratch<DepthScratch> depthScratch;
    Scratch<GeodesicCache> geodesicCache;
    Scratch<SavedColours> savedColours;

    Model() = default;
    Model(const Model& other);
    Model& operator=(const Model& other);
};
