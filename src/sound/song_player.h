// One module played on a MusicChannel of its own, outside the engine and its
// threads: the same replay and the same output bytes as the engine's buffers,
// pulled a block at a time. Serves the module player's render and live play,
// the benchmarks and the tests, and measures a song's length.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "sound/module.h"
#include "sound/music_channel.h"

struct SongOptions {
    std::uint32_t rate = 44100;  // 11025, 22050 or 44100
    bool stereo = false;
    int separation = 255;           // 0..255
    int volume = 64;                // 0..64
    std::uint32_t extraPasses = 0;  // times the song plays again after its first pass
};

// The longest song that is measured or rendered: two hours.
constexpr std::uint64_t kLongestSongSeconds = 2ull * 60 * 60;

class SongPlayer {
public:
    // `module` must outlive the player; its loop flag, volume and separation
    // are set from `options`.
    SongPlayer(Module& module, const SongOptions& options);

    // Writes up to `frames` frames of output (8-bit unsigned, left first in
    // stereo) to `out`, which holds frames * frameBytes() bytes; the frames
    // written, fewer once the song is over.
    std::uint32_t render(std::uint8_t* out, std::uint32_t frames);
    bool finished() const;

    std::uint32_t frameBytes() const { return options_.stereo ? 2 : 1; }
    std::uint32_t order() const { return channel_.order(); }
    std::uint32_t row() const { return channel_.row(); }
    std::uint64_t framesPlayed() const { return framesPlayed_; }

private:
    // Small enough that the accumulators stay in the first-level cache.
    static constexpr std::uint32_t kBlockFrames = 1024;

    std::atomic<std::uint32_t> master_{64};
    MusicChannel channel_;
    SongOptions options_;
    std::uint64_t framesPlayed_ = 0;
    std::array<std::int32_t, kBlockFrames> left_{}, right_{};
};

// Frames the song's first pass lasts at `rate`: until it ends or comes round
// to its start again (capped at kLongestSongSeconds).
std::uint64_t SongFrames(const Module& module, std::uint32_t rate);
