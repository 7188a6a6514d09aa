#include "render/model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <thread>

#include "colour/colour.h"
#include "render/chain.h"
#include "render/frame.h"
#include "render_support.h"

namespace {

struct Recipe {
    int v, e, f, order, projection;
};
const Recipe kRecipes[2] = {{2, 3, 7, 1500, 2}, {3, 3, 4, 48, 4}};

// A picture built from scratch into m and one frame of it. The type colours (scheme 2) keep the
// frame apart from the random individual colours the build draws.
Commands buildAndDraw(Model& m, const Recipe& r) {
    initColorMatrices(m.colourState);
    Settings& s = m.settings;
    s.genV = r.v, s.genE = r.e, s.genF = r.f;
    s.groupOrder = r.order;
    s.project3D2D = r.projection;
    for (int type = 0; type < kTypeCount; ++type)
        *typeColor(s, type) = BColor{type / 16.0f, 1 - type / 16.0f, 0.5f};
    setGenType(s);
    setGen(m);
    rebuildModules(m);
    RecordingLayer layer;
    drawFrame(m, {640, 480}, layer);
    return layer.commands();
}

}  // namespace

// Two different pictures built at the same time in two threads each come out exactly as the
// same picture built alone: no stage shares anything with another picture. A copy is the same
// picture on its own tables: none of its modules refers to the original's records, and it draws
// as the original did, after the original is gone.
TEST(Model, TwoPicturesBuiltAtOnceAndACopyEqualEachBuiltAlone) {
    Commands alone[2], together[2];
    auto original = std::make_unique<Model>();
    alone[0] = buildAndDraw(*original, kRecipes[0]);
    alone[1] = buildAndDraw(*std::make_unique<Model>(), kRecipes[1]);
    ASSERT_FALSE(alone[0].empty() || alone[1].empty());
    std::thread threads[2];
    for (int i = 0; i < 2; ++i)
        threads[i] = std::thread([&together, i] {
            together[i] = buildAndDraw(*std::make_unique<Model>(), kRecipes[i]);
        });
    for (std::thread& t : threads) t.join();
    EXPECT_TRUE(same(together[0], alone[0]));
    EXPECT_TRUE(same(together[1], alone[1]));
    const auto copy = std::make_unique<Model>(*original);
    auto own = [&copy](const DataModule* p) {
        const auto* t = reinterpret_cast<const char*>(&copy->groupTables);
        return !p || (reinterpret_cast<const char*>(p) >= t &&
                      reinterpret_cast<const char*>(p) < t + sizeof(GroupTables));
    };
    const ModuleTables& mt = copy->moduleTables;
    for (const auto* table : {&mt.polyModuleV, &mt.polyModuleE, &mt.polyModuleF, &mt.snubModule})
        for (int i = 0; i < table->count; ++i)
            EXPECT_TRUE(
                std::all_of(table->pool[i].cornerA.begin(), table->pool[i].cornerA.end(), own) &&
                own(table->pool[i].centre));
    original.reset();
    RecordingLayer layer;
    drawFrame(*copy, {640, 480}, layer);
    EXPECT_TRUE(same(layer.commands(), alone[0]));
}
