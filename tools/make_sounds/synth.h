// The building blocks of the sound recipes: a deterministic noise source,
// oscillators driven by an accumulated phase, and a decaying envelope. All
// levels are floating point in -1..1 until the recipe quantises them.
#pragma once

#include <cstdint>
#include <vector>

constexpr int kRate = 11025;

using Wave = std::vector<double>;

// A linear congruential noise generator: the same seed gives the same sound.
class Noise {
public:
    explicit Noise(std::uint32_t seed) : state_(seed) {}
    double next();  // -1..1

private:
    std::uint32_t state_;
};

// Phase in cycles, advanced by frequency / kRate per sample.
class Oscillator {
public:
    void advance(double hertz) { phase_ += hertz / kRate; }
    double phase() const { return phase_ - static_cast<double>(static_cast<std::int64_t>(phase_)); }
    double totalCycles() const { return phase_; }
    double sine() const;
    double square(double duty = 0.5) const { return phase() < duty ? 1.0 : -1.0; }
    double triangle() const;

private:
    double phase_ = 0.0;
};

// 1 at t = 0, falling by e every `seconds`.
double Decay(int sample, double seconds);
// Rises from 0 to 1 over the first `samples` samples.
double Attack(int sample, int samples);

int Samples(double seconds);

// 8-bit unsigned PCM, 128 as silence; levels beyond -1..1 are clipped.
std::vector<std::uint8_t> Quantise(const Wave& wave);
