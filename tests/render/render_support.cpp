#include "render_support.h"

#include <algorithm>

#include "colour/colour.h"
#include "geometry/settings.h"
#include "geometry/triangle_group.h"
#include "render/chain.h"
#include "test_model.h"
#include "tiling/tables.h"

void makePicture(int v, int e, int f, int groupOrder, int projection, double lengthV,
                 double lengthE, double lengthF) {
    model.settings = Settings{};
    model.colourState = ColourState{};
    initColorMatrices(model.colourState);
    Settings& s = model.settings;
    s.genV = v, s.genE = e, s.genF = f;
    s.groupOrder = groupOrder;
    s.project3D2D = projection;
    s.lengthV = lengthV, s.lengthE = lengthE, s.lengthF = lengthF;
    setGenType(model.settings);
    setGen(model);
    rebuildModules(model);
    ranAllColor(model.groupTables);
    for (int t = 0; t < 16; ++t)
        *typeColor(model.settings, t) = BColor{t / 16.0f, 1 - t / 16.0f, 0.5f};
}

bool isDot(const Paint& p) {
    return !p.stroke && !p.path.empty() && p.path[0].op == RecordingLayer::Op::ovalPath;
}

bool same(const Commands& a, const Commands& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
        return x.op == y.op && std::equal(x.v, x.v + 5, y.v) && x.text == y.text;
    });
}
