#include "graphics/surface.h"

#include <cstring>
#include <new>

#include "platform/frame.h"

Surface::Surface() {
    const platform::FrameGeometry g = platform::ActiveFrame().geometry();
    width = g.width;
    height = g.height;
    xPitch = g.xPitch;
    yPitch = g.yPitch;
    bitsPerPixel = g.bitsPerPixel;
    formatFlags = g.format;
    xStep = xPitch >> 1;
    yStep = yPitch >> 1;
    const std::int32_t ex = (static_cast<std::int32_t>(width) - 1) * xStep;
    const std::int32_t ey = (static_cast<std::int32_t>(height) - 1) * yStep;
    (xStep < 0 ? lowOffset : highOffset) += ex;
    (yStep < 0 ? lowOffset : highOffset) += ey;
}

Surface::~Surface() { delete[] block; }

void Surface::setPixels(void* address) { pixels = static_cast<NativePixel*>(address); }

bool Surface::allocate() {
    if (pixels != nullptr || bitsPerPixel != 16) return false;
    // FIX: new memory is cleared to black, so a picture that failed to load
    // shows black rather than whatever the memory held.
    block = new (std::nothrow) NativePixel[static_cast<std::size_t>(highOffset - lowOffset + 1)]();
    if (block == nullptr) return false;
    pixels = block - lowOffset;
    return true;
}

bool Surface::copyFrom(const Surface& source) {
    if (bitsPerPixel != 16 || source.bitsPerPixel != 16 || source.block == nullptr) return false;
    // FIX: a Surface without pixels (no frame buffer, or no memory) is never written through.
    if (pixels == nullptr) return false;
    std::memcpy(pixels + lowOffset, source.block,
                static_cast<std::size_t>(highOffset - lowOffset + 1) * sizeof(NativePixel));
    return true;
}

bool Surface::sameAs(const Surface& source) const {
    if (pixels == nullptr || source.block == nullptr || bitsPerPixel != source.bitsPerPixel) return false;
    return std::memcmp(pixels + lowOffset, source.block,
                       static_cast<std::size_t>(highOffset - lowOffset + 1) * sizeof(NativePixel)) == 0;
}

int Present() {
    platform::Frame& frame = platform::ActiveFrame();
    display.setPixels(frame.pixels());
    // Desktop: a frame the same as the one on the screen is not copied and
    // not shown again, so the still screens cost the desktop almost nothing.
    const bool changed = !display.sameAs(backBuffer);
    if (changed) display.copyFrom(backBuffer);
    frame.present(changed);
    return 1;
}
