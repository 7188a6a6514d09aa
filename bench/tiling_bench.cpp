// The tiling stages on their own: the triangle, its special points and the enumeration at the
// default group order (all of setGen), and the enumeration with the module tables at the default
// and the largest group order, the part of the chain that the "group order " slider re-runs.

#include <benchmark/benchmark.h>

#include <string>

#include "bench_model.h"
#include "geometry/settings.h"
#include "geometry/triangle_group.h"
#include "tiling/enumeration.h"
#include "tiling/generating_point.h"
#include "tiling/modules.h"

namespace {

struct Orders {
    int v, e, f;
};
constexpr Orders kTriples[] = {{2, 3, 5}, {3, 3, 3}, {2, 4, 4},   {2, 3, 6},
                               {7, 3, 2}, {4, 4, 4}, {12, 12, 12}};

std::string label(const Orders& o) {
    return std::to_string(o.v) + "," + std::to_string(o.e) + "," + std::to_string(o.f);
}

void prepare(const Orders& o, int groupOrder) {
    model.settings = Settings{};
    model.settings.genV = o.v;
    model.settings.genE = o.e;
    model.settings.genF = o.f;
    model.settings.groupOrder = groupOrder;
    model.settings.lengthV = 0.2;
    model.settings.lengthE = 0.3;
    model.settings.lengthF = 0.5;
    setGenType(model.settings);
}

// setGen's stages: triangle, special points, generating point, group order limit, enumeration.
void BM_TilingSetGen(benchmark::State& state) {
    const Orders& o = kTriples[state.range(0)];
    prepare(o, 200);
    for (auto _ : state) {
        model.settings.pointMatrix = Matrix{};
        setTriangle(model.triangleGroup, model.settings);
        setTriPoint(model.specialPoints, model.triangleGroup, model.settings);
        setPolyPoint(model.specialPoints, model.triangleGroup, model.settings);
        if (model.settings.gen >= -4 && model.settings.gen <= -1) setGroupOrderMax(model.settings);
        benchmark::DoNotOptimize(setGroup(model));
    }
    state.SetLabel(label(o) + " matrices " + std::to_string(model.groupTables.matrix.count));
}

void BM_TilingGroupAndModules(benchmark::State& state) {
    const Orders& o = kTriples[state.range(0)];
    prepare(o, static_cast<int>(state.range(1)));
    setTriangle(model.triangleGroup, model.settings);
    setTriPoint(model.specialPoints, model.triangleGroup, model.settings);
    setPolyPoint(model.specialPoints, model.triangleGroup, model.settings);
    if (model.settings.gen >= -4 && model.settings.gen <= -1) setGroupOrderMax(model.settings);
    for (auto _ : state) {
        model.settings.pointMatrix = Matrix{};
        setGroup(model);
        newModules(model);
        benchmark::DoNotOptimize(model.moduleTables.triModule.count);
    }
    state.SetLabel(label(o) + " matrices " + std::to_string(model.groupTables.matrix.count));
}

}  // namespace

// (2,3,5), (3,3,3), (7,3,2), (12,12,12)
BENCHMARK(BM_TilingSetGen)
    ->ArgsProduct({{0, 1, 4, 6}})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_TilingGroupAndModules)
    ->ArgsProduct({{0, 1, 2, 3, 4, 5, 6}, {200, 2000}})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
