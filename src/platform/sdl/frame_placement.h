// Where the 176 x 220 frame goes in a desktop window: a whole-number scale,
// centred between black bars. No SDL here, so it can be checked alone.
#pragma once

#include "platform/frame.h"

namespace platform::sdl {

// Pixels kept free around the window for its title bar and borders when the
// start-up scale is chosen.
constexpr int kDecorationWidth = 16;
constexpr int kDecorationHeight = 64;

// The window scale at start-up: `requestedScale` when it is positive,
// otherwise the largest whole number at which the frame and the decorations
// fit in the usable screen area (pixels); never less than 1.
int ChooseScale(int usableWidth, int usableHeight, int requestedScale);

struct PixelRect {
    int x, y, w, h;
};

// The frame's rectangle in an output of outputWidth x outputHeight pixels:
// the largest whole multiple of 176 x 220 that fits (at least 1), centred.
PixelRect FrameRectIn(int outputWidth, int outputHeight);

}  // namespace platform::sdl
