#pragma once

#include "geometry/types.h"
#include "platform/draw.h"

// The colour picker's hue/saturation/brightness model.
//
// A colour is sat·P + (1 − sat)·bright·(1, 1, 1), where P is a fully saturated colour on the
// edge of the colour hexagon picked by a sector and a hue h in 0..1:
//   sector 0 (1, h, 0)   1 (1, 0, h)   2 (h, 0, 1)   3 (0, h, 1)   4 (0, 1, h)   5 (h, 1, 0)
// The wheel shows it with yellow straight up and red, magenta, blue (straight down), cyan and
// green following clockwise, grey at the centre; the brightness is set apart (settings.bright).
//
// Picker co-ordinates: the control is 200 × 200, origin lower left, y upwards; the wheel has its
// centre at (100, 100) and radius 96.

// Process-wide: one picker exists. Its brightness is kept apart (the panel keeps it in
// settings.bright).
struct ColorPickerState {
    int _sector = 0;         // 0..5
    double _hue = 0;         // 0..1, position inside the sector
    double _sat = 0;         // 0..1
    double _colorAngle = 0;  // the marker's angle, radians clockwise from straight up
};

extern ColorPickerState colorPickerState;

inline constexpr double kPickerSize = 200;
inline constexpr double kWheelCentre = 100;
inline constexpr double kWheelRadius = 96;

// The model colour of a sector, hue, saturation and brightness.
BColor pickerColor(int sector, double hue, double sat, double bright);

// Sector, saturation and hue of c, and its brightness. A grey keeps the hue (its sector becomes
// 5); a fully saturated colour keeps the brightness.
void readPickerColor(const BColor& c, double& bright);
// The colour of the current sector, hue and saturation at the given brightness.
BColor currentPickerColor(double bright);

// A press or drag at offset (dx, dy) from the wheel's centre: saturation from the distance
// (at most 1); sector and hue from the angle unless the saturation is 0.
void trackPicker(double dx, double dy);

// Sets _colorAngle from the sector and hue and returns the marker's centre.
struct PickerMarker {
    double x = 0, y = 0;
};
PickerMarker pickerMarker();

// The colour of the wheel's unit square centred at offset (dx, dy) from the centre, for the
// given brightness; false when the square lies outside the wheel.
bool wheelColor(double dx, double dy, double bright, BColor* out);

// The oval behind the wheel in the edited colour (it shows as a ring round the wheel).
void drawPickerFrame(DrawLayer& layer, const BColor& color);
// The marker: a circle of diameter 7 stroked in the complement of the edited colour.
void drawPickerMarker(DrawLayer& layer, const BColor& color);
// The wheel square by square (about 29,000 unit squares); the Qt picker paints the same colours
// from a cached image instead.
void drawPickerWheel(DrawLayer& layer, double bright);
