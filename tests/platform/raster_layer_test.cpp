// The banded raster layer against the QPainter layer it stands in for: the same commands must
// give the same picture up to antialiasing, composite in the same order and stroke with the
// same pen.

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cmath>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

#include "platform/qt_draw.h"
#include "platform/qt_raster.h"
#include "raster/raster_support.h"

namespace {

constexpr int kSize = 200;
const QRectF kModel(-1, -1, 2, 2);  // 100 pixels per unit
constexpr ModelRect kRect{-1, -1, 2, 2};

QImage blank(QColor background = Qt::white, QSize size = {kSize, kSize}) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(background);
    return image;
}

// The painter layer as the picture uses it.
QImage withPainter(const Draw& draw, QColor background = Qt::white) {
    QImage image = blank(background);
    QPainter painter(&image);
    QtDrawLayer layer(painter, kModel, QRectF(0, 0, kSize, kSize));
    layer.setBevelPastMiterLimit(true);
    draw(layer);
    return image;
}

QImage withRaster(const Draw& draw, QColor background = Qt::white) {
    QImage image = blank(background);
    RasterLayer layer;
    layer.begin(kRect, kSize, kSize);
    draw(layer);
    layer.paint(rasterPixels(image));
    return image;
}

struct Difference {
    int largest = 0;      // the largest channel difference
    double mean = 0;      // mean channel difference over all pixels
    double over8 = 0;     // fraction of pixels with a channel more than 8 apart
    double coverage = 0;  // summed alpha-weighted difference of painted area, in pixels
};

Difference compare(const QImage& a, const QImage& b) {
    Difference d;
    long sum = 0, over = 0;
    double area = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            const int diffs[] = {std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                 std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))};
            int m = 0;
            for (int c : diffs) {
                sum += c;
                m = std::max(m, c);
            }
            d.largest = std::max(d.largest, m);
            over += m > 8;
            area += (qRed(p) - qRed(q)) / 255.0;
        }
    }
    const double n = double(a.width()) * a.height();
    d.mean = sum / (4 * n);
    d.over8 = over / n;
    d.coverage = std::fabs(area);
    return d;
}

QRect paintedBox(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) > 0) box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

}  // namespace

TEST(RasterLayer, FillsAndStrokesMatchThePainterUpToAntialiasing) {
    struct Shape {
        const char* name;
        Draw draw;
    };
    const Shape shapes[] = {
        {"triangle",
         filled(0.8f, 0.1f, 0.2f, 1, {{-0.9f, -0.7f}, {0.83f, -0.41f}, {0.05f, 0.91f}})},
        {"concave arrow, translucent", filled(0.1f, 0.3f, 0.9f, 0.5f,
                                              {{-0.8f, -0.2f},
                                               {0.1f, -0.2f},
                                               {0.1f, -0.6f},
                                               {0.85f, 0.03f},
                                               {0.1f, 0.6f},
                                               {0.1f, 0.2f},
                                               {-0.8f, 0.2f}})},
        {"star, non-zero fills its centre",
         [](DrawLayer& l) {
             l.setColor(0, 0.6f, 0.3f, 0.75f);
             l.removeAllPoints();
             l.moveTo(0, 0.9f);
             for (int k = 1; k < 5; ++k) {
                 const double a = std::numbers::pi / 2 + k * 4 * std::numbers::pi / 5;
                 l.lineTo(float(0.9 * std::cos(a)), float(0.9 * std::sin(a)));
             }
             l.fill();
         }},
        {"square with a square hole",
         [](DrawLayer& l) {
             l.setColor(0.5f, 0.2f, 0.7f, 1);
             l.removeAllPoints();
             polygon(l, {{-0.7f, -0.7f}, {0.7f, -0.7f}, {0.7f, 0.7f}, {-0.7f, 0.7f}});
             polygon(l, {{-0.3f, -0.3f}, {-0.3f, 0.3f}, {0.3f, 0.3f}, {0.3f, -0.3f}});
             l.fill();
         }},
        {"curve and oval strokes",
         [](DrawLayer& l) {
             l.setColor(0.2f, 0.4f, 0.9f, 0.5f);
             l.removeAllPoints();
             l.moveTo(0.7f, -0.3f);
             for (int i = 1; i <= 40; ++i) {
                 const double a = std::numbers::pi * i / 40;
                 l.lineTo(float(0.7 * std::cos(a)), float(0.7 * std::sin(a) - 0.3));
             }
             l.setLineWidth(0.04f);
             l.stroke();
             l.setColor(0.9f, 0.1f, 0.1f, 0.5f);
             l.ovalPath(-0.5f, -0.5f, 1, 1);
             l.setLineWidth(0.01f);
             l.stroke();
         }},
        {"oval and rectangle",
         [](DrawLayer& l) {
             l.setColor(0.9f, 0.6f, 0.1f, 0.6f);
             l.ovalPath(-0.8f, -0.5f, 1.3f, 0.9f);
             l.fill();
             l.setColor(0.2f, 0.2f, 0.2f, 0.4f);
             l.rectPath(-0.33f, -0.77f, 1.1f, 0.61f);
             l.fill();
         }},
    };
    for (const Shape& shape : shapes) {
        SCOPED_TRACE(shape.name);
        const Difference d = compare(withPainter(shape.draw), withRaster(shape.draw));
        EXPECT_LT(d.mean, 0.5);
        EXPECT_LT(d.over8, 0.01);
        EXPECT_LT(d.coverage, 6.0);  // the painted area agrees to a few pixels in 40000
    }
}

TEST(RasterLayer, TranslucentShapesCompositeInOrder) {
    const Draw draw = [](DrawLayer& l) {
        l.setColor(1, 0, 0, 0.5f);
        l.rectPath(-0.8f, -0.8f, 1.2f, 1.2f);
        l.fill();
        l.setColor(0, 0, 1, 0.5f);
        l.rectPath(-0.4f, -0.4f, 1.2f, 1.2f);
        l.fill();
    };
    const QImage qt = withPainter(draw, Qt::transparent);
    const QImage raster = withRaster(draw, Qt::transparent);
    // Inside the overlap blue lies over red: premultiplied (0.25, 0, 0.5) at alpha 0.75.
    EXPECT_LE(compare(qt, raster).largest, 1);
    const QRgb overlap = raster.pixel(100, 100);  // premultiplied
    EXPECT_NEAR(qAlpha(overlap), 191, 1);
    EXPECT_NEAR(qRed(overlap), 64, 1);
    EXPECT_NEAR(qBlue(overlap), 128, 1);
}

TEST(RasterLayer, StrokesHaveFlatCapsAndMiterJoins) {
    const Draw corner = [](DrawLayer& l) {
        l.setColor(0, 0, 0, 1);
        l.removeAllPoints();
        l.moveTo(-0.5f, 0);
        l.lineTo(0, 0);
        l.lineTo(0, 0.5f);
        l.setLineWidth(0.2f);
        l.stroke();
    };
    for (const QImage& image :
         {withPainter(corner, Qt::transparent), withRaster(corner, Qt::transparent)}) {
        auto at = [&](double x, double y) {
            return qAlpha(
                image.pixel(int(std::floor((x + 1) * 100)), int(std::floor((1 - y) * 100))));
        };
        EXPECT_EQ(at(-0.45, 0.0), 255);
        EXPECT_EQ(at(-0.56, 0.0), 0);  // a square cap would reach 0.1 further
        EXPECT_EQ(at(0.0, 0.56), 0);
        EXPECT_EQ(at(0.08, -0.08), 255);  // the miter fills the outer corner; a bevel cuts it
    }
}

TEST(RasterLayer, SharpTurnsAreBevelledLikeThePainters) {
    // Where the two pieces meet at an angle a, a full miter is 1 / sin(a / 2) line widths long
    // (from the inner corner to the tip): 3.9 at 30°, so its tip lies 9.7 pixels beyond the
    // turn for this 5-pixel line; 23 at 5°, and endless when the line turns straight back.
    // Beyond 10 widths both layers bevel the corner.
    struct Turn {
        float back;     // the second piece returns towards (-0.8, back)
        int rightmost;  // the last painted column
    };
    const Turn turns[] = {{0.8f * std::tan(float(std::numbers::pi) / 6), 109},
                          {0.8f * std::tan(5 * float(std::numbers::pi) / 180), 101},
                          {0.0f, 100}};
    for (const Turn& turn : turns) {
        SCOPED_TRACE(turn.back);
        const Draw draw = [turn](DrawLayer& l) {
            l.setColor(0, 0, 0, 1);
            l.removeAllPoints();
            l.moveTo(-0.8f, 0);
            l.lineTo(0, 0);
            l.lineTo(-0.8f, turn.back);
            l.setLineWidth(0.05f);
            l.stroke();
        };
        const QRect qt = paintedBox(withPainter(draw, Qt::transparent));
        const QRect raster = paintedBox(withRaster(draw, Qt::transparent));
        EXPECT_NEAR(raster.right(), turn.rightmost, 1);
        EXPECT_NEAR(raster.right(), qt.right(), 1);
        EXPECT_NEAR(raster.left(), qt.left(), 1);
    }
}

TEST(RasterLayer, ManyShapesAcrossTheBandsMatchThePainter) {
    const Draw draw = [](DrawLayer& l) { busyPicture(l, 600); };
    EXPECT_LT(compare(withPainter(draw, Qt::transparent), withRaster(draw, Qt::transparent)).mean,
              1.0);
}
