#include "reference_support.h"

#include <algorithm>
#include <cmath>

#include "geometry/kernel.h"
#include "geometry/settings.h"
#include "geometry/triangle_group.h"
#include "test_model.h"
#include "tiling/generating_point.h"

namespace reference {
namespace {

constexpr int kFull = 4096;

std::array<Point, 7> triPoints() {
    const TriangleGroup& g = model.triangleGroup;
    const SpecialPoints& s = model.specialPoints;
    return {g.triV, g.triE, g.triF, s.triEF, s.triFV, s.triVE, s.triVEF};
}

std::array<Point, 7> polyPoints() {
    const TriangleGroup& g = model.triangleGroup;
    const SpecialPoints& s = model.specialPoints;
    return {g.triV, g.triE, g.triF, s.polyEF, s.polyFV, s.polyVE, s.polyVEF};
}

// The binary search as written: probe the middle; fewer than two entries left decide there.
template <class Entry, class Cmp>
int index(const std::vector<Entry>& table, Cmp cmp, int lo, int hi) {
    const int mid = (lo + hi) / 2;
    const int c = cmp(table[mid]);
    if (hi - lo < 2) {
        if (c > 0) return -mid - 1;
        if (c < 0) return -mid - 2;
        return mid;
    }
    if (c == 0) return mid;
    if (c > 0) return index(table, cmp, lo, mid);
    return index(table, cmp, mid, hi);
}

// Compare with the middle entry first, then search the proper half.
template <class Entry, class Cmp>
int halfFirst(const std::vector<Entry>& table, Cmp cmp) {
    const int count = static_cast<int>(table.size());
    const int mid = count / 2;
    const int c = cmp(table[mid]);
    if (c == 0) return mid;
    if (count < 2) return c > 0 ? -mid - 1 : -mid - 2;
    if (c > 0) return index(table, cmp, 0, mid);
    return index(table, cmp, mid, count);
}

struct Fill {
    Group g;
    int geometry = 0;  // -1 sphere, 0 plane, 1 hyperbolic
    bool band = false;
    bool full = false;
    std::array<Point, 7> tri = triPoints(), poly = polyPoints();

    const BMatrix& reflection(int k) const {
        const TriangleGroup& t = model.triangleGroup;
        return k == 0 ? t.bReflectEF : k == 1 ? t.bReflectFV : t.bReflectVE;
    }

    void insertAll(const Matrix& M, int position) {
        g.matrix.insert(g.matrix.begin() + position, M);
        for (int t = 0; t < 7; ++t) {
            std::vector<Data>& table = g.data[t];
            Point image;
            dotP(image, M, tri[t]);
            const int found =
                halfFirst(table, [&](const Data& d) { return compareP(d.triPoint, image); });
            if (found >= 0 || table.size() >= kFull) continue;
            Data record{image, {}, M};
            dotP(record.polyPoint, M, poly[t]);
            table.insert(table.begin() + (-found - 1), record);
        }
    }

    void step(int k, const BMatrix& B) {
        if (full) return;
        Matrix M, Q;
        smallM(M, B);
        dotM(Q, g.pointMatrix, M);
        Point c[3];
        dotP(c[0], Q, model.triangleGroup.triV);
        dotP(c[1], Q, model.triangleGroup.triE);
        dotP(c[2], Q, model.triangleGroup.triF);
        double key;
        if (geometry < 0) {
            key = std::max({c[0].z, c[1].z, c[2].z});
        } else if (geometry > 0) {
            key = std::min({c[0].z, c[1].z, c[2].z});
        } else if (!band) {
            key = std::min({norm2(c[0]), norm2(c[1]), norm2(c[2])});
        } else {
            key = std::min({normX(c[0]), normX(c[1]), normX(c[2])});
        }
        const double t = (g.normMax + 1) * h;
        const bool accepted = geometry < 0 ? key > g.normMax - t : key < g.normMax + t;
        if (!accepted) {
            const double slack = h * (1 + g.normMin);
            const bool better = geometry < 0 ? key - g.normMin > slack : g.normMin - key > slack;
            if (g.normMax == g.normMin || better) g.normMin = key;
            return;
        }
        if (band) {
            const double w =
                std::min({normY(model.settings.gen, c[0]), normY(model.settings.gen, c[1]),
                          normY(model.settings.gen, c[2])});
            const double limit = PI * model.settings.spiralAngle;
            if (!(std::sqrt(w) - limit < (limit + 1) * h)) return;
        }
        const int found = halfFirst(g.matrix, [&](const Matrix& A) { return compareM(A, M); });
        if (found >= 0) return;
        if (g.matrix.size() >= kFull) {
            full = true;
            return;
        }
        insertAll(M, -found - 1);
        for (int next = 0; next < 3; ++next) {
            if (next == k) continue;
            BMatrix product;
            dotBM(product, B, reflection(next));
            step(next, product);
        }
    }

    void pass() {
        full = false;
        g.matrix.assign(1, identity);
        for (int t = 0; t < 7; ++t) g.data[t].assign(1, Data{tri[t], poly[t], identity});
        for (int k = 0; k < 3; ++k) step(k, reflection(k));
        ++g.passes;
    }
};

}  // namespace

Group buildGroup() {
    Fill fill;
    fill.geometry = model.settings.gen < 0 ? -1 : model.settings.gen > 0 ? 1 : 0;
    fill.band = model.settings.project3D2D > 2;
    Group& g = fill.g;

    Matrix view = model.settings.pointMatrix;
    Point P;
    dotP(P, view, model.triangleGroup.triV);
    Matrix T;
    if (fill.geometry < 0 && 1 + P.z <= h) {
        const Matrix halfTurn{1, -1, 0, 0, 0, 1, 0, 0, 0, -1};
        Point turned;
        dotP(turned, halfTurn, P);
        Matrix rest;
        translateMInv(model.settings.gen, rest, turned);
        dotM(T, rest, halfTurn);
    } else {
        translateMInv(model.settings.gen, T, P);
    }
    dotM(g.pointMatrix, T, view);

    g.normMax = g.normMin = fill.geometry == 0 ? 0 : 1;
    for (;;) {
        const double threshold = g.normMax;
        fill.pass();
        const bool rejected = g.normMin != threshold;
        g.normMax = g.normMin;
        const int count = static_cast<int>(g.matrix.size());
        bool more = count < model.settings.groupOrder && rejected && !fill.full;
        if (fill.geometry < 0) more = more && count < model.settings.groupOrderMax;
        if (!more) break;
    }
    return g;
}

namespace {

struct ModuleBuilder {
    const Group& g;
    std::array<Point, 7> point = triPoints();

    int lookup(int t, const Matrix& M, const Point& point) const {
        Point image;
        dotP(image, M, point);
        const std::vector<Data>& table = g.data[t];
        if (table.empty()) return -1;
        const int i = index(
            table, [&](const Data& d) { return compareP(d.triPoint, image); }, 0,
            static_cast<int>(table.size()));
        return i >= 0 ? i : -1;
    }

    bool tri(Tri& out, const Matrix& M) const {
        for (int t = 0; t < 7; ++t) out.ref[t] = lookup(t, M, point[t]);
        return std::find(out.ref.begin(), out.ref.end(), -1) == out.ref.end();
    }

    Poly poly(int kind, const Matrix& M) const {
        const TriangleGroup& tg = model.triangleGroup;
        // first side, second side as table indices and reflections
        const int first = kind == 0 ? 5 : kind == 1 ? 3 : 4;
        const int second = kind == 0 ? 4 : kind == 1 ? 5 : 3;
        const Matrix* reflect[3] = {&tg.reflectEF, &tg.reflectFV, &tg.reflectVE};
        const Matrix& r1 = *reflect[first - 3];
        const Matrix& r2 = *reflect[second - 3];
        Poly out;
        out.kind = kind;
        out.n = kind == 0   ? model.settings.genV
                : kind == 1 ? model.settings.genE
                            : model.settings.genF;
        out.centre = lookup(kind, M, point[kind]);
        Matrix R = M, next;
        for (int i = 0; i < out.n; ++i) {
            out.cornerA[i] = lookup(6, R, point[6]);
            out.sideA[i] = lookup(first, R, point[first]);
            dotM(next, R, r1);
            R = next;
            out.cornerB[i] = lookup(6, R, point[6]);
            out.sideB[i] = lookup(second, R, point[second]);
            dotM(next, R, r2);
            R = next;
        }
        return out;
    }

    bool quad(Quad& out, int kind, const Matrix& M) const {
        static const int side1[3] = {4, 5, 3}, side2[3] = {5, 3, 4};
        out.kind = kind;
        out.centre = lookup(6, M, point[6]);
        out.side1 = lookup(side1[kind], M, point[side1[kind]]);
        out.corner = lookup(kind, M, point[kind]);
        out.side2 = lookup(side2[kind], M, point[side2[kind]]);
        Point a, b;
        dotP(a, M, point[6]);
        dotP(b, M, point[kind]);
        midpoint(model.settings.gen, out.key, a, b);
        return out.centre >= 0 && out.side1 >= 0 && out.corner >= 0 && out.side2 >= 0;
    }
};

}  // namespace

Modules buildModules(const Group& g) {
    ModuleBuilder b{g};
    Modules m;
    const int whole = static_cast<int>(g.matrix.size());

    auto triKey = [&](const Tri& t) { return g.data[6][t.ref[6]].triPoint; };
    Tri t;
    if (b.tri(t, identity)) {
        m.tri.push_back(t);
        for (int i = 0; i < whole; ++i) {
            if (!b.tri(t, g.matrix[i])) continue;
            const Point key = triKey(t);
            const int found =
                halfFirst(m.tri, [&](const Tri& e) { return compareP(triKey(e), key); });
            if (found < 0) m.tri.insert(m.tri.begin() + (-found - 1), t);
        }
    }

    for (int kind = 0; kind < 3; ++kind) {
        std::vector<Poly>& table = m.poly[kind];
        auto key = [&](const Poly& p) { return g.data[kind][p.centre].triPoint; };
        Poly first = b.poly(kind, identity);
        if (first.centre < 0) continue;
        table.push_back(first);
        for (int i = 0; i < whole; ++i) {
            if (g.matrix[i].sign != 1) continue;
            const Poly p = b.poly(kind, g.matrix[i]);
            if (p.centre < 0) continue;
            const Point k = key(p);
            const int found = index(
                table, [&](const Poly& e) { return compareP(key(e), k); }, 0,
                static_cast<int>(table.size()));
            if (found < 0) table.insert(table.begin() + (-found - 1), p);
        }
    }

    for (int kind = 0; kind < 3; ++kind) {
        std::vector<Quad>& table = m.quad[kind];
        Quad q;
        if (!b.quad(q, kind, identity)) continue;
        table.push_back(q);
        for (int i = 0; i < whole; ++i) {
            if (!b.quad(q, kind, g.matrix[i])) continue;
            const int found = index(
                table, [&](const Quad& e) { return compareP(e.key, q.key); }, 0,
                static_cast<int>(table.size()));
            if (found < 0) table.insert(table.begin() + (-found - 1), q);
        }
    }
    return m;
}

}  // namespace reference
