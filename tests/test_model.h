#pragma once

#include "render/model.h"

// The picture the tests of one program share, made once on the heap (it holds megabytes of
// tables). Tests set or reset the parts they read.
inline Model& testModel() {
    static Model* const model = new Model;
    return *model;
}

namespace {
Model& model = testModel();
}  // namespace
