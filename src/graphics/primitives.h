// The game's drawing primitives on backBuffer: pixels coloured by the band of
// rows they fall in, cells of the sprite sheet, digits and numbers, and the
// status line that begins every frame. Main thread only.
#pragma once

#include <cstdint>

// A rectangle of the sprite sheet (bitmap 121, 47 x 53, pure blue where transparent).
struct SpriteCell {
    std::int32_t x, y, w, h;
};

// Every picture the program draws from the sprite sheet. Digit cells are
// rows of ten 4 x 6 digits, digit d at x = 4 * (d + first).
// clang-format off
namespace cells {
//                                     x   y   w   h     colour
constexpr SpriteCell whiteDigits     { 4,  0,  4,  6}; // white, digit d at x 4*(d+1)
constexpr SpriteCell scoreLabel      {14,  7, 28,  6}; // white: SCORE:
constexpr SpriteCell hiScoreLabel    { 0,  7, 42,  6}; // white: HI-SCORE:
constexpr SpriteCell redDigits       { 4, 13,  4,  6}; // red, digit d at x 4*(d+1)
constexpr SpriteCell alien3[2]     = {{ 0, 20,  9,  6}, {10, 20,  9,  6}}; // white, row 0
constexpr SpriteCell alien2[2]     = {{ 0, 27,  9,  7}, {10, 27,  9,  7}}; // white, rows 1-2
constexpr SpriteCell alien1[2]     = {{ 0, 35,  9,  6}, {10, 35,  9,  6}}; // white, rows 3-4
constexpr SpriteCell cannon          {21, 34, 12,  7}; // green
constexpr SpriteCell cannonExplosion {34, 27, 13,  7}; // green
constexpr SpriteCell ship            { 0, 41, 11,  5}; // red
constexpr SpriteCell shipExplosion   {11, 41, 13,  6}; // red
constexpr SpriteCell greenDigits     {24, 41,  4,  6}; // green, digit d (0..4) at x 4*(d+6)
constexpr SpriteCell gameOverLabel   { 0, 47, 42,  5}; // red: GAME OVER
// Drawn on the sheet but never from it: the game plots these pixel by pixel.
constexpr SpriteCell alienExplosion  {20, 26, 13,  8}; // white
constexpr SpriteCell bomb            {35, 21,  2,  5}; // white
}  // namespace cells
// clang-format on

// The sprite of an alien of kind 1..3 in animation frame 0 or 1.
const SpriteCell& AlienCell(std::int32_t kind, std::int32_t frame);

// Keyed blit of a cell from spriteSheet into backBuffer at (x, y).
void DrawCell(const SpriteCell& cell, std::int32_t x, std::int32_t y);

// Plots (x, y) in the colour of its band: green below row 167, white above
// row 35, red from 35 to 50 (the ship's strip), white from 51 to 167.
void PlotOverlay(std::int32_t x, std::int32_t y);
// One digit; a negative digit draws nothing, one past its cells is refused.
void DrawDigit(std::int32_t digit, std::int32_t x, std::int32_t y);
void DrawRedDigit(std::int32_t digit, std::int32_t x, std::int32_t y);
void DrawGreenDigit(std::int32_t digit, std::int32_t x, std::int32_t y);
// A score of 0 or more in white, right-aligned in eight positions 5 pixels
// apart (the units at x + 35), without leading zeros.
void DrawNumber(std::int32_t n, std::int32_t x, std::int32_t y);
// Background restore, then SCORE: and the score, HI-SCORE: and the high score (rows 7 to 12).
void DrawStatusLine(std::int32_t score, std::int32_t highScore);
