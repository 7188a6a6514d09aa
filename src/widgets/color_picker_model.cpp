#include "widgets/color_picker_model.h"

#include <algorithm>
#include <cmath>
#include <numbers>

ColorPickerState colorPickerState;

namespace {

constexpr double kPi = std::numbers::pi;

// The angle of (dx, dy) from straight up, clockwise, in sixths of a turn: 0 ≤ a < 6.
double sixths(double dx, double dy) {
    double a = std::atan2(dx, dy) * 3 / kPi;
    if (a < 0) a += 6;
    // A point a hair left of straight up rounds to 6, which is straight up again: sector 0
    // with hue 1 (yellow), not a seventh sector.
    if (a >= 6) a -= 6;
    return a;
}

// Sector and hue of an angle in sixths; the hue runs backwards in even sectors.
void sectorAndHue(double a, int* sector, double* hue) {
    *sector = std::clamp(static_cast<int>(a), 0, 5);
    const double f = a - *sector;
    *hue = *sector % 2 == 0 ? 1 - f : f;
}

}  // namespace

BColor pickerColor(int sector, double hue, double sat, double bright) {
    const double zero = (1 - sat) * bright;  // the component that is 0 in P
    const double part = (1 - sat) * bright + sat * hue;
    const double one = sat + (1 - sat) * bright;
    double r = 0, g = 0, b = 0;
    switch (sector) {
        case 0:
            r = one, g = part, b = zero;
            break;
        case 1:
            r = one, g = zero, b = part;
            break;
        case 2:
            r = part, g = zero, b = one;
            break;
        case 3:
            r = zero, g = part, b = one;
            break;
        case 4:
            r = zero, g = one, b = part;
            break;
        default:
            r = part, g = one, b = zero;
            break;
    }
    return {float(r), float(g), float(b)};
}

void readPickerColor(const BColor& c, double& bright) {
    const double r = c.r, g = c.g, b = c.b;
    if (std::isnan(r) || std::isnan(g) || std::isnan(b)) return;
    ColorPickerState& s = colorPickerState;
    // Later tests win ties, so a grey lands in sector 5.
    if (r >= g && g >= b) s._sector = 0;
    if (r >= b && b >= g) s._sector = 1;
    if (b >= r && r >= g) s._sector = 2;
    if (b >= g && g >= r) s._sector = 3;
    if (g >= b && b >= r) s._sector = 4;
    if (g >= r && r >= b) s._sector = 5;
    const double lo = std::min({r, g, b}), hi = std::max({r, g, b});
    const double mid = r + g + b - lo - hi;
    s._sat = hi - lo;
    if (s._sat != 0) s._hue = (mid - lo) / s._sat;
    if (s._sat != 1) bright = lo / (1 - s._sat);
}

BColor currentPickerColor(double bright) {
    const ColorPickerState& s = colorPickerState;
    return pickerColor(s._sector, s._hue, s._sat, bright);
}

void trackPicker(double dx, double dy) {
    ColorPickerState& s = colorPickerState;
    s._sat = std::min(std::sqrt(dx * dx + dy * dy) / kWheelRadius, 1.0);
    if (s._sat == 0) return;
    sectorAndHue(sixths(dx, dy), &s._sector, &s._hue);
}

PickerMarker pickerMarker() {
    ColorPickerState& s = colorPickerState;
    const int k = s._sector;
    s._colorAngle = (k % 2 == 0 ? k + 1 - s._hue : k + s._hue) * kPi / 3;
    return {kWheelCentre + kWheelRadius * s._sat * std::sin(s._colorAngle),
            kWheelCentre + kWheelRadius * s._sat * std::cos(s._colorAngle)};
}

bool wheelColor(double dx, double dy, double bright, BColor* out) {
    const double d = std::sqrt(dx * dx + dy * dy);
    if (d > kWheelRadius) return false;
    int sector = 0;
    double hue = 0;
    sectorAndHue(sixths(dx, dy), &sector, &hue);
    *out = pickerColor(sector, hue, d / kWheelRadius, bright);
    return true;
}

void drawPickerFrame(DrawLayer& layer, const BColor& color) {
    layer.ovalPath(0, 0, float(kPickerSize), float(kPickerSize));
    layer.setColor(color.r, color.g, color.b, 1);
    layer.fill();
}

void drawPickerMarker(DrawLayer& layer, const BColor& color) {
    const PickerMarker m = pickerMarker();
    layer.ovalPath(float(m.x - 3.5), float(m.y - 3.5), 7, 7);
    layer.setLineWidth(1);
    layer.setColor(1 - color.r, 1 - color.g, 1 - color.b, 1);
    layer.stroke();
}

void drawPickerWheel(DrawLayer& layer, double bright) {
    const int n = static_cast<int>(kWheelRadius);
    for (int j = -n; j < n; ++j) {
        for (int i = -n; i < n; ++i) {
            const double dx = i + 0.5, dy = j + 0.5;
            BColor c;
            if (!wheelColor(dx, dy, bright, &c)) continue;
            layer.rectPath(float(kWheelCentre + i), float(kWheelCentre + j), 1, 1);
            layer.setColor(c.r, c.g, c.b, 1);
            layer.fill();
        }
    }
}
