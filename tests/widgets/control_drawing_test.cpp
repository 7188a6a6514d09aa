#include "widgets/control_drawing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/recording_layer.h"
#include "widgets/control_model.h"

namespace {

const BColor kTint{1, 0.6f, 0};

bool sameColor(const RecordingLayer::Paint& p, const BColor& c) {
    return p.r == c.r && p.g == c.g && p.b == c.b && p.alpha == 1;
}

std::vector<RecordingLayer::Command> texts(const RecordingLayer& layer) {
    std::vector<RecordingLayer::Command> list;
    for (const auto& c : layer.commands())
        if (c.op == RecordingLayer::Op::drawText) list.push_back(c);
    return list;
}

// The recording layer measures 0.5 × size per code point and 1.2 × size high: at size 10 a
// text of n letters is 5n wide and 12 high.

TEST(ControlDrawing, PillHasRoundedEnds) {
    for (auto [w, h] : {std::pair{76.f, 20.f}, {12.f, 12.f}}) {
        SCOPED_TRACE(w);
        RecordingLayer layer;
        drawPill(layer, w, h, kTint);
        ASSERT_EQ(layer.fillCount(), 1);
        EXPECT_TRUE(sameColor(layer.paints()[0], kTint));
        EXPECT_TRUE(layer.contains(h / 2, h / 2));
        EXPECT_TRUE(layer.contains(w / 2, h - 0.5f));
        EXPECT_TRUE(layer.contains(w - h / 2, h / 2));
        for (float x : {0.5f, w - 0.5f})
            for (float y : {0.5f, h - 0.5f}) EXPECT_FALSE(layer.contains(x, y)) << x << "," << y;
    }
}

TEST(ControlDrawing, CaptionsAreCentredByCodePoint) {
    RecordingLayer two;
    drawCaption(two, 76, 20, "random", "generators");
    auto t = texts(two);
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[0].text, "random");
    EXPECT_FLOAT_EQ(t[0].v[0], (76 - 30) / 2.f);
    EXPECT_FLOAT_EQ(t[0].v[1], 4 + 6);
    EXPECT_FLOAT_EQ(t[1].v[0], (76 - 50) / 2.f);
    EXPECT_FLOAT_EQ(t[1].v[1], 4 - 4);
    // Greek captions are measured by code point, not by byte.
    RecordingLayer greek;
    drawCaption(greek, 76, 20, "τρί");
    EXPECT_FLOAT_EQ(texts(greek)[0].v[0], (76 - 15) / 2.f);
}

TEST(ControlDrawing, BMenuWhitensTheChosenCellAndCentresItsTexts) {
    RecordingLayer b;
    drawBMenu(b, 180, 20, kTint, 3);
    ASSERT_EQ(b.fillCount(), 5);
    const auto t = texts(b);
    ASSERT_EQ(t.size(), 10u);
    const char* expected[10] = {"glitter", "sparkle", "indivi", "colors",  "class",
                                "colors",  "rainbow", "high",   "rainbow", "low"};
    for (int i = 0; i < 10; ++i) {
        SCOPED_TRACE(i);
        if (i < 5) {
            EXPECT_TRUE(sameColor(b.paints()[i], i == 3 ? ControlColors::_white : kTint));
        }
        EXPECT_EQ(t[i].text, expected[i]);
        EXPECT_FLOAT_EQ(t[i].v[0] + 2.5f * float(t[i].text.size()), 36.f * (i / 2) + 18);
    }
}

TEST(ControlDrawing, SliderCaptionEndsWithTheValueAndTheMarkerSitsAtIt) {
    RecordingLayer b;
    drawBSlider(b, 156, 12, kTint, "gen angle v π/", 3, 2, 12);
    EXPECT_EQ(texts(b).at(0).text, "gen angle v π/3");
    ASSERT_EQ(b.fillCount(), 2);
    EXPECT_TRUE(sameColor(b.paints()[1], ControlColors::_white));
    EXPECT_FLOAT_EQ(b.paints()[1].path[0].v[0], 15.5f);  // (3 − 2) · 155 / 10
    RecordingLayer c;
    drawCSlider(c, 156, 12, kTint, "x ", -0.25, -1, 1);
    EXPECT_EQ(texts(c).at(0).text, "x –.25");
    EXPECT_FLOAT_EQ(c.paints()[1].path[0].v[0], 155 * 0.375f);
}

}  // namespace
