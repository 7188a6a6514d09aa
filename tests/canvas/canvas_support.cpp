#include "canvas_support.h"

#include <array>
#include <cmath>
#include <cstring>

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

// The ten numbers of a matrix record in order (sign, then the rows).
static std::array<double, 10> entries(const Matrix& M) {
    return {M.sign, M.m00, M.m01, M.m02, M.m10, M.m11, M.m12, M.m20, M.m21, M.m22};
}

double maxDiff(const Matrix& a, const Matrix& b) {
    const std::array<double, 10> x = entries(a), y = entries(b);
    double m = 0;
    for (int i = 0; i < 10; ++i) m = std::max(m, std::fabs(x[i] - y[i]));
    return m;
}

bool sameBits(const Matrix& a, const Matrix& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}
