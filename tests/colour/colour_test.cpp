#include "colour/colour.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <tuple>
#include <vector>

#include "geometry/kernel.h"
#include "geometry/random.h"
#include "geometry/settings.h"

namespace {

void resetColour() {
    settings = Settings{};
    colourState = ColourState{};
    initColorMatrices();
}

BColor schemeAt(int scheme, int type, const Point& q) {
    DataModule record;
    record.triPoint = q;
    colourState.type = type;
    colourState.color = BColor{};
    schemeColor(scheme, record, familyOfType(type) >= kTriFace);
    return colourState.color;
}

void expectColor(const BColor& got, const BColor& want, float tolerance = 1e-6f) {
    EXPECT_NEAR(got.r, want.r, tolerance);
    EXPECT_NEAR(got.g, want.g, tolerance);
    EXPECT_NEAR(got.b, want.b, tolerance);
}

// A few points of the model surface of each geometry, away from the origin.
std::vector<Point> surfacePoints(int gen) {
    std::vector<Point> points;
    settings.gen = gen;
    for (auto [x, y] : {std::pair{0.3, -0.2}, {-0.7, 0.4}, {0.05, 0.9}, {1.5, -1.1}}) {
        Point p{x, y, gen < 0 ? 0.0 : 1.0};
        if (gen < 0) p = Point{x * 0.5, y * 0.5, 0.6};
        if (gen > 0) p.z = std::sqrt(1 + x * x + y * y);
        Point n;
        normalize(n, p);
        points.push_back(gen > 0 ? p : n);
    }
    return points;
}

// A motion of the geometry that moves the origin: the translation to a surface point, turned
// about the z axis.
Matrix someMotion(int gen) {
    settings.gen = gen;
    Point target = surfacePoints(gen)[1];
    Matrix t, r;
    translateM(t, target);
    rotateMXY(r, Point{0.6, 0.8, 1}, Point{1, 0, 1});
    return dotM(r, t);
}

}  // namespace

TEST(ColourMatrices, LaunchMatricesCarryTheOriginOntoTheirAxes) {
    resetColour();
    const Matrix& t1 = colourState.colorMatrixLow;
    const double r3 = 1 / std::sqrt(3.0);
    const double rows[9] = {0.788675, -0.211325, r3, -0.211325, 0.788675, r3, -r3, -r3, r3};
    const double got[9] = {t1.m00, t1.m01, t1.m02, t1.m10, t1.m11, t1.m12, t1.m20, t1.m21, t1.m22};
    for (int i = 0; i < 9; ++i) EXPECT_NEAR(got[i], rows[i], 1e-6) << "entry " << i;

    const Matrix& t2 = colourState.colorMatrixHigh[0];
    const double r2 = 1 / std::sqrt(2.0);
    const double rows2[9] = {0.5, 0.5, r2, 0.5, 0.5, -r2, -r2, r2, 0};
    const double got2[9] = {t2.m00, t2.m01, t2.m02, t2.m10, t2.m11, t2.m12, t2.m20, t2.m21, t2.m22};
    for (int i = 0; i < 9; ++i) EXPECT_NEAR(got2[i], rows2[i], 1e-12) << "entry " << i;

    // Types carrying N have orientation −1, the others +1.
    for (int t = 0; t < kTypeCount; ++t) {
        SCOPED_TRACE(t);
        bool inverted = t == 7 || t == 8 || t >= 10;
        EXPECT_EQ(colourState.colorMatrixHigh[t].sign, inverted ? -1.0 : 1.0);
    }
    for (int f = 0; f < kFamilyCount; ++f) EXPECT_TRUE(equalsM(familyMatrix(f), identity));
}

TEST(ColourMatrices, OffsetMatrixTurnsHueAboutTheGreyAxis) {
    const double third = 2 * PI / 3;
    Matrix m = offsetMatrix(third);
    Point red{1, 0, 0}, grey{1, 1, 1}, out;
    dotP(out, m, red);
    EXPECT_NEAR(out.x, 0, 1e-12);
    EXPECT_NEAR(out.y, 1, 1e-12);
    EXPECT_NEAR(out.z, 0, 1e-12);
    for (double theta : {0.0, 0.4, third, 2.5, 2 * PI}) {
        SCOPED_TRACE(theta);
        dotP(out, offsetMatrix(theta), grey);
        EXPECT_NEAR(out.x, 1, 1e-12);
        EXPECT_NEAR(out.y, 1, 1e-12);
        EXPECT_NEAR(out.z, 1, 1e-12);
        // A rotation: the rows are orthonormal.
        Matrix r = offsetMatrix(theta), t;
        Matrix rt{1, r.m00, r.m10, r.m20, r.m01, r.m11, r.m21, r.m02, r.m12, r.m22};
        dotM(t, r, rt);
        EXPECT_TRUE(equalsM(t, identity));
    }
}

TEST(ColourMatrices, TranslateMColorCarriesTheOriginToItsVector) {
    for (Point v : {Point{1, 1, 1}, Point{1, -1, 0}, Point{0.2, -0.5, -0.6}}) {
        Point u, out;
        normalizeColor(u, v);
        EXPECT_NEAR(lengthColor(u), 1, 1e-15);
        Matrix m;
        translateMColor(m, u);
        dotP(out, m, Point{0, 0, 1});
        EXPECT_NEAR(out.x, u.x, 1e-12);
        EXPECT_NEAR(out.y, u.y, 1e-12);
        EXPECT_NEAR(out.z, u.z, 1e-12);
    }
}

TEST(PositionColours, OriginColoursOfEveryTypeUnderBothRainbowSchemes) {
    resetColour();
    const Point origin{0, 0, 1};
    const BColor red{1, 0, 0.5f}, green{0.5f, 1, 0}, blue{0, 0.5f, 1}, white{1, 1, 1},
        black{0, 0, 0}, cyan{0, 1, 0.5f}, violet{0.5f, 0, 1}, orange{1, 0.5f, 0};
    const BColor high[kTypeCount] = {red,   green, blue, red,    green,  blue, white,  black,
                                     black, white, cyan, violet, orange, cyan, violet, orange};
    for (int t = 0; t < kTypeCount; ++t) {
        SCOPED_TRACE(testing::Message() << "type " << t);
        expectColor(schemeAt(3, t, origin), high[t]);
        expectColor(schemeAt(4, t, origin), white);
    }
}

TEST(PositionColours, OffsetOfTwoThirdsTurnsRedIntoGreenAndTwoGivesItBack) {
    for (int gen : {-1, 0, 1}) {
        resetColour();
        std::vector<Point> points = surfacePoints(gen);
        points.push_back(Point{0, 0, 1});
        for (int t = 0; t < kTypeCount; ++t) {
            for (const Point& q : points) {
                SCOPED_TRACE(testing::Message() << "gen " << gen << " type " << t << " at " << q.x
                                                << "," << q.y << "," << q.z);
                resetColour();
                settings.gen = gen;
                BColor plain = schemeAt(3, t, q);
                BColor low = schemeAt(4, t, q);

                settings.polyFaceOffset = settings.polyEdgeOffset = settings.polyVertOffset =
                    2.0 / 3;
                settings.triFaceOffset = settings.triEdgeOffset = settings.triVertOffset = 2.0 / 3;
                setOffsetMatrices();
                // Red becomes green, green blue, blue red.
                expectColor(schemeAt(3, t, q), BColor{plain.b, plain.r, plain.g}, 1e-6f);
                expectColor(schemeAt(4, t, q), BColor{low.b, low.r, low.g}, 1e-6f);

                settings.polyFaceOffset = settings.polyEdgeOffset = settings.polyVertOffset = 2;
                settings.triFaceOffset = settings.triEdgeOffset = settings.triVertOffset = 2;
                setOffsetMatrices();
                expectColor(schemeAt(3, t, q), plain, 1e-6f);
            }
        }
    }
}

TEST(PositionColours, OffsetActsOnlyOnItsOwnFamily) {
    resetColour();
    const Point q{0.3, -0.4, std::sqrt(0.75)};
    settings.gen = -1;
    BColor before[kTypeCount];
    for (int t = 0; t < kTypeCount; ++t) before[t] = schemeAt(3, t, q);
    settings.triEdgeOffset = 0.5;
    setOffsetMatrix(kTriEdge);
    for (int t = 0; t < kTypeCount; ++t) {
        SCOPED_TRACE(t);
        BColor now = schemeAt(3, t, q);
        if (familyOfType(t) == kTriEdge) {
            EXPECT_FALSE(now == before[t]);
        } else {
            EXPECT_TRUE(now == before[t]);
        }
    }
}

TEST(PositionColours, LieOnTheCubeSurfaceAndComplementAcrossLayers) {
    for (int gen : {-1, 0, 1}) {
        resetColour();
        std::vector<Point> points = surfacePoints(gen);
        settings.pointMatrix = someMotion(gen);
        settings.colorMatrix = offsetMatrix(0.7);
        for (const Point& q : points) {
            for (int scheme : {3, 4}) {
                for (int t = 0; t < kTypeCount; ++t) {
                    SCOPED_TRACE(testing::Message()
                                 << "gen " << gen << " scheme " << scheme << " type " << t);
                    BColor c = schemeAt(scheme, t, q);
                    bool onFace = false;
                    for (float v : {c.r, c.g, c.b}) {
                        EXPECT_GE(v, 0.0f);
                        EXPECT_LE(v, 1.0f);
                        onFace = onFace || v == 0.0f || v == 1.0f;
                    }
                    EXPECT_TRUE(onFace);
                }
            }
            // Tri edges and vertices complement poly edges and faces; the two orientations of
            // tri faces and of poly vertices complement each other.
            for (auto [a, b] :
                 {std::pair{10, 3}, {11, 4}, {12, 5}, {13, 0}, {14, 1}, {15, 2}, {8, 9}, {6, 7}}) {
                SCOPED_TRACE(testing::Message() << "types " << a << " and " << b);
                BColor ca = schemeAt(3, a, q), cb = schemeAt(3, b, q);
                expectColor(ca, BColor{1 - cb.r, 1 - cb.g, 1 - cb.b});
            }
        }
    }
}

TEST(PositionColours, FollowTheElementsWhenBothMatricesMove) {
    for (int gen : {-1, 0, 1}) {
        resetColour();
        std::vector<Point> points = surfacePoints(gen);
        const Matrix step = someMotion(gen);
        Matrix stepInv;
        inv(stepInv, step);
        for (auto [movePoints, moveColors] : {std::pair{true, true}, {true, false}}) {
            SCOPED_TRACE(testing::Message()
                         << "gen " << gen << " points " << movePoints << " colors " << moveColors);
            resetColour();
            settings.gen = gen;
            settings.pointMatrix = someMotion(gen);  // some view to start from
            std::vector<BColor> before;
            for (const Point& q : points) {
                for (int t = 0; t < kTypeCount; ++t) {
                    before.push_back(schemeAt(3, t, q));
                    before.push_back(schemeAt(4, t, q));
                }
            }
            if (movePoints) settings.pointMatrix = dotM(step, settings.pointMatrix);
            if (moveColors) settings.colorMatrix = dotM(settings.colorMatrix, stepInv);
            int changed = 0;
            size_t k = 0;
            for (const Point& q : points) {
                for (int t = 0; t < kTypeCount; ++t) {
                    for (int scheme : {3, 4}) {
                        BColor now = schemeAt(scheme, t, q);
                        const BColor& was = before[k++];
                        bool same = std::fabs(now.r - was.r) < 1e-5f &&
                                    std::fabs(now.g - was.g) < 1e-5f &&
                                    std::fabs(now.b - was.b) < 1e-5f;
                        if (moveColors) {
                            EXPECT_TRUE(same);
                        }
                        changed += !same;
                    }
                }
            }
            if (!moveColors) {
                EXPECT_GT(changed, 0);
            }
        }
    }
}

TEST(PositionColours, ZeroDirectionGivesGreyNotNaN) {
    resetColour();
    BColor c = schemeAt(3, 0, Point{0, 0, 0});
    expectColor(c, BColor{0.5f, 0.5f, 0.5f});
}

TEST(Schemes, TypeColourFunctionsCopyOnlyTheirOwnFamily) {
    resetColour();
    for (int t = 0; t < kTypeCount; ++t) *typeColor(t) = BColor{t / 16.0f, 0.25f, 0.75f};
    using TypeColour = void (*)(BColor*, int);
    const TypeColour functions[kFamilyCount] = {polyFaceTypeColor, polyEdgeTypeColor,
                                                polyVertTypeColor, triFaceTypeColor,
                                                triEdgeTypeColor,  triVertTypeColor};
    const BColor untouched{0.1f, 0.2f, 0.3f};
    for (int f = 0; f < kFamilyCount; ++f) {
        for (int t = -1; t <= kTypeCount; ++t) {
            SCOPED_TRACE(testing::Message() << "family " << f << " type " << t);
            BColor out = untouched;
            functions[f](&out, t);
            if (familyOfType(t) == f) {
                EXPECT_TRUE(out == *typeColor(t));
            } else {
                EXPECT_TRUE(out == untouched);
            }
        }
    }
}

TEST(Schemes, ClassColourOfOneTypeChangesOnlyThatType) {
    resetColour();
    for (int t = 0; t < kTypeCount; ++t) *typeColor(t) = BColor{0.2f, 0.4f, 0.6f};
    settings.polyFaceVColor = BColor{0.9f, 0.1f, 0.0f};
    for (int t = 0; t < kTypeCount; ++t) {
        SCOPED_TRACE(t);
        BColor c = schemeAt(2, t, Point{0.5, 0.5, 1});
        EXPECT_TRUE(c == (t == 0 ? BColor{0.9f, 0.1f, 0.0f} : BColor{0.2f, 0.4f, 0.6f}));
    }
}

TEST(Schemes, EachSchemeFillsTheScratchColour) {
    resetColour();
    DataModule record;
    record.triColor = BColor{0.1f, 0.2f, 0.3f};
    record.polyColor = BColor{0.7f, 0.8f, 0.9f};
    record.triPoint = Point{0, 0, 1};
    settings.triEdgeEFColor = BColor{0.4f, 0.4f, 0.4f};
    colourState.type = 10;

    schemeColor(1, record, true);
    EXPECT_TRUE(colourState.color == record.triColor);
    schemeColor(1, record, false);
    EXPECT_TRUE(colourState.color == record.polyColor);
    schemeColor(2, record, true);
    EXPECT_TRUE(colourState.color == settings.triEdgeEFColor);

    // Glitter: three fresh draws per element, r then g then b.
    srandom(7);
    BColor expected;
    ranColor(&expected);
    srandom(7);
    schemeColor(0, record, true);
    EXPECT_TRUE(colourState.color == expected);

    // A scheme number from nowhere keeps the previous element's colour, whatever the type.
    for (int scheme : {-1, 5, 99}) {
        SCOPED_TRACE(scheme);
        colourState.color = BColor{0.3f, 0.6f, 0.9f};
        schemeColor(scheme, record, false);
        EXPECT_TRUE(colourState.color == (BColor{0.3f, 0.6f, 0.9f}));
    }
    // So does a type outside 0..15 under the schemes that need one.
    colourState.type = 16;
    for (int scheme : {2, 3, 4}) {
        SCOPED_TRACE(scheme);
        colourState.color = BColor{0.3f, 0.6f, 0.9f};
        schemeColor(scheme, record, false);
        EXPECT_TRUE(colourState.color == (BColor{0.3f, 0.6f, 0.9f}));
    }
}

TEST(RandomColours, SingleColoursAreDrawnInTypeOrderThenCircleOriginWindow) {
    resetColour();
    srandom(11);
    ranSingleColors();
    srandom(11);
    for (int t = 0; t < kTypeCount; ++t) {
        SCOPED_TRACE(t);
        BColor c;
        ranColor(&c);
        EXPECT_TRUE(c == *typeColor(t));
    }
    for (const BColor* single :
         {&settings.circleColor, &settings.originColor, &settings.windowColor}) {
        BColor c;
        ranColor(&c);
        EXPECT_TRUE(c == *single);
    }
}
