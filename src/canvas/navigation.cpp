#include "canvas/navigation.h"

#include <cmath>
#include <cstdlib>

#include "geometry/kernel.h"
#include "geometry/random.h"
#include "geometry/settings.h"
#include "render/depth_order.h"

namespace {

// Rows as written; sign −1 for the mirrors.
constexpr Matrix kReflectX{-1, -1, 0, 0, 0, 1, 0, 0, 0, 1};
constexpr Matrix kReflectY{-1, 1, 0, 0, 0, -1, 0, 0, 0, 1};
constexpr Matrix kReflectZ{-1, 1, 0, 0, 0, 1, 0, 0, 0, -1};

// The motion along one axis pair (a = x or y) towards +a (forward) or back: a rotation of the
// sphere, a shift of the plane, a boost of the hyperboloid.
Matrix axisMotion(bool alongY, bool forward, double theta) {
    double c, s;
    const int g = settings.gen;
    if (g < 0) {
        c = std::cos(theta), s = std::sin(theta);
    } else if (g == 0) {
        c = 1, s = theta;
    } else {
        c = std::cosh(theta), s = std::sinh(theta);
    }
    if (!forward) s = -s;
    // Row of the axis: (…, c, s) against z; row of z: (−s, c) on the sphere, (0, 1) on the
    // plane, (s, c) on the hyperboloid.
    const double zc = g == 0 ? 1 : c;
    const double zs = g < 0 ? -s : (g == 0 ? 0 : s);
    if (!alongY) return {1, c, 0, s, 0, 1, 0, zs, 0, zc};
    return {1, 1, 0, 0, 0, c, s, 0, zs, zc};
}

Matrix turn(double theta, bool xTowardsY) {
    const double c = std::cos(theta), s = std::sin(theta);
    if (xTowardsY) return {1, c, -s, 0, s, c, 0, 0, 0, 1};
    return {1, c, s, 0, -s, c, 0, 0, 0, 1};
}

}  // namespace

void applyViewStep(const Matrix& T) {
    Matrix Tinv, out;
    inv(Tinv, T);
    if (settings.mousePoints) {
        dotM(out, T, settings.pointMatrix);
        settings.pointMatrix = out;
    }
    if (settings.mouseColors) {
        dotM(out, settings.colorMatrix, Tinv);
        settings.colorMatrix = out;
    }
}

Matrix translateXYMatrix(double theta) {
    return turn(theta, true);
}
Matrix translateYXMatrix(double theta) {
    return turn(theta, false);
}
Matrix translateZXMatrix(double theta) {
    return axisMotion(false, true, theta);
}
Matrix translateXZMatrix(double theta) {
    return axisMotion(false, false, theta);
}
Matrix translateZYMatrix(double theta) {
    return axisMotion(true, true, theta);
}
Matrix translateYZMatrix(double theta) {
    return axisMotion(true, false, theta);
}

void identityMatrix() {
    settings.pointMatrix = identity;
    settings.colorMatrix = identity;
    setOrder();
}

void ranMatrix() {
    settings.pointMatrix = identity;
    settings.colorMatrix = identity;
    for (int step = 0; step < 9; ++step) {
        const long k = random() % 9;
        double a = ranDouble() * PI;
        if (settings.gen < 0) a *= 2;
        if (settings.gen > 0) a *= 0.5;
        switch (k) {
            case 0:
                applyViewStep(kReflectX);
                break;
            case 1:
                applyViewStep(translateYXMatrix(a));
                break;
            case 2:
                applyViewStep(translateZXMatrix(a));
                break;
            case 3:
                applyViewStep(translateXYMatrix(a));
                break;
            case 4:
                applyViewStep(kReflectY);
                break;
            case 5:
                applyViewStep(translateZYMatrix(a));
                break;
            case 6:
                applyViewStep(translateXZMatrix(a));
                break;
            case 7:
                applyViewStep(translateYZMatrix(a));
                break;
            case 8:
                if (settings.gen < 0) applyViewStep(kReflectZ);
                break;
        }
    }
    setOrder();
}

void reflectX() {
    applyViewStep(kReflectX);
    setOrder();
}

void reflectY() {
    applyViewStep(kReflectY);
    setOrder();
}

void reflectZ() {
    if (settings.gen < 0) applyViewStep(kReflectZ);
    setOrder();
}

void translateXY(double theta) {
    applyViewStep(translateXYMatrix(theta));
    setOrder();
}

void translateYX(double theta) {
    applyViewStep(translateYXMatrix(theta));
    setOrder();
}

void translateZX(double theta) {
    applyViewStep(translateZXMatrix(theta));
    setOrder();
}

void translateXZ(double theta) {
    applyViewStep(translateXZMatrix(theta));
    setOrder();
}

void translateZY(double theta) {
    applyViewStep(translateZYMatrix(theta));
    setOrder();
}

void translateYZ(double theta) {
    applyViewStep(translateYZMatrix(theta));
    setOrder();
}
