// The mystery ship: armed out of sight with a random side and value, it
// crosses the top of the screen half a pixel per frame with a looping sound,
// and shows its explosion and then its value where it was hit.
#include <cstdlib>

#include "game/game.h"
#include "game/game_internal.h"
#include "game/game_state.h"
#include "graphics/primitives.h"
#include "sound/sound_system.h"

namespace {

constexpr std::int32_t kEnterRightX = 354;  // half-pixels: pixel 177, just beyond the right edge
constexpr std::int32_t kEnterLeftX = -30;   // half-pixels: pixel -15
constexpr std::int32_t kLeftRightX = 360;   // half-pixels beyond which the ship has left
constexpr std::int32_t kLeftLeftX = -40;
constexpr std::int32_t kShipY = 40;
constexpr std::uint32_t kShipDelayMs = 24000;
constexpr std::int32_t kFirstValueState = 100;  // states 2..99 show the explosion
constexpr std::int32_t kLastValueState = 300;

constexpr std::int32_t kShipValues[] = {50, 100, 200, 300, 500};
constexpr int kShipKinds = sizeof kShipValues / sizeof kShipValues[0];

// The value in red digits on the row above the ship: "50" sits a little to the
// right, the three-digit values a little to the left.
void drawShipValue() {
    const MysteryShip& ship = gameState.ship;
    const std::int32_t x = ship.x / 2, y = ship.y - 1;
    if (ship.kind == 0) {
        DrawRedDigit(5, x + 1, y);
        DrawRedDigit(0, x + 6, y);
    } else {
        DrawRedDigit(MysteryShipValue(ship.kind) / 100, x - 1, y);
        DrawRedDigit(0, x + 3, y);
        DrawRedDigit(0, x + 7, y);
    }
}

}  // namespace

std::int32_t MysteryShipValue(std::int32_t kind) { return kind >= 0 && kind < kShipKinds ? kShipValues[kind] : 0; }

void ArmMysteryShip() {
    MysteryShip& ship = gameState.ship;
    if (std::rand() % 2 == 1) {
        ship.x = kEnterRightX;
        ship.dx = -1;
    } else {
        ship.x = kEnterLeftX;
        ship.dx = +1;
    }
    ship.y = kShipY;
    ship.state = 1;
    ship.kind = std::rand() % kShipKinds;
    gameState.shipDue = platform::GetTickCount() + kShipDelayMs;
    gameState.shipSoundOn = 0;
}

// FIX: the ship's loop is stopped only through a live handle of a running
// engine, and only while that channel still plays a looping sound (the ship's
// is the game's only one); the handle is then forgotten.
void StopShipSound() {
    if (gameState.shipChannel != kNoChannel && soundSystem.started()) {
        Channel* channel = soundSystem.channelAt(gameState.shipChannel);
        if (channel != nullptr && channel->isPlaying() && channel->loop()) channel->stop();
    }
    gameState.shipChannel = kNoChannel;
}

void MoveMysteryShip() {
    MysteryShip& ship = gameState.ship;
    if (ship.state == 1) ship.x += ship.dx;
    if (ship.x > kLeftRightX || ship.x < kLeftLeftX) {
        ArmMysteryShip();
        StopShipSound();
        gameState.shipSoundOn = 0;
    }
}

void DrawMysteryShip() {
    MysteryShip& ship = gameState.ship;
    if (ship.state <= 0) return;
    if (ship.state == 1) {
        DrawCell(cells::ship, ship.x / 2, ship.y);
    } else if (ship.state < kFirstValueState) {
        DrawCell(cells::shipExplosion, ship.x / 2 - 1, ship.y - 1);
        ++ship.state;
    } else {
        drawShipValue();
        if (++ship.state > kLastValueState) ArmMysteryShip();
    }
}
