#include "sound/song_player.h"

#include <algorithm>

#include "sound/mixer.h"
#include "sound/period_tables.h"

SongPlayer::SongPlayer(Module& module, const SongOptions& options) : options_(options) {
    module.setLoop(options.extraPasses > 0);
    module.setVolume(options.volume);
    module.setSeparation(options.separation);
    channel_.masterVolume = &master_;
    channel_.startModule(module, StepTableFor(options.rate), options.rate);
}

bool SongPlayer::finished() const {
    return channel_.isStopped() || channel_.completedPasses() > options_.extraPasses ||
           framesPlayed_ >= kLongestSongSeconds * options_.rate * (options_.extraPasses + 1);
}

std::uint32_t SongPlayer::render(std::uint8_t* out, std::uint32_t frames) {
    std::uint32_t written = 0;
    const std::uint64_t longest = kLongestSongSeconds * options_.rate * (options_.extraPasses + 1);
    while (written < frames && !finished()) {
        const auto block = static_cast<std::uint32_t>(
            std::min<std::uint64_t>({frames - written, kBlockFrames, longest - framesPlayed_}));
        left_.fill(0);
        right_.fill(0);
        std::uint32_t rendered = channel_.renderFrames(left_.data(), right_.data(), block, options_.stereo);
        // A block stops on the frame that began a pass; past the last one wanted, that frame is not heard.
        if (finished() && !channel_.isStopped()) --rendered;
        for (std::uint32_t frame = 0; frame < rendered; ++frame) {
            *out++ = OutputByte(left_[frame]);
            if (options_.stereo) *out++ = OutputByte(right_[frame]);
        }
        written += rendered;
        framesPlayed_ += rendered;
    }
    return written;
}

std::uint64_t SongFrames(const Module& module, std::uint32_t rate) {
    // The sequencer alone, as the song plays once: to its end, or to a jump
    // back into rows it has played.
    Module song;
    song.useImage(module.data(), module.size());
    std::atomic<std::uint32_t> master{0};
    MusicChannel channel;
    channel.masterVolume = &master;
    channel.startModule(song, StepTableFor(rate), rate);
    std::uint64_t frames = 0;
    const std::uint64_t limit = kLongestSongSeconds * rate;
    while (frames < limit && !channel.isStopped()) {
        channel.advanceFrame();
        if (channel.completedPasses() != 0) break;
        ++frames;
    }
    return frames;
}
