#pragma once

#include <QImage>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "geometry/types.h"
#include "widgets/control_model.h"

class DrawLayer;

// The panel's nine drawn controls. None keeps a copy of the value it shows: each holds a pointer
// straight into the setting, writes it in place and then sends its one action (the target and
// the message bound together as a callable that receives the control). Each paints through the
// drawing layer in its own co-ordinates (origin lower left, y upwards) and tracks the left
// button from press to release: press, every drag and the release are handled alike unless the
// control says otherwise.
//
// Every constructor takes the tab page the control sits on, its frame (centre and size in the
// page's 432 × 432 co-ordinates, y upwards), its action and its colour; pointers to settings and
// colours must outlive the control.
class Control : public QWidget {
  public:
    using Action = std::function<void(Control*)>;

    static constexpr int kPageSize = 432;

    Control(QWidget* page, const ControlFrame& frame, Action action, const BColor* color);

    // Delivers the action with this control as sender (nothing when there is none).
    void sendAction();
    const Action& action() const { return _action; }

    // Repaint now, before returning (a hidden control only schedules it).
    void display();

    const ControlFrame& frame() const { return frame_; }
    const BColor* color() const { return _color; }

  protected:
    // Press, drag and release in control co-ordinates.
    virtual void mouseDown(double x, double y);
    virtual void mouseDragged(double x, double y);
    virtual void mouseUp(double x, double y);
    virtual void draw(DrawLayer& layer) = 0;

    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

    float w() const { return float(frame_.w); }
    float h() const { return float(frame_.h); }

    Action _action;
    const BColor* _color;

  private:
    ControlFrame frame_;
    bool tracking_ = false;
    bool blocked_ = false;  // a modal dialog came up while the button was held
};

// A pill bound to a bool: white while the bool is set. A press toggles it; no tracking.
class CCheckbox : public Control {
  public:
    CCheckbox(QWidget* page, const ControlFrame& frame, Action action, const BColor* color,
              bool* selected, std::string text = {});

    bool* setting() const { return _selected; }
    const std::string& text() const { return _textA; }

  protected:
    void mouseDown(double x, double y) override;
    void mouseDragged(double, double) override {}
    void mouseUp(double, double) override {}
    void draw(DrawLayer& layer) override;

  private:
    bool* _selected;
    std::string _textA;
};

// A pill with one or two lines of text, white while held. It sends its action at the press and
// again at every drag event while held, so a held button repeats as the mouse moves.
class CPushButton : public Control {
  public:
    CPushButton(QWidget* page, const ControlFrame& frame, Action action, const BColor* color,
                std::string textA, std::string textB = {});

    bool selected() const { return _selected; }
    void setSelected(bool selected);
    // One line; the second is cleared.
    void setText(std::string textA);
    const std::string& textA() const { return _textA; }
    const std::string& textB() const { return _textB; }

  protected:
    void mouseDown(double x, double y) override;
    void mouseDragged(double x, double y) override;
    void mouseUp(double x, double y) override;
    void draw(DrawLayer& layer) override;

  private:
    bool _selected = false;
    std::string _textA, _textB;
};

// A static label in its own font size (10 at creation); presses pass through to the page.
class CTextField : public Control {
  public:
    CTextField(QWidget* page, const ControlFrame& frame, Action action, const BColor* color,
               std::string textA, std::string textB = {});

    int fontSize() const { return _fontSize; }
    void setFontSize(int size);
    const std::string& textA() const { return _textA; }
    const std::string& textB() const { return _textB; }

  protected:
    void draw(DrawLayer& layer) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    int _fontSize = 10;
    std::string _textA, _textB;
};

// The five-way colour scheme selector: five cells left to right, the chosen one white.
// Dragging across the cells changes the choice live; the action goes out on every change.
class BMenu : public Control {
  public:
    BMenu(QWidget* page, const ControlFrame& frame, Action action, const BColor* color, int* index);

    int* setting() const { return _index; }
    int count() const { return _count; }

  protected:
    void mouseDown(double x, double y) override;
    void mouseDragged(double x, double y) override;
    void mouseUp(double x, double y) override;
    void draw(DrawLayer& layer) override;

  private:
    void track(double x);

    int _count = 5;
    int* _index;
};

// An option list of two to six rows, choice 0 at the top, the chosen one white.
class CMenu : public Control {
  public:
    CMenu(QWidget* page, const ControlFrame& frame, Action action, const BColor* color, int* index,
          std::vector<std::string> texts);

    int* setting() const { return _index; }
    int count() const { return _count; }
    const std::vector<std::string>& texts() const { return _textA; }

  protected:
    void mouseDown(double x, double y) override;
    void mouseDragged(double x, double y) override;
    void mouseUp(double x, double y) override;
    void draw(DrawLayer& layer) override;

  private:
    void track(double y);

    int _count;
    int* _index;
    std::vector<std::string> _textA;
};

// A slider bound to a number setting: caption followed by the value, a white marker at the
// value. The integer (BSlider) and the real (CSlider) kind differ only in the setting's type, the
// value a position gives and how the value is written.
template <class T>
class Slider : public Control {
  public:
    Slider(QWidget* page, const ControlFrame& frame, Action action, const BColor* color,
           std::string text, T* value, T min, T max);

    T* setting() const { return _value; }
    T min() const { return _min; }
    T max() const { return _max; }
    const std::string& text() const { return _textA; }

  protected:
    void mouseDown(double x, double) override { track(x); }
    void mouseDragged(double x, double) override { track(x); }
    void mouseUp(double x, double) override { track(x); }
    void draw(DrawLayer& layer) override;

  private:
    void track(double x);

    T* _value;
    T _min, _max;
    std::string _textA;
};

// Whole numbers: the value is written as it is.
class BSlider : public Slider<int> {
  public:
    using Slider<int>::Slider;
};

// Real numbers: the value is written with two decimals.
class CSlider : public Slider<double> {
  public:
    using Slider<double>::Slider;
};

// An oval in the colour it is bound to. A press sends the action; no highlight, no tracking.
class CColorWell : public Control {
  public:
    CColorWell(QWidget* page, const ControlFrame& frame, Action action, const BColor* color,
               std::string text);

    const std::string& text() const { return _textA; }

  protected:
    void mouseDown(double x, double y) override;
    void mouseDragged(double, double) override {}
    void mouseUp(double, double) override {}
    void draw(DrawLayer& layer) override;

  private:
    std::string _textA;
};

// The hue/saturation/brightness wheel (200 × 200) editing one colour in place. Its sector, hue
// and saturation are process-wide (colorPickerState), its brightness is the setting it is given
// (settings.bright). Every
// press, drag and release writes the colour and sends the action.
class CColorPicker : public Control {
  public:
    // Ends by pointing the picker at color (setColor).
    CColorPicker(QWidget* page, const ControlFrame& frame, Action action, BColor* color,
                 double* bright);

    BColor* color() const { return edited_; }
    // Edits c from now on; the picker's sector, hue, saturation and brightness follow it.
    void setColor(BColor* c);
    // New brightness; the edited colour is rewritten from the model. No repaint.
    void setBright(double v);

    // The wheel at the current brightness: 192 × 192, the square of the wheel's bounding box,
    // transparent outside it. Built when the brightness changes, not on every repaint.
    const QImage& wheelImage();

  protected:
    void mouseDown(double x, double y) override;
    void mouseDragged(double x, double y) override;
    void mouseUp(double x, double y) override;
    void draw(DrawLayer& layer) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void track(double x, double y);

    BColor* edited_;  // the same colour as _color, writable
    double* bright_;
    QImage wheel_;
    double wheelBright_ = -1;
};
