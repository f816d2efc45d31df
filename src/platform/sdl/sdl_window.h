// The desktop window: the frame scaled by a whole number between black bars,
// and its switch to and from the whole screen. The window's own pixel memory
// is drawn by the processor and only the rows that changed are sent to the
// screen, so a play frame costs little even without a graphics card.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include <SDL.h>

#include "platform/frame.h"
#include "platform/sdl/frame_placement.h"
#include "platform/overlay.h"
#include "resources/resources.h"

namespace platform::sdl {

class SdlWindow {
public:
    SdlWindow() = default;
    ~SdlWindow();
    SdlWindow(const SdlWindow&) = delete;
    SdlWindow& operator=(const SdlWindow&) = delete;

    // Makes the window (hidden until show) at `scale` times the frame's size
    // for frames of `geometry`. Returns false with a message in `error`.
    bool create(const char* title, int scale, const FrameGeometry& geometry, std::string& error);
    // The window's icon from a BMP image; an absent or unreadable one is skipped.
    void setIcon(const resources::ResourceBytes& bmp);
    void show();
    void raise();
    void toggleFullScreen();

    // Shows the frame whose pixel (0, 0) is at `origin`: the rows that differ
    // from the last frame shown, or everything after the window changed.
    void present(const std::uint16_t* origin);
    // Shows the last frame again, fitted to the window's present size.
    void redraw();
    // The whole number by which the frame is enlarged in the window now.
    int scale() const;
    // Desktop: what the next present lays over the enlarged frame (the
    // frame itself is only read). True when it differs from what is laid
    // over it now.
    bool setOverlay(const OverlayPicture& picture);

private:
    bool readFrame(const std::uint16_t* origin);
    void drawRows(SDL_Surface* surface, const PixelRect& place, int firstRow, int endRow);
    void mapColours(const SDL_PixelFormat* format);
    // Window pixels for frame row `y`, with the overlay laid over them.
    void windowRow(int y, std::uint32_t* out) const;
    void drawAll();
    void keepMinimumSize();

    SDL_Window* window_ = nullptr;
    FrameGeometry geometry_{};
    std::vector<std::uint16_t> frame_;   // the frame's pixels, row by row from the top
    std::vector<std::uint8_t> changed_;  // per row: differs from what the window shows
    const SDL_PixelFormat* paletteFormat_ = nullptr;
    std::vector<std::uint32_t> palette_;             // native pixel -> window pixel
    std::array<std::uint32_t, 4> overlayColours_{};  // window pixel per OverlayInk
    OverlayPicture overlay_;                         // laid over the frame in the window
    std::vector<std::uint8_t> overlayRows_;          // per row: the overlay has ink on it
    SDL_Surface* surface_ = nullptr;                 // the window memory last drawn into
    bool wholeWindowStale_ = true;
};

}  // namespace platform::sdl
