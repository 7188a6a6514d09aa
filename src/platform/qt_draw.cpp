#include "platform/qt_draw.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPen>
#include <QString>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

bool finite(float a, float b) {
    return std::isfinite(a) && std::isfinite(b);
}

// NaN becomes 0; everything else is held in 0..1.
float unit(float v) {
    return v > 0 ? (v < 1 ? v : 1) : 0;
}

}  // namespace

QtDrawLayer::QtDrawLayer(QPainter& painter, const QRectF& modelRect, const QRectF& deviceRect)
    : painter_(painter), base_(painter.transform()) {
    // x: model left edge to device left edge; y: model top edge (y + height) to device top.
    const qreal sx = modelRect.width() != 0 ? deviceRect.width() / modelRect.width() : 1;
    const qreal sy = modelRect.height() != 0 ? deviceRect.height() / modelRect.height() : 1;
    toDevice_ = QTransform(sx, 0, 0, -sy, deviceRect.left() - modelRect.left() * sx,
                           deviceRect.top() + (modelRect.top() + modelRect.height()) * sy);
    savedAntialiasing_ = painter_.testRenderHint(QPainter::Antialiasing);
    painter_.setRenderHint(QPainter::Antialiasing, true);
    painter_.setTransform(toDevice_ * base_);
    path_.setFillRule(Qt::WindingFill);
}

QtDrawLayer::~QtDrawLayer() {
    painter_.setTransform(base_);
    painter_.setRenderHint(QPainter::Antialiasing, savedAntialiasing_);
}

void QtDrawLayer::removeAllPoints() {
    path_.clear();
    started_ = false;
    path_.setFillRule(Qt::WindingFill);
}

void QtDrawLayer::moveTo(float x, float y) {
    if (!finite(x, y)) return;
    path_.moveTo(x, y);
    started_ = true;
}

void QtDrawLayer::lineTo(float x, float y) {
    if (!finite(x, y)) return;
    // Like a move when nothing has been drawn yet (Qt would start from its origin).
    if (!started_) path_.moveTo(x, y);
    path_.lineTo(x, y);
    started_ = true;
}

void QtDrawLayer::arc(float cx, float cy, float radius, float startDeg, float endDeg) {
    if (!finite(cx, cy) || !finite(radius, startDeg) || !std::isfinite(endDeg)) return;
    qreal sweep = 0;
    if (startDeg != endDeg) {
        sweep = std::fmod(qreal(endDeg) - startDeg, 360.0);
        if (sweep <= 0) sweep += 360;
    }
    const qreal a = qreal(startDeg) * std::numbers::pi / 180;
    const QPointF start(cx + radius * std::cos(a), cy + radius * std::sin(a));
    if (!started_) path_.moveTo(start);
    started_ = true;
    // Qt measures angles for a y-down device; in these y-up co-ordinates they run clockwise.
    const QRectF box(cx - radius, cy - radius, 2 * radius, 2 * radius);
    path_.arcTo(box, -startDeg, -sweep);
}

void QtDrawLayer::closePath() {
    path_.closeSubpath();
}

void QtDrawLayer::ovalPath(float x, float y, float w, float h) {
    removeAllPoints();
    if (!finite(x, y) || !finite(w, h)) return;
    path_.addEllipse(QRectF(x, y, w, h));
    started_ = true;
}

void QtDrawLayer::rectPath(float x, float y, float w, float h) {
    removeAllPoints();
    if (!finite(x, y) || !finite(w, h)) return;
    path_.addRect(QRectF(x, y, w, h));
    started_ = true;
}

void QtDrawLayer::setLineWidth(float width) {
    lineWidth_ = width > 0 ? width : 0;
}

void QtDrawLayer::fill() {
    if (!path_.isEmpty()) painter_.fillPath(path_, color_);
}

void QtDrawLayer::stroke() {
    if (path_.isEmpty()) return;
    QPen pen(color_, lineWidth_, Qt::SolidLine, Qt::FlatCap,
             bevelPastLimit_ ? Qt::SvgMiterJoin : Qt::MiterJoin);
    pen.setMiterLimit(10);
    painter_.strokePath(path_, pen);
}

bool QtDrawLayer::contains(float x, float y) const {
    return finite(x, y) && path_.contains(QPointF(x, y));
}

void QtDrawLayer::setColor(float r, float g, float b, float alpha) {
    color_ = QColor::fromRgbF(unit(r), unit(g), unit(b), unit(alpha));
}

QFont QtDrawLayer::fontFor(float size) const {
    // Sizes are model units; a point size for the device's resolution gives fractional pixels.
    // The panel's captions were laid out for a narrow system font: DejaVu Sans Condensed at nine
    // tenths of the size fills the same cells without spilling or losing accents at the top.
    const qreal pixels = std::fabs(size * toDevice_.m22()) * 0.9;
    QFont font;
    font.setFamilies({QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("DejaVu Sans")});
    const int dpi = painter_.device() ? painter_.device()->logicalDpiY() : 96;
    font.setPointSizeF(std::max<qreal>(pixels, 0.01) * 72.0 / (dpi > 0 ? dpi : 96));
    return font;
}

DrawLayer::TextSize QtDrawLayer::measureText(const std::string& text, float size) const {
    const qreal scale = std::fabs(toDevice_.m22());
    if (scale == 0 || !std::isfinite(size)) return {};
    const QFontMetricsF metrics(fontFor(size), painter_.device());
    const QString s = QString::fromUtf8(text.data(), qsizetype(text.size()));
    return {float(metrics.horizontalAdvance(s) / scale), float(metrics.height() / scale)};
}

void QtDrawLayer::drawText(const std::string& text, float x, float y, float size) {
    if (!finite(x, y) || !std::isfinite(size)) return;
    const QFont font = fontFor(size);
    const QFontMetricsF metrics(font, painter_.device());
    const QPointF lowerLeft = toDevice_.map(QPointF(x, y));
    painter_.save();
    painter_.setTransform(base_);
    painter_.setFont(font);
    painter_.setPen(color_);
    painter_.drawText(QPointF(lowerLeft.x(), lowerLeft.y() - metrics.descent()),
                      QString::fromUtf8(text.data(), qsizetype(text.size())));
    painter_.restore();
}
