// The generation chain as the "group order " slider runs it on every mouse move (setGen through
// setShape and ranAllColor), and the re-sort that every navigation step runs (setOrder).

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "bench_model.h"
#include "colour/colour.h"
#include "geometry/kernel.h"
#include "geometry/settings.h"
#include "geometry/triangle_group.h"
#include "render/chain.h"
#include "render/depth_order.h"
#include "tiling/tables.h"

namespace {

struct Triple {
    int v, e, f;
};
constexpr Triple kTriples[] = {{2, 3, 5}, {3, 3, 3}, {2, 4, 4},   {2, 3, 6},
                               {7, 3, 2}, {4, 4, 4}, {12, 12, 12}};

void prepare(const Triple& t, int order) {
    model.settings = Settings{};
    model.colourState = ColourState{};
    initColorMatrices(model.colourState);
    Settings& s = model.settings;
    s.genV = t.v;
    s.genE = t.e;
    s.genF = t.f;
    s.groupOrder = order;
    s.lengthV = 0.2;
    s.lengthE = 0.3;
    s.lengthF = 0.5;
    setGenType(model.settings);
}

std::string label(const Triple& t) {
    char text[32];
    std::snprintf(text, sizeof text, "(%d,%d,%d)", t.v, t.e, t.f);
    return text;
}

void BM_Chain(benchmark::State& state) {
    const Triple& t = kTriples[state.range(0)];
    prepare(t, static_cast<int>(state.range(1)));
    for (auto _ : state) {
        setGen(model);
        rebuildModules(model);
        ranAllColor(model.groupTables);
        benchmark::DoNotOptimize(model.drawLists.quadCount);
    }
    state.SetLabel(label(t) + " matrices " + std::to_string(model.groupTables.matrix.count) +
                   " quads " + std::to_string(model.drawLists.quadCount));
}

// Each iteration re-sorts for the other of two nearby views, as a drag does.
void BM_SetOrder(benchmark::State& state) {
    const Triple& t = kTriples[state.range(0)];
    prepare(t, static_cast<int>(state.range(1)));
    setGen(model);
    rebuildModules(model);
    Matrix views[2];
    Point a, b;
    normalize(model.settings.gen, a, Point{0.05, 0.02, 1});
    normalize(model.settings.gen, b, Point{-0.03, 0.04, 1});
    translateM(model.settings.gen, views[0], a);
    translateM(model.settings.gen, views[1], b);
    int k = 0;
    for (auto _ : state) {
        model.settings.pointMatrix = views[k ^= 1];
        setOrder(model);
        benchmark::DoNotOptimize(model.drawLists.quad[0]);
    }
    state.SetLabel(label(t) + " entries " +
                   std::to_string(model.drawLists.triCount + model.drawLists.polyCount +
                                  model.drawLists.quadCount));
}

}  // namespace

BENCHMARK(BM_Chain)
    ->ArgsProduct({{0, 1, 2, 3, 4, 5, 6}, {200, 2000}})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_SetOrder)
    ->ArgsProduct({{0, 1, 2, 3, 4, 5, 6}, {2000}})
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
