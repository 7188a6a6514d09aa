#include "colour/colour.h"

#include <cassert>
#include <cmath>

#include "geometry/kernel.h"
#include "geometry/random.h"
#include "geometry/settings.h"

ColourState colourState;

namespace {

constexpr int kFamilyOfType[kTypeCount] = {
    kPolyFace, kPolyFace, kPolyFace, kPolyEdge, kPolyEdge, kPolyEdge, kPolyVert, kPolyVert,
    kTriFace,  kTriFace,  kTriEdge,  kTriEdge,  kTriEdge,  kTriVert,  kTriVert,  kTriVert};

// The cyclic permutations (x, y, z) ↦ (z, x, y) and (x, y, z) ↦ (y, z, x): they carry the
// colour of a V class onto the E and F classes.
constexpr Matrix kPermuteA{1, 0, 0, 1, 1, 0, 0, 0, 1, 0};
constexpr Matrix kPermuteB{1, 0, 1, 0, 0, 0, 1, 1, 0, 0};

// The point where the ray from the cube's centre (0.5, 0.5, 0.5) in direction p leaves the unit
// RGB cube. The zero vector has no direction and gives mid grey.
void cubeColor(BColor* out, const Point& p) {
    double m = std::fmax(std::fabs(p.x), std::fmax(std::fabs(p.y), std::fabs(p.z)));
    if (!(m > 0) || !std::isfinite(m)) {
        *out = BColor{0.5f, 0.5f, 0.5f};
        return;
    }
    out->r = static_cast<float>(0.5 + 0.5 * p.x / m);
    out->g = static_cast<float>(0.5 + 0.5 * p.y / m);
    out->b = static_cast<float>(0.5 + 0.5 * p.z / m);
}

void positionColor(BColor* out, int type, const Point& q, const Matrix& contrast) {
    Point p, s;
    projColor(p, q);
    dotP(s, contrast, p);
    dotP(p, familyMatrix(familyOfType(type)), s);
    cubeColor(out, p);
}

void familyTypeColor(int family, BColor* out, int type) {
    if (family >= 0 && familyOfType(type) == family) *out = *typeColor(type);
}

}  // namespace

int familyOfType(int type) {
    return type >= 0 && type < kTypeCount ? kFamilyOfType[type] : -1;
}

Matrix& familyMatrix(int family) {
    ColourState& c = colourState;
    switch (family) {
        case kPolyFace:
            return c.polyFaceMatrix;
        case kPolyEdge:
            return c.polyEdgeMatrix;
        case kPolyVert:
            return c.polyVertMatrix;
        case kTriFace:
            return c.triFaceMatrix;
        case kTriEdge:
            return c.triEdgeMatrix;
        default:
            assert(family == kTriVert);
            return c.triVertMatrix;
    }
}

int familyScheme(int family) {
    const Settings& s = settings;
    const int schemes[kFamilyCount] = {s.polyFaceScheme, s.polyEdgeScheme, s.polyVertScheme,
                                       s.triFaceScheme,  s.triEdgeScheme,  s.triVertScheme};
    assert(family >= 0 && family < kFamilyCount);
    return family >= 0 && family < kFamilyCount ? schemes[family] : -1;
}

double familyOffset(int family) {
    const Settings& s = settings;
    const double offsets[kFamilyCount] = {s.polyFaceOffset, s.polyEdgeOffset, s.polyVertOffset,
                                          s.triFaceOffset,  s.triEdgeOffset,  s.triVertOffset};
    assert(family >= 0 && family < kFamilyCount);
    return family >= 0 && family < kFamilyCount ? offsets[family] : 0;
}

double familyAlpha(int family) {
    const Settings& s = settings;
    const double alphas[kFamilyCount] = {s.polyFaceAlpha, s.polyEdgeAlpha, s.polyVertAlpha,
                                         s.triFaceAlpha,  s.triEdgeAlpha,  s.triVertAlpha};
    assert(family >= 0 && family < kFamilyCount);
    return family >= 0 && family < kFamilyCount ? alphas[family] : 0;
}

BColor* typeColor(int type) {
    Settings& s = settings;
    BColor* colors[kTypeCount] = {
        &s.polyFaceVColor,  &s.polyFaceEColor,  &s.polyFaceFColor,   &s.polyEdgeEFColor,
        &s.polyEdgeFVColor, &s.polyEdgeVEColor, &s.polyVertPosColor, &s.polyVertNegColor,
        &s.triFacePosColor, &s.triFaceNegColor, &s.triEdgeEFColor,   &s.triEdgeFVColor,
        &s.triEdgeVEColor,  &s.triVertVColor,   &s.triVertEColor,    &s.triVertFColor};
    return type >= 0 && type < kTypeCount ? colors[type] : nullptr;
}

void normalizeColor(Point& out, const Point& in) {
    double l = lengthColor(in);
    out = Point{in.x / l, in.y / l, in.z / l};
}

void translateMColor(Matrix& out, const Point& v) {
    double x = v.x, y = v.y, z = v.z;
    double k = 1 / (1 + z);
    // clang-format off
    out = Matrix{1,
                 1 - x * x * k, -x * y * k,    x,
                 -x * y * k,    1 - y * y * k, y,
                 -x,            -y,            z};
    // clang-format on
}

void rotateMColor(Matrix& out, const Point& a, double c, double s) {
    double x = a.x, y = a.y, z = a.z, t = 1 - c;
    // clang-format off
    out = Matrix{1,
                 x * x * t + c,     x * y * t - z * s, x * z * t + y * s,
                 x * y * t + z * s, y * y * t + c,     y * z * t - x * s,
                 x * z * t - y * s, y * z * t + x * s, z * z * t + c};
    // clang-format on
}

Matrix offsetMatrix(double theta) {
    Point grey;
    normalizeColor(grey, Point{1, 1, 1});
    Matrix out;
    rotateMColor(out, grey, std::cos(theta), std::sin(theta));
    return out;
}

void setOffsetMatrix(int family) {
    familyMatrix(family) = offsetMatrix(PI * familyOffset(family));
}

void setOffsetMatrices() {
    for (int f = 0; f < kFamilyCount; ++f) setOffsetMatrix(f);
}

void initColorMatrices() {
    Point v;
    Matrix t1, t2;
    normalizeColor(v, Point{1, 1, 1});
    translateMColor(t1, v);
    normalizeColor(v, Point{1, -1, 0});
    translateMColor(t2, v);
    const Matrix& n = inversion;
    Matrix at2 = dotM(kPermuteA, t2), bt2 = dotM(kPermuteB, t2);

    // N·X always multiplies N on the left.
    const Matrix high[kTypeCount] = {t2,          at2,          bt2,            // poly faces
                                     t2,          at2,          bt2,            // poly edges
                                     t1,          dotM(n, t1),                  // poly vertices
                                     dotM(n, t1), t1,                           // tri faces
                                     dotM(n, t2), dotM(n, at2), dotM(n, bt2),   // tri edges
                                     dotM(n, t2), dotM(n, at2), dotM(n, bt2)};  // tri vertices
    ColourState& c = colourState;
    for (int i = 0; i < kTypeCount; ++i) c.colorMatrixHigh[i] = high[i];
    c.colorMatrixLow = t1;
    for (int f = 0; f < kFamilyCount; ++f) familyMatrix(f) = identity;
}

void projColor(Point& out, const Point& q) {
    Point p;
    dotP(p, settings.pointMatrix, q);
    dotP(out, settings.colorMatrix, p);
}

void highContrastColor(BColor* out, int type, const Point& q) {
    if (familyOfType(type) < 0) return;
    positionColor(out, type, q, colourState.colorMatrixHigh[type]);
}

void lowContrastColor(BColor* out, int type, const Point& q) {
    if (familyOfType(type) < 0) return;
    positionColor(out, type, q, colourState.colorMatrixLow);
}

void polyFaceTypeColor(BColor* out, int type) {
    familyTypeColor(kPolyFace, out, type);
}
void polyEdgeTypeColor(BColor* out, int type) {
    familyTypeColor(kPolyEdge, out, type);
}
void polyVertTypeColor(BColor* out, int type) {
    familyTypeColor(kPolyVert, out, type);
}
void triFaceTypeColor(BColor* out, int type) {
    familyTypeColor(kTriFace, out, type);
}
void triEdgeTypeColor(BColor* out, int type) {
    familyTypeColor(kTriEdge, out, type);
}
void triVertTypeColor(BColor* out, int type) {
    familyTypeColor(kTriVert, out, type);
}

void ranColorModuleTri(DataTable& table) {
    for (int i = 0; i < table.count; ++i) ranColor(&table.at(i).triColor);
}

void ranColorModulePoly(DataTable& table) {
    for (int i = 0; i < table.count; ++i) ranColor(&table.at(i).polyColor);
}

void ranPolyFaceColor() {
    GroupTables& g = groupTables;
    ranColorModulePoly(g.dataV);
    ranColorModulePoly(g.dataE);
    ranColorModulePoly(g.dataF);
}

void ranPolyEdgeColor() {
    GroupTables& g = groupTables;
    ranColorModulePoly(g.dataEF);
    ranColorModulePoly(g.dataFV);
    ranColorModulePoly(g.dataVE);
}

void ranPolyVertColor() {
    ranColorModulePoly(groupTables.dataVEF);
}

void ranTriFaceColor() {
    ranColorModuleTri(groupTables.dataVEF);
}

void ranTriEdgeColor() {
    GroupTables& g = groupTables;
    ranColorModuleTri(g.dataEF);
    ranColorModuleTri(g.dataFV);
    ranColorModuleTri(g.dataVE);
}

void ranTriVertColor() {
    GroupTables& g = groupTables;
    ranColorModuleTri(g.dataV);
    ranColorModuleTri(g.dataE);
    ranColorModuleTri(g.dataF);
}

void ranAllColor() {
    ranPolyFaceColor();
    ranPolyEdgeColor();
    ranPolyVertColor();
    ranTriFaceColor();
    ranTriEdgeColor();
    ranTriVertColor();
}

void ranSingleColors() {
    for (int t = 0; t < kTypeCount; ++t) ranColor(typeColor(t));
    ranColor(&settings.circleColor);
    ranColor(&settings.originColor);
    ranColor(&settings.windowColor);
}

void schemeColor(int scheme, const DataModule& record, bool triLayer) {
    ColourState& c = colourState;
    switch (scheme) {
        case 0:
            ranColor(&c.color);
            break;
        case 1:
            c.color = triLayer ? record.triColor : record.polyColor;
            break;
        case 2:
            familyTypeColor(familyOfType(c.type), &c.color, c.type);
            break;
        case 3:
            highContrastColor(&c.color, c.type, record.triPoint);
            break;
        case 4:
            lowContrastColor(&c.color, c.type, record.triPoint);
            break;
        default:
            break;
    }
}
