// A 16-bit picture with the display's own geometry. Pixel (x, y) lies at
// pixels + x * xStep + y * yStep (counted in pixels), so one block copy moves
// a whole frame whatever the frame buffer's orientation, and every drawing
// operation serves every orientation by stepping through xStep and yStep.
//
// Main thread only.
#pragma once

#include <cstdint>

using NativePixel = std::uint16_t;

// A colour key that keys nothing: every pixel is copied. No colour converts to it.
constexpr std::uint32_t NO_KEY = 65535;

// A picture imported from a bitmap: width x height native pixels, row by row
// from the top, rows directly one after the other. Owns its pixels.
struct Image {
    NativePixel* pixels = nullptr;  // may be null
    std::int32_t width = 0;
    std::int32_t height = 0;
};

class Surface {
public:
    // Reads the display's geometry; no pixels, no memory yet.
    Surface();
    // Releases the memory this Surface owns.
    ~Surface();
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    // Points the Surface at memory it does not own (the frame buffer), unchecked.
    void setPixels(void* address);
    // Gives the Surface memory of its own, cleared to 0. False, and
    // nothing changed, if it already has pixels or is not 16 bits per pixel.
    bool allocate();
    // Copies a whole Surface of the same geometry in one block. False unless
    // both are 16 bits per pixel, the source owns memory and this has pixels.
    bool copyFrom(const Surface& source);

    // The native pixel for a COLORREF 0x00BBGGRR; 0 unless 16 bits per pixel.
    NativePixel nativeColour(std::uint32_t colour) const;

    // Copies the w x h rectangle at (sx, sy) of `source` to (dx, dy), skipping
    // source pixels equal to `key` unless it is NO_KEY. The destination
    // rectangle is clipped; a source rectangle outside the Image is refused.
    bool blit(std::int32_t dx, std::int32_t dy, std::int32_t w, std::int32_t h, const Image* source, std::int32_t sx,
              std::int32_t sy, std::uint32_t key);
    bool blitOpaque(std::int32_t dx, std::int32_t dy, std::int32_t w, std::int32_t h, const Image* source,
                    std::int32_t sx, std::int32_t sy);
    // Note the key before sx and sy.
    bool blitKeyed(std::int32_t dx, std::int32_t dy, std::int32_t w, std::int32_t h, const Image* source,
                   std::uint32_t key, std::int32_t sx, std::int32_t sy);
    // Sets one pixel to the low 16 bits of `pixel`; false off the Surface.
    bool plot(std::int32_t x, std::int32_t y, std::uint32_t pixel);

    // Geometry and memory, in the order the platform reports them.
    NativePixel* pixels = nullptr;  // pixel (0, 0)
    NativePixel* block = nullptr;   // owned memory: the lowest-addressed pixel
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::int32_t xPitch = 0;  // bytes
    std::int32_t yPitch = 0;  // bytes
    std::int32_t bitsPerPixel = 0;
    std::uint32_t formatFlags = 0;
    std::int32_t xStep = 0;       // pixels
    std::int32_t yStep = 0;       // pixels
    std::int32_t lowOffset = 0;   // pixels from (0, 0) to the lowest-addressed pixel, <= 0
    std::int32_t highOffset = 0;  // pixels from (0, 0) to the highest-addressed pixel, >= 0
};

// The program's three Surfaces: the picture restored at the start of every
// frame, the frame being composed, and the frame buffer. They read the
// display's geometry when built, so they exist only between
// ConstructSurfaces and DestroySurfaces; the program builds them once the
// command line has chosen the display, before anything else it keeps.
extern Surface& background;
extern Surface& backBuffer;
extern Surface& display;

// Builds background, backBuffer and display in that order.
void ConstructSurfaces();
// Destroys them in the reverse order.
void DestroySurfaces();

// The pictures imported at start-up (null until then, and whenever an import
// failed), owned through these pointers by whoever imports them.
extern Image* titleImage;
extern Image* spriteSheet;
extern Image* pausedBanner;
// The transparent colour of keyed blits (pure blue) in the display's format;
// 0 until the display is started.
extern NativePixel colourKey;

// The end of every frame: the back buffer copied to the frame buffer in one block.
int Present();
