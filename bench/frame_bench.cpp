// Whole frames at 1920 × 1080, the default look (all six families, both copies, 20 segments),
// at group order 200 and 2000 in each geometry; the rows with width:3840 at 3840 × 2160 (a 4K
// screen, or a 1920 × 1080 one at a pixel ratio of 2):
//   BM_Frame            the frame as the drawing window and PNG export paint it: composed into
//                       the raster layer and rasterised in bands on every core while composed
//                       (real time; the CPU column is the whole process, all threads)
//   BM_FramePainter     the same frame through QPainter, as printing, PDF and SVG paint it
//   BM_Floor            the drawing floor: the frame's primitives, recorded once, each turned
//                       into a QPainterPath and painted by one QPainter
//   BM_FloorPrebuilt    the same with the QPainterPaths built ahead of time
//   BM_RasterFloor      the raster layer's own floor: a recorded display list rasterised alone
//   BM_FrameRecord      composing the frame into the display list without rasterising it
//   BM_FrameWithoutPixels  composing into a layer that paints nothing (geodesics drawn to a
//                       fraction of a pixel, as for the drawing window)
//   BM_FrameOverFloor   frame and floor timed in turn: counters floor_ms, ratio (frame over the
//                       QPainter floor) and raster_ratio (frame over the raster floor)
//   BM_FrameBesideABusyCore  BM_Frame while another thread keeps one core busy
//   BM_SliderToFrame    a slider step (generator, group order, a length) through its chain to
//                       the finished frame composited onto a window-sized image

#include <benchmark/benchmark.h>

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "bench_model.h"
#include "canvas/frame_painter.h"
#include "colour/colour.h"
#include "geometry/settings.h"
#include "geometry/triangle_group.h"
#include "platform/qt_draw.h"
#include "platform/qt_raster.h"
#include "platform/recording_layer.h"
#include "raster/raster_layer.h"
#include "render/chain.h"
#include "render/frame.h"
#include "render/paths.h"

namespace {

constexpr int kWidth = 1920, kHeight = 1080;

// The image size of a row: its width argument, at 16:9.
struct Size {
    int width, height;
};
Size sizeOf(const benchmark::State& state) {
    const int w = static_cast<int>(state.range(2));
    return {w, w * 9 / 16};
}

struct Picture {
    const char* name;
    int v, e, f;
};
constexpr Picture kPictures[] = {
    {"sphere(2,3,5)", 2, 3, 5}, {"plane(2,4,4)", 2, 4, 4}, {"hyperbolic(7,3,2)", 7, 3, 2}};

// The default look: all six families, both copies, 20 segments, scheme 2, random colours.
void prepare(const Picture& p, int groupOrder) {
    model.settings = Settings{};
    model.colourState = ColourState{};
    initColorMatrices(model.colourState);
    Settings& s = model.settings;
    s.genV = p.v, s.genE = p.e, s.genF = p.f;
    s.groupOrder = groupOrder;
    s.lengthV = 0.2, s.lengthE = 0.3, s.lengthF = 0.5;
    setGenType(model.settings);
    setGen(model);
    rebuildModules(model);
    srandom(1);
    ranAllColor(model.groupTables);
    ranSingleColors(model.settings);
}

QImage newImage(Size size = {kWidth, kHeight}) {
    QImage image(size.width, size.height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void BM_Frame(benchmark::State& state) {
    const Picture& p = kPictures[state.range(0)];
    prepare(p, static_cast<int>(state.range(1)));
    QImage image = newImage(sizeOf(state));
    RasterLayer layer;
    for (auto _ : state) {
        renderFrame(model, image, layer);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetLabel(p.name);
}

void BM_FramePainter(benchmark::State& state) {
    const Picture& p = kPictures[state.range(0)];
    prepare(p, static_cast<int>(state.range(1)));
    QImage image = newImage();
    for (auto _ : state) {
        renderFrameWithPainter(model, image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetLabel(p.name);
}

QPainterPath qtPath(const RecordingLayer::Paint& p) {
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    for (const RecordingLayer::Command& c : p.path) {
        const float* v = c.v;
        switch (c.op) {
            case RecordingLayer::Op::moveTo:
                path.moveTo(v[0], v[1]);
                break;
            case RecordingLayer::Op::lineTo:
                path.lineTo(v[0], v[1]);
                break;
            case RecordingLayer::Op::ovalPath:
                path.addEllipse(v[0], v[1], v[2], v[3]);
                break;
            case RecordingLayer::Op::rectPath:
                path.addRect(v[0], v[1], v[2], v[3]);
                break;
            case RecordingLayer::Op::closePath:
                path.closeSubpath();
                break;
            default:
                break;
        }
    }
    return path;
}

void paintOne(QPainter& painter, const QPainterPath& path, const RecordingLayer::Paint& p) {
    const QColor color = QColor::fromRgbF(p.r, p.g, p.b, p.alpha);
    if (p.stroke) {
        QPen pen(color, p.lineWidth, Qt::SolidLine, Qt::FlatCap, Qt::SvgMiterJoin);  // as a frame
        pen.setMiterLimit(10);
        painter.strokePath(path, pen);
    } else {
        painter.fillPath(path, color);
    }
}

template <class PaintAll>
void replayLoop(benchmark::State& state, PaintAll paintAll) {
    const ViewRect r = viewRectFor(kWidth, kHeight, model.settings.windowZoom);
    QImage image = newImage();
    for (auto _ : state) {
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        const qreal sx = kWidth / r.width, sy = kHeight / r.height;
        painter.setTransform(QTransform(sx, 0, 0, -sy, -r.x * sx, (r.y + r.height) * sy));
        paintAll(painter);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}

// The floor: the recorded primitives, each path built afresh and painted, as a frame does.
void BM_Floor(benchmark::State& state) {
    const Picture& p = kPictures[state.range(0)];
    prepare(p, static_cast<int>(state.range(1)));
    RecordingLayer recording;
    drawFrame(model, {double(kWidth), double(kHeight)}, recording);
    const std::vector<RecordingLayer::Paint>& paints = recording.paints();
    replayLoop(state, [&](QPainter& painter) {
        for (const RecordingLayer::Paint& q : paints) paintOne(painter, qtPath(q), q);
    });
    state.SetLabel(std::string(p.name) + " " + std::to_string(paints.size()) + " paints");
}

// Below the floor: the same QPainterPaths built once, so Qt's per-path caches stay warm.
void BM_FloorPrebuilt(benchmark::State& state) {
    const Picture& p = kPictures[state.range(0)];
    prepare(p, static_cast<int>(state.range(1)));
    RecordingLayer recording;
    drawFrame(model, {double(kWidth), double(kHeight)}, recording);
    std::vector<QPainterPath> paths;
    for (const RecordingLayer::Paint& q : recording.paints()) paths.push_back(qtPath(q));
    replayLoop(state, [&](QPainter& painter) {
        for (size_t i = 0; i < paths.size(); ++i)
            paintOne(painter, paths[i], recording.paints()[i]);
    });
    state.SetLabel(p.name);
}

// A layer that takes every command and paints nothing.
class NullLayer : public DrawLayer {
  public:
    long calls = 0;
    void removeAllPoints() override { ++calls; }
    void moveTo(float, float) override { ++calls; }
    void lineTo(float, float) override { ++calls; }
    void arc(float, float, float, float, float) override { ++calls; }
    void closePath() override { ++calls; }
    void ovalPath(float, float, float, float) override { ++calls; }
    void rectPath(float, float, float, float) override { ++calls; }
    void setLineWidth(float) override { ++calls; }
    void fill() override { ++calls; }
    void stroke() override { ++calls; }
    bool contains(float, float) const override { return false; }
    void setColor(float, float, float, float) override { ++calls; }
    TextSize measureText(const std::string&, float) const override { return {}; }
    void drawText(const std::string&, float, float, float) override { ++calls; }
};

// The frame's own work without any pixels: projections, geodesics, colours, counters, with
// geodesics drawn to a fraction of a pixel as the drawing window draws them.
void BM_FrameWithoutPixels(benchmark::State& state) {
    const Picture& p = kPictures[state.range(0)];
    prepare(p, static_cast<int>(state.range(1)));
    NullLayer layer;
    const ViewRect r = viewRectFor(kWidth, kHeight, model.settings.windowZoom);
    const FrameView view{double(kWidth), double(kHeight),
                         RasterLayer::kThinning * r.width / kWidth};
    for (auto _ : state) {
        drawFrame(model, view, layer);
        benchmark::DoNotOptimize(layer.calls);
    }
    state.SetLabel(std::string(p.name) + " " + std::to_string(layer.calls / state.iterations()) +
                   " calls");
}

RasterLayer& recordFrame(RasterLayer& layer, Size size = {kWidth, kHeight}) {
    const ViewRect r = viewRectFor(size.width, size.height, model.settings.windowZoom);
    layer.begin({r.x, r.y, r.width, r.height}, size.width, size.height);
    layer.setThinLines(false);
    drawFrame(
        model,
        {double(size.width), double(size.height), RasterLayer::kThinning * r.width / size.width},
        layer);
    return layer;
}

// The frame composed into the raster layer's display list, without rasterising it.
void BM_FrameRecord(benchmark::State& state) {
    const Picture& p = kPictures[state.range(0)];
    prepare(p, static_cast<int>(state.range(1)));
    RasterLayer layer;
    for (auto _ : state) {
        recordFrame(layer);
        benchmark::DoNotOptimize(layer.items().data());
    }
    state.SetLabel(std::string(p.name) + " " + std::to_string(layer.items().size()) + " items " +
                   std::to_string(layer.points().size()) + " points");
}

// The raster floor: a recorded display list rasterised alone.
void BM_RasterFloor(benchmark::State& state) {
    const Picture& p = kPictures[state.range(0)];
    prepare(p, static_cast<int>(state.range(1)));
    RasterLayer layer;
    recordFrame(layer, sizeOf(state));
    QImage image = newImage(sizeOf(state));
    for (auto _ : state) {
        image.fill(Qt::transparent);
        layer.paint(rasterPixels(image));
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetLabel(p.name);
}

void paintFloor(QImage& image, const std::vector<RecordingLayer::Paint>& paints) {
    const ViewRect r = viewRectFor(kWidth, kHeight, model.settings.windowZoom);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal sx = kWidth / r.width, sy = kHeight / r.height;
    painter.setTransform(QTransform(sx, 0, 0, -sy, -r.x * sx, (r.y + r.height) * sy));
    for (const RecordingLayer::Paint& q : paints) paintOne(painter, qtPath(q), q);
}

double seconds(std::chrono::steady_clock::time_point a, std::chrono::steady_clock::time_point b) {
    return std::chrono::duration<double>(b - a).count();
}

void BM_FrameOverFloor(benchmark::State& state) {
    const Picture& p = kPictures[state.range(0)];
    prepare(p, static_cast<int>(state.range(1)));
    RecordingLayer recording;
    drawFrame(model, {double(kWidth), double(kHeight)}, recording);
    RasterLayer list, layer;
    recordFrame(list);
    QImage frame = newImage(), floor = newImage(), raster = newImage();
    double frameTime = 0, floorTime = 0, rasterTime = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        renderFrame(model, frame, layer);
        const auto t1 = std::chrono::steady_clock::now();
        paintFloor(floor, recording.paints());
        const auto t2 = std::chrono::steady_clock::now();
        list.paint(rasterPixels(raster), true);
        const auto t3 = std::chrono::steady_clock::now();
        state.SetIterationTime(seconds(t0, t1));
        frameTime += seconds(t0, t1), floorTime += seconds(t1, t2), rasterTime += seconds(t2, t3);
        benchmark::DoNotOptimize(floor.constBits());
    }
    const double n = double(state.iterations());
    state.counters["floor_ms"] = floorTime / n * 1e3;
    state.counters["ratio"] = frameTime / floorTime;
    state.counters["raster_floor_ms"] = rasterTime / n * 1e3;
    state.counters["raster_ratio"] = frameTime / rasterTime;
    state.SetLabel(p.name);
}

// From a slider's new value to the frame on screen: the chain the panel action runs, the frame,
// and its image composited onto the window as the drawing view does. Every step goes back and
// forth between two neighbouring values, so each one does the whole work.
void BM_SliderToFrame(benchmark::State& state) {
    const int slider = static_cast<int>(state.range(0));
    const Picture& p = kPictures[state.range(1)];
    prepare(p, 200);
    QImage frame = newImage();
    QImage window(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    RasterLayer layer;
    bool step = false;
    for (auto _ : state) {
        step = !step;
        Settings& s = model.settings;
        switch (slider) {
            case 0: {  // "gen angle F π/"
                const int old = s.gen;
                s.genF = p.f + (step ? 1 : 0);
                finishGen(model, old);
                break;
            }
            case 1:  // "group order "
                s.groupOrder = step ? 190 : 200;
                chainSetGroupOrder(model);
                break;
            default:  // "length V "
                s.lengthV = step ? 0.25 : 0.2;
                chainSetLength(model, 0);
                break;
        }
        renderFrame(model, frame, layer);
        window.fill(Qt::transparent);
        QPainter painter(&window);
        painter.drawImage(0, 0, frame);
        painter.end();
        benchmark::DoNotOptimize(window.constBits());
    }
    const char* names[] = {"generator", "group order", "length"};
    state.SetLabel(std::string(names[slider]) + " " + p.name);
}

// A frame while a competing thread keeps one core busy the whole time.
void BM_FrameBesideABusyCore(benchmark::State& state) {
    const Picture& p = kPictures[state.range(0)];
    prepare(p, static_cast<int>(state.range(1)));
    QImage image = newImage(sizeOf(state));
    RasterLayer layer;
    std::atomic<bool> stop{false};
    std::thread busy([&stop] {
        volatile double x = 1;
        while (!stop.load(std::memory_order_relaxed)) x = x * 1.0000001 + 1e-9;
    });
    for (auto _ : state) {
        renderFrame(model, image, layer);
        benchmark::DoNotOptimize(image.constBits());
    }
    stop = true;
    busy.join();
    state.SetLabel(p.name);
}

void pictures(benchmark::internal::Benchmark* b) {
    for (int order : {200, 2000}) {
        for (int p = 0; p < 3; ++p) b->Args({p, order, kWidth});
    }
    b->ArgNames({"picture", "groupOrder", "width"})->Unit(benchmark::kMillisecond);
}

// The same pictures at 1920 × 1080 and at 3840 × 2160.
void picturesAtBothSizes(benchmark::internal::Benchmark* b) {
    for (int width : {kWidth, 2 * kWidth}) {
        for (int order : {200, 2000}) {
            for (int p = 0; p < 3; ++p) b->Args({p, order, width});
        }
    }
    b->ArgNames({"picture", "groupOrder", "width"})->Unit(benchmark::kMillisecond);
}

void defaultPictures(benchmark::internal::Benchmark* b) {
    for (int p = 0; p < 3; ++p) b->Args({p, 200, kWidth});
    b->ArgNames({"picture", "groupOrder", "width"})->Unit(benchmark::kMillisecond);
}

}  // namespace

BENCHMARK(BM_Frame)->Apply(picturesAtBothSizes)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK(BM_FrameBesideABusyCore)->Apply(defaultPictures)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK(BM_FramePainter)->Apply(pictures);
BENCHMARK(BM_Floor)->Apply(pictures);
BENCHMARK(BM_FloorPrebuilt)->Apply(pictures);
BENCHMARK(BM_FrameWithoutPixels)->Apply(pictures);
BENCHMARK(BM_FrameRecord)->Apply(pictures);
BENCHMARK(BM_RasterFloor)->Apply(picturesAtBothSizes)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK(BM_FrameOverFloor)->Apply(pictures)->UseManualTime();
BENCHMARK(BM_SliderToFrame)
    ->ArgsProduct({{0, 1, 2}, {0, 1, 2}})
    ->ArgNames({"slider", "picture"})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
