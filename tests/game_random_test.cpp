// The game's own generator must give glibc's rand() sequence to the bit, so
// that the same key script plays the same game on every system. These tests
// compare it with the C library of this (glibc) system.
#include <gtest/gtest.h>

#include <cstdlib>

#include "game/game_random.h"

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
