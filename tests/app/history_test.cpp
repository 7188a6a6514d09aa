// The undo history as values: every undo gives back the document, the drawing and the draw order
// of the moment before the step, every redo those after it, whatever the step rebuilt.

#include "app/history.h"

#include <gtest/gtest.h>

#include <QImage>
#include <functional>
#include <string>
#include <vector>

#include "app/document.h"
#include "canvas/frame_painter.h"
#include "canvas/navigation.h"
#include "colour/colour.h"
#include "geometry/settings.h"
#include "render/chain.h"
#include "render/depth_order.h"
#include "test_model.h"

namespace {

// Everything that shows: the document, the frame's pixels and the three draw lists in order.
using Shown = std::tuple<std::string, QImage, std::vector<const void*>>;

Shown shown() {
    QImage image(240, 160, QImage::Format_ARGB32_Premultiplied);
    renderFrame(model, image);
    const DrawLists& d = model.drawLists;
    std::vector<const void*> order(d.tri.begin(), d.tri.begin() + d.triCount);
    order.insert(order.end(), d.poly.begin(), d.poly.begin() + d.polyCount);
    order.insert(order.end(), d.quad.begin(), d.quad.begin() + d.quadCount);
    return {documentXml(model), image, order};
}

// A launch picture whose colours do not glitter: every scheme but the random one, so that the
// same picture paints the same pixels.
void launch(unsigned seed, int genV, int genE, int genF) {
    model.settings = Settings{};
    initRandom(model, seed);
    Settings& s = model.settings;
    s.genV = genV, s.genE = genE, s.genF = genF;
    finishGen(model, 0);
    s.polyFaceScheme = 1, s.polyEdgeScheme = 2, s.polyVertScheme = 3;
    s.triFaceScheme = 4, s.triEdgeScheme = 1, s.triVertScheme = 2;
}

// Steps that enter the chain at every stage. The projection step re-sorts without enumerating,
// so the generator step after it rebuilds tables that undo must rebuild as the earlier
// enumeration made them, under the earlier projection. The snub's triangles exist only while
// snub mode is on: undoing the generators and then "snub off" comes back to a snub over tables
// rebuilt without it.
TEST(History, UndoAndRedoGiveBackEveryPictureExactly) {
    Settings& s = model.settings;
    const std::function<void()> steps[] = {
        [] { translateXY(model, 0.4); },
        [] { chainRanLength(model); },
        [] { ranAllColor(model.groupTables); },
        [&] {
            s.snubForm = !s.snubForm;  // on, and at the next step off again
            chainSnub(model);
        },
        [&] {
            s.project3D2D = 5 - s.project3D2D;  // 4, and at the later step back to 1
            chainSetProject3D2D(model);
        },
        [&] {
            const int old = s.gen;
            s.genF = s.genF == 7 ? 8 : 7;
            finishGen(model, old);
        },
        [&] {
            s.groupOrder = 350;
            chainSetGroupOrder(model);
        },
        [&] {
            s.polyFaceOffset = 0.3;
            setOffsetMatrix(model.colourState, s, kPolyFace);
        },
        [] { chainCenter(model); },
    };
    const int order[] = {0, 1, 2, 3, 3, 4, 5, 6, 7, 4, 8};
    for (auto [v, e, f] : {std::tuple{2, 3, 5}, {3, 3, 4}, {4, 4, 2}}) {
        SCOPED_TRACE(testing::Message() << v << e << f);
        launch(31, v, e, f);
        s.project3D2D = 1;
        chainSetProject3D2D(model);
        History history;
        history.reset(model);
        std::vector<Shown> seen{shown()};
        for (int step : order) {
            steps[step]();
            ASSERT_TRUE(history.commit(model)) << step;
            seen.push_back(shown());
        }
        for (int i = int(seen.size()) - 2; i >= 0; --i) {
            SCOPED_TRACE(testing::Message() << "undo to before step " << i);
            ASSERT_TRUE(history.undo(model));
            EXPECT_TRUE(shown() == seen[i]);
        }
        EXPECT_FALSE(history.undo(model));
        for (std::size_t i = 1; i < seen.size(); ++i) {
            SCOPED_TRACE(testing::Message() << "redo step " << i - 1);
            ASSERT_TRUE(history.redo(model));
            EXPECT_TRUE(shown() == seen[i]);
        }
        EXPECT_FALSE(history.redo(model));
    }
}

TEST(History, AChangeAfterUndoDropsTheRedoStepsAndTheOldestStepsGoFirst) {
    launch(34, 2, 3, 5);
    History history;
    history.reset(model);
    std::vector<Matrix> views{model.settings.pointMatrix};
    for (int i = 0; i < History::kMaxSteps + 5; ++i) {
        translateZX(model, 0.01);
        ASSERT_TRUE(history.commit(model));
        views.push_back(model.settings.pointMatrix);
    }
    EXPECT_EQ(history.undoCount(), History::kMaxSteps);
    // Moving the view keeps the colours: the steps share them, each holding its own draw order.
    const Snapshot& now = history.current();
    EXPECT_LT(history.bytes(),
              2 * now.colours->size() * sizeof(BColor) +
                  (History::kMaxSteps + 1) * 2 * (ownBytes(now) + now.order->size() * 2));
    ASSERT_TRUE(history.undo(model) && history.undo(model));
    EXPECT_EQ(history.redoCount(), 2);
    translateXY(model, 0.5);
    // The new change is committed by the undo that follows it, and it is what undo steps over.
    const Shown changed = shown();
    ASSERT_TRUE(history.undo(model));
    EXPECT_EQ(history.redoCount(), 1);
    ASSERT_TRUE(history.redo(model));
    EXPECT_TRUE(shown() == changed);
    EXPECT_FALSE(history.redo(model));
    int undone = 0;
    while (history.undo(model)) ++undone;
    EXPECT_EQ(undone, History::kMaxSteps - 1);
    EXPECT_TRUE(model.settings.pointMatrix == views[5]);
}

TEST(History, NothingChangedMakesNoStep) {
    launch(33, 4, 4, 2);  // the plane: every depth ties, so each re-sort permutes the draw lists
    model.settings.project3D2D = 0;
    chainView(model);
    History history;
    history.reset(model);
    EXPECT_FALSE(history.commit(model));
    // The panel's own state is no change of the picture.
    model.settings.tabIndex = 7;
    model.settings.bright = 0.9;
    EXPECT_FALSE(history.commit(model));
    // Nor is a re-sort alone; but undo comes back to the order it left.
    setOrder(model);
    const Shown resorted = shown();
    EXPECT_FALSE(history.commit(model));
    EXPECT_EQ(history.undoCount(), 0);
    translateZX(model, 0.25);
    ASSERT_TRUE(history.commit(model));
    ASSERT_TRUE(history.undo(model));
    EXPECT_TRUE(shown() == resorted);
    EXPECT_EQ(model.settings.tabIndex, 7);  // the panel's state stays as it is
}

}  // namespace
