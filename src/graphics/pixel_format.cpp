// STAND-IN: colour conversion is real; bitmap import arrives with the pictures.
#include "graphics/pixel_format.h"

NativePixel PackColour(const Surface& surface, std::uint32_t colour) {
    const std::uint32_t red = colour & 0xFF, green = (colour >> 8) & 0xFF, blue = (colour >> 16) & 0xFF;
    if (surface.formatFlags & platform::kfDirect565)
        return static_cast<NativePixel>(((red & 0xF8) << 8) | ((green & 0xF8) << 3) | (blue >> 3));
    if (surface.formatFlags & platform::kfDirect555)
        return static_cast<NativePixel>(((red & 0xF8) << 7) | ((green & 0xF8) << 2) | (blue >> 3));
    return 0;
}

NativePixel Surface::nativeColour(std::uint32_t colour) const {
    return bitsPerPixel == 16 ? PackColour(*this, colour) : 0;
}

Image* ImageFromBitmap(const Surface&, platform::HBITMAP, std::int32_t, std::int32_t, std::int32_t, std::int32_t) {
    return nullptr;
}

BitmapSection CaptureBitmap(platform::HBITMAP, std::int32_t, std::int32_t, std::int32_t, std::int32_t) { return {}; }

NativePixel* ConvertToNative(const Surface&, std::int32_t, std::int32_t, const std::uint8_t*, std::int32_t,
                             std::int32_t) {
    return nullptr;
}

void FreeImage(Image* image) {
    if (image == nullptr) return;
    delete[] image->pixels;
    delete image;
}
