// The accurate rules: a cell read as ProTracker reads it, the effects on a
// row's first tick and on the ticks after it, and ticks of exactly
// rate * 2.5 / tempo frames.
#include <algorithm>
#include <atomic>

#include "sound/music_channel.h"
#include "sound/period_tables.h"
#include "sound/tuned_periods.h"

namespace {

constexpr std::uint64_t kAmigaPalClock = 3546895;
// Periods here count quarter periods (tuned_periods.h); slides, vibrato and
// tone portamento move them by whole periods, as ProTracker does.
// Slides stop at ProTracker's highest and lowest notes (B-3 and C-1), unless
// the note already lay beyond them.
constexpr std::uint32_t kHighestSlidPeriod = 113 * kQuarterPeriods;
constexpr std::uint32_t kLowestSlidPeriod = 856 * kQuarterPeriods;
constexpr std::uint32_t kLongestPeriod = 0xFFFF * kQuarterPeriods;

// clang-format off
// 255 * sin(pi * i / 32) rounded down: the rising and falling half of the
// vibrato and tremolo sine; the other half is the same values negated.
constexpr std::array<std::uint32_t, 32> kHalfSine = {
      0,  24,  49,  74,  97, 120, 141, 161, 180, 197, 212, 224, 235, 244, 250, 253,
    255, 253, 250, 244, 235, 224, 212, 197, 180, 161, 141, 120,  97,  74,  49,  24};
// clang-format on

// How far a waveform swings at `position` (0..63), 0..255: sine, a ramp
// (falling through the cycle) or a square. The first half adds, the second
// subtracts.
std::uint32_t Swing(std::uint32_t waveform, std::uint32_t position) {
    const std::uint32_t i = position & 31;
    switch (waveform & 3) {
    case 0: return kHalfSine[i];
    case 1: return position < 32 ? 255 - 8 * i : 8 * i;
    default: return 255;
    }
}

std::int32_t Signed(std::uint32_t position, std::uint32_t magnitude) {
    const auto value = static_cast<std::int32_t>(magnitude);
    return position < 32 ? value : -value;
}

// The note (0..71) of `finetune`'s row whose period is nearest to `period`.
std::uint32_t NearestNoteInRow(std::uint32_t finetune, std::uint32_t period) {
    const std::uint32_t* row = &tunedPeriods[finetune * kNotesPerRow];
    std::uint32_t best = 0;
    for (std::uint32_t note = 1; note < kNotesPerRow; ++note) {
        const std::uint32_t distance = row[note] > period ? row[note] - period : period - row[note];
        const std::uint32_t bestDistance = row[best] > period ? row[best] - period : period - row[best];
        if (distance < bestDistance) best = note;
    }
    return best;
}

std::uint32_t SlidUp(std::uint32_t period, std::uint32_t periods) {
    const std::uint32_t by = periods * kQuarterPeriods;
    const std::uint32_t floor = std::min(period, kHighestSlidPeriod);
    return period > floor + by ? period - by : floor;
}

std::uint32_t SlidDown(std::uint32_t period, std::uint32_t periods) {
    return std::min(period + periods * kQuarterPeriods, std::max(period, kLowestSlidPeriod));
}

std::uint32_t VolumeSlid(std::uint32_t volume, std::uint32_t x, std::uint32_t y) {
    if (x != 0) return std::min(volume + x, 64u);
    return volume > y ? volume - y : 0;
}

}  // namespace

std::uint64_t MusicChannel::fineStep(std::uint32_t period) const {
    // The clock's frequency for the period, over the rate, in 32.32.
    return period == 0 ? 0 : (kAmigaPalClock * kQuarterPeriods << 32) / (std::uint64_t{period} * rate_);
}

std::uint32_t MusicChannel::nextTickFrames() {
    // rate * 2.5 / tempo = rate * 5 / (2 * tempo); the remainder is carried
    // to the next tick, so the ticks add up to the exact time.
    tickCarry_ += rate_ * 5;
    const std::uint32_t frames = tickCarry_ / (2 * tempo_);
    tickCarry_ %= 2 * tempo_;
    return frames;
}

bool MusicChannel::runTick() {
    if (++tick_ >= speed_) {
        tick_ = 0;
        if (patternDelay_ != 0) {
            // A delayed row is not read again; its effects go on.
            --patternDelay_;
            for (Track& track : tracks_) runTickAccurate(track);
        } else if (!readRow()) {
            return false;
        }
        if (songStopped_) {  // F00 ends the song at once
            stop();
            return false;
        }
    } else {
        for (Track& track : tracks_) runTickAccurate(track);
    }
    for (Track& track : tracks_) showTrack(track);
    return true;
}

void MusicChannel::trigger(Track& track, std::uint32_t period) {
    track.period = period;
    track.position = 0;
    // Waveforms 4..7 keep their position across notes.
    if ((track.vibratoWave & 4) == 0) track.vibratoPosition = 0;
    if ((track.tremoloWave & 4) == 0) track.tremoloPosition = 0;
}

void MusicChannel::readCellAccurate(Track& track, const Cell& cell) {
    track.effect = cell.effect;
    track.param = cell.param;
    const std::uint32_t x = track.paramX = cell.param >> 4;
    const std::uint32_t y = track.paramY = cell.param & 0x0F;

    if (cell.sample != 0 && cell.sample < kSampleSlots) {
        track.sample = cell.sample;
        track.finetune = header_.samples[cell.sample].finetune;
        applyVolume(track, std::min(header_.samples[cell.sample].defaultVolume, 64u));
    }
    if (cell.effect == 0xE && x == 0x5) track.finetune = FinetuneRow(static_cast<std::uint8_t>(y));
    track.delayedPeriod = 0;
    if (cell.period != 0) {
        const std::uint32_t note = NoteOfIndex(nearestIndex[std::min(cell.period, kHighestIndexedPeriod)]);
        const std::uint32_t tuned = tunedPeriods[track.finetune * kNotesPerRow + note];
        if (cell.effect == 0x3 || cell.effect == 0x5) {
            // A target already reached is no target: a later 3xx stays put.
            track.portaTarget = tuned != track.period ? tuned : 0;
        } else if (cell.effect == 0xE && x == 0xD && y != 0) {
            track.delayedPeriod = tuned;  // sounds on tick y
        } else {
            trigger(track, tuned);
            if (cell.effect == 0x9) {
                if (cell.param != 0) track.offsetMemory = cell.param;
                track.position = std::uint64_t{track.offsetMemory} << 40;  // 256-byte pages, 32.32
            }
        }
    }
    setUpAccurate(track, cell);
}

void MusicChannel::setUpAccurate(Track& track, const Cell& cell) {
    const std::uint32_t x = track.paramX, y = track.paramY;
    track.shownPeriod = track.period;
    track.tremoloDelta = 0;
    switch (cell.effect) {
    case 0x3:
    case 0x5:
        if (cell.effect == 0x3 && cell.param != 0) track.portaSpeed = cell.param;
        break;
    case 0x4:  // each nibble is remembered on its own
        if (x != 0) track.vibratoSpeed = x;
        if (y != 0) track.vibratoDepth = y;
        break;
    case 0x7:
        if (x != 0) track.tremoloSpeed = x;
        if (y != 0) track.tremoloDepth = y;
        break;
    case 0xB:
        jumpOrder_ = cell.param;
        breakRow_ = 0;
        break;
    case 0xC: applyVolume(track, std::min(cell.param, 64u)); break;
    case 0xD:
        // At the last order this leads past the song: it ends, or loops.
        if (jumpOrder_ == kNoJump) jumpOrder_ = order_ + 1;
        breakRow_ = 10 * x + y;
        break;
    case 0xE: setUpExtended(track, cell); break;
    case 0xF:
        if (cell.param == 0)
            songStopped_ = true;
        else if (cell.param < 32)
            speed_ = cell.param;
        else
            tempo_ = cell.param;
        break;
    default: break;  // 8xx (panning) is ProTracker's no-op too
    }
}

void MusicChannel::setUpExtended(Track& track, const Cell& cell) {
    const std::uint32_t y = track.paramY;
    switch (track.paramX) {
    case 0x1: track.period = track.shownPeriod = SlidUp(track.period, y); break;
    case 0x2: track.period = track.shownPeriod = SlidDown(track.period, y); break;
    case 0x3: track.glissando = y != 0; break;
    case 0x4: track.vibratoWave = y; break;
    case 0x6:  // pattern loop: E60 marks the row, E6y plays from it y more times
        if (y == 0) {
            track.loopRow = row_;
        } else if (track.loopCount == 0 || --track.loopCount != 0) {
            if (track.loopCount == 0) track.loopCount = y;
            jumpOrder_ = order_;
            breakRow_ = track.loopRow;
            // The rows played again belong to this pass of the song.
            for (std::uint32_t row = 0; row < kRowsPerPattern; ++row) playedRows_.reset(order_ * kRowsPerPattern + row);
        }
        break;
    case 0x7: track.tremoloWave = y; break;
    case 0x9:
        if (y != 0 && cell.period == 0) track.position = 0;
        break;
    case 0xA: applyVolume(track, VolumeSlid(track.trackVolume, y, 0)); break;
    case 0xB: applyVolume(track, VolumeSlid(track.trackVolume, 0, y)); break;
    case 0xC:
        if (y == 0) applyVolume(track, 0);
        break;
    case 0xE: patternDelay_ = y; break;
    default: break;  // E0x (the Amiga's filter) and E8x do nothing here
    }
}

void MusicChannel::runTickAccurate(Track& track) {
    const std::uint32_t x = track.paramX, y = track.paramY;
    track.shownPeriod = track.period;
    track.tremoloDelta = 0;
    switch (track.effect) {
    case 0x0:
        if (track.param != 0) {
            const std::uint32_t above = tick_ % 3 == 0 ? 0 : tick_ % 3 == 1 ? x : y;
            const std::uint32_t note = NearestNoteInRow(track.finetune, track.period);
            track.shownPeriod = tunedPeriods[track.finetune * kNotesPerRow + std::min(note + above, kNotesPerRow - 1)];
        }
        break;
    case 0x1: track.period = track.shownPeriod = SlidUp(track.period, track.param); break;
    case 0x2: track.period = track.shownPeriod = SlidDown(track.period, track.param); break;
    case 0x3: slideToNote(track); break;
    case 0x4: vibrate(track); break;
    case 0x5:
        slideToNote(track);
        applyVolume(track, VolumeSlid(track.trackVolume, x, y));
        break;
    case 0x6:
        vibrate(track);
        applyVolume(track, VolumeSlid(track.trackVolume, x, y));
        break;
    case 0x7: {
        const std::uint32_t magnitude = Swing(track.tremoloWave, track.tremoloPosition) * track.tremoloDepth >> 6;
        track.tremoloDelta = Signed(track.tremoloPosition, magnitude);
        track.tremoloPosition = (track.tremoloPosition + track.tremoloSpeed) & 63;
        break;
    }
    case 0xA: applyVolume(track, VolumeSlid(track.trackVolume, x, y)); break;
    case 0xE:
        if (x == 0x9 && y != 0 && tick_ % y == 0) track.position = 0;  // retrigger
        if (x == 0xC && tick_ == y) applyVolume(track, 0);             // note cut
        if (x == 0xD && tick_ == y && track.delayedPeriod != 0) {      // note delay
            trigger(track, track.delayedPeriod);
            track.shownPeriod = track.period;
            track.delayedPeriod = 0;
        }
        break;
    default: break;
    }
}

void MusicChannel::slideToNote(Track& track) {
    if (track.portaTarget != 0) {
        const std::uint32_t by = track.portaSpeed * kQuarterPeriods;
        if (track.period < track.portaTarget)
            track.period = std::min(track.period + by, track.portaTarget);
        else
            track.period = std::max(track.period > by ? track.period - by : 0, track.portaTarget);
        if (track.period == track.portaTarget) track.portaTarget = 0;  // reached: no target until the next note
    }
    track.shownPeriod = track.period;
    if (track.glissando)
        track.shownPeriod =
            tunedPeriods[track.finetune * kNotesPerRow + NearestNoteInRow(track.finetune, track.period)];
}

void MusicChannel::vibrate(Track& track) {
    // ProTracker's depth: 128ths of a period per unit, so 4xF swings by up to 29 periods.
    const std::uint32_t magnitude =
        (Swing(track.vibratoWave, track.vibratoPosition) * track.vibratoDepth >> 7) * kQuarterPeriods;
    const std::int32_t swung = static_cast<std::int32_t>(track.period) + Signed(track.vibratoPosition, magnitude);
    track.shownPeriod = static_cast<std::uint32_t>(std::clamp<std::int32_t>(swung, 1, kLongestPeriod));
    track.vibratoPosition = (track.vibratoPosition + track.vibratoSpeed) & 63;
}

void MusicChannel::showTrack(Track& track) {
    track.step = track.sample != 0 ? fineStep(std::min(track.shownPeriod, kLongestPeriod)) : 0;
    const std::int32_t volume = static_cast<std::int32_t>(track.trackVolume) + track.tremoloDelta;
    const auto heard = static_cast<std::uint32_t>(std::clamp(volume, 0, 64));
    std::atomic_ref(track.trackEffective)
        .store((heard * effectiveVolume.load(std::memory_order_relaxed)) >> 6, std::memory_order_relaxed);
}
