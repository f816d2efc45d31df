// Adding the four tracks into the engine's accumulators, once per frame.
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
