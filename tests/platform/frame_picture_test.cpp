// Whole frames painted into QImages through the Qt drawing layer, checked the way a person
// would look at them: the background where nothing else is, the tiling filling the middle, the
// unit circle where it belongs.

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <cstdlib>
#include <string>

#include "colour/colour.h"
#include "geometry/kernel.h"
#include "geometry/settings.h"
#include "geometry/triangle_group.h"
#include "platform/qt_draw.h"
#include "render/chain.h"
#include "render/depth_order.h"
#include "render/frame.h"
#include "test_model.h"

namespace {

constexpr int kWidth = 480, kHeight = 270;
const QColor kBackground(26, 26, 51);

struct Picture {
    const char* name;
    int v, e, f;
};

const Picture kPictures[] = {{"sphere", 2, 3, 5}, {"plane", 2, 4, 4}, {"hyperbolic", 7, 3, 2}};

void makePicture(const Picture& p, int projection) {
    model.settings = Settings{};
    model.colourState = ColourState{};
    initColorMatrices(model.colourState);
    Settings& s = model.settings;
    s.genV = p.v, s.genE = p.e, s.genF = p.f;
    s.lengthV = 0.2, s.lengthE = 0.3, s.lengthF = 0.5;
    setGenType(model.settings);
    setGen(model);
    rebuildModules(model);
    srandom(5);
    ranAllColor(model.groupTables);
    for (int t = 0; t < 16; ++t) {
        *typeColor(model.settings, t) =
            BColor{0.3f + 0.7f * ((t * 7) % 16) / 16.0f, 0.3f + 0.7f * ((t * 3) % 16) / 16.0f,
                   0.9f - 0.6f * t / 16.0f};
    }
    s.windowColor = {float(kBackground.redF()), float(kBackground.greenF()),
                     float(kBackground.blueF())};
    s.circleColor = {1, 1, 1};
    s.circleAlpha = 1;
    s.originColor = {1, 0, 0};
    s.project3D2D = projection;
    setOrder(model);
}

QImage render() {
    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    const ViewRect r = viewRectFor(kWidth, kHeight, model.settings.windowZoom);
    QtDrawLayer layer(painter, QRectF(r.x, r.y, r.width, r.height), QRectF(0, 0, kWidth, kHeight));
    drawFrame(model, {double(kWidth), double(kHeight)}, layer);
    return image;
}

// Model co-ordinates of a pixel centre, and back.
double pixelsPerUnit() {
    return kHeight / (2 * model.settings.windowZoom);
}
QPointF modelOf(int px, int py) {
    const double s = pixelsPerUnit();
    return {(px + 0.5 - kWidth / 2.0) / s, (kHeight / 2.0 - py - 0.5) / s};
}

bool isBackground(const QColor& c) {
    return std::abs(c.red() - kBackground.red()) <= 1 &&
           std::abs(c.green() - kBackground.green()) <= 1 &&
           std::abs(c.blue() - kBackground.blue()) <= 1 && c.alpha() == 255;
}

}  // namespace

// The frame is opaque everywhere, the background under everything. Views along z centre the
// picture: round the centre (inside the unit circle, clear of the origin mark) almost nothing is
// bare background. Views along x put it off centre, still over a good part of the frame, except
// that the plane wrapped round the cylinder y² + z² = 1 and seen along its axis is the unit
// circle itself, with bare background inside. In the disk model of the hyperbolic plane
// (choice 2) the enumerated tiles reach out to about r = 0.7 only. Switching the unit circle off
// changes pixels on the circle only, and all the way round.
TEST(FramePicture, EveryGeometryInEveryProjection) {
    for (const Picture& picture : kPictures) {
        for (int projection = 0; projection < 6; ++projection) {
            SCOPED_TRACE(std::string(picture.name) + "-" + std::to_string(projection));
            makePicture(picture, projection);
            const QImage image = render();
            model.settings.circleDraw = false;
            const QImage without = render();
            const bool wrappedPlane = model.settings.gen == 0 && projection == 3;
            const double outer =
                wrappedPlane ? 0.95 : (model.settings.gen > 0 && projection == 2 ? 0.6 : 0.8);
            const double reach = 1.5 + 0.5 * model.settings.circleThick *
                                           model.settings.windowZoom / 100 * pixelsPerUnit();
            int bare = 0, total = 0, bareAll = 0, circle = 0, sectors = 0;
            for (int y = 0; y < kHeight; ++y) {
                for (int x = 0; x < kWidth; ++x) {
                    ASSERT_EQ(image.pixelColor(x, y).alpha(), 255);
                    const bool isBare = isBackground(image.pixelColor(x, y));
                    const QPointF m = modelOf(x, y);
                    const double r = std::hypot(m.x(), m.y());
                    bareAll += isBare;
                    if (r >= 0.1 && r <= outer) ++total, bare += isBare;
                    if (image.pixel(x, y) == without.pixel(x, y)) continue;
                    EXPECT_LE(std::abs(r - 1) * pixelsPerUnit(), reach) << x << "," << y;
                    ++circle;
                    sectors |= 1 << int(6 * (std::atan2(m.y(), m.x()) / PI + 1));
                }
            }
            if (wrappedPlane) {
                EXPECT_EQ(bare, total);
            } else if (projection < 3) {
                EXPECT_LT(bare, total / 20) << bare << " of " << total;
            } else {
                EXPECT_LT(bareAll, kWidth * kHeight * 3 / 4) << bareAll;
            }
            EXPECT_GT(circle, 300);
            EXPECT_EQ(sectors & 0xfff, 0xfff);  // every twelfth of the way round
        }
    }
}
