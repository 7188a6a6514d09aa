#include "platform/recording_layer.h"

#include <gtest/gtest.h>

namespace {

using Op = RecordingLayer::Op;

void drawSample(DrawLayer& l) {
    l.setColor(0.1f, 0.2f, 0.3f, 0.4f);
    l.removeAllPoints();
    l.moveTo(0, 0);
    l.lineTo(1, 0);
    l.arc(1, 1, 1, 270, 360);
    l.closePath();
    l.fill();
    l.ovalPath(-1, -1, 2, 2);
    l.setLineWidth(0.25f);
    l.stroke();
    l.drawText("τρί", 1, 2, 12);
}

}  // namespace

TEST(RecordingLayer, RemembersEachPaintWithItsPathColourAndWidth) {
    RecordingLayer layer;
    drawSample(layer);
    ASSERT_EQ(layer.paints().size(), 2u);
    const auto& fill = layer.paints()[0];
    EXPECT_FLOAT_EQ(fill.alpha, 0.4f);
    ASSERT_EQ(fill.path.size(), 4u);
    const auto& stroke = layer.paints()[1];
    EXPECT_FLOAT_EQ(stroke.lineWidth, 0.25f);
    ASSERT_EQ(stroke.path.size(), 1u);  // an oval replaces the path
    EXPECT_EQ(stroke.path[0].op, Op::ovalPath);
    EXPECT_EQ(layer.commands().back().text, "τρί");
}

TEST(RecordingLayer, ReplayReproducesTheStream) {
    RecordingLayer first, second;
    drawSample(first);
    first.replay(second);
    ASSERT_EQ(first.commands().size(), second.commands().size());
    for (size_t i = 0; i < first.commands().size(); ++i) {
        SCOPED_TRACE(i);
        const auto& a = first.commands()[i];
        const auto& b = second.commands()[i];
        EXPECT_EQ(a.op, b.op);
        for (int k = 0; k < 5; ++k) EXPECT_EQ(a.v[k], b.v[k]);
        EXPECT_EQ(a.text, b.text);
    }
}

TEST(RecordingLayer, ContainsFollowsTheNonZeroRule) {
    RecordingLayer l;
    // Two squares, both anticlockwise, overlapping in (0, 0)–(1, 1).
    l.moveTo(-1, -1), l.lineTo(1, -1), l.lineTo(1, 1), l.lineTo(-1, 1), l.closePath();
    l.moveTo(0, 0), l.lineTo(2, 0), l.lineTo(2, 2), l.lineTo(0, 2), l.closePath();
    EXPECT_TRUE(l.contains(0.5f, 0.5f));
    EXPECT_TRUE(l.contains(-0.5f, -0.5f));
    EXPECT_TRUE(l.contains(1.5f, 1.5f));
    EXPECT_FALSE(l.contains(1.5f, -0.5f));
    // An inner square the other way round cuts a hole.
    l.removeAllPoints();
    l.moveTo(-2, -2), l.lineTo(2, -2), l.lineTo(2, 2), l.lineTo(-2, 2);
    l.moveTo(-1, -1), l.lineTo(-1, 1), l.lineTo(1, 1), l.lineTo(1, -1);
    EXPECT_FALSE(l.contains(0, 0));
    EXPECT_TRUE(l.contains(1.5f, 0));
    l.ovalPath(0, 0, 2, 1);
    EXPECT_FALSE(l.contains(0.1f, 0.1f));
    l.removeAllPoints();
    l.moveTo(0, 0), l.arc(0, 0, 1, 0, 90);  // a quarter disc
    EXPECT_TRUE(l.contains(0.3f, 0.3f));
    EXPECT_FALSE(l.contains(-0.3f, 0.3f));
}

TEST(RecordingLayer, MeasuresTextByCodePoints) {
    RecordingLayer l;
    EXPECT_FLOAT_EQ(l.measureText("τρί", 10).width, 15);
    EXPECT_FLOAT_EQ(l.measureText("abc", 10).width, 15);
    EXPECT_FLOAT_EQ(l.measureText("", 10).height, 12);
}
