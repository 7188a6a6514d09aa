#include "widgets/cwindow.h"

#include <QChildEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QScreen>
#include <algorithm>
#include <cmath>
#include <vector>

#include "geometry/kernel.h"
#include "geometry/random.h"
#include "platform/qt_draw.h"
#include "widgets/panel_model.h"

// A clear child of the panel view kept above the tab pages, shaped to the discs and the ring
// band: Qt hands a press to the topmost widget under it, so this shape is what lets the discs
// and the ring win over the pages while every other point reaches the page and its controls.
// It paints nothing and passes its mouse events on to the view.
class PanelHitArea : public QWidget {
  public:
    explicit PanelHitArea(CView* view) : QWidget(view), view_(view) {
        setGeometry(0, 0, CWindow::kSize, CWindow::kSize);
        setAutoFillBackground(false);
        setAttribute(Qt::WA_NoSystemBackground);
    }

  protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton) {
            event->ignore();
            return;
        }
        tracking_ = true;
        view_->mouseDown(event->position(), event->globalPosition());
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (tracking_) view_->mouseDragged(event->position(), event->globalPosition());
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton || !tracking_) return;
        tracking_ = false;
        view_->mouseUp();
    }

  private:
    CView* view_;
    bool tracking_ = false;
};

namespace {

// Panel co-ordinates (y upwards) of a point of the view (y downwards).
PanelPoint panelPoint(const QPointF& p) {
    return {p.x(), kPanelSize - p.y()};
}

// Every pixel whose point (its top-left corner, the point an integer mouse position names)
// the panel takes for itself, as one-pixel-high runs in the order QRegion::setRects wants.
QRegion panelArea(double angle) {
    const DiscCentres discs = discCentres(angle);
    const int size = static_cast<int>(kPanelSize);
    // Inside this radius no disc and no part of the ring can be hit.
    constexpr double kClear = kRingRadius - kDiscRadius;
    std::vector<QRect> runs;
    runs.reserve(4 * size);
    for (int y = 0; y < size; ++y) {
        const double py = kPanelSize - y;
        int start = -1;
        for (int x = 0; x <= size; ++x) {
            bool hit = false;
            if (x < size) {
                const double dx = x - kPanelCentre, dy = py - kPanelCentre;
                hit = dx * dx + dy * dy >= kClear * kClear && panelHit(x, py, discs) >= 0;
            }
            if (hit && start < 0) start = x;
            if (!hit && start >= 0) {
                runs.emplace_back(start, y, x - start, 1);
                start = -1;
            }
        }
    }
    QRegion area;
    area.setRects(runs.data(), static_cast<int>(runs.size()));
    return area;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// CWindow

CWindow::CWindow(QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                         Qt::WindowDoesNotAcceptFocus) {
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAutoFillBackground(false);
    setFixedSize(kSize, kSize);
    setWindowTitle(QStringLiteral("Kaleidra"));
}

void CWindow::setContentView(QWidget* view) {
    if (!view) return;
    view->setParent(this);
    view->setGeometry(0, 0, kSize, kSize);
    view->show();
}

// ---------------------------------------------------------------------------------------------
// CView

CView::CView(int* tabIndex, QWidget* parent) : QWidget(parent), tabIndex_(tabIndex) {
    setFixedSize(CWindow::kSize, CWindow::kSize);
    setAutoFillBackground(false);
    _angle = 2 * PI * ranDouble();
    hitArea_ = new PanelHitArea(this);
    updateHitArea();
}

void CView::setAngle(double angle) {
    _angle = angle;
    updateHitArea();
    update();
}

std::vector<QWidget*> CView::pages() const {
    std::vector<QWidget*> list;
    for (QObject* child : children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget && widget != hitArea_) list.push_back(widget);
    }
    return list;
}

QWidget* CView::ownSelectedPage() const {
    const std::vector<QWidget*> list = pages();
    const int i = *tabIndex_;
    return i >= 0 && i < static_cast<int>(list.size()) ? list[i] : nullptr;
}

void CView::showOwnPage(int index) {
    if (index == *tabIndex_) return;
    const std::vector<QWidget*> list = pages();
    if (index < 0 || index >= static_cast<int>(list.size())) return;
    if (QWidget* shown = ownSelectedPage()) shown->hide();
    *tabIndex_ = index;
    list[index]->show();
}

QWidget* CView::hitTest(const QPointF& p) const {
    const PanelPoint q = panelPoint(p);
    if (panelHit(q.x, q.y, _angle) >= 0) return const_cast<CView*>(this);
    QWidget* page = selectedTab ? selectedTab() : ownSelectedPage();
    if (!page) return nullptr;
    QWidget* control = page->childAt(page->mapFrom(this, p.toPoint()));
    return control ? control : page;
}

void CView::mouseDown(const QPointF& p, const QPointF& global) {
    const PanelPoint q = panelPoint(p);
    const int hit = panelHit(q.x, q.y, _angle);
    if (hit >= 0 && hit < kTabCount) {
        // The page switches at once; moving on while held only turns the ring.
        _selected = hit;
        display();
        if (selectTab)
            selectTab(hit);
        else
            showOwnPage(hit);
        a0_ = ringAngle(q.x, q.y);
    } else if (hit == kRingPressed) {
        _selected = kRingPressed;
        display();
        s0_ = global;
        frame0_ = window()->geometry();
    }
    // Anything else belongs to the shown page, which takes no press of its own.
}

void CView::mouseDragged(const QPointF& p, const QPointF& global) {
    if (_selected >= 0 && _selected < kTabCount) {
        const PanelPoint q = panelPoint(p);
        const double a1 = ringAngle(q.x, q.y);
        _angle += a1 - a0_;
        a0_ = a1;
        updateHitArea();
        display();
    } else if (_selected == kRingPressed) {
        // Screen and window co-ordinates both run downwards here, so the delta applies as it is.
        const QPointF delta = global - s0_;
        QWidget* panel = window();
        QRect frame = frame0_.translated(static_cast<int>(std::lround(delta.x())),
                                         static_cast<int>(std::lround(delta.y())));
        // The disc's centre stays on a screen, so that at least a quarter of the disc remains
        // there to be taken hold of again.
        QScreen* screen = QGuiApplication::screenAt(frame.center());
        if (!screen) screen = panel->screen();
        if (screen) {
            const QRect area = screen->geometry();
            frame.moveCenter(QPoint(std::clamp(frame.center().x(), area.left(), area.right()),
                                    std::clamp(frame.center().y(), area.top(), area.bottom())));
        }
        panel->setGeometry(frame);
    }
}

void CView::mouseUp() {
    if (_selected == -1) return;
    _selected = -1;
    display();
}

void CView::display() {
    if (isVisible())
        repaint();
    else
        update();
}

void CView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QtDrawLayer layer(painter, QRectF(0, 0, kPanelSize, kPanelSize), QRectF(rect()));
    drawPanel(layer, _angle, _selected);
}

void CView::mousePressEvent(QMouseEvent* event) {
    // Presses that no page control took: the page background, or a disc or the ring reached
    // through a page at a fractional position the hit area's pixels round away from.
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    mouseDown(event->position(), event->globalPosition());
    // The page that received the press may be hidden by the tab switch, and its events with it.
    if (_selected != -1) grabMouse();
}

void CView::mouseMoveEvent(QMouseEvent* event) {
    mouseDragged(event->position(), event->globalPosition());
}

void CView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    if (mouseGrabber() == this) releaseMouse();
    mouseUp();
}

void CView::childEvent(QChildEvent* event) {
    QWidget::childEvent(event);
    // Pages added later must stay below the hit area.
    if (hitArea_ && event->child() != hitArea_ &&
        (event->type() == QEvent::ChildAdded || event->type() == QEvent::ChildPolished))
        hitArea_->raise();
}

void CView::updateHitArea() {
    if (hitArea_) hitArea_->setMask(panelArea(_angle));
}
