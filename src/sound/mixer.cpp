#include "sound/mixer.h"

#include "sound/music_channel.h"
#include "sound/sample_voice.h"

namespace {

// Frames mixed per block. The music channels and the voices are mixed a block
// at a time, so each reads its volume, pan and flags once per block rather
// than once per frame: the sums are the same, and the main thread's changes
// between two buffers are seen at the same frames.
constexpr std::uint32_t kBlockFrames = 256;

template <bool Stereo>
void renderBlock(std::uint8_t* out, std::uint32_t frames, const ChannelPools& pools) {
    // Voices at centre pan go to `centre`, which counts on both sides, so
    // that each of them costs one multiplication in stereo too.
    std::int32_t left[kBlockFrames] = {}, right[kBlockFrames] = {}, centre[kBlockFrames] = {};
    for (std::uint32_t m = 0; m < pools.musicCount; ++m) {
        MusicChannel& channel = pools.music[m];
        // renderFrames returns early where the song comes round or ends; an ended song has stopped the channel.
        for (std::uint32_t done = 0; done < frames && channel.isPlaying();)
            done += channel.renderFrames(left + done, right + done, frames - done, Stereo);
    }
    for (std::uint32_t v = 0; v < pools.voiceCount; ++v) {
        SampleVoice& voice = pools.voices[v];
        if (voice.isPlaying()) voice.mixBlock<Stereo>(left, right, centre, frames);
    }
    for (std::uint32_t frame = 0; frame < frames; ++frame) {
        if constexpr (Stereo) {
            *out++ = OutputByte(left[frame] + centre[frame]);
            *out++ = OutputByte(right[frame] + centre[frame]);
        } else {
            *out++ = OutputByte(left[frame]);
        }
    }
}

template <bool Stereo>
void renderFrames(std::uint8_t* out, std::uint32_t frames, const ChannelPools& pools) {
    while (frames > 0) {
        const std::uint32_t block = frames < kBlockFrames ? frames : kBlockFrames;
        renderBlock<Stereo>(out, block, pools);
        out += block << (Stereo ? 1 : 0);
        frames -= block;
    }
}

}  // namespace

void RenderFrames(std::uint8_t* out, std::uint32_t frames, const ChannelPools& pools, bool stereo) {
    if (stereo)
        renderFrames<true>(out, frames, pools);
    else
        renderFrames<false>(out, frames, pools);
}
