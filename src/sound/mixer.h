// Rendering output buffers from the engine's channels: 8-bit unsigned PCM,
// 128 as silence, in stereo the left byte of each frame first.
#pragma once

#include <cstdint>

class MusicChannel;
class SampleVoice;

struct ChannelPools {
    MusicChannel* music = nullptr;
    std::uint32_t musicCount = 0;
    SampleVoice* voices = nullptr;
    std::uint32_t voiceCount = 0;
};

// One output byte from an accumulator: one full-volume channel reaches half
// the range, so two in phase reach the clipping level.
constexpr std::uint8_t OutputByte(std::int32_t accumulator) {
    std::int32_t level = accumulator >> 7;
    if (level < -128) level = -128;
    if (level > 127) level = 127;
    return static_cast<std::uint8_t>(level + 128);
}

// Mixes `frames` frames into `out` (frames << stereo bytes): per frame, the
// playing music channels in index order, then the playing voices. The
// caller holds the engine lock.
void RenderFrames(std::uint8_t* out, std::uint32_t frames, const ChannelPools& pools, bool stereo);
