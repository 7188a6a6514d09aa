#pragma once

#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QSize>

class RasterLayer;
struct Model;

// A whole frame of the picture painted through the drawing layer onto any Qt device: the
// drawing window, an exported image, a PDF, an SVG, a printer page. The model rectangle follows
// the device size: the origin at the centre, the shorter side spanning ±windowZoom.

// Paints with a painter that is already active on its device; size is the device area to fill,
// in the painter's co-ordinates.
void paintFrame(Model& m, QPainter& painter, QSize size);

// Opens a painter on the device and paints the frame over the given size.
void paintFrame(Model& m, QPaintDevice* device, QSize size);

// Clears the image to transparent and paints the frame over all of it. ARGB32 premultiplied
// images (the drawing window's and PNG export's) are rasterised by the banded raster layer on
// its painting threads; other formats through QPainter. A caller that paints frame after frame
// passes the layer it keeps, with its buffers and threads; the other form makes one for the
// image.
void renderFrame(Model& m, QImage& image, RasterLayer& layer);
void renderFrame(Model& m, QImage& image);

// The same frame through QPainter whatever the format: the reference the raster layer is held
// to.
void renderFrameWithPainter(Model& m, QImage& image);
