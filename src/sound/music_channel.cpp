#include "sound/music_channel.h"

#include <algorithm>
#include <atomic>

#include "sound/module.h"
#include "sound/period_tables.h"
#include "sound/replay_profile.h"

MusicChannel::MusicChannel() { resetTracks(); }

void MusicChannel::setVolume(int v) {
    Channel::setVolume(v);
    const std::uint32_t channelVolume = effectiveVolume.load(std::memory_order_relaxed);
    for (Track& track : tracks_) {
        const std::uint32_t volume = std::atomic_ref(track.trackVolume).load(std::memory_order_relaxed);
        std::atomic_ref(track.trackEffective).store((volume * channelVolume) >> 6, std::memory_order_relaxed);
    }
}

void MusicChannel::setPan(int separation) {
    Channel::setPan(separation);
    const std::uint32_t lean = (16320 - 64 * pan()) >> 8;  // (255 - s) * 64 / 256, 0..63
    tracks_[0].trackPan = tracks_[3].trackPan = 64 + lean;
    tracks_[1].trackPan = tracks_[2].trackPan = 192 - lean;
}

void MusicChannel::startModule(const Module& module, const std::uint16_t* stepTable, std::uint32_t rate) {
    if (stepTable == nullptr) return;  // no such rate: the channel stays free
    accurate_ = linear_ = false;
    start(module, stepTable, rate);
}

void MusicChannel::startModule(const Module& module, std::uint32_t rate, const ReplayProfile& profile) {
    if (profile.rules == ReplayRules::classic) return startModule(module, StepTableFor(rate), rate);
    if (rate < kLowestAccurateRate || rate > kHighestAccurateRate) return;
    accurate_ = true;
    linear_ = profile.interpolation == Interpolation::linear;
    start(module, nullptr, rate);
    copyFineData();
}

void MusicChannel::copyFineData() {
    std::size_t bytes = 0;
    for (const SampleInfo& sample : header_.samples) bytes += sample.data != nullptr ? (sample.length >> 8) + 1 : 0;
    fineBytes_.assign(bytes, 0);
    std::size_t at = 0;
    for (std::uint32_t i = 0; i < kSampleSlots; ++i) {
        const SampleInfo& sample = header_.samples[i];
        fineData_[i] = nullptr;
        if (sample.data == nullptr) continue;
        const std::uint32_t used =
            (sample.repeatLength != 0 ? sample.repeatStart + sample.repeatLength : sample.length) >> 8;
        std::copy_n(sample.data, used, fineBytes_.data() + at);
        fineBytes_[at + used] = sample.repeatLength != 0 ? sample.data[sample.repeatStart >> 8] : 0;
        fineData_[i] = fineBytes_.data() + at;
        at += (sample.length >> 8) + 1;
    }
}

void MusicChannel::copyShortLoops() {
    std::size_t bytes = 0;
    for (const SampleInfo& sample : header_.samples) {
        const std::uint32_t loop = sample.repeatLength >> 8;
        if (sample.data != nullptr && loop != 0 && loop < kShortLoopSpanBytes)
            bytes += (kShortLoopSpanBytes + loop - 1) / loop * loop + 1;
    }
    loopBytes_.resize(bytes);
    std::size_t at = 0;
    for (std::uint32_t i = 0; i < kSampleSlots; ++i) {
        const SampleInfo& sample = header_.samples[i];
        const std::uint32_t loop = sample.repeatLength >> 8;
        loopData_[i] = nullptr;
        loopSpan_[i] = 0;
        if (sample.data == nullptr || loop == 0 || loop >= kShortLoopSpanBytes) continue;
        const std::uint32_t span = (kShortLoopSpanBytes + loop - 1) / loop * loop;
        const std::int8_t* first = sample.data + (sample.repeatStart >> 8);
        for (std::uint32_t copied = 0; copied <= span; copied += loop)
            std::copy_n(first, std::min(loop, span + 1 - copied), loopBytes_.data() + at + copied);
        loopData_[i] = loopBytes_.data() + at;
        loopSpan_[i] = span;
        at += span + 1;
    }
}

void MusicChannel::start(const Module& module, const std::uint16_t* stepTable, std::uint32_t rate) {
    image_ = module.data();
    imageSize_ = image_ != nullptr ? module.size() : 0;
    stepTable_ = stepTable;
    rate_ = rate;
    ReadSongHeader(image_, imageSize_, header_);
    copyShortLoops();

    samplesPerTick_ = rate / 50;
    frameCounter_ = 0;
    speed_ = 6;
    tick_ = 6;  // a row is due: the first frame reads row 0
    tempo_ = 125;
    tickCarry_ = 0;
    framesLeft_ = 0;
    songStopped_ = false;
    order_ = 0;
    pattern_ = header_.orders[0];
    row_ = 0;
    jumpOrder_ = breakRow_ = kNoJump;
    patternDelay_ = 0;
    playedRows_.reset();
    std::atomic_ref(shownOrder_).store(0, std::memory_order_relaxed);
    std::atomic_ref(shownRow_).store(0, std::memory_order_relaxed);
    std::atomic_ref(completedPasses_).store(0, std::memory_order_relaxed);
    songCameRound_ = false;

    // FIX: a new song starts with fresh effect memories, so it plays the same
    // whichever song this channel played before.
    resetTracks();
    setPan(static_cast<int>(module.separation()));
    setLoop(module.loop());
    setVolume(static_cast<int>(module.volume()));
    begin();
}

void MusicChannel::renderFrame(std::int32_t& left, std::int32_t& right, bool stereo) {
    if (advanceFrame()) mixTracks(left, right, stereo);
}

std::uint32_t MusicChannel::renderFrames(std::int32_t* left, std::int32_t* right, std::uint32_t frames, bool stereo,
                                         bool overwrite) {
    if (accurate_) return renderTicks(left, right, frames, stereo, overwrite);
    const std::uint32_t passes = completedPasses_;
    std::uint32_t done = 0;
    while (done < frames) {
        // The frame on which a tick or a row may be due ...
        if (!advanceFrame()) return done;
        if (completedPasses_ != passes) {
            if (left != nullptr) mixTracks(left + done, right + done, 1, stereo, overwrite);
            return done + 1;
        }
        // ... and the frames up to the next one, which only count.
        std::uint32_t span = 1;
        if (tick_ != speed_) {
            const std::uint32_t countingFrames = samplesPerTick_ - frameCounter_;  // wraps as the counter would
            span += std::min(countingFrames, frames - done - 1);
            frameCounter_ += span - 1;
        }
        if (left != nullptr) mixTracks(left + done, right + done, span, stereo, overwrite);
        done += span;
    }
    return done;
}

std::uint32_t MusicChannel::renderTicks(std::int32_t* left, std::int32_t* right, std::uint32_t frames, bool stereo,
                                        bool overwrite) {
    const std::uint32_t passes = completedPasses_;
    std::uint32_t done = 0;
    while (done < frames) {
        std::uint32_t span = std::min(framesLeft_, frames - done);
        if (framesLeft_ == 0) {
            if (!runTick()) return done;
            framesLeft_ = nextTickFrames();
            // The tick that began a new pass counts, as under the classic rules, with one frame.
            span = completedPasses_ != passes ? 1 : std::min(framesLeft_, frames - done);
        }
        if (left != nullptr) mixTracks(left + done, right + done, span, stereo, overwrite);
        framesLeft_ -= span;
        done += span;
        if (completedPasses_ != passes) return done;
    }
    return done;
}

bool MusicChannel::advanceFrame() {
    if (tick_ != speed_) {
        if (frameCounter_ != samplesPerTick_) {
            ++frameCounter_;
        } else {
            frameCounter_ = 0;
            if (++tick_ != speed_)
                for (Track& track : tracks_) runTickEffects(track);
        }
        return true;
    }
    if (patternDelay_ != 0) {
        --patternDelay_;
    } else if (!readRow()) {
        return false;
    }
    tick_ = 0;
    return true;
}

void MusicChannel::resetTracks() {
    for (Track& track : tracks_) {
        const std::uint32_t pan = track.trackPan;
        track = Track{};
        track.trackPan = pan;
        // ProTracker's vibrato has no depth until a 4xy gives it one.
        if (accurate_) track.vibratoSpeed = track.vibratoDepth = 0;
    }
}

void MusicChannel::applyVolume(Track& track, std::uint32_t volume) {
    std::atomic_ref(track.trackVolume).store(volume, std::memory_order_relaxed);
    std::atomic_ref(track.trackEffective)
        .store((volume * effectiveVolume.load(std::memory_order_relaxed)) >> 6, std::memory_order_relaxed);
}

std::uint32_t MusicChannel::stepAt(std::uint32_t period) const {
    // Periods longer than the table's play at its lowest pitch.
    return stepTable_[std::min(period, kLowestPitchPeriod)];
}

std::uint32_t MusicChannel::tunedPeriod(std::uint32_t finetune, std::uint32_t cellPeriod) const {
    // The nearest entry's row moves down by the finetune; a period that is
    // nearest to a tuned row whose move would pass the last row takes its
    // note from the finetune's own row instead.
    const std::uint32_t nearest = nearestIndex[std::min(cellPeriod, kHighestIndexedPeriod)];
    const std::uint32_t index = finetune * kNotesPerRow + nearest;
    return periodTable[index < kPeriodTableSize ? index : finetune * kNotesPerRow + NoteOfIndex(nearest)];
}
