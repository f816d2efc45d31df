// Reading a frame buffer back as 24-bit RGB, whatever its layout and format.
#pragma once

#include <cstdint>

#include "platform/frame.h"

namespace platform {

// The 8-bit red, green and blue of one native pixel. In the 5-6-5 layout the
// lowest green bit is never set by the program, so green is read as five bits
// there too, and both layouts give the same colours.
inline void NativeToRgb(std::uint16_t pixel, std::uint32_t format, std::uint8_t* rgb) {
    unsigned r = 0, g = 0, b = 0;
    if (format & kFormat565) {
        r = (pixel >> 11) & 31;
        g = (pixel >> 6) & 31;
        b = pixel & 31;
    } else if (format & kFormat555) {
        r = (pixel >> 10) & 31;
        g = (pixel >> 5) & 31;
        b = pixel & 31;
    }
    rgb[0] = static_cast<std::uint8_t>(r << 3 | r >> 2);
    rgb[1] = static_cast<std::uint8_t>(g << 3 | g >> 2);
    rgb[2] = static_cast<std::uint8_t>(b << 3 | b >> 2);
}

// Writes width x height RGB triples, row by row from the top, from the frame
// whose pixel (0, 0) is at `origin`.
inline void FrameToRgb(const std::uint16_t* origin, const FrameGeometry& p, std::uint8_t* rgb) {
    const std::int32_t xStep = p.xPitch / 2;
    const std::int32_t yStep = p.yPitch / 2;
    for (std::uint32_t y = 0; y < p.height; ++y) {
        const std::uint16_t* pixel = origin + static_cast<std::int32_t>(y) * yStep;
        for (std::uint32_t x = 0; x < p.width; ++x, pixel += xStep, rgb += 3) NativeToRgb(*pixel, p.format, rgb);
    }
}

}  // namespace platform
