#include "shell/display.h"

#include <memory>

#include "game/game_state.h"
#include "graphics/pixel_format.h"
#include "graphics/surface.h"
#include "resources/resources.h"

namespace {

// A picture from a bitmap resource: whole (x, y negative) or a rectangle.
Image* importBitmap(std::uint32_t id, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) {
    const std::unique_ptr<resources::Bitmap> bitmap = resources::LoadBitmap(id);
    return ImageFromBitmap(backBuffer, bitmap.get(), x, y, w, h);
}

void freeImage(Image*& image) {
    FreeImage(image);
    image = nullptr;
}

}  // namespace

int StartDisplay() {
    gameState.screenWidth = static_cast<std::int32_t>(display.width);
    gameState.screenHeight = static_cast<std::int32_t>(display.height);

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
    freeImage(spriteSheet);
    freeImage(titleImage);
    freeImage(pausedBanner);
}
