// Where the 176 x 220 frame goes in a desktop window: a whole-number scale,
// centred between black bars, and the turn or flip that shows the frame
// buffer's memory the right way up. No SDL here, so it can be checked alone.
#pragma once

#include "platform/options.h"

namespace platform::sdl {

// Pixels kept free around the window for its title bar and borders when the
// start-up scale is chosen.
constexpr int kDecorationWidth = 16;
constexpr int kDecorationHeight = 64;

// The window scale at start-up: `requestedScale` when it is positive,
// otherwise the largest whole number at which the frame and the decorations
// fit in the usable screen area (pixels); never less than 1.
int ChooseScale(int usableWidth, int usableHeight, int requestedScale);

// How the frame buffer's memory is shown. The memory span is uploaded as it
// lies, as a texture of textureWidth x textureHeight pixels (rows of
// textureWidth, lowest address first); the renderer then mirrors it
// (flipVertical, applied first) and turns it clockwise by `clockwiseDegrees`
// so that frame pixel (x, y) lands at (x, y).
struct FrameOrientation {
    int textureWidth;
    int textureHeight;
    int clockwiseDegrees;
    bool flipVertical;
};
FrameOrientation OrientationFor(FrameLayout layout);

struct PixelRect {
    int x, y, w, h;
};

// The frame's rectangle in an output of outputWidth x outputHeight pixels:
// the largest whole multiple of 176 x 220 that fits (at least 1), centred.
PixelRect FrameRectIn(int outputWidth, int outputHeight);

// The rectangle to give the renderer's rotating copy so that the turned
// texture covers `frame` exactly: for a quarter turn, the unturned rectangle
// that shares the frame's centre.
PixelRect CopyRectFor(const PixelRect& frame, const FrameOrientation& orientation);

}  // namespace platform::sdl
