#pragma once

#include <initializer_list>
#include <vector>

#include "platform/recording_layer.h"

// A recording layer installed as the current layer for the life of the object, with settings,
// tables and colour state back at their defaults.
struct RecordingScope {
    RecordingLayer layer;
    RecordingScope();
    ~RecordingScope();
};

struct ExpectedCommand {
    RecordingLayer::Op op;
    std::vector<float> v = {};
};

// Compares the recorded stream with the expected one, command by command (arguments within tol).
void expectCommands(const RecordingLayer& layer, std::initializer_list<ExpectedCommand> expected,
                    float tol = 1e-5f);
