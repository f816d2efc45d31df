#include "platform/sdl/sdl_window.h"

namespace platform::sdl {

SdlWindow::~SdlWindow() {
    if (texture_) SDL_DestroyTexture(texture_);
    if (renderer_) SDL_DestroyRenderer(renderer_);
    if (window_) SDL_DestroyWindow(window_);
}

bool SdlWindow::create(const char* title, int scale, const FrameOrientation& orientation, Uint32 textureFormat,
                       std::string& error) {
    orientation_ = orientation;
    window_ =
        SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kScreenWidth * scale,
                         kScreenHeight * scale, SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
    if (window_ == nullptr) {
        error = std::string("cannot make a window: ") + SDL_GetError();
        return false;
    }
    SDL_SetWindowMinimumSize(window_, kScreenWidth, kScreenHeight);
    renderer_ = SDL_CreateRenderer(window_, -1, 0);
    if (renderer_ == nullptr) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    if (renderer_ == nullptr) {
        error = std::string("cannot draw into the window: ") + SDL_GetError();
        return false;
    }
    texture_ = SDL_CreateTexture(renderer_, textureFormat, SDL_TEXTUREACCESS_STREAMING, orientation.textureWidth,
                                 orientation.textureHeight);
    if (texture_ == nullptr) {
        error = std::string("cannot make the frame texture: ") + SDL_GetError();
        return false;
    }
    SDL_SetTextureScaleMode(texture_, SDL_ScaleModeNearest);
    return true;
}

void SdlWindow::setIcon(const ResourceBytes& bmp) {
    if (window_ == nullptr || bmp.data == nullptr) return;
    SDL_Surface* icon = SDL_LoadBMP_RW(SDL_RWFromConstMem(bmp.data, static_cast<int>(bmp.size)), 1);
    if (icon == nullptr) return;
    SDL_SetWindowIcon(window_, icon);
    SDL_FreeSurface(icon);
}

void SdlWindow::show() {
    if (window_) SDL_ShowWindow(window_);
}

void SdlWindow::raise() {
    if (window_ == nullptr) return;
    if (SDL_GetWindowFlags(window_) & SDL_WINDOW_MINIMIZED) SDL_RestoreWindow(window_);
    SDL_RaiseWindow(window_);
}

void SdlWindow::toggleFullScreen() {
    if (window_ == nullptr) return;
    const bool full = (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN) != 0;
    SDL_SetWindowFullscreen(window_, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
    SDL_ShowCursor(full ? SDL_ENABLE : SDL_DISABLE);
    redraw();
}

void SdlWindow::present(const std::uint16_t* span) {
    if (texture_ == nullptr) return;
    SDL_UpdateTexture(texture_, nullptr, span, orientation_.textureWidth * static_cast<int>(sizeof *span));
    redraw();
}

void SdlWindow::redraw() {
    if (texture_ == nullptr) return;
    int outputWidth = 0, outputHeight = 0;
    SDL_GetRendererOutputSize(renderer_, &outputWidth, &outputHeight);
    const PixelRect copy = CopyRectFor(FrameRectIn(outputWidth, outputHeight), orientation_);
    const SDL_Rect destination{copy.x, copy.y, copy.w, copy.h};
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, SDL_ALPHA_OPAQUE);
    SDL_RenderClear(renderer_);
    SDL_RenderCopyEx(renderer_, texture_, nullptr, &destination, orientation_.clockwiseDegrees, nullptr,
                     orientation_.flipVertical ? SDL_FLIP_VERTICAL : SDL_FLIP_NONE);
    SDL_RenderPresent(renderer_);
}

}  // namespace platform::sdl
