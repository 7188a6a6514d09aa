#include "colour/colour.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "geometry/geometry_support.h"
#include "test_model.h"

// What the pictures show of each scheme (glitter's draws, the layer's and the type's colours,
// the hues of the position colours) is left to the recorded pictures; here, what they never
// vary.
namespace {

BColor schemeAt(int scheme, int type, const Point& q, BColor previous = {}) {
    DataModule record;
    record.triPoint = q;
    return schemeColor(model.settings, model.colourState, scheme, type, record,
                       familyOfType(type) >= kTriFace, previous);
}

bool same(const BColor& a, const BColor& b) {
    return std::max({std::fabs(a.r - b.r), std::fabs(a.g - b.g), std::fabs(a.b - b.b)}) <= 1e-6f;
}

}  // namespace

// Anywhere, in any view and colour frame: a position colour lies on the surface of the RGB cube;
// an offset of two thirds turns red into green, green into blue and blue into red (twice as far
// for twice the offset), and an offset of two gives the colour back; the colours follow the view.
// A direction of zero gives grey; a scheme from nowhere, or a type outside 0..15 under the
// schemes that need one, keeps the previous element's colour.
TEST(Colours, PositionColoursLieOnTheCubeTurnWithTheOffsetAndFollowTheView) {
    for (int gen : kGeometries) {
        for (auto [d, a] : {std::pair{0.0, 0.0}, {0.8, 2.6}, {1.86, -0.6}}) {
            SCOPED_TRACE(testing::Message() << "gen " << gen << " at " << d << ", " << a);
            model.settings = Settings{};
            model.settings.gen = gen;
            model.colourState = ColourState{};
            initColorMatrices(model.colourState);
            Matrix step, turn;
            translateM(gen, step, at(gen, 0.8, 2.6));
            rotateMXY(gen, turn, Point{0.6, 0.8, 1}, Point{1, 0, 1});
            step = dotM(turn, step);
            model.settings.pointMatrix = step;
            model.settings.colorMatrix = offsetMatrix(0.7);
            const Point q = at(gen, d, a);
            BColor plain[2][kTypeCount];
            for (int i = 0; i < 2 * kTypeCount; ++i) {
                const BColor c = plain[i % 2][i / 2] = schemeAt(3 + i % 2, i / 2, q);
                const auto [low, high] = std::minmax({c.r, c.g, c.b});
                EXPECT_TRUE(low >= 0 && high <= 1 && (low == 0 || high == 1)) << i;
            }
            for (int f = 0; f < kFamilyCount; ++f)
                model.settings.*kFamilies[f].offset = f % 2 ? 4.0 / 3 : 2.0 / 3;
            setOffsetMatrices(model.colourState, model.settings);
            for (int i = 0; i < 2 * kTypeCount; ++i) {
                const BColor c = plain[i % 2][i / 2];
                const BColor turned =
                    familyOfType(i / 2) % 2 ? BColor{c.g, c.b, c.r} : BColor{c.b, c.r, c.g};
                EXPECT_TRUE(same(schemeAt(3 + i % 2, i / 2, q), turned)) << i;
            }
            for (int f = 0; f < kFamilyCount; ++f) model.settings.*kFamilies[f].offset = 2;
            setOffsetMatrices(model.colourState, model.settings);
            // A step of the view moves the colours with the points, and the same step of the
            // colour frame back keeps each on its element (navigation with both switches on).
            Matrix back;
            inv(back, step);
            model.settings.pointMatrix = dotM(step, model.settings.pointMatrix);
            EXPECT_FALSE(same(schemeAt(3, 0, q), plain[0][0]) &&
                         same(schemeAt(3, 8, q), plain[0][8]));
            model.settings.colorMatrix = dotM(model.settings.colorMatrix, back);
            for (int t = 0; t < kTypeCount; ++t) EXPECT_TRUE(same(schemeAt(3, t, q), plain[0][t]));
        }
    }
    EXPECT_TRUE(same(schemeAt(3, 0, Point{0, 0, 0}), BColor{0.5f, 0.5f, 0.5f}));
    const BColor previous{0.3f, 0.6f, 0.9f};
    for (auto [scheme, type] : {std::pair{-1, 10}, {5, 10}, {2, 16}, {3, 16}, {4, 16}, {3, -1}})
        EXPECT_TRUE(schemeAt(scheme, type, O, previous) == previous) << scheme << " " << type;
}
