#include "colour/colour.h"

#include <cassert>
#include <cmath>

#include "geometry/kernel.h"
#include "geometry/random.h"

namespace {

// The unit vector of in under the colour length.
void normalizeColor(Point& out, const Point& in) {
    double l = lengthColor(in);
    out = Point{in.x / l, in.y / l, in.z / l};
}

// The rotation carrying (0, 0, 1) to the unit vector v; undefined for v = (0, 0, −1).
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

// The rotation about the unit axis a with cosine c and sine s.
void rotateMColor(Matrix& out, const Point& a, double c, double s) {
    double x = a.x, y = a.y, z = a.z, t = 1 - c;
    // clang-format off
    out = Matrix{1,
                 x * x * t + c,     x * y * t - z * s, x * z * t + y * s,
                 x * y * t + z * s, y * y * t + c,     y * z * t - x * s,
                 x * z * t - y * s, y * z * t + x * s, z * z * t + c};
    // clang-format on
}

// out = colorMatrix · (pointMatrix · q).
void projColor(const Settings& s, Point& out, const Point& q) {
    Point p;
    dotP(p, s.pointMatrix, q);
    dotP(out, s.colorMatrix, p);
}

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

void positionColor(const Settings& settings, const ColourState& c, BColor* out, int type,
                   const Point& q, const Matrix& contrast) {
    Point p, s;
    projColor(settings, p, q);
    dotP(s, contrast, p);
    dotP(p, familyMatrix(c, familyOfType(type)), s);
    cubeColor(out, p);
}

// Position colours of a model point q for an element type (schemes 3 and 4). A type outside
// 0..15 leaves out unchanged.
void highContrastColor(const Settings& s, const ColourState& c, BColor* out, int type,
                       const Point& q) {
    if (familyOfType(type) < 0) return;
    positionColor(s, c, out, type, q, c.colorMatrixHigh[type]);
}

void lowContrastColor(const Settings& s, const ColourState& c, BColor* out, int type,
                      const Point& q) {
    if (familyOfType(type) < 0) return;
    positionColor(s, c, out, type, q, c.colorMatrixLow);
}

// The family's offset in units of π.
double familyOffset(const Settings& s, int family) {
    assert(family >= 0 && family < kFamilyCount);
    return family >= 0 && family < kFamilyCount ? s.*kFamilies[family].offset : 0;
}

// Random individual colours, each record in table order.
void ranColorModuleTri(DataTable& table) {
    for (int i = 0; i < table.count; ++i) ranColor(&table.at(i).triColor);
}

void ranColorModulePoly(DataTable& table) {
    for (int i = 0; i < table.count; ++i) ranColor(&table.at(i).polyColor);
}

}  // namespace

const Matrix& familyMatrix(const ColourState& c, int family) {
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

Matrix& familyMatrix(ColourState& c, int family) {
    return const_cast<Matrix&>(familyMatrix(static_cast<const ColourState&>(c), family));
}

BColor* typeColor(Settings& s, int type) {
    return type >= 0 && type < kTypeCount ? &(s.*kTypes[type].color) : nullptr;
}

const BColor* typeColor(const Settings& s, int type) {
    return type >= 0 && type < kTypeCount ? &(s.*kTypes[type].color) : nullptr;
}

Matrix offsetMatrix(double theta) {
    Point grey;
    normalizeColor(grey, Point{1, 1, 1});
    Matrix out;
    rotateMColor(out, grey, std::cos(theta), std::sin(theta));
    return out;
}

void setOffsetMatrix(ColourState& c, const Settings& s, int family) {
    familyMatrix(c, family) = offsetMatrix(PI * familyOffset(s, family));
}

void setOffsetMatrices(ColourState& c, const Settings& s) {
    for (int f = 0; f < kFamilyCount; ++f) setOffsetMatrix(c, s, f);
}

void initColorMatrices(ColourState& c) {
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
    for (int i = 0; i < kTypeCount; ++i) c.colorMatrixHigh[i] = high[i];
    c.colorMatrixLow = t1;
    for (int f = 0; f < kFamilyCount; ++f) familyMatrix(c, f) = identity;
}

void ranPolyFaceColor(GroupTables& g) {
    ranColorModulePoly(g.dataV);
    ranColorModulePoly(g.dataE);
    ranColorModulePoly(g.dataF);
}

void ranPolyEdgeColor(GroupTables& g) {
    ranColorModulePoly(g.dataEF);
    ranColorModulePoly(g.dataFV);
    ranColorModulePoly(g.dataVE);
}

void ranPolyVertColor(GroupTables& g) {
    ranColorModulePoly(g.dataVEF);
}

void ranTriFaceColor(GroupTables& g) {
    ranColorModuleTri(g.dataVEF);
}

void ranTriEdgeColor(GroupTables& g) {
    ranColorModuleTri(g.dataEF);
    ranColorModuleTri(g.dataFV);
    ranColorModuleTri(g.dataVE);
}

void ranTriVertColor(GroupTables& g) {
    ranColorModuleTri(g.dataV);
    ranColorModuleTri(g.dataE);
    ranColorModuleTri(g.dataF);
}

void ranAllColor(GroupTables& g) {
    ranPolyFaceColor(g);
    ranPolyEdgeColor(g);
    ranPolyVertColor(g);
    ranTriFaceColor(g);
    ranTriEdgeColor(g);
    ranTriVertColor(g);
}

void ranSingleColors(Settings& s) {
    for (int t = 0; t < kTypeCount; ++t) ranColor(typeColor(s, t));
    ranColor(&s.circleColor);
    ranColor(&s.originColor);
    ranColor(&s.windowColor);
}

BColor schemeColor(const Settings& s, const ColourState& c, int scheme, int type,
                   const DataModule& record, bool triLayer, BColor previous) {
    BColor color = previous;
    switch (scheme) {
        case 0:
            ranColor(&color);
            break;
        case 1:
            color = triLayer ? record.triColor : record.polyColor;
            break;
        case 2:
            if (familyOfType(type) >= 0) color = *typeColor(s, type);
            break;
        case 3:
            highContrastColor(s, c, &color, type, record.triPoint);
            break;
        case 4:
            lowContrastColor(s, c, &color, type, record.triPoint);
            break;
        default:
            break;
    }
    return color;
}
