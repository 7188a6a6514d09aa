#include "widgets_support.h"

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
