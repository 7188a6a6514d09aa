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
#include "geometry/triangle_group.h"
#include "render/chain.h"
#include "render/depth_order.h"
#include "tiling/generating_point.h"

namespace {

// Everything that shows: the document, the frame's pixels and the three draw lists in order.
struct Shown {
    std::string document;
    QImage image;
    std::vector<const void*> order;
};

Shown shown() {
    Shown s;
    s.document = documentXml();
    s.image = QImage(240, 160, QImage::Format_ARGB32_Premultiplied);
    renderFrame(s.image);
    const DrawLists& d = drawLists;
    s.order.assign(d.tri.begin(), d.tri.begin() + d.triCount);
    s.order.insert(s.order.end(), d.poly.begin(), d.poly.begin() + d.polyCount);
    s.order.insert(s.order.end(), d.quad.begin(), d.quad.begin() + d.quadCount);
    return s;
}

void expectShown(const Shown& want) {
    const Shown now = shown();
    EXPECT_EQ(now.document, want.document);
    EXPECT_TRUE(now.image == want.image);
    EXPECT_TRUE(now.order == want.order);
}

// A launch picture whose colours do not glitter: every scheme but the random one, so that the
// same picture paints the same pixels.
void launch(unsigned seed, int genV, int genE, int genF) {
    settings = Settings{};
    initRandom(seed);
    Settings& s = settings;
    s.genV = genV, s.genE = genE, s.genF = genF;
    finishGen(0);
    s.polyFaceScheme = 1, s.polyEdgeScheme = 2, s.polyVertScheme = 3;
    s.triFaceScheme = 4, s.triEdgeScheme = 1, s.triVertScheme = 2;
}

struct Step {
    const char* name;
    std::function<void()> run;
};

// Steps that enter the chain at every stage. The projection step re-sorts without enumerating,
// so the generator step after it rebuilds tables that undo must rebuild as the earlier
// enumeration made them, under the earlier projection.
const std::vector<Step>& steps() {
    static const std::vector<Step> list = {
        {"turn", [] { translateXY(0.4); }},
        {"move", [] { translateZX(0.3); }},
        {"lengths",
         [] {
             settings.lengthV = 0.7;
             chainSetLength(0);
         }},
        {"edge lengths by the point",
         [] {
             Point& p = specialPoints.polyVEF;
             p = {0.9 * p.x + 0.1 * specialPoints.triVEF.x,
                  0.9 * p.y + 0.1 * specialPoints.triVEF.y, p.z};
             setLengthFromPoint();
             setPolyModules();
         }},
        {"colours", [] { ranAllColor(); }},
        {"projection",
         [] {
             settings.project3D2D = 4;
             chainSetProject3D2D();
         }},
        {"generators",
         [] {
             const int old = settings.gen;
             settings.genF = settings.genF == 7 ? 8 : 7;
             finishGen(old);
         }},
        {"group order",
         [] {
             settings.groupOrder = 350;
             chainSetGroupOrder();
         }},
        {"offset and alpha",
         [] {
             settings.polyFaceOffset = 0.3;
             setOffsetMatrix(kPolyFace);
             settings.triEdgeAlpha = 0.9;
         }},
        {"back to the first projection",
         [] {
             settings.project3D2D = 1;
             chainSetProject3D2D();
         }},
        {"centre", [] { chainCenter(); }},
    };
    return list;
}

TEST(History, UndoAndRedoGiveBackEveryPictureExactly) {
    for (auto [v, e, f] : {std::tuple{2, 3, 5}, {3, 3, 4}, {4, 4, 2}}) {
        SCOPED_TRACE(testing::Message() << v << e << f);
        launch(31, v, e, f);
        History history;
        history.reset();
        std::vector<Shown> seen{shown()};
        for (const Step& step : steps()) {
            step.run();
            ASSERT_TRUE(history.commit()) << step.name;
            seen.push_back(shown());
        }
        for (int i = static_cast<int>(seen.size()) - 2; i >= 0; --i) {
            SCOPED_TRACE(testing::Message() << "undo to before " << steps()[i].name);
            ASSERT_TRUE(history.undo());
            expectShown(seen[i]);
        }
        EXPECT_FALSE(history.undo());
        for (std::size_t i = 1; i < seen.size(); ++i) {
            SCOPED_TRACE(testing::Message() << "redo " << steps()[i - 1].name);
            ASSERT_TRUE(history.redo());
            expectShown(seen[i]);
        }
        EXPECT_FALSE(history.redo());
    }
}

TEST(History, AChangeAfterUndoDropsTheRedoSteps) {
    launch(32, 3, 3, 4);
    History history;
    history.reset();
    translateZX(0.2);
    history.commit();
    translateZY(0.2);
    history.commit();
    ASSERT_TRUE(history.undo());
    EXPECT_EQ(history.redoCount(), 1);
    translateXY(0.5);
    // The new change is committed by the undo that follows it, and it is what undo steps over.
    const Shown changed = shown();
    ASSERT_TRUE(history.undo());
    EXPECT_EQ(history.redoCount(), 1);
    ASSERT_TRUE(history.redo());
    expectShown(changed);
    EXPECT_FALSE(history.redo());
}

TEST(History, NothingChangedMakesNoStep) {
    launch(33, 4, 4, 2);  // the plane: every depth ties, so each re-sort permutes the draw lists
    settings.project3D2D = 0;
    chainView();
    History history;
    history.reset();
    EXPECT_FALSE(history.commit());
    // The panel's own state is no change of the picture.
    settings.tabIndex = 7;
    settings.bright = 0.9;
    EXPECT_FALSE(history.commit());
    // Nor is a re-sort alone; but undo comes back to the order it left.
    setOrder();
    const Shown resorted = shown();
    EXPECT_FALSE(history.commit());
    EXPECT_EQ(history.undoCount(), 0);
    translateZX(0.25);
    ASSERT_TRUE(history.commit());
    ASSERT_TRUE(history.undo());
    expectShown(resorted);
    EXPECT_EQ(settings.tabIndex, 7);  // the panel's state stays as it is
}

TEST(History, TheOldestStepsGoFirstAtTheLimit) {
    launch(34, 2, 3, 5);
    History history;
    history.reset();
    const int extra = 5;
    std::vector<Matrix> views{settings.pointMatrix};
    for (int i = 0; i < History::kMaxSteps + extra; ++i) {
        translateZX(0.01);
        ASSERT_TRUE(history.commit());
        views.push_back(settings.pointMatrix);
    }
    EXPECT_EQ(history.undoCount(), History::kMaxSteps);
    for (int i = 0; i < History::kMaxSteps; ++i) ASSERT_TRUE(history.undo());
    EXPECT_FALSE(history.undo());
    EXPECT_TRUE(settings.pointMatrix == views[extra]);
}

TEST(History, TwoHundredStepsAtGroupOrder2000StayUnder64MB) {
    launch(35, 7, 3, 2);
    settings.groupOrder = 2000;
    chainSetGroupOrder();
    ASSERT_GE(groupTables.matrix.count, 2000);
    History history;
    history.reset();
    // Moving the view keeps the colours: the steps share them.
    for (int i = 0; i < 20; ++i) {
        translateZX(0.01);
        history.commit();
    }
    const std::size_t colourBytes = history.current().colours->size() * sizeof(BColor);
    EXPECT_LT(history.bytes(), 2 * colourBytes + 20 * 64 * 1024);
    // New colours and a new view at every step: the most a step at this order can hold.
    for (int i = 0; i < History::kMaxSteps; ++i) {
        ranAllColor();
        translateZX(0.01);
        history.commit();
    }
    EXPECT_EQ(history.undoCount(), History::kMaxSteps);
    EXPECT_LT(history.bytes(), std::size_t(64) << 20);
    RecordProperty("bytes", std::to_string(history.bytes()));
}

}  // namespace
