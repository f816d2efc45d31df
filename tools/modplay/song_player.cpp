#include "song_player.h"

#include "sound/period_tables.h"

namespace modplay {

SongPlayer::SongPlayer(Module& module, const PlayOptions& options) : options_(options) {
    module.setLoop(options.extraPasses > 0);
    module.setVolume(options.volume);
    module.setSeparation(options.separation);
    channel_.masterVolume = &master_;
    channel_.startModule(module, StepTableFor(options.rate), options.rate);
}

bool SongPlayer::finished() const {
    return channel_.isStopped() || channel_.completedPasses() > options_.extraPasses ||
           framesPlayed_ >= kLongestSong * options_.rate * (options_.extraPasses + 1);
}

std::uint32_t SongPlayer::render(std::vector<std::uint8_t>& out, std::uint32_t frames) {
    std::uint32_t written = 0;
    while (written < frames && !finished()) {
        std::int32_t left = 0, right = 0;
        channel_.renderFrame(left, right, options_.stereo);
        if (finished()) break;  // this frame began the pass after the last one wanted
        out.push_back(OutputByte(left));
        if (options_.stereo) out.push_back(OutputByte(right));
        ++written;
        ++framesPlayed_;
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
    const std::uint64_t limit = kLongestSong * rate;
    while (frames < limit && !channel.isStopped()) {
        channel.advanceFrame();
        if (channel.completedPasses() != 0) break;
        ++frames;
    }
    return frames;
}

}  // namespace modplay
