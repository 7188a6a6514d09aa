#pragma once

#include <string>

#include "geometry/types.h"

// What the panel's drawn controls compute, apart from any toolkit: where a control sits, the
// value a press or drag at a point gives, and how a slider writes its number. The Qt shells in
// widgets/controls.h only forward mouse events here and repaint.
//
// Control co-ordinates have their origin at the control's lower left, y upwards, w × h units.

// The panel's three fixed colours: selected and pressed states, labels and the ring, text.
struct ControlColors {
    static constexpr BColor _white{1, 1, 1};
    static constexpr BColor _gray{0.5f, 0.5f, 0.5f};
    static constexpr BColor _black{0, 0, 0};
};

// A control's place on its tab page (432 × 432, origin lower left, y upwards): centre (x, y) and
// size w × h; the control covers x − w/2 .. x + w/2 and y − h/2 .. y + h/2.
struct ControlFrame {
    double x = 0, y = 0, w = 0, h = 0;
};

// Scheme selector: the cell under x of five equal cells across w, clamped to 0..4.
int bMenuChoice(double x, double w);
// Option list of count rows stacked over h, choice 0 at the top: the row under y, clamped.
int cMenuChoice(double y, double h, int count);
// Integer slider: min + (max − min)·x/(w − 1) rounded half up, clamped to min..max.
int bSliderValue(double x, double w, int min, int max);
// Real slider: min + (max − min)·x/(w − 1), clamped to min..max, not rounded.
double cSliderValue(double x, double w, double min, double max);
// Left edge of a slider's one-unit marker.
double bSliderMarker(int value, double w, int min, int max);
double cSliderMarker(double value, double w, double min, double max);

// A value with one decimal and no leading zero, digits truncated: 2.375 → "2.3", 0.5 → ".5".
std::string value1(double v);
// A value with two decimals and no leading zero, digits truncated; negative values start with
// the en dash: 2.375 → "2.37", 1/12 → ".08", −0.25 → "–.25".
std::string value2(double v);
