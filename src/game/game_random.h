// The game's random numbers. Every random choice of the rules comes from
// GameRand, so a recording made on one system replays on any other.
#pragma once

#include <cstdint>

// Desktop: the rules draw from this program's own copy of the GNU C library's
// rand() sequence as it runs unseeded (its additive feedback generator with 31
// words of state, seeded with 1), not from the C library at hand, whose
// sequence differs between systems (musl's, for one, is not glibc's).
class GlibcRandom {
public:
    // The state that glibc's srand(seed) gives; seed 0 counts as 1, as there.
    explicit GlibcRandom(std::uint32_t seed = 1);
    // The next number, 0 to 2^31 - 1: the same values, in the same order, as
    // glibc's rand() after srand(seed).
    int next();

private:
    static constexpr int kDegree = 31;     // words of state
    static constexpr int kSeparation = 3;  // r[i] = r[i - 31] + r[i - 3]
    std::uint32_t words_[kDegree];
    int front_ = kSeparation;  // the word that takes the sum
    int rear_ = 0;             // the word added to it
};

// The next of the game's random numbers, 0 to 2^31 - 1, from one sequence
// for the whole process that starts as an unseeded rand() does. Main thread only.
int GameRand();
