#include "colour/colour.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <tuple>
#include <vector>

#include "geometry/kernel.h"
#include "geometry/random.h"
#include "geometry/settings.h"
#include "test_model.h"

namespace {

void resetColour() {
    model.settings = Settings{};
    model.colourState = ColourState{};
    initColorMatrices(model.colourState);
}

BColor schemeAt(int scheme, int type, const Point& q) {
    DataModule record;
    record.triPoint = q;
    return schemeColor(model.settings, model.colourState, scheme, type, record,
                       familyOfType(type) >= kTriFace);
}

void expectColor(const BColor& got, const BColor& want, float tolerance = 1e-6f) {
    EXPECT_NEAR(got.r, want.r, tolerance);
    EXPECT_NEAR(got.g, want.g, tolerance);
    EXPECT_NEAR(got.b, want.b, tolerance);
}

// A few points of the model surface of each geometry, away from the origin.
std::vector<Point> surfacePoints(int gen) {
    std::vector<Point> points;
    model.settings.gen = gen;
    for (auto [x, y] : {std::pair{0.3, -0.2}, {-0.7, 0.4}, {0.05, 0.9}, {1.5, -1.1}}) {
        Point p{x, y, gen < 0 ? 0.0 : 1.0};
        if (gen < 0) p = Point{x * 0.5, y * 0.5, 0.6};
        if (gen > 0) p.z = std::sqrt(1 + x * x + y * y);
        Point n;
        normalize(model.settings.gen, n, p);
        points.push_back(gen > 0 ? p : n);
    }
    return points;
}

Matrix inverseOf(const Matrix& M) {
    Matrix out;
    inv(out, M);
    return out;
}

void setAllOffsets(double offset) {
    model.settings.polyFaceOffset = model.settings.polyEdgeOffset = model.settings.polyVertOffset =
        offset;
    model.settings.triFaceOffset = model.settings.triEdgeOffset = model.settings.triVertOffset =
        offset;
    setOffsetMatrices(model.colourState, model.settings);
}

// A motion of the geometry that moves the origin: the translation to a surface point, turned
// about the z axis.
Matrix someMotion(int gen) {
    model.settings.gen = gen;
    Point target = surfacePoints(gen)[1];
    Matrix t, r;
    translateM(model.settings.gen, t, target);
    rotateMXY(model.settings.gen, r, Point{0.6, 0.8, 1}, Point{1, 0, 1});
    return dotM(r, t);
}

}  // namespace

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
                model.settings.gen = gen;
                BColor plain = schemeAt(3, t, q);
                BColor low = schemeAt(4, t, q);

                setAllOffsets(2.0 / 3);
                // Red becomes green, green blue, blue red.
                expectColor(schemeAt(3, t, q), BColor{plain.b, plain.r, plain.g}, 1e-6f);
                expectColor(schemeAt(4, t, q), BColor{low.b, low.r, low.g}, 1e-6f);

                setAllOffsets(2);
                expectColor(schemeAt(3, t, q), plain, 1e-6f);
            }
        }
    }
}

TEST(PositionColours, LieOnTheCubeSurfaceAndComplementAcrossLayers) {
    for (int gen : {-1, 0, 1}) {
        resetColour();
        std::vector<Point> points = surfacePoints(gen);
        model.settings.pointMatrix = someMotion(gen);
        model.settings.colorMatrix = offsetMatrix(0.7);
        for (const Point& q : points) {
            for (int scheme : {3, 4}) {
                for (int t = 0; t < kTypeCount; ++t) {
                    SCOPED_TRACE(testing::Message()
                                 << "gen " << gen << " scheme " << scheme << " type " << t);
                    const BColor c = schemeAt(scheme, t, q);
                    const auto [low, high] = std::minmax({c.r, c.g, c.b});
                    EXPECT_TRUE(low >= 0 && high <= 1 && (low == 0 || high == 1));
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

// Navigation with both switches on keeps every position colour on its element; moving the
// points alone does not.
TEST(PositionColours, FollowTheElementsWhenBothMatricesMove) {
    for (int gen : {-1, 0, 1}) {
        for (bool moveColors : {true, false}) {
            SCOPED_TRACE(testing::Message() << "gen " << gen << " colours " << moveColors);
            resetColour();
            const std::vector<Point> points = surfacePoints(gen);
            const Matrix step = someMotion(gen);
            model.settings.pointMatrix = step;  // some view to start from
            auto snapshot = [&] {
                std::vector<float> out;
                for (const Point& q : points) {
                    for (int i = 0; i < 2 * kTypeCount; ++i) {
                        const BColor c = schemeAt(3 + i % 2, i / 2, q);
                        out.insert(out.end(), {c.r, c.g, c.b});
                    }
                }
                return out;
            };
            const std::vector<float> before = snapshot();
            model.settings.pointMatrix = dotM(step, model.settings.pointMatrix);
            if (moveColors)
                model.settings.colorMatrix = dotM(model.settings.colorMatrix, inverseOf(step));
            const std::vector<float> after = snapshot();
            double largest = 0;
            for (size_t k = 0; k < before.size(); ++k) {
                largest = std::max(largest, double(std::fabs(after[k] - before[k])));
            }
            EXPECT_EQ(largest < 1e-5, moveColors) << largest;
        }
    }
}

TEST(PositionColours, ZeroDirectionGivesGreyNotNaN) {
    resetColour();
    BColor c = schemeAt(3, 0, Point{0, 0, 0});
    expectColor(c, BColor{0.5f, 0.5f, 0.5f});
}

TEST(Schemes, GlitterDrawsFreshColoursAndStrangeInputKeepsThePreviousOne) {
    resetColour();
    DataModule record;
    record.triPoint = Point{0, 0, 1};

    // Glitter: three fresh draws per element, r then g then b.
    srandom(7);
    BColor expected;
    ranColor(&expected);
    srandom(7);
    EXPECT_TRUE(schemeColor(model.settings, model.colourState, 0, 10, record, true) == expected);

    // A scheme number from nowhere keeps the previous element's colour, and so does a type
    // outside 0..15 under the schemes that need one.
    for (auto [scheme, type] : {std::pair{-1, 10}, {5, 10}, {99, 10}, {2, 16}, {3, 16}, {4, 16}}) {
        SCOPED_TRACE(testing::Message() << "scheme " << scheme << " type " << type);
        const BColor previous{0.3f, 0.6f, 0.9f};
        EXPECT_TRUE(schemeColor(model.settings, model.colourState, scheme, type, record, false,
                                previous) == previous);
    }
}
