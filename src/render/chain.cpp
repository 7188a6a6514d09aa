#include "render/chain.h"

#include <cstdlib>
#include <ctime>

#include "colour/colour.h"
#include "geometry/kernel.h"
#include "render/depth_order.h"
#include "render/model.h"
#include "tiling/enumeration.h"
#include "tiling/modules.h"

namespace {

int signOf(int v) {
    return (v > 0) - (v < 0);
}

}  // namespace

// The individual colours of every data record, kept across a rebuild that turns out to give the
// same group again.
struct SavedColours {
    int count[7] = {};
    std::array<BColor, kCapacity> tri[7], poly[7];
    std::array<Point, kCapacity> point[7];
};

namespace {

DataTable* dataTables(GroupTables& g, int i) {
    DataTable* tables[7] = {&g.dataV,  &g.dataE,  &g.dataF,  &g.dataEF,
                            &g.dataFV, &g.dataVE, &g.dataVEF};
    return tables[i];
}

void saveColours(SavedColours& saved, GroupTables& g) {
    for (int t = 0; t < 7; ++t) {
        const DataTable& table = *dataTables(g, t);
        saved.count[t] = table.count;
        for (int i = 0; i < table.count; ++i) {
            saved.tri[t][i] = table.at(i).triColor;
            saved.poly[t][i] = table.at(i).polyColor;
            saved.point[t][i] = table.at(i).triPoint;
        }
    }
}

// True, with the saved colours laid back, when every data table holds the same points as before.
bool restoreColours(const SavedColours& saved, GroupTables& g) {
    for (int t = 0; t < 7; ++t) {
        const DataTable& table = *dataTables(g, t);
        if (table.count != saved.count[t]) return false;
        for (int i = 0; i < table.count; ++i) {
            if (!equalsP(table.at(i).triPoint, saved.point[t][i])) return false;
        }
    }
    for (int t = 0; t < 7; ++t) {
        DataTable& table = *dataTables(g, t);
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
bool regroup(Model& m) {
    SavedColours& saved = m.savedColours.get();
    const int count = m.groupTables.matrix.count;
    const Matrix view = m.settings.pointMatrix;
    saveColours(saved, m.groupTables);
    setGroup(m);
    rebuildModules(m);
    if (m.groupTables.matrix.count == count && restoreColours(saved, m.groupTables)) {
        return !equalsM(m.settings.pointMatrix, view);
    }
    ranAllColor(m.groupTables);
    return true;
}

// Stages 2 to 8 after new generators.
void regenerate(Model& m) {
    setGen(m);
    rebuildModules(m);
    ranAllColor(m.groupTables);
}

}  // namespace

void setGen(Model& m) {
    Settings& s = m.settings;
    setTriangle(m.triangleGroup, s);
    setTriPoint(m.specialPoints, m.triangleGroup, s);
    setPolyPoint(m.specialPoints, m.triangleGroup, s);
    if (s.gen >= -4 && s.gen <= -1) setGroupOrderMax(s);
    setGroup(m);
}

void rebuildModules(Model& m) {
    newModules(m);
    setShape(m);
}

void initRandom(Model& m, unsigned seed) {
    Settings& s = m.settings;
    initColorMatrices(m.colourState);
    s.eqManifold = "z*z = 1 plane";
    s.eqCircle = "1 = x*x+y*y unit κύκλος";
    s.eqPerspective = "z axis perspective";
    srandom(seed);
    s.geometry = static_cast<int>(random() % 3);
    ranLength(s);
    ranGen(s);
    setGenType(s);
    regenerate(m);
    ranSingleColors(s);
}

void initRandom(Model& m) {
    initRandom(m, static_cast<unsigned>(time(nullptr)));
}

namespace {

// pointMatrix and colorMatrix back to identity.
void resetView(Settings& s) {
    s.pointMatrix = identity;
    s.colorMatrix = identity;
}

}  // namespace

void updateGeometryLabels(Settings& s) {
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

bool finishGen(Model& m, int oldGen) {
    Settings& s = m.settings;
    setGenType(s);
    if (signOf(s.gen) != signOf(oldGen)) {
        resetView(s);
        updateGeometryLabels(s);
    }
    regenerate(m);
    return true;
}

bool chainRanGen(Model& m) {
    ranGen(m.settings);
    regenerate(m);
    return true;
}

bool chainSetGeometry(Model& m) {
    ranGen(m.settings);
    resetView(m.settings);
    updateGeometryLabels(m.settings);
    regenerate(m);
    return true;
}

bool chainCenter(Model& m) {
    setGroup(m);
    rebuildModules(m);
    ranAllColor(m.groupTables);
    return true;
}

bool chainSetGroupOrder(Model& m) {
    return regroup(m);
}

bool chainSetSpiralAngle(Model& m) {
    return m.settings.project3D2D >= 3 && regroup(m);
}

namespace {

// The lengths side chain: the generating point from the three proportions, then the poly points
// of the data records; the group and the modules stay.
bool chainLengths(Model& m) {
    setPolyPoint(m.specialPoints, m.triangleGroup, m.settings);
    setPolyModules(m.groupTables, m.specialPoints);
    return true;
}

}  // namespace

bool chainSnub(Model& m) {
    if (m.settings.snubForm) newSnubModules(m);
    chainLengths(m);
    setShape(m);
    return true;
}

bool chainEqualizeLength(Model& m) {
    equalizeLength(m.settings);
    return chainLengths(m);
}

bool chainRanLength(Model& m) {
    ranLength(m.settings);
    return chainLengths(m);
}

bool chainSetLength(Model& m, int which) {
    Settings& s = m.settings;
    const double lengths[3] = {s.lengthV, s.lengthE, s.lengthF};
    if (which < 0 || which > 2) return false;
    setLength(s, which, lengths[which]);
    return chainLengths(m);
}

bool chainView(Model& m) {
    setOrder(m);
    return true;
}

bool chainSetProject3D2D(Model& m) {
    updateGeometryLabels(m.settings);
    return chainView(m);
}
