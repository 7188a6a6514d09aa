// Whole frames: the banded raster layer (the drawing view and PNG export) against QPainter
// (printing, PDF, SVG), and the view that shows them with the caption over them.

#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>

#include "canvas/caption.h"
#include "canvas/frame_painter.h"
#include "canvas/view.h"
#include "canvas_support.h"
#include "geometry/settings.h"
#include "raster/raster_layer.h"
#include "render/depth_order.h"
#include "test_model.h"

namespace {

void prepare(const Picture& p, int projection) {
    makePicture(p.p, p.q, p.r, 0.2, 0.3, 0.5);
    model.settings.windowColor = {0.1f, 0.1f, 0.2f};
    model.settings.project3D2D = projection;
    // Lines wide enough to be seen at this size.
    model.settings.triEdgeThick = model.settings.polyEdgeThick = 1.5;
    model.settings.triVertThick = model.settings.polyVertThick = 2;
    setOrder(model);
}

// The fraction of pixels with a channel more than 24 apart; the mean of the largest channel
// difference.
std::pair<double, double> compare(const QImage& a, const QImage& b) {
    long sum = 0, over = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            const int d =
                std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                          std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
            sum += d;
            over += d > 24;
        }
    }
    const double n = double(a.width()) * a.height();
    return {over / n, sum / n};
}

QImage frame(QSize size, bool raster, QImage::Format format = QImage::Format_ARGB32_Premultiplied) {
    QImage image(size, format);
    if (raster) {
        renderFrame(model, image);
    } else {
        renderFrameWithPainter(model, image);
    }
    return image;
}

QImage grab(View& view) {
    return view.grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// Every geometry in each projection with both copies, then either emphasis with one copy or
// both over a translucent background.
TEST(Frame, RasterFrameLooksLikeThePainters) {
    struct Row {
        int picture, projection, polyTri, selfMirror, copies;
    };
    std::vector<Row> rows;
    for (int picture = 0; picture < 3; ++picture)
        for (int projection = 0; projection < 6; ++projection)
            rows.push_back({picture, projection, 0, 0, -1});
    for (int emphasis = 0; emphasis < 4; ++emphasis)
        for (int copies = 0; copies < 3; ++copies)
            rows.push_back({emphasis / 2 + emphasis % 2, 2, emphasis / 2, emphasis % 2, copies});
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message()
                     << kPictures[row.picture].name << " projection " << row.projection
                     << " emphasis " << row.polyTri << row.selfMirror << " copies " << row.copies);
        prepare(kPictures[row.picture], row.projection);
        model.settings.polyTriEmphasis = row.polyTri;
        model.settings.selfMirrorEmphasis = row.selfMirror;
        model.settings.selfDraw = row.copies != 1;
        model.settings.mirrorDraw = row.copies != 2;
        if (row.copies >= 0) model.settings.windowAlpha = 0.5;
        const auto [over24, mean] = compare(frame({640, 360}, false), frame({640, 360}, true));
        EXPECT_LT(over24, 0.002);
        EXPECT_LT(mean, 0.6);
    }
    // Images the raster layer cannot write are painted through the painter.
    EXPECT_EQ(frame({160, 90}, true, QImage::Format_RGB32),
              frame({160, 90}, false, QImage::Format_RGB32));
}

TEST(Frame, EveryFrameOfAStillPictureIsTheSameAndStartsClear) {
    // The first frame finds no room set aside and is painted after it is composed; later ones
    // are painted while they are composed, by the same layer's threads.
    prepare(kPictures[2], 2);
    model.settings.windowAlpha = 0.5;
    model.settings.mirrorDraw = false;
    RasterLayer layer;
    QImage image(320, 180, QImage::Format_ARGB32_Premultiplied);
    renderFrame(model, image, layer);
    const QImage first = image;
    // A half-transparent background over nothing stays half transparent.
    EXPECT_NEAR(qAlpha(first.pixel(0, 0)), 128, 1);
    for (int i = 0; i < 3; ++i) {
        renderFrame(model, image, layer);
        EXPECT_EQ(image, first) << i;
    }
}

TEST(Frame, APixelRatioOfTwoLooksLikeThePlainFrameScaled) {
    // The drawing view paints in device pixels: at a ratio of 2 the same picture on four times
    // the pixels. Each 2 × 2 block, averaged, is the plain frame up to antialiasing.
    for (const Picture& picture : kPictures) {
        SCOPED_TRACE(picture.name);
        prepare(picture, 2);
        const QImage fine = frame({640, 360}, true)
                                .scaled(320, 180, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        const auto [over24, mean] = compare(frame({320, 180}, true), fine);
        EXPECT_LT(over24, 0.002);
        EXPECT_LT(mean, 1.2);
    }
}

TEST(Frame, NothingIsPaintedWithoutRoom) {
    makePicture(2, 3, 5);
    QImage image(160, 90, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::green);
    paintFrame(model, &image, QSize(0, 0));
    EXPECT_EQ(image.pixelColor(5, 5), QColor(Qt::green));
    QImage empty;
    renderFrame(model, empty);
    paintFrame(model, nullptr, QSize(10, 10));
}

// The view shows the raster frame with the caption over it in the lower-left corner: white
// text on a dark plate, readable over any picture.
TEST(Frame, TheViewShowsTheFrameAndTheCaptionOverIt) {
    makePicture(2, 3, 4, 1, 0, 0);
    model.settings.originDraw = false;
    model.settings.windowColor = {0.6f, 0.6f, 0.6f};  // a plain grey picture
    model.settings.selfDraw = model.settings.mirrorDraw = model.settings.circleDraw = false;
    View view(model);
    view.resize(800, 600);
    EXPECT_TRUE(view.captionShown());
    const QImage shown = grab(view);
    view.setCaptionShown(false);
    const QImage bare = grab(view);
    EXPECT_EQ(bare, frame({800, 600}, true));  // the opaque background covers what lies under
    // Nothing above the lowest 80 rows or right of 600, something in the lower left.
    EXPECT_EQ(shown.copy(0, 0, 800, 520), bare.copy(0, 0, 800, 520));
    EXPECT_EQ(shown.copy(600, 0, 200, 600), bare.copy(600, 0, 200, 600));
    EXPECT_NE(shown.copy(0, 560, 200, 40), bare.copy(0, 560, 200, 40));
    int darkest = 255, brightest = 0;
    for (int y = 520; y < 600; ++y) {
        for (int x = 0; x < 600; ++x) {
            darkest = std::min(darkest, qGray(shown.pixel(x, y)));
            brightest = std::max(brightest, qGray(shown.pixel(x, y)));
        }
    }
    EXPECT_GT(brightest, 240);
    EXPECT_LT(darkest, 100);
    // A window narrower than the line keeps the plate inside its margins.
    view.resize(260, 200);
    view.setCaptionShown(true);
    EXPECT_EQ(grab(view).copy(252, 0, 8, 200), frame({260, 200}, true).copy(252, 0, 8, 200));
    model.settings.snubForm = true;
    EXPECT_NE(pictureCaption(model.settings).indexOf("snub"), -1);
}

}  // namespace
