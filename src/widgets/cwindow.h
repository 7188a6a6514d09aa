#pragma once

#include <QPointF>
#include <QRect>
#include <QWidget>
#include <functional>
#include <vector>

class PanelHitArea;

// The control panel window: borderless, translucent, 432 × 432, floating one level above the
// drawing window. It never takes the keyboard focus from the drawing window.
class CWindow : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kSize = 432;

    // owner: the drawing window the panel floats above (its transient parent).
    explicit CWindow(QWidget* owner = nullptr);

    void setContentView(QWidget* view);
};

// The panel view: the content of the panel window, 432 × 432. It paints the ring and the
// fifteen tab discs; the tab pages are its other child views, stacked over it at its origin,
// and only the shown page is visible.
//
// Points are routed as the panel's rules say (widgets/panel_model.h, panelHit): a press on a
// disc or on the ring band comes here, anything else goes to the shown page and its controls.
// A press on a disc shows that tab at once; dragging on after it turns the ring. A press on the
// ring band drags the panel window by the pointer's movement on the screen.
class CView : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kTabCount = 15;

    // tabIndex: where the visible page is kept (settings.tabIndex).
    explicit CView(int* tabIndex, QWidget* parent = nullptr);

    // The controller's tab switching. Until they are set, the view shows and hides its own
    // pages (its child views in creation order) and keeps settings.tabIndex itself.
    std::function<void(int)> selectTab;
    std::function<QWidget*()> selectedTab;

    double angle() const { return _angle; }  // turn of the ring of discs, radians
    void setAngle(double angle);
    // −1 nothing pressed, 0..14 a disc, 15 the ring.
    int selected() const { return _selected; }

    // The tab pages: the child views other than the view's own, in creation order.
    std::vector<QWidget*> pages() const;

    // The view for a point in view co-ordinates (Qt's, y downwards): this view for the discs
    // and the ring band, otherwise the shown page's control under the point, or the page.
    QWidget* hitTest(const QPointF& p) const;

    // The press, drag and release of the panel's own tracking; position in view co-ordinates,
    // global the pointer's screen position. A press that is on neither a disc nor the ring is
    // handed to the shown page, which ignores it.
    void mouseDown(const QPointF& p, const QPointF& global);
    void mouseDragged(const QPointF& p, const QPointF& global);
    void mouseUp();

    // Repaint now, before returning.
    void display();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void childEvent(QChildEvent* event) override;

  private:
    void showOwnPage(int index);
    QWidget* ownSelectedPage() const;
    void updateHitArea();

    int* tabIndex_;
    double _angle = 0;
    int _selected = -1;

    PanelHitArea* hitArea_ = nullptr;  // takes the presses on the discs and the ring
    double a0_ = 0;                    // pointer angle at the last step of a ring turn
    QPointF s0_;                       // pointer's screen position at a window drag's press
    QRect frame0_;                     // window frame at that press
};
