#include "canvas/caption.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <QTest>
#include <algorithm>

#include "canvas/mouse.h"
#include "canvas/view.h"
#include "canvas_support.h"
#include "geometry/settings.h"
#include "test_model.h"

namespace {

QImage grab(View& view) {
    return view.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The bare frame with the caption painted over it as the view should.
QImage withCaption(QImage frame, const std::string& text) {
    QPainter painter(&frame);
    paintCaption(painter, QRectF(frame.rect()), QString::fromStdString(text));
    return frame;
}

// The rectangle holding every pixel where the two images differ.
QRect differences(const QImage& a, const QImage& b) {
    QRect box;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) box |= QRect(x, y, 1, 1);
    return box;
}

class CaptionTest : public testing::Test {
  protected:
    void SetUp() override { view.resize(800, 600); }
    void TearDown() override { mouseUp(); }
    std::string expected() const {
        return captionText(describeTiling(model.settings.genV, model.settings.genE,
                                          model.settings.genF, model.settings.lengthV,
                                          model.settings.lengthE, model.settings.lengthF));
    }
    View view{model};
};

TEST_F(CaptionTest, PaintedOverTheFrameInTheLowerLeftCorner) {
    makePicture(2, 3, 4, 1, 0, 0);
    EXPECT_TRUE(view.captionShown());
    EXPECT_EQ(pictureCaption(model.settings).toStdString(),
              "3.4.3.4 \u00b7 2 | 3 4 \u00b7 cuboctahedron \u00b7 12 vertices, 24 edges, 14 faces");
    const QImage shown = grab(view);
    view.setCaptionShown(false);
    const QImage bare = grab(view);
    EXPECT_EQ(shown, withCaption(bare, expected()));
    const QRect box = differences(shown, bare);
    EXPECT_GT(box.width(), 200);
    EXPECT_LT(box.left(), 40);
    EXPECT_GT(box.bottom(), 600 - 40);
    EXPECT_GT(box.top(), 600 - 80);
    EXPECT_LT(box.right(), 800 - 200);
}

// A window narrower than the line keeps the plate inside its margins.
TEST_F(CaptionTest, ANarrowWindowShortensTheLine) {
    makePicture(2, 3, 5, 0.2, 0.3, 0.5);
    view.resize(260, 200);
    const QImage shown = grab(view);
    view.setCaptionShown(false);
    const QRect box = differences(shown, grab(view));
    EXPECT_GT(box.width(), 150);
    EXPECT_LT(box.right(), 260 - 8);
}

// White text on a dark plate: the brightest and darkest pixels under the caption stay far apart
// over a white and over a black picture.
TEST_F(CaptionTest, ReadableOnLightAndDarkPictures) {
    for (const BColor background : {BColor{1, 1, 1}, BColor{0, 0, 0}, BColor{1, 1, 0}}) {
        SCOPED_TRACE(testing::Message() << background.r << background.g << background.b);
        makePicture(2, 3, 7, 0, 0.5, 0.5);
        model.settings.windowColor = background;
        for (bool* drawn : {&model.settings.polyFaceDraw, &model.settings.polyEdgeDraw,
                            &model.settings.polyVertDraw, &model.settings.triFaceDraw,
                            &model.settings.triEdgeDraw, &model.settings.triVertDraw,
                            &model.settings.circleDraw, &model.settings.originDraw})
            *drawn = false;
        view.setCaptionShown(false);
        const QImage bare = grab(view);
        view.setCaptionShown(true);
        const QImage shown = grab(view);
        const QRect box = differences(shown, bare);
        ASSERT_FALSE(box.isEmpty());
        int darkest = 255, brightest = 0;
        for (int y = box.top(); y <= box.bottom(); ++y) {
            for (int x = box.left(); x <= box.right(); ++x) {
                const int grey = qGray(shown.pixel(x, y));
                darkest = std::min(darkest, grey);
                brightest = std::max(brightest, grey);
            }
        }
        EXPECT_GT(brightest, 240);
        EXPECT_LT(darkest, 100);
    }
}

// Setting the edge lengths with the mouse: the next frame names the new tiling.
TEST_F(CaptionTest, FollowsASetEdgeLengthsDrag) {
    makePicture(2, 3, 4, 1. / 3, 1. / 3, 1. / 3);
    model.settings.mouseMode = 0;
    model.settings.mirrorDraw = false;
    const std::string before = expected();
    const QPoint at = view.widgetPoint({0.15, 0.1}).toPoint();
    QTest::mousePress(&view, Qt::LeftButton, {}, at);
    QTest::mouseRelease(&view, Qt::LeftButton, {}, at);
    EXPECT_NE(expected(), before);
    EXPECT_NE(expected().find("not uniform"), std::string::npos);
    const QImage shown = grab(view);
    view.setCaptionShown(false);
    EXPECT_EQ(shown, withCaption(grab(view), expected()));
}

}  // namespace
