#pragma once

#include <QImage>
#include <QWidget>

#include "geometry/types.h"

// Pictures for the panel tests.

// The widget and its children painted over a transparent image of its size.
QImage snapshot(QWidget* widget);

// The colour at the pixel is c, each channel within tol of 255 × c.
bool looksLike(const QImage& image, int x, int y, const BColor& c, int tol = 2);
