// The player's single shot and the aliens' bombs, one per column: dropping,
// moving and drawing them. Both are plotted pixel by pixel, so they take the
// colour of the band they are in.
#include <cstdlib>

#include "game/game.h"
#include "game/game_internal.h"
#include "game/game_state.h"
#include "graphics/primitives.h"

namespace {

constexpr int kDropChance = 250;            // a free column drops a bomb 1 time in 250
constexpr std::int32_t kShotTopLimit = 25;  // a shot above this has left the playfield
constexpr std::int32_t kShotLength = 5;
constexpr std::int32_t kLastBombExplosionState = 9;

struct Figure {
    int left;  // column of the first character, relative to the bomb's x
    int top;   // row of the first string, relative to the bomb's y
    int rows;
    const char* const* lines;
};

// Columns bomb.x - 1 .. bomb.x + 1, rows bomb.y .. bomb.y + 4.
// clang-format off
constexpr const char* kBombLines[] = {
    "###",
    ".#.",
    "###",
    ".#.",
    ".#.",
};
// clang-format on
// Columns bomb.x - 2 .. bomb.x + 2, rows bomb.y - 1 .. bomb.y + 5.
// clang-format off
constexpr const char* kBombExplosionLines[] = {
    "#.#.#",
    ".#.#.",
    ".##.#",
    "#.##.",
    "##.##",
    ".#.#.",
    "#.#.#",
};
// clang-format on
constexpr Figure kBombFigure{-1, 0, 5, kBombLines};
constexpr Figure kBombExplosionFigure{-2, -1, 7, kBombExplosionLines};

void plotFigure(const Figure& figure, std::int32_t x, std::int32_t y) {
    for (int row = 0; row < figure.rows; ++row)
        for (int col = 0; figure.lines[row][col] != '\0'; ++col)
            if (figure.lines[row][col] == '#') PlotOverlay(x + figure.left + col, y + figure.top + row);
}

// The lowest live alien of the column drops its bomb; null when none lives.
const Alien* bomberOfColumn(int column) {
    for (int r = kRows - 1; r >= 0; --r)
        if (gameState.aliens[column][r].state == AlienAlive) return &gameState.aliens[column][r];
    return nullptr;
}

}  // namespace

void DropBombs() {
    for (int i = 0; i < kColumns; ++i) {
        Bomb& bomb = gameState.bombs[i];
        if (bomb.state != 0) continue;
        if (std::rand() % kDropChance != 1) continue;
        const Alien* bomber = bomberOfColumn(i);
        if (bomber == nullptr) continue;
        bomb.state = 1;
        bomb.dy = 1;
        bomb.x = bomber->x + 5;
        bomb.y = bomber->y + 7;
    }
}

void MoveShots() {
    Shot& shot = gameState.shot;
    if (shot.active == 1) {
        shot.y += shot.dy;
        if (shot.y < kShotTopLimit) shot.active = 0;
    }
    for (Bomb& bomb : gameState.bombs)
        if (bomb.state == 1) bomb.y += bomb.dy;
}

void DrawShotAndBombs() {
    const Shot& shot = gameState.shot;
    if (shot.active == 1)
        for (std::int32_t k = 0; k < kShotLength; ++k) PlotOverlay(shot.x, shot.y + k);
    for (Bomb& bomb : gameState.bombs) {
        if (bomb.state == 1) {
            plotFigure(kBombFigure, bomb.x, bomb.y);
        } else if (bomb.state >= 2) {
            plotFigure(kBombExplosionFigure, bomb.x, bomb.y);
            bomb.state = bomb.state == kLastBombExplosionState ? 0 : bomb.state + 1;
        }
    }
}
