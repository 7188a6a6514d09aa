#include "geometry/triangle_group.h"

#include <cmath>
#include <cstdlib>

#include "geometry/kernel.h"

void setGenType(Settings& settings) {
    const int p = settings.genV, q = settings.genE, r = settings.genF;
    // (p·q − q − p)·r − p·q = p·q·r·(1 − 1/p − 1/q − 1/r): its sign says whether the angle sum
    // exceeds π (sphere), equals it (plane) or falls short of it (hyperbolic plane).
    settings.gen = (p * q - q - p) * r - p * q;
}

void ranGen(Settings& settings) {
    const int geometry = settings.geometry;
    if (geometry < 0 || geometry > 2) return;
    auto matches = [geometry](int gen) {
        return geometry == 0 ? gen < 0 : geometry == 1 ? gen == 0 : gen > 0;
    };
    do {
        settings.genV = static_cast<int>(random() % 11) + 2;
        settings.genE = static_cast<int>(random() % 11) + 2;
        settings.genF = static_cast<int>(random() % 11) + 2;
        setGenType(settings);
    } while (!matches(settings.gen));
}

void setGroupOrderMax(Settings& settings) {
    switch (settings.gen) {
        case -1:
            settings.groupOrderMax = 120;
            break;  // 2, 3, 5
        case -2:
            settings.groupOrderMax = 48;
            break;  // 2, 3, 4
        case -3:
            settings.groupOrderMax = 24;
            break;  // 2, 3, 3
        case -4:    // 2, 2, n
            settings.groupOrderMax = settings.genV * settings.genE * settings.genF;
            break;
        default:
            break;
    }
}

void setTriangle(TriangleGroup& g, const Settings& settings) {
    using LD = long double;
    // The angles are formed in double and only then widened, as the stored tables expect.
    const LD aV = PI / settings.genV, aE = PI / settings.genE, aF = PI / settings.genF;
    const LD cV = std::cos(aV), sV = std::sin(aV);
    const LD cE = std::cos(aE), sE = std::sin(aE);
    const LD cF = std::cos(aF), sF = std::sin(aF);

    LD D;
    if (settings.gen != 0) {
        D = std::sqrt(std::fabs(1 - cV * cV - cE * cE - cF * cF - 2 * cV * cE * cF));
    } else {
        D = (cV + cE + cF) * sF * sV * sE / (sV + sE + sF);
    }

    g.bTriV = {0, 0, 1};
    g.bTriE = {0, D / (sV * sE), (cV * cE + cF) / (sV * sE)};
    g.bTriF = {D / sF, cV * D / (sV * sF), (cV * cF + cE) / (sV * sF)};

    // Each line is of unit size under the line form of its geometry by construction.
    g.bNormalVE = {-1, 0, 0};
    g.bNormalFV = {cV, -sV, 0};
    g.bNormalEF = {cE, (cV * cE + cF) / sV, -D / sV};

    reflectBM(settings.gen, g.bReflectEF, g.bNormalEF);
    reflectBM(settings.gen, g.bReflectFV, g.bNormalFV);
    reflectBM(settings.gen, g.bReflectVE, g.bNormalVE);

    dotBM(g.bRotateV, g.bReflectFV, g.bReflectVE);
    dotBM(g.bRotateE, g.bReflectVE, g.bReflectEF);
    dotBM(g.bRotateF, g.bReflectEF, g.bReflectFV);

    smallP(g.triV, g.bTriV);
    smallP(g.triE, g.bTriE);
    smallP(g.triF, g.bTriF);
    smallM(g.reflectEF, g.bReflectEF);
    smallM(g.reflectFV, g.bReflectFV);
    smallM(g.reflectVE, g.bReflectVE);
}
