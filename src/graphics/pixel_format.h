// The display's native 16-bit pixel format, and the import of bitmap
// resources into native Images, once per picture at start-up.
#pragma once

#include <cstdint>

#include "graphics/surface.h"
#include "platform/platform.h"

// COLORREF values 0x00BBGGRR of the colours the program names.
constexpr std::uint32_t kBlue = 0xFF0000;  // the colour key
constexpr std::uint32_t kRed = 0x0000FF;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kGreen = 0x32FF32;

// The bare conversion of a COLORREF into `surface`'s pixel format (5-6-5 with
// the lowest green bit clear, 5-5-5, or 0 for neither); no check of depth.
NativePixel PackColour(const Surface& surface, std::uint32_t colour);

// A 24-bit bottom-up section: `rows` rows of `rowPixels` pixels (a multiple of
// 4), three bytes each in the order blue, green, red, the bottom row first in
// memory. `imageWidth` x `imageHeight` is the Image to be made from its
// top-left corner.
struct BitmapSection {
    std::uint8_t* bits = nullptr;  // owned by the caller of CaptureBitmap; release with FreeSection
    std::int32_t rowPixels = 0;
    std::int32_t rows = 0;
    std::int32_t imageWidth = 0;
    std::int32_t imageHeight = 0;
};

// A new Image of the whole bitmap (x and y both negative; w and h ignored) or
// of the w x h rectangle at (x, y), in `target`'s pixel format. Null without a
// bitmap; an Image without pixels when the bitmap could not be copied or the
// target is not 16 bits per pixel. The caller owns the Image (FreeImage).
Image* ImageFromBitmap(const Surface& target, platform::HBITMAP bitmap, std::int32_t x, std::int32_t y, std::int32_t w,
                       std::int32_t h);

// Copies the whole bitmap, or its w x h rectangle at (x, y), into a new
// section. A rectangle makes a section and an Image of exactly w x h; parts
// of it outside the bitmap stay black. No bits when the size is empty or the
// memory cannot be had.
BitmapSection CaptureBitmap(platform::HBITMAP bitmap, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h);
void FreeSection(BitmapSection& section);

// A new array of width x height native pixels, row by row from the top, read
// from the top-left corner of `section`. Null when there are no bits, the size
// is empty or larger than the section, or the target is not 16 bits per pixel.
NativePixel* ConvertToNative(const Surface& target, std::int32_t width, std::int32_t height,
                             const BitmapSection& section);

// Frees an Image: its pixels, then the record. Null is allowed.
void FreeImage(Image* image);
