#include "recipes.h"

#include <cmath>

#include "synth.h"

namespace {

// Noise held for a growing number of samples: the hiss drops in pitch as it
// fades, like debris falling away.
Wave fallingNoise(double seconds, double firstHold, double lastHold, double decaySeconds, std::uint32_t seed) {
    Noise noise(seed);
    const int length = Samples(seconds);
    Wave wave(static_cast<std::size_t>(length));
    double held = 0.0, countdown = 0.0;
    for (int i = 0; i < length; ++i) {
        const double t = static_cast<double>(i) / length;
        if (countdown <= 0.0) {
            held = noise.next();
            countdown += firstHold + (lastHold - firstHold) * t;
        }
        countdown -= 1.0;
        wave[static_cast<std::size_t>(i)] = held * Decay(i, decaySeconds);
    }
    return wave;
}

// Ends at silence over the last `samples` samples, so a sound never stops on a click.
void fadeOut(Wave& wave, int samples) {
    const int length = static_cast<int>(wave.size());
    for (int i = 0; i < samples && i < length; ++i)
        wave[static_cast<std::size_t>(length - 1 - i)] *= static_cast<double>(i) / samples;
}

Wave alienHit() {
    Wave wave = fallingNoise(0.35, 1.0, 9.0, 0.10, 128);
    fadeOut(wave, 80);
    return wave;
}

// Longer and lower than an alien's: coarse noise over a sinking square
// rumble, crushed to a few levels for a crunchy edge.
Wave cannonStruck() {
    Wave wave = fallingNoise(1.2, 3.0, 24.0, 0.38, 129);
    Oscillator rumble;
    for (std::size_t i = 0; i < wave.size(); ++i) {
        const double t = static_cast<double>(i) / wave.size();
        rumble.advance(110.0 * std::pow(40.0 / 110.0, t));
        const double level = 0.75 * wave[i] + 0.4 * rumble.square() * Decay(static_cast<int>(i), 0.45);
        wave[i] = std::round(level * 6.0) / 6.0;
    }
    fadeOut(wave, 200);
    return wave;
}

// A narrow pulse gliding from high to low: the laser's "pew".
Wave fire() {
    const int length = Samples(0.26);
    Wave wave(static_cast<std::size_t>(length));
    Oscillator pulse;
    for (int i = 0; i < length; ++i) {
        const double t = static_cast<double>(i) / length;
        pulse.advance(1700.0 * std::pow(260.0 / 1700.0, t));
        wave[static_cast<std::size_t>(i)] = 0.7 * pulse.square(0.25) * Decay(i, 0.14) * Attack(i, 15);
    }
    fadeOut(wave, 60);
    return wave;
}

// A warbling siren that loops seamlessly: whole warble cycles in the loop,
// and the tone scaled so that it completes a whole number of periods too,
// so the last sample leads straight back into the first.
Wave mysteryShip() {
    const int length = kRate;  // one second
    const double warbles = 6.0, centre = 560.0, swing = 150.0;
    std::vector<double> hertz(static_cast<std::size_t>(length));
    double cycles = 0.0;
    for (int i = 0; i < length; ++i) {
        hertz[static_cast<std::size_t>(i)] = centre + swing * std::sin(2.0 * M_PI * warbles * i / length);
        cycles += hertz[static_cast<std::size_t>(i)] / kRate;
    }
    const double scale = std::round(cycles) / cycles;
    Wave wave(static_cast<std::size_t>(length));
    Oscillator tone;
    for (int i = 0; i < length; ++i) {
        wave[static_cast<std::size_t>(i)] = 0.6 * tone.triangle();
        tone.advance(hertz[static_cast<std::size_t>(i)] * scale);
    }
    return wave;
}

// A short low thud: a softened square with a quick decay.
Wave marchNote(double hertz) {
    const int length = Samples(0.075);
    Wave wave(static_cast<std::size_t>(length));
    Oscillator tone;
    double smoothed = 0.0;
    for (int i = 0; i < length; ++i) {
        tone.advance(hertz);
        const double raw = 0.65 * tone.square() + 0.35 * tone.sine();
        smoothed += 0.35 * (raw - smoothed);
        wave[static_cast<std::size_t>(i)] = 0.95 * smoothed * Decay(i, 0.05) * Attack(i, 12);
    }
    fadeOut(wave, 90);
    return wave;
}

// A bright rising arpeggio over two octaves of C major.
Wave extraLife() {
    const double notes[] = {523.25, 659.26, 783.99, 1046.50, 1318.51, 1567.98, 2093.00};
    const int noteLength = Samples(0.07);
    Wave wave;
    for (double hertz : notes) {
        Oscillator tone;
        for (int i = 0; i < noteLength; ++i) {
            tone.advance(hertz);
            wave.push_back(0.5 * tone.square() * Decay(i, 0.12) * Attack(i, 10));
        }
    }
    fadeOut(wave, 300);
    return wave;
}

}  // namespace

std::vector<SoundFile> MakeGameSounds() {
    return {
        {"hit.wav", Quantise(alienHit())},
        {"cannon_hit.wav", Quantise(cannonStruck())},
        {"fire.wav", Quantise(fire())},
        {"ship.wav", Quantise(mysteryShip())},
        {"march1.wav", Quantise(marchNote(98.0))},
        {"march2.wav", Quantise(marchNote(92.0))},
        {"march3.wav", Quantise(marchNote(87.0))},
        {"march4.wav", Quantise(marchNote(82.0))},
        {"extra_life.wav", Quantise(extraLife())},
    };
}
