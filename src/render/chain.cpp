#include "render/chain.h"

#include <cstdlib>
#include <ctime>

#include "colour/colour.h"
#include "geometry/kernel.h"
#include "geometry/settings.h"
#include "geometry/triangle_group.h"
#include "render/depth_order.h"
#include "tiling/enumeration.h"
#include "tiling/generating_point.h"
#include "tiling/modules.h"
#include "tiling/tables.h"

namespace {

int signOf(int v) {
    return (v > 0) - (v < 0);
}

// The individual colours of every data record, kept across a rebuild that turns out to give the
// same group again.
struct SavedColours {
    int count[7] = {};
    std::array<BColor, kCapacity> tri[7], poly[7];
    std::array<Point, kCapacity> point[7];
};
SavedColours saved;

DataTable* dataTables(int i) {
    GroupTables& g = groupTables;
    DataTable* tables[7] = {&g.dataV,  &g.dataE,  &g.dataF,  &g.dataEF,
                            &g.dataFV, &g.dataVE, &g.dataVEF};
    return tables[i];
}

void saveColours() {
    for (int t = 0; t < 7; ++t) {
        const DataTable& table = *dataTables(t);
        saved.count[t] = table.count;
        for (int i = 0; i < table.count; ++i) {
            saved.tri[t][i] = table.at(i).triColor;
            saved.poly[t][i] = table.at(i).polyColor;
            saved.point[t][i] = table.at(i).triPoint;
        }
    }
}

// True, with the saved colours laid back, when every data table holds the same points as before.
bool restoreColours() {
    for (int t = 0; t < 7; ++t) {
        const DataTable& table = *dataTables(t);
        if (table.count != saved.count[t]) return false;
        for (int i = 0; i < table.count; ++i) {
            if (!equalsP(table.at(i).triPoint, saved.point[t][i])) return false;
        }
    }
    for (int t = 0; t < 7; ++t) {
        DataTable& table = *dataTables(t);
        for (int i = 0; i < table.count; ++i) {
            table.at(i).triColor = saved.tri[t][i];
            table.at(i).polyColor = saved.poly[t][i];
        }
    }
    return true;
}

// Stage 6 for the group order and spiral angle. setGroup recreates every data record (with new
// random colours and zero draw counters), so the modules are always rebuilt to keep their
// references and counters sound. When the group comes out the same (the same count and the same
// points, as when the finite group was already complete) the earlier colours are laid back and,
// unless re-centring moved the view, nothing visible has changed and no redraw is asked for.
bool regroup() {
    int count = groupTables.matrix.count;
    Matrix view = settings.pointMatrix;
    saveColours();
    setGroup();
    rebuildModules();
    if (groupTables.matrix.count == count && restoreColours()) {
        return !equalsM(settings.pointMatrix, view);
    }
    ranAllColor();
    return true;
}

// Stages 2 to 8 after new generators.
void regenerate() {
    setGen();
    rebuildModules();
    ranAllColor();
}

}  // namespace

void setGen() {
    setTriangle();
    setTriPoint();
    setPolyPoint();
    if (settings.gen >= -4 && settings.gen <= -1) setGroupOrderMax();
    setGroup();
}

void rebuildModules() {
    newModules();
    setShape();
}

void initRandom(unsigned seed) {
    Settings& s = settings;
    initColorMatrices();
    s.eqManifold = "z*z = 1 plane";
    s.eqCircle = "1 = x*x+y*y unit κύκλος";
    s.eqPerspective = "z axis perspective";
    srandom(seed);
    s.geometry = static_cast<int>(random() % 3);
    ranLength();
    ranGen();
    setGenType();
    regenerate();
    ranSingleColors();
}

void initRandom() {
    initRandom(static_cast<unsigned>(time(nullptr)));
}

void resetView() {
    settings.pointMatrix = identity;
    settings.colorMatrix = identity;
}

void updateGeometryLabels() {
    Settings& s = settings;
    bool zAxis = s.project3D2D < 3;
    if (s.gen < 0) {
        s.geometry = 0;
        s.eqManifold = zAxis ? "z*z = 1-x*x-y*y σφαῖρα" : "y*y+z*z = 1-x*x σφαῖρα";
    } else if (s.gen > 0) {
        s.geometry = 2;
        s.eqManifold = zAxis ? "z*z = 1+x*x+y*y ὑπερβολοειδές (2 sheets)"
                             : "y*y+z*z = 1+x*x ὑπερβολοειδές (1 sheet)";
    } else {
        s.geometry = 1;
        s.eqManifold = zAxis ? "z*z = 1 plane" : "y*y+z*z = 1 κύλινδρος";
    }
    s.eqCircle = zAxis ? "1 = x*x+y*y unit κύκλος" : "y*y+z*z = 1 unit κύκλος";
    s.eqPerspective = zAxis ? "z axis perspective" : "x axis perspective";
}

bool finishGen(int oldGen) {
    setGenType();
    if (signOf(settings.gen) != signOf(oldGen)) {
        resetView();
        updateGeometryLabels();
    }
    regenerate();
    return true;
}

bool chainRanGen() {
    ranGen();
    regenerate();
    return true;
}

bool chainSetGeometry() {
    ranGen();
    resetView();
    updateGeometryLabels();
    regenerate();
    return true;
}

bool chainCenter() {
    setGroup();
    rebuildModules();
    ranAllColor();
    return true;
}

bool chainSetGroupOrder() {
    return regroup();
}

bool chainSetSpiralAngle() {
    return settings.project3D2D >= 3 && regroup();
}

bool chainLengths() {
    setPolyPoint();
    setPolyModules();
    return true;
}

bool chainEqualizeLength() {
    equalizeLength();
    return chainLengths();
}

bool chainRanLength() {
    ranLength();
    return chainLengths();
}

bool chainSetLength(int which) {
    Settings& s = settings;
    const double lengths[3] = {s.lengthV, s.lengthE, s.lengthF};
    if (which < 0 || which > 2) return false;
    setLength(which, lengths[which]);
    return chainLengths();
}

bool chainView() {
    setOrder();
    return true;
}

bool chainSetProject3D2D() {
    updateGeometryLabels();
    return chainView();
}
