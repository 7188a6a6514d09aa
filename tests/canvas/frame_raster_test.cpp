// Whole frames from the banded raster layer (the drawing window and PNG export) against the
// same frames through QPainter (printing, PDF, SVG): the picture must be the same up to
// antialiasing.

#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "canvas/frame_painter.h"
#include "canvas/view.h"
#include "canvas_support.h"
#include "colour/colour.h"
#include "geometry/settings.h"
#include "raster/raster_layer.h"
#include "render/depth_order.h"
#include "render/frame.h"
#include "test_model.h"

namespace {

struct Picture {
    const char* name;
    int p, q, r;
};
const Picture kPictures[] = {{"sphere", 2, 3, 5}, {"plane", 2, 4, 4}, {"hyperbolic", 7, 3, 2}};

void prepare(const Picture& p, int projection) {
    makePicture(p.p, p.q, p.r, 0.2, 0.3, 0.5);
    model.colourState = ColourState{};
    for (int t = 0; t < 16; ++t) {
        *typeColor(model.settings, t) =
            BColor{0.2f + 0.8f * ((t * 7) % 16) / 16.0f, 0.2f + 0.8f * ((t * 3) % 16) / 16.0f,
                   0.9f - 0.7f * t / 16.0f};
    }
    model.settings.windowColor = {0.1f, 0.1f, 0.2f};
    model.settings.project3D2D = projection;
    // Lines wide enough to be seen at this size.
    model.settings.triEdgeThick = model.settings.polyEdgeThick = 1.5;
    model.settings.triVertThick = model.settings.polyVertThick = 2;
    setOrder(model);
}

struct Difference {
    double mean = 0;    // mean channel difference
    double over24 = 0;  // fraction of pixels with a channel more than 24 apart
};

Difference compare(const QImage& a, const QImage& b) {
    long sum = 0, over = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            const int d[] = {std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                             std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))};
            sum += d[0] + d[1] + d[2] + d[3];
            over += std::max(std::max(d[0], d[1]), std::max(d[2], d[3])) > 24;
        }
    }
    const double n = double(a.width()) * a.height();
    return {sum / (4 * n), over / n};
}

QImage frame(QSize size, bool raster) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    if (raster) {
        renderFrame(model, image);
    } else {
        renderFrameWithPainter(model, image);
    }
    return image;
}

}  // namespace

// Every geometry in each projection with both copies, then either emphasis with one copy or
// both over a translucent background.
TEST(FrameRaster, SameFrameAsThePainter) {
    struct Row {
        int picture, projection, polyTri, selfMirror, copies;
        bool translucent;
    };
    std::vector<Row> rows;
    for (int picture = 0; picture < 3; ++picture) {
        for (int projection = 0; projection < 6; ++projection)
            rows.push_back({picture, projection, 0, 0, 0, false});
    }
    for (int polyTri = 0; polyTri < 2; ++polyTri) {
        for (int selfMirror = 0; selfMirror < 2; ++selfMirror) {
            for (int copies = 0; copies < 3; ++copies)
                rows.push_back({polyTri + selfMirror, 2, polyTri, selfMirror, copies, true});
        }
    }
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message()
                     << kPictures[row.picture].name << " projection " << row.projection
                     << " emphasis " << row.polyTri << row.selfMirror << " copies " << row.copies);
        prepare(kPictures[row.picture], row.projection);
        model.settings.polyTriEmphasis = row.polyTri;
        model.settings.selfMirrorEmphasis = row.selfMirror;
        model.settings.selfDraw = row.copies != 1;
        model.settings.mirrorDraw = row.copies != 2;
        if (row.translucent) model.settings.windowAlpha = 0.5;
        const Difference d = compare(frame({640, 360}, false), frame({640, 360}, true));
        EXPECT_LT(d.mean, 0.4);
        EXPECT_LT(d.over24, 0.002);
    }
}

TEST(FrameRaster, EveryFrameOfAStillPictureIsTheSame) {
    // The first frame finds no room set aside and is painted after it is composed; later ones
    // are painted while they are composed, by the same layer's threads.
    prepare(kPictures[2], 2);
    RasterLayer layer;
    auto next = [&layer] {
        QImage image(320, 180, QImage::Format_ARGB32_Premultiplied);
        renderFrame(model, image, layer);
        return image;
    };
    const QImage first = next();
    for (int i = 0; i < 3; ++i) EXPECT_EQ(next(), first) << i;
}

TEST(FrameRaster, APixelRatioOfTwoLooksLikeThePlainFrameScaled) {
    // The drawing view paints in device pixels: at a ratio of 2 the same picture on four times
    // the pixels. Each 2 × 2 block, averaged, is the plain frame up to antialiasing.
    for (int picture = 0; picture < 3; ++picture) {
        SCOPED_TRACE(kPictures[picture].name);
        prepare(kPictures[picture], 2);
        const QImage plain = frame({320, 180}, true);
        const QImage fine = frame({640, 360}, true)
                                .scaled(320, 180, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        const Difference d = compare(plain, fine);
        EXPECT_LT(d.mean, 0.8);
        EXPECT_LT(d.over24, 0.002);
    }
}

TEST(FrameRaster, OtherImageFormatsArePaintedThroughThePainter) {
    prepare(kPictures[0], 0);
    QImage rgb(160, 90, QImage::Format_RGB32);
    renderFrame(model, rgb);
    QImage reference(160, 90, QImage::Format_RGB32);
    renderFrameWithPainter(model, reference);
    EXPECT_EQ(rgb, reference);
}

TEST(FrameRaster, TheDrawingViewShowsTheRasterFrame) {
    prepare(kPictures[1], 2);
    View view(model);
    view.resize(320, 180);
    view.setCaptionShown(false);  // the caption is painted over the frame, not in it
    const QImage shown = view.grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage expected = frame({320, 180}, true);
    ASSERT_EQ(shown.size(), expected.size());
    // The background is opaque, so the frame covers whatever the view stood on.
    EXPECT_EQ(compare(shown, expected).mean, 0.0);
}
