// Rectangles from Images and single pixels into a Surface. Every check and
// clip happens once per call; the inner loops only step pointers.
#include "graphics/surface.h"

#include <cstring>

namespace {

// A frame buffer stored row by row (xStep 1) has contiguous destination rows;
// those loops are written so that the compiler can copy many pixels at once.
void copyOpaque(NativePixel* to, const NativePixel* from, std::int32_t w, std::int32_t h, std::int32_t xStep,
                std::int32_t yStep, std::int32_t sourceWidth) {
    if (xStep == 1) {
        for (std::int32_t row = 0; row < h; ++row, to += yStep, from += sourceWidth)
            std::memcpy(to, from, static_cast<std::size_t>(w) * sizeof(NativePixel));
        return;
    }
    for (std::int32_t row = 0; row < h; ++row, to += yStep, from += sourceWidth) {
        NativePixel* d = to;
        const NativePixel* s = from;
        for (std::int32_t column = 0; column < w; ++column, d += xStep) *d = *s++;
    }
}

void copyKeyed(NativePixel* to, const NativePixel* from, std::int32_t w, std::int32_t h, std::int32_t xStep,
               std::int32_t yStep, std::int32_t sourceWidth, std::uint32_t key) {
    if (xStep == 1) {
        // Every destination pixel is stored, the keyed ones with their own
        // value: a select rather than a branch, on 16-bit values.
        const auto key16 = static_cast<NativePixel>(key);
        for (std::int32_t row = 0; row < h; ++row, to += yStep, from += sourceWidth)
            for (std::int32_t column = 0; column < w; ++column)
                to[column] = from[column] == key16 ? to[column] : from[column];
        return;
    }
    for (std::int32_t row = 0; row < h; ++row, to += yStep, from += sourceWidth) {
        NativePixel* d = to;
        const NativePixel* s = from;
        for (std::int32_t column = 0; column < w; ++column, d += xStep, ++s) {
            if (*s != key) *d = *s;
        }
    }
}

}  // namespace

bool Surface::blit(std::int32_t dx, std::int32_t dy, std::int32_t w, std::int32_t h, const Image* source,
                   std::int32_t sx, std::int32_t sy, std::uint32_t key) {
    if (pixels == nullptr || source == nullptr || source->pixels == nullptr) return false;
    if (w < 1 || h < 1 || sx < 0 || sy < 0) return false;
    if (sx + w > source->width || sy + h > source->height) return false;

    const auto surfaceWidth = static_cast<std::int32_t>(width);
    const auto surfaceHeight = static_cast<std::int32_t>(height);
    if (dx > surfaceWidth || dy > surfaceHeight) return true;
    if (dx < 0) {
        w += dx;
        sx -= dx;
        dx = 0;
    }
    if (dy < 0) {
        h += dy;
        sy -= dy;
        dy = 0;
    }
    if (w > surfaceWidth - dx) w = surfaceWidth - dx;
    if (h > surfaceHeight - dy) h = surfaceHeight - dy;
    if (bitsPerPixel != 16) return false;
    if (h < 1 || w < 1) return true;

    NativePixel* to = pixels + dx * xStep + dy * yStep;
    const NativePixel* from = source->pixels + sy * source->width + sx;
    // A key above 16 bits (NO_KEY among them) matches no pixel.
    if (key >= NO_KEY)
        copyOpaque(to, from, w, h, xStep, yStep, source->width);
    else
        copyKeyed(to, from, w, h, xStep, yStep, source->width, key);
    return true;
}

bool Surface::blitOpaque(std::int32_t dx, std::int32_t dy, std::int32_t w, std::int32_t h, const Image* source,
                         std::int32_t sx, std::int32_t sy) {
    return blit(dx, dy, w, h, source, sx, sy, NO_KEY);
}

bool Surface::blitKeyed(std::int32_t dx, std::int32_t dy, std::int32_t w, std::int32_t h, const Image* source,
                        std::uint32_t key, std::int32_t sx, std::int32_t sy) {
    return blit(dx, dy, w, h, source, sx, sy, key);
}

bool Surface::plot(std::int32_t x, std::int32_t y, std::uint32_t pixel) {
    if (pixels == nullptr) return false;
    if (static_cast<std::uint32_t>(x) >= width || static_cast<std::uint32_t>(y) >= height) return false;
    if (bitsPerPixel != 16) return false;
    pixels[x * xStep + y * yStep] = static_cast<NativePixel>(pixel);
    return true;
}
