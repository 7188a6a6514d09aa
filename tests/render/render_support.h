#pragma once

#include <vector>

#include "platform/recording_layer.h"
#include "render/paths.h"

using Commands = std::vector<RecordingLayer::Command>;
using Paint = RecordingLayer::Paint;

// Resets the test picture's settings and colours and builds the triangle group (v, e, f) up to
// groupOrder elements in the projection with the given lengths through the generation chain. The
// sixteen type colours get distinct values: type t is (t/16, 1 − t/16, 0.5).
void makePicture(int v, int e, int f, int groupOrder, int projection = 2, double lengthV = 0.2,
                 double lengthE = 0.3, double lengthF = 0.5);

// Whether the paint is a filled oval: a vertex dot.
bool isDot(const Paint& p);

// Bit-exact equality of two recorded streams (operations and arguments).
bool same(const Commands& a, const Commands& b);
