// What the effects do on the ticks after their row (ticks 1..speed - 1).
#include <algorithm>

#include "sound/music_channel.h"
#include "sound/period_tables.h"

namespace {

constexpr std::uint32_t kDelayFires = 0xFFFFFFFF;
// A portamento keeps its period within the step table.
constexpr std::uint32_t kLongestSlidePeriod = kStepTableSize - 1;

}  // namespace

void MusicChannel::runTickEffects(Track& track) {
    switch (track.effect) {
    case 0x0:  // arpeggio: x, y, base, x, ...
        if (track.param != 0) {
            if (++track.arpeggioTick == 3) track.arpeggioTick = 0;
            track.step = track.arpeggioStep[track.arpeggioTick];
        }
        break;
    case 0x1:
    case 0x2: {  // portamento up, down; a zero step (period 0 or past the table) keeps the pitch
        const std::uint32_t slid = track.effect == 0x1
                                       ? (track.slidePeriod > track.param ? track.slidePeriod - track.param : 0)
                                       : track.slidePeriod + track.param;
        track.slidePeriod = std::min(slid, kLongestSlidePeriod);
        track.period = track.slidePeriod;
        const std::uint32_t step = stepTable_[track.period];
        if (step != 0) track.step = step;
        break;
    }
    case 0x3:
    case 0x5:  // tone portamento: toward the target, never past it
        if (track.period > track.portaTarget)
            track.period = track.period - track.portaTarget > track.portaSpeed ? track.period - track.portaSpeed
                                                                               : track.portaTarget;
        if (track.period < track.portaTarget)
            track.period = std::min(track.period + track.portaSpeed, track.portaTarget);
        track.step = stepAt(track.period);
        break;
    case 0x4:
    case 0x6: {  // vibrato: the step swings, the period stays
        const std::uint32_t pos = track.vibratoPosition;
        const std::int32_t depth = static_cast<std::int32_t>(track.vibratoDepth);
        const std::int32_t delta = pos < 32 ? vibratoTable[pos] * depth : -vibratoTable[pos - 32] * depth;
        const std::int32_t swung = (static_cast<std::int32_t>(track.period << 8) + delta) >> 8;
        track.step = stepAt(static_cast<std::uint32_t>(std::max(swung, 1)));
        track.vibratoPosition = pos + track.vibratoSpeed;
        if (track.vibratoPosition >= 64) track.vibratoPosition -= 64;
        break;
    }
    case 0xE:
        if (track.paramX == 0xC && track.cutCounter > 0) {  // note cut; the volume stays for the next note
            if (--track.cutCounter == 0) std::atomic_ref(track.trackEffective).store(0, std::memory_order_relaxed);
        } else if (track.paramX == 0xD) {  // note delay: the pitch only, the position runs on
            if (track.delayCounter == kDelayFires) {
                track.period = track.delayedPeriod;
                track.step = stepAt(track.period);
                track.delayCounter = kDelayDone;
            } else if (track.delayCounter != kDelayDone) {
                --track.delayCounter;
            }
        }
        break;
    default: break;
    }
    if (track.effect == 0x5 || track.effect == 0x6 || track.effect == 0xA) slideVolume(track);
}

void MusicChannel::slideVolume(Track& track) {
    const std::int32_t volume = static_cast<std::int32_t>(track.trackVolume) + track.volumeSlide;
    applyVolume(track, static_cast<std::uint32_t>(std::clamp(volume, 0, 64)));
}
