#pragma once

#include <initializer_list>
#include <vector>

#include "platform/recording_layer.h"
#include "render/elements.h"
#include "render/paths.h"

// A recording layer, with the test picture's settings and colour state back at their defaults.
struct RecordingScope {
    RecordingLayer layer;
    RecordingScope();
    // Paths and elements of the test picture onto the layer, in the direct or the inverted copy.
    PathTarget target(bool mirror = false);
    ElementPainter painter(bool mirror = false);
    ~RecordingScope();
};

// The target of the innermost recording scope alive.
PathTarget activeTarget(bool mirror = false);

// Builds the picture of the triangle group (v, e, f) up to groupOrder elements with the given
// lengths, through the generation chain, and gives the sixteen type colours distinct values
// (type t is (t/16, 1 − t/16, 0.5)). Call after the settings have been reset.
void makePicture(int v, int e, int f, int groupOrder, double lengthV = 0.2, double lengthE = 0.3,
                 double lengthF = 0.5);

// The type whose distinct colour this is, or −1.
int typeOfColour(float r, float g, float b);

// Bit-exact comparison of two recorded streams (operations and arguments).
void expectSameCommands(const std::vector<RecordingLayer::Command>& got,
                        const std::vector<RecordingLayer::Command>& want);
