// What one mouse event on the canvas costs before the redraw: a translate drag step (projInv, the
// motion, setOrder) and a "set edge lengths" step (the hit test over the quads from the top of the
// drawing order, then the generating point and setPolyModules), at the default and the largest
// group order.

#include <benchmark/benchmark.h>

#include <string>

#include "bench_model.h"
#include "canvas/mouse.h"
#include "colour/colour.h"
#include "geometry/settings.h"
#include "geometry/triangle_group.h"
#include "render/chain.h"
#include "render/depth_order.h"

namespace {

struct Picture {
    const char* name;
    int v, e, f;
};
constexpr Picture kPictures[] = {
    {"sphere 2,3,5", 2, 3, 5}, {"plane 2,4,4", 2, 4, 4}, {"hyperbolic 7,3,2", 7, 3, 2}};

void prepare(const Picture& p, int order) {
    model.settings = Settings{};
    initColorMatrices(model.colourState);
    model.settings.genV = p.v;
    model.settings.genE = p.e;
    model.settings.genF = p.f;
    model.settings.groupOrder = order;
    model.settings.lengthV = 0.2;
    model.settings.lengthE = 0.3;
    model.settings.lengthF = 0.5;
    setGenType(model.settings);
    setGen(model);
    rebuildModules(model);
}

void translateStep(benchmark::State& state, Picture p, int order) {
    prepare(p, order);
    model.settings.mouseMode = 2;
    mouseDown(model, 0.2f, 0.1f);
    int i = 0;
    for (auto _ : state) {
        const float t = 0.01f * static_cast<float>(i++ % 20);
        benchmark::DoNotOptimize(mouseDragged(model, 0.2f - t, 0.1f + t));
    }
    mouseUp();
    state.counters["quads"] = model.drawLists.quadCount;
}

// The pointer near the centre hits a quad near the top of the list; far outside the picture every
// quad of both copies is tried and missed.
void lengthStep(benchmark::State& state, Picture p, int order, float x, float y) {
    prepare(p, order);
    model.settings.mouseMode = 0;
    for (auto _ : state) benchmark::DoNotOptimize(mouseDown(model, x, y));
    mouseUp();
    state.counters["quads"] = model.drawLists.quadCount;
}

[[maybe_unused]] const bool registered = [] {
    for (const Picture& p : kPictures) {
        for (int order : {200, 2000}) {
            const std::string tail = std::string(p.name) + " order " + std::to_string(order);
            benchmark::RegisterBenchmark(("canvas translate step " + tail).c_str(), translateStep,
                                         p, order)
                ->Unit(benchmark::kMicrosecond);
            benchmark::RegisterBenchmark(("canvas edge-length hit " + tail).c_str(), lengthStep, p,
                                         order, 0.05f, 0.02f)
                ->Unit(benchmark::kMicrosecond);
            benchmark::RegisterBenchmark(("canvas edge-length miss " + tail).c_str(), lengthStep, p,
                                         order, 1e6f, 1e6f)
                ->Unit(benchmark::kMicrosecond);
        }
    }
    return true;
}();

}  // namespace
