#include "game/game_random.h"

GlibcRandom::GlibcRandom(std::uint32_t seed) {
    // The first words follow the "minimal standard" generator, 16807 * r mod
    // (2^31 - 1), kept in 32 bits by Schrage's method; the seed is taken as
    // glibc takes it, as a signed 32-bit number.
    std::int32_t word = static_cast<std::int32_t>(seed == 0 ? 1 : seed);
    words_[0] = static_cast<std::uint32_t>(word);
    for (int i = 1; i < kDegree; ++i) {
        const std::int32_t hi = word / 127773, lo = word % 127773;
        word = 16807 * lo - 2836 * hi;
        if (word < 0) word += 2147483647;
        words_[i] = static_cast<std::uint32_t>(word);
    }
    // Ten rounds of the state are thrown away before the first number is given.
    for (int i = 0; i < 10 * kDegree; ++i) next();
}

int GlibcRandom::next() {
    words_[front_] += words_[rear_];  // wraps modulo 2^32, as it must
    const int result = static_cast<int>(words_[front_] >> 1);
    front_ = (front_ + 1) % kDegree;
    rear_ = (rear_ + 1) % kDegree;
    return result;
}

int GameRand() {
    static GlibcRandom sequence;
    return sequence.next();
}
