#include "canvas/navigation.h"

#include <cmath>
#include <cstdlib>

#include "geometry/kernel.h"
#include "geometry/random.h"
#include "geometry/settings.h"
#include "render/depth_order.h"
#include "render/model.h"

namespace {

// Rows as written; sign −1 for the mirrors.
constexpr Matrix kReflectX{-1, -1, 0, 0, 0, 1, 0, 0, 0, 1};
constexpr Matrix kReflectY{-1, 1, 0, 0, 0, -1, 0, 0, 0, 1};
constexpr Matrix kReflectZ{-1, 1, 0, 0, 0, 1, 0, 0, 0, -1};

// The motion along one axis pair (a = x or y) towards +a (forward) or back: a rotation of the
// sphere, a shift of the plane, a boost of the hyperboloid.
Matrix axisMotion(int g, bool alongY, bool forward, double theta) {
    double c, s;
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

void applyViewStep(Model& m, const Matrix& T) {
    Matrix Tinv, out;
    inv(Tinv, T);
    if (m.settings.mousePoints) {
        dotM(out, T, m.settings.pointMatrix);
        m.settings.pointMatrix = out;
    }
    if (m.settings.mouseColors) {
        dotM(out, m.settings.colorMatrix, Tinv);
        m.settings.colorMatrix = out;
    }
}

Matrix translateXYMatrix(int /*gen*/, double theta) {
    return turn(theta, true);
}
Matrix translateYXMatrix(int /*gen*/, double theta) {
    return turn(theta, false);
}
Matrix translateZXMatrix(int gen, double theta) {
    return axisMotion(gen, false, true, theta);
}
Matrix translateXZMatrix(int gen, double theta) {
    return axisMotion(gen, false, false, theta);
}
Matrix translateZYMatrix(int gen, double theta) {
    return axisMotion(gen, true, true, theta);
}
Matrix translateYZMatrix(int gen, double theta) {
    return axisMotion(gen, true, false, theta);
}

void identityMatrix(Model& m) {
    m.settings.pointMatrix = identity;
    m.settings.colorMatrix = identity;
    setOrder(m);
}

void ranMatrix(Model& m) {
    m.settings.pointMatrix = identity;
    m.settings.colorMatrix = identity;
    for (int step = 0; step < 9; ++step) {
        const long k = random() % 9;
        double a = ranDouble() * PI;
        if (m.settings.gen < 0) a *= 2;
        if (m.settings.gen > 0) a *= 0.5;
        switch (k) {
            case 0:
                applyViewStep(m, kReflectX);
                break;
            case 1:
                applyViewStep(m, translateYXMatrix(m.settings.gen, a));
                break;
            case 2:
                applyViewStep(m, translateZXMatrix(m.settings.gen, a));
                break;
            case 3:
                applyViewStep(m, translateXYMatrix(m.settings.gen, a));
                break;
            case 4:
                applyViewStep(m, kReflectY);
                break;
            case 5:
                applyViewStep(m, translateZYMatrix(m.settings.gen, a));
                break;
            case 6:
                applyViewStep(m, translateXZMatrix(m.settings.gen, a));
                break;
            case 7:
                applyViewStep(m, translateYZMatrix(m.settings.gen, a));
                break;
            case 8:
                if (m.settings.gen < 0) applyViewStep(m, kReflectZ);
                break;
        }
    }
    setOrder(m);
}

void reflectX(Model& m) {
    applyViewStep(m, kReflectX);
    setOrder(m);
}

void reflectY(Model& m) {
    applyViewStep(m, kReflectY);
    setOrder(m);
}

void reflectZ(Model& m) {
    if (m.settings.gen < 0) applyViewStep(m, kReflectZ);
    setOrder(m);
}

void translateXY(Model& m, double theta) {
    applyViewStep(m, translateXYMatrix(m.settings.gen, theta));
    setOrder(m);
}

void translateYX(Model& m, double theta) {
    applyViewStep(m, translateYXMatrix(m.settings.gen, theta));
    setOrder(m);
}

void translateZX(Model& m, double theta) {
    applyViewStep(m, translateZXMatrix(m.settings.gen, theta));
    setOrder(m);
}

void translateXZ(Model& m, double theta) {
    applyViewStep(m, translateXZMatrix(m.settings.gen, theta));
    setOrder(m);
}

void translateZY(Model& m, double theta) {
    applyViewStep(m, translateZYMatrix(m.settings.gen, theta));
    setOrder(m);
}

void translateYZ(Model& m, double theta) {
    applyViewStep(m, translateYZMatrix(m.settings.gen, theta));
    setOrder(m);
}
