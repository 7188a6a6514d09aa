#include "canvas_support.h"

#include <array>
#include <cmath>
#include <cstring>

#include "colour/colour.h"
#include "geometry/settings.h"
#include "geometry/triangle_group.h"
#include "render/chain.h"

void makePicture(int p, int q, int r, double lengthV, double lengthE, double lengthF) {
    settings = Settings{};
    settings.genV = p;
    settings.genE = q;
    settings.genF = r;
    settings.lengthV = lengthV;
    settings.lengthE = lengthE;
    settings.lengthF = lengthF;
    initColorMatrices();
    setGenType();
    setGen();
    rebuildModules();
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
