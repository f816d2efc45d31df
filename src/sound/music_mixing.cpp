// Adding the four tracks into the engine's accumulators, a frame or a span
// of frames at a time.
#include <algorithm>
#include <atomic>
#include <limits>

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
        value = lane.data[at] << 8;
        if constexpr (Linear)
            value +=
                ((lane.data[at + 1] - lane.data[at]) * static_cast<std::int32_t>((lane.position >> 16) & 0xFFFF)) >> 8;
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

// Frames without a check, lane by lane: no wrap, run-out or last byte falls
// inside them, so they are summed with nothing but the sample reads.
template <int Count, bool Stereo, bool Linear, typename Position>
void MixUnchecked(Lane<Position>* lanes, std::int32_t* left, std::int32_t* right, std::uint32_t frames) {
    const std::int8_t* data[Count];
    Position position[Count], step[Count];
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
            std::int32_t value;
            if constexpr (sizeof(Position) == 4) {
                value = data[t][position[t] >> 8];
            } else {
                const auto at = static_cast<std::uint32_t>(position[t] >> 32);
                value = data[t][at] << 8;
                if constexpr (Linear)
                    value +=
                        ((data[t][at + 1] - data[t][at]) * static_cast<std::int32_t>((position[t] >> 16) & 0xFFFF)) >>
                        8;
            }
            sumLeft += leftWeight[t] * value;
            if constexpr (Stereo) sumRight += rightWeight[t] * value;
            position[t] += step[t];
        }
        left[frame] += sumLeft;
        if constexpr (Stereo) right[frame] += sumRight;
    }
    for (int t = 0; t < Count; ++t) lanes[t].position = position[t];
}

// The tracks summed in registers frame by frame, each frame's sum added to
// the accumulators once: the same integer sums as track after track. Each
// lane counts down the frames to its next check, so a frame with checks
// comes only where one is due.
template <int Count, bool Stereo, bool Linear, typename Position>
void MixLanes(Lane<Position>* lanes, std::int32_t* left, std::int32_t* right, std::uint32_t frames) {
    std::uint32_t due[Count];
    for (int t = 0; t < Count; ++t) due[t] = UncheckedFrames(lanes[t]);
    std::uint32_t frame = 0;
    while (frame < frames) {
        std::uint32_t run = frames - frame;
        for (int t = 0; t < Count; ++t) run = std::min(run, due[t]);
        if (run != 0) {
            MixUnchecked<Count, Stereo, Linear>(lanes, left + frame, right + frame, run);
            for (int t = 0; t < Count; ++t) due[t] -= run;
            frame += run;
            continue;
        }
        std::int32_t sumLeft = 0, sumRight = 0;
        for (int t = 0; t < Count; ++t) CheckedFrame<Stereo, Linear>(lanes[t], sumLeft, sumRight);
        left[frame] += sumLeft;
        if constexpr (Stereo) right[frame] += sumRight;
        ++frame;
        for (int t = 0; t < Count; ++t) due[t] = due[t] == 0 ? UncheckedFrames(lanes[t]) : due[t] - 1;
    }
}

}  // namespace music_mix

using music_mix::Lane;

void MusicChannel::mixTracks(std::int32_t* left, std::int32_t* right, std::uint32_t frames, bool stereo) {
    using Classic = std::uint32_t;
    using Fine = std::uint64_t;
    if (!accurate_)
        stereo ? mixLanes<true, false, Classic>(left, right, frames)
               : mixLanes<false, false, Classic>(left, right, frames);
    else if (linear_)
        stereo ? mixLanes<true, true, Fine>(left, right, frames) : mixLanes<false, true, Fine>(left, right, frames);
    else
        stereo ? mixLanes<true, false, Fine>(left, right, frames) : mixLanes<false, false, Fine>(left, right, frames);
}

template <bool Stereo, bool Linear, typename Position>
void MusicChannel::mixLanes(std::int32_t* left, std::int32_t* right, std::uint32_t frames) {
    constexpr bool kFine = sizeof(Position) == 8;
    Lane<Position> lanes[kTracks];
    Track* owners[kTracks];
    int count = 0;
    for (Track& track : tracks_) {
        const SampleInfo& sample = header_.samples[track.sample];
        const std::int8_t* data = kFine ? fineData_[track.sample] : sample.data;
        if (data == nullptr) continue;
        constexpr int kShift = kFine ? 24 : 0;  // 24.8 to the lane's fixed point
        const Position loopLength = Position{sample.repeatLength} << kShift;
        const Position loopEnd = (Position{sample.repeatStart} << kShift) + loopLength;
        const Position length = Position{sample.length} << kShift;
        const auto position = static_cast<Position>(track.position);
        // Silent for the whole span: run out, with no loop to bring it back.
        if (loopLength == 0 && position >= length) continue;
        const std::int32_t weight =
            static_cast<std::int32_t>(std::atomic_ref(track.trackEffective).load(std::memory_order_relaxed));
        const std::int32_t rightWeight = (static_cast<std::int32_t>(track.trackPan) * weight) >> 8;
        Lane<Position>& lane = lanes[count];
        const Position end = kFine && loopLength != 0 ? loopEnd : length;
        lane = {data,
                position,
                static_cast<Position>(track.step),
                kFine || loopLength == 0 ? end : loopEnd,
                loopLength != 0 ? loopEnd : std::numeric_limits<Position>::max(),
                loopLength,
                end,
                Stereo ? weight - rightWeight : weight,
                rightWeight};
        owners[count++] = &track;
    }
    switch (count) {
    case 0: return;
    case 1: music_mix::MixLanes<1, Stereo, Linear>(lanes, left, right, frames); break;
    case 2: music_mix::MixLanes<2, Stereo, Linear>(lanes, left, right, frames); break;
    case 3: music_mix::MixLanes<3, Stereo, Linear>(lanes, left, right, frames); break;
    default: music_mix::MixLanes<4, Stereo, Linear>(lanes, left, right, frames); break;
    }
    for (int t = 0; t < count; ++t)
        owners[t]->position = lanes[t].data != music_mix::kSilence ? lanes[t].position : lanes[t].loopEnd;
}
