// Reading a frame buffer back as 24-bit RGB, whatever its layout and format.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace platform {

// The 8-bit red, green and blue of one native pixel. In the 5-6-5 layout the
// lowest green bit is never set by the program, so green is read as five bits
// there too, and both layouts give the same colours.
inline void NativeToRgb(std::uint16_t pixel, std::uint32_t format, std::uint8_t* rgb) {
    unsigned r = 0, g = 0, b = 0;
    if (format & kfDirect565) {
        r = (pixel >> 11) & 31;
        g = (pixel >> 6) & 31;
        b = pixel & 31;
    } else if (format & kfDirect555) {
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
inline void FrameToRgb(const std::uint16_t* origin, const GXDisplayProperties& p, std::uint8_t* rgb) {
    const std::int32_t xStep = p.cbxPitch / 2;
    const std::int32_t yStep = p.cbyPitch / 2;
    for (std::uint32_t y = 0; y < p.cyHeight; ++y) {
        const std::uint16_t* pixel = origin + static_cast<std::int32_t>(y) * yStep;
        for (std::uint32_t x = 0; x < p.cxWidth; ++x, pixel += xStep, rgb += 3) NativeToRgb(*pixel, p.ffFormat, rgb);
    }
}

// The frame buffer memory for a geometry: the span from the lowest to the
// highest addressed pixel, and where pixel (0, 0) lies in it.
struct FrameSpan {
    std::int32_t lowOffset = 0;
    std::int32_t highOffset = 0;
};
inline FrameSpan FrameSpanOf(const GXDisplayProperties& p) {
    const std::int32_t ex = (static_cast<std::int32_t>(p.cxWidth) - 1) * (p.cbxPitch / 2);
    const std::int32_t ey = (static_cast<std::int32_t>(p.cyHeight) - 1) * (p.cbyPitch / 2);
    FrameSpan span;
    (ex < 0 ? span.lowOffset : span.highOffset) += ex;
    (ey < 0 ? span.lowOffset : span.highOffset) += ey;
    return span;
}

}  // namespace platform
