#include "canvas/frame_painter.h"

#include "geometry/settings.h"
#include "platform/qt_draw.h"
#include "render/frame.h"

void paintFrame(QPainter& painter, QSize size) {
    if (size.isEmpty()) return;
    const ViewRect r = viewRectFor(size.width(), size.height(), settings.windowZoom);
    QtDrawLayer layer(painter, QRectF(r.x, r.y, r.width, r.height),
                      QRectF(0, 0, size.width(), size.height()));
    drawFrame(layer, size.width(), size.height());
}

void paintFrame(QPaintDevice* device, QSize size) {
    if (!device || size.isEmpty()) return;
    QPainter painter(device);
    if (!painter.isActive()) return;
    paintFrame(painter, size);
}

void renderFrame(QImage& image) {
    if (image.isNull()) return;
    image.fill(Qt::transparent);
    paintFrame(&image, image.size());
}
