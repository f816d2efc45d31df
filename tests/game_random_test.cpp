// The game's own generator must give glibc's rand() sequence to the bit, so
// that the same key script plays the same game on every system. These tests
// compare it with the C library of this (glibc) system.
#include <gtest/gtest.h>

#include <cstdlib>

#include "game/game_random.h"

namespace {

// How many of the first values of `ours` differ from rand() after srand(seed).
int mismatchesAgainstLibrary(GlibcRandom ours, unsigned seed, int count) {
    std::srand(seed);
    int mismatches = 0;
    for (int i = 0; i < count; ++i)
        if (ours.next() != std::rand()) ++mismatches;
    return mismatches;
}

}  // namespace

TEST(GameRandom, GivesTheUnseededLibrarySequenceForTheFirstMillionValues) {
    // srand(1) puts glibc back in the state an unseeded program starts in.
    EXPECT_EQ(mismatchesAgainstLibrary(GlibcRandom(), 1, 1'000'000), 0);
}

TEST(GameRandom, FollowsTheLibraryForOtherSeedsToo) {
    // Seeds past 2^31 are read as negative numbers, and 0 as 1, as in glibc.
    for (unsigned seed : {0u, 2u, 12345u, 2147483647u, 2147483648u, 4294967295u})
        EXPECT_EQ(mismatchesAgainstLibrary(GlibcRandom(seed), seed, 10'000), 0) << "seed " << seed;
}
