#include "graphics/surface.h"

#include <cstring>
#include <new>

#include "platform/platform.h"

Surface::Surface() {
    const platform::GXDisplayProperties p = platform::GXGetDisplayProperties();
    width = p.cxWidth;
    height = p.cyHeight;
    xPitch = p.cbxPitch;
    yPitch = p.cbyPitch;
    bitsPerPixel = p.cBPP;
    formatFlags = p.ffFormat;
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

int Present() {
    display.setPixels(platform::GXBeginDraw());
    display.copyFrom(backBuffer);
    return platform::GXEndDraw();
}
