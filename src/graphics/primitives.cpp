#include "graphics/primitives.h"

#include "graphics/pixel_format.h"
#include "graphics/surface.h"

const SpriteCell& AlienCell(std::int32_t kind, std::int32_t frame) {
    const SpriteCell* byKind = kind == 3 ? cells::alien3 : kind == 2 ? cells::alien2 : cells::alien1;
    return byKind[frame & 1];
}

void DrawCell(const SpriteCell& cell, std::int32_t x, std::int32_t y) {
    backBuffer.blitKeyed(x, y, cell.w, cell.h, spriteSheet, colourKey, cell.x, cell.y);
}

namespace {

std::uint32_t bandColour(std::int32_t y) {
    if (y > 167) return kGreen;
    if (y < 35) return kWhite;
    if (y <= 50) return kRed;
    return kWhite;
}

void drawDigitFrom(const SpriteCell& digits, std::int32_t digit, std::int32_t x, std::int32_t y) {
    if (digit < 0) return;
    DrawCell(SpriteCell{digits.x + digits.w * digit, digits.y, digits.w, digits.h}, x, y);
}

}  // namespace

void PlotOverlay(std::int32_t x, std::int32_t y) { backBuffer.plot(x, y, backBuffer.nativeColour(bandColour(y))); }

void DrawDigit(std::int32_t digit, std::int32_t x, std::int32_t y) { drawDigitFrom(cells::whiteDigits, digit, x, y); }
void DrawRedDigit(std::int32_t digit, std::int32_t x, std::int32_t y) { drawDigitFrom(cells::redDigits, digit, x, y); }
void DrawGreenDigit(std::int32_t digit, std::int32_t x, std::int32_t y) {
    drawDigitFrom(cells::greenDigits, digit, x, y);
}

void DrawNumber(std::int32_t n, std::int32_t x, std::int32_t y) {
    // Position k from the left holds the digit of 10^(7-k); it is drawn only
    // when n has that many digits, and the units always.
    std::int32_t power = 10000000;
    for (std::int32_t k = 0; k < 8; ++k, power /= 10) {
        if (n > power - 1 || power == 1) DrawDigit(n / power % 10, x + 5 * k, y);
    }
}

void DrawStatusLine(std::int32_t score, std::int32_t highScore) {
    backBuffer.copyFrom(background);
    DrawCell(cells::scoreLabel, 10, 7);
    DrawNumber(score, 35, 7);
    DrawCell(cells::hiScoreLabel, 85, 7);
    DrawNumber(highScore, 125, 7);
}
