#include "widgets/controls.h"

#include <QColor>
#include <QEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cassert>
#include <cmath>
#include <type_traits>
#include <utility>

#include "platform/qt_draw.h"
#include "widgets/color_picker_model.h"
#include "widgets/control_drawing.h"

namespace {

// The frame on the page in Qt's co-ordinates (y downwards from the page's top).
QRect placement(const ControlFrame& f) {
    const int left = static_cast<int>(std::lround(f.x - f.w / 2));
    const int top = static_cast<int>(std::lround(Control::kPageSize - (f.y + f.h / 2)));
    return {left, top, static_cast<int>(std::lround(f.w)), static_cast<int>(std::lround(f.h))};
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Control

Control::Control(QWidget* page, const ControlFrame& frame, Action action, const BColor* color)
    : QWidget(page), _action(std::move(action)), _color(color), frame_(frame) {
    assert(color);
    setGeometry(placement(frame));
    setAutoFillBackground(false);
    setMouseTracking(false);
    setFocusPolicy(Qt::NoFocus);
}

void Control::sendAction() {
    if (_action) _action(this);
}

void Control::display() {
    if (isVisible())
        repaint();
    else
        update();
}

void Control::mouseDown(double, double) {}
void Control::mouseDragged(double, double) {}
void Control::mouseUp(double, double) {}

void Control::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRectF area(0, 0, frame_.w, frame_.h);
    QtDrawLayer layer(painter, area, QRectF(rect()));
    draw(layer);
}

bool Control::event(QEvent* event) {
    // Qt passes the blocking of the panel window on to its controls.
    if (event->type() == QEvent::WindowBlocked && tracking_) blocked_ = true;
    return QWidget::event(event);
}

void Control::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    tracking_ = true;
    blocked_ = false;
    const QPointF p = event->position();
    mouseDown(p.x(), frame_.h - p.y());
    // An action that ran a modal dialog (open, save, print) lost the release to it: the press
    // ends when the dialog has returned.
    if (blocked_ && tracking_) {
        tracking_ = false;
        blocked_ = false;
        mouseUp(p.x(), frame_.h - p.y());
    }
}

void Control::mouseMoveEvent(QMouseEvent* event) {
    if (!tracking_) return;
    const QPointF p = event->position();
    mouseDragged(p.x(), frame_.h - p.y());
}

void Control::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !tracking_) return;
    tracking_ = false;
    const QPointF p = event->position();
    mouseUp(p.x(), frame_.h - p.y());
}

// ---------------------------------------------------------------------------------------------
// CCheckbox

CCheckbox::CCheckbox(QWidget* page, const ControlFrame& frame, Action action, const BColor* color,
                     bool* selected, std::string text)
    : Control(page, frame, std::move(action), color), _selected(selected), _textA(std::move(text)) {
    assert(selected);
}

void CCheckbox::mouseDown(double, double) {
    *_selected = !*_selected;
    display();
    sendAction();
}

void CCheckbox::draw(DrawLayer& layer) {
    drawCheckbox(layer, w(), h(), *_color, *_selected, _textA);
}

// ---------------------------------------------------------------------------------------------
// CPushButton

CPushButton::CPushButton(QWidget* page, const ControlFrame& frame, Action action,
                         const BColor* color, std::string textA, std::string textB)
    : Control(page, frame, std::move(action), color),
      _textA(std::move(textA)),
      _textB(std::move(textB)) {}

void CPushButton::setSelected(bool selected) {
    _selected = selected;
    display();
}

void CPushButton::setText(std::string textA) {
    _textA = std::move(textA);
    _textB.clear();
    display();
}

void CPushButton::mouseDown(double, double) {
    _selected = true;
    display();
    sendAction();
}

void CPushButton::mouseDragged(double, double) {
    sendAction();
}

void CPushButton::mouseUp(double, double) {
    _selected = false;
    display();
}

void CPushButton::draw(DrawLayer& layer) {
    drawPushButton(layer, w(), h(), *_color, _selected, _textA, _textB);
}

// ---------------------------------------------------------------------------------------------
// CTextField

CTextField::CTextField(QWidget* page, const ControlFrame& frame, Action action, const BColor* color,
                       std::string textA, std::string textB)
    : Control(page, frame, std::move(action), color),
      _textA(std::move(textA)),
      _textB(std::move(textB)) {}

void CTextField::setFontSize(int size) {
    _fontSize = size;
    display();
}

void CTextField::draw(DrawLayer& layer) {
    drawTextField(layer, w(), h(), *_color, _fontSize, _textA, _textB);
}

void CTextField::mousePressEvent(QMouseEvent* event) {
    event->ignore();
}

void CTextField::mouseMoveEvent(QMouseEvent* event) {
    event->ignore();
}

void CTextField::mouseReleaseEvent(QMouseEvent* event) {
    event->ignore();
}

// ---------------------------------------------------------------------------------------------
// BMenu

BMenu::BMenu(QWidget* page, const ControlFrame& frame, Action action, const BColor* color,
             int* index)
    : Control(page, frame, std::move(action), color), _index(index) {
    assert(index);
}

void BMenu::track(double x) {
    const int i = bMenuChoice(x, frame().w);
    if (i == *_index) return;
    *_index = i;
    display();
    sendAction();
}

void BMenu::mouseDown(double x, double) {
    track(x);
}

void BMenu::mouseDragged(double x, double) {
    track(x);
}

void BMenu::mouseUp(double x, double) {
    track(x);
}

void BMenu::draw(DrawLayer& layer) {
    drawBMenu(layer, w(), h(), *_color, *_index);
}

// ---------------------------------------------------------------------------------------------
// CMenu

CMenu::CMenu(QWidget* page, const ControlFrame& frame, Action action, const BColor* color,
             int* index, std::vector<std::string> texts)
    : Control(page, frame, std::move(action), color), _index(index), _textA(std::move(texts)) {
    assert(index);
    assert(_textA.size() >= 2 && _textA.size() <= 6);
    _textA.resize(std::clamp<std::size_t>(_textA.size(), 2, 6));
    _count = static_cast<int>(_textA.size());
}

void CMenu::track(double y) {
    const int i = cMenuChoice(y, frame().h, _count);
    if (i == *_index) return;
    *_index = i;
    display();
    sendAction();
}

void CMenu::mouseDown(double, double y) {
    track(y);
}

void CMenu::mouseDragged(double, double y) {
    track(y);
}

void CMenu::mouseUp(double, double y) {
    track(y);
}

void CMenu::draw(DrawLayer& layer) {
    drawCMenu(layer, w(), h(), *_color, *_index, _textA);
}

// ---------------------------------------------------------------------------------------------
// BSlider, CSlider

template <class T>
Slider<T>::Slider(QWidget* page, const ControlFrame& frame, Action action, const BColor* color,
                  std::string text, T* value, T min, T max)
    : Control(page, frame, std::move(action), color),
      _value(value),
      _min(min),
      _max(max),
      _textA(std::move(text)) {
    assert(value);
    assert(max > min);
}

template <class T>
void Slider<T>::track(double x) {
    T v;
    if constexpr (std::is_same_v<T, int>)
        v = bSliderValue(x, frame().w, _min, _max);
    else
        v = cSliderValue(x, frame().w, _min, _max);
    if (v == *_value) return;
    *_value = v;
    display();
    sendAction();
}

template <class T>
void Slider<T>::draw(DrawLayer& layer) {
    if constexpr (std::is_same_v<T, int>)
        drawBSlider(layer, w(), h(), *_color, _textA, *_value, _min, _max);
    else
        drawCSlider(layer, w(), h(), *_color, _textA, *_value, _min, _max);
}

template class Slider<int>;
template class Slider<double>;

// ---------------------------------------------------------------------------------------------
// CColorWell

CColorWell::CColorWell(QWidget* page, const ControlFrame& frame, Action action, const BColor* color,
                       std::string text)
    : Control(page, frame, std::move(action), color), _textA(std::move(text)) {}

void CColorWell::mouseDown(double, double) {
    sendAction();
}

void CColorWell::draw(DrawLayer& layer) {
    drawColorWell(layer, w(), h(), *_color, _textA);
}

// ---------------------------------------------------------------------------------------------
// CColorPicker

CColorPicker::CColorPicker(QWidget* page, const ControlFrame& frame, Action action, BColor* color,
                           double* bright)
    : Control(page, frame, std::move(action), color), edited_(color), bright_(bright) {
    setColor(color);
}

void CColorPicker::setColor(BColor* c) {
    assert(c);
    edited_ = c;
    _color = c;
    readPickerColor(*c, *bright_);
    update();
}

void CColorPicker::setBright(double v) {
    *bright_ = v;
    *edited_ = currentPickerColor(v);
}

const QImage& CColorPicker::wheelImage() {
    const double bright = *bright_;
    if (!wheel_.isNull() && wheelBright_ == bright) return wheel_;
    // Pixel (i, j) is the unit square whose centre lies at (i − 95.5, 95.5 − j) from the wheel's
    // centre, as the rows of an image run downwards.
    const int n = static_cast<int>(2 * kWheelRadius);
    wheel_ = QImage(n, n, QImage::Format_ARGB32_Premultiplied);
    wheel_.fill(Qt::transparent);
    for (int j = 0; j < n; ++j) {
        auto* row = reinterpret_cast<QRgb*>(wheel_.scanLine(j));
        for (int i = 0; i < n; ++i) {
            BColor c;
            if (wheelColor(i + 0.5 - kWheelRadius, kWheelRadius - j - 0.5, bright, &c))
                row[i] = QColor::fromRgbF(c.r, c.g, c.b).rgba();
        }
    }
    wheelBright_ = bright;
    return wheel_;
}

void CColorPicker::track(double x, double y) {
    trackPicker(x - kWheelCentre, y - kWheelCentre);
    setBright(*bright_);
    display();
    sendAction();
}

void CColorPicker::mouseDown(double x, double y) {
    track(x, y);
}

void CColorPicker::mouseDragged(double x, double y) {
    track(x, y);
}

void CColorPicker::mouseUp(double x, double y) {
    track(x, y);
}

void CColorPicker::draw(DrawLayer& layer) {
    drawPickerFrame(layer, *edited_);
    drawPickerWheel(layer, *bright_);
    drawPickerMarker(layer, *edited_);
}

void CColorPicker::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRectF area(0, 0, frame().w, frame().h);
    {
        QtDrawLayer layer(painter, area, QRectF(rect()));
        drawPickerFrame(layer, *edited_);
    }
    // The wheel's bounding square, (4, 4) to (196, 196) in control units, from the top left.
    const double corner = kWheelCentre - kWheelRadius;
    const double sx = width() / frame().w, sy = height() / frame().h;
    const QRectF target(corner * sx, (frame().h - kWheelCentre - kWheelRadius) * sy,
                        2 * kWheelRadius * sx, 2 * kWheelRadius * sy);
    painter.drawImage(target, wheelImage());
    QtDrawLayer layer(painter, area, QRectF(rect()));
    drawPickerMarker(layer, *edited_);
}
