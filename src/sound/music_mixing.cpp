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
    for (Track& track : tracks_) {
        if (stereo)
            mixTrack<true>(track, left, right, frames);
        else
            mixTrack<false>(track, left, right, frames);
    }
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
    const std::uint32_t step = track.step;
    const std::int32_t weight =
        static_cast<std::int32_t>(std::atomic_ref(track.trackEffective).load(std::memory_order_relaxed));
    const std::int32_t rightWeight = (static_cast<std::int32_t>(track.trackPan) * weight) >> 8;
    const std::int32_t leftWeight = Stereo ? weight - rightWeight : weight;

    std::uint32_t position = track.position;
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
