// Undo at groupOrder 2000: restoring the picture before a step (the model, ready to paint), and
// the same followed by the frame that shows it at 1920 × 1080. Each iteration alternates undo and
// redo, so every one restores a picture. The counter "bytes" is what the history holds after
// 200 steps of that kind.

#include <benchmark/benchmark.h>

#include <QImage>
#include <string>

#include "app/history.h"
#include "bench_model.h"
#include "canvas/frame_painter.h"
#include "canvas/navigation.h"
#include "colour/colour.h"
#include "geometry/settings.h"
#include "geometry/triangle_group.h"
#include "render/chain.h"
#include "tiling/tables.h"

namespace {

struct Kind {
    const char* name;
    void (*step)(Model& m, int i);
};

// A view step keeps the tables; new colours keep them too; new generators rebuild them.
constexpr Kind kKinds[] = {
    {"drag", [](Model& m, int) { translateZX(m, 0.02); }},
    {"colours", [](Model& m, int) { ranAllColor(m.groupTables); }},
    {"generators",
     [](Model& m, int i) {
         const int old = m.settings.gen;
         m.settings.genF = 7 + i % 2;
         finishGen(m, old);
     }},
};

void prepare() {
    model.settings = Settings{};
    model.colourState = ColourState{};
    initColorMatrices(model.colourState);
    Settings& s = model.settings;
    s.genV = 2, s.genE = 3, s.genF = 7;
    s.groupOrder = 2000;
    s.lengthV = 0.2, s.lengthE = 0.3, s.lengthF = 0.5;
    setGenType(s);
    setGen(model);
    rebuildModules(model);
    srandom(1);
    ranAllColor(model.groupTables);
    ranSingleColors(s);
}

void undoRedo(benchmark::State& state, bool frame) {
    const Kind& kind = kKinds[state.range(0)];
    prepare();
    History history;
    history.reset(model);
    for (int i = 0; i < History::kMaxSteps; ++i) {
        kind.step(model, i);
        history.commit(model);
    }
    QImage image(1920, 1080, QImage::Format_ARGB32_Premultiplied);
    bool back = true;
    for (auto _ : state) {
        if (back ? history.undo(model) : history.redo(model)) {
        } else {
            state.SkipWithError("nothing to restore");
            break;
        }
        back = !back;
        if (frame) renderFrame(model, image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["bytes"] = static_cast<double>(history.bytes());
    state.SetLabel(std::string(kind.name) + " matrices " +
                   std::to_string(model.groupTables.matrix.count));
}

void BM_Undo(benchmark::State& state) {
    undoRedo(state, false);
}

void BM_UndoAndFrame(benchmark::State& state) {
    undoRedo(state, true);
}

}  // namespace

BENCHMARK(BM_Undo)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_UndoAndFrame)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->UseRealTime();
