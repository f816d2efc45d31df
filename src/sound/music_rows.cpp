// The row sequencer: reading a row's four cells, the set-up each effect does
// on its row, and the move to the next row, order or jump target.
#include <algorithm>
#include <atomic>

#include "sound/music_channel.h"
#include "sound/period_tables.h"

namespace {

// The index `semitones` notes above `index` in the same finetune row; an
// arpeggio that would climb past the row's last note stays on that note.
constexpr std::uint32_t NoteAbove(std::uint32_t index, std::uint32_t semitones) {
    std::uint32_t lastOfRow = kNotesPerRow - 1;
    while (lastOfRow < index) lastOfRow += kNotesPerRow;
    return std::min(index + semitones, lastOfRow);
}

// Effects 3 and 5 slide to a cell's note and ED plays it later, so for them
// the note does not sound at once.
constexpr bool NoteWaits(const Cell& cell) {
    return cell.effect == 0x3 || cell.effect == 0x5 || (cell.effect == 0xE && cell.param >> 4 == 0xD);
}

}  // namespace

const std::uint8_t* MusicChannel::rowAt(std::uint32_t pattern, std::uint32_t row) const {
    const std::size_t offset = kPatternsOffset + kPatternBytes * pattern + kRowBytes * row;
    return offset + kRowBytes <= imageSize_ ? image_ + offset : nullptr;
}

bool MusicChannel::readRow() {
    if (songCameRound_) {
        songCameRound_ = false;
        if (!loop()) {
            stop();
            return false;
        }
        startPass();
    }
    const std::uint32_t visit = order_ * kRowsPerPattern + row_;
    if (playedRows_.test(visit)) startPass();  // a jump has led back into the song
    playedRows_.set(visit);
    std::atomic_ref(shownOrder_).store(order_, std::memory_order_relaxed);
    std::atomic_ref(shownRow_).store(row_, std::memory_order_relaxed);

    // Rows past the end of a truncated image read as empty.
    static constexpr std::uint8_t kEmptyRow[kRowBytes] = {};
    const std::uint8_t* cells = rowAt(pattern_, row_);
    if (cells == nullptr) cells = kEmptyRow;
    for (std::uint32_t t = 0; t < kTracks; ++t) {
        const Cell cell = DecodeCell(cells + kCellBytes * t);
        if (accurate_)
            readCellAccurate(tracks_[t], cell);
        else
            readCell(tracks_[t], cell);
    }
    advancePosition();
    return true;
}

void MusicChannel::startPass() {
    std::atomic_ref(completedPasses_).store(completedPasses_ + 1, std::memory_order_relaxed);
    playedRows_.reset();
}

void MusicChannel::readCell(Track& track, const Cell& cell) {
    track.effect = cell.effect;
    track.param = cell.param;
    track.paramX = cell.param >> 4;
    track.paramY = cell.param & 0x0F;

    // Sample numbers above 31 name no sample; they keep the track's own.
    if (cell.sample != 0 && cell.sample < kSampleSlots) {
        track.sample = cell.sample;
        applyVolume(track, header_.samples[cell.sample].defaultVolume);
    }
    if (cell.period != 0 && !NoteWaits(cell)) {
        track.position = 0;
        track.period = tunedPeriod(header_.samples[track.sample].finetune, cell.period);
    }
    if (track.sample != 0) track.step = stepAt(track.period);
    setUpEffect(track, cell);
}

void MusicChannel::setUpEffect(Track& track, const Cell& cell) {
    const std::uint32_t x = track.paramX, y = track.paramY;
    switch (cell.effect) {
    case 0x0:  // arpeggio: x and y semitones above the nearest untuned-row note
        if (cell.param != 0) {
            const std::uint32_t base = nearestIndex[std::min(track.period, kHighestIndexedPeriod)];
            track.arpeggioStep = {static_cast<std::uint32_t>(track.step), stepAt(periodTable[NoteAbove(base, x)]),
                                  stepAt(periodTable[NoteAbove(base, y)])};
            track.arpeggioTick = 0;
        }
        break;
    case 0x1:
    case 0x2:  // portamento up, down
        track.slidePeriod = track.period;
        break;
    case 0x3: {  // tone portamento
        const std::uint32_t finetune = header_.samples[track.sample].finetune;
        if (cell.period != 0)
            track.portaTarget = tunedPeriod(finetune, cell.period);
        else if (track.portaTarget == 0)
            track.portaTarget = tunedPeriod(finetune, track.period);
        if (cell.param != 0) track.portaSpeed = cell.param;
        break;
    }
    case 0x4:  // vibrato
        if (cell.param != 0) {
            track.vibratoSpeed = x;
            track.vibratoDepth = y;
        }
        break;
    case 0x5:
    case 0x6:
    case 0xA:  // volume slide, alone or with the tone portamento or vibrato going on
        track.volumeSlide = x != 0 ? static_cast<std::int32_t>(x) : -static_cast<std::int32_t>(y);
        break;
    case 0x9:
        // FIX: the sample offset counts in 256-byte pages (param << 16 in 24.8),
        // so stored modules start their samples where their authors meant.
        track.position = cell.param << 16;
        break;
    case 0xB:  // position jump
        jumpOrder_ = cell.param;
        breakRow_ = 0;
        break;
    case 0xC:  // set volume; above 64 is kept as it is
        applyVolume(track, cell.param);
        break;
    case 0xD:  // pattern break, the row read as two decimal digits
        if (order_ + 1 < header_.songLength) {
            jumpOrder_ = order_ + 1;
            breakRow_ = 10 * x + y;
        } else if (loop()) {
            jumpOrder_ = header_.restart;
            breakRow_ = 10 * x + y;
        }
        break;
    case 0xE:
        switch (x) {
        case 0xA:  // fine volume up
            // FIX: a fine volume up stops at 64 as the slides do; unchecked it
            // climbs without end when a song replays the row at speed 0.
            applyVolume(track, std::max(track.trackVolume, std::min<std::uint32_t>(track.trackVolume + y, 64)));
            break;
        case 0xB:  // fine volume down
            applyVolume(track, track.trackVolume > y ? track.trackVolume - y : 0);
            break;
        case 0xC: track.cutCounter = y; break;
        case 0xD:  // note delay: the cell's own period, not re-tuned
            track.delayedPeriod = cell.period;
            track.delayCounter = y - 1;  // 0xFFFFFFFF for y = 0: sounds on tick 1
            // FIX: a note delay in a cell without a note leaves the track
            // playing; taking the cell's period 0 gave a step of 0 and froze
            // the track on one byte until the next note.
            if (cell.period == 0) track.delayCounter = kDelayDone;
            break;
        case 0xE: patternDelay_ = y; break;
        default: break;
        }
        break;
    case 0xF:  // speed below 33, tempo (beats per minute) from 33 on
        if (cell.param >= 33)
            samplesPerTick_ = rate_ / ((2 * cell.param) / 5);
        else
            speed_ = cell.param;
        break;
    default: break;
    }
}

void MusicChannel::advancePosition() {
    if (jumpOrder_ != kNoJump) {
        const std::uint32_t target = jumpOrder_;
        jumpOrder_ = kNoJump;
        if (target < header_.songLength) {
            order_ = target;
            row_ = breakRow_ < kRowsPerPattern ? breakRow_ : 0;  // a break past the last row starts the pattern
        } else {
            passLastOrder();  // a jump past the song ends it
        }
    } else if (++row_ == kRowsPerPattern) {
        row_ = 0;
        if (++order_ >= header_.songLength) passLastOrder();
    }
    pattern_ = header_.orders[order_];
}

// FIX: the song ends (or starts again) when the next row is due, not as its
// last row is read, so that last row sounds for its whole length.
void MusicChannel::passLastOrder() {
    order_ = header_.restart;
    row_ = 0;
    songCameRound_ = true;
}
