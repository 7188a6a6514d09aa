#include "render/model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "geometry/settings.h"
#include "render/frame.h"
#include "render_support.h"
#include "test_model.h"

// A copy is the same picture on its own tables: none of its modules refers to the original's
// records, and it draws as the original did after the original holds another picture. (No stage
// keeps state of its own between pictures: Core.DefinesNoWritableGlobal.)
TEST(Model, ACopyDrawsAsTheOriginalOnItsOwnTables) {
    // Frames of the kites, the polygons alone and the triangles alone, one after the other.
    auto draw = [](Model& m) {
        RecordingLayer layer;
        for (int walk = 0; walk < 3; ++walk) {
            Settings& s = m.settings;
            s.triFaceDraw = s.triEdgeDraw = s.triVertDraw = walk != 1;
            s.polyFaceDraw = s.polyEdgeDraw = s.polyVertDraw = walk != 2;
            drawFrame(m, {640, 480}, layer);
        }
        return layer.commands();
    };
    makePicture(2, 3, 7, 1500);
    const Commands original = draw(model);
    const auto copy = std::make_unique<Model>(model);
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
    makePicture(3, 3, 4, 48, 4);
    EXPECT_TRUE(same(draw(*copy), original));
}
