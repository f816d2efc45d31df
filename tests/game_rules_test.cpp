// Single rules of the game, on worlds arranged in-process: the ones the
// golden test's games never reach (a cleared wave, every shield cell). And
// the game's own generator, which must give glibc's rand() sequence to the
// bit, so that the same key script plays the same game on every system: it
// is compared with the C library of this (glibc) system.
#include <algorithm>
#include <cstdlib>
#include <set>
#include <utility>

#include "game/game_random.h"
#include "game_world_fixture.h"

namespace {

using Cell = std::pair<int, int>;  // (cx, cy)

}  // namespace

using Rounds = GameWorld;

TEST_F(Rounds, EachWaveStartsTenPixelsLowerAndTheSixthRoundIsWaveZeroAgain) {
    const int expectedWaves[] = {1, 2, 3, 4, 0, 1};
    for (int wave : expectedWaves) {
        keepOnlyAlien(0, 0);
        gameState.aliens[0][0].state = 0;
        gameState.aliensLeft = 0;
        gameState.mode = Playing;
        PlayFrame();
        EXPECT_EQ(gameState.wave, wave);
        EXPECT_EQ(gameState.mode, RoundStart);
        EXPECT_EQ(gameState.aliensLeft, 55);
        EXPECT_EQ(gameState.aliens[0][0].x, 8);
        EXPECT_EQ(gameState.aliens[0][0].y, 52 + 10 * wave);
        EXPECT_EQ(gameState.aliens[10][4].x, 148);
        EXPECT_EQ(gameState.aliens[10][4].y, 112 + 10 * wave);
    }
}

// FIX: the frame that ends the game keeps it ended even when it also shoots the last alien.
TEST_F(Rounds, TheLastAlienShotAsTheFormationLandsLeavesTheGameOver) {
    keepOnlyAlien(5, 4);
    Alien& alien = gameState.aliens[5][4];
    alien.y = 188;
    gameState.stepDownSweep = 1;
    gameState.marchIndex = 5;
    gameState.shot = Shot{alien.x + 3, 188 + 8 + 2, -2, 1};  // meets the alien where it lands
    gameState.lastFrameTick = platform::ActiveClock().now();
    PlayFrame();
    EXPECT_EQ(gameState.aliensLeft, 0);
    EXPECT_EQ(gameState.mode, GameOver);
    EXPECT_EQ(gameState.wave, 0);
    EXPECT_EQ(gameState.cannon.lives, 0);
}

using Shields = GameWorld;

// Strikes every solid cell of every shield, by shot and by bomb: each strike
// clears the struck cell and cells near it, in the struck shield only, with
// one of three patterns.
TEST_F(Shields, DamageStaysInsideTheStruckShieldAndNearTheStrike) {
    BuildShields();
    const GameState built = gameState;
    const auto& whole = built.shields;
    for (bool byBomb : {false, true}) {
        std::set<std::set<Cell>> patterns;  // offsets cleared around strikes well inside a shield
        for (int s = 0; s < kShields; ++s)
            for (int cx = 0; cx < kShieldColumns; ++cx)
                for (int cy = 0; cy < kShieldRows; ++cy) {
                    if (!whole[s][cx][cy]) continue;
                    BuildShields();
                    const std::int32_t x = ShieldLeft(s) + cx;
                    if (byBomb) {
                        gameState.bombs[0] = Bomb{x, kShieldTop + cy - 5, 1, 1};  // its tip one row below the cell
                    } else {
                        gameState.shot = Shot{x, kShieldTop + cy, -2, 1};
                    }
                    ResolveCollisions();
                    EXPECT_EQ(byBomb ? gameState.bombs[0].state : gameState.shot.active, byBomb ? 2 : 0);
                    gameState.bombs[0].state = 0;

                    std::set<Cell> offsets;
                    for (int other = 0; other < kShields; ++other)
                        for (int ox = 0; ox < kShieldColumns; ++ox)
                            for (int oy = 0; oy < kShieldRows; ++oy) {
                                if (whole[other][ox][oy] == gameState.shields[other][ox][oy]) continue;
                                ASSERT_EQ(other, s) << "a strike on shield " << s << " damaged shield " << other;
                                EXPECT_LE(std::abs(ox - cx), 2);
                                EXPECT_LE(oy - cy, 1);
                                EXPECT_GE(oy - cy, byBomb ? -2 : -1);
                                offsets.insert({ox - cx, oy - cy});
                            }
                    EXPECT_TRUE(offsets.count({0, 0}))
                        << (byBomb ? "bomb" : "shot") << " left the struck cell " << s << ": " << cx << ", " << cy;
                    EXPECT_TRUE(std::ranges::all_of(gameState.ground, [](std::uint8_t cell) { return cell != 0; }));
                    if (cx >= 2 && cx <= 14 && cy >= 6 && cy <= 8) patterns.insert(offsets);  // all solid around
                }
        EXPECT_EQ(patterns.size(), 3u) << (byBomb ? "bomb" : "shot");
    }
}

TEST(GameRandom, GivesTheLibrarysSequenceUnseededAndForEverySeed) {
    // srand(1) puts glibc in the state an unseeded program starts in; seeds
    // past 2^31 are read as negative numbers, and 0 as 1.
    const struct {
        unsigned seed;
        int count;
    } cases[] = {{1, 1'000'000},       {0, 10'000},           {12345, 10'000},
                 {2147483647, 10'000}, {2147483648u, 10'000}, {4294967295u, 10'000}};
    for (const auto& c : cases) {
        GlibcRandom ours = c.seed == 1 ? GlibcRandom() : GlibcRandom(c.seed);
        std::srand(c.seed);
        int mismatches = 0;
        for (int i = 0; i < c.count; ++i) mismatches += ours.next() != std::rand();
        EXPECT_EQ(mismatches, 0) << "seed " << c.seed;
    }
}
