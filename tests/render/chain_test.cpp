#include "render/chain.h"

#include <gtest/gtest.h>

#include "geometry/kernel.h"
#include "geometry/settings.h"
#include "render_support.h"
#include "test_model.h"
#include "tiling/tables.h"

// Each way of setting the lengths moves the generating point, and every polygon centre with it;
// the three proportions still sum to 1.
TEST(LengthChain, NewLengthsMoveThePolygonCentres) {
    makePicture(2, 3, 5, 200);
    for (int move = 0; move < 4; ++move) {
        SCOPED_TRACE(move);
        const Point before = model.specialPoints.polyVEF;
        if (move == 0) model.settings.lengthV = 0.6;
        if (move == 1) model.settings.lengthF = 0;
        EXPECT_TRUE(move < 2 ? chainSetLength(model, 2 * move)
                             : (move == 2 ? chainEqualizeLength(model) : chainRanLength(model)));
        const Settings& s = model.settings;
        EXPECT_NEAR(s.lengthV + s.lengthE + s.lengthF, 1, 1e-12);
        EXPECT_FALSE(equalsP(model.specialPoints.polyVEF, before));
        const DataTable& centres = model.groupTables.dataVEF;
        for (int i = 0; i < centres.count; ++i) {
            Point p;
            dotP(p, centres.at(i).matrix, model.specialPoints.polyVEF);
            ASSERT_TRUE(equalsP(p, centres.at(i).polyPoint)) << "centre " << i;
        }
    }
}
