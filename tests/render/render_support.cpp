#include "render_support.h"

#include <gtest/gtest.h>

#include "colour/colour.h"
#include "geometry/settings.h"
#include "geometry/triangle_group.h"
#include "platform/draw.h"
#include "render/chain.h"
#include "render/elements.h"
#include "test_model.h"
#include "tiling/tables.h"

namespace {
RecordingScope* active = nullptr;
}

RecordingScope::~RecordingScope() {
    if (active == this) active = nullptr;
}

PathTarget activeTarget(bool mirror) {
    return active->target(mirror);
}

RecordingScope::RecordingScope() {
    active = this;
    model.settings = Settings{};
    model.colourState = ColourState{};
    initColorMatrices(model.colourState);
}

PathTarget RecordingScope::target(bool mirror) {
    return pathTarget(model, layer, mirror);
}

ElementPainter RecordingScope::painter(bool mirror) {
    return ElementPainter(model, target(mirror));
}

void expectSameCommands(const std::vector<RecordingLayer::Command>& got,
                        const std::vector<RecordingLayer::Command>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < got.size(); ++i) {
        ASSERT_EQ(int(got[i].op), int(want[i].op)) << "command " << i;
        for (int k = 0; k < 5; ++k) ASSERT_EQ(got[i].v[k], want[i].v[k]) << "command " << i;
    }
}

void makePicture(int v, int e, int f, int groupOrder, double lengthV, double lengthE,
                 double lengthF) {
    Settings& s = model.settings;
    s.genV = v, s.genE = e, s.genF = f;
    s.groupOrder = groupOrder;
    s.lengthV = lengthV, s.lengthE = lengthE, s.lengthF = lengthF;
    setGenType(model.settings);
    setGen(model);
    rebuildModules(model);
    ranAllColor(model.groupTables);
    for (int t = 0; t < 16; ++t)
        *typeColor(model.settings, t) = BColor{t / 16.0f, 1 - t / 16.0f, 0.5f};
}

int typeOfColour(float r, float g, float b) {
    for (int t = 0; t < 16; ++t) {
        const BColor c = *typeColor(model.settings, t);
        if (c.r == r && c.g == g && c.b == b) return t;
    }
    return -1;
}
