#include "platform/qt_raster.h"

RasterPixels rasterPixels(QImage& image) {
    if (image.isNull() || image.format() != QImage::Format_ARGB32_Premultiplied) return {};
    return {reinterpret_cast<uint32_t*>(image.bits()), ptrdiff_t(image.bytesPerLine()),
            image.width(), image.height()};
}
