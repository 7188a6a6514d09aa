#include "tiling/describe.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <iterator>
#include <map>

#include "geometry/settings.h"
#include "geometry/triangle_group.h"
#include "tiling/snub.h"

// The Wythoff construction, combinatorially. The reflection group of the triangle (p, q, r) has
// the dihedral group of order 2n at a corner of angle π/n. The tiling has one face about each
// corner X that P is not on: the orbit of P under that corner's dihedral group, an n-gon when P
// lies on one of the two mirrors through X, a 2n-gon when it lies on neither. A vertex of the
// tiling is an image of P, its stabiliser of order 1 (P inside), 2 (P on one side) or 2n (P at
// a corner of angle π/n); each edge joins P to its mirror image in a side that P is not on.
//
// Going once round P through the triangles that touch it:
//   P inside:         V, E, F              2p.2q.2r
//   P on side VE:     V, F, E, F′          p.2r.q.2r   (likewise on EF and FV)
//   P at corner V:    (E, F) p times       (q.r)^p
// A face of two sides is the same edge walked there and back, so it is dropped. The one
// exception is P at the pole of a (2, 2, n) triangle, where every face round P has two sides:
// its image is the antipode, and the tiling is the hosohedron n | 2 2 of n lunes (2^n), one
// lune for each pair of two-sided faces met going round.

namespace {

constexpr double kZero = 1e-9;  // a proportion at most this counts as 0

enum Corner { V = 0, E = 1, F = 2 };

struct Face {
    Corner corner;
    int sides;
};

std::string joined(const std::vector<int>& numbers, const char* separator) {
    std::string s;
    for (int n : numbers) {
        if (!s.empty()) s += separator;
        s += std::to_string(n);
    }
    return s;
}

// Ascending, with spaces.
std::string group(std::vector<int> numbers) {
    std::sort(numbers.begin(), numbers.end());
    return joined(numbers, " ");
}

// The smallest of the cycle's rotations and reflections, compared number by number.
std::vector<int> smallestCycle(const std::vector<int>& cycle) {
    std::vector<int> best = cycle;
    const std::size_t k = cycle.size();
    for (int reflect = 0; reflect < 2; ++reflect) {
        std::vector<int> c = cycle;
        if (reflect) std::reverse(c.begin(), c.end());
        for (std::size_t shift = 0; shift < k; ++shift) {
            std::rotate(c.begin(), c.begin() + 1, c.end());
            best = std::min(best, c);
        }
    }
    return best;
}

// ---- Names.

// The adjective of a regular n-gon: "triangular", "square", "pentagonal" …
std::optional<std::string> gonal(int n) {
    static constexpr char names[][16] = {
        "digonal",        "triangular",    "square",         "pentagonal",     "hexagonal",
        "heptagonal",     "octagonal",     "enneagonal",     "decagonal",      "hendecagonal",
        "dodecagonal",    "tridecagonal",  "tetradecagonal", "pentadecagonal", "hexadecagonal",
        "heptadecagonal", "octadecagonal", "enneadecagonal", "icosagonal",     "icosihenagonal",
        "icosidigonal",   "icositrigonal", "icositetragonal"};
    if (n < 2 || n >= 2 + int(std::size(names))) return std::nullopt;
    return std::string(names[n - 2]);
}

// The numeral prefix of the compound names of the hyperbolic tilings: "tri" in
// "triheptagonal", "tetra" in "tetrapentagonal". Kept to the polygons whose compound names are
// in use.
std::optional<std::string> prefix(int n) {
    static constexpr char names[][8] = {"tri",  "tetra", "penta", "hexa",    "hepta",
                                        "octa", "ennea", "deca",  "hendeca", "dodeca"};
    if (n < 3 || n > 12) return std::nullopt;
    return std::string(names[n - 3]);
}

// The compound "triheptagonal" of an a-gon and a b-gon, a < b; "tetragonal" stands for the
// square inside a compound.
std::optional<std::string> compound(int a, int b) {
    const auto first = prefix(a);
    const auto second = b == 4 ? std::optional<std::string>("tetragonal") : gonal(b);
    if (!first || !second || b > 12) return std::nullopt;
    return *first + *second;
}

// A named vertex configuration, written as configurationText writes it.
struct Named {
    char cycle[16];
    char name[32];
};

template <std::size_t N>
std::optional<std::string> lookUp(const Named (&table)[N], const std::vector<int>& c) {
    const std::string key = joined(c, ".");
    for (const Named& n : table)
        if (key == n.cycle) return std::string(n.name);
    return std::nullopt;
}

std::optional<std::string> sphereName(const std::vector<int>& c) {
    static constexpr Named solids[] = {
        {"3.3.3", "tetrahedron"},
        {"3.3.3.3", "octahedron"},
        {"4.4.4", "cube"},
        {"3.3.3.3.3", "icosahedron"},
        {"5.5.5", "dodecahedron"},
        {"3.4.3.4", "cuboctahedron"},
        {"3.5.3.5", "icosidodecahedron"},
        {"3.6.6", "truncated tetrahedron"},
        {"4.6.6", "truncated octahedron"},
        {"3.8.8", "truncated cube"},
        {"5.6.6", "truncated icosahedron"},
        {"3.10.10", "truncated dodecahedron"},
        {"3.4.4.4", "rhombicuboctahedron"},
        {"3.4.5.4", "rhombicosidodecahedron"},
        {"4.6.8", "truncated cuboctahedron"},
        {"4.6.10", "truncated icosidodecahedron"},
        {"3.3.3.3.4", "snub cube"},
        {"3.3.3.3.5", "snub dodecahedron"},
    };
    if (const auto name = lookUp(solids, c)) return name;
    // Antiprisms 3.3.3.n; the triangular one is the octahedron, found above.
    if (c.size() == 4 && c[0] == 3 && c[1] == 3 && c[2] == 3 && c[3] > 3) {
        if (const auto g = gonal(c[3])) return *g + " antiprism";
    }
    // Prisms 4.4.n and 3.4.4; the square prism is the cube, found above.
    if (c.size() == 3 && c[0] == 3 && c[1] == 4 && c[2] == 4) return "triangular prism";
    if (c.size() == 3 && c[0] == 4 && c[1] == 4) {
        if (const auto g = gonal(c[2])) return *g + " prism";
    }
    // The n lunes of a hosohedron 2.2.….2 (the digonal one is a dihedron too), the two faces of
    // a dihedron n.n.
    if (std::all_of(c.begin(), c.end(), [](int n) { return n == 2; })) {
        if (const auto g = gonal(int(c.size()))) return *g + " hosohedron";
    }
    if (c.size() == 2 && c[0] == c[1]) {
        if (const auto g = gonal(c[0])) return *g + " dihedron";
    }
    return std::nullopt;
}

std::optional<std::string> planeName(const std::vector<int>& c) {
    static constexpr Named tilings[] = {
        {"3.3.3.3.3.3", "triangular tiling"},
        {"4.4.4.4", "square tiling"},
        {"6.6.6", "hexagonal tiling"},
        {"3.6.3.6", "trihexagonal tiling"},
        {"4.8.8", "truncated square tiling"},
        {"3.12.12", "truncated hexagonal tiling"},
        {"3.4.6.4", "rhombitrihexagonal tiling"},
        {"4.6.12", "truncated trihexagonal tiling"},
        {"3.3.4.3.4", "snub square tiling"},
        {"3.3.3.3.6", "snub trihexagonal tiling"},
    };
    return lookUp(tilings, c);
}

// The usual names of the Wythoffian tilings of the families {a, b}: "order-7 triangular
// tiling" {3,7}, "heptagonal tiling" {7,3}, "truncated order-4 pentagonal tiling" t{5,4},
// "triheptagonal tiling" r{7,3}, "rhombitriheptagonal tiling" rr{7,3}, "truncated triheptagonal
// tiling" tr{7,3}. The tests on the cycle go from the most special to the most general, so that
// a tiling of two families ({4,8}'s 8.8.8 is {8,3}) gets the regular name.
std::optional<std::string> hyperbolicName(const std::vector<int>& c) {
    const std::size_t k = c.size();
    auto regular = [](int a, int b) -> std::optional<std::string> {
        const auto g = gonal(a);
        if (!g) return std::nullopt;
        if (b == 3) return *g + " tiling";
        return "order-" + std::to_string(b) + " " + *g + " tiling";
    };
    // {a, k}: k a-gons round every vertex.
    if (k >= 3 && std::all_of(c.begin(), c.end(), [&](int n) { return n == c[0]; })) {
        return regular(c[0], int(k));
    }
    // r{a, b}: a.b.a.b.
    if (k == 4 && c[0] == c[2] && c[1] == c[3]) {
        if (const auto name = compound(c[0], c[1])) return *name + " tiling";
        return std::nullopt;
    }
    if (k == 3) {
        // t{b, a}: a.2b.2b, written with the single face first or last.
        int single = 0, twice = 0;
        if (c[1] == c[2]) single = c[0], twice = c[1];
        if (c[0] == c[1]) single = c[2], twice = c[0];
        if (twice != 0 && twice % 2 == 0 && twice >= 6) {
            if (const auto t = regular(twice / 2, single)) return "truncated " + *t;
            return std::nullopt;
        }
        // tr{a, b}: 4.2a.2b.
        if (c[0] == 4 && c[1] % 2 == 0 && c[2] % 2 == 0 && c[1] >= 6) {
            if (const auto name = compound(c[1] / 2, c[2] / 2))
                return "truncated " + *name + " tiling";
        }
        return std::nullopt;
    }
    // rr{a, b}: a.4.b.4.
    if (k == 4) {
        for (std::size_t i = 0; i < 2; ++i) {
            if (c[i + 1] == 4 && c[(i + 3) % 4] == 4) {
                const int a = std::min(c[i], c[i + 2]), b = std::max(c[i], c[i + 2]);
                if (const auto name = compound(a, b)) return "rhombi" + *name + " tiling";
            }
        }
    }
    return std::nullopt;
}

// The snub of (2, q, p), p ≥ q ≥ 3, named after the regular tiling {p, q} it is the snub of:
// "snub order-4 pentagonal tiling", "snub heptagonal tiling" (order 3 goes unsaid, as for the
// regular tilings). Snubs of triangles without a right angle have no such name.
std::optional<std::string> snubHyperbolicName(int p, int q, int r) {
    std::vector<int> n = {p, q, r};
    std::sort(n.begin(), n.end());
    if (n[0] != 2 || n[1] < 3) return std::nullopt;
    const auto g = gonal(n[2]);
    if (!g) return std::nullopt;
    // Built by appending: GCC 12 misreads literal + temporary string as an overlapping copy.
    std::string name = "snub ";
    if (n[1] != 3) {
        name += "order-";
        name += std::to_string(n[1]);
        name += ' ';
    }
    name += *g;
    name += " tiling";
    return name;
}

// Coxeter's [a,b] for a right-angled triangle, else the triangle group; the orbifold lists its
// corner orders from the largest down, with dots between them once one has two digits.
void setSymmetry(Description& d, int p, int q, int r) {
    std::vector<int> down = {p, q, r};
    std::sort(down.begin(), down.end(), std::greater<>());
    // Built by appending to fresh strings: GCC 12 misreads literal + temporary string, and
    // assignments of literals here, as overlapping copies.
    std::string coxeter, orbifold(1, '*');
    if (down[2] == 2) {
        coxeter += '[';
        coxeter += std::to_string(down[0]);
        coxeter += ',';
        coxeter += std::to_string(down[1]);
        coxeter += ']';
    } else {
        coxeter += '(';
        coxeter += group(down);
        coxeter += ')';
    }
    orbifold += joined(down, down[0] >= 10 ? "." : "");
    d.coxeter = std::move(coxeter);
    d.orbifold = std::move(orbifold);
}

}  // namespace

std::string configurationText(const std::vector<int>& configuration) {
    return joined(configuration, ".");
}

Description describeTiling(int p, int q, int r, double lengthV, double lengthE, double lengthF) {
    Description d;
    d.generators = {p, q, r};
    d.lengths = {lengthV, lengthE, lengthF};
    const long gen = long(p) * q * r - long(p) * q - long(q) * r - long(r) * p;
    d.geometry = gen < 0 ? "sphere" : gen == 0 ? "plane" : "hyperbolic";

    // Which sides P lies on. Three zero shares are no picture: read them as equal shares.
    bool zero[3] = {!(lengthV > kZero), !(lengthE > kZero), !(lengthF > kZero)};
    if (zero[V] && zero[E] && zero[F]) zero[V] = zero[E] = zero[F] = false;
    const int n[3] = {p, q, r};
    // The mirrors through a corner are the two sides that meet there: P lies on side EF when
    // lengthV is 0, on FV when lengthE is 0, on VE when lengthF is 0.
    const int onMirrors[3] = {zero[E] + zero[F], zero[F] + zero[V], zero[V] + zero[E]};
    auto face = [&](Corner x) { return Face{x, n[x] * (2 - onMirrors[x])}; };

    std::vector<Face> round;
    const int zeros = zero[V] + zero[E] + zero[F];
    if (zeros == 0) {
        d.wythoff = group({p, q, r}) + " |";
        round = {face(V), face(E), face(F)};
    } else if (zeros == 1) {
        // P lies on the side opposite the corner whose share vanishes (lengthF = 0: on VE); the
        // side's two corners stand left of the bar.
        const Corner off = zero[V] ? V : zero[E] ? E : F;
        const Corner a = Corner((off + 1) % 3), b = Corner((off + 2) % 3);
        d.wythoff = group({n[a], n[b]}) + " | " + std::to_string(n[off]);
        round = {face(a), face(off), face(b), face(off)};
    } else {
        const Corner at = !zero[V] ? V : !zero[E] ? E : F;
        const Corner a = Corner((at + 1) % 3), b = Corner((at + 2) % 3);
        d.wythoff = std::to_string(n[at]) + " | " + group({n[a], n[b]});
        for (int i = 0; i < n[at]; ++i) {
            round.push_back(face(a));
            round.push_back(face(b));
        }
    }

    const bool allDigons =
        std::all_of(round.begin(), round.end(), [](const Face& f) { return f.sides == 2; });
    std::vector<int> cycle;
    bool kept[3] = {false, false, false};
    for (const Face& f : round) {
        if (allDigons) {
            if (f.corner != round.front().corner) continue;
        } else if (f.sides == 2) {
            continue;
        }
        cycle.push_back(f.sides);
        kept[f.corner] = true;
    }
    d.vertexConfiguration = smallestCycle(cycle);

    double lo = 2, hi = -1;
    for (double length : d.lengths) {
        if (!(length > kZero)) continue;
        lo = std::min(lo, length);
        hi = std::max(hi, length);
    }
    d.uniform = hi - lo <= kZero;

    if (gen < 0 && std::min({p, q, r}) >= 2) {  // orders below 2 make no group
        // The order of the whole group: 4 / (1/p + 1/q + 1/r − 1).
        const long order = 4L * p * q * r / -gen;
        const long stabiliser = zeros == 0   ? 1
                                : zeros == 1 ? 2
                                             : 2L * n[!zero[V]   ? V
                                                      : !zero[E] ? E
                                                                 : F];
        PolyhedronCounts c;
        c.vertices = order / stabiliser;
        c.edges = c.vertices * long(cycle.size()) / 2;
        std::map<int, long> bySides;
        for (Corner x : {V, E, F}) {
            if (kept[x]) bySides[face(x).sides] += order / (2L * n[x]);
        }
        for (const auto& [sides, count] : bySides) {
            c.facesBySides.push_back({sides, count});
            c.faces += count;
        }
        d.counts = c;
        d.name = sphereName(d.vertexConfiguration);
    } else if (gen == 0) {
        d.name = planeName(d.vertexConfiguration);
    } else {
        d.name = hyperbolicName(d.vertexConfiguration);
    }

    setSymmetry(d, p, q, r);
    return d;
}

Description describeSnub(int p, int q, int r, double lengthV, double lengthE, double lengthF) {
    Description d;
    d.generators = {p, q, r};
    d.lengths = {lengthV, lengthE, lengthF};
    const long gen = long(p) * q * r - long(p) * q - long(q) * r - long(r) * p;
    d.geometry = gen < 0 ? "sphere" : gen == 0 ? "plane" : "hyperbolic";
    d.wythoff = "| ";
    d.wythoff += group({p, q, r});

    // 3.p.3.q.3.r with the 2-gons dropped.
    std::vector<int> cycle;
    for (int n : {p, q, r}) {
        cycle.push_back(3);
        if (n > 2) cycle.push_back(n);
    }
    d.vertexConfiguration = smallestCycle(cycle);

    // P placed as the picture places it; proportions that are not usable count as equal.
    std::array<double, 3> L = {lengthV, lengthE, lengthF};
    const double sum = L[0] + L[1] + L[2];
    const bool usable = std::all_of(L.begin(), L.end(), [](double l) { return l >= 0; }) &&
                        sum > 0 && std::isfinite(sum);
    for (double& l : L) l = usable ? l / sum : 1.0 / 3;
    if (std::min({p, q, r}) >= 2) {
        Settings settings;
        settings.genV = p, settings.genE = q, settings.genF = r;
        setGenType(settings);
        TriangleGroup g;
        setTriangle(g, settings);
        d.nearest = !solveSnubPoint(g, settings.gen, L).exact;
    }
    d.uniform = !d.nearest && std::max({L[0], L[1], L[2]}) - std::min({L[0], L[1], L[2]}) <= kZero;

    if (gen < 0 && std::min({p, q, r}) >= 2) {
        // Vertices: the rotations, half the group; faces: an n-gon round each image of a corner
        // of order n ≥ 3, and a snub triangle for each vertex.
        const long order = 4L * p * q * r / -gen;
        PolyhedronCounts c;
        c.vertices = order / 2;
        c.edges = c.vertices * long(cycle.size()) / 2;
        std::map<int, long> bySides;
        bySides[3] += order / 2;
        for (int n : {p, q, r}) {
            if (n > 2) bySides[n] += order / (2L * n);
        }
        for (const auto& [sides, count] : bySides) {
            c.facesBySides.push_back({sides, count});
            c.faces += count;
        }
        d.counts = c;
        d.name = sphereName(d.vertexConfiguration);
    } else if (gen == 0) {
        d.name = planeName(d.vertexConfiguration);
    } else {
        d.name = snubHyperbolicName(p, q, r);
    }
    // The snub keeps the rotations only: [p,q]⁺, and the orbifold without its mirrors.
    setSymmetry(d, p, q, r);
    d.coxeter += "+";
    d.orbifold.erase(0, 1);
    return d;
}

std::string captionText(const Description& d) {
    const char* const dot = " \u00b7 ";
    std::string s = configurationText(d.vertexConfiguration) + dot + d.wythoff;
    if (d.name) s += dot + *d.name;
    if (!d.uniform) s += d.name ? ", not uniform" : std::string(dot) + "not uniform";
    if (d.nearest) {
        s += dot;
        s += "proportions out of reach: nearest point";
    }
    if (d.counts) {
        s += dot + std::to_string(d.counts->vertices) + " vertices, " +
             std::to_string(d.counts->edges) + " edges, " + std::to_string(d.counts->faces) +
             " faces";
    } else {
        s += dot + d.coxeter + " (" + d.orbifold + ")";
    }
    return s;
}
