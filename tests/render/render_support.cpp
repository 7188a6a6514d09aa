#include "render_support.h"

#include <gtest/gtest.h>

#include "colour/colour.h"
#include "geometry/settings.h"
#include "platform/draw.h"
#include "tiling/tables.h"

RecordingScope::RecordingScope() {
    settings = Settings{};
    colourState = ColourState{};
    setCurrentLayer(&layer);
}

RecordingScope::~RecordingScope() {
    setCurrentLayer(nullptr);
}

void expectCommands(const RecordingLayer& layer, std::initializer_list<ExpectedCommand> expected,
                    float tol) {
    const auto& got = layer.commands();
    ASSERT_EQ(got.size(), expected.size());
    size_t i = 0;
    for (const ExpectedCommand& e : expected) {
        SCOPED_TRACE(testing::Message() << "command " << i);
        EXPECT_EQ(int(got[i].op), int(e.op));
        for (size_t k = 0; k < e.v.size(); ++k)
            EXPECT_NEAR(got[i].v[k], e.v[k], tol) << "arg " << k;
        ++i;
    }
}
