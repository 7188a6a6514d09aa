#include "colour/colour.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "geometry/geometry_support.h"
#include "test_model.h"

namespace {

void resetColour(int gen) {
    model.settings = Settings{};
    model.settings.gen = gen;
    model.colourState = ColourState{};
    initColorMatrices(model.colourState);
}

BColor schemeAt(int scheme, int type, const Point& q, BColor previous = {}) {
    DataModule record;
    record.triPoint = q;
    record.triColor = {0.1f, 0.2f, 0.3f};
    record.polyColor = {0.4f, 0.5f, 0.6f};
    return schemeColor(model.settings, model.colourState, scheme, type, record,
                       familyOfType(type) >= kTriFace, previous);
}

testing::AssertionResult same(const BColor& a, const BColor& b) {
    if (std::max({std::fabs(a.r - b.r), std::fabs(a.g - b.g), std::fabs(a.b - b.b)}) <= 1e-6f)
        return testing::AssertionSuccess();
    return testing::AssertionFailure()
           << a.r << " " << a.g << " " << a.b << " against " << b.r << " " << b.g << " " << b.b;
}

// Family f's offset: `odd` for the odd families, `even` for the others.
void setOffsets(double even, double odd) {
    for (int f = 0; f < kFamilyCount; ++f) model.settings.*kFamilies[f].offset = f % 2 ? odd : even;
    setOffsetMatrices(model.colourState, model.settings);
}

// A motion of the geometry that moves the origin and turns.
Matrix someMotion(int gen) {
    Matrix t, r;
    translateM(gen, t, at(gen, 0.8, 2.6));
    rotateMXY(gen, r, Point{0.6, 0.8, 1}, Point{1, 0, 1});
    return dotM(r, t);
}

const double kPlaces[][2] = {{0, 0}, {0.36, -0.6}, {0.8, 2.6}, {1.03, 1.5}, {1.86, -0.6}};

}  // namespace

TEST(PositionColours, AtTheOriginEveryTypeHasItsHue) {
    resetColour(0);
    const BColor red{1, 0, 0.5f}, green{0.5f, 1, 0}, blue{0, 0.5f, 1}, white{1, 1, 1},
        black{0, 0, 0}, cyan{0, 1, 0.5f}, violet{0.5f, 0, 1}, orange{1, 0.5f, 0};
    const BColor high[kTypeCount] = {red,   green, blue, red,    green,  blue, white,  black,
                                     black, white, cyan, violet, orange, cyan, violet, orange};
    for (int t = 0; t < kTypeCount; ++t) {
        EXPECT_TRUE(same(schemeAt(3, t, O), high[t])) << "type " << t;
        EXPECT_TRUE(same(schemeAt(4, t, O), white)) << "type " << t;
    }
}

// Anywhere, in any view and colour frame: a position colour lies on the surface of the RGB cube;
// tri edges and vertices complement poly edges and faces, the two orientations of tri faces and
// of poly vertices each other; an offset of two thirds turns red into green, green into blue and
// blue into red (twice as far for twice the offset), and an offset of two gives the colour back;
// and the colours follow the view.
TEST(PositionColours, LieOnTheCubeComplementAcrossLayersTurnWithTheOffsetAndFollowTheView) {
    for (int gen : kGeometries) {
        for (auto [d, a] : kPlaces) {
            SCOPED_TRACE(testing::Message() << "gen " << gen << " at " << d << ", " << a);
            resetColour(gen);
            model.settings.pointMatrix = someMotion(gen);
            model.settings.colorMatrix = offsetMatrix(0.7);
            const Point q = at(gen, d, a);
            BColor plain[2][kTypeCount];
            for (int scheme : {3, 4}) {
                for (int t = 0; t < kTypeCount; ++t) {
                    const BColor c = plain[scheme - 3][t] = schemeAt(scheme, t, q);
                    const auto [low, high] = std::minmax({c.r, c.g, c.b});
                    EXPECT_TRUE(low >= 0 && high <= 1 && (low == 0 || high == 1)) << t;
                }
            }
            for (auto [s, t] :
                 {std::pair{10, 3}, {11, 4}, {12, 5}, {13, 0}, {14, 1}, {15, 2}, {8, 9}, {6, 7}}) {
                const BColor c = plain[0][t];
                EXPECT_TRUE(same(plain[0][s], BColor{1 - c.r, 1 - c.g, 1 - c.b})) << s << " " << t;
            }
            setOffsets(2.0 / 3, 4.0 / 3);
            for (int i = 0; i < 2 * kTypeCount; ++i) {
                const BColor c = plain[i % 2][i / 2];
                const BColor turned =
                    familyOfType(i / 2) % 2 ? BColor{c.g, c.b, c.r} : BColor{c.b, c.r, c.g};
                EXPECT_TRUE(same(schemeAt(3 + i % 2, i / 2, q), turned)) << i;
            }
            setOffsets(2, 2);
            for (int t = 0; t < kTypeCount; ++t) EXPECT_TRUE(same(schemeAt(3, t, q), plain[0][t]));
            // A step of the view moves the colours with the points, and the same step of the
            // colour frame back keeps each on its element (navigation with both switches on).
            const Matrix step = someMotion(gen);
            Matrix back;
            inv(back, step);
            model.settings.pointMatrix = dotM(step, model.settings.pointMatrix);
            EXPECT_FALSE(same(schemeAt(3, 0, q), plain[0][0]) &&
                         same(schemeAt(3, 8, q), plain[0][8]));
            model.settings.colorMatrix = dotM(model.settings.colorMatrix, back);
            for (int t = 0; t < kTypeCount; ++t) EXPECT_TRUE(same(schemeAt(3, t, q), plain[0][t]));
        }
    }
}

// Glitter draws three fresh values per element, r then g then b; scheme 1 takes the record's
// colour of the element's layer, scheme 2 its type's colour; a direction of zero gives grey; a
// scheme from nowhere, or a type outside 0..15 under the schemes that need one, keeps the
// previous element's colour.
TEST(Schemes, EachSchemeTakesItsColourAndStrangeInputKeepsThePreviousOne) {
    resetColour(0);
    srandom(7);
    const float r = random() / 2147483648.0f, g = random() / 2147483648.0f,
                b = random() / 2147483648.0f;
    srandom(7);
    EXPECT_TRUE(schemeAt(0, 10, O) == (BColor{r, g, b}));
    EXPECT_TRUE(same(schemeAt(1, 10, O), BColor{0.1f, 0.2f, 0.3f}));
    EXPECT_TRUE(same(schemeAt(1, 7, O), BColor{0.4f, 0.5f, 0.6f}));
    model.settings.triEdgeFVColor = {0.7f, 0.8f, 0.9f};
    EXPECT_TRUE(same(schemeAt(2, 11, O), model.settings.triEdgeFVColor));
    EXPECT_TRUE(schemeAt(3, 0, Point{0, 0, 0}) == (BColor{0.5f, 0.5f, 0.5f}));
    const BColor previous{0.3f, 0.6f, 0.9f};
    for (auto [scheme, type] : {std::pair{-1, 10}, {5, 10}, {2, 16}, {3, 16}, {4, 16}, {3, -1}})
        EXPECT_TRUE(schemeAt(scheme, type, O, previous) == previous) << scheme << " " << type;
}
