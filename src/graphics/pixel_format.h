// The display's native 16-bit pixel format, and the import of bitmap
// resources into native Images, once per picture at start-up.
#pragma once

#include <cstdint>

#include "graphics/surface.h"
#include "resources/resources.h"

// COLORREF values 0x00BBGGRR of the colours the program names.
constexpr std::uint32_t kBlue = 0xFF0000;  // the colour key
constexpr std::uint32_t kRed = 0x0000FF;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kGreen = 0x32FF32;

// The bare conversion of a COLORREF into `surface`'s pixel format (5-6-5 with
// the lowest green bit clear, 5-5-5, or 0 for neither); no check of depth.
NativePixel PackColour(const Surface& surface, std::uint32_t colour);

// A new Image of the whole bitmap (x and y both negative; w and h ignored) or
// of the w x h rectangle at (x, y), in `target`'s pixel format; parts of a
// rectangle outside the bitmap are black. Null without a bitmap; an Image
// without pixels when the size is empty or absurd, the memory cannot be had
// or the target is not 16 bits per pixel. The caller owns the Image (FreeImage).
Image* ImageFromBitmap(const Surface& target, const resources::Bitmap* bitmap, std::int32_t x, std::int32_t y,
                       std::int32_t w, std::int32_t h);

// Frees an Image: its pixels, then the record. Null is allowed.
void FreeImage(Image* image);
