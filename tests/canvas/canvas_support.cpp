#include "canvas_support.h"

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
