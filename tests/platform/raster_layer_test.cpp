// The banded raster layer on its own pixels, and against the QPainter layer it stands in for:
// the same commands must give the same picture up to antialiasing, whatever the threads.

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cmath>
#include <filesystem>
#include <functional>
#include <numbers>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/qt_draw.h"
#include "platform/qt_raster.h"

namespace {

using Draw = std::function<void(DrawLayer&)>;
using Points = std::vector<std::pair<float, float>>;
constexpr int kSize = 200;
constexpr ModelRect kModel{-1, -1, 2, 2};  // 100 pixels per unit

QImage blank(QColor background, int width = kSize, int height = kSize) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(background);
    return image;
}

// Whether the layer's path holds each point of a grid over the model square.
std::vector<bool> inside(const DrawLayer& l) {
    std::vector<bool> in;
    for (int i = 0; i < 121; ++i)
        in.push_back(l.contains(-0.93f + 0.19f * (i % 11), 0.97f - 0.19f * (i / 11)));
    return in;
}

// Painted rows lie three pixels further apart than their width, so that rows are not one run.
QImage withRaster(const Draw& draw, QColor background = Qt::white, int threads = 0,
                  int size = kSize, std::vector<bool>* in = nullptr) {
    QImage image = blank(background, size + 3, size);
    RasterLayer layer(threads);
    layer.begin(kModel, size, size);
    draw(layer);
    if (in) *in = inside(layer);
    RasterPixels pixels = rasterPixels(image);
    pixels.width = size;
    layer.paint(pixels);
    return image.copy(0, 0, size, size);
}

QImage withPainter(const Draw& draw, std::vector<bool>* in) {
    QImage image = blank(Qt::white);
    QPainter painter(&image);
    QtDrawLayer layer(painter, QRectF(-1, -1, 2, 2), QRectF(0, 0, kSize, kSize));
    layer.setBevelPastMiterLimit(true);
    draw(layer);
    *in = inside(layer);
    return image;
}

void polygon(DrawLayer& l, const Points& points) {
    for (size_t i = 0; i < points.size(); ++i)
        i == 0 ? l.moveTo(points[i].first, points[i].second)
               : l.lineTo(points[i].first, points[i].second);
}

// One polygon in the colour, filled, or stroked when given a width.
Draw shape(QColor c, const Points& points, float width = -1) {
    return [=](DrawLayer& l) {
        l.setColor(c.redF(), c.greenF(), c.blueF(), c.alphaF());
        l.removeAllPoints();
        polygon(l, points);
        if (width < 0) return l.fill();
        l.setLineWidth(width);
        l.stroke();
    };
}

// Many overlapping translucent triangles, discs and folded strokes, spread over all bands.
void busyPicture(DrawLayer& l, int count) {
    uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return float(seed >> 8) / float(1 << 24);
    };
    for (int i = 0; i < count; ++i) {
        l.setColor(next(), next(), next(), 0.2f + 0.8f * next());
        const float x = 2.4f * next() - 1.2f, y = 2.4f * next() - 1.2f, s = 0.02f + 0.4f * next();
        l.removeAllPoints();
        if (i % 3 == 1) {
            l.ovalPath(x, y, s, s);
            l.fill();
        } else if (i % 3 == 0) {
            polygon(l, {{x, y}, {x + s, y + 0.3f * s}, {x + 0.2f * s, y + s}});
            l.fill();
        } else {
            polygon(l, {{x, y}, {x + s, y - s}, {x + 2 * s, y}});
            l.setLineWidth(0.01f + 0.03f * next());
            l.stroke();
        }
    }
}

struct Difference {
    double mean = 0;      // mean channel difference over all pixels
    double over8 = 0;     // fraction of pixels with a channel more than 8 apart
    double coverage = 0;  // summed difference of the red channel, in whole pixels
};

Difference compare(const QImage& a, const QImage& b) {
    Difference d;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            int m = 0;
            for (int c = 0; c < 4; ++c) {
                const int diff = std::abs(int(a.pixel(x, y) >> 8 * c & 0xff) -
                                          int(b.pixel(x, y) >> 8 * c & 0xff));
                d.mean += diff;
                m = std::max(m, diff);
            }
            d.over8 += m > 8;
            d.coverage += (qRed(a.pixel(x, y)) - qRed(b.pixel(x, y))) / 255.0;
        }
    }
    const double n = double(a.width()) * a.height();
    d.mean /= 4 * n;
    d.over8 /= n;
    d.coverage = std::fabs(d.coverage);
    return d;
}

int paintedInColumn(const QImage& image, int x, int threshold = 0) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y) n += qAlpha(image.pixel(x, y)) > threshold;
    return n;
}

std::set<std::string> threadsOfThisProcess() {
    std::set<std::string> ids;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task"))
        ids.insert(task.path().filename().string());
    return ids;
}

}  // namespace

// Both layers paint every shape alike, and agree on which points lie in the path they keep.
TEST(RasterLayer, FillsAndStrokesMatchThePainterUpToAntialiasing) {
    const float pi = std::numbers::pi_v<float>;
    Points star, arch, dense;
    for (int k = 0; k < 5; ++k)
        star.push_back(
            {0.9f * std::cos(pi / 2 + k * 4 * pi / 5), 0.9f * std::sin(pi / 2 + k * 4 * pi / 5)});
    for (int i = 0; i <= 40; ++i)
        arch.push_back({0.7f * std::cos(pi * i / 40), 0.7f * std::sin(pi * i / 40) - 0.3f});
    // Thinning keeps the ends of a straight run of many points.
    for (int i = 0; i <= 20; ++i) dense.push_back({-0.8f + 1.5f * i / 20, -0.6f + 0.95f * i / 20});
    dense.push_back({-0.2f, 0.8f});
    const std::pair<const char*, Draw> shapes[] = {
        {"triangle", shape({204, 25, 51}, {{-0.9f, -0.7f}, {0.83f, -0.41f}, {0.05f, 0.91f}})},
        {"star, non-zero fills its centre", shape({0, 153, 76, 191}, star)},
        {"square with a square hole, and one wound the same way",
         [](DrawLayer& l) {
             for (float turn : {0.3f, -0.3f}) {
                 l.setColor(0.5f, 0.2f, 0.7f, 0.6f);
                 l.removeAllPoints();
                 polygon(l, {{-0.7f, -0.7f}, {0.7f, -0.7f}, {0.7f, 0.7f}, {-0.7f, 0.7f}});
                 polygon(l, {{-0.3f, -0.3f}, {turn, -turn}, {0.3f, 0.3f}, {-turn, turn}});
                 l.fill();
             }
         }},
        {"many points along a line", shape({0, 0, 0, 178}, dense)},
        {"curve stroke", shape({51, 102, 230, 128}, arch, 0.04f)},
        {"edge traced there and back",
         shape({0, 0, 255, 128}, {{-0.5f, 0}, {0.5f, 0}, {-0.5f, 0}}, 0.3f)},
        {"half disc bounded by an arc",
         [](DrawLayer& l) {
             l.setColor(0.2f, 0.4f, 0.9f, 0.5f);
             l.removeAllPoints();
             l.arc(0.2f, 0, 0.3f, 350, 170);
             l.closePath();
             l.fill();
         }},
        {"oval stroke, oval and rectangle fills, translucent over each other in order",
         [](DrawLayer& l) {
             l.setColor(0.9f, 0.1f, 0.1f, 0.5f);
             l.ovalPath(-0.5f, -0.5f, 1, 1);
             l.setLineWidth(0.01f);
             l.stroke();
             l.setColor(0.9f, 0.6f, 0.1f, 0.6f);
             l.ovalPath(-0.8f, -0.5f, 1.3f, 0.9f);
             l.fill();
             l.setColor(0, 0, 1, 0.5f);
             l.rectPath(-0.33f, -0.77f, 1.1f, 0.61f);
             l.fill();
         }},
        // Points that are not finite are dropped; so is an oval, leaving no start for a line.
        {"points that are not finite",
         [](DrawLayer& l) {
             shape(Qt::blue,
                   {{-0.5f, -0.5f}, {NAN, 0}, {0.5f, -0.5f}, {INFINITY, 1}, {0, 0.5f}})(l);
             l.ovalPath(NAN, 0, 1, 1);
             for (auto [x, y] : Points{{0.5f, 0.5f}, {0.9f, 0.6f}, {0.6f, 0.9f}}) l.lineTo(x, y);
             l.fill();
             l.setColor(NAN, 0, 2, NAN);
             l.setLineWidth(-3);
             l.stroke();
         }},
        // Corners far beyond the float precision of a pixel are clipped without bending.
        {"far off corners",
         shape({0, 255, 0, 128}, {{-1e12f, -1e12f}, {1e12f, -1e12f}, {0, 1e12f}})},
        // A full miter is 1 / sin(a / 2) widths long: 3.9 at 30°, 23 at 5° and endless when the
        // line turns straight back. Beyond 10 widths both layers bevel the corner.
        {"turn of 30°",
         shape(Qt::black, {{-0.8f, 0}, {0, 0}, {-0.8f, 0.8f * std::tan(pi / 6)}}, 0.05f)},
        {"turn of 5°",
         shape(Qt::black, {{-0.8f, 0}, {0, 0}, {-0.8f, 0.8f * std::tan(pi / 36)}}, 0.05f)},
    };
    for (const auto& [name, draw] : shapes) {
        SCOPED_TRACE(name);
        std::vector<bool> painterHolds, rasterHolds;
        const QImage painted = withRaster(draw, Qt::white, 0, kSize, &rasterHolds);
        const Difference d = compare(withPainter(draw, &painterHolds), painted);
        // Painted over an opaque background, every pixel stays opaque.
        EXPECT_EQ(painted.convertToFormat(QImage::Format_RGB32).convertToFormat(painted.format()),
                  painted);
        EXPECT_LT(d.mean, 0.5);
        EXPECT_LT(d.over8, 0.01);
        EXPECT_LT(d.coverage, 6.0);  // the painted area agrees to a few pixels in 40000
        EXPECT_EQ(painterHolds, rasterHolds);
    }
    // A line turning straight back is bevelled at the turn.
    const QImage back =
        withRaster(shape(Qt::black, {{-0.8f, 0}, {0, 0}, {-0.8f, 0}}, 0.05f), Qt::transparent);
    EXPECT_GT(paintedInColumn(back, 99), 0);
    EXPECT_EQ(paintedInColumn(back, 102), 0);
    // The arc from 350° to 170° closed by its chord: a point at 169.2°, a pixel in, is painted.
    const QImage halfDisc = withRaster([](DrawLayer& l) {
        l.setColor(0, 0, 0, 1);
        l.arc(0, 0, 0.9f, 350, 170);
        l.fill();
    });
    EXPECT_LT(qGray(halfDisc.pixel(13, 83)), 128);
    // A line towards a point 1e30 units away keeps its width all across the image.
    const QImage line =
        withRaster(shape(Qt::black, {{-0.5f, 0}, {1e30f, 0}}, 0.1f), Qt::transparent);
    for (int x : {60, 120, 199}) EXPECT_EQ(paintedInColumn(line, x, 254), 10) << x;
    EXPECT_EQ(paintedInColumn(line, 40), 0);
    // Width zero is a one-pixel line.
    const QImage thin =
        withRaster(shape(Qt::black, {{-0.9f, 0.005f}, {0.9f, 0.005f}}, 0), Qt::transparent);
    EXPECT_EQ(paintedInColumn(thin, 100), 1);
    EXPECT_EQ(paintedInColumn(thin, 100, 250), 1);
}

TEST(RasterLayer, ThreadsPaintingWhileRecordingAndWidePixelsDoNotShowInThePicture) {
    const Draw draw = [](DrawLayer& l) { busyPicture(l, 2000); };
    // The reference: one thread, one pixel at a time. Every other layer paints eight at a time
    // where the processor can.
    QImage one = blank(Qt::transparent);
    RasterLayer narrow(1);
    narrow.setWidePath(false);
    narrow.begin(kModel, kSize, kSize);
    draw(narrow);
    narrow.paint(rasterPixels(one));
#if defined(__x86_64__)
    EXPECT_EQ(RasterLayer().widePath(), bool(__builtin_cpu_supports("avx2")));
#endif
    for (int threads : {2, 3, 7}) {
        EXPECT_EQ(withRaster(draw, Qt::transparent, threads), one) << threads;
        RasterLayer layer(threads);
        // The first run outgrows the room set aside, so the follower stops early; the second
        // finds room for the whole list and follows it to the end.
        for (int run = 0; run < 2; ++run) {
            SCOPED_TRACE(testing::Message() << threads << " threads, run " << run);
            QImage image = blank(Qt::transparent);
            layer.begin(kModel, kSize, kSize);
            layer.startPainting(rasterPixels(image));
            ASSERT_TRUE(layer.painting());
            draw(layer);
            layer.finishPainting();
            EXPECT_FALSE(layer.painting());
            EXPECT_EQ(image, one);
        }
    }
}

TEST(RasterLayer, PaintingThreadsLastAsLongAsTheLayer) {
    const std::set<std::string> before = threadsOfThisProcess();
    {
        RasterLayer layer(3);
        QImage image = blank(Qt::transparent);
        std::set<std::string> painting;
        for (int frame = 0; frame < 6; ++frame) {
            layer.begin(kModel, kSize, kSize);
            if (frame % 2 == 0) layer.startPainting(rasterPixels(image), true);
            busyPicture(layer, 300);
            layer.painting() ? layer.finishPainting() : layer.paint(rasterPixels(image), true);
            // The same two helpers beside the caller, frame after frame.
            if (frame == 0) painting = threadsOfThisProcess();
            EXPECT_EQ(threadsOfThisProcess(), painting) << "frame " << frame;
        }
        EXPECT_EQ(painting.size(), before.size() + 2);
    }
    EXPECT_EQ(threadsOfThisProcess(), before);
}

TEST(RasterLayer, TwiceThePixelsLookLikeThePictureScaled) {
    // A device pixel ratio of 2: the same model rectangle on four times the pixels. Scaled down,
    // it gives the picture at the plain ratio up to antialiasing.
    const Draw draw = [](DrawLayer& l) { busyPicture(l, 300); };
    const QImage plain = withRaster(draw, Qt::black);
    const QImage fine = withRaster(draw, Qt::black, 0, 2 * kSize);
    const QImage averaged =
        fine.scaled(kSize, kSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const Difference d = compare(averaged, plain);
    EXPECT_LT(d.mean, 1.0);
    EXPECT_LT(d.over8, 0.02);
}

// Shapes outside the image or without alpha are not recorded; pixels in a form the layer cannot
// write are left alone.
TEST(RasterLayer, WhatCannotShowOrCannotBePaintedIsLeftOut) {
    RasterLayer layer;
    layer.begin(kModel, kSize, kSize);
    layer.setColor(1, 0, 0, 1);
    layer.rectPath(1.5f, 1.5f, 1, 1);  // beyond the top right corner
    layer.fill();
    layer.setColor(1, 0, 0, 0);
    layer.rectPath(-0.5f, -0.5f, 1, 1);  // fully transparent
    layer.fill();
    layer.setLineWidth(0.1f);
    layer.stroke();
    layer.removeAllPoints();  // nothing to paint
    layer.fill();
    EXPECT_TRUE(layer.items().empty());
    layer.setColor(1, 0, 0, 0.01f);
    layer.rectPath(0.9f, 0.9f, 1, 1);  // reaches into the corner
    layer.fill();
    EXPECT_EQ(layer.items().size(), 1u);

    QImage wider = blank(Qt::white, kSize + 1), right = blank(Qt::white);
    QImage rgb = right.convertToFormat(QImage::Format_RGB32);
    RasterPixels narrow = rasterPixels(right);
    narrow.stride = 4 * (kSize - 1);
    layer.paint(rasterPixels(wider));
    layer.paint(narrow);
    layer.paint(rasterPixels(rgb));
    layer.paint({});
    layer.startPainting(rasterPixels(wider));
    EXPECT_FALSE(layer.painting());
    EXPECT_EQ(wider, blank(Qt::white, kSize + 1));
    EXPECT_EQ(right, blank(Qt::white));
    EXPECT_EQ(rgb, blank(Qt::white).convertToFormat(QImage::Format_RGB32));
}
