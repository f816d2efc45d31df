#include "platform/sdl/frame_placement.h"

#include <algorithm>

namespace platform::sdl {

int ChooseScale(int usableWidth, int usableHeight, int requestedScale) {
    if (requestedScale > 0) return requestedScale;
    const int across = (usableWidth - kDecorationWidth) / kScreenWidth;
    const int down = (usableHeight - kDecorationHeight) / kScreenHeight;
    return std::max(1, std::min(across, down));
}

PixelRect FrameRectIn(int outputWidth, int outputHeight) {
    const int scale = std::max(1, std::min(outputWidth / kScreenWidth, outputHeight / kScreenHeight));
    const int w = kScreenWidth * scale, h = kScreenHeight * scale;
    return {(outputWidth - w) / 2, (outputHeight - h) / 2, w, h};
}

}  // namespace platform::sdl
