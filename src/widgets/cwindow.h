#pragma once

#include <QWidget>
#include <array>

// The control panel window: borderless, translucent, 432 × 432, floating one level above the
// drawing window. It never takes the keyboard focus from the drawing window.
class CWindow : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kSize = 432;

    // owner: the drawing window the panel floats above (its transient parent).
    explicit CWindow(QWidget* owner = nullptr);

    void setContentView(QWidget* view);
    QWidget* contentView() const { return content_; }

  private:
    QWidget* content_ = nullptr;
};

// The panel view: the content of the panel window, 432 × 432, with the fifteen tab pages as
// child views stacked at its origin; only the page of settings.tabIndex is shown.
class CView : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kTabCount = 15;

    explicit CView(QWidget* parent = nullptr);

    double angle() const { return angle_; }  // turn of the ring of discs, radians
    int selected() const { return selected_; }

  private:
    double angle_ = 0;
    int selected_ = -1;  // −1 nothing pressed, 0..14 a disc, 15 the ring
};
