#include "tiling/snub.h"

#include <algorithm>
#include <cmath>

#include "geometry/kernel.h"
#include "geometry/triangle_group.h"
#include "tiling/tables.h"

namespace {

using Triple = std::array<double, 3>;

// The geodesic distance from its chord: the chord of a short edge is exact to the last bits,
// where the arc cosine of a dot product near 1 is not.
double chordDistance(int gen, const Point& a, const Point& b) {
    const double dx = a.x - b.x, dy = a.y - b.y, dz = a.z - b.z;
    if (gen == 0) return std::sqrt(dx * dx + dy * dy);
    if (gen < 0) return 2 * std::asin(std::min(1.0, std::sqrt(dx * dx + dy * dy + dz * dz) / 2));
    return 2 * std::asinh(std::sqrt(std::max(0.0, dx * dx + dy * dy - dz * dz)) / 2);
}

struct Rotations {
    Matrix V, E, F;
};

Rotations rotations(const TriangleGroup& g) {
    Rotations r;
    smallM(r.V, g.bRotateV);
    smallM(r.E, g.bRotateE);
    smallM(r.F, g.bRotateF);
    return r;
}

Triple lengths(const Rotations& r, int gen, const Point& P) {
    return {chordDistance(gen, P, dotP(r.V, P)), chordDistance(gen, P, dotP(r.E, P)),
            chordDistance(gen, P, dotP(r.F, P))};
}

// The search over the barycentric weights (1 − b − c, b, c) of V, E, F.
struct Solver {
    const TriangleGroup& g;
    int gen;
    Triple L;
    Rotations rot;

    Point at(double b, double c) const {
        const double a = 1 - b - c;
        const Point& V = g.triV;
        const Point& E = g.triE;
        const Point& F = g.triF;
        Point P;
        normalize(gen, P,
                  {a * V.x + b * E.x + c * F.x, a * V.y + b * E.y + c * F.y,
                   a * V.z + b * E.z + c * F.z});
        return P;
    }

    // Shares minus proportions.
    Triple residual(double b, double c) const {
        const Triple e = lengths(rot, gen, at(b, c));
        const double sum = e[0] + e[1] + e[2];
        if (!(sum > 0)) return {INFINITY, INFINITY, INFINITY};
        return {e[0] / sum - L[0], e[1] / sum - L[1], e[2] / sum - L[2]};
    }

    static double squares(const Triple& r) { return r[0] * r[0] + r[1] * r[1] + r[2] * r[2]; }
    static double largest(const Triple& r) {
        return std::max({std::fabs(r[0]), std::fabs(r[1]), std::fabs(r[2])});
    }

    // The nearest point of the closed triangle b ≥ 0, c ≥ 0, b + c ≤ 1.
    static void clampToTriangle(double& b, double& c) {
        b = std::max(b, 0.0);
        c = std::max(c, 0.0);
        if (b + c > 1) {
            const double excess = (b + c - 1) / 2;
            b -= excess;
            c -= excess;
            if (b < 0) c = 1, b = 0;
            if (c < 0) b = 1, c = 0;
        }
    }
};

}  // namespace

std::array<double, 3> snubEdgeLengths(const TriangleGroup& g, int gen, const Point& P) {
    return lengths(rotations(g), gen, P);
}

double snubTolerance(int gen) {
    return gen == 0 ? 1e-9 : h;
}

namespace {

struct Candidate {
    double b, c;
    Triple r;
};

// Levenberg-Marquardt from (b, c): solve (JᵀJ + μ)·δ = −Jᵀr, with J by central differences,
// and pull the new point back into the triangle. A step that does not lower the sum of squares is
// refused and μ grows; an accepted one shrinks it, so near a solution the steps become Newton's
// and converge quadratically. μ is a multiple of the identity (not of JᵀJ's diagonal), so that a
// large μ gives a short step down the gradient, which stays a descent once pulled back.
Candidate refine(const Solver& s, double b, double c) {
    constexpr double kStep = 1e-7;
    constexpr int kIterations = 200;
    const double goal = snubTolerance(s.gen) * 1e-3;
    double lambda = 1e-3;
    Triple r = s.residual(b, c);
    for (int it = 0; it < kIterations && Solver::largest(r) > goal; ++it) {
        const Triple rb1 = s.residual(b + kStep, c), rb0 = s.residual(b - kStep, c);
        const Triple rc1 = s.residual(b, c + kStep), rc0 = s.residual(b, c - kStep);
        double a11 = 0, a12 = 0, a22 = 0, g1 = 0, g2 = 0;
        for (int k = 0; k < 3; ++k) {
            const double jb = (rb1[k] - rb0[k]) / (2 * kStep);
            const double jc = (rc1[k] - rc0[k]) / (2 * kStep);
            a11 += jb * jb;
            a12 += jb * jc;
            a22 += jc * jc;
            g1 += jb * r[k];
            g2 += jc * r[k];
        }
        bool accepted = false;
        for (; lambda < 1e12 && !accepted; lambda *= 10) {
            const double mu = lambda * (a11 + a22) / 2 + 1e-300;
            const double m11 = a11 + mu, m22 = a22 + mu;
            const double det = m11 * m22 - a12 * a12;
            if (!(det > 0)) continue;
            double nb = b - (m22 * g1 - a12 * g2) / det;
            double nc = c - (m11 * g2 - a12 * g1) / det;
            Solver::clampToTriangle(nb, nc);
            const Triple nr = s.residual(nb, nc);
            if (Solver::squares(nr) < Solver::squares(r)) {
                b = nb, c = nc, r = nr;
                lambda = std::max(lambda / 100, 1e-13);
                accepted = true;
            }
        }
        if (!accepted) break;  // no step lowers the squares: a (possibly constrained) minimum
    }
    return {b, c, r};
}

// The best point of the side from (b0, c0) to (b1, c1): a scan, then golden sections round the
// best sample. The squares are not smooth at the corners (an edge length there is a distance to
// the corner), where the steps of refine stall; the sides and corners are searched on their own.
Candidate bestOnSide(const Solver& s, double b0, double c0, double b1, double c1) {
    auto at = [&](double t) { return Candidate{b0 + (b1 - b0) * t, c0 + (c1 - c0) * t, {}}; };
    auto value = [&](double t) {
        const Candidate k = at(t);
        return Solver::squares(s.residual(k.b, k.c));
    };
    constexpr int kSamples = 64;
    int bestI = 0;
    double best = value(0);
    for (int i = 1; i <= kSamples; ++i) {
        const double v = value(double(i) / kSamples);
        if (v < best) best = v, bestI = i;
    }
    double lo = std::max(0, bestI - 1) / double(kSamples);
    double hi = std::min(kSamples, bestI + 1) / double(kSamples);
    const double golden = (std::sqrt(5.0) - 1) / 2;
    for (int i = 0; i < 80; ++i) {
        const double m1 = hi - golden * (hi - lo), m2 = lo + golden * (hi - lo);
        if (value(m1) < value(m2)) {
            hi = m2;
        } else {
            lo = m1;
        }
    }
    double t = (lo + hi) / 2;
    if (value(double(bestI) / kSamples) < value(t)) t = double(bestI) / kSamples;
    Candidate k = at(t);
    k.r = s.residual(k.b, k.c);
    return k;
}

}  // namespace

SnubSolution solveSnubPoint(const TriangleGroup& g, int gen, const std::array<double, 3>& L) {
    const Solver s{g, gen, L, rotations(g)};

    // Start from the best point of a scan of the triangle, corners and sides included.
    constexpr int kScan = 24;
    double b = 1.0 / 3, c = 1.0 / 3;
    double best = Solver::squares(s.residual(b, c));
    for (int i = 0; i <= kScan; ++i) {
        for (int j = 0; i + j <= kScan; ++j) {
            const double bi = double(i) / kScan, cj = double(j) / kScan;
            const double e = Solver::squares(s.residual(bi, cj));
            if (e < best) best = e, b = bi, c = cj;
        }
    }
    Candidate found = refine(s, b, c);

    // Out of reach: the nearest point may lie on a side or at a corner, where the steps stall.
    if (Solver::largest(found.r) > snubTolerance(gen)) {
        const Candidate sides[3] = {bestOnSide(s, 0, 0, 1, 0), bestOnSide(s, 1, 0, 0, 1),
                                    bestOnSide(s, 0, 1, 0, 0)};
        for (const Candidate& side : sides) {
            for (const Candidate& k : {side, refine(s, side.b, side.c)}) {
                if (Solver::squares(k.r) < Solver::squares(found.r)) found = k;
            }
        }
    }

    SnubSolution out;
    out.point = s.at(found.b, found.c);
    out.deviation = Solver::largest(found.r);
    out.exact = out.deviation <= snubTolerance(gen);
    return out;
}

int snubCorners(const PolyModule& record, bool mirror, const DataModule* corners[12]) {
    if (record.kind == kSnubKind) {
        if (!record.centre || (record.centre->matrix.sign > 0) != mirror) return 0;
        for (int i = 0; i < 3; ++i) corners[i] = record.cornerA[i];
        return 3;
    }
    const int n = std::clamp(record.n, 0, 12);
    for (int i = 0; i < n; ++i) corners[i] = mirror ? record.cornerB[i] : record.cornerA[i];
    return n;
}
