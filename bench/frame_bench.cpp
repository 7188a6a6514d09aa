// One whole frame at 1920 × 1080 painted into a QImage, as the drawing window, the image export
// and printing paint it; and the drawing floor: the same primitives, recorded once and turned
// into QPainterPaths ahead of time, replayed straight into QPainter. Frame time over floor time
// is what the generation of geodesics, projections, colours and counters costs on top of Qt.

#include <benchmark/benchmark.h>

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <cstdio>
#include <string>
#include <vector>

#include "canvas/frame_painter.h"
#include "colour/colour.h"
#include "geometry/settings.h"
#include "geometry/triangle_group.h"
#include "platform/qt_draw.h"
#include "platform/recording_layer.h"
#include "render/chain.h"
#include "render/frame.h"

namespace {

constexpr int kWidth = 1920, kHeight = 1080;

struct Picture {
    const char* name;
    int v, e, f;
};
constexpr Picture kPictures[] = {
    {"sphere(2,3,5)", 2, 3, 5}, {"plane(2,4,4)", 2, 4, 4}, {"hyperbolic(7,3,2)", 7, 3, 2}};

// The default look: all six families, both copies, 20 segments, scheme 2, random colours.
void prepare(const Picture& p, int groupOrder) {
    settings = Settings{};
    colourState = ColourState{};
    initColorMatrices();
    Settings& s = settings;
    s.genV = p.v, s.genE = p.e, s.genF = p.f;
    s.groupOrder = groupOrder;
    s.lengthV = 0.2, s.lengthE = 0.3, s.lengthF = 0.5;
    setGenType();
    setGen();
    rebuildModules();
    srandom(1);
    ranAllColor();
    ranSingleColors();
}

QImage newImage() {
    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void BM_Frame(benchmark::State& state) {
    const Picture& p = kPictures[state.range(0)];
    prepare(p, static_cast<int>(state.range(1)));
    QImage image = newImage();
    for (auto _ : state) {
        renderFrame(image);
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
        QPen pen(color, p.lineWidth, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
        pen.setMiterLimit(10);
        painter.strokePath(path, pen);
    } else {
        painter.fillPath(path, color);
    }
}

template <class PaintAll>
void replayLoop(benchmark::State& state, PaintAll paintAll) {
    const ViewRect r = viewRectFor(kWidth, kHeight, settings.windowZoom);
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
    drawFrame(recording, kWidth, kHeight);
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
    drawFrame(recording, kWidth, kHeight);
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

// The frame's own work without any pixels: projections, geodesics, colours, counters.
void BM_FrameWithoutPixels(benchmark::State& state) {
    const Picture& p = kPictures[state.range(0)];
    prepare(p, static_cast<int>(state.range(1)));
    NullLayer layer;
    for (auto _ : state) {
        drawFrame(layer, kWidth, kHeight);
        benchmark::DoNotOptimize(layer.calls);
    }
    state.SetLabel(std::string(p.name) + " " + std::to_string(layer.calls / state.iterations()) +
                   " calls");
}

void pictures(benchmark::internal::Benchmark* b) {
    for (int order : {200, 2000}) {
        for (int p = 0; p < 3; ++p) b->Args({p, order});
    }
    b->ArgNames({"picture", "groupOrder"})->Unit(benchmark::kMillisecond);
}

}  // namespace

BENCHMARK(BM_Frame)->Apply(pictures);
BENCHMARK(BM_Floor)->Apply(pictures);
BENCHMARK(BM_FloorPrebuilt)->Apply(pictures);
BENCHMARK(BM_FrameWithoutPixels)->Apply(pictures);
