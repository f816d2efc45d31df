#include "sound/song_player.h"

#include <algorithm>
#include <cstdint>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "sound/mixer.h"

namespace {

std::int16_t Clip16(std::int32_t level) { return static_cast<std::int16_t>(std::clamp(level, -32768, 32767)); }

void PutWord(std::uint8_t*& out, std::int16_t word) {
    const auto bits = static_cast<std::uint16_t>(word);
    *out++ = static_cast<std::uint8_t>(bits);
    *out++ = static_cast<std::uint8_t>(bits >> 8);
}

// One accumulator as output: the classic rules' byte (16-bit: that byte in
// the high half), or the accurate rules' 16-bit level (8-bit: its high byte).
template <bool Accurate, bool Wide>
void Put(std::uint8_t*& out, std::int32_t sum) {
    if constexpr (!Accurate) {
        const std::uint8_t byte = OutputByte(sum);
        if constexpr (Wide)
            PutWord(out, static_cast<std::int16_t>((byte - 128) * 256));
        else
            *out++ = byte;
    } else if constexpr (Wide) {
        PutWord(out, Clip16(sum >> 7));
    } else {
        *out++ = static_cast<std::uint8_t>((Clip16(sum >> 7) >> 8) + 128);
    }
}

// The two forms the module player writes most, several frames at once with
// SSE2's saturating packs (the same clamps as Put): the accurate rules'
// 16-bit stereo, four frames at a time, and the classic rules' 8-bit mono,
// sixteen. The frames converted.
template <bool Accurate, bool Wide, bool Stereo>
std::uint32_t ConvertPacked([[maybe_unused]] const std::int32_t* left, [[maybe_unused]] const std::int32_t* right,
                            [[maybe_unused]] std::uint8_t* out, [[maybe_unused]] std::uint32_t frames) {
    std::uint32_t frame = 0;
#if defined(__SSE2__)
    auto levels = [](const std::int32_t* sums) {
        return _mm_srai_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(sums)), 7);
    };
    if constexpr (Accurate && Wide && Stereo) {
        for (; frame + 4 <= frames; frame += 4, out += 16) {
            const __m128i l = levels(left + frame), r = levels(right + frame);
            const __m128i words = _mm_packs_epi32(_mm_unpacklo_epi32(l, r), _mm_unpackhi_epi32(l, r));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out), words);
        }
    } else if constexpr (!Accurate && !Wide && !Stereo) {
        const __m128i silence = _mm_set1_epi8(static_cast<char>(0x80));
        for (; frame + 16 <= frames; frame += 16, out += 16) {
            const __m128i low = _mm_packs_epi32(levels(left + frame), levels(left + frame + 4));
            const __m128i high = _mm_packs_epi32(levels(left + frame + 8), levels(left + frame + 12));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_xor_si128(_mm_packs_epi16(low, high), silence));
        }
    }
#endif
    return frame;
}

template <bool Accurate, bool Wide, bool Stereo>
void Convert(const std::int32_t* left, const std::int32_t* right, std::uint8_t* out, std::uint32_t frames) {
    const std::uint32_t packed = ConvertPacked<Accurate, Wide, Stereo>(left, right, out, frames);
    out += std::size_t{packed} * (Stereo ? 2 : 1) * (Wide ? 2 : 1);
    for (std::uint32_t frame = packed; frame < frames; ++frame) {
        Put<Accurate, Wide>(out, left[frame]);
        if constexpr (Stereo) Put<Accurate, Wide>(out, right[frame]);
    }
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
        std::uint32_t rendered = out != nullptr
                                     ? channel_.renderFrames(left_.data(), right_.data(), block, options_.stereo, true)
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
    const bool accurate = options_.profile.rules == ReplayRules::accurate;
    const bool wide = options_.bits == 16;
    const int form = (accurate ? 4 : 0) | (wide ? 2 : 0) | (options_.stereo ? 1 : 0);
    const std::int32_t* left = left_.data();
    const std::int32_t* right = right_.data();
    switch (form) {
    case 0: Convert<false, false, false>(left, right, out, frames); break;
    case 1: Convert<false, false, true>(left, right, out, frames); break;
    case 2: Convert<false, true, false>(left, right, out, frames); break;
    case 3: Convert<false, true, true>(left, right, out, frames); break;
    case 4: Convert<true, false, false>(left, right, out, frames); break;
    case 5: Convert<true, false, true>(left, right, out, frames); break;
    case 6: Convert<true, true, false>(left, right, out, frames); break;
    default: Convert<true, true, true>(left, right, out, frames); break;
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
