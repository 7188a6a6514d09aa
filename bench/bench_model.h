#pragma once

#include "render/model.h"

// The picture the benchmarks share, made once on the heap (it holds megabytes of
// tables). Each benchmark sets what it reads.
inline Model& benchModel() {
    static Model* const model = new Model;
    return *model;
}

namespace {
Model& model = benchModel();
}  // namespace
