#include "platform/sdl/sdl_window.h"

#include <algorithm>

namespace platform::sdl {

namespace {

// A window smaller than the frame (before its minimum size takes hold) shows nothing.
bool fits(const SDL_Surface* surface) { return surface->w >= kScreenWidth && surface->h >= kScreenHeight; }

}  // namespace

SdlWindow::~SdlWindow() {
    if (window_) SDL_DestroyWindow(window_);
}

bool SdlWindow::create(const char* title, int scale, const FrameGeometry& geometry, std::string& error) {
    geometry_ = geometry;
    frame_.assign(static_cast<std::size_t>(kScreenWidth) * kScreenHeight, 0);
    changed_.assign(kScreenHeight, 1);
    overlayRows_.assign(kScreenHeight, 0);
    window_ = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kScreenWidth * scale,
                               kScreenHeight * scale, SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE);
    if (window_ == nullptr) {
        error = std::string("cannot make a window: ") + SDL_GetError();
        return false;
    }
    SDL_SetWindowMinimumSize(window_, kScreenWidth, kScreenHeight);
    return true;
}

void SdlWindow::setIcon(const resources::ResourceBytes& bmp) {
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

// Copies the frame into top-down rows, whatever its layout, and marks the
// rows that differ. Returns whether any did.
bool SdlWindow::readFrame(const std::uint16_t* origin) {
    const std::int32_t xStep = geometry_.xPitch / 2, yStep = geometry_.yPitch / 2;
    bool any = false;
    for (int y = 0; y < kScreenHeight; ++y) {
        const std::uint16_t* from = origin + y * yStep;
        std::uint16_t* row = &frame_[static_cast<std::size_t>(y) * kScreenWidth];
        bool differs = false;
        for (int x = 0; x < kScreenWidth; ++x, from += xStep) {
            differs |= row[x] != *from;
            row[x] = *from;
        }
        if (differs) changed_[static_cast<std::size_t>(y)] = 1;
        any |= changed_[static_cast<std::size_t>(y)] != 0;
    }
    return any;
}

void SdlWindow::mapColours(const SDL_PixelFormat* format) {
    paletteFormat_ = format;
    palette_.resize(65536);
    std::uint8_t rgb[3];
    for (std::uint32_t pixel = 0; pixel < 65536; ++pixel) {
        NativeToRgb(static_cast<std::uint16_t>(pixel), geometry_.format, rgb);
        palette_[pixel] = SDL_MapRGB(format, rgb[0], rgb[1], rgb[2]);
    }
    for (std::size_t ink = 0; ink < overlayColours_.size(); ++ink) {
        const OverlayColour& colour = kOverlayColours[ink];
        overlayColours_[ink] = SDL_MapRGB(format, colour.red, colour.green, colour.blue);
    }
}

void SdlWindow::windowRow(int y, std::uint32_t* out) const {
    const std::uint16_t* row = &frame_[static_cast<std::size_t>(y) * kScreenWidth];
    for (int x = 0; x < kScreenWidth; ++x) out[x] = palette_[row[x]];
    if (!overlayRows_[static_cast<std::size_t>(y)]) return;
    for (int x = 0; x < kScreenWidth; ++x)
        if (const OverlayInk ink = overlay_.at(x, y); ink != OverlayInk::None)
            out[x] = overlayColours_[static_cast<std::size_t>(ink)];
}

void SdlWindow::drawRows(SDL_Surface* surface, const PixelRect& place, int firstRow, int endRow) {
    if (paletteFormat_ != surface->format) mapColours(surface->format);
    const int scale = place.w / kScreenWidth;
    const int bytes = surface->format->BytesPerPixel;
    auto* base = static_cast<std::uint8_t*>(surface->pixels);
    std::array<std::uint32_t, kScreenWidth> pixels;
    for (int y = firstRow; y < endRow; ++y) {
        std::uint8_t* line = base + static_cast<std::ptrdiff_t>(place.y + y * scale) * surface->pitch + place.x * bytes;
        windowRow(y, pixels.data());
        if (bytes == 4) {
            auto* out = reinterpret_cast<std::uint32_t*>(line);
            for (int x = 0; x < kScreenWidth; ++x, out += scale) std::fill(out, out + scale, pixels[x]);
        } else {
            for (int x = 0; x < kScreenWidth; ++x) {
                SDL_Rect block{place.x + x * scale, place.y + y * scale, scale, 1};
                SDL_FillRect(surface, &block, pixels[x]);
            }
        }
        for (int k = 1; k < scale; ++k) std::copy_n(line, place.w * bytes, line + k * surface->pitch);
    }
}

bool SdlWindow::setOverlay(const OverlayPicture& picture) {
    bool any = false;
    for (int y = 0; y < kScreenHeight; ++y) {
        const auto from = static_cast<std::ptrdiff_t>(y) * kScreenWidth;
        const auto* newRow = picture.ink.data() + from;
        auto* oldRow = overlay_.ink.data() + from;
        if (std::equal(newRow, newRow + kScreenWidth, oldRow)) continue;
        std::copy_n(newRow, kScreenWidth, oldRow);
        overlayRows_[static_cast<std::size_t>(y)] =
            std::any_of(newRow, newRow + kScreenWidth, [](OverlayInk ink) { return ink != OverlayInk::None; });
        changed_[static_cast<std::size_t>(y)] = 1;
        any = true;
    }
    return any;
}

void SdlWindow::present(const std::uint16_t* origin) {
    if (window_ == nullptr) return;
    SDL_Surface* surface = SDL_GetWindowSurface(window_);
    if (surface == nullptr || !fits(surface)) return;
    if (surface != surface_) wholeWindowStale_ = true;
    if (!readFrame(origin) && !wholeWindowStale_) return;
    if (wholeWindowStale_) return drawAll();

    const PixelRect place = FrameRectIn(surface->w, surface->h);
    const int scale = place.w / kScreenWidth;
    std::vector<SDL_Rect> rects;
    if (SDL_MUSTLOCK(surface)) SDL_LockSurface(surface);
    for (int y = 0; y < kScreenHeight;) {
        if (!changed_[static_cast<std::size_t>(y)]) {
            ++y;
            continue;
        }
        int end = y;
        while (end < kScreenHeight && changed_[static_cast<std::size_t>(end)])
            changed_[static_cast<std::size_t>(end++)] = 0;
        drawRows(surface, place, y, end);
        rects.push_back({place.x, place.y + y * scale, place.w, (end - y) * scale});
        y = end;
    }
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
    SDL_UpdateWindowSurfaceRects(window_, rects.data(), static_cast<int>(rects.size()));
}

void SdlWindow::drawAll() {
    SDL_Surface* surface = SDL_GetWindowSurface(window_);
    if (surface == nullptr) return;
    surface_ = surface;
    if (!fits(surface)) return;
    const PixelRect place = FrameRectIn(surface->w, surface->h);
    SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
    if (SDL_MUSTLOCK(surface)) SDL_LockSurface(surface);
    drawRows(surface, place, 0, kScreenHeight);
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
    std::fill(changed_.begin(), changed_.end(), 0);
    wholeWindowStale_ = false;
    SDL_UpdateWindowSurface(window_);
}

void SdlWindow::keepMinimumSize() {
    // Desktop: the minimum size is only a hint that a window manager may
    // ignore (or there may be none); a window made smaller anyway is put
    // back to one frame at least, so the picture is never cropped.
    if (SDL_GetWindowFlags(window_) & (SDL_WINDOW_FULLSCREEN | SDL_WINDOW_MINIMIZED)) return;
    int width = 0, height = 0;
    SDL_GetWindowSize(window_, &width, &height);
    if (width < kScreenWidth || height < kScreenHeight)
        SDL_SetWindowSize(window_, std::max(width, kScreenWidth), std::max(height, kScreenHeight));
}

int SdlWindow::scale() const {
    int width = kScreenWidth, height = kScreenHeight;
    if (window_) SDL_GetWindowSize(window_, &width, &height);
    return FrameRectIn(width, height).w / kScreenWidth;
}

void SdlWindow::redraw() {
    if (window_ == nullptr) return;
    keepMinimumSize();
    drawAll();
}

}  // namespace platform::sdl
