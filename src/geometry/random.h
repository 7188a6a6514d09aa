#pragma once

#include "geometry/types.h"

// The one random source of the program: the C library's random(), seeded from the clock at launch
// (srandom). Every random choice (generators, lengths, colours, views) draws from it, so a seed
// reproduces a whole launch.

double ranDouble();            // random() / 2147483647; 0 ≤ value ≤ 1
void ranColor(BColor* color);  // r, then g, then b, each random() × 2⁻³¹ as a float
