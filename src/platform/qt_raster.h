#pragma once

#include <QImage>

#include "raster/raster_layer.h"

// A QImage as pixels for the raster layer: an ARGB32 premultiplied image's own rows; no pixels
// (which the layer leaves alone) for a null image or any other format.
RasterPixels rasterPixels(QImage& image);
