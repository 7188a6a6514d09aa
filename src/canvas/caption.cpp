#include "canvas/caption.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainterPath>

#include "geometry/settings.h"

namespace {

// Sizes in logical pixels. The text is the panel's font, at a size that reads across the room
// on a full-screen picture.
constexpr qreal kTextPixels = 15;
constexpr qreal kMargin = 12;  // from the window's edges to the plate
constexpr qreal kPadding = 7;  // from the plate's edge to the text
constexpr qreal kRadius = 6;

QFont captionFont() {
    QFont font;
    font.setFamilies({QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(int(kTextPixels));
    return font;
}

}  // namespace

Description describePicture(const Settings& settings) {
    if (settings.snubForm) {
        return describeSnub(settings.genV, settings.genE, settings.genF, settings.lengthV,
                            settings.lengthE, settings.lengthF);
    }
    return describeTiling(settings.genV, settings.genE, settings.genF, settings.lengthV,
                          settings.lengthE, settings.lengthF);
}

QString pictureCaption(const Settings& s) {
    return QString::fromStdString(captionText(describePicture(s)));
}

void paintCaption(QPainter& painter, const QRectF& area, const QString& full) {
    if (full.isEmpty() || area.isEmpty()) return;
    const QFont font = captionFont();
    const QFontMetricsF metrics(font, painter.device());
    // A window too narrow for the whole line shows its beginning and an ellipsis.
    const qreal room = area.width() - 2 * (kMargin + kPadding);
    if (room <= 0) return;
    const QString text = metrics.elidedText(full, Qt::ElideRight, room);
    const qreal textWidth = metrics.horizontalAdvance(text);
    const QRectF plate(area.left() + kMargin,
                       area.bottom() - kMargin - metrics.height() - 2 * kPadding,
                       textWidth + 2 * kPadding, metrics.height() + 2 * kPadding);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    // White on a dark plate at two thirds: dark pictures barely see the plate, light ones get
    // the contrast from it.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 168));
    painter.drawRoundedRect(plate, kRadius, kRadius);
    painter.setFont(font);
    painter.setPen(QColor(255, 255, 255));
    painter.drawText(
        QPointF(plate.left() + kPadding, plate.bottom() - kPadding - metrics.descent()), text);
    painter.restore();
}
