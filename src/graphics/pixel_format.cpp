#include "graphics/pixel_format.h"

#include <cstddef>
#include <new>

namespace {

constexpr std::int32_t kBytesPerSectionPixel = 3;

// Section rows hold a whole number of 4-pixel groups, so every row starts on
// a 4-byte boundary as the platform's 24-bit sections require.
constexpr std::int32_t rowPixelsFor(std::int32_t width) { return (width + 3) / 4 * 4; }

std::size_t sectionBytes(std::int32_t rowPixels, std::int32_t rows) {
    return static_cast<std::size_t>(rowPixels) * static_cast<std::size_t>(rows) * kBytesPerSectionPixel;
}

// Pictures are at most a few screens large; anything beyond this is a broken
// size, refused rather than allocated.
constexpr std::int32_t kLargestSide = 1 << 14;

}  // namespace

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

Image* ImageFromBitmap(const Surface& target, platform::HBITMAP bitmap, std::int32_t x, std::int32_t y, std::int32_t w,
                       std::int32_t h) {
    if (bitmap == nullptr) return nullptr;
    Image* image = new (std::nothrow) Image{};
    if (image == nullptr) return nullptr;
    BitmapSection section = CaptureBitmap(bitmap, x, y, w, h);
    image->width = section.imageWidth;
    image->height = section.imageHeight;
    image->pixels = ConvertToNative(target, image->width, image->height, section);
    FreeSection(section);
    return image;
}

BitmapSection CaptureBitmap(platform::HBITMAP bitmap, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) {
    BitmapSection section;
    int bitmapWidth = 0, bitmapHeight = 0;
    if (!platform::GetBitmapSize(bitmap, &bitmapWidth, &bitmapHeight)) return section;
    const bool whole = x < 0 && y < 0;
    if (whole) {
        x = 0;
        y = 0;
        w = bitmapWidth;
        h = bitmapHeight;
    }
    section.imageWidth = w;
    section.imageHeight = h;
    if (w < 1 || h < 1 || w > kLargestSide || h > kLargestSide) return section;

    section.rowPixels = rowPixelsFor(w);
    section.rows = h;
    // Cleared like a fresh platform section: what the bitmap does not cover stays black.
    section.bits = new (std::nothrow) std::uint8_t[sectionBytes(section.rowPixels, section.rows)]();
    if (section.bits == nullptr) return section;
    platform::CopyBitmapToSection(bitmap, x, y, w, h, section.bits, section.rowPixels, section.rows);
    return section;
}

void FreeSection(BitmapSection& section) {
    delete[] section.bits;
    section.bits = nullptr;
}

NativePixel* ConvertToNative(const Surface& target, std::int32_t width, std::int32_t height,
                             const BitmapSection& section) {
    if (section.bits == nullptr || width < 1 || height < 1 || target.bitsPerPixel != 16) return nullptr;
    if (width > section.rowPixels || height > section.rows) return nullptr;
    NativePixel* pixels =
        new (std::nothrow) NativePixel[static_cast<std::size_t>(width) * static_cast<std::size_t>(height)];
    if (pixels == nullptr) return nullptr;

    const std::size_t rowBytes = static_cast<std::size_t>(section.rowPixels) * kBytesPerSectionPixel;
    NativePixel* out = pixels;
    for (std::int32_t row = 0; row < height; ++row) {
        // Bottom-up: the top row of the picture is the last row in memory.
        const std::uint8_t* in = section.bits + static_cast<std::size_t>(section.rows - 1 - row) * rowBytes;
        for (std::int32_t column = 0; column < width; ++column, in += kBytesPerSectionPixel) {
            const std::uint32_t colour = (std::uint32_t{in[0]} << 16) | (std::uint32_t{in[1]} << 8) | in[2];
            *out++ = PackColour(target, colour);
        }
    }
    return pixels;
}

void FreeImage(Image* image) {
    if (image == nullptr) return;
    delete[] image->pixels;
    delete image;
}
