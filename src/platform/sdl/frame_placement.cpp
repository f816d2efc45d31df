#include "platform/sdl/frame_placement.h"

#include <algorithm>

namespace platform::sdl {

int ChooseScale(int usableWidth, int usableHeight, int requestedScale) {
    if (requestedScale > 0) return requestedScale;
    const int across = (usableWidth - kDecorationWidth) / kScreenWidth;
    const int down = (usableHeight - kDecorationHeight) / kScreenHeight;
    return std::max(1, std::min(across, down));
}

FrameOrientation OrientationFor(FrameLayout layout) {
    //                                 texture width  texture height turn flip
    constexpr FrameOrientation normal{kScreenWidth, kScreenHeight, 0, false};
    // Memory rows run down the screen, its rightmost column first.
    constexpr FrameOrientation rot90{kScreenHeight, kScreenWidth, 90, false};
    // Memory rows run across the screen, its bottom row first.
    constexpr FrameOrientation flipY{kScreenWidth, kScreenHeight, 0, true};
    switch (layout) {
    case FrameLayout::Rot90: return rot90;
    case FrameLayout::FlipY: return flipY;
    case FrameLayout::Normal: break;
    }
    return normal;
}

PixelRect FrameRectIn(int outputWidth, int outputHeight) {
    const int scale = std::max(1, std::min(outputWidth / kScreenWidth, outputHeight / kScreenHeight));
    const int w = kScreenWidth * scale, h = kScreenHeight * scale;
    return {(outputWidth - w) / 2, (outputHeight - h) / 2, w, h};
}

PixelRect CopyRectFor(const PixelRect& frame, const FrameOrientation& orientation) {
    if (orientation.clockwiseDegrees % 180 == 0) return frame;
    // Width and height trade places about the same centre; both differ by an
    // even number of pixels (44 x scale), so the centre stays on whole pixels.
    return {frame.x + (frame.w - frame.h) / 2, frame.y + (frame.h - frame.w) / 2, frame.h, frame.w};
}

}  // namespace platform::sdl
