#pragma once

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>
#include <QTransform>

#include "platform/draw.h"

// The drawing layer over QPainter, for any device a painter can open: a widget, a QImage, a
// QPdfWriter, a QSvgGenerator, a QPrinter.
//
// The caller's model rectangle (x, y, width, height; y upwards) is mapped onto a rectangle of the
// painter's co-ordinates (y downwards), so line widths and text sizes are given in model units.
// Strokes use flat caps and miter joins with a miter limit of ten line widths; antialiasing is
// on; the one shared path is filled with the non-zero winding rule. Points that are not finite
// are dropped, never handed to Qt.
class QtDrawLayer : public DrawLayer {
  public:
    // The painter must be active; its transform at this moment is kept under the model mapping.
    QtDrawLayer(QPainter& painter, const QRectF& modelRect, const QRectF& deviceRect);
    ~QtDrawLayer() override;

    void removeAllPoints() override;
    void moveTo(float x, float y) override;
    void lineTo(float x, float y) override;
    void arc(float cx, float cy, float radius, float startDeg, float endDeg) override;
    void closePath() override;
    void ovalPath(float x, float y, float w, float h) override;
    void rectPath(float x, float y, float w, float h) override;
    void setLineWidth(float width) override;
    // What a join does whose miter would pass the limit: by default Qt's own miter join runs out
    // to the limit, so that a line folding back on itself grows a spike ten widths long; with
    // this on it is bevelled instead, as PostScript, PDF, SVG and the raster layer do. The
    // picture strokes with it on.
    void setBevelPastMiterLimit(bool on) { bevelPastLimit_ = on; }
    void fill() override;
    void stroke() override;
    bool contains(float x, float y) const override;
    void setColor(float r, float g, float b, float alpha) override;
    TextSize measureText(const std::string& text, float size) const override;
    void drawText(const std::string& text, float x, float y, float size) override;

    // The model-to-painter mapping (without the painter's own earlier transform).
    const QPainterPath& path() const { return path_; }

  private:
    QFont fontFor(float size) const;

    QPainter& painter_;
    QTransform base_;
    QTransform toDevice_;
    QPainterPath path_;
    bool started_ = false;  // a cleared QPainterPath still holds a move to its origin
    QColor color_{Qt::black};
    qreal lineWidth_ = 1;
    bool bevelPastLimit_ = false;
    bool savedAntialiasing_ = false;
};
