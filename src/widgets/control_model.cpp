#include "widgets/control_model.h"

#include <cmath>
#include <cstdio>

namespace {

// The integer part of t (truncated towards zero) held in lo..hi; NaN gives lo. Clamping happens
// in double so that a point far outside the control never overflows an int.
int clampedIntegerPart(double t, int lo, int hi) {
    if (!(t > lo)) return lo;
    if (t >= hi) return hi;
    return static_cast<int>(std::trunc(t));
}

double clamped(double v, double lo, double hi) {
    if (!(v > lo)) return lo;
    return v < hi ? v : hi;
}

// The last decimal digit of the integer part of t ≥ 0.
char lastDigit(double t) {
    return static_cast<char>('0' + static_cast<int>(std::fmod(std::trunc(t), 10.0)));
}

}  // namespace

int bMenuChoice(double x, double w) {
    return w > 0 ? clampedIntegerPart(5 * x / w, 0, 4) : 0;
}

int cMenuChoice(double y, double h, int count) {
    if (count < 1 || !(h > 0)) return 0;
    // Rows count from the top; a point below the control reads as row count, above it as −1
    // or less, both clamped into the list.
    const double row = std::trunc(count * y / h);
    return clampedIntegerPart(count - row - 1, 0, count - 1);
}

int bSliderValue(double x, double w, int min, int max) {
    if (max <= min || !(w > 1)) return min;
    const double v = min + (max - min) * x / (w - 1);
    return clampedIntegerPart(v + 0.5, min, max);
}

double cSliderValue(double x, double w, double min, double max) {
    if (!(max > min) || !(w > 1)) return min;
    return clamped(min + (max - min) * x / (w - 1), min, max);
}

double bSliderMarker(int value, double w, int min, int max) {
    return max != min ? double(value - min) * (w - 1) / (max - min) : 0;
}

double cSliderMarker(double value, double w, double min, double max) {
    return max != min ? (w - 1) * (value - min) / (max - min) : 0;
}

std::string value1(double v) {
    if (!std::isfinite(v)) return std::isnan(v) ? "nan" : (v > 0 ? "inf" : "–inf");
    std::string text;
    if (v >= 1) {
        char integer[320];
        std::snprintf(integer, sizeof integer, "%.0f", std::trunc(v));
        text = integer;
    }
    text += '.';
    text += lastDigit(10 * std::fabs(v));
    return text;
}

std::string value2(double v) {
    if (v < 0) return "–" + value2(-v);
    if (!std::isfinite(v)) return value1(v);
    return value1(v) + lastDigit(100 * v);
}
