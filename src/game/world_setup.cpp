// Laying out a game, a round and the cannon.
#include "game/game.h"
#include "game/game_internal.h"
#include "game/game_state.h"

namespace {

// One shape for all four shields: '#' solid, '.' empty; 17 columns by 13 rows.
// clang-format off
constexpr const char* kShieldShape[kShieldRows] = {
    "....#########....",
    "...###########...",
    "..#############..",
    ".###############.",
    "#################",
    "#################",
    "#################",
    "#################",
    "#################",
    "#################",
    "######.....######",
    "#####.......#####",
    "####.........####",
};
// clang-format on

constexpr std::int32_t kFirstMarchStep = 2;  // pixels, to the right

constexpr std::int32_t kindOfRow(int row) { return row == 0 ? 3 : row <= 2 ? 2 : 1; }

}  // namespace

void BuildShields() {
    for (auto& shield : gameState.shields)
        for (int cx = 0; cx < kShieldColumns; ++cx)
            for (int cy = 0; cy < kShieldRows; ++cy) shield[cx][cy] = kShieldShape[cy][cx] == '#' ? 1 : 0;
}

void BuildGround() {
    for (std::uint8_t& cell : gameState.ground) cell = 1;
}

void BuildFormation() {
    for (int c = 0; c < kColumns; ++c) {
        for (int r = 0; r < kRows; ++r) {
            Alien& alien = gameState.aliens[c][r];
            alien.x = 8 + 14 * c;
            alien.y = 52 + 15 * r + 10 * gameState.wave;
            alien.frame = 0;
            alien.state = AlienAlive;
            alien.kind = kindOfRow(r);
        }
    }
}

void NewGame() {
    gameState.score = 0;
    gameState.wave = 0;
    gameState.cannon.lives = 3;
    NewRound();
    ResetCannon();
}

// Bombs in flight, a due step-down sweep and a ship in flight carry over.
void NewRound() {
    gameState.marchStep = kFirstMarchStep;
    gameState.marchNote = 0;
    gameState.aliensLeft = kColumns * kRows;
    BuildShields();
    BuildGround();
    BuildFormation();
    ResetCannon();
    gameState.marchIndex = 0;
    gameState.shot.active = 0;
}

void ResetCannon() {
    gameState.cannon.x = cannonStartX;
    gameState.cannon.y = cannonY;
    gameState.cannon.state = CannonAlive;
    if (gameState.shipSoundOn == 0) ArmMysteryShip();
}
