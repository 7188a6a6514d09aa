#pragma once

// A straightforward build of the group and module tables, written as plainly as possible: passes
// restarting from scratch, a recursive fill, whole records shifted on every insert, a search of
// the data tables for every point of every record. The program's tables must come out the same.

#include <array>
#include <vector>

#include "geometry/types.h"
#include "test_model.h"

namespace reference {

struct Data {
    Point triPoint, polyPoint;
    Matrix matrix;
};

struct Group {
    std::vector<Matrix> matrix;
    std::array<std::vector<Data>, 7> data;  // V, E, F, EF, FV, VE, VEF
    double normMin = 0, normMax = 0;
    Matrix pointMatrix;  // the view after re-centring
    int passes = 0;
};

// References are indices into the sorted data tables, −1 for none.
struct Tri {
    std::array<int, 7> ref;  // V, E, F, EF, FV, VE, VEF
};
struct Poly {
    int kind = 0, n = 0, centre = -1;
    std::array<int, 12> cornerA{}, sideA{}, cornerB{}, sideB{};
};
struct Quad {
    int kind = 0;
    Point key;
    int centre = -1, side1 = -1, corner = -1, side2 = -1;
};
struct Modules {
    std::vector<Tri> tri;
    std::array<std::vector<Poly>, 3> poly;
    std::array<std::vector<Quad>, 3> quad;
};

// From the current settings, triangle and special points; settings.pointMatrix is left alone.
Group buildGroup();
Modules buildModules(const Group& group);

}  // namespace reference
