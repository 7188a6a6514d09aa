#include "canvas/view.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>

#include "canvas/caption.h"
#include "canvas/frame_painter.h"
#include "render/chain.h"
#include "render/frame.h"
#include "render/model.h"

namespace {

// The model rectangle the frame painter maps onto a surface of this size.
ViewRect boundsFor(const Model& m, const QSize& size) {
    return viewRectFor(size.width(), size.height(), m.settings.windowZoom);
}

}  // namespace

View::View(Model& model, QWidget* parent) : QWidget(parent), model_(model) {
    setCursor(Qt::CrossCursor);
    setMouseTracking(false);
    setFocusPolicy(Qt::StrongFocus);
    // Not opaque: the window behind is clear, so a background alpha below 1 shows the desktop.
    setAutoFillBackground(false);
}

void View::setCaptionShown(bool shown) {
    if (shown == captionShown_) return;
    captionShown_ = shown;
    update();
}

void View::awakeFromNib(unsigned seed) {
    initRandom(model_, seed);
    updateBounds();
    display();
}

void View::updateBounds() {
    QSize size = this->size();
    if (!isVisible() || size.isEmpty()) {
        if (QScreen* screen = QGuiApplication::primaryScreen()) size = screen->geometry().size();
    }
    if (size.isEmpty()) return;
    setWindowZoom(model_, size.width(), size.height());
    update();
}

void View::display() {
    if (isVisible())
        repaint();
    else
        update();
}

QPointF View::modelPoint(const QPointF& widgetPos) const {
    const ViewRect r = boundsFor(model_, size());
    const double w = std::max(1, width()), h = std::max(1, height());
    return {r.x + widgetPos.x() / w * r.width, r.y + (h - widgetPos.y()) / h * r.height};
}

QPointF View::widgetPoint(const QPointF& modelPos) const {
    const ViewRect r = boundsFor(model_, size());
    const double w = std::max(1, width()), h = std::max(1, height());
    return {(modelPos.x() - r.x) / r.width * w, h - (modelPos.y() - r.y) / r.height * h};
}

// The frame is rasterised into an image of the widget's size in device pixels (kept from one
// frame to the next) and composited onto the widget in one go.
void View::paintEvent(QPaintEvent*) {
    if (size().isEmpty()) return;
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (QSizeF(size()) * ratio).toSize();
    if (frame_.size() != pixels) frame_ = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
    frame_.setDevicePixelRatio(1);
    renderFrame(model_, frame_, raster_);
    frame_.setDevicePixelRatio(ratio);
    QPainter painter(this);
    painter.drawImage(QPointF(0, 0), frame_);
    // Over the frame, not in it: the frame is also what prints and exports.
    if (captionShown_) paintCaption(painter, rect(), pictureCaption(model_.settings));
}

void View::handle(MouseEffect effect) {
    switch (effect) {
        case MouseEffect::none:
            break;
        case MouseEffect::redraw:
            update();
            break;
        case MouseEffect::lengths:
            emit lengthChanged();
            update();
            break;
    }
}

void View::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    tracking_ = true;
    const QPointF p = modelPoint(event->position());
    handle(mouseDown(model_, static_cast<float>(p.x()), static_cast<float>(p.y())));
}

void View::mouseMoveEvent(QMouseEvent* event) {
    if (!tracking_ || !(event->buttons() & Qt::LeftButton)) return;
    const QPointF p = modelPoint(event->position());
    handle(mouseDragged(model_, static_cast<float>(p.x()), static_cast<float>(p.y())));
}

void View::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !tracking_) return;
    tracking_ = false;
    mouseUp();
}
