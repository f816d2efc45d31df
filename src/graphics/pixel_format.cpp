#include "graphics/pixel_format.h"

#include <cstddef>
#include <new>

#include "platform/frame.h"

namespace {

// Pictures are at most a few screens large; anything beyond this is a broken
// size, refused rather than allocated.
constexpr std::int32_t kLargestSide = 1 << 14;

// Image pixel (i, j) takes bitmap pixel (x + i, y + j) where there is one.
void copyRectangle(const Surface& target, const resources::Bitmap& bitmap, std::int64_t x, std::int64_t y,
                   Image& image) {
    for (std::int64_t j = 0; j < image.height; ++j) {
        if (y + j < 0 || y + j >= bitmap.height) continue;
        NativePixel* out = image.pixels + j * image.width;
        for (std::int64_t i = 0; i < image.width; ++i) {
            if (x + i < 0 || x + i >= bitmap.width) continue;
            const std::uint8_t* rgb = bitmap.pixel(static_cast<int>(x + i), static_cast<int>(y + j));
            out[i] = PackColour(target, (std::uint32_t{rgb[2]} << 16) | (std::uint32_t{rgb[1]} << 8) | rgb[0]);
        }
    }
}

}  // namespace

NativePixel PackColour(const Surface& surface, std::uint32_t colour) {
    const std::uint32_t red = colour & 0xFF, green = (colour >> 8) & 0xFF, blue = (colour >> 16) & 0xFF;
    if (surface.formatFlags & platform::kFormat565)
        return static_cast<NativePixel>(((red & 0xF8) << 8) | ((green & 0xF8) << 3) | (blue >> 3));
    if (surface.formatFlags & platform::kFormat555)
        return static_cast<NativePixel>(((red & 0xF8) << 7) | ((green & 0xF8) << 2) | (blue >> 3));
    return 0;
}

NativePixel Surface::nativeColour(std::uint32_t colour) const {
    return bitsPerPixel == 16 ? PackColour(*this, colour) : 0;
}

Image* ImageFromBitmap(const Surface& target, const resources::Bitmap* bitmap, std::int32_t x, std::int32_t y,
                       std::int32_t w, std::int32_t h) {
    if (bitmap == nullptr) return nullptr;
    Image* image = new (std::nothrow) Image{};
    if (image == nullptr) return nullptr;
    if (x < 0 && y < 0) {
        x = y = 0;
        w = bitmap->width;
        h = bitmap->height;
    }
    image->width = w;
    image->height = h;
    if (w < 1 || h < 1 || w > kLargestSide || h > kLargestSide || target.bitsPerPixel != 16) return image;
    image->pixels = new (std::nothrow) NativePixel[static_cast<std::size_t>(w) * static_cast<std::size_t>(h)]();
    if (image->pixels != nullptr) copyRectangle(target, *bitmap, x, y, *image);
    return image;
}

void FreeImage(Image* image) {
    if (image == nullptr) return;
    delete[] image->pixels;
    delete image;
}
