// One frame of play: the pacing wait, the player's keys, the aliens' bombs,
// the world's update and its drawing, the next round when the formation is
// gone, and the frame shown.
#include "game/game.h"
#include "game/game_internal.h"
#include "game/game_state.h"
#include "game/sample_slots.h"
#include "graphics/primitives.h"
#include "graphics/surface.h"

using namespace platform;

namespace {

constexpr std::uint32_t kFramePeriodMs = 20;
constexpr std::int32_t kExtraLifeScore = 1500;
constexpr std::int32_t kShotDy = -2;
constexpr std::int32_t kBarrelOffset = 5;  // pixels from the cannon's left edge to its barrel
constexpr int kWaves = 5;

constexpr int kLeftKeys[] = {VK_4, VK_LEFT, VK_F1};
constexpr int kRightKeys[] = {VK_6, VK_RIGHT, VK_F2};
constexpr int kFireKeys[] = {VK_F9, VK_F8, VK_5};

template <std::size_t N>
bool anyKeyDown(const int (&keys)[N]) {
    for (int key : keys)
        if (GetAsyncKeyState(key) != 0) return true;
    return false;
}

void waitForFramePeriod() {
    const std::uint32_t elapsed = GetTickCount() - gameState.lastFrameTick;
    if (elapsed < kFramePeriodMs) Sleep(kFramePeriodMs - elapsed);
    gameState.lastFrameTick = GetTickCount();
}

void launchShot() {
    Shot& shot = gameState.shot;
    shot.x = gameState.cannon.x / 2 + kBarrelOffset;
    shot.y = gameState.cannon.y - 2;
    shot.active = 1;
    shot.dy = kShotDy;
    PlaySampleSlot(kFireSound);
}

// One shot per press: the latch holds until every fire key is released.
void readControls() {
    Cannon& cannon = gameState.cannon;
    if (cannon.state != CannonAlive) return;
    if (anyKeyDown(kLeftKeys) && cannon.x > cannonMinX) --cannon.x;
    if (anyKeyDown(kRightKeys) && cannon.x < cannonMaxX) ++cannon.x;
    if (anyKeyDown(kFireKeys)) {
        if (gameState.fireLatch == 0 && gameState.shot.active == 0) launchShot();
        gameState.fireLatch = 1;
    } else {
        gameState.fireLatch = 0;
    }
}

bool cannonAlive() { return gameState.cannon.state == CannonAlive; }

void flyMysteryShip() {
    if (gameState.shipSoundOn == 0) {
        gameState.shipChannel = PlaySampleSlot(kShipSound);
        gameState.shipSoundOn = 1;
    }
    MoveMysteryShip();
}

void drawWorld() {
    DrawAliens();
    DrawMysteryShip();
    DrawShields();
    DrawGround();
    DrawShotAndBombs();
    if (gameState.mode == Playing || gameState.mode == LifeLost) DrawCannon();
    DrawLives();
}

void startNextRound() {
    gameState.wave = (gameState.wave + 1) % kWaves;
    gameState.mode = RoundStart;
    gameState.modeDeadline = GetTickCount() + kRoundStartMs;
    NewRound();
}

}  // namespace

int PlayFrame() {
    const std::int32_t scoreBefore = gameState.score;
    waitForFramePeriod();
    if (gameState.mode == Playing) readControls();
    if (gameState.mode != LifeLost && cannonAlive()) DropBombs();
    DrawStatusLine(gameState.score, gameState.highScore);
    if (gameState.aliensLeft >= 1 && gameState.mode != LifeLost && cannonAlive()) MarchFormation();
    if (gameState.mode == Playing && gameState.aliensLeft >= 1 && GetTickCount() > gameState.shipDue) flyMysteryShip();
    MoveShots();
    ResolveCollisions();
    if (scoreBefore < kExtraLifeScore && gameState.score >= kExtraLifeScore) {
        ++gameState.cannon.lives;
        PlaySampleSlot(kExtraLifeSound);
    }
    drawWorld();
    // FIX: a round cleared in the frame that ended the game leaves the game over.
    if (gameState.aliensLeft == 0 && gameState.mode != GameOver) startNextRound();
    return Present();
}
