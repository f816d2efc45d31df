// The game world: the records of the formation, the cannon, the shot, the
// bombs and the mystery ship, the shields and the ground, and the fixed
// geometry of the 176 x 220 playfield.
#pragma once

#include <cstdint>

// Fixed geometry. The cannon's x and the ship's x are held in half-pixels.
constexpr std::int32_t cannonStartX = 24;  // half-pixels (pixel 12)
constexpr std::int32_t cannonY = 191;      // also the line an alien must not pass
constexpr std::int32_t groundY = 203;
constexpr std::int32_t cannonMinX = 20;   // half-pixels
constexpr std::int32_t cannonMaxX = 308;  // half-pixels

constexpr int kColumns = 11;
constexpr int kRows = 5;
constexpr int kShields = 4;
constexpr int kShieldColumns = 17;
constexpr int kShieldRows = 13;
constexpr int kGroundCells = 176;

constexpr std::int32_t ShieldLeft(int s) { return 21 + 38 * s; }
constexpr std::int32_t kShieldTop = 169;

// An alien's state; the explosion's frames run from AlienFirstExplosion to
// AlienLastExplosion, one per drawn frame, and then the alien is gone.
enum AlienState : std::int32_t {
    AlienGone = 0,
    AlienAlive = 1,
    AlienFirstExplosion = 2,
    AlienLastExplosion = 4,
};

// The cannon's state; the explosion's frames run from CannonFirstExplosion,
// one per drawn frame, until the frame that reaches CannonLossSettles, which
// settles the lost cannon instead of drawing it.
enum CannonState : std::int32_t {
    CannonAbsent = 0,
    CannonAlive = 1,
    CannonFirstExplosion = 2,
    CannonLossSettles = 80,
};

struct Alien {
    std::int32_t x;      // left edge, pixels; the sprite is 9 wide
    std::int32_t y;      // top edge, pixels
    std::int32_t frame;  // 0 or 1
    std::int32_t state;  // an AlienState, or a frame of the explosion: 0 gone, 1 alive, 2..4 exploding
    std::int32_t kind;   // 3 (row 0), 2 (rows 1, 2), 1 (rows 3, 4)
};

struct Cannon {
    std::int32_t x;      // half-pixels, 20..308
    std::int32_t y;      // pixels, always cannonY
    std::int32_t state;  // a CannonState: 0 absent, 1 alive, 2..79 exploding, 80 the loss is settled
    std::int32_t lives;  // including the cannon in play
};

struct Shot {
    std::int32_t x;  // pixels; a vertical line from y down to y + 4
    std::int32_t y;
    std::int32_t dy;      // always -2
    std::int32_t active;  // 0 or 1
};

struct Bomb {
    std::int32_t x;      // centre column of the 3-pixel-wide bomb
    std::int32_t y;      // top
    std::int32_t dy;     // always +1
    std::int32_t state;  // 0 free, 1 falling, 2..9 exploding
};

struct MysteryShip {
    std::int32_t x;      // half-pixels, left edge
    std::int32_t y;      // pixels, always 40
    std::int32_t state;  // 0 none, 1 armed or flying, 2..99 exploding, 100..300 showing its value
    std::int32_t dx;     // +1 or -1 half-pixel per frame
    std::int32_t kind;   // 0..4: 50, 100, 200, 300, 500 points
};

// The game's half of GameState. All zero when the program starts.
struct WorldFields {
    Alien aliens[kColumns][kRows];  // column by column; column 0 leftmost, row 0 the top
    std::int32_t aliensLeft;
    std::int32_t marchStep;   // +2 (right) or -2 (left), pixels
    std::int32_t marchIndex;  // 0..54, the next alien to move in the march order
    std::int32_t marchNote;   // 0..3, the note that sounded last
    std::uint8_t stepDownSweep;
    std::uint8_t edgeReached;
    Cannon cannon;
    Shot shot;
    Bomb bombs[kColumns];  // bomb i is dropped only by column i
    MysteryShip ship;
    std::uint32_t shipDue;  // tick count after which the ship flies
    std::int32_t shipSoundOn;
    // FIX: the ship's loop is remembered by its channel handle (65535: none),
    // not by a channel record, so a reused channel or a stopped engine is
    // never touched by mistake.
    std::uint32_t shipChannel = 65535;
    std::uint8_t shields[kShields][kShieldColumns][kShieldRows];  // cell (s, cx, cy)
    std::uint8_t ground[kGroundCells];
    std::int32_t wave;  // 0..4
    std::uint8_t fireLatch;
    std::uint32_t lastFrameTick;
};
