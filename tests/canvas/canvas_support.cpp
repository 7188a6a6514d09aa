#include "canvas_support.h"

#include <cmath>

#include "colour/colour.h"
#include "geometry/settings.h"
#include "geometry/triangle_group.h"
#include "render/chain.h"
#include "test_model.h"

void makePicture(int p, int q, int r, double lengthV, double lengthE, double lengthF) {
    model.settings = Settings{};
    model.settings.genV = p;
    model.settings.genE = q;
    model.settings.genF = r;
    model.settings.lengthV = lengthV;
    model.settings.lengthE = lengthE;
    model.settings.lengthF = lengthF;
    initColorMatrices(model.colourState);
    setGenType(model.settings);
    setGen(model);
    rebuildModules(model);
}

Matrix inverseOf(const Matrix& M) {
    Matrix out;
    inv(out, M);
    return out;
}

double maxDiff(const Matrix& a, const Matrix& b) {
    const double x[] = {a.sign, a.m00, a.m01, a.m02, a.m10, a.m11, a.m12, a.m20, a.m21, a.m22};
    const double y[] = {b.sign, b.m00, b.m01, b.m02, b.m10, b.m11, b.m12, b.m20, b.m21, b.m22};
    double m = 0;
    for (int i = 0; i < 10; ++i) {
        const double d = std::fabs(x[i] - y[i]);
        if (!(d <= m)) m = d;  // a NaN wins
    }
    return m;
}
