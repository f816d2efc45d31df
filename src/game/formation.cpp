// The marching formation: one alien moves per frame, so the march speeds up as
// the formation thins; and its drawing, explosions included.
#include "game/game.h"
#include "game/game_internal.h"
#include "game/game_state.h"
#include "game/sample_slots.h"
#include "graphics/primitives.h"
#include "graphics/surface.h"

namespace {

constexpr std::int32_t kMarchPositions = kColumns * kRows;  // 55
constexpr std::int32_t kRightLimit = 164;                   // an alien past this x has reached the right edge
constexpr std::int32_t kLeftLimit = 3;                      // and below this one the left edge
constexpr std::int32_t kStepDown = 8;                       // pixels per step-down sweep
constexpr std::int32_t kMarchNotes = 4;
constexpr std::int32_t kLowAlienY = 160;  // below this the sprite is plotted pixel by pixel

// Plotted for an exploding alien: columns x - 2 .. x + 10, rows y .. y + 8.
constexpr int kExplosionRows = 9;
constexpr int kExplosionLeft = -2;
// clang-format off
constexpr const char* kAlienExplosion[kExplosionRows] = {
    "....#...#....",
    ".#...#.#...#.",
    "..#.......#..",
    "...#.....#...",
    "##.........##",
    "...#.....#...",
    "..#.......#..",
    ".#...#.#...#.",
    "....#...#....",
};
// clang-format on

void landFormation() {
    gameState.cannon.lives = 0;
    gameState.mode = GameOver;
    gameState.modeDeadline = platform::GetTickCount() + kGameOverMs;
}

void endSweep() {
    gameState.marchIndex = 0;
    if (gameState.stepDownSweep) {
        gameState.marchStep = -gameState.marchStep;
        gameState.stepDownSweep = 0;
        gameState.edgeReached = 0;
    }
    if (gameState.edgeReached) gameState.stepDownSweep = 1;
    gameState.marchNote = (gameState.marchNote + 1) % kMarchNotes;
    PlaySampleSlot(kFirstMarchNote + gameState.marchNote);
}

// Exploding aliens keep their turn; only gone ones are skipped. The bound
// only matters if no alien is present at all, which the caller rules out.
void advanceToNextPresentAlien() {
    for (int tries = 0; tries < 2 * kMarchPositions; ++tries) {
        if (++gameState.marchIndex >= kMarchPositions) endSweep();
        if (AlienAtMarchPosition(gameState.marchIndex).state != AlienGone) return;
    }
}

// Every non-key pixel of the sprite, in the colour of its band.
void plotSprite(const SpriteCell& cell, std::int32_t x, std::int32_t y) {
    const Image* sheet = spriteSheet;
    if (sheet == nullptr || sheet->pixels == nullptr) return;
    if (cell.x + cell.w > sheet->width || cell.y + cell.h > sheet->height) return;
    for (std::int32_t py = 0; py < cell.h; ++py) {
        const NativePixel* row = sheet->pixels + (cell.y + py) * sheet->width + cell.x;
        for (std::int32_t px = 0; px < cell.w; ++px)
            if (row[px] != colourKey) PlotOverlay(x + px, y + py);
    }
}

void plotExplosion(const Alien& alien) {
    for (int row = 0; row < kExplosionRows; ++row)
        for (int col = 0; kAlienExplosion[row][col] != '\0'; ++col)
            if (kAlienExplosion[row][col] == '#') PlotOverlay(alien.x + kExplosionLeft + col, alien.y + row);
}

void drawAlien(Alien& alien) {
    if (alien.state == AlienAlive) {
        const SpriteCell& cell = AlienCell(alien.kind, alien.frame);
        if (alien.y > kLowAlienY) {
            plotSprite(cell, alien.x, alien.y);
        } else {
            DrawCell(cell, alien.x, alien.y);
        }
    } else if (alien.state >= AlienFirstExplosion) {
        plotExplosion(alien);
        alien.state = alien.state == AlienLastExplosion ? AlienGone : alien.state + 1;
    }
}

}  // namespace

// The march starts with the bottom row and, within a row, with the column at
// the leading edge of the movement.
Alien& AlienAtMarchPosition(std::int32_t position) {
    const int row = kRows - 1 - position / kColumns;
    const int step = position % kColumns;
    const int column = gameState.marchStep < 0 ? step : kColumns - 1 - step;
    return gameState.aliens[column][row];
}

void MarchFormation() {
    Alien& alien = AlienAtMarchPosition(gameState.marchIndex);
    if (gameState.stepDownSweep == 0) {
        alien.x += gameState.marchStep;
        if (gameState.marchStep > 0 && alien.x > kRightLimit) gameState.edgeReached = 1;
        if (gameState.marchStep < 0 && alien.x < kLeftLimit) gameState.edgeReached = 1;
    } else {
        alien.y += kStepDown;
        if (alien.y > gameState.cannon.y) landFormation();
    }
    alien.frame = 1 - alien.frame;
    advanceToNextPresentAlien();
}

void DrawAliens() {
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kColumns; ++c) drawAlien(gameState.aliens[c][r]);
}
