// What the caption adds to a frame of the drawing window: describing the picture, and painting
// the caption line on its plate over a 1920 × 1080 frame (compare BM_Frame's milliseconds).
//   BM_Describe       the description alone (Wythoff symbol, configuration, name, counts)
//   BM_CaptionPaint   the description, its text and the painting, as each repaint does it

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdlib>

#include "bench_model.h"
#include "canvas/caption.h"
#include "geometry/settings.h"
#include "tiling/describe.h"

namespace {

// Text needs the toolkit's font database: one offscreen application for the process.
void ensureApplication() {
    if (QGuiApplication::instance()) return;
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "kaleidra-bench";
    static char* argv[] = {name, nullptr};
    static QGuiApplication application(argc, argv);
}

void BM_Describe(benchmark::State& state) {
    int i = 0;
    for (auto _ : state) {
        const double l = 0.2 + 0.001 * (i++ % 100);
        benchmark::DoNotOptimize(describeTiling(2, 3, 5, l, 0.3, 0.7 - l));
    }
}

void BM_CaptionPaint(benchmark::State& state) {
    ensureApplication();
    model.settings = Settings{};
    model.settings.genV = 2, model.settings.genE = 3, model.settings.genF = 5;
    model.settings.lengthV = 0.2, model.settings.lengthE = 0.3, model.settings.lengthF = 0.5;
    QImage window(1920, 1080, QImage::Format_ARGB32_Premultiplied);
    window.fill(Qt::gray);
    for (auto _ : state) {
        QPainter painter(&window);
        paintCaption(painter, QRectF(window.rect()), pictureCaption(model.settings));
        painter.end();
        benchmark::DoNotOptimize(window.constBits());
    }
}

}  // namespace

BENCHMARK(BM_Describe)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CaptionPaint)->Unit(benchmark::kMicrosecond);
