// Every hit test of a frame, made in one pass after the shot and the bombs
// have moved: hits on aliens and the ship score, shields and the ground wear
// away cell by cell, a bomb can destroy the cannon, and the shot and a bomb
// can cancel each other. The shot is checked anew at every candidate, so it
// hits at most one thing per frame.
#include <cstdlib>

#include "game/game.h"
#include "game/game_internal.h"
#include "game/game_state.h"
#include "game/sample_slots.h"

namespace {

// A damage pattern: 'X' the struck cell and '#' the other cells it clears;
// columns run from cx - 2 to cx + 2 and rows from cy + firstRow down.
struct DamagePattern {
    int firstRow;
    int rows;
    const char* lines[4];
};

constexpr int kPatternLeft = -2;

// clang-format off
constexpr DamagePattern kShotDamage[3] = {
    {-1, 3, {"..##.",
             "#.X.#",
             ".###."}},
    {-1, 3, {".###.",
             ".#X.#",
             ".###."}},
    {-1, 3, {"..#.#",
             "#.XX.",
             ".###."}},
};
// clang-format on

// clang-format off
constexpr DamagePattern kBombDamage[3] = {
    {-2, 4, {"..#..",
             ".###.",
             "#.X.#",
             "..###"}},
    {-2, 4, {"...#.",
             ".#.#.",
             ".#X.#",
             ".####"}},
    {-2, 4, {".....",
             ".###.",
             "##X#.",
             ".####"}},
};
// clang-format on

constexpr std::int32_t kAlienPoints[kRows] = {30, 20, 20, 10, 10};
constexpr std::int32_t kAlienBoxWidth = 9;     // the hit box spans x .. x + 9
constexpr std::int32_t kAlienBoxHeight = 6;    // and y .. y + 6
constexpr std::int32_t kShieldErodingY = 164;  // aliens this low wear the shields away
constexpr std::int32_t kErodeBoxWidth = 9;
constexpr std::int32_t kErodeBoxHeight = 7;
constexpr std::int32_t kShipBoxWidth = 11;
constexpr std::int32_t kShipBoxHeight = 5;
constexpr std::int32_t kBombLength = 6;  // from a bomb's top to its tip
constexpr std::int32_t kCannonBoxWidth = 11;
constexpr std::int32_t kCannonBoxHeight = 7;

bool within(std::int32_t low, std::int32_t value, std::int32_t high) { return low <= value && value <= high; }

void raiseHighScore() {
    if (gameState.score > gameState.highScore) gameState.highScore = gameState.score;
}

// Only cells of shield s are touched: offsets beyond its 17 x 13 cells are ignored.
void applyDamage(int s, int cx, int cy, const DamagePattern& pattern) {
    auto& shield = gameState.shields[s];
    for (int row = 0; row < pattern.rows; ++row) {
        const int y = cy + pattern.firstRow + row;
        if (y < 0 || y >= kShieldRows) continue;
        for (int col = 0; pattern.lines[row][col] != '\0'; ++col) {
            const int x = cx + kPatternLeft + col;
            if (x < 0 || x >= kShieldColumns || pattern.lines[row][col] == '.') continue;
            shield[x][y] = 0;
        }
    }
}

// Finds the first solid cell, scanning the shields' rows from the top, at
// pixel column x in pixel row upperRow or upperRow + 1, and damages it with
// one of the three patterns, drawn at random.
bool strikeShields(std::int32_t x, std::int32_t upperRow, const DamagePattern (&patterns)[3]) {
    for (int s = 0; s < kShields; ++s)
        for (int cy = 0; cy < kShieldRows; ++cy)
            for (int cx = 0; cx < kShieldColumns; ++cx) {
                if (!gameState.shields[s][cx][cy]) continue;
                const std::int32_t cellY = kShieldTop + cy;
                if (x != ShieldLeft(s) + cx || (cellY != upperRow && cellY != upperRow + 1)) continue;
                applyDamage(s, cx, cy, patterns[std::rand() % 3]);
                return true;
            }
    return false;
}

void shotAgainstAliens() {
    Shot& shot = gameState.shot;
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kColumns; ++c) {
            Alien& alien = gameState.aliens[c][r];
            if (alien.state != AlienAlive || !shot.active) continue;
            if (!within(alien.x, shot.x, alien.x + kAlienBoxWidth) ||
                !within(alien.y, shot.y, alien.y + kAlienBoxHeight))
                continue;
            PlaySampleSlot(kHitSound);
            gameState.score += AlienPoints(r);
            alien.state = AlienFirstExplosion;
            raiseHighScore();
            shot.active = 0;
            --gameState.aliensLeft;
        }
}

// The shot moves 2 pixels a frame, so its top strikes a cell in its own row
// or in the row below, and no cell is jumped over.
void shotAgainstShields() {
    Shot& shot = gameState.shot;
    if (shot.active && strikeShields(shot.x, shot.y, kShotDamage)) shot.active = 0;
}

void aliensAgainstShields() {
    for (const auto& column : gameState.aliens)
        for (const Alien& alien : column) {
            if (alien.state != AlienAlive || alien.y < kShieldErodingY) continue;
            for (int s = 0; s < kShields; ++s)
                for (int cx = 0; cx < kShieldColumns; ++cx)
                    for (int cy = 0; cy < kShieldRows; ++cy)
                        if (within(alien.x, ShieldLeft(s) + cx, alien.x + kErodeBoxWidth) &&
                            within(alien.y, kShieldTop + cy, alien.y + kErodeBoxHeight))
                            gameState.shields[s][cx][cy] = 0;
        }
}

void shotAgainstShip() {
    Shot& shot = gameState.shot;
    MysteryShip& ship = gameState.ship;
    if (!shot.active || ship.state != 1) return;
    if (!within(ship.x / 2, shot.x, ship.x / 2 + kShipBoxWidth) || !within(ship.y, shot.y, ship.y + kShipBoxHeight))
        return;
    StopShipSound();
    PlaySampleSlot(kHitSound);
    gameState.score += MysteryShipValue(ship.kind);
    raiseHighScore();
    ship.state = 2;
    shot.active = 0;
}

// A bomb's tip (y + 6) strikes a cell in its own row or in the row above.
void bombsAgainstShields() {
    for (Bomb& bomb : gameState.bombs)
        if (bomb.state == 1 && strikeShields(bomb.x, bomb.y + kBombLength - 1, kBombDamage)) bomb.state = 2;
}

void bombsAgainstGround() {
    for (Bomb& bomb : gameState.bombs) {
        if (bomb.state != 1 || bomb.y < groundY - kBombLength) continue;
        bomb.state = 2;
        if (within(0, bomb.x, kGroundCells - 1)) gameState.ground[bomb.x] = 0;
    }
}

// The bomb that strikes the cannon falls on.
void bombsAgainstCannon() {
    if (gameState.mode != Playing) return;
    Cannon& cannon = gameState.cannon;
    for (const Bomb& bomb : gameState.bombs) {
        if (bomb.state != 1 || cannon.state != CannonAlive) continue;
        if (within(cannon.x / 2, bomb.x, cannon.x / 2 + kCannonBoxWidth) &&
            within(cannon.y, bomb.y + kBombLength, cannon.y + kCannonBoxHeight)) {
            cannon.state = CannonFirstExplosion;
            PlaySampleSlot(kCannonHitSound);
        }
    }
}

void bombsAgainstShot() {
    Shot& shot = gameState.shot;
    for (Bomb& bomb : gameState.bombs) {
        if (bomb.state != 1 || !shot.active) continue;
        if (within(bomb.x - 1, shot.x, bomb.x + 1) && within(bomb.y, shot.y, bomb.y + kBombLength)) {
            bomb.state = 2;
            shot.active = 0;
        }
    }
}

}  // namespace

std::int32_t AlienPoints(int row) { return kAlienPoints[row]; }

void ResolveCollisions() {
    shotAgainstAliens();
    shotAgainstShields();
    aliensAgainstShields();
    shotAgainstShip();
    bombsAgainstShields();
    bombsAgainstGround();
    bombsAgainstCannon();
    bombsAgainstShot();
}
