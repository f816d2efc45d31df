#include "synth.h"

#include <cmath>
#include <numbers>

double Noise::next() {
    state_ = state_ * 1664525u + 1013904223u;
    return static_cast<double>(state_ >> 8) / static_cast<double>(1u << 23) - 1.0;
}

double Oscillator::sine() const { return std::sin(2.0 * std::numbers::pi * phase()); }

double Oscillator::triangle() const {
    const double p = phase();
    return p < 0.25 ? 4 * p : (p < 0.75 ? 2 - 4 * p : 4 * p - 4);
}

double Decay(int sample, double seconds) { return std::exp(-static_cast<double>(sample) / (seconds * kRate)); }

double Attack(int sample, int samples) { return sample >= samples ? 1.0 : static_cast<double>(sample) / samples; }

int Samples(double seconds) { return static_cast<int>(std::lround(seconds * kRate)); }

std::vector<std::uint8_t> Quantise(const Wave& wave) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(wave.size());
    for (double level : wave) {
        long value = std::lround(level * 127.0);
        if (value > 127) value = 127;
        if (value < -128) value = -128;
        bytes.push_back(static_cast<std::uint8_t>(value + 128));
    }
    return bytes;
}
