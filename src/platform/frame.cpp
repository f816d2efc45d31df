#include "platform/frame.h"

namespace platform {

FrameGeometry GeometryFor(FrameLayout layout, std::uint32_t format) {
    FrameGeometry g;
    g.width = kScreenWidth;
    g.height = kScreenHeight;
    g.bitsPerPixel = 16;
    g.format = format;
    switch (layout) {
    case FrameLayout::Normal:
        g.xPitch = 2;
        g.yPitch = 2 * kScreenWidth;
        break;
    case FrameLayout::Rot90:
        g.xPitch = -2 * kScreenHeight;
        g.yPitch = 2;
        break;
    case FrameLayout::FlipY:
        g.xPitch = 2;
        g.yPitch = -2 * kScreenWidth;
        break;
    }
    return g;
}

FrameSpan SpanOf(const FrameGeometry& g) {
    const std::int32_t ex = (static_cast<std::int32_t>(g.width) - 1) * (g.xPitch / 2);
    const std::int32_t ey = (static_cast<std::int32_t>(g.height) - 1) * (g.yPitch / 2);
    FrameSpan span;
    (ex < 0 ? span.lowOffset : span.highOffset) += ex;
    (ey < 0 ? span.lowOffset : span.highOffset) += ey;
    return span;
}

}  // namespace platform
