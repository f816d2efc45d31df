// The desktop window: the frame scaled by a whole number between black bars,
// and its switch to and from the whole screen.
#pragma once

#include <cstdint>
#include <string>

#include <SDL.h>

#include "platform/platform.h"
#include "platform/sdl/frame_placement.h"

namespace platform::sdl {

class SdlWindow {
public:
    SdlWindow() = default;
    ~SdlWindow();
    SdlWindow(const SdlWindow&) = delete;
    SdlWindow& operator=(const SdlWindow&) = delete;

    // Makes the window (hidden until show), its renderer and the texture that
    // receives the frame buffer's memory in `textureFormat`. Returns false
    // with a message in `error`.
    bool create(const char* title, int scale, const FrameOrientation& orientation, Uint32 textureFormat,
                std::string& error);
    // The window's icon from a BMP image; an absent or unreadable one is skipped.
    void setIcon(const ResourceBytes& bmp);
    void show();
    void raise();
    void toggleFullScreen();

    // Uploads the frame buffer's memory, textureWidth x textureHeight pixels
    // from its lowest address, and shows it.
    void present(const std::uint16_t* span);
    // Shows the last uploaded frame again, fitted to the window's present size.
    void redraw();

private:
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    FrameOrientation orientation_{};
};

}  // namespace platform::sdl
