#pragma once

#include <string>
#include <vector>

#include "geometry/types.h"
#include "platform/draw.h"

// How each drawn control paints itself through the drawing layer, in its own co-ordinates
// (origin lower left, y upwards, w × h). Every fill and stroke is opaque; text is black, in the
// system font of size 10 unless a label says otherwise, centred horizontally.

inline constexpr float kControlFontSize = 10;

// Left half-disc about (h/2, h/2) joined to the right half-disc about (w − h/2, h/2), filled.
void drawPill(DrawLayer& layer, float w, float h, const BColor& color);
// One line centred across w with its lower left at y = (h − height)/2 + 1, or two lines at
// (h − height)/2 + 6 and (h − height)/2 − 4 when textB is not empty.
void drawCaption(DrawLayer& layer, float w, float h, const std::string& textA,
                 const std::string& textB = {});

void drawCheckbox(DrawLayer& layer, float w, float h, const BColor& color, bool selected,
                  const std::string& text);
void drawPushButton(DrawLayer& layer, float w, float h, const BColor& color, bool selected,
                    const std::string& textA, const std::string& textB);
// A label in font size fontSize: one line at (h − height)/2 + f/10, two at
// (h − height)/2 + 1 ± f/2 (integer divisions).
void drawTextField(DrawLayer& layer, float w, float h, const BColor& color, int fontSize,
                   const std::string& textA, const std::string& textB);

// The five captions of the scheme selector, schemes 0 to 4.
extern const char* const kSchemeTextA[5];
extern const char* const kSchemeTextB[5];
void drawBMenu(DrawLayer& layer, float w, float h, const BColor& color, int index);
void drawCMenu(DrawLayer& layer, float w, float h, const BColor& color, int index,
               const std::vector<std::string>& texts);

// The caption is text followed by the value; the white marker is one unit wide.
void drawBSlider(DrawLayer& layer, float w, float h, const BColor& color, const std::string& text,
                 int value, int min, int max);
void drawCSlider(DrawLayer& layer, float w, float h, const BColor& color, const std::string& text,
                 double value, double min, double max);

void drawColorWell(DrawLayer& layer, float w, float h, const BColor& color,
                   const std::string& text);
