#include "platform/qt_draw.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cmath>
#include <functional>
#include <limits>

namespace {

// A 100 × 100 transparent image showing the model square (−1, −1)–(1, 1), y upwards, painted by
// draw.
struct Canvas {
    QImage image{100, 100, QImage::Format_ARGB32_Premultiplied};
    explicit Canvas(const std::function<void(QtDrawLayer&)>& draw) {
        image.fill(Qt::transparent);
        QPainter painter(&image);
        QtDrawLayer layer(painter, QRectF(-1, -1, 2, 2), QRectF(0, 0, 100, 100));
        draw(layer);
    }
    // The pixel under the model point.
    QColor at(double x, double y) const {
        return image.pixelColor(int(std::floor((x + 1) * 50)), int(std::floor((1 - y) * 50)));
    }
};

}  // namespace

TEST(QtDrawLayer, ModelRectangleMapsOntoTheDeviceRectangle) {
    QImage image(200, 100, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        // The right half of the image shows (0, 0)–(4, 2).
        QtDrawLayer layer(painter, QRectF(0, 0, 4, 2), QRectF(100, 0, 100, 100));
        layer.setColor(0, 0, 1, 1);
        layer.rectPath(0, 0, 2, 1);  // the lower left quarter of that view
        layer.fill();
    }
    EXPECT_EQ(image.pixelColor(125, 75), QColor(0, 0, 255));
    EXPECT_EQ(image.pixelColor(175, 75).alpha(), 0);
    EXPECT_EQ(image.pixelColor(125, 25).alpha(), 0);  // model y points up
    EXPECT_EQ(image.pixelColor(50, 75).alpha(), 0);
}

TEST(QtDrawLayer, EdgeTracedThereAndBackLooksLikeOneLine) {
    auto edge = [](bool back) {
        return [back](QtDrawLayer& l) {
            l.setColor(0, 0, 1, 0.5f);
            l.removeAllPoints();
            l.moveTo(-0.5f, 0.05f);
            l.lineTo(0.5f, 0.05f);
            if (back) l.lineTo(-0.5f, 0.05f);
            l.setLineWidth(0.3f);
            l.stroke();
        };
    };
    const Canvas once(edge(false)), twice(edge(true));
    for (double x : {-0.4, 0.0, 0.3}) {
        EXPECT_EQ(twice.at(x, 0.05), once.at(x, 0.05)) << x;
        EXPECT_NEAR(twice.at(x, 0.05).alpha(), 128, 2) << x;
    }
}

TEST(QtDrawLayer, ArcsRunAnticlockwiseInModelCoordinates) {
    for (bool longWay : {false, true}) {
        const Canvas c([longWay](QtDrawLayer& l) {
            l.setColor(0, 0, 0, 1);
            l.removeAllPoints();
            longWay ? l.arc(0, 0, 0.5f, 90, 0) : l.arc(0, 0, 0.5f, 0, 90);
            l.setLineWidth(0.1f);
            l.stroke();
        });
        // From 0 to 90 the quarter in the first quadrant; from 90 to 0 the other three.
        EXPECT_EQ(c.at(0.35, 0.35).alpha() > 0, !longWay);
        EXPECT_EQ(c.at(-0.35, -0.35).alpha() > 0, longWay);
        EXPECT_EQ(c.at(0.35, -0.35).alpha() > 0, longWay);
    }
}

TEST(QtDrawLayer, PointsThatAreNotFiniteAreDropped) {
    const Canvas c([](QtDrawLayer& l) {
        const float nan = std::numeric_limits<float>::quiet_NaN();
        const float inf = std::numeric_limits<float>::infinity();
        l.setColor(nan, 0, 2, nan);
        l.removeAllPoints();
        l.moveTo(nan, 0);
        l.lineTo(-inf, 0);
        EXPECT_TRUE(l.path().isEmpty());
        l.ovalPath(0, 0, inf, 1);  // dropped too: a line after it starts where it is drawn to
        l.lineTo(0.5f, 0.5f);
        EXPECT_EQ(l.path().boundingRect(), QRectF(0.5, 0.5, 0, 0));
        l.fill();
        l.setLineWidth(-3);
        l.stroke();
        // Far-away but finite co-ordinates (a vertex near a singular plane of a projection)
        // are clipped by Qt, not a reason to stall.
        l.setColor(0, 1, 0, 1);
        l.moveTo(-1e12f, -1);
        l.lineTo(1e12f, -1);
        l.lineTo(0, 1e12f);
        l.fill();
    });
    EXPECT_EQ(c.at(0, 0.0).green(), 255);
}

TEST(QtDrawLayer, TextIsMeasuredAndDrawnInModelUnits) {
    const Canvas c([](QtDrawLayer& l) {
        const auto small = l.measureText("τρί vertex", 0.1f);
        const auto large = l.measureText("τρί vertex", 0.2f);
        EXPECT_GT(small.width, 0.2f);
        EXPECT_NEAR(large.width / small.width, 2, 0.2);
        EXPECT_NEAR(small.height, 0.1f * 1.16f, 0.03f);  // DejaVu's line height
        l.setColor(0, 0, 0, 1);
        l.drawText("πολύ", -0.5f, 0.0f, 0.4f);
    });
    // Everything painted lies above and right of the lower-left point.
    QRect ink;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x)
            if (c.image.pixelColor(x, y).alpha() > 0) ink |= QRect(x, y, 1, 1);
    EXPECT_GT(ink.width() * ink.height(), 200);
    EXPECT_LE(ink.bottom(), 50);
    EXPECT_GE(ink.left(), 24);
}
