#include "sound/song_player.h"

#include <algorithm>
#include <cstdint>

#include "sound/mixer.h"

namespace {

std::int16_t Clip16(std::int32_t level) { return static_cast<std::int16_t>(std::clamp(level, -32768, 32767)); }

void PutWord(std::uint8_t*& out, std::int16_t word) {
    const auto bits = static_cast<std::uint16_t>(word);
    *out++ = static_cast<std::uint8_t>(bits);
    *out++ = static_cast<std::uint8_t>(bits >> 8);
}

}  // namespace

SongPlayer::SongPlayer(Module& module, const SongOptions& options) : options_(options) {
    module.setLoop(options.extraPasses > 0);
    module.setVolume(options.volume);
    module.setSeparation(options.separation);
    channel_.masterVolume = &master_;
    channel_.startModule(module, options.rate, options.profile);
}

bool SongPlayer::finished() const {
    return channel_.isStopped() || channel_.completedPasses() > options_.extraPasses ||
           framesPlayed_ >= kLongestSongSeconds * options_.rate * (options_.extraPasses + 1);
}

std::uint32_t SongPlayer::render(std::uint8_t* out, std::uint32_t frames) {
    std::uint32_t written = 0;
    const std::uint64_t longest = kLongestSongSeconds * options_.rate * (options_.extraPasses + 1);
    while (written < frames && !finished()) {
        const std::uint32_t limit = out != nullptr ? kBlockFrames : frames;
        const auto block =
            static_cast<std::uint32_t>(std::min<std::uint64_t>({frames - written, limit, longest - framesPlayed_}));
        if (out != nullptr) {
            std::fill_n(left_.begin(), block, 0);
            if (options_.stereo) std::fill_n(right_.begin(), block, 0);
        }
        std::uint32_t rendered = out != nullptr
                                     ? channel_.renderFrames(left_.data(), right_.data(), block, options_.stereo)
                                     : channel_.renderFrames(nullptr, nullptr, block, options_.stereo);
        // A block stops on the frame that began a pass; past the last one wanted, that frame is not heard.
        if (finished() && !channel_.isStopped()) --rendered;
        if (out != nullptr) {
            write(out, rendered);
            out += std::size_t{rendered} * frameBytes();
        }
        written += rendered;
        framesPlayed_ += rendered;
    }
    return written;
}

void SongPlayer::write(std::uint8_t* out, std::uint32_t frames) const {
    const std::uint32_t sides = options_.stereo ? 2 : 1;
    const std::int32_t* sums[2] = {left_.data(), right_.data()};
    const bool accurate = options_.profile.rules == ReplayRules::accurate;
    for (std::uint32_t frame = 0; frame < frames; ++frame) {
        for (std::uint32_t side = 0; side < sides; ++side) {
            const std::int32_t sum = sums[side][frame];
            if (!accurate) {
                const std::uint8_t byte = OutputByte(sum);
                if (options_.bits == 8)
                    *out++ = byte;
                else
                    PutWord(out, static_cast<std::int16_t>((byte - 128) * 256));
            } else if (options_.bits == 8) {
                *out++ = static_cast<std::uint8_t>((Clip16(sum >> 7) >> 8) + 128);
            } else {
                PutWord(out, Clip16(sum >> 7));
            }
        }
    }
}

std::uint64_t SongFrames(const Module& module, const SongOptions& options, std::uint64_t limit) {
    Module song;
    song.useImage(module.data(), module.size());
    SongPlayer player(song, options);
    std::uint64_t frames = 0;
    while (frames < limit) {
        const std::uint32_t moved = player.render(nullptr, 1u << 30);
        if (moved == 0) break;
        frames += moved;
    }
    return frames;
}
