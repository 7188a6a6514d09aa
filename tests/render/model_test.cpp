#include "render/model.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

#include "colour/colour.h"
#include "render/chain.h"
#include "render/frame.h"
#include "render_support.h"

namespace {

struct Recipe {
    int v, e, f, order, projection;
};

// A picture built from scratch into m and one frame of it. The type colours (scheme 2) keep the
// frame apart from the random individual colours the build draws.
std::vector<RecordingLayer::Command> buildAndDraw(Model& m, const Recipe& s) {
    m.settings = Settings{};
    initColorMatrices(m.colourState);
    Settings& t = m.settings;
    t.genV = s.v, t.genE = s.e, t.genF = s.f;
    t.groupOrder = s.order;
    t.project3D2D = s.projection;
    for (int type = 0; type < kTypeCount; ++type)
        *typeColor(t, type) = BColor{type / 16.0f, 1 - type / 16.0f, 0.5f};
    setGenType(t);
    setGen(m);
    rebuildModules(m);
    RecordingLayer layer;
    drawFrame(m, {640, 480}, layer);
    return layer.commands();
}

const Recipe kRecipes[2] = {{2, 3, 7, 1500, 2}, {3, 3, 4, 48, 4}};

}  // namespace

// Two different pictures built at the same time in two threads each come out exactly as the
// same picture built alone: no stage shares anything with another picture.
TEST(Model, TwoPicturesBuiltAtOnceEqualEachBuiltAlone) {
    std::vector<RecordingLayer::Command> alone[2], together[2];
    for (int i = 0; i < 2; ++i) {
        const auto m = std::make_unique<Model>();
        alone[i] = buildAndDraw(*m, kRecipes[i]);
        ASSERT_FALSE(alone[i].empty());
    }
    {
        std::thread threads[2];
        for (int i = 0; i < 2; ++i) {
            threads[i] = std::thread([&together, i] {
                const auto m = std::make_unique<Model>();
                together[i] = buildAndDraw(*m, kRecipes[i]);
            });
        }
        for (std::thread& t : threads) t.join();
    }
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        expectSameCommands(together[i], alone[i]);
    }
}

// A copy is the same picture on its own tables: it draws as the original did, after the original
// is gone.
TEST(Model, ACopyDrawsAsTheOriginalAfterTheOriginalIsGone) {
    auto original = std::make_unique<Model>();
    const auto drawn = buildAndDraw(*original, kRecipes[0]);
    const auto copy = std::make_unique<Model>(*original);
    original.reset();
    RecordingLayer layer;
    drawFrame(*copy, {640, 480}, layer);
    expectSameCommands(layer.commands(), drawn);
}
