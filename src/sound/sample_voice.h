// A sample voice: plays one Sample, resampled to the output rate by a fixed
// step with no interpolation, at its own volume and pan.
#pragma once

#include <cstdint>

#include "sound/channel.h"

class Sample;

class SampleVoice : public Channel {
public:
    // Sets the voice up for `sample` at `outputRate` frames per second and
    // makes it play. Under the engine lock; the voice does not own the data,
    // so the Sample must outlive the playing.
    void startSample(const Sample& sample, std::uint32_t outputRate);

    // Adds `frames` output frames of the voice into the accumulators, one
    // entry per frame, moving on by the step each frame. Mono adds to `left`;
    // stereo at centre pan adds to `centre`, which counts on both sides;
    // stereo off centre adds to `left` and `right`. Passing the end of a
    // sample that does not loop frees the voice, which then adds nothing
    // more. Mixing thread only, for a playing voice.
    template <bool Stereo>
    void mixBlock(std::int32_t* left, std::int32_t* right, std::int32_t* centre, std::uint32_t frames);

    // 8.8 fixed point: source bytes per output frame. The ratio of the rates,
    // truncated; the sample rate must be below 65536.
    static constexpr std::uint32_t stepFor(std::uint32_t sampleRate, std::uint32_t outputRate) {
        return (sampleRate << 16) / (outputRate << 8);
    }

    std::uint32_t step() const { return step_; }
    std::uint32_t position() const { return position_; }  // 24.8 fixed point
    std::uint32_t length() const { return length_; }      // 24.8 fixed point

    // Places the voice at `position` (24.8); for tests of the loop wrap.
    void seek(std::uint32_t position) { position_ = position; }

private:
    template <bool TwoSides>
    void addFrames(std::int32_t* first, std::int32_t* second, std::int32_t firstWeight, std::int32_t secondWeight,
                   std::uint32_t frames, bool looping);

    const std::uint8_t* data_ = nullptr;
    std::uint32_t step_ = 0;
    std::uint32_t position_ = 0;
    std::uint32_t length_ = 0;
};

template <bool Stereo>
inline void SampleVoice::mixBlock(std::int32_t* left, std::int32_t* right, std::int32_t* centre, std::uint32_t frames) {
    // The volume, pan and loop flag are read once for the block.
    const std::int32_t volume = static_cast<std::int32_t>(effectiveVolume.load(std::memory_order_relaxed));
    const bool looping = loop_.load(std::memory_order_relaxed);
    if (!Stereo) return addFrames<false>(left, nullptr, volume, 0, frames, looping);
    const std::int32_t pan = static_cast<std::int32_t>(pan_.load(std::memory_order_relaxed));
    if (pan == 128) return addFrames<false>(centre, nullptr, volume, 0, frames, looping);
    // Off centre the voice's weight is doubled and split by the pan, so a
    // hard pan puts twice the centre weight on one side.
    const std::int32_t both = 2 * volume;
    const std::int32_t toRight = (pan * both) >> 8;
    addFrames<true>(left, right, both - toRight, toRight, frames, looping);
}

template <bool TwoSides>
inline void SampleVoice::addFrames(std::int32_t* first, std::int32_t* second, std::int32_t firstWeight,
                                   std::int32_t secondWeight, std::uint32_t frames, bool looping) {
    const std::uint8_t* const data = data_;
    const std::uint32_t step = step_, length = length_;
    std::uint32_t position = position_;
    for (std::uint32_t frame = 0; frame < frames; ++frame) {
        if (position >= length) {
            if (looping) position -= length;  // once: the fraction carries over
            if (position >= length) {
                stopped_ = true;
                break;
            }
        }
        const std::int32_t s = static_cast<std::int32_t>(data[position >> 8]) - 128;
        first[frame] += firstWeight * s;
        if (TwoSides) second[frame] += secondWeight * s;
        position += step;
    }
    position_ = position;
}
