// Adding the four tracks into the engine's accumulators, a frame or a span
// of frames at a time.
#include <algorithm>
#include <atomic>
#include <bit>
#include <cstring>
#include <limits>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "sound/music_channel.h"

void MusicChannel::mixTracks(std::int32_t& left, std::int32_t& right, bool stereo) {
    for (Track& track : tracks_) {
        const SampleInfo& sample = header_.samples[track.sample];
        if (sample.data == nullptr) continue;
        if (sample.repeatLength != 0 && track.position >= sample.repeatStart + sample.repeatLength)
            track.position -= sample.repeatLength;
        if (track.position >= sample.length) continue;  // run out: silent until the next note

        const std::int32_t value = sample.data[track.position >> 8];
        const std::int32_t weight =
            static_cast<std::int32_t>(std::atomic_ref(track.trackEffective).load(std::memory_order_relaxed));
        if (stereo) {
            // The track's whole weight, split between the sides by its pan.
            const std::int32_t rightWeight = (static_cast<std::int32_t>(track.trackPan) * weight) >> 8;
            left += (weight - rightWeight) * value;
            right += rightWeight * value;
        } else {
            left += weight * value;
        }
        track.position += track.step;
    }
}

namespace music_mix {

// Where a track that ran out without a loop reads for the rest of a span.
constexpr std::int8_t kSilence[2] = {};

// One track as a span mixes it: positions 24.8 in 32 bits (classic) or 32.32
// in 64 (accurate). A lane without a loop has a loop end no position reaches.
template <typename Position>
struct Lane {
    const std::int8_t* data;
    Position position;
    Position step;
    Position checkFrom;  // up to here a frame needs no check
    Position loopEnd;    // classic: where the loop wraps; once run out: the position it kept
    Position loopLength;
    Position end;  // classic: the sample's end; accurate: the loop's end, or the sample's
    std::int32_t leftWeight;
    std::int32_t rightWeight;
};

// How far a 32.32 position lies from its byte towards the next, in 15 bits.
inline std::int32_t FineFraction(std::uint64_t position) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(position) >> 17);
}

// The level between two sample bytes, 16-bit: the first byte * 256, plus
// the step to the next times the fraction, rounded down.
inline std::int32_t FineLevel(std::int32_t first, std::int32_t next, std::int32_t fraction) {
    return (first * 32768 + (next - first) * fraction) >> 7;
}

// A frame's sum into its accumulator: stored over whatever it held, or added.
template <bool Store>
inline void Put(std::int32_t& accumulator, std::int32_t sum) {
    if constexpr (Store)
        accumulator = sum;
    else
        accumulator += sum;
}

// Silent for the rest of the span, reading nothing; the position is kept.
template <typename Position>
void RunOut(Lane<Position>& lane) {
    const Position kept = lane.position;
    constexpr Position kNever = std::numeric_limits<Position>::max();
    lane = {kSilence, 0, 0, kNever, kept, 0, kNever, 0, 0};
}

// One frame with every check, as a track mixes alone. Classic: one wrap at
// the loop's end; past the sample's end, silent and still. Accurate: the
// position brought back into the loop however far it ran, and the byte after
// the last read from a guard byte (the loop's first, or silence).
template <bool Stereo, bool Linear, typename Position>
inline void CheckedFrame(Lane<Position>& lane, std::int32_t& left, std::int32_t& right) {
    if (lane.data == kSilence) return;
    if constexpr (sizeof(Position) == 4) {
        if (lane.position >= lane.loopEnd) lane.position -= lane.loopLength;
        if (lane.position >= lane.end) {
            if (lane.loopLength == 0) RunOut(lane);
            return;
        }
    } else if (lane.position >= lane.end) {
        if (lane.loopLength == 0) return RunOut(lane);
        lane.position = lane.end - lane.loopLength + (lane.position - lane.end) % lane.loopLength;
    }
    if (lane.data == kSilence) return;  // ran out just now
    std::int32_t value;
    if constexpr (sizeof(Position) == 4) {
        value = lane.data[lane.position >> 8];
    } else {
        const auto at = static_cast<std::uint32_t>(lane.position >> 32);
        value = FineLevel(lane.data[at], lane.data[at + 1], Linear ? FineFraction(lane.position) : 0);
    }
    left += lane.leftWeight * value;
    if constexpr (Stereo) right += lane.rightWeight * value;
    lane.position += lane.step;
}

// Frames before `lane` needs a check: 0 when one is due now.
template <typename Position>
std::uint32_t UncheckedFrames(const Lane<Position>& lane) {
    if (lane.position >= lane.checkFrom) return 0;
    if (lane.step == 0) return std::numeric_limits<std::uint32_t>::max();
    return static_cast<std::uint32_t>(std::min<Position>(std::numeric_limits<std::uint32_t>::max(),
                                                         1 + (lane.checkFrom - 1 - lane.position) / lane.step));
}

// Frames without a check under the classic rules: no wrap or run-out falls
// inside them, so they are summed with nothing but the sample reads.
template <int Count, bool Stereo, bool Store>
void MixUnchecked(Lane<std::uint32_t>* lanes, std::int32_t* left, std::int32_t* right, std::uint32_t frames) {
    const std::int8_t* data[Count];
    std::uint32_t position[Count], step[Count];
    std::int32_t leftWeight[Count], rightWeight[Count];
    for (int t = 0; t < Count; ++t) {
        data[t] = lanes[t].data;
        position[t] = lanes[t].position;
        step[t] = lanes[t].step;
        leftWeight[t] = lanes[t].leftWeight;
        rightWeight[t] = lanes[t].rightWeight;
    }
    for (std::uint32_t frame = 0; frame < frames; ++frame) {
        std::int32_t sumLeft = 0, sumRight = 0;
        for (int t = 0; t < Count; ++t) {
            const std::int32_t value = data[t][position[t] >> 8];
            sumLeft += leftWeight[t] * value;
            if constexpr (Stereo) sumRight += rightWeight[t] * value;
            position[t] += step[t];
        }
        Put<Store>(left[frame], sumLeft);
        if constexpr (Stereo) Put<Store>(right[frame], sumRight);
    }
    for (int t = 0; t < Count; ++t) lanes[t].position = position[t];
}

// Classic: the tracks summed in registers frame by frame, each frame's sum
// added to the accumulators once: the same integer sums as track after
// track. Each lane counts down the frames to its next check, so a frame with
// checks comes only where one is due.
template <int Count, bool Stereo, bool Store>
void MixLanes(Lane<std::uint32_t>* lanes, std::int32_t* left, std::int32_t* right, std::uint32_t frames) {
    std::uint32_t due[Count];
    for (int t = 0; t < Count; ++t) due[t] = UncheckedFrames(lanes[t]);
    std::uint32_t frame = 0;
    while (frame < frames) {
        std::uint32_t run = frames - frame;
        for (int t = 0; t < Count; ++t) run = std::min(run, due[t]);
        if (run != 0) {
            MixUnchecked<Count, Stereo, Store>(lanes, left + frame, right + frame, run);
            for (int t = 0; t < Count; ++t) due[t] -= run;
            frame += run;
            continue;
        }
        std::int32_t sumLeft = 0, sumRight = 0;
        for (int t = 0; t < Count; ++t) CheckedFrame<Stereo, false>(lanes[t], sumLeft, sumRight);
        Put<Store>(left[frame], sumLeft);
        if constexpr (Stereo) Put<Store>(right[frame], sumRight);
        ++frame;
        for (int t = 0; t < Count; ++t) due[t] = due[t] == 0 ? UncheckedFrames(lanes[t]) : due[t] - 1;
    }
}

// The two sample bytes under each of `count` frames of a fine lane, the
// byte the frame stands on in the low half and the next in the high half;
// the position after them.
inline std::uint64_t Gather(const std::int8_t* data, std::uint64_t position, std::uint64_t step,
                            std::uint16_t* gathered, std::uint32_t count) {
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint16_t bytes;  // the next byte is there: the guard byte follows the last
        std::memcpy(&bytes, data + (position >> 32), sizeof bytes);
        if constexpr (std::endian::native == std::endian::big)
            bytes = static_cast<std::uint16_t>(bytes << 8 | bytes >> 8);
        gathered[i] = bytes;
        position += step;
    }
    return position;
}

// One fine lane's frames for a chunk: its gathered bytes, the low 32 bits of
// its first frame's position and of its step (the fractions), its weights.
struct GatheredLane {
    const std::uint16_t* bytes;
    std::uint32_t fraction;
    std::uint32_t step;
    std::int32_t leftWeight;
    std::int32_t rightWeight;
};

// Adds (or stores) the sum of `Count` gathered lanes' levels (FineLevel),
// each weighed, into `count` frames of the accumulators. SSE2 does four
// frames at once with its multiply-add of 16-bit pairs: (byte * 128, step
// to the next byte) by (256, fraction) gives the level times 128, and the
// level, 16 bits, by the weight (at most 64) the sum.
template <int Count, bool Stereo, bool Linear, bool Store>
void Weigh(const GatheredLane* lanes, std::uint32_t count, std::int32_t* left, std::int32_t* right) {
    std::uint32_t i = 0;
#if defined(__SSE2__)
    const __m128i lowHalves = _mm_set1_epi32(0xFFFF);
    const __m128i byteScale = _mm_set1_epi32(256);
    constexpr int kSize = Count > 0 ? Count : 1;
    __m128i leftWeights[kSize], rightWeights[kSize], positions[kSize], fourSteps[kSize];
    for (int t = 0; t < Count; ++t) {
        const GatheredLane& lane = lanes[t];
        leftWeights[t] = _mm_set1_epi32(lane.leftWeight);
        rightWeights[t] = _mm_set1_epi32(lane.rightWeight);
        positions[t] = _mm_setr_epi32(static_cast<int>(lane.fraction), static_cast<int>(lane.fraction + lane.step),
                                      static_cast<int>(lane.fraction + 2 * lane.step),
                                      static_cast<int>(lane.fraction + 3 * lane.step));
        fourSteps[t] = _mm_set1_epi32(static_cast<int>(4 * lane.step));
    }
    for (; i + 4 <= count; i += 4) {
        __m128i sumLeft = _mm_setzero_si128(), sumRight = _mm_setzero_si128();
        for (int t = 0; t < Count; ++t) {
            const __m128i frames = _mm_unpacklo_epi16(
                _mm_loadl_epi64(reinterpret_cast<const __m128i*>(lanes[t].bytes + i)), _mm_setzero_si128());
            const __m128i first = _mm_srai_epi32(_mm_slli_epi32(frames, 24), 24);
            const __m128i next = _mm_srai_epi32(_mm_slli_epi32(frames, 16), 24);
            const __m128i bytes = _mm_or_si128(_mm_and_si128(_mm_slli_epi32(first, 7), lowHalves),
                                               _mm_slli_epi32(_mm_sub_epi32(next, first), 16));
            __m128i scales = byteScale;
            if constexpr (Linear) {
                scales = _mm_or_si128(_mm_slli_epi32(_mm_srli_epi32(positions[t], 17), 16), byteScale);
                positions[t] = _mm_add_epi32(positions[t], fourSteps[t]);
            }
            // Each level fits 16 bits, sign-extended: by (weight, 0) it is multiplied whole.
            const __m128i levels = _mm_srai_epi32(_mm_madd_epi16(bytes, scales), 7);
            sumLeft = _mm_add_epi32(sumLeft, _mm_madd_epi16(levels, leftWeights[t]));
            if constexpr (Stereo) sumRight = _mm_add_epi32(sumRight, _mm_madd_epi16(levels, rightWeights[t]));
        }
        auto put = [](std::int32_t* accumulators, __m128i sums) {
            auto* out = reinterpret_cast<__m128i*>(accumulators);
            _mm_storeu_si128(out, Store ? sums : _mm_add_epi32(_mm_loadu_si128(out), sums));
        };
        put(left + i, sumLeft);
        if constexpr (Stereo) put(right + i, sumRight);
    }
#endif
    for (; i < count; ++i) {
        std::int32_t sumLeft = 0, sumRight = 0;
        for (int t = 0; t < Count; ++t) {
            const GatheredLane& lane = lanes[t];
            const std::int32_t value =
                FineLevel(static_cast<std::int8_t>(lane.bytes[i]), static_cast<std::int8_t>(lane.bytes[i] >> 8),
                          Linear ? FineFraction(lane.fraction + i * lane.step) : 0);
            sumLeft += lane.leftWeight * value;
            if constexpr (Stereo) sumRight += lane.rightWeight * value;
        }
        Put<Store>(left[i], sumLeft);
        if constexpr (Stereo) Put<Store>(right[i], sumRight);
    }
}

template <bool Stereo, bool Linear, bool Store>
void WeighLanes(const GatheredLane* lanes, int count, std::uint32_t frames, std::int32_t* left, std::int32_t* right) {
    switch (count) {
    case 0: Weigh<0, Stereo, Linear, Store>(lanes, frames, left, right); break;
    case 1: Weigh<1, Stereo, Linear, Store>(lanes, frames, left, right); break;
    case 2: Weigh<2, Stereo, Linear, Store>(lanes, frames, left, right); break;
    case 3: Weigh<3, Stereo, Linear, Store>(lanes, frames, left, right); break;
    default: Weigh<4, Stereo, Linear, Store>(lanes, frames, left, right); break;
    }
}

// Accurate: one lane over `frames` frames with a check where one is due,
// added into the accumulators; for a lane that meets a check within them.
template <bool Stereo, bool Linear>
void MixFineLane(Lane<std::uint64_t>& lane, std::int32_t* left, std::int32_t* right, std::uint32_t frames) {
    constexpr std::uint32_t kChunk = 256;
    std::uint16_t bytes[kChunk];
    std::int32_t unusedRight = 0;
    std::uint32_t frame = 0;
    while (frame < frames && lane.data != kSilence) {
        std::uint32_t run = std::min({UncheckedFrames(lane), frames - frame, kChunk});
        if (run == 0) {
            CheckedFrame<Stereo, Linear>(lane, left[frame], Stereo ? right[frame] : unusedRight);
            ++frame;
            continue;
        }
        const GatheredLane gathered{bytes, static_cast<std::uint32_t>(lane.position),
                                    static_cast<std::uint32_t>(lane.step), lane.leftWeight, lane.rightWeight};
        lane.position = Gather(lane.data, lane.position, lane.step, bytes, run);
        Weigh<1, Stereo, Linear, false>(&gathered, run, left + frame, Stereo ? right + frame : nullptr);
        frame += run;
    }
}

// Accurate: the lanes a chunk of frames at a time. The lanes with no check
// due in a chunk are gathered one by one and their weighed sum written once;
// a lane that meets a check is mixed on its own after them.
template <bool Stereo, bool Linear>
void MixFineLanes(Lane<std::uint64_t>* lanes, int count, std::int32_t* left, std::int32_t* right, std::uint32_t frames,
                  bool overwrite) {
    constexpr std::uint32_t kChunk = 256;
    std::uint16_t bytes[kTracks][kChunk];
    for (std::uint32_t frame = 0; frame < frames; frame += kChunk) {
        const std::uint32_t chunk = std::min(kChunk, frames - frame);
        GatheredLane gathered[kTracks];
        bool checked[kTracks] = {};
        int plain = 0;
        for (int t = 0; t < count; ++t) {
            Lane<std::uint64_t>& lane = lanes[t];
            checked[t] = lane.data == kSilence || UncheckedFrames(lane) < chunk;
            if (checked[t]) continue;
            gathered[plain] = {bytes[plain], static_cast<std::uint32_t>(lane.position),
                               static_cast<std::uint32_t>(lane.step), lane.leftWeight, lane.rightWeight};
            lane.position = Gather(lane.data, lane.position, lane.step, bytes[plain], chunk);
            ++plain;
        }
        std::int32_t* chunkRight = Stereo ? right + frame : nullptr;
        overwrite ? WeighLanes<Stereo, Linear, true>(gathered, plain, chunk, left + frame, chunkRight)
                  : WeighLanes<Stereo, Linear, false>(gathered, plain, chunk, left + frame, chunkRight);
        for (int t = 0; t < count; ++t)
            if (checked[t]) MixFineLane<Stereo, Linear>(lanes[t], left + frame, chunkRight, chunk);
    }
}

template <bool Stereo, bool Store>
void MixClassicLanes(Lane<std::uint32_t>* lanes, int count, std::int32_t* left, std::int32_t* right,
                     std::uint32_t frames) {
    switch (count) {
    case 1: MixLanes<1, Stereo, Store>(lanes, left, right, frames); break;
    case 2: MixLanes<2, Stereo, Store>(lanes, left, right, frames); break;
    case 3: MixLanes<3, Stereo, Store>(lanes, left, right, frames); break;
    default: MixLanes<4, Stereo, Store>(lanes, left, right, frames); break;
    }
}

}  // namespace music_mix

using music_mix::Lane;
using music_mix::MixClassicLanes;

void MusicChannel::mixTracks(std::int32_t* left, std::int32_t* right, std::uint32_t frames, bool stereo,
                             bool overwrite) {
    using Classic = std::uint32_t;
    using Fine = std::uint64_t;
    if (!accurate_)
        stereo ? mixLanes<true, false, Classic>(left, right, frames, overwrite)
               : mixLanes<false, false, Classic>(left, right, frames, overwrite);
    else if (linear_)
        stereo ? mixLanes<true, true, Fine>(left, right, frames, overwrite)
               : mixLanes<false, true, Fine>(left, right, frames, overwrite);
    else
        stereo ? mixLanes<true, false, Fine>(left, right, frames, overwrite)
               : mixLanes<false, false, Fine>(left, right, frames, overwrite);
}

template <bool Stereo, bool Linear, typename Position>
void MusicChannel::mixLanes(std::int32_t* left, std::int32_t* right, std::uint32_t frames, bool overwrite) {
    constexpr bool kFine = sizeof(Position) == 8;
    constexpr int kShift = kFine ? 24 : 0;  // 24.8 to the lane's fixed point
    Lane<Position> lanes[kTracks];
    Track* owners[kTracks];
    // Where a lane reading a repeated short loop starts (0 for the others),
    // and that loop's length, to bring its position back into the loop.
    Position spanStart[kTracks], spanLoop[kTracks];
    int count = 0;
    if (frames == 0) return;
    for (Track& track : tracks_) {
        const SampleInfo& sample = header_.samples[track.sample];
        const std::int8_t* data = kFine ? fineData_[track.sample] : sample.data;
        if (data == nullptr) continue;
        const Position loopLength = Position{sample.repeatLength} << kShift;
        const Position loopStart = Position{sample.repeatStart} << kShift;
        const Position loopEnd = loopStart + loopLength;
        const Position length = Position{sample.length} << kShift;
        const auto position = static_cast<Position>(track.position);
        const auto step = static_cast<Position>(track.step);
        // Silent for the whole span: run out, with no loop to bring it back.
        if (loopLength == 0 && position >= length) continue;
        const std::int32_t weight =
            static_cast<std::int32_t>(std::atomic_ref(track.trackEffective).load(std::memory_order_relaxed));
        const std::int32_t rightWeight = (static_cast<std::int32_t>(track.trackPan) * weight) >> 8;
        Lane<Position>& lane = lanes[count];
        lane.step = step;
        lane.leftWeight = Stereo ? weight - rightWeight : weight;
        lane.rightWeight = rightWeight;
        // Inside a short loop, the repeated copy plays it the same: the
        // accurate rules bring a position back by whole loops however far it
        // ran; the classic ones wrap once a frame, the same while a frame
        // moves no further than a loop.
        const std::int8_t* repeated = loopData_[track.sample];
        if (repeated != nullptr && position >= loopStart && (kFine || (position < loopEnd && step <= loopLength))) {
            const Position span = Position{loopSpan_[track.sample]} << (kShift + 8);
            lane.data = repeated;
            lane.position = position - loopStart;
            lane.checkFrom = lane.loopEnd = lane.loopLength = lane.end = span;
            spanStart[count] = loopStart;
            spanLoop[count] = loopLength;
        } else {
            const Position end = kFine && loopLength != 0 ? loopEnd : length;
            lane.data = data;
            lane.position = position;
            lane.checkFrom = kFine || loopLength == 0 ? end : loopEnd;
            lane.loopEnd = loopLength != 0 ? loopEnd : std::numeric_limits<Position>::max();
            lane.loopLength = loopLength;
            lane.end = end;
            spanStart[count] = spanLoop[count] = 0;
        }
        owners[count++] = &track;
    }
    if (count == 0) {
        if (overwrite) {
            std::fill_n(left, frames, 0);
            if (Stereo) std::fill_n(right, frames, 0);
        }
        return;
    }
    if constexpr (kFine) {
        music_mix::MixFineLanes<Stereo, Linear>(lanes, count, left, right, frames, overwrite);
    } else if (overwrite) {
        MixClassicLanes<Stereo, true>(lanes, count, left, right, frames);
    } else {
        MixClassicLanes<Stereo, false>(lanes, count, left, right, frames);
    }
    for (int t = 0; t < count; ++t) {
        const Lane<Position>& lane = lanes[t];
        if (lane.data == music_mix::kSilence) {
            owners[t]->position = lane.loopEnd;
        } else if (spanLoop[t] != 0) {
            // Where the track would stand reading the loop itself: the last
            // frame read inside the loop, then one step on, as far past the
            // loop's end as that takes it.
            owners[t]->position = spanStart[t] + (lane.position - lane.step) % spanLoop[t] + lane.step;
        } else {
            owners[t]->position = lane.position;
        }
    }
}
