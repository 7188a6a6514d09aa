#pragma once

#include "geometry/types.h"

// The one random source of the program: the C library's random(), seeded from the clock at launch
// (srandom). Every random choice (generators, lengths, colours, views) draws from it, so a seed
// reproduces a whole launch.

float ranFloat();     // random() × 2⁻³¹ in single precision; 0 ≤ value ≤ 1 (1 is possible)
double ranDouble();   // random() / 2147483647; 0 ≤ value ≤ 1
bool ranBoolean();    // true when random() < 2³⁰
void ranColor(BColor* color);  // r, then g, then b, each ranFloat()
