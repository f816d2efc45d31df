// The desktop window's picture: the start-up scale and the centred
// whole-number frame between black bars.
#include <gtest/gtest.h>

#include "platform/sdl/frame_placement.h"

using namespace platform;
using namespace platform::sdl;

TEST(FramePlacement, StartupScaleIsTheLargestThatLeavesRoomForTheDecorations) {
    EXPECT_EQ(ChooseScale(1280, 1024, 0), 4);
    EXPECT_EQ(ChooseScale(1920, 1080, 0), 4);
    EXPECT_EQ(ChooseScale(2560, 1440, 0), 6);
    // 440 rows of picture would fit in 480, but not with a title bar.
    EXPECT_EQ(ChooseScale(800, 480, 0), 1);
    EXPECT_EQ(ChooseScale(100, 100, 0), 1);
    EXPECT_EQ(ChooseScale(1280, 1024, 7), 7);
}

TEST(FramePlacement, FrameIsAWholeMultipleCentredBetweenBars) {
    auto same = [](PixelRect a, PixelRect b) { return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h; };
    EXPECT_TRUE(same(FrameRectIn(176, 220), {0, 0, 176, 220}));
    EXPECT_TRUE(same(FrameRectIn(1280, 1024), {288, 72, 704, 880}));
    EXPECT_TRUE(same(FrameRectIn(600, 500), {124, 30, 352, 440}));
    EXPECT_TRUE(same(FrameRectIn(527, 659), {87, 109, 352, 440}));  // an odd pixel of bar goes right or below
    // A window squeezed below one frame still gets the frame at scale 1.
    EXPECT_EQ(FrameRectIn(100, 100).w, 176);
}
