#include "widgets/control_drawing.h"

#include "widgets/control_model.h"

namespace {

void setColor(DrawLayer& layer, const BColor& c) {
    layer.setColor(c.r, c.g, c.b, 1);
}

// Text of the given size centred on cx, its lower left at (h − height)/2 + offset.
void drawCentred(DrawLayer& layer, const std::string& text, float cx, float h, float offset,
                 float size) {
    const DrawLayer::TextSize s = layer.measureText(text, size);
    layer.drawText(text, cx - s.width / 2, (h - s.height) / 2 + offset, size);
}

// One line at +1, or two at +6 and −4, centred on cx.
void drawLines(DrawLayer& layer, float cx, float h, const std::string& textA,
               const std::string& textB) {
    setColor(layer, ControlColors::_black);
    if (textB.empty()) {
        if (!textA.empty()) drawCentred(layer, textA, cx, h, 1, kControlFontSize);
        return;
    }
    drawCentred(layer, textA, cx, h, 6, kControlFontSize);
    drawCentred(layer, textB, cx, h, -4, kControlFontSize);
}

void fillRect(DrawLayer& layer, float x, float y, float w, float h, const BColor& color) {
    layer.rectPath(x, y, w, h);
    setColor(layer, color);
    layer.fill();
}

}  // namespace

const char* const kSchemeTextA[5] = {"glitter", "indivi", "class", "rainbow", "rainbow"};
const char* const kSchemeTextB[5] = {"sparkle", "colors", "colors", "high", "low"};

void drawPill(DrawLayer& layer, float w, float h, const BColor& color) {
    const float r = h / 2;
    layer.removeAllPoints();
    layer.arc(r, r, r, 90, 270);
    layer.arc(w - r, r, r, 270, 450);
    layer.closePath();
    setColor(layer, color);
    layer.fill();
}

void drawCaption(DrawLayer& layer, float w, float h, const std::string& textA,
                 const std::string& textB) {
    drawLines(layer, w / 2, h, textA, textB);
}

void drawCheckbox(DrawLayer& layer, float w, float h, const BColor& color, bool selected,
                  const std::string& text) {
    drawPill(layer, w, h, selected ? ControlColors::_white : color);
    drawCaption(layer, w, h, text);
}

void drawPushButton(DrawLayer& layer, float w, float h, const BColor& color, bool selected,
                    const std::string& textA, const std::string& textB) {
    drawPill(layer, w, h, selected ? ControlColors::_white : color);
    drawCaption(layer, w, h, textA, textB);
}

void drawTextField(DrawLayer& layer, float w, float h, const BColor& color, int fontSize,
                   const std::string& textA, const std::string& textB) {
    drawPill(layer, w, h, color);
    setColor(layer, ControlColors::_black);
    const float f = static_cast<float>(fontSize);
    if (textB.empty()) {
        if (!textA.empty()) drawCentred(layer, textA, w / 2, h, float(fontSize / 10), f);
        return;
    }
    drawCentred(layer, textA, w / 2, h, float(1 + fontSize / 2), f);
    drawCentred(layer, textB, w / 2, h, float(1 - fontSize / 2), f);
}

void drawBMenu(DrawLayer& layer, float w, float h, const BColor& color, int index) {
    const float cell = w / 5;
    for (int i = 0; i < 5; ++i) {
        fillRect(layer, i * cell, 0, cell, h, i == index ? ControlColors::_white : color);
        drawLines(layer, (i + 0.5f) * cell, h, kSchemeTextA[i], kSchemeTextB[i]);
    }
}

void drawCMenu(DrawLayer& layer, float w, float h, const BColor& color, int index,
               const std::vector<std::string>& texts) {
    const int n = static_cast<int>(texts.size());
    if (n == 0) return;
    const float row = h / n;
    for (int i = 0; i < n; ++i) {
        fillRect(layer, 0, (n - i - 1) * row, w, row, i == index ? ControlColors::_white : color);
        setColor(layer, ControlColors::_black);
        const DrawLayer::TextSize s = layer.measureText(texts[i], kControlFontSize);
        layer.drawText(texts[i], (w - s.width) / 2, (n - i - 0.5f) * row - s.height / 2 + 1,
                       kControlFontSize);
    }
}

void drawBSlider(DrawLayer& layer, float w, float h, const BColor& color, const std::string& text,
                 int value, int min, int max) {
    fillRect(layer, 0, 0, w, h, color);
    drawCaption(layer, w, h, text + std::to_string(value));
    fillRect(layer, float(bSliderMarker(value, w, min, max)), 0, 1, h, ControlColors::_white);
}

void drawCSlider(DrawLayer& layer, float w, float h, const BColor& color, const std::string& text,
                 double value, double min, double max) {
    fillRect(layer, 0, 0, w, h, color);
    drawCaption(layer, w, h, text + value2(value));
    fillRect(layer, float(cSliderMarker(value, w, min, max)), 0, 1, h, ControlColors::_white);
}

void drawColorWell(DrawLayer& layer, float w, float h, const BColor& color,
                   const std::string& text) {
    layer.ovalPath(0, 0, w, h);
    setColor(layer, color);
    layer.fill();
    drawCaption(layer, w, h, text);
}
