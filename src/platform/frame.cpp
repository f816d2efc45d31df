#include "platform/frame.h"

namespace platform {

FrameGeometry GeometryFor(FrameLayout layout, std::uint32_t format) {
    FrameGeometry g{kScreenWidth, kScreenHeight, 2, 2 * kScreenWidth, 16, format};
    if (layout == FrameLayout::Rot90) {
        g.xPitch = -2 * kScreenHeight;
        g.yPitch = 2;
    }
    if (layout == FrameLayout::FlipY) g.yPitch = -2 * kScreenWidth;
    return g;
}

FrameMemory::FrameMemory(const FrameGeometry& g) : geometry_(g) {
    // The pixels from (0, 0) to the lowest and the highest addressed one.
    const std::int32_t ex = (static_cast<std::int32_t>(g.width) - 1) * (g.xPitch / 2);
    const std::int32_t ey = (static_cast<std::int32_t>(g.height) - 1) * (g.yPitch / 2);
    const std::int32_t low = (ex < 0 ? ex : 0) + (ey < 0 ? ey : 0), high = (ex > 0 ? ex : 0) + (ey > 0 ? ey : 0);
    pixels_.assign(static_cast<std::size_t>(high - low + 1), 0);
    origin_ = pixels_.data() - low;
}

std::vector<std::uint8_t> FrameMemory::rgb() const {
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(kScreenWidth) * kScreenHeight * 3);
    const std::int32_t xStep = geometry_.xPitch / 2, yStep = geometry_.yPitch / 2;
    std::uint8_t* out = rgb.data();
    for (int y = 0; y < kScreenHeight; ++y) {
        const std::uint16_t* pixel = origin_ + y * yStep;
        for (int x = 0; x < kScreenWidth; ++x, pixel += xStep, out += 3) NativeToRgb(*pixel, geometry_.format, out);
    }
    return rgb;
}

}  // namespace platform
