// The player's cannon, its explosion and the loss it settles, and the lives
// display at the bottom left.
#include "game/game.h"
#include "game/game_state.h"
#include "graphics/primitives.h"

namespace {

constexpr std::int32_t kLivesDigitX = 10, kLivesDigitY = 207;
constexpr std::int32_t kReserveX = 20, kReserveSpacing = 15, kReserveY = 206;

void settleLostCannon() {
    Cannon& cannon = gameState.cannon;
    cannon.state = CannonAbsent;
    --cannon.lives;
    if (cannon.lives >= 1) {
        gameState.mode = LifeLost;
        gameState.modeDeadline = platform::GetTickCount() + kLifeLostMs;
        for (Bomb& bomb : gameState.bombs) bomb.state = 0;
    } else {
        gameState.mode = GameOver;
        gameState.modeDeadline = platform::GetTickCount() + kGameOverMs;
    }
}

}  // namespace

void DrawCannon() {
    Cannon& cannon = gameState.cannon;
    if (cannon.state <= CannonAbsent) return;
    if (cannon.state == CannonAlive) {
        DrawCell(cells::cannon, cannon.x / 2, cannon.y);
    } else if (cannon.state < CannonLossSettles) {
        DrawCell(cells::cannonExplosion, cannon.x / 2, cannon.y);
        ++cannon.state;
    } else {
        settleLostCannon();
    }
}

// The count, then one reserve cannon for every life beyond the one in play.
void DrawLives() {
    DrawGreenDigit(gameState.cannon.lives, kLivesDigitX, kLivesDigitY);
    for (std::int32_t i = 0; i < gameState.cannon.lives - 1; ++i)
        DrawCell(cells::cannon, kReserveX + kReserveSpacing * i, kReserveY);
}
