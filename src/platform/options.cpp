#include "platform/options.h"

namespace platform {

namespace {
Options currentOptions;
}

const Options& CurrentOptions() { return currentOptions; }
void SetOptions(const Options& options) { currentOptions = options; }

GXDisplayProperties DisplayPropertiesFor(FrameLayout layout, std::uint32_t pixelFormat) {
    GXDisplayProperties p;
    p.cxWidth = kScreenWidth;
    p.cyHeight = kScreenHeight;
    p.cBPP = 16;
    p.ffFormat = pixelFormat;
    switch (layout) {
    case FrameLayout::Normal:  // rows top to bottom, each left to right
        p.cbxPitch = 2;
        p.cbyPitch = 2 * kScreenWidth;
        break;
    case FrameLayout::Rot90:  // the panel is mounted sideways: x runs against memory
        p.cbxPitch = -2 * kScreenHeight;
        p.cbyPitch = 2;
        break;
    case FrameLayout::FlipY:  // rows stored bottom-up
        p.cbxPitch = 2;
        p.cbyPitch = -2 * kScreenWidth;
        break;
    }
    return p;
}

}  // namespace platform
