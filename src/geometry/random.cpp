#include "geometry/random.h"

#include <cstdlib>

namespace {

// random() × 2⁻³¹ in single precision; 0 ≤ value ≤ 1 (1 is possible).
float ranFloat() {
    return static_cast<float>(random()) * (1.0f / 2147483648.0f);
}

}  // namespace

double ranDouble() {
    return static_cast<double>(random()) / 2147483647.0;
}

void ranColor(BColor* color) {
    color->r = ranFloat();
    color->g = ranFloat();
    color->b = ranFloat();
}
