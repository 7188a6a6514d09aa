#include "widgets_support.h"

#include <QApplication>
#include <QMouseEvent>
#include <cmath>
#include <cstdlib>

QImage snapshot(QWidget* widget) {
    QImage image(widget->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    widget->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

bool looksLike(const QImage& image, int x, int y, const BColor& c, int tol) {
    const QColor p = image.pixelColor(x, y);
    return p.alpha() == 255 && std::abs(p.red() - int(std::lround(255 * c.r))) <= tol &&
           std::abs(p.green() - int(std::lround(255 * c.g))) <= tol &&
           std::abs(p.blue() - int(std::lround(255 * c.b))) <= tol;
}

void sendMouse(QWidget* widget, QEvent::Type type, const QPointF& pos) {
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(Qt::LeftButton);
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, pos, widget->mapToGlobal(pos), button, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}
