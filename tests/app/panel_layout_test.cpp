// The panel's pages as a person sees and uses them: every control inside the ring, none over
// another, every caption within its control; every check box, menu and slider working its own
// setting and no other.

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cmath>
#include <string>
#include <vector>

#include "app/app.h"
#include "geometry/settings.h"
#include "panel_support.h"
#include "platform/qt_draw.h"
#include "test_model.h"
#include "widgets/control_drawing.h"
#include "widgets/controls.h"
#include "widgets/panel_model.h"

namespace {

using PanelLayout = PanelTest;

std::vector<Control*> controlsOn(const App& app, int tab) {
    std::vector<Control*> out;
    for (QObject* child : app.tab(tab)->children())
        if (auto* c = dynamic_cast<Control*>(child)) out.push_back(c);
    return out;
}

template <class T>
std::vector<T*> all(const App& app) {
    std::vector<T*> out;
    for (int t = 0; t < 15; ++t)
        for (Control* c : controlsOn(app, t))
            if (auto* x = dynamic_cast<T*>(c)) out.push_back(x);
    return out;
}

// The lines a control shows, each with its font size.
std::vector<std::pair<std::string, float>> captions(Control* c) {
    if (auto* b = dynamic_cast<CPushButton*>(c)) return {{b->textA(), 10}, {b->textB(), 10}};
    if (auto* b = dynamic_cast<CCheckbox*>(c)) return {{b->text(), 10}};
    if (auto* l = dynamic_cast<CTextField*>(c))
        return {{l->textA(), float(l->fontSize())}, {l->textB(), float(l->fontSize())}};
    if (auto* w = dynamic_cast<CColorWell*>(c)) return {{w->text(), 10}};
    std::vector<std::pair<std::string, float>> out;
    if (auto* m = dynamic_cast<CMenu*>(c))
        for (const std::string& t : m->texts()) out.push_back({t, 10});
    if (dynamic_cast<BMenu*>(c))
        for (int i = 0; i < 5; ++i) out.push_back({kSchemeTextA[i], 10});
    return out;
}

TEST_F(PanelLayout, ControlsLieInsideTheRingApartWithTheirCaptionsInside) {
    QImage image(10, 10, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    QtDrawLayer measure(painter, QRectF(0, 0, 10, 10), QRectF(0, 0, 10, 10));
    int controls = 0;
    for (int t = 0; t < 15; ++t) {
        const std::vector<Control*> page = controlsOn(*app, t);
        EXPECT_FALSE(page.empty()) << "tab " << t;
        for (size_t i = 0; i < page.size(); ++i) {
            ++controls;
            const ControlFrame& f = page[i]->frame();
            SCOPED_TRACE(testing::Message() << "tab " << t << " control at " << f.x << "," << f.y);
            for (double dx : {-f.w / 2, f.w / 2}) {
                for (double dy : {-f.h / 2, f.h / 2})
                    EXPECT_LT(std::hypot(f.x + dx - 216, f.y + dy - 216), kRingInner);
            }
            // The page shows the control where its frame says, rows running down from the top.
            EXPECT_EQ(page[i]->geometry(),
                      QRect(int(f.x - f.w / 2), int(432 - f.y - f.h / 2), int(f.w), int(f.h)));
            for (size_t j = 0; j < i; ++j) {
                const ControlFrame& g = page[j]->frame();
                const bool apart = std::fabs(f.x - g.x) >= (f.w + g.w) / 2 ||
                                   std::fabs(f.y - g.y) >= (f.h + g.h) / 2;
                EXPECT_TRUE(apart) << "over the control at " << g.x << "," << g.y;
            }
            for (const auto& [text, size] : captions(page[i])) {
                if (text.empty()) continue;
                const float room = dynamic_cast<CCheckbox*>(page[i]) ? f.w - f.h : f.w;
                EXPECT_LE(measure.measureText(text, size).width, room) << text;
            }
        }
    }
    EXPECT_GT(controls, 200);
}

TEST_F(PanelLayout, EveryCheckBoxTogglesItsOwnSwitchAndNoOther) {
    const std::vector<CCheckbox*> boxes = all<CCheckbox>(*app);
    EXPECT_EQ(boxes.size(), 47u);
    for (CCheckbox* box : boxes) {
        SCOPED_TRACE(box->text());
        std::vector<bool> before;
        for (CCheckbox* b : boxes) before.push_back(*b->setting());
        clickCentre(box);
        for (size_t i = 0; i < boxes.size(); ++i) {
            const bool own = boxes[i]->setting() == box->setting();
            EXPECT_EQ(*boxes[i]->setting(), own ? !before[i] : bool(before[i])) << i;
        }
        clickCentre(box);
        EXPECT_TRUE(*box->setting());
    }
}

TEST_F(PanelLayout, EveryMenuAndSliderSetsItsOwnSettingAcrossItsRange) {
    std::vector<int*> schemes;
    for (BMenu* m : all<BMenu>(*app)) schemes.push_back(m->setting());
    ASSERT_EQ(schemes.size(), 6u);
    for (BMenu* menu : all<BMenu>(*app)) {
        for (int* s : schemes) *s = 2;
        click(menu, menu->frame().w - 10, 10);  // the last cell, then the first
        for (int* s : schemes) EXPECT_EQ(*s, s == menu->setting() ? 4 : 2);
        click(menu, 10, 10);
        EXPECT_EQ(*menu->setting(), 0);
    }
    for (CMenu* menu : all<CMenu>(*app)) {
        SCOPED_TRACE(menu->texts().front());
        const int last = menu->count() - 1;
        click(menu, menu->frame().w / 2, 2);  // rows run down from the first
        EXPECT_EQ(*menu->setting(), last);
        click(menu, menu->frame().w / 2, menu->frame().h - 2);
        EXPECT_EQ(*menu->setting(), 0);
    }
    for (BSlider* s : all<BSlider>(*app)) {
        if (s->setting() == &model.settings.groupOrder) continue;  // its far end is a slow picture
        SCOPED_TRACE(s->text());
        click(s, s->frame().w - 1, 6);
        EXPECT_EQ(*s->setting(), s->max());
        click(s, 0, 6);
        EXPECT_EQ(*s->setting(), s->min());
    }
    for (CSlider* s : all<CSlider>(*app)) {
        SCOPED_TRACE(s->text());
        click(s, s->frame().w - 1, 6);
        EXPECT_EQ(*s->setting(), s->max());
        click(s, 0, 6);
        EXPECT_EQ(*s->setting(), s->min());
    }
}

// A family switch has three check boxes (tabs 6, 11 or 12, and 13); the circle, origin and
// window switches two (tabs 6 and 13). Whichever is pressed, all show the same state.
TEST_F(PanelLayout, CheckBoxesOfOneSwitchAlwaysShowOneState) {
    const std::vector<CCheckbox*> boxes = all<CCheckbox>(*app);
    const QColor white(255, 255, 255);
    for (bool* setting :
         {&model.settings.polyEdgeDraw, &model.settings.triVertDraw, &model.settings.windowDraw}) {
        std::vector<CCheckbox*> twins;
        for (CCheckbox* b : boxes)
            if (b->setting() == setting) twins.push_back(b);
        EXPECT_GE(twins.size(), 2u);
        for (CCheckbox* pressed : twins) {
            clickCentre(pressed);
            for (CCheckbox* box : twins) {
                const int tab = tabOf(*app, box);
                const BColor& c = tabTable._c[tab];
                // A point inside the pill's left end, clear of any text.
                const ControlFrame& f = box->frame();
                const QColor seen = pixelOnTab(tab, f.x - f.w / 2 + f.h / 2, f.y);
                EXPECT_EQ(seen.rgb(), (*setting ? white : QColor::fromRgbF(c.r, c.g, c.b)).rgb())
                    << "tab " << tab << " after pressing the box on tab " << tabOf(*app, pressed);
            }
        }
    }
}

}  // namespace
