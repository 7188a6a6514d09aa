#pragma once

#include <gtest/gtest.h>

#include <QEvent>
#include <QImage>
#include <QObject>
#include <QPoint>
#include <QTimer>
#include <functional>
#include <initializer_list>
#include <memory>

#include "app/app.h"

// A launched program (drawing window and panel on the offscreen screen, every tab built) for the
// panel tests, with a count of the drawing view's repaints and ways to press its controls.

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
  public:
    explicit PaintCounter(QObject* watched) { watched->installEventFilter(this); }
    int count = 0;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        count += event->type() == QEvent::Paint;
        return false;
    }
};

class PanelTest : public testing::Test {
  protected:
    void SetUp() override;

    // Delivers pending repaints, then starts counting the redraws from zero. A redraw repaints
    // the view at once, so the count after an action is the redraws the action asked for.
    void startCounting();
    int redraws() const { return paints->count; }

    // A left click in the panel window at a point of the control given in its own co-ordinates
    // (origin lower left, y upwards), routed as the platform routes a real click. The control's
    // tab is shown first.
    void click(Control* control, double x, double y) { drag(control, y, {x}); }
    void clickCentre(Control* control);
    // A left-button drag along the control at height y, through the given xs.
    void drag(Control* control, double y, std::initializer_list<double> xs);

    // The tab's page as the panel shows it, and the colour of its pixel at page point (x, y).
    QColor pixelOnTab(int tab, double x, double y);

    // Rebuilds the picture for these generators through the generator action.
    void makePicture(int genV, int genE, int genF, int groupOrder = 200);

    std::unique_ptr<App> app;
    std::unique_ptr<PaintCounter> paints;
};

// Runs handle on the next modal dialog as soon as it is up (inside its exec). The timer goes
// with the returned object: a dialog that never opened leaves nothing behind.
std::unique_ptr<QTimer> whenDialogOpens(std::function<void(QWidget*)> handle);

// The tab page a control sits on.
int tabOf(const App& app, const Control* control);
