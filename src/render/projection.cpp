#include "render/projection.h"

#include <cmath>

#include "geometry/random.h"
#include "geometry/settings.h"
#include "platform/beep.h"

namespace {

ScreenPoint toScreen(double x, double y) {
    const ScreenPoint s{static_cast<float>(x), static_cast<float>(y)};
    // A co-ordinate beyond the float range would become an infinity; −∞ would pass validQ.
    if (!std::isfinite(s.x) || !std::isfinite(s.y)) return offView;
    return s;
}

// Rounds halves away from zero; 0 for NaN.
double roundTurns(double phi) {
    if (std::isnan(phi)) return 0;
    return phi >= 0 ? std::trunc(phi + 0.5) : std::trunc(phi - 0.5);
}

Point normalized(int gen, double x, double y, double z) {
    Point out;
    normalize(gen, out, Point{x, y, z});
    return out;
}

// The u of the x-axis choices 4 and 5 on the sphere and the hyperbolic plane: Newton steps on
// g(u) = A(u) − r2·E(u), stopping after 100 steps or when a step moves u by at most 1e-12; the
// answer is the u that last step started from. `converged` tells which way it stopped.
double newtonU(int choice, bool sphere, double r2, bool& converged) {
    const bool four = choice == 4;
    double u = four ? 1 : 0;
    double start = u;
    converged = false;
    for (int i = 0; i < 100; ++i) {
        start = u;
        const double A = sphere ? 1 - u * u : 1 + u * u;
        const double E = std::exp(four ? -2 * u : 2 * u);
        double D;
        if (four) {
            D = sphere ? -2 * (1 - u - u * u) : -2 * (u * u + u + 1);
        } else {
            D = sphere ? 2 * (1 + u - u * u) : 2 * (u * u - u + 1);
        }
        u = start + (A - r2 * E) / D;
        if (!(std::fabs(u - start) > 1e-12)) {
            converged = true;
            break;
        }
    }
    return start;
}

// On the hyperbolic plane (1 + u²)·e^(±2u) = r2 has exactly one root for every r2 > 0, but the
// steps above crawl towards it by about 1/2 per step from far out (r2 in the thousands), so at
// large radii they stop short at a wrong u. There the root is found by bisection on
// log(1 + u²) ± 2u − log r2, whose slope lies between 1 and 3.
double bisectU(int choice, double r2) {
    const double sign = choice == 4 ? 1 : -1;
    const double target = std::log(r2);
    auto f = [&](double u) { return std::log1p(u * u) + sign * 2 * u - target; };
    const double up = sign;  // f grows in this direction
    double lo = -up, hi = up;
    for (int i = 0; i < 64 && f(lo) > 0; ++i) lo *= 2;
    for (int i = 0; i < 64 && f(hi) < 0; ++i) hi *= 2;
    for (int i = 0; i < 200; ++i) {
        const double mid = (lo + hi) / 2;
        if (mid == lo || mid == hi) break;
        (f(mid) < 0 ? lo : hi) = mid;
    }
    return (lo + hi) / 2;
}

double solveU(int choice, bool sphere, double r2) {
    bool converged;
    const double u = newtonU(choice, sphere, r2, converged);
    if (converged || sphere || !(r2 > 0) || !std::isfinite(r2)) return u;
    return bisectU(choice, r2);
}

}  // namespace

ScreenPoint projXYSelf(const Settings& settings, const Point& p) {
    Point q;
    dotP(q, settings.pointMatrix, p);
    const double x = q.x, y = q.y, z = q.z;
    const int gen = settings.gen;
    switch (settings.project3D2D) {
        case 0:
            return toScreen(x, y);
        case 1:
            if (h > z && h > -z) return offView;
            return toScreen(x / z, y / z);
        case 2: {
            const double w = z + 1;
            if (h > w && h > -w) return offView;
            return toScreen(x / w, y / w);
        }
        case 3:
            if (gen < 0) return toScreen(y, z);
            if (gen == 0) return toScreen(std::sin(y), std::cos(y));
            {
                const double R = std::sqrt(x * x + 1), t = std::atanh(y / z);
                return toScreen(R * std::sin(t), R * std::cos(t));
            }
        case 4:
        case 5: {
            const double e = std::exp(settings.project3D2D == 4 ? x : -x);
            if (gen < 0) return toScreen(y * e, z * e);
            if (gen == 0) return toScreen(e * std::sin(y), e * std::cos(y));
            const double R = std::sqrt(x * x + 1) * e;
            if (R > kOffModel) return offView;
            const double t = std::atanh(y / z);
            return toScreen(R * std::sin(t), R * std::cos(t));
        }
        default:
            return offView;
    }
}

ScreenPoint projXYMirror(const Settings& settings, const Point& p) {
    return invertedImage(projXYSelf(settings, p));
}

Point projInv(const Settings& settings, float fx, float fy, const Point* reference) {
    const double sx = fx, sy = fy;
    const double r2 = sx * sx + sy * sy;
    const double rho = std::sqrt(r2);
    const double theta = std::atan2(sx, sy);
    const int gen = settings.gen;
    const int choice = settings.project3D2D;

    if (h * h > r2) {
        if (settings.mouseMode == 1 || (choice >= 3 && gen >= 0)) {
            beep();
            return offModel;
        }
    }

    // The angle of the periodic rows, taken on the turn nearest the reference.
    auto wound = [&](double phi) { return theta + 2 * PI * roundTurns(phi); };

    switch (choice) {
        case 0:
            if (gen < 0) {
                if (r2 <= 1) return {sx, sy, std::sqrt(1 - r2)};
                return {sx / r2, sy / r2, std::sqrt(1 - 1 / r2)};
            }
            if (gen == 0) return {sx, sy, 1};
            return {sx, sy, std::sqrt(r2 + 1)};
        case 1:
            if (gen < 0) return normalized(gen, sx, sy, 1);
            if (gen == 0) return {sx, sy, 1};
            if (r2 > 1) return normalized(gen, sx / r2, sy / r2, 1);
            return normalized(gen, sx, sy, 1);
        case 2:
            if (gen < 0) return normalized(gen, 2 * sx, 2 * sy, 1 - r2);
            if (gen == 0) return {2 * sx, 2 * sy, 1};
            return normalized(gen, 2 * sx, 2 * sy, 1 + r2);
        case 3:
            if (gen < 0) {
                if (r2 <= 1) return {std::sqrt(1 - r2), sx, sy};
                return {std::sqrt(1 - 1 / r2), sx / r2, sy / r2};
            }
            if (gen == 0) {
                const double u = ranDouble();
                const double t = reference ? wound((reference->y - theta) / (2 * PI)) : theta;
                return {2 * u - 1, t, 1};
            }
            {
                double t = theta;
                if (reference) {
                    const double d = reference->y - theta;
                    t = wound(std::asinh(r2 < 1 ? d * rho : d / rho) / (2 * PI));
                }
                if (r2 >= 1) return {std::sqrt(r2 - 1), rho * std::sinh(t), rho * std::cosh(t)};
                return {std::sqrt(1 / r2 - 1), std::sinh(t) / rho, std::cosh(t) / rho};
            }
        case 4:
        case 5: {
            if (gen == 0) {
                const double t = reference ? wound((reference->y - theta) / (2 * PI)) : theta;
                const double l = std::log(rho);
                return {choice == 4 ? l : -l, t, 1};
            }
            const bool sphere = gen < 0;
            const double u = solveU(choice, sphere, r2);
            if (sphere) {
                const double R = u <= 1 ? std::sqrt(1 - u * u) : std::sqrt(1 - 1 / (u * u));
                return {u, R * std::sin(theta), R * std::cos(theta)};
            }
            const double R = std::sqrt(1 + u * u);
            const double t =
                reference ? wound(std::asinh((reference->y - theta) / R) / (2 * PI)) : theta;
            return {u, R * std::sinh(t), R * std::cosh(t)};
        }
        default:
            return offModel;
    }
}
