#include "canvas/frame_painter.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <cmath>

#include "canvas_support.h"
#include "geometry/settings.h"
#include "test_model.h"

TEST(FramePainter, RenderStartsFromAClearImage) {
    makePicture(7, 3, 2);
    model.settings.windowAlpha = 0.5;
    model.settings.selfDraw = model.settings.mirrorDraw = model.settings.circleDraw =
        model.settings.originDraw = false;
    QImage image(160, 90, QImage::Format_ARGB32_Premultiplied);
    renderFrame(model, image);
    renderFrame(model, image);
    // A half-transparent background over nothing stays half transparent.
    EXPECT_NEAR(qAlpha(image.pixel(80, 45)), 128, 1);
}

TEST(FramePainter, PaintsOntoVectorDevices) {
    makePicture(2, 3, 5);
    QBuffer svgBytes;
    {
        QSvgGenerator svg;
        svg.setOutputDevice(&svgBytes);
        svg.setSize(QSize(320, 180));
        svg.setViewBox(QRect(0, 0, 320, 180));
        paintFrame(model, &svg, QSize(320, 180));
    }
    EXPECT_GT(svgBytes.data().count("<path"), 100);

    QBuffer pdfBytes;
    pdfBytes.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&pdfBytes);
        pdf.setPageSize(QPageSize(QSizeF(160, 90), QPageSize::Millimeter));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        paintFrame(model, &pdf, QSize(pdf.width(), pdf.height()));
    }
    EXPECT_TRUE(pdfBytes.data().startsWith("%PDF"));
    EXPECT_GT(pdfBytes.data().size(), 10000);
}

TEST(FramePainter, NothingToPaintIsHarmless) {
    makePicture(3, 3, 3);
    QImage empty;
    renderFrame(model, empty);
    EXPECT_TRUE(empty.isNull());
    paintFrame(model, nullptr, QSize(10, 10));
    QImage image(10, 10, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::green);
    paintFrame(model, &image, QSize(0, 0));
    EXPECT_EQ(image.pixelColor(5, 5), QColor(Qt::green));
}
