#include "canvas/frame_painter.h"

#include "geometry/settings.h"
#include "platform/qt_draw.h"
#include "platform/qt_raster.h"
#include "render/frame.h"
#include "render/paths.h"

void paintFrame(QPainter& painter, QSize size) {
    if (size.isEmpty()) return;
    const ViewRect r = viewRectFor(size.width(), size.height(), settings.windowZoom);
    QtDrawLayer layer(painter, QRectF(r.x, r.y, r.width, r.height),
                      QRectF(0, 0, size.width(), size.height()));
    layer.setBevelPastMiterLimit(true);  // as the raster layer strokes
    drawFrame(layer, size.width(), size.height());
}

void paintFrame(QPaintDevice* device, QSize size) {
    if (!device || size.isEmpty()) return;
    QPainter painter(device);
    if (!painter.isActive()) return;
    paintFrame(painter, size);
}

void renderFrame(QImage& image, RasterLayer& layer) {
    if (image.isNull()) return;
    const RasterPixels pixels = rasterPixels(image);
    if (!pixels.bits) {
        renderFrameWithPainter(image);
        return;
    }
    const int w = image.width(), h = image.height();
    const ViewRect r = viewRectFor(w, h, settings.windowZoom);
    layer.begin({r.x, r.y, r.width, r.height}, w, h);
    // The image is cleared and the first items painted while the rest of the frame is still
    // being composed.
    layer.startPainting(pixels, true);
    // Geodesics are drawn with no more points than a pixel can show; the layer need not thin
    // them again.
    setGeodesicTolerance(RasterLayer::kThinning * r.width / w);
    layer.setThinLines(false);
    drawFrame(layer, w, h);
    layer.setThinLines(true);
    setGeodesicTolerance(0);
    if (layer.painting()) {
        layer.finishPainting();
    } else {
        layer.paint(pixels, true);
    }
}

void renderFrame(QImage& image) {
    RasterLayer layer;
    renderFrame(image, layer);
}

void renderFrameWithPainter(QImage& image) {
    if (image.isNull()) return;
    image.fill(Qt::transparent);
    paintFrame(&image, image.size());
}
