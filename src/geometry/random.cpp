#include "geometry/random.h"

#include <cstdlib>

float ranFloat() { return static_cast<float>(random()) * (1.0f / 2147483648.0f); }

double ranDouble() { return static_cast<double>(random()) / 2147483647.0; }

bool ranBoolean() { return random() < (1L << 30); }

void ranColor(BColor* color) {
    color->r = ranFloat();
    color->g = ranFloat();
    color->b = ranFloat();
}
