#include "widgets/control_drawing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/recording_layer.h"
#include "widgets/control_model.h"

namespace {

using Op = RecordingLayer::Op;

const BColor kTint{1, 0.6f, 0};

bool sameColor(const RecordingLayer::Paint& p, const BColor& c) {
    return p.r == c.r && p.g == c.g && p.b == c.b && p.alpha == 1;
}

std::vector<RecordingLayer::Command> texts(const RecordingLayer& layer) {
    std::vector<RecordingLayer::Command> list;
    for (const auto& c : layer.commands())
        if (c.op == Op::drawText) list.push_back(c);
    return list;
}

// The recording layer measures 0.5 × size per code point and 1.2 × size high: at size 10 a
// text of n letters is 5n wide and 12 high.

TEST(Pill, TwoHalfDiscsJoinedIntoOneShape) {
    for (auto [w, h] : {std::pair{76.f, 20.f}, {12.f, 12.f}, {156.f, 20.f}}) {
        SCOPED_TRACE(testing::Message() << w << "x" << h);
        RecordingLayer layer;
        drawPill(layer, w, h, kTint);
        ASSERT_EQ(layer.fillCount(), 1);
        EXPECT_TRUE(sameColor(layer.paints()[0], kTint));
        const float r = h / 2;
        EXPECT_TRUE(layer.contains(r, r));
        EXPECT_TRUE(layer.contains(w / 2, h - 0.5f));
        EXPECT_TRUE(layer.contains(w / 2, 0.5f));
        EXPECT_TRUE(layer.contains(w - r, r));
        // The four corners are cut away by the rounded ends.
        EXPECT_FALSE(layer.contains(0.5f, 0.5f));
        EXPECT_FALSE(layer.contains(0.5f, h - 0.5f));
        EXPECT_FALSE(layer.contains(w - 0.5f, 0.5f));
        EXPECT_FALSE(layer.contains(w - 0.5f, h - 0.5f));
        EXPECT_FALSE(layer.contains(w / 2, h + 0.5f));
    }
}

TEST(Caption, OneLineOrTwoCentredOnTheControl) {
    RecordingLayer one;
    drawCaption(one, 76, 20, "abcd");
    auto t = texts(one);
    ASSERT_EQ(t.size(), 1u);
    EXPECT_FLOAT_EQ(t[0].v[0], (76 - 20) / 2.f);
    EXPECT_FLOAT_EQ(t[0].v[1], (20 - 12) / 2.f + 1);
    EXPECT_FLOAT_EQ(t[0].v[2], 10);

    RecordingLayer two;
    drawCaption(two, 76, 20, "random", "generators");
    t = texts(two);
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[0].text, "random");
    EXPECT_FLOAT_EQ(t[0].v[0], (76 - 30) / 2.f);
    EXPECT_FLOAT_EQ(t[0].v[1], 4 + 6);
    EXPECT_EQ(t[1].text, "generators");
    EXPECT_FLOAT_EQ(t[1].v[0], (76 - 50) / 2.f);
    EXPECT_FLOAT_EQ(t[1].v[1], 4 - 4);

    // Greek captions are measured by code point, not by byte.
    RecordingLayer greek;
    drawCaption(greek, 76, 20, "τρί");
    EXPECT_FLOAT_EQ(texts(greek)[0].v[0], (76 - 15) / 2.f);
}

TEST(TextField, OffsetsFollowTheFontSize) {
    struct Row {
        int size;
        bool twoLines;
        float first, second;
    };
    // height = 1.2 × size; offsets f/10 (one line), 1 ± f/2 (two lines), integer divisions.
    for (Row row : {Row{10, false, (20 - 12) / 2.f + 1, 0},
                    {18, false, (20 - 21.6f) / 2 + 1, 0},
                    {14, false, (20 - 16.8f) / 2 + 1, 0},
                    {10, true, 4 + 6, 4 - 4},
                    {14, true, (20 - 16.8f) / 2 + 8, (20 - 16.8f) / 2 - 6}}) {
        SCOPED_TRACE(testing::Message() << row.size << (row.twoLines ? " two" : " one"));
        RecordingLayer layer;
        drawTextField(layer, 188, 20, ControlColors::_gray, row.size, "Kaleidra",
                      row.twoLines ? "two" : "");
        EXPECT_TRUE(sameColor(layer.paints()[0], ControlColors::_gray));
        const auto t = texts(layer);
        ASSERT_EQ(t.size(), row.twoLines ? 2u : 1u);
        EXPECT_FLOAT_EQ(t[0].v[2], float(row.size));
        EXPECT_NEAR(t[0].v[1], row.first, 1e-5);
        if (row.twoLines) {
            EXPECT_NEAR(t[1].v[1], row.second, 1e-5);
        }
    }
}

TEST(BMenuDrawing, FiveCellsWithTheChosenOneWhite) {
    for (int index = 0; index < 5; ++index) {
        SCOPED_TRACE(index);
        RecordingLayer layer;
        drawBMenu(layer, 180, 20, kTint, index);
        ASSERT_EQ(layer.fillCount(), 5);
        for (int i = 0; i < 5; ++i) {
            const auto& p = layer.paints()[i];
            EXPECT_TRUE(sameColor(p, i == index ? ControlColors::_white : kTint)) << i;
            ASSERT_EQ(p.path.size(), 1u);
            EXPECT_FLOAT_EQ(p.path[0].v[0], 36.f * i);
            EXPECT_FLOAT_EQ(p.path[0].v[2], 36.f);
        }
        const auto t = texts(layer);
        ASSERT_EQ(t.size(), 10u);
        const char* expected[10] = {"glitter", "sparkle", "indivi", "colors",  "class",
                                    "colors",  "rainbow", "high",   "rainbow", "low"};
        for (int i = 0; i < 10; ++i) {
            EXPECT_EQ(t[i].text, expected[i]);
            // Centred on its own cell.
            const float width = 5.f * float(t[i].text.size());
            EXPECT_FLOAT_EQ(t[i].v[0] + width / 2, 36.f * (i / 2) + 18) << t[i].text;
        }
    }
}

TEST(CMenuDrawing, ChoiceZeroIsTheTopRow) {
    RecordingLayer layer;
    const std::vector<std::string> items = {"set edge lengths", "rotate [xy]", "translate [xyz]"};
    drawCMenu(layer, 156, 48, kTint, 1, items);
    ASSERT_EQ(layer.fillCount(), 3);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const auto& cell = layer.paints()[i].path[0];
        EXPECT_FLOAT_EQ(cell.v[1], 16.f * (2 - i));  // bottom edge
        EXPECT_FLOAT_EQ(cell.v[3], 16.f);
        EXPECT_TRUE(sameColor(layer.paints()[i], i == 1 ? ControlColors::_white : kTint));
        // The text sits in its row, whatever its width.
        const auto t = texts(layer)[i];
        EXPECT_EQ(t.text, items[i]);
        EXPECT_FLOAT_EQ(t.v[1], (3 - i - 0.5f) * 16 - 6 + 1);
        EXPECT_GE(t.v[1], 16.f * (2 - i));
        // The click that lands in this row's middle picks this row.
        EXPECT_EQ(cMenuChoice(16.0 * (2 - i) + 8, 48, 3), i);
    }
}

TEST(SliderDrawing, CaptionEndsWithTheValueAndTheMarkerSitsAtIt) {
    RecordingLayer b;
    drawBSlider(b, 156, 12, kTint, "gen angle v π/", 3, 2, 12);
    ASSERT_EQ(texts(b).size(), 1u);
    EXPECT_EQ(texts(b)[0].text, "gen angle v π/3");
    ASSERT_EQ(b.fillCount(), 2);
    EXPECT_TRUE(sameColor(b.paints()[0], kTint));
    EXPECT_TRUE(sameColor(b.paints()[1], ControlColors::_white));
    const auto& marker = b.paints()[1].path[0];
    EXPECT_FLOAT_EQ(marker.v[0], 15.5f);  // (3 − 2) · 155 / 10
    EXPECT_FLOAT_EQ(marker.v[2], 1);
    EXPECT_FLOAT_EQ(marker.v[3], 12);

    RecordingLayer c;
    drawCSlider(c, 156, 12, kTint, "length step ", 0.25, 0, 0.5);
    EXPECT_EQ(texts(c)[0].text, "length step .25");
    EXPECT_FLOAT_EQ(c.paints()[1].path[0].v[0], 77.5f);
    RecordingLayer n;
    drawCSlider(n, 156, 12, kTint, "x ", -0.25, -1, 1);
    EXPECT_EQ(texts(n)[0].text, "x –.25");
}

}  // namespace
