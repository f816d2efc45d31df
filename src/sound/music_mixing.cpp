// Adding the four tracks into the engine's accumulators, a frame or a span
// of frames at a time.
#include <algorithm>
#include <atomic>

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

void MusicChannel::mixTracks(std::int32_t* left, std::int32_t* right, std::uint32_t frames, bool stereo) {
    using Mix = void (MusicChannel::*)(Track&, std::int32_t*, std::int32_t*, std::uint32_t);
    Mix mix = stereo ? &MusicChannel::mixTrack<true> : &MusicChannel::mixTrack<false>;
    if (accurate_) {
        if (linear_)
            mix = stereo ? &MusicChannel::mixTrackFine<true, true> : &MusicChannel::mixTrackFine<false, true>;
        else
            mix = stereo ? &MusicChannel::mixTrackFine<true, false> : &MusicChannel::mixTrackFine<false, false>;
    }
    for (Track& track : tracks_) (this->*mix)(track, left, right, frames);
}

// The frame-at-a-time rules over a span in which the step, the weights and
// the sample stay put: the loop wrap and the end are checked only on the
// frames where the position can have reached them.
template <bool Stereo>
void MusicChannel::mixTrack(Track& track, std::int32_t* left, std::int32_t* right, std::uint32_t frames) {
    const SampleInfo& sample = header_.samples[track.sample];
    if (sample.data == nullptr) return;
    const std::int8_t* const data = sample.data;
    const std::uint32_t length = sample.length, repeatLength = sample.repeatLength;
    const std::uint32_t loopEnd = sample.repeatStart + repeatLength;
    // A loop ends inside the sample, so up to its end no frame needs a check.
    const std::uint32_t checkFrom = repeatLength != 0 ? loopEnd : length;
    // Classic positions and steps fit in 32 bits (24.8 and 8.8).
    const auto step = static_cast<std::uint32_t>(track.step);
    const std::int32_t weight =
        static_cast<std::int32_t>(std::atomic_ref(track.trackEffective).load(std::memory_order_relaxed));
    const std::int32_t rightWeight = (static_cast<std::int32_t>(track.trackPan) * weight) >> 8;
    const std::int32_t leftWeight = Stereo ? weight - rightWeight : weight;

    auto position = static_cast<std::uint32_t>(track.position);
    std::uint32_t frame = 0;
    while (frame < frames) {
        if (repeatLength != 0 && position >= loopEnd) position -= repeatLength;
        if (position >= length) {  // run out: silent until the next note
            if (repeatLength == 0) break;
            ++frame;
            continue;
        }
        // This frame plays; so do the ones after it while the position stays short of checkFrom.
        std::uint32_t run = frames - frame;
        if (position >= checkFrom)
            run = 1;
        else if (step != 0)
            run = std::min(run, 1 + (checkFrom - 1 - position) / step);
        const std::uint32_t end = frame + run;
        for (; frame < end; ++frame) {
            const std::int32_t value = data[position >> 8];
            left[frame] += leftWeight * value;
            if constexpr (Stereo) right[frame] += rightWeight * value;
            position += step;
        }
    }
    track.position = position;
}

namespace {

// A sample byte as a 16-bit value, or the point `fraction` (0..65535) of the
// way from it to the next.
template <bool Linear>
std::int32_t FineValue(std::int32_t at, std::int32_t next, std::uint32_t fraction) {
    if constexpr (Linear)
        return (at << 8) + (((next - at) * static_cast<std::int32_t>(fraction)) >> 8);
    else
        return at << 8;
}

}  // namespace

// The accurate rules' mixing: 32.32 positions, 16-bit values, and between
// bytes the nearer one or the line to the next. The next byte of a loop's
// last is the loop's first; of a sample's last, silence.
template <bool Stereo, bool Linear>
void MusicChannel::mixTrackFine(Track& track, std::int32_t* left, std::int32_t* right, std::uint32_t frames) {
    const SampleInfo& sample = header_.samples[track.sample];
    if (sample.data == nullptr) return;
    const std::int8_t* const data = sample.data;
    const std::uint64_t loopLength = std::uint64_t{sample.repeatLength} << 24;  // 24.8 to 32.32
    const std::uint64_t loopStart = std::uint64_t{sample.repeatStart} << 24;
    const std::uint64_t end = loopLength != 0 ? loopStart + loopLength : std::uint64_t{sample.length} << 24;
    const auto lastByte = static_cast<std::uint32_t>(end >> 32) - 1;
    const std::int32_t afterLast = loopLength != 0 ? data[sample.repeatStart >> 8] : 0;
    // Before this position a byte's next one lies in the data.
    const std::uint64_t lastBytePosition = std::uint64_t{lastByte} << 32;
    const std::uint64_t step = track.step;
    const std::int32_t weight =
        static_cast<std::int32_t>(std::atomic_ref(track.trackEffective).load(std::memory_order_relaxed));
    const std::int32_t rightWeight = (static_cast<std::int32_t>(track.trackPan) * weight) >> 8;
    const std::int32_t leftWeight = Stereo ? weight - rightWeight : weight;

    std::uint64_t position = track.position;
    std::uint32_t frame = 0;
    while (frame < frames) {
        if (position >= end) {
            if (loopLength == 0) break;  // run out: silent until the next note
            position = loopStart + (position - end) % loopLength;
        }
        if (position >= lastBytePosition) {
            const std::int32_t value =
                FineValue<Linear>(data[lastByte], afterLast, static_cast<std::uint32_t>(position >> 16) & 0xFFFF);
            left[frame] += leftWeight * value;
            if constexpr (Stereo) right[frame] += rightWeight * value;
            position += step;
            ++frame;
            continue;
        }
        std::uint32_t run = frames - frame;
        if (step != 0)
            run =
                static_cast<std::uint32_t>(std::min<std::uint64_t>(run, 1 + (lastBytePosition - 1 - position) / step));
        const std::uint32_t stop = frame + run;
        for (; frame < stop; ++frame) {
            const auto at = static_cast<std::uint32_t>(position >> 32);
            const std::int32_t value =
                FineValue<Linear>(data[at], data[at + 1], static_cast<std::uint32_t>(position >> 16) & 0xFFFF);
            left[frame] += leftWeight * value;
            if constexpr (Stereo) right[frame] += rightWeight * value;
            position += step;
        }
    }
    track.position = position;
}
