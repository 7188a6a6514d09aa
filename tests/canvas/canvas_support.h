#pragma once

// Pictures for the canvas tests, built by the generation chain from fixed settings.

// Default settings, then the triangle (p, q, r) with the given proportions, enumerated and
// assembled; the view matrices are the identity.
void makePicture(int p, int q, int r, double lengthV = 1.0 / 3, double lengthE = 1.0 / 3,
                 double lengthF = 1.0 / 3);
