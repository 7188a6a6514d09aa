#include "canvas/frame_painter.h"

#include "platform/qt_draw.h"
#include "platform/qt_raster.h"
#include "render/frame.h"
#include "render/model.h"
#include "render/paths.h"

void paintFrame(Model& m, QPainter& painter, QSize size) {
    if (size.isEmpty()) return;
    const ViewRect r = viewRectFor(size.width(), size.height(), m.settings.windowZoom);
    QtDrawLayer layer(painter, QRectF(r.x, r.y, r.width, r.height),
                      QRectF(0, 0, size.width(), size.height()));
    layer.setBevelPastMiterLimit(true);  // as the raster layer strokes
    drawFrame(m, {double(size.width()), double(size.height())}, layer);
}

void paintFrame(Model& m, QPaintDevice* device, QSize size) {
    if (!device || size.isEmpty()) return;
    QPainter painter(device);
    if (!painter.isActive()) return;
    paintFrame(m, painter, size);
}

void renderFrame(Model& m, QImage& image, RasterLayer& layer) {
    if (image.isNull()) return;
    const RasterPixels pixels = rasterPixels(image);
    if (!pixels.bits) {
        renderFrameWithPainter(m, image);
        return;
    }
    const int w = image.width(), h = image.height();
    const ViewRect r = viewRectFor(w, h, m.settings.windowZoom);
    layer.begin({r.x, r.y, r.width, r.height}, w, h);
    // The image is cleared and the first items painted while the rest of the frame is still
    // being composed.
    layer.startPainting(pixels, true);
    // Geodesics are drawn with no more points than a pixel can show; the layer need not thin
    // them again.
    layer.setThinLines(false);
    drawFrame(m, {double(w), double(h), RasterLayer::kThinning * r.width / w}, layer);
    layer.setThinLines(true);
    if (layer.painting()) {
        layer.finishPainting();
    } else {
        layer.paint(pixels, true);
    }
}

void renderFrame(Model& m, QImage& image) {
    RasterLayer layer;
    renderFrame(m, image, layer);
}

void renderFrameWithPainter(Model& m, QImage& image) {
    if (image.isNull()) return;
    image.fill(Qt::transparent);
    paintFrame(m, &image, image.size());
}
