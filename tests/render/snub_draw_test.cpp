#include "render/snub_draw.h"

#include <gtest/gtest.h>

#include "geometry/settings.h"
#include "render/chain.h"
#include "render/frame.h"
#include "render_support.h"
#include "test_model.h"

// What a snub paints, and in which order beside the kaleidoscope's triangles, the recorded
// snub pictures check element for element. Here: turning snub mode off again gives back the
// kites' picture exactly, whichever family was emphasised meanwhile.
TEST(SnubDraw, SnubOffGivesBackThePictureExactly) {
    makePicture(2, 3, 4, 48, 0, 1. / 3, 1. / 3, 1. / 3);
    setShape(model);  // as a switch of snub mode refills the lists
    RecordingLayer plain, snubOff;
    drawSelf(model, plain);
    model.settings.snubForm = true;
    chainSnub(model);
    model.settings.polyTriEmphasis = 1;
    RecordingLayer snub;
    drawSelf(model, snub);
    EXPECT_FALSE(same(snub.commands(), plain.commands()));
    model.settings.polyTriEmphasis = 0;
    model.settings.snubForm = false;
    chainSnub(model);
    drawSelf(model, snubOff);
    EXPECT_TRUE(same(snubOff.commands(), plain.commands()));
}
