#pragma once

#include <QWidget>

class QScreen;

// The drawing window: borderless, not opaque, with a clear background, so that a background
// alpha below 1 lets the desktop show through. It covers the whole frame of the main screen and
// holds one content view that fills it.
class Window : public QWidget {
    Q_OBJECT

  public:
    explicit Window(QWidget* parent = nullptr);

    // The content view, resized with the window.
    void setContentView(QWidget* view);

    // The whole frame of the screen (the main screen when none is given).
    void fitToScreen(QScreen* screen = nullptr);

  signals:
    // The window became the active window; the panel is raised above it again.
    void activated();
    // The window's size changed (the delegate's windowDidResize).
    void resized();
    // The window left the minimised state; the panel hidden with it comes back.
    void restored();

  protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    QWidget* content_ = nullptr;
};
