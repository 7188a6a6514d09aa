#pragma once

#include <QImage>
#include <QPointF>
#include <QWidget>

#include "canvas/mouse.h"
#include "raster/raster_layer.h"

// The drawing view. Its bounds are the model rectangle rect0 (origin at the centre, y upwards,
// the shorter side spanning −windowZoom..windowZoom), mapped onto the whole widget, so painted
// points and mouse points share model co-ordinates. It paints one frame per repaint and turns
// left-button drags into view motions or new edge lengths (canvas/mouse.h).
class View : public QWidget {
    Q_OBJECT

  public:
    // Shows and edits the picture model, which must outlive the view.
    explicit View(Model& model, QWidget* parent = nullptr);

    // Launch: the random picture (seeded with seed), the bounds, the first frame.
    void awakeFromNib(unsigned seed);

    // rect0 from windowZoom and the size of the drawing surface: the view's own size once it
    // has one, the main screen's before that.
    void updateBounds();
    // Repaint now, before returning.
    void display();

    // The caption naming the tiling in the lower-left corner (canvas/caption.h); shown at first.
    // The I key toggles it.
    bool captionShown() const { return captionShown_; }
    void setCaptionShown(bool shown);
    void toggleCaption() { setCaptionShown(!captionShown_); }

    // Widget position (logical pixels, y downwards) to model co-ordinates.
    QPointF modelPoint(const QPointF& widgetPos) const;
    // Model co-ordinates to the widget position.
    QPointF widgetPoint(const QPointF& modelPos) const;

  signals:
    // The mouse set new edge lengths; the panel refreshes its length sliders.
    void lengthChanged();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

    Model& model() const { return model_; }

  private:
    void handle(MouseEffect effect);
    Model& model_;
    bool tracking_ = false;
    bool captionShown_ = true;
    QImage frame_;        // the last frame, in device pixels
    RasterLayer raster_;  // paints every frame, with its threads
};
