#include "platform/qt_draw.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

// The raster layer's tests hold the Qt layer's shapes up against its own; here what only the
// Qt layer does: map onto part of a device, and text.
TEST(QtDrawLayer, ModelRectangleMapsOntoTheDeviceRectangleTextIncluded) {
    QImage image(200, 100, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        // The right half of the image shows (0, 0)–(4, 2).
        QtDrawLayer layer(painter, QRectF(0, 0, 4, 2), QRectF(100, 0, 100, 100));
        layer.setColor(0, 0, 1, 1);
        layer.rectPath(0, 0, 2, 1);  // the lower left quarter of that view
        layer.fill();
        const auto small = layer.measureText("τρί vertex", 0.2f);
        const auto large = layer.measureText("τρί vertex", 0.4f);
        EXPECT_GT(small.width, 0.4f);
        EXPECT_NEAR(large.width / small.width, 2, 0.2);
        EXPECT_NEAR(small.height, 0.2f * 1.16f, 0.06f);  // DejaVu's line height
        layer.setColor(1, 0, 0, 1);
        layer.drawText("πολύ", 2.5f, 1.2f, 0.6f);
    }
    EXPECT_EQ(image.pixelColor(125, 75), QColor(0, 0, 255));
    EXPECT_EQ(image.pixelColor(175, 75).alpha(), 0);
    EXPECT_EQ(image.pixelColor(125, 25).alpha(), 0);  // model y points up
    EXPECT_EQ(image.pixelColor(50, 75).alpha(), 0);
    // The text lies above and right of its lower-left point, (162.5, 40) on the image.
    QRect ink;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x)
            if (image.pixelColor(x, y).red() > 0) ink |= QRect(x, y, 1, 1);
    EXPECT_GT(ink.width() * ink.height(), 200);
    EXPECT_LE(ink.bottom(), 40);
    EXPECT_GE(ink.left(), 162);
}
