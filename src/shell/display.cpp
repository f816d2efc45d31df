#include "shell/display.h"

#include "game/game_state.h"
#include "graphics/pixel_format.h"
#include "graphics/surface.h"

namespace {

// A picture from a bitmap resource: whole (x, y negative) or a rectangle.
Image* importBitmap(std::uint32_t id, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) {
    platform::HBITMAP bitmap = platform::LoadBitmap(id);
    Image* image = ImageFromBitmap(backBuffer, bitmap, x, y, w, h);
    platform::DeleteBitmap(bitmap);
    return image;
}

void freeImage(Image*& image) {
    FreeImage(image);
    image = nullptr;
}

}  // namespace

int StartDisplay(platform::HWND window) {
    gameState.screenWidth = static_cast<std::int32_t>(display.width);
    gameState.screenHeight = static_cast<std::int32_t>(display.height);
    platform::RequestFullScreen(window, 0x2A);
    platform::MoveWindow(window, 0, 0, gameState.screenWidth, gameState.screenHeight);
    if (platform::GXOpenDisplay(window, platform::GX_FULLSCREEN) == 0) return 0;
    if (platform::GXOpenInput() == 0) return 0;

    Image* picture = importBitmap(kBackgroundBitmap, -1, -1, 0, 0);
    background.allocate();
    background.blitOpaque(0, 0, gameState.screenWidth, gameState.screenHeight, picture, 0, 0);
    FreeImage(picture);

    titleImage = importBitmap(kTitleBitmap, 0, 0, 176, 220);
    spriteSheet = importBitmap(kSpriteSheetBitmap, -1, -1, 0, 0);
    pausedBanner = importBitmap(kPausedBitmap, 0, 0, 176, 8);
    colourKey = backBuffer.nativeColour(kBlue);
    return backBuffer.allocate() ? 1 : 0;
}

void StopDisplay() {
    platform::GXCloseDisplay();
    platform::GXCloseInput();
    freeImage(spriteSheet);
    freeImage(titleImage);
    freeImage(pausedBanner);
}
